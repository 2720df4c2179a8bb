#ifndef VEILGRID_OPS_TMAPTOOLS_H
#define VEILGRID_OPS_TMAPTOOLS_H

#include "model/TMap.h"
#include "model/TPoint.h"

#include <map>
#include <ostream>
#include <vector>

/// The static operations over maps. Every map an operation returns is new and owned by the
/// caller; the maps given are not changed unless an operation says so.
class TMapTools {
  public:
    // ---- Text output --------------------------------------------------------------------------

    /// Writes the map's values row by row, north to south, each value followed by ChrSeparator
    /// and each row by an end of line; nothing for a map without rows. Numbers are written
    /// without loss, as in grid files.
    static void WriteFlatFile(TMap* PtrMap, std::ostream& Out, char ChrSeparator);

    // ---- Overlap and masking ------------------------------------------------------------------

    /// A new map with the block of cells from the cell holding PtrFirst to the cell holding
    /// PtrSecond (any two opposite corners, either order); its no-data value is -9999. Fails with
    /// "Ordinate is out of range in TAxis::GetIndex" for a point outside the map.
    [[nodiscard]] static TMap* Extract(TMap* PtrMap, TPoint* PtrFirst, TPoint* PtrSecond);
    /// Cuts A and then B to the cells they have in common; PtrOutA and PtrOutB receive new maps
    /// (owned by the caller) only when both were built. Fails with
    /// "Maps do not intersect in TMapTools::Intersection" unless they overlap by a cell along both axes.
    static void Intersection(TMap* PtrA, TMap* PtrB, TMap*& PtrOutA, TMap*& PtrOutB);
    /// A new map on A's grid (no-data -9999) holding B's values, each value equal to DblFlag
    /// replaced by DblExclude; A's values are not read. Fails with
    /// "X dimensions do not match in TMapTools::Mask" or "Y dimensions do not match in TMapTools::Mask".
    [[nodiscard]] static TMap* Mask(TMap* PtrA, TMap* PtrB, double DblFlag, double DblExclude);

    // ---- Cell arithmetic ----------------------------------------------------------------------


    // ---- Classification and counting ----------------------------------------------------------


    // ---- Map stacks ---------------------------------------------------------------------------


    // ---- Value gradients ----------------------------------------------------------------------


    // ---- Resampling ---------------------------------------------------------------------------

