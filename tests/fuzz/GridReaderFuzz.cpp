// Coverage-guided fuzzing of the grid readers: any bytes, from a stream that can seek, one that
// cannot or a file, either fail with a message or load a map that, written and read again, gives
// the same map; the tolerant reader reads whatever the strict one reads, to the same map.

#include "grid/TARCGISFileTools.h"
#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"
#include "tests/PipeBuffer.h"
#include "util/TNumberTools.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const char* PtrWhat) {
    std::fprintf(stderr, "round trip broken: %s\n", PtrWhat);
    std::abort();
}

// Equal to the bit, except that NaNs compare by sign only: the text form keeps no payload.
bool SameValue(double DblA, double DblB) {
    if (std::isnan(DblA) || std::isnan(DblB))
        return std::isnan(DblA) && std::isnan(DblB) && std::signbit(DblA) == std::signbit(DblB);
    return std::bit_cast<std::uint64_t>(DblA) == std::bit_cast<std::uint64_t>(DblB);
}

// A corner as the writer puts it into text and the reader takes it back.
double WrittenCorner(double DblCorner, double DblCellSize) {
    char ArrText[TNumberTools::MaxFormattedLength];
    const char* PtrEnd = TNumberTools::FormatCorner(DblCorner, DblCellSize, ArrText);
    double DblValue = 0;
    if (!TNumberTools::ParseDouble(ArrText, PtrEnd, DblValue))
        Fail("a written corner does not read as a number");
    return DblValue;
}

double West(const TMap& Map) { return Map.GetXAxisInterval()->GetPoint(0)->GetX(); }
double South(const TMap& Map) { return Map.GetYAxisInterval()->GetPoint(Map.GetYDim())->GetY(); }

std::unique_ptr<TMap> WrittenAndRead(TMap& Map) {
    std::stringstream Text;
    TARCGISFileTools::WriteARCGISFile(&Map, Text);
    if (!Text)
        Fail("writing to a string stream failed");
    try {
        return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(Text));
    } catch (const std::exception&) {
        Fail("a written grid does not load");
    }
}

// Again must equal Map, with its corners as written when BlnCornersWritten, else to the bit.
void RequireSame(const TMap& Map, const TMap& Again, bool BlnCornersWritten) {
    if (Again.GetXDim() != Map.GetXDim() || Again.GetYDim() != Map.GetYDim())
        Fail("dimensions");
    if (!SameValue(Again.GetResolution(), Map.GetResolution()))
        Fail("cell size");
    if (!SameValue(Again.GetNoData(), Map.GetNoData()))
        Fail("no-data value");
    const double DblWest =
        BlnCornersWritten ? WrittenCorner(West(Map), Map.GetResolution()) : West(Map);
    const double DblSouth =
        BlnCornersWritten ? WrittenCorner(South(Map), Map.GetResolution()) : South(Map);
    if (!SameValue(West(Again), DblWest))
        Fail("west edge");
    if (!SameValue(South(Again), DblSouth))
        Fail("south edge");
    for (long LngY = 0; LngY < Map.GetYDim(); ++LngY)
        for (long LngX = 0; LngX < Map.GetXDim(); ++LngX)
            if (!SameValue(Again.GetPointVal(LngX, LngY), Map.GetPointVal(LngX, LngY)))
                Fail("cell value");
}

// Loads the bytes through one of the reader's three ways in, chosen by the input's length so
// that every input keeps its way: a string stream (seekable), a stream that cannot seek, or a
// file by name (an in-memory file, read through its descriptor).
TMap* LoadAnyWay(const std::uint8_t* PtrData, std::size_t LngSize) {
    const char* PtrText = reinterpret_cast<const char*>(PtrData);
    switch (LngSize % 3) {
    case 0: {
        std::istringstream In(std::string(PtrText, LngSize));
        return TARCGISFileTools::LoadARCGISFile(In);
    }
    case 1: {
        TPipeBuffer Buffer(std::string(PtrText, LngSize), LngSize % 61);
        std::istream In(&Buffer);
        return TARCGISFileTools::LoadARCGISFile(In);
    }
    default: {
        const int IntFd = memfd_create("grid", 0);
        if (IntFd < 0)
            Fail("no in-memory file");
        std::size_t LngDone = 0;
        while (LngDone < LngSize) {
            const ssize_t LngWritten = write(IntFd, PtrText + LngDone, LngSize - LngDone);
            if (LngWritten <= 0)
                Fail("writing the in-memory file failed");
            LngDone += static_cast<std::size_t>(LngWritten);
        }
        try {
            TMap* PtrMap =
                TARCGISFileTools::LoadARCGISFile("/proc/self/fd/" + std::to_string(IntFd));
            close(IntFd);
            return PtrMap;
        } catch (...) {
            close(IntFd);
            throw;
        }
    }
    }
}

// Everything comes back to the bit but corners of 16 or 17 significant digits, which are written
// rounded to a millionth of a cell; once written, a map comes back entirely.
void RequireRoundTrip(TMap& Map) {
    const std::unique_ptr<TMap> PtrSecond = WrittenAndRead(Map);
    RequireSame(Map, *PtrSecond, true);
    const std::unique_ptr<TMap> PtrThird = WrittenAndRead(*PtrSecond);
    RequireSame(*PtrSecond, *PtrThird, false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* PtrData, std::size_t LngSize) {
    // Refusing the input with a message is a correct outcome for either reader.
    std::unique_ptr<TMap> PtrStrict;
    try {
        PtrStrict.reset(LoadAnyWay(PtrData, LngSize));
    } catch (const std::exception&) {
    }
    std::unique_ptr<TMap> PtrTolerant;
    try {
        std::istringstream In(std::string(reinterpret_cast<const char*>(PtrData), LngSize));
        PtrTolerant.reset(TARCGISFileTools::LoadARCGISFileTolerant(In));
    } catch (const std::exception&) {
    }
    // The tolerant reader reads every grid the strict one reads, the same.
    if (PtrStrict) {
        if (!PtrTolerant)
            Fail("the tolerant reader refuses a grid the strict one reads");
        if (PtrTolerant)
            RequireSame(*PtrStrict, *PtrTolerant, false);
        RequireRoundTrip(*PtrStrict);
    } else if (PtrTolerant) {
        RequireRoundTrip(*PtrTolerant);
    }
    return 0;
}
