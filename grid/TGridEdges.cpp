#include "grid/TGridEdges.h"

TGridEdges::TGridEdges(double DblStart, double DblStep, long LngCount, bool BlnAscending)
    : MbrDblStep(DblStep), MbrLngCount(LngCount), MbrBlnAscending(BlnAscending),
      MbrVecMarks(1, DblStart), MbrVecBlock(BlockSize), MbrLngBlock(-1) {}

void TGridEdges::FillBlock(long LngBlock) {
    while (static_cast<long>(MbrVecMarks.size()) <= LngBlock) {
        double DblValue = MbrVecMarks.back();
        for (long LngI = 0; LngI < BlockSize; ++LngI)
            DblValue += MbrDblStep;
        MbrVecMarks.push_back(DblValue);
    }
    double DblValue = MbrVecMarks[static_cast<unsigned long>(LngBlock)];
    for (double& DblEdge : MbrVecBlock) {
        DblEdge = DblValue;
        DblValue += MbrDblStep;
    }
    MbrLngBlock = LngBlock;
}
