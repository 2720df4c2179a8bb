#include "ops/TMapTools.h"

#include "util/TException.h"

#include <cmath>
#include <memory>
#include <utility>

namespace {} // namespace

TMap* TMapTools::Threshold(TMap* PtrA, double DblThreshold) {
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::Threshold");
    // A NaN is not at or above any threshold and gives 0.
    MapCells(PtrA, PtrResult.get(),
             [DblThreshold](double DblValue) { return DblValue >= DblThreshold ? DblValue : 0.0; });
    return PtrResult.release();
}

std::vector<TMap*> TMapTools::Threshold(std::vector<TMap*> VecMaps, double DblThreshold) {
    std::vector<std::unique_ptr<TMap>> VecResults;
    VecResults.reserve(VecMaps.size());
    for (TMap* PtrMap : VecMaps)
        VecResults.emplace_back(Threshold(PtrMap, DblThreshold));
    std::vector<TMap*> VecOwned;
    VecOwned.reserve(VecResults.size());
    for (auto& PtrResult : VecResults)
        VecOwned.push_back(PtrResult.release());
    return VecOwned;
}

TMap* TMapTools::ThresholdReplace(TMap* PtrA, double DblThreshold, double DblReplacement) {
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::ThresholdReplace");
    MapCells(PtrA, PtrResult.get(), [DblThreshold, DblReplacement](double DblValue) {
        return DblValue < DblThreshold || std::isnan(DblValue) ? DblValue : DblReplacement;
    });
    return PtrResult.release();
}

TMap* TMapTools::ReplaceValue(TMap* PtrA, std::map<double, double> MapTable, double DblDefault) {
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::ReplaceValue");
    MapCells(PtrA, PtrResult.get(), [&MapTable, DblDefault](double DblValue) {
        // A NaN compares false with every key, so the table's own search would take it for the
        // first key; it gets the default instead.
        if (std::isnan(DblValue))
            return DblDefault;
        // A NaN key in the caller's table compares false with every value too, and the search
        // would return it: only a key equal to the value is a match.
        const auto ItEntry = MapTable.find(DblValue);
        return ItEntry == MapTable.end() || !(ItEntry->first == DblValue) ? DblDefault
                                                                          : ItEntry->second;
    });
    return PtrResult.release();
}

std::map<double, long> TMapTools::CountValues(TMap* PtrA) {
    std::map<double, long> MapCensus;
    // 0 and -0 share one key, which takes the sign of the zero met first column by column; the
    // cells are read row by row, so that zero is tracked here: the one of the least column, then
    // the least row.
    long LngZeroX = -1;
    long LngZeroY = -1;
    double DblFirstZero = 0.0;
    const long LngXDim = PtrA->GetXDim();
    for (long LngY = 0; LngY < PtrA->GetYDim(); ++LngY) {
        const double* PtrIn = PtrA->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX) {
            const double DblValue = PtrIn[LngX];
            // A NaN key would break the ordering of the table: NaN cells are not counted.
            if (std::isnan(DblValue))
                continue;
            ++MapCensus[DblValue];
            if (DblValue == 0.0 && (LngZeroX < 0 || LngX < LngZeroX)) {
                LngZeroX = LngX;
                LngZeroY = LngY;
                DblFirstZero = DblValue;
            }
        }
    }
    if (LngZeroY >= 0) {
        auto NodZero = MapCensus.extract(0.0);
        NodZero.key() = DblFirstZero;
        MapCensus.insert(std::move(NodZero));
    }
    return MapCensus;
}

long TMapTools::CountValues(TMap* PtrA, double DblValue) {
    long LngCount = 0;
    const long LngXDim = PtrA->GetXDim();
    for (long LngY = 0; LngY < PtrA->GetYDim(); ++LngY) {
        const double* PtrIn = PtrA->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            if (PtrIn[LngX] == DblValue)
                ++LngCount;
    }
    return LngCount;
}
