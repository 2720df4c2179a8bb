// Writes a pair of grids for timing the command: a mask and a source of N x N cells of equal cell
// size, the source shifted by a tenth of each dimension east and south. Cells hold class codes 0
// to 9, 5% of them the no-data value; in the decimal variant 30% of the data cells hold a value
// with two decimals such as 80360.14 instead.
//
// usage: veilgrid_pairgen N codes|decimals mask_file source_file [seed]

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double CellSize = 10;
constexpr double West = 500000;
constexpr double South = 4100000;

bool WriteGrid(const char* PtrFileName, long LngSize, double DblXll, double DblYll,
               bool BlnDecimals, unsigned IntSeed) {
    std::FILE* PtrFile = std::fopen(PtrFileName, "wb");
    if (PtrFile == nullptr)
        return false;
    std::string StrText = "ncols " + std::to_string(LngSize) + "\nnrows " +
                          std::to_string(LngSize) + "\nxllcorner " +
                          std::to_string(static_cast<long>(DblXll)) + "\nyllcorner " +
                          std::to_string(static_cast<long>(DblYll)) + "\ncellsize " +
                          std::to_string(static_cast<long>(CellSize)) + "\nNODATA_value -9999\n";
    std::mt19937_64 Generator(IntSeed);
    // One draw per cell: 0..9999 decides no-data (5%) and decimals (30% of the rest), the high
    // bits give the value.
    std::vector<char> VecBlock;
    VecBlock.reserve(static_cast<std::size_t>(LngSize) * 12 + 64);
    bool BlnOk = std::fwrite(StrText.data(), 1, StrText.size(), PtrFile) == StrText.size();
    for (long LngY = 0; LngY < LngSize && BlnOk; ++LngY) {
        VecBlock.clear();
        char ArrValue[32];
        for (long LngX = 0; LngX < LngSize; ++LngX) {
            const std::uint64_t UlgDraw = Generator();
            const unsigned IntRoll = static_cast<unsigned>(UlgDraw % 10000);
            char* PtrEnd = ArrValue;
            if (IntRoll < 500) {
                std::memcpy(ArrValue, "-9999", 5);
                PtrEnd = ArrValue + 5;
            } else if (BlnDecimals && IntRoll < 500 + 2850) {
                // Hundredths from 0 to 99999.99, written with their two decimals as text.
                const unsigned long IntHundredths =
                    static_cast<unsigned long>((UlgDraw >> 20) % 10000000);
                PtrEnd =
                    std::to_chars(ArrValue, ArrValue + sizeof ArrValue, IntHundredths / 100).ptr;
                *PtrEnd++ = '.';
                *PtrEnd++ = static_cast<char>('0' + IntHundredths / 10 % 10);
                *PtrEnd++ = static_cast<char>('0' + IntHundredths % 10);
            } else {
                *PtrEnd++ = static_cast<char>('0' + (UlgDraw >> 32) % 10);
            }
            *PtrEnd++ = ' ';
            VecBlock.insert(VecBlock.end(), ArrValue, PtrEnd);
        }
        VecBlock.push_back('\n');
        BlnOk = std::fwrite(VecBlock.data(), 1, VecBlock.size(), PtrFile) == VecBlock.size();
    }
    return std::fclose(PtrFile) == 0 && BlnOk;
}

} // namespace

int main(int IntArgc, char** PtrArgv) {
    if (IntArgc < 5 ||
        (std::strcmp(PtrArgv[2], "codes") != 0 && std::strcmp(PtrArgv[2], "decimals") != 0)) {
        std::fputs("usage: veilgrid_pairgen N codes|decimals mask_file source_file [seed]\n",
                   stderr);
        return 2;
    }
    const long LngSize = std::strtol(PtrArgv[1], nullptr, 10);
    const bool BlnDecimals = std::strcmp(PtrArgv[2], "decimals") == 0;
    const unsigned IntSeed =
        IntArgc > 5 ? static_cast<unsigned>(std::strtoul(PtrArgv[5], nullptr, 10)) : 1;
    const long LngShift = LngSize / 10;
    if (LngSize < 1 || !WriteGrid(PtrArgv[3], LngSize, West, South, BlnDecimals, IntSeed) ||
        !WriteGrid(PtrArgv[4], LngSize, West + static_cast<double>(LngShift) * CellSize,
                   South - static_cast<double>(LngShift) * CellSize, BlnDecimals, IntSeed + 1)) {
        std::fputs("veilgrid_pairgen: cannot write the grids\n", stderr);
        return 1;
    }
    return 0;
}
