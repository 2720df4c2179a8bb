#include "util/TNumberTools.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

// Each case runs over one million values of one kind, as a grid of 1000 x 1000 cells holds them;
// the baseline does the same pass with bare std::from_chars or std::to_chars, so the ratio of
// the two times in one run is the cost of the whole-token rules and of the %g layout.
namespace {

constexpr std::size_t KSizValues = 1000000;

enum TKind : long { KindClassCodes = 0, KindDecimals = 1, KindRandom = 2 };

const char* KindName(long LngKind) {
    switch (LngKind) {
    case KindClassCodes:
        return "class codes 0-9";
    case KindDecimals:
        return "two-place decimals";
    default:
        return "random doubles";
    }
}

std::vector<double> MakeValues(long LngKind) {
    std::mt19937_64 Random(12345);
    std::vector<double> VecValues(KSizValues);
    std::uniform_int_distribution<int> CodeOf(0, 9);
    std::uniform_int_distribution<long> CentsOf(-99999, 10000000);
    std::uniform_real_distribution<double> RealOf(-1000.0, 100000.0);
    for (double& DblValue : VecValues) {
        if (LngKind == KindClassCodes)
            DblValue = CodeOf(Random);
        else if (LngKind == KindDecimals)
            DblValue = static_cast<double>(CentsOf(Random)) / 100.0; // 80360.14 and the like
        else
            DblValue = RealOf(Random);
    }
    return VecValues;
}

// The values as grid text: one blank after each, as the grid writer leaves them.
std::string MakeText(long LngKind) {
    std::string StrText;
    char ArrBuffer[TNumberTools::MaxFormattedLength];
    for (const double DblValue : MakeValues(LngKind)) {
        StrText.append(ArrBuffer, TNumberTools::FormatDouble(DblValue, ArrBuffer));
        StrText += ' ';
    }
    return StrText;
}

// The end of the token at PtrText: the first blank, tab or line end, found eight bytes at a time
// as a reader would, so that the scan for the token's end costs little beside the parse.
const char* TokenEnd(const char* PtrText, const char* PtrEnd) {
    while (PtrEnd - PtrText >= 8) {
        std::uint64_t UlgWord = 0;
        std::memcpy(&UlgWord, PtrText, sizeof(UlgWord));
        // Marks the bytes below '!' (the lowest mark is exact).
        const std::uint64_t UlgMarks =
            (UlgWord - 0x2121212121212121ULL) & ~UlgWord & 0x8080808080808080ULL;
        if (UlgMarks != 0)
            return PtrText + (std::countr_zero(UlgMarks) >> 3);
        PtrText += 8;
    }
    while (PtrText != PtrEnd && static_cast<unsigned char>(*PtrText) > ' ')
        ++PtrText;
    return PtrText;
}

void BM_ParseFromChars(benchmark::State& State) {
    const std::string StrText = MakeText(State.range(0));
    for (auto _ : State) {
        double DblSum = 0.0;
        const char* PtrText = StrText.data();
        const char* PtrEnd = PtrText + StrText.size();
        while (PtrText < PtrEnd) {
            double DblValue = 0.0;
            PtrText = std::from_chars(PtrText, PtrEnd, DblValue).ptr + 1;
            DblSum += DblValue;
        }
        benchmark::DoNotOptimize(DblSum);
    }
    State.SetItemsProcessed(static_cast<long>(State.iterations() * KSizValues));
    State.SetLabel(KindName(State.range(0)));
}

// The same scan for the token's end as BM_ParseDouble, then bare std::from_chars: the difference
// to BM_ParseFromChars is the scan's cost, the difference to BM_ParseDouble that of the rules.
void BM_ParseScanFromChars(benchmark::State& State) {
    const std::string StrText = MakeText(State.range(0));
    for (auto _ : State) {
        double DblSum = 0.0;
        const char* PtrText = StrText.data();
        const char* PtrEnd = PtrText + StrText.size();
        while (PtrText < PtrEnd) {
            const char* PtrToken = PtrText;
            PtrText = TokenEnd(PtrText, PtrEnd);
            double DblValue = 0.0;
            std::from_chars(PtrToken, PtrText, DblValue);
            DblSum += DblValue;
            ++PtrText;
        }
        benchmark::DoNotOptimize(DblSum);
    }
    State.SetItemsProcessed(static_cast<long>(State.iterations() * KSizValues));
    State.SetLabel(KindName(State.range(0)));
}

void BM_ParseDouble(benchmark::State& State) {
    const std::string StrText = MakeText(State.range(0));
    for (auto _ : State) {
        double DblSum = 0.0;
        const char* PtrText = StrText.data();
        const char* PtrEnd = PtrText + StrText.size();
        while (PtrText < PtrEnd) {
            // The token ends at the next blank: the whole token must be a number.
            const char* PtrToken = PtrText;
            PtrText = TokenEnd(PtrText, PtrEnd);
            double DblValue = 0.0;
            if (!TNumberTools::ParseDouble(PtrToken, PtrText, DblValue))
                State.SkipWithError("token is not a number");
            DblSum += DblValue;
            ++PtrText;
        }
        benchmark::DoNotOptimize(DblSum);
    }
    State.SetItemsProcessed(static_cast<long>(State.iterations() * KSizValues));
    State.SetLabel(KindName(State.range(0)));
}

void BM_FormatToChars(benchmark::State& State) {
    const std::vector<double> VecValues = MakeValues(State.range(0));
    std::vector<char> VecOut(VecValues.size() * (TNumberTools::MaxFormattedLength + 1));
    for (auto _ : State) {
        char* PtrOut = VecOut.data();
        char* PtrEnd = PtrOut + VecOut.size();
        for (const double DblValue : VecValues) {
            PtrOut = std::to_chars(PtrOut, PtrEnd, DblValue).ptr;
            *PtrOut++ = ' ';
        }
        benchmark::DoNotOptimize(PtrOut);
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(static_cast<long>(State.iterations() * KSizValues));
    State.SetLabel(KindName(State.range(0)));
}

void BM_FormatDouble(benchmark::State& State) {
    const std::vector<double> VecValues = MakeValues(State.range(0));
    std::vector<char> VecOut(VecValues.size() * (TNumberTools::MaxFormattedLength + 1));
    for (auto _ : State) {
        char* PtrOut = VecOut.data();
        for (const double DblValue : VecValues) {
            PtrOut = TNumberTools::FormatDouble(DblValue, PtrOut);
            *PtrOut++ = ' ';
        }
        benchmark::DoNotOptimize(PtrOut);
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(static_cast<long>(State.iterations() * KSizValues));
    State.SetLabel(KindName(State.range(0)));
}

} // namespace

BENCHMARK(BM_ParseFromChars)->DenseRange(KindClassCodes, KindRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseScanFromChars)
    ->DenseRange(KindClassCodes, KindRandom)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDouble)->DenseRange(KindClassCodes, KindRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatToChars)->DenseRange(KindClassCodes, KindRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatDouble)->DenseRange(KindClassCodes, KindRandom)->Unit(benchmark::kMillisecond);
