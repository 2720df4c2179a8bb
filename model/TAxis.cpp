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
    return FindIndex(GetSize(), DblOrdinate, [this, ChrAxis](long LngIndex) {
        return Ordinate(MbrVecPoints[static_cast<size_t>(LngIndex)].get(), ChrAxis);
    });
}

void TAxis::ThrowOutOfRange() { throw TException("Ordinate is out of range in TAxis::GetIndex"); }

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
