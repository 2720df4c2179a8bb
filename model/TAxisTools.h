#ifndef VEILGRID_MODEL_TAXISTOOLS_H
#define VEILGRID_MODEL_TAXISTOOLS_H

#include "model/TAxis.h"

/// Conversion between axes of cell centres and axes of cell edges.
class TAxisTools {
  public:
    /// The interval axis (GetSize() + 1 cell edges) of a point axis, built by successive addition
    /// of the resolution; the caller owns it. Fails with "Index is out of range in TAxis::GetPoint"
    /// for an axis without points.
    [[nodiscard]] static TAxis* PointsToIntervals(TAxis* PtrAxis, char ChrLetter);
    /// The point axis (GetSize() - 1 cell centres) of an interval axis; the caller owns it.
    /// Fails with "Index is out of range in TAxis::GetPoint" for an axis without points.
    [[nodiscard]] static TAxis* IntervalsToPoints(TAxis* PtrAxis, char ChrLetter);
};

#endif
