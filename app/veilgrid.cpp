// veilgrid: cuts a mask grid to the cells it shares with a source grid and recodes one value.

#include "grid/TARCGISFileTools.h"
#include "ops/TMapTools.h"
#include "util/TException.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

namespace {
const char* const StrUsage =
    "usage: veilgrid mask_file flag_value exclude_value input_map_file output_map_file";

// An operand is a number only when strtod reads all of it.
double ParseOperand(const char* PtrText, const char* PtrMessage) {
    char* PtrEnd = nullptr;
    const double DblValue = std::strtod(PtrText, &PtrEnd);
    if (PtrEnd == PtrText || *PtrEnd != '\0')
        throw TException(std::string(PtrMessage) + PtrText);
    return DblValue;
}

// West edge and north edge of a map read from a grid file.
double WestOf(const TMap* PtrMap) { return PtrMap->GetXAxisInterval()->GetPoint(0)->GetX(); }

double NorthOf(const TMap* PtrMap) {
    const TAxis* PtrY = PtrMap->GetYAxisInterval();
    return std::max(PtrY->GetPoint(0)->GetY(), PtrY->GetPoint(PtrY->GetSize() - 1)->GetY());
}

// True when the distance between two edges is a whole number of cells, to a thousandth of a cell.
bool LinesUp(double DblEdgeA, double DblEdgeB, double DblResolution) {
    const double DblCells = (DblEdgeA - DblEdgeB) / DblResolution;
    return std::fabs(DblCells - std::round(DblCells)) <= 0.001;
}

void Run(int IntArgc, char** PtrArgv) {
    if (IntArgc < 6)
        throw TException(StrUsage);
    const std::string StrMaskFile = PtrArgv[1];
    const double DblFlag = ParseOperand(PtrArgv[2], "Flag value is not a number: ");
    const double DblExclude = ParseOperand(PtrArgv[3], "Exclude value is not a number: ");
    const std::string StrSourceFile = PtrArgv[4];
    const std::string StrOutputFile = PtrArgv[5];

    std::unique_ptr<TMap> PtrMask(TARCGISFileTools::LoadARCGISFile(StrMaskFile));
    std::unique_ptr<TMap> PtrSource(TARCGISFileTools::LoadARCGISFile(StrSourceFile));
    // Exact equality; a NaN resolution is unequal to everything.
    if (!(PtrMask->GetResolution() == PtrSource->GetResolution()))
        throw TException("Resolution of the mask does not match resolution of the source map");
    if (!LinesUp(WestOf(PtrMask.get()), WestOf(PtrSource.get()), PtrMask->GetResolution()) ||
        !LinesUp(NorthOf(PtrMask.get()), NorthOf(PtrSource.get()), PtrMask->GetResolution()))
        throw TException("Cell edges of the mask do not line up with the cells of the source map");

    TMap* PtrRawMask = nullptr;
    TMap* PtrRawSource = nullptr;
    TMapTools::Intersection(PtrMask.get(), PtrSource.get(), PtrRawMask, PtrRawSource);
    std::unique_ptr<TMap> PtrClipMask(PtrRawMask);
    std::unique_ptr<TMap> PtrClipSource(PtrRawSource);

    std::unique_ptr<TMap> PtrResult(
        TMapTools::Mask(PtrClipSource.get(), PtrClipMask.get(), DblFlag, DblExclude));
    // The cells are the mask's, so their no-data value is the mask's too.
    PtrResult->SetNoData(PtrMask->GetNoData());
    TARCGISFileTools::WriteARCGISFile(PtrResult.get(), StrOutputFile);
}

int Report(const char* PtrMessage) {
    std::fputs(PtrMessage, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    return 1;
}
} // namespace

int main(int IntArgc, char** PtrArgv) {
    try {
        Run(IntArgc, PtrArgv);
        return 0;
    } catch (const TException& E) {
        return Report(E.what());
    } catch (const std::bad_alloc&) {
        return Report("Out of memory");
    } catch (const std::exception& E) {
        return Report(E.what());
    }
}
