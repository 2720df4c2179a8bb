#include "ops/TMapTools.h"

#include "util/TException.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {
// The bounds of a map by its interval axes: west and east edges, and north and south taken as the
// larger and smaller end of the Y edges, so a one-row map with its edges south first fits too.
struct TBounds {
    double DblWest;
    double DblEast;
    double DblNorth;
    double DblSouth;
};

TBounds BoundsOf(const TMap* PtrMap, const char* PtrMessage) {
    const TAxis* PtrX = PtrMap->GetXAxisInterval();
    const TAxis* PtrY = PtrMap->GetYAxisInterval();
    if (PtrX == nullptr || PtrY == nullptr)
        throw TException(PtrMessage);
    const double DblYFirst = PtrY->GetPoint(0)->GetY();
    const double DblYLast = PtrY->GetPoint(PtrY->GetSize() - 1)->GetY();
    return {PtrX->GetPoint(0)->GetX(), PtrX->GetPoint(PtrX->GetSize() - 1)->GetX(),
            std::max(DblYFirst, DblYLast), std::min(DblYFirst, DblYLast)};
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
    const TBounds BndA = BoundsOf(PtrA, PtrNoAxes);
    const TBounds BndB = BoundsOf(PtrB, PtrNoAxes);
    const double DblResA = PtrA->GetResolution();
    const double DblResB = PtrB->GetResolution();
    // Each map must reach at least one of its own cells into the other; maps that only touch fail.
    if (BndB.DblWest + DblResB > BndA.DblEast || BndA.DblWest + DblResA > BndB.DblEast ||
        BndB.DblNorth - DblResB < BndA.DblSouth || BndA.DblNorth - DblResA < BndB.DblSouth)
        throw TException("Maps do not intersect in TMapTools::Intersection");
    // A map without columns or rows has no cell to share, though its edges may lie inside the
    // other map.
    if (PtrA->GetXDim() < 1 || PtrA->GetYDim() < 1 || PtrB->GetXDim() < 1 || PtrB->GetYDim() < 1)
        throw TException("Maps do not intersect in TMapTools::Intersection");
    // A NaN bound or resolution passes the comparisons above; it describes no area.
    const auto IsNumber = [](const TBounds& Bnd, double DblRes) {
        return !std::isnan(Bnd.DblWest) && !std::isnan(Bnd.DblEast) && !std::isnan(Bnd.DblNorth) &&
               !std::isnan(Bnd.DblSouth) && !std::isnan(DblRes);
    };
    if (!IsNumber(BndA, DblResA) || !IsNumber(BndB, DblResB))
        throw TException("Maps do not intersect in TMapTools::Intersection");

    const double DblWest = std::max(BndA.DblWest, BndB.DblWest);
    const double DblEast = std::min(BndA.DblEast, BndB.DblEast);
    const double DblNorth = std::min(BndA.DblNorth, BndB.DblNorth);
    const double DblSouth = std::max(BndA.DblSouth, BndB.DblSouth);
    // Half the smaller cell inside each corner of the common area: the centre of the corner cell
    // when the cells line up, and inside the corner cell of each map in any case.
    const double DblHalf = std::min(DblResA, DblResB) * 0.5;
    TPoint PntNorthWest(DblWest + DblHalf, DblNorth - DblHalf);
    TPoint PntSouthEast(DblEast - DblHalf, DblSouth + DblHalf);

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
