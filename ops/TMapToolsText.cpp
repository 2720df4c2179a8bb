#include "ops/TMapTools.h"

#include "util/TNumberTools.h"

#include <cstddef>

void TMapTools::WriteFlatFile(TMap* PtrMap, std::ostream& Out, char ChrSeparator) {
    const long LngXDim = PtrMap->GetXDim();
    const long LngYDim = PtrMap->GetYDim();
    if (LngYDim < 1)
        return;
    // Values are formatted into one block and written a block at a time; a block always has
    // room for one more value, its separator and a line end.
    constexpr std::size_t BlockSize = std::size_t(1) << 16;
    char ArrBlock[BlockSize];
    char* const PtrLimit = ArrBlock + BlockSize - (TNumberTools::MaxFormattedLength + 2);
    char* PtrPos = ArrBlock;
    for (long LngY = 0; LngY < LngYDim; ++LngY) {
        const double* PtrRow = PtrMap->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX) {
            PtrPos = TNumberTools::FormatDouble(PtrRow[LngX], PtrPos);
            *PtrPos++ = ChrSeparator;
            if (PtrPos > PtrLimit) {
                // A stream that failed takes nothing more; its state tells the caller.
                if (!Out.write(ArrBlock, PtrPos - ArrBlock))
                    return;
                PtrPos = ArrBlock;
            }
        }
        *PtrPos++ = '\n';
        if (PtrPos > PtrLimit) {
            if (!Out.write(ArrBlock, PtrPos - ArrBlock))
                return;
            PtrPos = ArrBlock;
        }
    }
    Out.write(ArrBlock, PtrPos - ArrBlock);
}
