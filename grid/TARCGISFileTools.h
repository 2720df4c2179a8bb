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
    /// the northern row and all four axes are set. Tokens are separated by blank, tab, CR, LF,
    /// vertical tab or form feed; a number is a whole token. Fails with the header messages
    /// ("File format error: expected to find ncols tag", ...), "File format error: invalid value
    /// for <tag> tag", "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile",
    /// "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile" and, for a
    /// grid that memory cannot hold or one without cells that claims more than 65536 rows or
    /// columns, "File format error: grid is too large in TARCGISFileTools::LoadARCGISFile".
    /// Memory is taken for the values read, not for those the header claims. A stream that can seek
    /// is read in blocks, one that cannot (a pipe, a console) no further than its buffer holds;
    /// after a load the stream stands directly after the last value (eof set when that value ended
    /// the input). Only a stream without a buffer that cannot put a character back loses the blank
    /// after it.
    [[nodiscard]] static TMap* LoadARCGISFile(std::istream& In);
    /// Reads the named grid file; fails as the stream form, with "Unable to open file <name>"
    /// (also for a folder) or "Unable to read file <name>".
    [[nodiscard]] static TMap* LoadARCGISFile(const std::string& StrFileName);

    /// As LoadARCGISFile, but also reads the header forms that other tools write: tags in any
    /// letter case (NCOLS, nCols), the header pairs in any order, xllcenter/yllcenter in place of
    /// xllcorner/yllcorner (the corner is the centre less half a cell), dx and dy in place of
    /// cellsize when the two are equal, and no NODATA_value pair (the no-data value is then
    /// -9999). The header ends at the first token that is not one of its tags, which is the first
    /// cell value. A grid that LoadARCGISFile reads is read the same. Besides the messages of
    /// LoadARCGISFile (a missing pair fails with the message of its tag), fails with "File format
    /// error: duplicate <tag> tag", "File format error: both xllcorner and xllcenter tags" (and
    /// for y), "File format error: cellsize tag together with dx or dy tag", "File format error:
    /// expected to find dx and dy tags", "File format error: dx and dy differ, cells are not
    /// square" and "File format error: missing value for <tag> tag"; tags are named as written.
    [[nodiscard]] static TMap* LoadARCGISFileTolerant(std::istream& In);
    /// Reads the named grid file as LoadARCGISFileTolerant, failing as LoadARCGISFile(name).
    [[nodiscard]] static TMap* LoadARCGISFileTolerant(const std::string& StrFileName);

    /// Writes the map as a grid to the stream; the map is not changed. Numbers are written
    /// without loss, whatever the stream's settings; the two corners right-aligned in 8
    /// characters. A failed write shows in the stream's state. A map without interval axes fails
    /// with "Map has no axes in TARCGISFileTools::WriteARCGISFile" before anything is written.
    static void WriteARCGISFile(TMap* PtrMap, std::ostream& Out);
    /// Writes the map to the named file, through a temporary file beside it that replaces the
    /// file only once everything was written and closed: an existing file is never left
    /// half-written, keeps its permissions, and no temporary file remains after a failure. A new
    /// file gets 0666 less the umask. An existing device or pipe (/dev/null) is written in place.
    /// Fails with "Unable to open file <name>" (no folder, a folder, no permission to create the
    /// file, or an existing file that may not be written) or
    /// "Unable to write file <name>" (a write, the close or the rename failed), or as the
    /// stream form.
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
