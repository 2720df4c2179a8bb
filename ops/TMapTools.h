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


    // ---- Blocks and regions -------------------------------------------------------------------


    // ---- Value sampling -----------------------------------------------------------------------


    // ---- CSV export ---------------------------------------------------------------------------

    /// Writes one line "X,Y,value" per cell, X and Y being the cell centre, column by column: west
    /// to east, each column north to south. Nothing for a map without columns or rows. Numbers are
    /// written without loss, as in grid files; the stream's state is not examined. A map with
    /// cells but without axes fails with "Map has no axes in TMap::GetCoordinates" before writing.
    static void WriteCSVFile(TMap* PtrMap, std::ostream& Out);
};

#endif
