#include "model/TAxis.h"

#include "util/TException.h"

namespace {
double Ordinate(const TPoint* PtrPoint, char ChrAxis) {
    if (PtrPoint == nullptr)
        throw TException("Axis has an empty slot in TAxis::GetIndex");
    return ChrAxis == 'X' ? PtrPoint->GetX() : PtrPoint->GetY();
}
} // namespace

TAxis::TAxis(double DblResolution) : MbrDblResolution(DblResolution) {}

TAxis::TAxis(double DblResolution, long LngSize) : MbrDblResolution(DblResolution) {
    if (LngSize < 0)
        throw TException("Size must not be negative in TAxis::TAxis");
    MbrVecPoints.resize(static_cast<size_t>(LngSize));
}

TAxis::~TAxis() = default;

void TAxis::AddPoint(TPoint* PtrPoint) {
    // Owned before the list grows, so a failed allocation does not leak the point.
    std::unique_ptr<TPoint> PtrOwned(PtrPoint);
    MbrVecPoints.push_back(std::move(PtrOwned));
}

TPoint* TAxis::GetPoint(long LngIndex) const {
    if (LngIndex < 0 || LngIndex >= GetSize())
        throw TException("Index is out of range in TAxis::GetPoint");
    return MbrVecPoints[static_cast<size_t>(LngIndex)].get();
}

void TAxis::SetPoint(long LngIndex, TPoint* PtrPoint) {
    if (LngIndex < 0 || LngIndex >= GetSize())
        throw TException("Index is out of range in TAxis::SetPoint");
    MbrVecPoints[static_cast<size_t>(LngIndex)].reset(PtrPoint);
}

long TAxis::GetIndex(double DblOrdinate, char ChrAxis) const {
    const long LngSize = GetSize();
    // An axis of fewer than two points has no pair to hold any ordinate.
    if (LngSize < 2)
        throw TException("Ordinate is out of range in TAxis::GetIndex");
    const double DblFirst = Ordinate(MbrVecPoints.front().get(), ChrAxis);
    const double DblLast = Ordinate(MbrVecPoints.back().get(), ChrAxis);
    const double DblLo = DblFirst < DblLast ? DblFirst : DblLast;
    const double DblHi = DblFirst < DblLast ? DblLast : DblFirst;
    if (!(DblOrdinate >= DblLo && DblOrdinate <= DblHi))
        throw TException("Ordinate is out of range in TAxis::GetIndex");
    double DblA = DblFirst;
    for (long LngI = 0; LngI + 1 < LngSize; ++LngI) {
        const double DblB = Ordinate(MbrVecPoints[static_cast<size_t>(LngI + 1)].get(), ChrAxis);
        const double DblPLo = DblA < DblB ? DblA : DblB;
        const double DblPHi = DblA < DblB ? DblB : DblA;
        if (DblPLo <= DblOrdinate && DblOrdinate < DblPHi)
            return LngI;
        DblA = DblB;
    }
    // An ordinate equal to hi belongs to the pair whose larger end it is: the last pair of an
    // ascending axis, the first of a descending one.
    DblA = DblFirst;
    for (long LngI = 0; LngI + 1 < LngSize; ++LngI) {
        const double DblB = Ordinate(MbrVecPoints[static_cast<size_t>(LngI + 1)].get(), ChrAxis);
        const double DblPHi = DblA < DblB ? DblB : DblA;
        if (DblPHi == DblOrdinate)
            return LngI;
        DblA = DblB;
    }
    // Only an axis whose inner points stray outside its end points leaves an ordinate unpaired.
    throw TException("Ordinate is out of range in TAxis::GetIndex");
}

TAxis* TAxis::GetSegment(long LngStart, long LngEnd) const {
    if (LngStart < 0 || LngStart >= GetSize())
        throw TException("Start index is out of range in TAxis::GetSegment");
    if (LngEnd < 0 || LngEnd >= GetSize())
        throw TException("End index is out of range in TAxis::GetSegment");
    if (LngStart > LngEnd)
        throw TException("Start index is greater than end index in TAxis::GetSegment");
    auto PtrSegment = std::make_unique<TAxis>(MbrDblResolution);
    PtrSegment->MbrVecPoints.reserve(static_cast<size_t>(LngEnd - LngStart + 1));
    for (long LngI = LngStart; LngI <= LngEnd; ++LngI) {
        const TPoint* PtrPoint = MbrVecPoints[static_cast<size_t>(LngI)].get();
        PtrSegment->MbrVecPoints.emplace_back(PtrPoint ? PtrPoint->Clone() : nullptr);
    }
    return PtrSegment.release();
}

TAxis* TAxis::GetSegment(TPoint* PtrFirst, TPoint* PtrLast, char ChrAxis) const {
    const long LngStart = GetIndex(Ordinate(PtrFirst, ChrAxis), ChrAxis);
    const long LngEnd = GetIndex(Ordinate(PtrLast, ChrAxis), ChrAxis);
    return GetSegment(LngStart, LngEnd);
}

TAxis* TAxis::Clone() const {
    auto PtrCopy = std::make_unique<TAxis>(MbrDblResolution);
    PtrCopy->MbrVecPoints.reserve(MbrVecPoints.size());
    for (const auto& PtrPoint : MbrVecPoints)
        PtrCopy->MbrVecPoints.emplace_back(PtrPoint ? PtrPoint->Clone() : nullptr);
    return PtrCopy.release();
}
