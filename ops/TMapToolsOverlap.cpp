#include "ops/TMapTools.h"

#include "ops/TOverlap.h"
#include "util/TException.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
// The bounds of a map by its interval axes.
TOverlap::TGrid GridOf(const TMap* PtrMap, const char* PtrMessage) {
    const TAxis* PtrX = PtrMap->GetXAxisInterval();
    const TAxis* PtrY = PtrMap->GetYAxisInterval();
    if (PtrX == nullptr || PtrY == nullptr)
        throw TException(PtrMessage);
    return {
        TOverlap::BoundsOf(PtrX->GetPoint(0)->GetX(), PtrX->GetPoint(PtrX->GetSize() - 1)->GetX(),
                           PtrY->GetPoint(0)->GetY(), PtrY->GetPoint(PtrY->GetSize() - 1)->GetY()),
        PtrMap->GetResolution(), PtrMap->GetXDim(), PtrMap->GetYDim()};
}
} // namespace

TMap* TMapTools::Extract(TMap* PtrMap, TPoint* PtrFirst, TPoint* PtrSecond) {
    const long LngXA = PtrMap->GetIndex(PtrFirst->GetX(), 'X');
    const long LngYA = PtrMap->GetIndex(PtrFirst->GetY(), 'Y');
    const long LngXB = PtrMap->GetIndex(PtrSecond->GetX(), 'X');
    const long LngYB = PtrMap->GetIndex(PtrSecond->GetY(), 'Y');
    const long LngX0 = std::min(LngXA, LngXB);
    const long LngX1 = std::max(LngXA, LngXB);
    const long LngY0 = std::min(LngYA, LngYB);
    const long LngY1 = std::max(LngYA, LngYB);

    std::unique_ptr<TAxis> PtrXAxis(PtrMap->GetXAxis()->GetSegment(LngX0, LngX1));
    std::unique_ptr<TAxis> PtrYAxis(PtrMap->GetYAxis()->GetSegment(LngY0, LngY1));
    auto PtrResult = std::make_unique<TMap>(PtrXAxis.get(), PtrYAxis.get());

    const long LngWidth = LngX1 - LngX0 + 1;
    for (long LngJ = 0; LngJ <= LngY1 - LngY0; ++LngJ) {
        const double* PtrSource = PtrMap->GetRowData(LngY0 + LngJ) + LngX0;
        std::copy(PtrSource, PtrSource + LngWidth, PtrResult->GetRowData(LngJ));
    }
    return PtrResult.release();
}

void TMapTools::Intersection(TMap* PtrA, TMap* PtrB, TMap*& PtrOutA, TMap*& PtrOutB) {
    const char* PtrNoAxes = "Map has no axes in TMapTools::Intersection";
    const TOverlap::TGrid GrdA = GridOf(PtrA, PtrNoAxes);
    const TOverlap::TGrid GrdB = GridOf(PtrB, PtrNoAxes);
    const TOverlap::TCorners Corners = TOverlap::Corners(GrdA, GrdB);
    TPoint PntNorthWest(Corners.DblWestX, Corners.DblNorthY);
    TPoint PntSouthEast(Corners.DblEastX, Corners.DblSouthY);

    std::unique_ptr<TMap> PtrClipA(Extract(PtrA, &PntNorthWest, &PntSouthEast));
    std::unique_ptr<TMap> PtrClipB(Extract(PtrB, &PntNorthWest, &PntSouthEast));
    PtrOutA = PtrClipA.release();
    PtrOutB = PtrClipB.release();
}

TMap* TMapTools::Mask(TMap* PtrA, TMap* PtrB, double DblFlag, double DblExclude) {
    if (PtrA->GetXDim() != PtrB->GetXDim())
        throw TException("X dimensions do not match in TMapTools::Mask");
    if (PtrA->GetYDim() != PtrB->GetYDim())
        throw TException("Y dimensions do not match in TMapTools::Mask");
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::Mask");
    // Exact comparison: a NaN flag replaces nothing and a NaN cell is never replaced.
    MapCells(PtrB, PtrResult.get(), [DblFlag, DblExclude](double DblValue) {
        return DblValue == DblFlag ? DblExclude : DblValue;
    });
    return PtrResult.release();
}
