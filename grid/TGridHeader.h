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
