#ifndef VEILGRID_GRID_TGRIDEDGES_H
#define VEILGRID_GRID_TGRIDEDGES_H

#include <vector>

/// The cell edges of a grid along one axis, placed as the grid reader places them: by successive
/// addition of the cell size to the corner. Edges are computed when asked for, so that a grid of
/// any size costs a few thousand numbers; asking in order, forward or backward, costs one
/// addition an edge.
class TGridEdges {
  public:
    /// LngCount edges. Ascending (an X axis): edge 0 at DblStart, each next one DblStep further.
    /// Otherwise (a Y axis, north first): the last edge at DblStart, each one before it DblStep
    /// further.
    TGridEdges(double DblStart, double DblStep, long LngCount, bool BlnAscending);

    long GetSize() const { return MbrLngCount; }
    /// Edge LngIndex, 0 <= LngIndex < GetSize().
    double At(long LngIndex) {
        const long LngStep = MbrBlnAscending ? LngIndex : MbrLngCount - 1 - LngIndex;
        if (LngStep / BlockSize != MbrLngBlock)
            FillBlock(LngStep / BlockSize);
        return MbrVecBlock[static_cast<unsigned long>(LngStep % BlockSize)];
    }

  private:
    static constexpr long BlockSize = 1024;
    // Makes MbrVecBlock the values after LngBlock * BlockSize ... additions.
    void FillBlock(long LngBlock);

    double MbrDblStep;
    long MbrLngCount;
    bool MbrBlnAscending;
    // The value after every BlockSize-th addition so far, and the block of values in hand.
    std::vector<double> MbrVecMarks;
    std::vector<double> MbrVecBlock;
    long MbrLngBlock;
};

#endif
