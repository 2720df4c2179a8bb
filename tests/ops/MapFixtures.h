#ifndef VEILGRID_TESTS_OPS_MAPFIXTURES_H
#define VEILGRID_TESTS_OPS_MAPFIXTURES_H

#include "model/TMap.h"

#include <memory>
#include <vector>

namespace MapFixtures {
using TRows = std::vector<std::vector<double>>;

// A map laid out as a grid reader lays it out: lower-left corner (DblWest, DblSouth), cell size
// DblCell, VecRows north first; X edges west + i * cell at the top, Y edges top - j * cell.
inline std::unique_ptr<TMap> MakeMap(double DblWest, double DblSouth, double DblCell,
                                     const TRows& VecRows, double DblNoData = -9999) {
    const long LngYDim = static_cast<long>(VecRows.size());
    const long LngXDim = LngYDim == 0 ? 0 : static_cast<long>(VecRows[0].size());
    auto PtrMap = std::make_unique<TMap>(DblCell, LngXDim, LngYDim);
    PtrMap->SetNoData(DblNoData);
    for (long LngY = 0; LngY < LngYDim; ++LngY)
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrMap->SetPoint(LngX, LngY,
                             VecRows[static_cast<size_t>(LngY)][static_cast<size_t>(LngX)]);
    const double DblTop = DblSouth + static_cast<double>(LngYDim) * DblCell;
    TAxis AxsX(DblCell);
    for (long LngI = 0; LngI <= LngXDim; ++LngI)
        AxsX.AddPoint(new TPoint(DblWest + static_cast<double>(LngI) * DblCell, DblTop));
    TAxis AxsY(DblCell);
    for (long LngJ = 0; LngJ <= LngYDim; ++LngJ)
        AxsY.AddPoint(new TPoint(DblWest, DblTop - static_cast<double>(LngJ) * DblCell));
    PtrMap->SetXAxisInterval(&AxsX);
    PtrMap->SetYAxisInterval(&AxsY);
    return PtrMap;
}

// Takes over every map of a returned list.
inline std::vector<std::unique_ptr<TMap>> OwnAll(const std::vector<TMap*>& VecMaps) {
    return std::vector<std::unique_ptr<TMap>>(VecMaps.begin(), VecMaps.end());
}

// The cells of a map, row by row from north to south.
inline TRows Cells(const TMap& Map) {
    TRows VecRows;
    for (long LngY = 0; LngY < Map.GetYDim(); ++LngY)
        VecRows.push_back(Map.GetRow(LngY));
    return VecRows;
}

// The X ordinates of the map's column centres and the Y ordinates of its row centres.
inline std::vector<double> XCentres(const TMap& Map) {
    std::vector<double> VecOrdinates;
    for (long LngI = 0; LngI < Map.GetXAxis()->GetSize(); ++LngI)
        VecOrdinates.push_back(Map.GetXAxis()->GetPoint(LngI)->GetX());
    return VecOrdinates;
}
inline std::vector<double> YCentres(const TMap& Map) {
    std::vector<double> VecOrdinates;
    for (long LngI = 0; LngI < Map.GetYAxis()->GetSize(); ++LngI)
        VecOrdinates.push_back(Map.GetYAxis()->GetPoint(LngI)->GetY());
    return VecOrdinates;
}
} // namespace MapFixtures

#endif
