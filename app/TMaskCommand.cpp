#include "app/TMaskCommand.h"

#include "grid/TARCGISFileTools.h"
#include "ops/TMapTools.h"
#include "util/TException.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

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

} // namespace

void TMaskCommand::Run(const TArguments& Arguments) {
    const auto Load = [&Arguments](const std::string& StrFile) {
        return Arguments.MbrBlnTolerant ? TARCGISFileTools::LoadARCGISFileTolerant(StrFile)
                                        : TARCGISFileTools::LoadARCGISFile(StrFile);
    };
    std::unique_ptr<TMap> PtrMask(Load(Arguments.MbrStrMaskFile));
    std::unique_ptr<TMap> PtrSource(Load(Arguments.MbrStrSourceFile));
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

    std::unique_ptr<TMap> PtrResult(TMapTools::Mask(PtrClipSource.get(), PtrClipMask.get(),
                                                    Arguments.MbrDblFlag, Arguments.MbrDblExclude));
    // The cells are the mask's, so their no-data value is the mask's too.
    PtrResult->SetNoData(PtrMask->GetNoData());
    TARCGISFileTools::WriteARCGISFile(PtrResult.get(), Arguments.MbrStrOutputFile);
}
