#include "geometry/TPointTools.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <utility>

TPoint* TPointTools::Min(TPoint* PtrA, TPoint* PtrB) {
    return new TPoint(PtrA->GetX() > PtrB->GetX() ? PtrB->GetX() : PtrA->GetX(),
                      PtrA->GetY() > PtrB->GetY() ? PtrB->GetY() : PtrA->GetY());
}

TPoint* TPointTools::Max(TPoint* PtrA, TPoint* PtrB) {
    return new TPoint(PtrB->GetX() > PtrA->GetX() ? PtrB->GetX() : PtrA->GetX(),
                      PtrB->GetY() > PtrA->GetY() ? PtrB->GetY() : PtrA->GetY());
}

TPoint* TPointTools::FindCentroid(std::vector<TPoint*> VecPoints) {
    if (VecPoints.empty())
        return new TPoint(std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::quiet_NaN());
    double DblSumX = 0;
    double DblSumY = 0;
    for (const TPoint* PtrPoint : VecPoints) {
        DblSumX += PtrPoint->GetX();
        DblSumY += PtrPoint->GetY();
    }
    const auto DblCount = static_cast<double>(VecPoints.size());
    return new TPoint(DblSumX / DblCount, DblSumY / DblCount);
}

double TPointTools::Theta(TPoint* PtrA, TPoint* PtrB) {
    const double DblDX = PtrA->GetX() - PtrB->GetX();
    const double DblDY = PtrA->GetY() - PtrB->GetY();
    double DblT = 0;
    if (DblDX != 0 || DblDY != 0)
        DblT = DblDY / (std::fabs(DblDX) + std::fabs(DblDY));
    if (DblDX < 0)
        DblT = 2 - DblT;
    else if (DblDY < 0)
        DblT = DblT + 4;
    return DblT * 90;
}

double TPointTools::Heron(TPoint* PtrA, TPoint* PtrB, TPoint* PtrC) {
    const double DblP = PtrA->Distance(PtrB);
    const double DblQ = PtrA->Distance(PtrC);
    const double DblR = PtrB->Distance(PtrC);
    const double DblS = (DblP + DblQ + DblR) * 0.5;
    double DblProduct = DblS * (DblS - DblP) * (DblS - DblQ) * (DblS - DblR);
    // Rounding on nearly collinear points can push the product just below zero.
    if (DblProduct < 0)
        DblProduct = 0;
    return std::sqrt(DblProduct);
}

double TPointTools::FindConvexPolygonArea(std::vector<TPoint*> VecPoints) {
    if (VecPoints.empty())
        return 0;
    std::unique_ptr<TPoint> PtrCentroid(FindCentroid(VecPoints));
    double DblArea = 0;
    for (std::size_t SizI = 1; SizI < VecPoints.size(); ++SizI)
        DblArea += Heron(VecPoints[SizI], VecPoints[SizI - 1], PtrCentroid.get());
    return DblArea;
}

std::vector<TPoint*> TPointTools::FindConvexHull(std::vector<TPoint*> VecPoints) {
    if (VecPoints.empty())
        return {};
    const std::size_t SizCount = VecPoints.size();

    // One slot per point and a last slot that closes the outline with the start point.
    std::vector<TPoint*> VecSlots(std::move(VecPoints));
    std::size_t SizChosen = 0;
    for (std::size_t SizI = 1; SizI < SizCount; ++SizI)
        if (VecSlots[SizI]->GetY() < VecSlots[SizChosen]->GetY())
            SizChosen = SizI;
    VecSlots.push_back(VecSlots[SizChosen]);

    std::size_t SizHull = 0;
    double DblV = 0;
    for (;;) {
        std::swap(VecSlots[SizHull], VecSlots[SizChosen]);
        TPoint* PtrCurrent = VecSlots[SizHull];
        double DblBest = 360;
        bool BlnFound = false;
        for (std::size_t SizI = SizHull + 1; SizI <= SizCount; ++SizI) {
            const double DblTheta = Theta(VecSlots[SizI], PtrCurrent);
            // Strictly above the last edge's angle: the wrap turns one way only and ends.
            if (DblTheta > DblV && DblTheta < DblBest) {
                SizChosen = SizI;
                DblBest = DblTheta;
                BlnFound = true;
            }
        }
        if (!BlnFound || SizChosen == SizCount)
            break;
        DblV = DblBest;
        ++SizHull;
    }

    std::vector<std::unique_ptr<TPoint>> VecCopies;
    VecCopies.reserve(SizHull + 1);
    for (std::size_t SizI = 0; SizI <= SizHull; ++SizI)
        VecCopies.emplace_back(VecSlots[SizI]->Clone());
    std::vector<TPoint*> VecHull;
    VecHull.reserve(VecCopies.size());
    for (auto& PtrCopy : VecCopies)
        VecHull.push_back(PtrCopy.release());
    return VecHull;
}
