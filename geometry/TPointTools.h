#ifndef VEILGRID_GEOMETRY_TPOINTTOOLS_H
#define VEILGRID_GEOMETRY_TPOINTTOOLS_H

#include "model/TPoint.h"

#include <vector>

/// Plane geometry over points.
class TPointTools {
  public:
    /// A new point with the smaller X and the smaller Y of the two; on equal ordinates the first
    /// argument's value is kept. The caller owns it.
    [[nodiscard]] static TPoint* Min(TPoint* PtrA, TPoint* PtrB);
    /// A new point with the larger X and the larger Y of the two; on equal ordinates the first
    /// argument's value is kept. The caller owns it.
    [[nodiscard]] static TPoint* Max(TPoint* PtrA, TPoint* PtrB);
};

#endif
