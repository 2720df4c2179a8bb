#ifndef VEILGRID_GRID_TARCGISFILETOOLS_H
#define VEILGRID_GRID_TARCGISFILETOOLS_H

#include "model/TMap.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

/// Maps as ArcGIS ASCII grid files: a six-line header (ncols, nrows, xllcorner, yllcorner,
/// cellsize, NODATA_value) followed by the cell values, northern row first.
class TARCGISFileTools {
  public:
    /// Reads a grid from a stream positioned at its start; the caller owns the new map. Row 0 is
    /// the northern row and all four axes are set. Fails with the header messages
    /// ("File format error: expected to find ncols tag", ...), "File format error: invalid value
    /// for <tag> tag", "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile" and
    /// "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile".
    [[nodiscard]] static TMap* LoadARCGISFile(std::istream& In);
    /// Reads the named grid file; fails as the stream form, or with "Unable to open file <name>".
    [[nodiscard]] static TMap* LoadARCGISFile(const std::string& StrFileName);

    /// Writes the map as a grid to the stream; the map is not changed. Numbers are written
    /// without loss, whatever the stream's settings. A failed write shows in the stream's state.
    static void WriteARCGISFile(TMap* PtrMap, std::ostream& Out);
    /// Writes the map to the named file, through a temporary file beside it that replaces the
    /// file only once everything was written: an existing file is never left half-written.
    /// Fails with "Unable to open file <name>" or "Unable to write file <name>".
    static void WriteARCGISFile(TMap* PtrMap, const std::string& StrFileName);

    // ---- File lists ----
    /// Loads the named grids in list order into a new list, one map per name; the caller owns
    /// every map. The first file that fails ends the call with its LoadARCGISFile failure; the
    /// maps loaded before it are released and the files after it are not read.
    [[nodiscard]] static std::vector<TMap*> LoadFileList(std::vector<std::string> VecFileNames);
    /// Writes map i to file i with WriteARCGISFile, in list order; the maps are not changed.
    /// Lists of different lengths fail with "Size of map list and filename list do not match in
    /// TARCGISFileTools::WriteFileList" before anything is written; otherwise the first file that
    /// fails ends the call with its WriteARCGISFile failure, the files before it written.
    static void WriteFileList(std::vector<TMap*> VecMaps, std::vector<std::string> VecFileNames);
};

#endif
