// Coverage-guided fuzzing of the grid reader: any bytes either fail with a message or load a map
// that, written and read again, gives the same map.

#include "grid/TARCGISFileTools.h"
#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"
#include "util/TNumberTools.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <sstream>
#include <string>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* PtrData, std::size_t LngSize) {
    std::istringstream In(std::string(reinterpret_cast<const char*>(PtrData), LngSize));
    std::unique_ptr<TMap> PtrFirst;
    try {
        PtrFirst.reset(TARCGISFileTools::LoadARCGISFile(In));
    } catch (const std::exception&) {
        // Refusing the input with a message is a correct outcome.
        return 0;
    }
    // Everything comes back to the bit but corners of 16 or 17 significant digits, which are
    // written rounded to a millionth of a cell; once written, a map comes back entirely.
    const std::unique_ptr<TMap> PtrSecond = WrittenAndRead(*PtrFirst);
    RequireSame(*PtrFirst, *PtrSecond, true);
    const std::unique_ptr<TMap> PtrThird = WrittenAndRead(*PtrSecond);
    RequireSame(*PtrSecond, *PtrThird, false);
    return 0;
}
