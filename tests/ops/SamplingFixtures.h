#ifndef VEILGRID_TESTS_OPS_SAMPLINGFIXTURES_H
#define VEILGRID_TESTS_OPS_SAMPLINGFIXTURES_H

#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"

#include <map>
#include <memory>
#include <vector>

namespace SamplingFixtures {

using TRows = std::vector<std::vector<double>>;

// A map laid out as a grid file describes it: rows north first, X edges from DblWest eastwards at
// the north edge, Y edges from the north edge down to DblSouth at X = DblWest.
inline std::unique_ptr<TMap> MakeMap(const TRows& VecRows, double DblWest = 0, double DblSouth = 0,
                                     double DblCell = 1) {
    const long LngYDim = static_cast<long>(VecRows.size());
    const long LngXDim = LngYDim == 0 ? 0 : static_cast<long>(VecRows[0].size());
    auto PtrMap = std::make_unique<TMap>(DblCell, LngXDim, LngYDim);
    for (long LngY = 0; LngY < LngYDim; ++LngY)
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrMap->SetPoint(LngX, LngY,
                             VecRows[static_cast<size_t>(LngY)][static_cast<size_t>(LngX)]);
    TAxis AxsY(DblCell, LngYDim + 1);
    double DblY = DblSouth;
    for (long LngJ = LngYDim; LngJ >= 0; --LngJ, DblY += DblCell)
        AxsY.SetPoint(LngJ, new TPoint(DblWest, DblY));
    const double DblNorth = AxsY.GetPoint(0)->GetY();
    TAxis AxsX(DblCell);
    double DblX = DblWest;
    for (long LngI = 0; LngI <= LngXDim; ++LngI, DblX += DblCell)
        AxsX.AddPoint(new TPoint(DblX, DblNorth));
    PtrMap->SetXAxisInterval(&AxsX);
    PtrMap->SetYAxisInterval(&AxsY);
    return PtrMap;
}

// Owns a list of maps and lends them out as the raw list the operations take.
struct TStack {
    std::vector<std::unique_ptr<TMap>> VecOwned;

    void Add(std::unique_ptr<TMap> PtrMap) { VecOwned.push_back(std::move(PtrMap)); }
    std::vector<TMap*> Maps() const {
        std::vector<TMap*> VecMaps;
        for (const auto& PtrMap : VecOwned)
            VecMaps.push_back(PtrMap.get());
        return VecMaps;
    }
};

// Takes over a list of maps returned by an operation.
inline std::vector<std::unique_ptr<TMap>> Own(const std::vector<TMap*>& VecMaps) {
    std::vector<std::unique_ptr<TMap>> VecOwned;
    for (TMap* PtrMap : VecMaps)
        VecOwned.emplace_back(PtrMap);
    return VecOwned;
}

// Takes over the points of a first-occurrence table.
inline std::map<double, std::unique_ptr<TMapPoint>>
Own(const std::map<double, TMapPoint*>& MapTable) {
    std::map<double, std::unique_ptr<TMapPoint>> MapOwned;
    for (const auto& [DblKey, PtrPoint] : MapTable)
        MapOwned.emplace(DblKey, PtrPoint);
    return MapOwned;
}

// Takes over the points of a list of first-occurrence tables.
inline std::vector<std::map<double, std::unique_ptr<TMapPoint>>>
Own(const std::vector<std::map<double, TMapPoint*>>& VecTables) {
    std::vector<std::map<double, std::unique_ptr<TMapPoint>>> VecOwned;
    for (const auto& MapTable : VecTables)
        VecOwned.push_back(Own(MapTable));
    return VecOwned;
}

// The cells of a map, rows north first.
inline TRows Cells(const TMap& Map) {
    TRows VecRows;
    for (long LngY = 0; LngY < Map.GetYDim(); ++LngY)
        VecRows.push_back(Map.GetRow(LngY));
    return VecRows;
}

} // namespace SamplingFixtures

#endif
