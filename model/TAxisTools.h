#ifndef VEILGRID_MODEL_TAXISTOOLS_H
#define VEILGRID_MODEL_TAXISTOOLS_H

#include "model/TAxis.h"

#include <cmath>

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

    /// The X of the centre IntervalsToPoints puts between edges of X DblA and DblB.
    static double CentreX(double DblA, double DblB) { return DblA + std::fabs(DblB - DblA) * 0.5; }
    /// The Y of the centre IntervalsToPoints puts between edges of Y DblA and DblB.
    static double CentreY(double DblA, double DblB) { return DblA - std::fabs(DblB - DblA) * 0.5; }
    /// Where PointsToIntervals puts the first edge of a point axis whose first point is
    /// (DblFirstX, DblFirstY) and whose last point has the Y DblLastY, and the step it adds for
    /// each next edge along the ordinate ChrLetter names.
    static void FirstEdge(double DblFirstX, double DblFirstY, double DblLastY, double DblResolution,
                          char ChrLetter, double& DblX, double& DblY, double& DblStep);
};

#endif
