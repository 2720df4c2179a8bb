// Grid reading and writing against bare std::from_chars and std::to_chars passes over the same
// text and values in the same run. Inputs are generated in memory: an N x N grid of cells with
// two decimals, like an elevation model.

#include "grid/TARCGISFileTools.h"
#include "model/TMap.h"
#include "ops/TMapTools.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string GridText(long LngSize) {
    std::mt19937 Generator(42);
    std::uniform_int_distribution<int> Pick(0, 400000);
    std::string StrText = "ncols " + std::to_string(LngSize) + "\nnrows " +
                          std::to_string(LngSize) +
                          "\nxllcorner 500000\nyllcorner 4100000\ncellsize 10\n"
                          "NODATA_value -9999\n";
    char ArrValue[64];
    for (long LngY = 0; LngY < LngSize; ++LngY) {
        for (long LngX = 0; LngX < LngSize; ++LngX) {
            const int IntLength =
                std::snprintf(ArrValue, sizeof ArrValue, "%.2f ", Pick(Generator) / 100.0);
            StrText.append(ArrValue, static_cast<std::size_t>(IntLength));
        }
        StrText += '\n';
    }
    return StrText;
}

// Reads the text in place, without the copy an istringstream makes; it cannot seek.
class TMemoryBuffer : public std::streambuf {
  public:
    explicit TMemoryBuffer(const std::string& StrText) {
        char* PtrBegin = const_cast<char*>(StrText.data());
        setg(PtrBegin, PtrBegin, PtrBegin + StrText.size());
    }
};

// Takes everything written and keeps only its size.
class TCountingBuffer : public std::streambuf {
  public:
    std::size_t Count = 0;

  protected:
    std::streamsize xsputn(const char*, std::streamsize LngCount) override {
        Count += static_cast<std::size_t>(LngCount);
        return LngCount;
    }
    int_type overflow(int_type IntChar) override {
        ++Count;
        return IntChar;
    }
};

void BM_FromCharsBaseline(benchmark::State& State) {
    const std::string StrText = GridText(State.range(0));
    const std::size_t LngBody = StrText.find("-9999\n") + 6;
    for (auto _ : State) {
        std::vector<double> VecCells;
        VecCells.reserve(static_cast<std::size_t>(State.range(0) * State.range(0)));
        const char* PtrPos = StrText.data() + LngBody;
        const char* PtrEnd = StrText.data() + StrText.size();
        for (;;) {
            while (PtrPos < PtrEnd && (*PtrPos == ' ' || *PtrPos == '\n'))
                ++PtrPos;
            if (PtrPos == PtrEnd)
                break;
            double DblValue = 0;
            PtrPos = std::from_chars(PtrPos, PtrEnd, DblValue).ptr;
            VecCells.push_back(DblValue);
        }
        benchmark::DoNotOptimize(VecCells.data());
    }
    State.SetBytesProcessed(static_cast<long>(State.iterations() * StrText.size()));
}

void BM_LoadARCGISFile(benchmark::State& State) {
    const std::string StrText = GridText(State.range(0));
    for (auto _ : State) {
        TMemoryBuffer Buffer(StrText);
        std::istream In(&Buffer);
        std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(In));
        benchmark::DoNotOptimize(PtrMap.get());
    }
    State.SetBytesProcessed(static_cast<long>(State.iterations() * StrText.size()));
}

void BM_LoadARCGISFileByName(benchmark::State& State) {
    const std::string StrText = GridText(State.range(0));
    const std::string StrFile =
        (std::filesystem::temp_directory_path() / ("veilgrid-bench-" + std::to_string(getpid())))
            .string();
    std::ofstream(StrFile, std::ios::binary) << StrText;
    for (auto _ : State) {
        std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(StrFile));
        benchmark::DoNotOptimize(PtrMap.get());
    }
    std::remove(StrFile.c_str());
    State.SetBytesProcessed(static_cast<long>(State.iterations() * StrText.size()));
}

void BM_ToCharsBaseline(benchmark::State& State) {
    const std::string StrText = GridText(State.range(0));
    TMemoryBuffer Source(StrText);
    std::istream InText(&Source);
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(InText));
    for (auto _ : State) {
        TCountingBuffer Sink;
        char ArrBlock[1 << 16];
        char* PtrPos = ArrBlock;
        for (long LngY = 0; LngY < PtrMap->GetYDim(); ++LngY) {
            const double* PtrRow = PtrMap->GetRowData(LngY);
            for (long LngX = 0; LngX < PtrMap->GetXDim(); ++LngX) {
                PtrPos = std::to_chars(PtrPos, ArrBlock + sizeof ArrBlock, PtrRow[LngX]).ptr;
                *PtrPos++ = ' ';
                if (PtrPos > ArrBlock + sizeof ArrBlock - 40) {
                    Sink.sputn(ArrBlock, PtrPos - ArrBlock);
                    PtrPos = ArrBlock;
                }
            }
            *PtrPos++ = '\n';
        }
        Sink.sputn(ArrBlock, PtrPos - ArrBlock);
        benchmark::DoNotOptimize(Sink.Count);
    }
}

void BM_WriteARCGISFile(benchmark::State& State) {
    const std::string StrText = GridText(State.range(0));
    TMemoryBuffer Source(StrText);
    std::istream In(&Source);
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(In));
    for (auto _ : State) {
        TCountingBuffer Sink;
        std::ostream Out(&Sink);
        TARCGISFileTools::WriteARCGISFile(PtrMap.get(), Out);
        benchmark::DoNotOptimize(Sink.Count);
    }
}

void BM_WriteARCGISFileByName(benchmark::State& State) {
    const std::string StrText = GridText(State.range(0));
    TMemoryBuffer Source(StrText);
    std::istream In(&Source);
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(In));
    const std::string StrFile =
        (std::filesystem::temp_directory_path() / ("veilgrid-bench-" + std::to_string(getpid())))
            .string();
    for (auto _ : State)
        TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrFile);
    std::remove(StrFile.c_str());
}

} // namespace

BENCHMARK(BM_FromCharsBaseline)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadARCGISFile)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadARCGISFileByName)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToCharsBaseline)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteARCGISFile)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteARCGISFileByName)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
