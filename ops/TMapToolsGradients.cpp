#include "ops/TMapTools.h"

#include "util/TException.h"
#include "util/TVectorTools.h"

#include <algorithm>
#include <memory>

std::vector<TMap*> TMapTools::ValueGradients(std::vector<TMap*> VecMaps, int IntWindow) {
    // A window of no steps holds a single map and has no slope.
    if (IntWindow <= 0)
        throw TException("Window size must be > 0 in TMapTools::ValueGradients");
    const long LngMaps = static_cast<long>(VecMaps.size());
    if (LngMaps < IntWindow)
        throw TException("Window size must be < number of maps in TMapTools::ValueGradients");
    TMap* PtrFirst = VecMaps[0];
    const long LngXDim = PtrFirst->GetXDim();
    const long LngYDim = PtrFirst->GetYDim();
    for (long LngM = 1; LngM < LngMaps; ++LngM) {
        const TMap* PtrMap = VecMaps[static_cast<size_t>(LngM)];
        if (PtrMap->GetXDim() != LngXDim || PtrMap->GetYDim() != LngYDim)
            throw TException("Map dimensions do not match in TMapTools::ValueGradients");
    }
    const long LngWindows = LngMaps - IntWindow;
    if (LngWindows > 0 && (PtrFirst->GetXAxis() == nullptr || PtrFirst->GetYAxis() == nullptr))
        throw TException("Map has no axes in TMapTools::ValueGradients");

    const size_t SztCount = static_cast<size_t>(IntWindow) + 1;
    std::vector<std::unique_ptr<TMap>> VecSlopes;
    std::vector<double> VecValues(SztCount);
    std::vector<double> VecFitX, VecFitY;
    VecFitX.reserve(SztCount);
    VecFitY.reserve(SztCount);
    std::vector<const double*> VecRows(SztCount);
    for (long LngStart = 0; LngStart < LngWindows; ++LngStart) {
        const std::vector<double> VecPositions = TVectorTools::VectorSeries(
            static_cast<double>(LngStart), static_cast<double>(LngStart + IntWindow), 1);
        auto PtrSlopes = NewMapOnAxes(PtrFirst, "Map has no axes in TMapTools::ValueGradients");
        TMap** PtrWindow = VecMaps.data() + LngStart;
        // Every cell is computed on its own and nothing below fails, so the cells are visited
        // row by row.
        for (long LngY = 0; LngY < LngYDim; ++LngY) {
            for (size_t SztL = 0; SztL < SztCount; ++SztL)
                VecRows[SztL] = PtrWindow[SztL]->GetRowData(LngY);
            double* PtrOut = PtrSlopes->GetRowData(LngY);
            for (long LngX = 0; LngX < LngXDim; ++LngX) {
                // A NaN is not 0 and is computed.
                if (VecRows[0][LngX] == 0)
                    continue;
                for (size_t SztL = 0; SztL < SztCount; ++SztL)
                    VecValues[SztL] = VecRows[SztL][LngX];
                // The window's last value stays as read, also when it is 0.
                for (size_t SztL = 0; SztL + 1 < SztCount; ++SztL)
                    if (VecValues[SztL] == 0)
                        VecValues[SztL] = FindNonzeroNeighbourVal(PtrWindow[SztL], LngX, LngY);
                VecFitX.clear();
                VecFitY.clear();
                for (size_t SztL = 0; SztL < SztCount; ++SztL) {
                    // Each value is tested against the no-data value of its own map.
                    if (VecValues[SztL] != PtrWindow[SztL]->GetNoData()) {
                        VecFitX.push_back(VecPositions[SztL]);
                        VecFitY.push_back(VecValues[SztL]);
                    }
                }
                PtrOut[LngX] = TVectorTools::Gradient(VecFitX, VecFitY);
            }
        }
        VecSlopes.push_back(std::move(PtrSlopes));
    }

    std::vector<TMap*> VecResult;
    VecResult.reserve(VecSlopes.size());
    for (auto& PtrSlopes : VecSlopes)
        VecResult.push_back(PtrSlopes.release());
    return VecResult;
}

std::vector<double> TMapTools::GetValuesVector(std::vector<TMap*> VecMaps, long LngX, long LngY,
                                               int IntStart, int IntEnd) {
    const long LngMaps = static_cast<long>(VecMaps.size());
    if (IntStart < 0 || IntStart >= LngMaps)
        throw TException("Start map number is out of range in TMapTools::GetValuesVector");
    if (IntEnd < 0 || IntEnd >= LngMaps)
        throw TException("End map number is out of range in TMapTools::GetValuesVector");
    if (IntStart >= IntEnd)
        throw TException("Stat map number must be less than end map number");
    std::vector<double> VecValues;
    VecValues.reserve(static_cast<size_t>(IntEnd - IntStart) + 1);
    for (int IntM = IntStart; IntM <= IntEnd; ++IntM)
        VecValues.push_back(VecMaps[static_cast<size_t>(IntM)]->GetPointVal(LngX, LngY));
    return VecValues;
}

double TMapTools::FindNonzeroNeighbourVal(TMap* PtrMap, long LngX, long LngY) {
    if (LngX < 0 || LngX >= PtrMap->GetXDim())
        throw TException("X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
    if (LngY < 0 || LngY >= PtrMap->GetYDim())
        throw TException("Y-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
    const long LngXLow = std::max(LngX - 1, 0L);
    const long LngXHigh = std::min(LngX + 1, PtrMap->GetXDim() - 1);
    const long LngYLow = std::max(LngY - 1, 0L);
    const long LngYHigh = std::min(LngY + 1, PtrMap->GetYDim() - 1);
    double DblResult = 0;
    // Columns west to east, each north to south: a later column's value replaces an earlier one.
    for (long LngI = LngXLow; LngI <= LngXHigh; ++LngI) {
        for (long LngJ = LngYLow; LngJ <= LngYHigh; ++LngJ) {
            const double DblValue = PtrMap->GetPointVal(LngI, LngJ);
            if (DblValue != 0) {
                DblResult = DblValue;
                break;
            }
        }
    }
    return DblResult;
}
