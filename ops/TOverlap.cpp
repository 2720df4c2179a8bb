#include "ops/TOverlap.h"

#include "util/TException.h"

#include <algorithm>
#include <cmath>

TOverlap::TBounds TOverlap::BoundsOf(double DblFirstX, double DblLastX, double DblFirstY,
                                     double DblLastY) {
    return {DblFirstX, DblLastX, std::max(DblFirstY, DblLastY), std::min(DblFirstY, DblLastY)};
}

TOverlap::TCorners TOverlap::Corners(const TGrid& GrdA, const TGrid& GrdB) {
    const TBounds& BndA = GrdA.Bnd;
    const TBounds& BndB = GrdB.Bnd;
    const double DblResA = GrdA.DblResolution;
    const double DblResB = GrdB.DblResolution;
    // Each map must reach at least one of its own cells into the other; maps that only touch fail.
    if (BndB.DblWest + DblResB > BndA.DblEast || BndA.DblWest + DblResA > BndB.DblEast ||
        BndB.DblNorth - DblResB < BndA.DblSouth || BndA.DblNorth - DblResA < BndB.DblSouth)
        throw TException("Maps do not intersect in TMapTools::Intersection");
    // A map without columns or rows has no cell to share, though its edges may lie inside the
    // other map.
    if (GrdA.LngXDim < 1 || GrdA.LngYDim < 1 || GrdB.LngXDim < 1 || GrdB.LngYDim < 1)
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
    return {DblWest + DblHalf, DblNorth - DblHalf, DblEast - DblHalf, DblSouth + DblHalf};
}