    /// The bilinear value at (DblX, DblY) between the corners A = (DblX1, DblY1), B = (DblX2,
    /// DblY1), C = (DblX1, DblY2) and D = (DblX2, DblY2) carrying DblVA to DblVD. Outside the
    /// corners the value is extrapolated; the corners may come in any order. Each term is (v /
    /// area) times the two opposite distances, summed A, B, C, D. Corners of zero area give an
    /// infinity or NaN.
    static double BilinearInterpolate(double DblVA, double DblVB, double DblVC, double DblVD,
                                      double DblX, double DblX1, double DblX2, double DblY,
                                      double DblY1, double DblY2);
    /// The bilinear value at PtrTarget's position stored in PtrTarget's value. The corners are
    /// placed as in the plain form: x1 and y1 from PtrA, x2 from PtrB, y2 from PtrC; PtrD gives
    /// only its value. No point is created or taken over; only PtrTarget changes.
    static void BilinearInterpolate(TMapPoint* PtrA, TMapPoint* PtrB, TMapPoint* PtrC,
                                    TMapPoint* PtrD, TMapPoint* PtrTarget);
    /// A new empty grid of resolution DblResolution over PtrMap, every cell and the no-data value
    /// -9999; the caller owns it. Its columns and rows are (resolution x dimension) / DblResolution
    /// truncated, the product and quotient rounded to double each (10 columns of resolution 0.3 at
    /// 0.1 give 30 columns), laid from PtrMap's west edge and first Y edge in the direction of its
    /// Y edges; a strip narrower than a new cell at the east and last Y edge is left out. Fails
    /// with "New resolution must be > 0.0 in TMapTools::Downscale" (also for NaN), "Map has no axes
    /// in TMapTools::Downscale", "New dimensions are out of range in TMapTools::Downscale" when a
    /// count is not a number from 0 to 2147483647, "Index is out of range in TAxis::GetPoint" when
    /// a count is 0, and "Map is too large in TMap::Init".
    [[nodiscard]] static TMap* Downscale(TMap* PtrMap, double DblResolution);
    /// Downscale(PtrMap, DblResolution) filled with PtrMap's no-data value, then sampled on a
    /// lattice of step DblResolution that starts one source cell in from the west edge and, for Y
    /// edges running north to south, one source cell plus one new cell in from the north edge (one
    /// source cell in from the first Y edge when they ascend), and ends one source cell before the
    /// far edges. Each sample is the bilinear value between the centres of the source cell holding
    /// it, its western neighbour and the row after it (north to south) or before it (ascending),
    /// no-data values counting as numbers, stored in the result cell holding the sample; the
    /// result's no-data value stays -9999. The caller owns the result. Fails with "New resolution
    /// cannot be <= 0.0 in TMapTools::BilinearInterpolate", "Map has no axes in
    /// TMapTools::BilinearInterpolate", Downscale's failures, "Ordinate is out of range in
    /// TAxis::GetIndex" for a sample outside the result or the source, "LngGetX1 is out of range in
    /// TMapTools::BilinearInterpolate" (then LngGetX2, LngGetY1, LngGetY2) when a neighbour is
    /// missing, and "Sample position does not advance in TMapTools::BilinearInterpolate" where a
    /// step is lost to rounding (coordinates near the limits of double).
    [[nodiscard]] static TMap* BilinearInterpolate(TMap* PtrMap, double DblResolution);
    /// A new map of resolution (resolution / IntFactor) over PtrMap's extent in which every source
    /// cell becomes IntFactor x IntFactor cells of its value; its no-data value is -9999. The
    /// caller owns it. Fails with "Subdivision factor must be > 0 in TMapTools::Subdivide", "Map
    /// has no axes in TMapTools::Subdivide", "New dimensions are out of range in
    /// TMapTools::Subdivide" when a new dimension would exceed 2147483647, and "Map is too large in
    /// TMap::Init".
    [[nodiscard]] static TMap* Subdivide(TMap* PtrMap, int IntFactor);


    // ---- Blocks and regions -------------------------------------------------------------------

    /// Writes each cell of PtrInsert into the cell of PtrDest that holds its centre (no
    /// resampling; among cells landing together the last row, then the last column, wins).
    /// PtrInsert is not changed; PtrDest's no-data value is kept. Fails, writing nothing, with
    /// "Map has no axes in TMapTools::Insert", "Insert map's NW corner is outside of the
    /// destination map in TMapTools::Insert", then the SE message alike (coinciding edges are
    /// inside), and "Ordinate is out of range in TAxis::GetIndex" for a centre outside the
    /// destination.
    static void Insert(TMap* PtrDest, TMap* PtrInsert);
    /// Sets the cells of rows LngNorth to LngSouth and columns LngWest to LngEast (inclusive) to
    /// DblValue. Fails, writing nothing, with "Northern edge must be less than southern edge in
    /// TMapTools::FillBlock", "Western edge must be less than eastern edge in
    /// TMapTools::FillBlock", then "Northern ordinate is out of range in TMapTools::FillBlock" and
    /// the Southern, Western and Eastern messages alike for an index outside the map.
    static void FillBlock(TMap* PtrMap, double DblValue, long LngNorth, long LngSouth, long LngWest,
                          long LngEast);
    /// The smallest block (rows LngNorth to LngSouth, columns LngWest to LngEast) that holds every
    /// cell equal to DblValue; all four 0 when no cell is (NaN equals nothing). Does not fail.
    static void FindPatchExtent(TMap* PtrMap, double DblValue, long& LngNorth, long& LngSouth,
                                long& LngWest, long& LngEast);
    /// Widens the block by LngBuffer cells on each side, clipped to the map; a negative buffer
    /// moves each side inwards without clipping (a result beyond the range of long is held at its
    /// limit). The indices are not checked and the call does not fail.
    static void BufferIndices(TMap* PtrMap, long LngBuffer, long& LngNorth, long& LngSouth,
                              long& LngWest, long& LngEast);


    // ---- Value sampling -----------------------------------------------------------------------


    // ---- CSV export ---------------------------------------------------------------------------

};

#endif
