#include "ops/TMapTools.h"

#include "util/TException.h"
#include "util/TVectorTools.h"

#include <cmath>
#include <memory>

namespace {
// A first-occurrence table that still owns its points.
using TOwnedTable = std::map<double, std::unique_ptr<TMapPoint>>;

TOwnedTable CollectFirstValues(const TMap* PtrMap, const std::vector<double>& VecExclude) {
    TOwnedTable MapOwned;
    // Starting from the no-data value passes over a leading run of no-data cells.
    double DblPrevious = PtrMap->GetNoData();
    for (long LngX = 0; LngX < PtrMap->GetXDim(); ++LngX) {
        for (long LngY = 0; LngY < PtrMap->GetYDim(); ++LngY) {
            const double DblValue = PtrMap->GetPointVal(LngX, LngY);
            const bool BlnRepeats = DblValue == DblPrevious;
            DblPrevious = DblValue;
            if (BlnRepeats)
                continue;
            // A NaN has no place among ordered keys.
            if (std::isnan(DblValue))
                continue;
            if (MapOwned.find(DblValue) != MapOwned.end())
                continue;
            if (TVectorTools::HasValue(VecExclude, DblValue))
                continue;
            std::unique_ptr<TMapPoint> PtrPoint(PtrMap->GetPoint(LngX, LngY));
            MapOwned.emplace(DblValue, std::move(PtrPoint));
        }
    }
    return MapOwned;
}

// The table with borrowed pointers; the owned table keeps the points until Release.
std::map<double, TMapPoint*> Borrow(const TOwnedTable& MapOwned) {
    std::map<double, TMapPoint*> MapTable;
    for (const auto& [DblKey, PtrPoint] : MapOwned)
        MapTable.emplace_hint(MapTable.end(), DblKey, PtrPoint.get());
    return MapTable;
}

// Hands the points over to whoever holds the borrowed table.
void Release(TOwnedTable& MapOwned) {
    for (auto& Entry : MapOwned)
        static_cast<void>(Entry.second.release());
}
} // namespace

std::map<double, double> TMapTools::FetchMapValues(TMap* PtrMap,
                                                   std::map<double, TMapPoint*> MapPoints) {
    std::map<double, double> MapValues;
    for (const auto& [DblKey, PtrPoint] : MapPoints)
        MapValues.emplace_hint(MapValues.end(), DblKey, PtrMap->GetPointVal(PtrPoint));
    return MapValues;
}

std::vector<std::map<double, double>>
TMapTools::FetchMapValues(std::vector<TMap*> VecMaps,
                          std::vector<std::map<double, TMapPoint*>> VecPoints) {
    if (VecPoints.size() < VecMaps.size())
        throw TException("Fewer point sets than maps in TMapTools::FetchMapValues");
    std::vector<std::map<double, double>> VecTables;
    VecTables.reserve(VecMaps.size());
    for (size_t SztI = 0; SztI < VecMaps.size(); ++SztI)
        VecTables.push_back(FetchMapValues(VecMaps[SztI], std::move(VecPoints[SztI])));
    return VecTables;
}

std::map<double, TMapPoint*> TMapTools::GetFirstValues(TMap* PtrMap,
                                                       std::vector<double> VecExclude) {
    TOwnedTable MapOwned = CollectFirstValues(PtrMap, VecExclude);
    std::map<double, TMapPoint*> MapTable = Borrow(MapOwned);
    Release(MapOwned);
    return MapTable;
}

std::vector<std::map<double, TMapPoint*>>
TMapTools::GetFirstValues(std::vector<TMap*> VecMaps, std::vector<double> VecExclude) {
    // Every table keeps its points until all of them are built, so a later failure frees them.
    std::vector<TOwnedTable> VecOwned;
    VecOwned.reserve(VecMaps.size());
    for (TMap* PtrMap : VecMaps)
        VecOwned.push_back(CollectFirstValues(PtrMap, VecExclude));
    std::vector<std::map<double, TMapPoint*>> VecTables;
    VecTables.reserve(VecOwned.size());
    for (const TOwnedTable& MapOwned : VecOwned)
        VecTables.push_back(Borrow(MapOwned));
    for (TOwnedTable& MapOwned : VecOwned)
        Release(MapOwned);
    return VecTables;
}

std::map<double, std::vector<double>> TMapTools::GetValuesOverlay(TMap* PtrValues, TMap* PtrZones,
                                                                  std::vector<double> VecExclude) {
    if (PtrValues->GetXDim() != PtrZones->GetXDim())
        throw TException("Map X-dimensions do not match");
    if (PtrValues->GetYDim() != PtrZones->GetYDim())
        throw TException("Map Y-Dimensions do not match");
    std::map<double, std::vector<double>> MapOverlay;
    // Column by column: the order of each list is the scan order.
    for (long LngX = 0; LngX < PtrZones->GetXDim(); ++LngX) {
        for (long LngY = 0; LngY < PtrZones->GetYDim(); ++LngY) {
            const double DblZone = PtrZones->GetPointVal(LngX, LngY);
            // A NaN has no place among ordered keys.
            if (std::isnan(DblZone) || TVectorTools::HasValue(VecExclude, DblZone))
                continue;
            MapOverlay[DblZone].push_back(PtrValues->GetPointVal(LngX, LngY));
        }
    }
    return MapOverlay;
}
