#ifndef VEILGRID_TESTS_MAPFIXTURES_H
#define VEILGRID_TESTS_MAPFIXTURES_H

// Maps for tests, laid out as the grid reader lays them out, and small helpers to read them and
// to take over what the operations return.

#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"

#include <map>
#include <memory>
#include <vector>

namespace MapFixtures {

using TRows = std::vector<std::vector<double>>;

// What a test map may need beyond its corner, cell size and cells.
struct TLayout {
    // The map's no-data value.
    double DblNoData = -9999;
    // Y edges stored south first (index 0 the south edge), as a map of one row built from a
    // cell-centre axis has them; the grid reader stores them north first. The X edges lie at the
    // Y of the first Y edge either way.
    bool BlnSouthFirst = false;
};

// Gives Map the edges of a grid with lower-left corner (DblWest, DblSouth) and cell size DblCell,
// exactly as the grid reader builds them: Y edges from the south edge northward by successive
// addition of the cell size, at X = DblWest, stored north first unless BlnSouthFirst; X edges
// from the west edge eastward by successive addition, at the Y of the first Y edge. The map keeps
// copies; its cells and its own resolution are left alone.
inline void SetEdges(TMap& Map, double DblWest, double DblSouth, double DblCell,
                     bool BlnSouthFirst = false) {
    const long LngXDim = Map.GetXDim();
    const long LngYDim = Map.GetYDim();
    TAxis AxsY(DblCell, LngYDim + 1);
    double DblY = DblSouth;
    for (long LngJ = 0; LngJ <= LngYDim; ++LngJ, DblY += DblCell)
        AxsY.SetPoint(BlnSouthFirst ? LngJ : LngYDim - LngJ, new TPoint(DblWest, DblY));
    const double DblFirstY = AxsY.GetPoint(0)->GetY();
    TAxis AxsX(DblCell, LngXDim + 1);
    double DblX = DblWest;
    for (long LngI = 0; LngI <= LngXDim; ++LngI, DblX += DblCell)
        AxsX.SetPoint(LngI, new TPoint(DblX, DblFirstY));
    Map.SetXAxisInterval(&AxsX);
    Map.SetYAxisInterval(&AxsY);
}

// A new map of the given cells (rows north first, all of one length) with lower-left corner
// (DblWest, DblSouth) and cell size DblCell, edges as SetEdges builds them. The caller owns it.
inline std::unique_ptr<TMap> MakeMap(double DblWest, double DblSouth, double DblCell,
                                     const TRows& VecRows, const TLayout& Layout = {}) {
    const long LngYDim = static_cast<long>(VecRows.size());
    const long LngXDim = LngYDim == 0 ? 0 : static_cast<long>(VecRows[0].size());
    auto PtrMap = std::make_unique<TMap>(DblCell, LngXDim, LngYDim);
    PtrMap->SetNoData(Layout.DblNoData);
    for (long LngY = 0; LngY < LngYDim; ++LngY)
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrMap->SetPoint(LngX, LngY,
                             VecRows[static_cast<size_t>(LngY)][static_cast<size_t>(LngX)]);
    SetEdges(*PtrMap, DblWest, DblSouth, DblCell, Layout.BlnSouthFirst);
    return PtrMap;
}

// A new map of LngXDim x LngYDim cells, each holding DblValue, laid out as MakeMap lays it out.
inline std::unique_ptr<TMap> MakeFilled(double DblWest, double DblSouth, double DblCell,
                                        long LngXDim, long LngYDim, double DblValue,
                                        const TLayout& Layout = {}) {
    return MakeMap(DblWest, DblSouth, DblCell,
                   TRows(static_cast<size_t>(LngYDim),
                         std::vector<double>(static_cast<size_t>(LngXDim), DblValue)),
                   Layout);
}

// The cells of a map, rows north first.
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

// The X ordinates of a map's column centres and the Y ordinates of its row centres, in order.
inline std::vector<double> XCentres(const TMap& Map) { return Ordinates(Map.GetXAxis(), 'X'); }
inline std::vector<double> YCentres(const TMap& Map) { return Ordinates(Map.GetYAxis(), 'Y'); }

// The X ordinates of a map's column edges and the Y ordinates of its row edges, in order.
inline std::vector<double> XEdges(const TMap& Map) {
    return Ordinates(Map.GetXAxisInterval(), 'X');
}
inline std::vector<double> YEdges(const TMap& Map) {
    return Ordinates(Map.GetYAxisInterval(), 'Y');
}

// Takes over every map of a list returned by an operation.
inline std::vector<std::unique_ptr<TMap>> Own(const std::vector<TMap*>& VecMaps) {
    std::vector<std::unique_ptr<TMap>> VecOwned;
    for (TMap* PtrMap : VecMaps)
        VecOwned.emplace_back(PtrMap);
    return VecOwned;
}

// Takes over the points of a returned table of points by key.
inline std::map<double, std::unique_ptr<TMapPoint>>
Own(const std::map<double, TMapPoint*>& MapTable) {
    std::map<double, std::unique_ptr<TMapPoint>> MapOwned;
    for (const auto& [DblKey, PtrPoint] : MapTable)
        MapOwned.emplace(DblKey, PtrPoint);
    return MapOwned;
}

// Takes over the points of a returned list of such tables.
inline std::vector<std::map<double, std::unique_ptr<TMapPoint>>>
Own(const std::vector<std::map<double, TMapPoint*>>& VecTables) {
    std::vector<std::map<double, std::unique_ptr<TMapPoint>>> VecOwned;
    for (const auto& MapTable : VecTables)
        VecOwned.push_back(Own(MapTable));
    return VecOwned;
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

} // namespace MapFixtures

#endif
