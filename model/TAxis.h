#ifndef VEILGRID_MODEL_TAXIS_H
#define VEILGRID_MODEL_TAXIS_H

#include "model/TPoint.h"

#include <memory>
#include <vector>

/// An ordered list of owned points with a grid spacing. A map holds four: the X and Y axes of
/// the cell centres and the X and Y interval axes of the cell edges (one point more).
/// Wherever an operation takes a char naming an axis, 'X' selects the X ordinate and every other
/// value the Y ordinate.
class TAxis {
  public:
    /// An axis without points, to be filled with AddPoint.
    explicit TAxis(double DblResolution);
    /// An axis with LngSize empty slots, to be filled with SetPoint. Fails with
    /// "Size must not be negative in TAxis::TAxis" for a negative size.
    TAxis(double DblResolution, long LngSize);
    ~TAxis();
    TAxis(const TAxis&) = delete;
    TAxis& operator=(const TAxis&) = delete;

    long GetSize() const { return static_cast<long>(MbrVecPoints.size()); }
    double GetResolution() const { return MbrDblResolution; }

    /// Appends PtrPoint; the axis takes ownership.
    void AddPoint(TPoint* PtrPoint);
    /// The point in slot LngIndex, borrowed (null for a slot not yet filled).
    /// Fails with "Index is out of range in TAxis::GetPoint".
    TPoint* GetPoint(long LngIndex) const;
    /// Destroys the point in slot LngIndex and stores PtrPoint, which the axis then owns.
    /// Fails with "Index is out of range in TAxis::SetPoint"; then the caller keeps PtrPoint.
    void SetPoint(long LngIndex, TPoint* PtrPoint);

    /// The index of the pair of consecutive points whose half-open range [lower, upper) holds
    /// DblOrdinate, scanning pairs from index 0. An ordinate equal to the greatest ordinate of
    /// the axis belongs to the pair whose larger end it is. Fails with
    /// "Ordinate is out of range in TAxis::GetIndex" outside the closed range of the first and
    /// last points, and for every ordinate on an axis of fewer than two points.
    long GetIndex(double DblOrdinate, char ChrAxis) const;
    /// The rule of GetIndex over LngSize ordinates that OrdinateAt(index) gives: the first and
    /// the last are asked for first, then the others in order. Lets a reader that keeps its
    /// edges as plain numbers find cells exactly as a map does.
    template <class TOrdinateAt>
    static long FindIndex(long LngSize, double DblOrdinate, TOrdinateAt OrdinateAt);

    /// A new axis with copies of the points LngStart to LngEnd inclusive; the caller owns it.
    /// Fails with "Start index is out of range in TAxis::GetSegment", then
    /// "End index is out of range in TAxis::GetSegment", then
    /// "Start index is greater than end index in TAxis::GetSegment".
    [[nodiscard]] TAxis* GetSegment(long LngStart, long LngEnd) const;
    /// GetSegment of the indices of PtrFirst's and PtrLast's ordinates; the caller owns it.
    [[nodiscard]] TAxis* GetSegment(TPoint* PtrFirst, TPoint* PtrLast, char ChrAxis) const;

    /// A deep copy (every point copied with its own Clone); the caller owns it.
    [[nodiscard]] TAxis* Clone() const;

  private:
    [[noreturn]] static void ThrowOutOfRange();

    double MbrDblResolution;
    std::vector<std::unique_ptr<TPoint>> MbrVecPoints;
};

template <class TOrdinateAt>
long TAxis::FindIndex(long LngSize, double DblOrdinate, TOrdinateAt OrdinateAt) {
    // An axis of fewer than two points has no pair to hold any ordinate.
    if (LngSize < 2)
        ThrowOutOfRange();
    const double DblFirst = OrdinateAt(0);
    const double DblLast = OrdinateAt(LngSize - 1);
    const double DblLo = DblFirst < DblLast ? DblFirst : DblLast;
    const double DblHi = DblFirst < DblLast ? DblLast : DblFirst;
    if (!(DblOrdinate >= DblLo && DblOrdinate <= DblHi))
        ThrowOutOfRange();
    double DblA = DblFirst;
    for (long LngI = 0; LngI + 1 < LngSize; ++LngI) {
        const double DblB = OrdinateAt(LngI + 1);
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
        const double DblB = OrdinateAt(LngI + 1);
        const double DblPHi = DblA < DblB ? DblB : DblA;
        if (DblPHi == DblOrdinate)
            return LngI;
        DblA = DblB;
    }
    // Only an axis whose inner points stray outside its end points leaves an ordinate unpaired.
    ThrowOutOfRange();
}

#endif
