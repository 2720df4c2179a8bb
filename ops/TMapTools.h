#ifndef VEILGRID_OPS_TMAPTOOLS_H
#define VEILGRID_OPS_TMAPTOOLS_H

#include "model/TMap.h"
#include "model/TPoint.h"

#include <map>
#include <memory>
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
    /// "Maps do not intersect in TMapTools::Intersection" unless they overlap by a cell along both
    /// axes (so also for a map without columns or rows).
    static void Intersection(TMap* PtrA, TMap* PtrB, TMap*& PtrOutA, TMap*& PtrOutB);
    /// A new map on A's grid (no-data -9999) holding B's values, each value equal to DblFlag
    /// replaced by DblExclude; A's values are not read. Fails with
    /// "X dimensions do not match in TMapTools::Mask" or "Y dimensions do not match in
    /// TMapTools::Mask".
    [[nodiscard]] static TMap* Mask(TMap* PtrA, TMap* PtrB, double DblFlag, double DblExclude);

    // ---- Cell arithmetic ----------------------------------------------------------------------

    /// A + B cell by cell, on the grid of the finer map (A when the resolutions are equal): the
    /// base map. Each base cell meets the other map's cell that holds its centre. Tests the base
    /// cell against the base's no-data value, then the other cell against the other's; writes,
    /// and labels the result with, the base's no-data value. Fails with the lookup's message,
    /// "Ordinate is out of range in TAxis::GetIndex", as soon as a base centre lies outside the
    /// other map (also for a no-data base cell), and with "Map has no axes in TMapTools::Add" for
    /// a base map without axes.
    [[nodiscard]] static TMap* Add(TMap* PtrA, TMap* PtrB);
    /// A - B cell by cell by index (coordinates are not compared), on A's axes. Tests A's cell
    /// against A's no-data value, then B's cell against B's; writes, and labels the result with,
    /// A's no-data value. Fails with "X dimensions do not match in TMapTools::Subtract", then
    /// "Y dimensions do not match in TMapTools::Subtract", then "Map has no axes in
    /// TMapTools::Subtract" for an A without axes, or "Axes resolutions do not match in
    /// TMap::TMap".
    [[nodiscard]] static TMap* Subtract(TMap* PtrA, TMap* PtrB);
    /// A x DblFactor on A's axes. Tests A's cells against -9999, not against A's own no-data
    /// value, and writes -9999 there; the result's no-data value is -9999. Fails with
    /// "Map has no axes in TMapTools::Multiply" or "Axes resolutions do not match in TMap::TMap".
    [[nodiscard]] static TMap* Multiply(TMap* PtrA, double DblFactor);
    /// A x B cell by cell, on the finer grid as Add does, with the same no-data tests, the same
    /// written no-data value and the same failures ("Map has no axes in TMapTools::Multiply").
    [[nodiscard]] static TMap* Multiply(TMap* PtrA, TMap* PtrB);
    /// A / DblDivisor on A's axes. Tests A's cells against A's own no-data value and keeps that
    /// value there, although the result's no-data value is -9999. A zero divisor gives what IEEE
    /// division gives. Fails with "Map has no axes in TMapTools::Divide" or
    /// "Axes resolutions do not match in TMap::TMap".
    [[nodiscard]] static TMap* Divide(TMap* PtrA, double DblDivisor);
    /// A / B on A's grid; each A cell meets the B cell that holds its centre. Tests A's cell
    /// against A's no-data value, then B's cell against B's; writes, and labels the result with,
    /// A's no-data value. Fails first, before anything is built, with "Divisor must be of equal of
    /// coarser resolution than the dividend in TMapTools::Divide" when A's resolution is greater
    /// than B's; then as Add ("Map has no axes in TMapTools::Divide").
    [[nodiscard]] static TMap* Divide(TMap* PtrA, TMap* PtrB);
    /// A rounded cell by cell on copies of A's axes: a fractional part of one half or more goes
    /// up, anything else is truncated toward zero (2.5 gives 3, -2.5 gives -2, -2.7 gives -2). No
    /// no-data test: every cell is rounded, -9999 and other whole values stay, NaN stays NaN; the
    /// result's no-data value is -9999. Fails with "Map has no axes in TMapTools::RoundContents"
    /// or "Axes resolutions do not match in TMap::TMap".
    [[nodiscard]] static TMap* RoundContents(TMap* PtrA);

    // ---- Classification and counting ----------------------------------------------------------

    /// A new map on copies of A's axes (no-data -9999) holding A's value where it is at least
    /// DblThreshold and 0 elsewhere (also for NaN). No-data cells are classified like any value.
    /// Fails with "Map has no axes in TMapTools::Threshold" or "Axes resolutions do not match in
    /// TMap::TMap".
    [[nodiscard]] static TMap* Threshold(TMap* PtrA, double DblThreshold);
    /// Threshold of each map, in list order; the caller owns every map of the list. The first
    /// failure ends the call and no map is returned.
    [[nodiscard]] static std::vector<TMap*> Threshold(std::vector<TMap*> VecMaps,
                                                      double DblThreshold);
    /// A new map on copies of A's axes (no-data -9999) holding DblReplacement where A's value is
    /// at least DblThreshold, and A's value where it is below it or NaN. No-data cells are
    /// classified like any value. Fails as Threshold, with
    /// "Map has no axes in TMapTools::ThresholdReplace".
    [[nodiscard]] static TMap* ThresholdReplace(TMap* PtrA, double DblThreshold,
                                                double DblReplacement);
    /// A new map on copies of A's axes (no-data -9999) holding MapTable's value for A's value
    /// where that value is a key (exact match: a NaN key matches nothing), and DblDefault
    /// elsewhere, NaN cells included. No-data cells are recoded like any value, so they keep their
    /// value only through an entry mapping it to itself. Fails as Threshold, with
    /// "Map has no axes in TMapTools::ReplaceValue".
    [[nodiscard]] static TMap* ReplaceValue(TMap* PtrA, std::map<double, double> MapTable,
                                            double DblDefault);
    /// Every value that occurs in A with its number of cells, in ascending value order; no-data
    /// cells count under their value, NaN cells are left out.
    static std::map<double, long> CountValues(TMap* PtrA);
    /// The number of cells of A exactly equal to DblValue (0 for NaN).
    static long CountValues(TMap* PtrA, double DblValue);

    // ---- Map stacks ---------------------------------------------------------------------------

    /// The cell-by-cell sum of two or more maps of equal dimensions, met by index, on the first
    /// map's axes (no-data -9999). Each map's cell is tested against that map's own no-data
    /// value; a cell where some map has no data holds the no-data value of the first such map in
    /// list order. Fails with "Must have more than 2 maps to sum in TMapTools::Sum" for fewer than
    /// two maps, then with "X-dimension of maps are inconsistent in TMapTools::Sum" or
    /// "Y-dimension of maps are inconsistent in TMapTools::Sum" for the first map, in list order,
    /// that differs from the first; then "Map has no axes in TMapTools::Sum" or
    /// "Axes resolutions do not match in TMap::TMap".
    [[nodiscard]] static TMap* Sum(std::vector<TMap*> VecMaps);
    /// On the first map's axes (no-data -9999), the number of maps whose cell differs from that
    /// map's own no-data value. Fails with "Map list is empty in TMapTools::DataCounts", then as
    /// Sum with the "in TMapTools::DataCounts" messages.
    [[nodiscard]] static TMap* DataCounts(std::vector<TMap*> VecMaps);
    /// Divide(Sum(VecMaps), DataCounts(VecMaps)): the mean where every map has data, -9999 where
    /// the first map without data there has the no-data value -9999, and that map's other no-data
    /// value divided by the cell's count of maps with data otherwise. Fails as Sum.
    [[nodiscard]] static TMap* Average(std::vector<TMap*> VecMaps);
    /// Average of each run of IntWindow consecutive maps, from the first run to the last, so
    /// result k is the mean of maps k to k + IntWindow - 1; an empty list when IntWindow exceeds
    /// the number of maps. A window of fewer than two maps fails with Sum's message; on any
    /// failure no map is returned.
    [[nodiscard]] static std::vector<TMap*> MovingAverage(std::vector<TMap*> VecMaps,
                                                          int IntWindow);

    // ---- Value gradients ----------------------------------------------------------------------

    /// The least-squares slope of every cell along the stack, one new map per window of
    /// IntWindow + 1 consecutive maps (window k covers maps k to k + IntWindow), in window order;
    /// empty when IntWindow equals the number of maps. The caller owns the maps. Each slope map is
    /// built on copies of the first map's axes, with -9999 as no-data and in every cell whose value
    /// in the window's first map is 0. Zeros in the window's maps but its last are replaced by
    /// FindNonzeroNeighbourVal; cells equal to their own map's no-data value are left out of the
    /// fit, and a cell with fewer than two values left holds NaN. Fails with
    /// "Window size must be > 0 in TMapTools::ValueGradients", then "Window size must be < number
    /// of maps in TMapTools::ValueGradients", "Map dimensions do not match in
    /// TMapTools::ValueGradients", "Map has no axes in TMapTools::ValueGradients" (first map) and
    /// "Axes resolutions do not match in TMap::TMap"; no map is returned then.
    [[nodiscard]] static std::vector<TMap*> ValueGradients(std::vector<TMap*> VecMaps,
                                                           int IntWindow);
    /// The values of cell (LngX, LngY) in the maps IntStart to IntEnd inclusive, in list order.
    /// Fails with "Start map number is out of range in TMapTools::GetValuesVector", "End map
    /// number is out of range in TMapTools::GetValuesVector", "Stat map number must be less than
    /// end map number" (IntStart >= IntEnd), or the cell messages of TMap::GetPointVal.
    static std::vector<double> GetValuesVector(std::vector<TMap*> VecMaps, long LngX, long LngY,
                                               int IntStart, int IntEnd);
    /// A nonzero value of the 3 x 3 block around cell (LngX, LngY), cut at the map's edges and
    /// centre included: the northernmost nonzero value of the easternmost column that has one;
    /// 0 when every cell is 0. No-data and NaN count as nonzero. Fails with "X-ordinate is out of
    /// range in TMapTools::FindNonzeroNeighbourVal", then the Y-ordinate message.
    static double FindNonzeroNeighbourVal(TMap* PtrMap, long LngX, long LngY);

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

    /// For each key of MapPoints, the value of PtrMap's cell that holds the key's point (only the
    /// point's X and Y are read; the points stay the caller's). Fails with the failure of
    /// TMap::GetPointVal(TPoint*) for a point outside the map; no table is returned then.
    static std::map<double, double> FetchMapValues(TMap* PtrMap,
                                                   std::map<double, TMapPoint*> MapPoints);
    /// FetchMapValues of each map with the point set at the same position, in list order; point
    /// sets beyond the number of maps are ignored. Fails, before reading any map, with "Fewer point
    /// sets than maps in TMapTools::FetchMapValues", else with the first failing lookup.
    static std::vector<std::map<double, double>>
    FetchMapValues(std::vector<TMap*> VecMaps, std::vector<std::map<double, TMapPoint*>> VecPoints);
    /// Every distinct value of the map that is not in VecExclude, mapped to a new TMapPoint at the
    /// centre of its first cell (column by column, west to east, each column north to south),
    /// carrying the value. The caller owns every point of the table and must delete them. A cell
    /// equal to the cell scanned just before it is passed over, the first cell being compared with
    /// the no-data value: so a leading run of no-data cells is passed over, and a map holding only
    /// its no-data value gives an empty table. NaN cells are passed over (a NaN equals nothing,
    /// also the next cell). Fails with "Map has no axes in TMap::GetCoordinates" for a map without
    /// axes that has a value to enter; the points created so far are deleted then.
    [[nodiscard]] static std::map<double, TMapPoint*>
    GetFirstValues(TMap* PtrMap, std::vector<double> VecExclude);
    /// GetFirstValues of each map, the tables in list order; the caller owns every point. On a
    /// failure no table is returned and every point created is deleted.
    [[nodiscard]] static std::vector<std::map<double, TMapPoint*>>
    GetFirstValues(std::vector<TMap*> VecMaps, std::vector<double> VecExclude);
    /// The values of PtrValues grouped by the value of PtrZones in the same cell (column by
    /// column, each column north to south, within each group). Zone values in VecExclude and NaN
    /// zone values are left out; no-data values are keys and values like any other. Fails with
    /// "Map X-dimensions do not match", then "Map Y-Dimensions do not match".
    static std::map<double, std::vector<double>> GetValuesOverlay(TMap* PtrValues, TMap* PtrZones,
                                                                  std::vector<double> VecExclude);

    // ---- CSV export ---------------------------------------------------------------------------

    /// Writes one line "X,Y,value" per cell, X and Y being the cell centre, column by column: west
    /// to east, each column north to south. Nothing for a map without columns or rows. Numbers are
    /// written without loss, as in grid files; the stream's state is not examined. A map with
    /// cells but without axes fails with "Map has no axes in TMap::GetCoordinates" before writing.
    static void WriteCSVFile(TMap* PtrMap, std::ostream& Out);

  private:
    // A new map on copies of PtrMap's centre axes: its grid, every cell and the no-data value
    // -9999. Fails with PtrNoAxes when PtrMap has no axes.
    static std::unique_ptr<TMap> NewMapOnAxes(const TMap* PtrMap, const char* PtrNoAxes);

    // Writes Rule(value) of every cell of PtrIn into the same cell of PtrOut, which has PtrIn's
    // dimensions; row by row, for use where the order cannot be observed.
    template <class TRule> static void MapCells(const TMap* PtrIn, TMap* PtrOut, TRule Rule) {
        const long LngXDim = PtrIn->GetXDim();
        for (long LngY = 0; LngY < PtrIn->GetYDim(); ++LngY) {
            const double* PtrRowIn = PtrIn->GetRowData(LngY);
            double* PtrRowOut = PtrOut->GetRowData(LngY);
            for (long LngX = 0; LngX < LngXDim; ++LngX)
                PtrRowOut[LngX] = Rule(PtrRowIn[LngX]);
        }
    }
};

#endif
