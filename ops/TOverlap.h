#ifndef VEILGRID_OPS_TOVERLAP_H
#define VEILGRID_OPS_TOVERLAP_H

/// The area two grids share, from their edges alone: the one rule of TMapTools::Intersection,
/// also for readers that never build the maps.
class TOverlap {
  public:
    /// The edges of a grid: west and east, and north and south as the larger and smaller of the
    /// first and last Y edge (a one-row map may have its Y edges south first).
    struct TBounds {
        double DblWest;
        double DblEast;
        double DblNorth;
        double DblSouth;
    };
    /// A grid: its edges, cell size and dimensions.
    struct TGrid {
        TBounds Bnd;
        double DblResolution;
        long LngXDim;
        long LngYDim;
    };
    /// Two points inside the north-west and the south-east cell of the common area.
    struct TCorners {
        double DblWestX;
        double DblNorthY;
        double DblEastX;
        double DblSouthY;
    };

    /// The bounds of a grid whose X edges run from DblFirstX to DblLastX and whose Y edges from
    /// DblFirstY to DblLastY.
    static TBounds BoundsOf(double DblFirstX, double DblLastX, double DblFirstY, double DblLastY);
    /// The corners of the area A and B share. Fails with "Maps do not intersect in
    /// TMapTools::Intersection" unless each reaches at least one of its own cells into the
    /// other, both have cells and no bound or cell size is NaN.
    static TCorners Corners(const TGrid& GrdA, const TGrid& GrdB);
};

#endif
