#ifndef VEILGRID_GEOMETRY_TPOINTTOOLS_H
#define VEILGRID_GEOMETRY_TPOINTTOOLS_H

#include "model/TPoint.h"

#include <vector>

/// Plane geometry over points. No operation changes the points or lists it is given; the caller
/// keeps them.
class TPointTools {
  public:
    /// A new point with the smaller X and the smaller Y of the two; on equal ordinates the first
    /// argument's value is kept. The caller owns it.
    [[nodiscard]] static TPoint* Min(TPoint* PtrA, TPoint* PtrB);
    /// A new point with the larger X and the larger Y of the two; on equal ordinates the first
    /// argument's value is kept. The caller owns it.
    [[nodiscard]] static TPoint* Max(TPoint* PtrA, TPoint* PtrB);

    /// A new point at the mean X and mean Y of the points; both ordinates are NaN for an empty
    /// list. The caller owns it.
    [[nodiscard]] static TPoint* FindCentroid(std::vector<TPoint*> VecPoints);
    /// The pseudo-angle of the vector from PtrB to PtrA: a value in [0, 360) that grows with the
    /// direction angle counter-clockwise from east (0 east, 90 north, 180 west, 270 south; 60 for
    /// the vector (1, 2)), and 0 for a zero vector.
    static double Theta(TPoint* PtrA, TPoint* PtrB);
    /// The area of the triangle by Heron's formula; 0 where rounding on nearly collinear points
    /// makes the product under the root negative.
    static double Heron(TPoint* PtrA, TPoint* PtrB, TPoint* PtrC);
    /// The sum of the triangles that each pair of consecutive points of the list forms with the
    /// centroid of the list. The last and the first point form no pair, so a closed outline is
    /// given with its first point repeated at the end. 0 for fewer than two points.
    static double FindConvexPolygonArea(std::vector<TPoint*> VecPoints);
    /// Copies (of the points' own type) of the convex hull vertices found by gift wrapping with the
    /// pseudo-angle: the first point of smallest Y, then the vertices counter-clockwise. A point
    /// level with the start and east of it is not placed, and of points on one ray from a vertex
    /// the earliest in the list is taken. The caller owns every point of the new list; an empty
    /// list gives an empty list.
    [[nodiscard]] static std::vector<TPoint*> FindConvexHull(std::vector<TPoint*> VecPoints);
};

#endif
