#include "ops/TMapTools.h"

#include "util/TException.h"

#include <memory>

namespace {
// Every map after the first must have the first map's column count, then its row count; the
// first map that differs decides the message.
void RequireEqualDimensions(const std::vector<TMap*>& VecMaps, const char* PtrXMessage,
                            const char* PtrYMessage) {
    const TMap* PtrFirst = VecMaps.front();
    for (size_t SizI = 1; SizI < VecMaps.size(); ++SizI) {
        if (VecMaps[SizI]->GetXDim() != PtrFirst->GetXDim())
            throw TException(PtrXMessage);
        if (VecMaps[SizI]->GetYDim() != PtrFirst->GetYDim())
            throw TException(PtrYMessage);
    }
}

} // namespace

TMap* TMapTools::Sum(std::vector<TMap*> VecMaps) {
    // Two maps are enough, whatever the words of the message say.
    if (VecMaps.size() < 2)
        throw TException("Must have more than 2 maps to sum in TMapTools::Sum");
    RequireEqualDimensions(VecMaps, "X-dimension of maps are inconsistent in TMapTools::Sum",
                           "Y-dimension of maps are inconsistent in TMapTools::Sum");
    auto PtrResult = NewMapOnAxes(VecMaps.front(), "Map has no axes in TMapTools::Sum");

    std::vector<double> VecNoData;
    VecNoData.reserve(VecMaps.size());
    for (const TMap* PtrMap : VecMaps)
        VecNoData.push_back(PtrMap->GetNoData());
    std::vector<const double*> VecRows(VecMaps.size());
    const long LngXDim = PtrResult->GetXDim();
    for (long LngY = 0; LngY < PtrResult->GetYDim(); ++LngY) {
        for (size_t SizI = 0; SizI < VecMaps.size(); ++SizI)
            VecRows[SizI] = VecMaps[SizI]->GetRowData(LngY);
        double* PtrOut = PtrResult->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX) {
            // Added in list order; the first map without data here gives its no-data value.
            double DblSum = 0.0;
            for (size_t SizI = 0; SizI < VecMaps.size(); ++SizI) {
                const double DblValue = VecRows[SizI][LngX];
                if (DblValue == VecNoData[SizI]) {
                    DblSum = DblValue;
                    break;
                }
                DblSum = SizI == 0 ? DblValue : DblSum + DblValue;
            }
            PtrOut[LngX] = DblSum;
        }
    }
    return PtrResult.release();
}

TMap* TMapTools::DataCounts(std::vector<TMap*> VecMaps) {
    if (VecMaps.empty())
        throw TException("Map list is empty in TMapTools::DataCounts");
    RequireEqualDimensions(VecMaps, "X-dimension of maps are inconsistent in TMapTools::DataCounts",
                           "Y-dimension of maps are inconsistent in TMapTools::DataCounts");
    auto PtrResult = NewMapOnAxes(VecMaps.front(), "Map has no axes in TMapTools::DataCounts");
    PtrResult->InitValues(0);
    const long LngXDim = PtrResult->GetXDim();
    for (const TMap* PtrMap : VecMaps) {
        const double DblNoData = PtrMap->GetNoData();
        for (long LngY = 0; LngY < PtrResult->GetYDim(); ++LngY) {
            const double* PtrIn = PtrMap->GetRowData(LngY);
            double* PtrOut = PtrResult->GetRowData(LngY);
            for (long LngX = 0; LngX < LngXDim; ++LngX)
                if (PtrIn[LngX] != DblNoData)
                    PtrOut[LngX] += 1;
        }
    }
    return PtrResult.release();
}

TMap* TMapTools::Average(std::vector<TMap*> VecMaps) {
    std::unique_ptr<TMap> PtrSum(Sum(VecMaps));
    std::unique_ptr<TMap> PtrCounts(DataCounts(VecMaps));
    return Divide(PtrSum.get(), PtrCounts.get());
}

std::vector<TMap*> TMapTools::MovingAverage(std::vector<TMap*> VecMaps, int IntWindow) {
    const long LngCount = static_cast<long>(VecMaps.size());
    if (IntWindow > LngCount)
        return {};
    // A window of fewer than two maps (none at all for a negative length) makes the first
    // Average fail with the message of Sum.
    const long LngWindow = IntWindow < 0 ? 0 : IntWindow;
    std::vector<std::unique_ptr<TMap>> VecResults;
    for (long LngStart = 0; LngStart <= LngCount - IntWindow; ++LngStart) {
        const auto ItStart = VecMaps.begin() + LngStart;
        VecResults.emplace_back(Average(std::vector<TMap*>(ItStart, ItStart + LngWindow)));
    }
    std::vector<TMap*> VecOwned;
    VecOwned.reserve(VecResults.size());
    for (auto& PtrResult : VecResults)
        VecOwned.push_back(PtrResult.release());
    return VecOwned;
}
