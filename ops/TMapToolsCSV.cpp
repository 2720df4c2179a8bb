#include "ops/TMapTools.h"

#include "util/TNumberTools.h"

#include <memory>

void TMapTools::WriteCSVFile(TMap* PtrMap, std::ostream& Out) {
    const double DblCellSize = PtrMap->GetResolution();
    // Two coordinates, a value, two commas and the end of line.
    char BufLine[3 * TNumberTools::MaxFormattedLength + 3];
    // Column by column: the order of the lines is part of the format.
    for (long LngX = 0; LngX < PtrMap->GetXDim(); ++LngX) {
        for (long LngY = 0; LngY < PtrMap->GetYDim(); ++LngY) {
            std::unique_ptr<TMapPoint> PtrPoint(PtrMap->GetPoint(LngX, LngY));
            char* PtrEnd = TNumberTools::FormatCorner(PtrPoint->GetX(), DblCellSize, BufLine);
            *PtrEnd++ = ',';
            PtrEnd = TNumberTools::FormatCorner(PtrPoint->GetY(), DblCellSize, PtrEnd);
            *PtrEnd++ = ',';
            PtrEnd = TNumberTools::FormatDouble(PtrPoint->GetValue(), PtrEnd);
            *PtrEnd++ = '\n';
            Out.write(BufLine, PtrEnd - BufLine);
            Out.flush();
        }
    }
}
