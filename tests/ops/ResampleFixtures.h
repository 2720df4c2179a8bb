#ifndef VEILGRID_TESTS_OPS_RESAMPLEFIXTURES_H
#define VEILGRID_TESTS_OPS_RESAMPLEFIXTURES_H

#include "model/TMap.h"

#include <memory>
#include <vector>

namespace fixtures {

using TRows = std::vector<std::vector<double>>;

// The edges of a map as a grid file lays them out: X from the west edge eastward and Y from the
// north edge southward (or, with BlnAscending, from the south edge northward), both by successive
// addition of the cell size.
inline void SetEdges(TMap& Map, double DblWest, double DblSouth, double DblCell,
                     bool BlnAscending = false) {
    const long LngXDim = Map.GetXDim();
    const long LngYDim = Map.GetYDim();
    TAxis AxsY(DblCell, LngYDim + 1);
    double DblY = DblSouth;
    for (long LngJ = 0; LngJ <= LngYDim; ++LngJ, DblY += DblCell)
        AxsY.SetPoint(BlnAscending ? LngJ : LngYDim - LngJ, new TPoint(DblWest, DblY));
    const double DblFirstY = AxsY.GetPoint(0)->GetY();
    TAxis AxsX(DblCell);
    double DblX = DblWest;
    for (long LngI = 0; LngI <= LngXDim; ++LngI, DblX += DblCell)
        AxsX.AddPoint(new TPoint(DblX, DblFirstY));
    Map.SetXAxisInterval(&AxsX);
    Map.SetYAxisInterval(&AxsY);
}

// A map of the given rows (north first) with its lower-left corner and cell size.
inline std::unique_ptr<TMap> MakeMap(double DblWest, double DblSouth, double DblCell,
                                     const TRows& VecRows, bool BlnAscending = false) {
    const long LngYDim = static_cast<long>(VecRows.size());
    const long LngXDim = LngYDim == 0 ? 0 : static_cast<long>(VecRows[0].size());
    auto PtrMap = std::make_unique<TMap>(DblCell, LngXDim, LngYDim);
    for (long LngY = 0; LngY < LngYDim; ++LngY)
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrMap->SetPoint(LngX, LngY,
                             VecRows[static_cast<size_t>(LngY)][static_cast<size_t>(LngX)]);
    SetEdges(*PtrMap, DblWest, DblSouth, DblCell, BlnAscending);
    return PtrMap;
}

// A map of LngXDim x LngYDim cells, each holding DblValue.
inline std::unique_ptr<TMap> MakeFilled(double DblWest, double DblSouth, double DblCell,
                                        long LngXDim, long LngYDim, double DblValue) {
    return MakeMap(DblWest, DblSouth, DblCell,
                   TRows(static_cast<size_t>(LngYDim),
                         std::vector<double>(static_cast<size_t>(LngXDim), DblValue)));
}

inline TRows Cells(const TMap& Map) {
    TRows VecRows;
    for (long LngY = 0; LngY < Map.GetYDim(); ++LngY)
        VecRows.push_back(Map.GetRow(LngY));
    return VecRows;
}

// The X ('X') or Y (any other letter) ordinates of an axis's points, in order.
inline std::vector<double> Ordinates(const TAxis* PtrAxis, char ChrAxis) {
    std::vector<double> VecOrdinates;
    for (long LngI = 0; LngI < PtrAxis->GetSize(); ++LngI)
        VecOrdinates.push_back(ChrAxis == 'X' ? PtrAxis->GetPoint(LngI)->GetX()
                                              : PtrAxis->GetPoint(LngI)->GetY());
    return VecOrdinates;
}

} // namespace fixtures

#endif
