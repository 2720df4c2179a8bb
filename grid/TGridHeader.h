#ifndef VEILGRID_GRID_TGRIDHEADER_H
#define VEILGRID_GRID_TGRIDHEADER_H

#include "grid/TGridEdges.h"

#include <string>

class TGridTokenizer;

/// The six header values of a grid file: what a reader found or what a writer writes. One
/// implementation of the header for the grid reader, the grid writer and the command.
class TGridHeader {
  public:
    long MbrLngXDim = 0;
    long MbrLngYDim = 0;
    double MbrDblXll = 0;
    double MbrDblYll = 0;
    double MbrDblCellSize = 1;
    double MbrDblNoData = -9999;

    /// Reads the six tag/value pairs in their fixed order from the tokens of a grid and leaves
    /// the tokenizer directly after the no-data value. Fails with the header messages of
    /// TARCGISFileTools::LoadARCGISFile ("File format error: expected to find ncols tag", ...,
    /// "File format error: invalid value for <tag> tag"). The no-data value is -9999 when the
    /// input ends where it belongs.
    static TGridHeader Read(TGridTokenizer& Tokenizer);

    /// Reads the header forms that other tools write as well: tags in any letter case (NCOLS,
    /// nCols), the pairs in any order, xllcenter and yllcenter in place of the corners (the corner
    /// is the centre less half a cell), dx and dy in place of cellsize when the two are equal, and
    /// no NODATA_value pair at all (no-data -9999). The header ends at the first token that is not
    /// one of these tags: that token is handed back to the tokenizer as the first cell value. Fails
    /// with the messages of Read where they apply (a missing pair with the message of its tag in
    /// the strict order, "File format error: invalid value for <tag> tag" naming the tag as the
    /// writer writes it), and with "File format error: duplicate <tag> tag", "File format error:
    /// both xllcorner and xllcenter tags" (and for y), "File format error: cellsize tag together
    /// with dx or dy tag", "File format error: expected to find dx and dy tags" (one without the
    /// other), "File format error: dx and dy differ, cells are not square" and "File format error:
    /// missing value for <tag> tag" (the input ends after a tag). A header read by Read reads the
    /// same here.
    static TGridHeader ReadTolerant(TGridTokenizer& Tokenizer);

    /// Whether the header claims no cells but more than 65536 rows or columns: axes that no value
    /// of the file accounts for, refused with "File format error: grid is too large in
    /// TARCGISFileTools::LoadARCGISFile" once the (empty) body is read.
    bool ClaimsAxesWithoutCells() const;

    /// Appends the header as the grid writer writes it: six lines, the counts as whole numbers,
    /// the corners right-aligned in 8 characters with TNumberTools::FormatCorner, the cell size
    /// and no-data value with TNumberTools::FormatDouble.
    void AppendTo(std::string& StrText) const;

    /// The X cell edges of the grid as the reader places them, west to east (ncols + 1).
    TGridEdges XEdges() const;
    /// The Y cell edges, north edge first (nrows + 1), the last being the south edge.
    TGridEdges YEdges() const;
};

#endif
