#include "ops/TMapTools.h"

#include "util/TException.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <vector>

namespace {
void RequireAxes(const TMap* PtrMap, const char* PtrMessage) {
    if (PtrMap->GetXAxis() == nullptr || PtrMap->GetYAxis() == nullptr)
        throw TException(PtrMessage);
}

// A new map on the base's grid: its resolution, dimensions and axes, with the base's no-data
// value as label and in every cell.
std::unique_ptr<TMap> NewMapOnBaseGrid(const TMap* PtrBase) {
    auto PtrResult =
        std::make_unique<TMap>(PtrBase->GetResolution(), PtrBase->GetXDim(), PtrBase->GetYDim());
    PtrResult->SetNoData(PtrBase->GetNoData());
    PtrResult->InitValues(PtrBase->GetNoData());
    PtrResult->SetXAxis(PtrBase->GetXAxis());
    PtrResult->SetYAxis(PtrBase->GetYAxis());
    return PtrResult;
}

// Where one ordinate of a base cell centre falls in the other map: the column or row found on
// its interval axis, or the failure of that search, kept to be raised at the first cell that
// needs it.
struct TLookup {
    long LngIndex = -1;
    std::exception_ptr PtrFailure;
};

TLookup LookUp(const TMap* PtrOther, double DblOrdinate, char ChrAxis) {
    TLookup Lookup;
    try {
        Lookup.LngIndex = PtrOther->GetIndex(DblOrdinate, ChrAxis);
    } catch (...) {
        Lookup.PtrFailure = std::current_exception();
    }
    return Lookup;
}

// Combines every base cell with the other map's cell that holds the base cell's centre, rows in
// the outer loop. The centre's X depends on the column only and its Y on the row only, so each
// column and each row is searched once; a cell then fails exactly as TMap::GetPointVal(TPoint*)
// at its centre would (X search, Y search, column check, row check), and the first failing cell
// in scan order decides the message. Every base cell is looked up, no-data or not.
template <class TOperation>
TMap* CombineByCentres(const TMap* PtrBase, const TMap* PtrOther, TOperation Operation) {
    auto PtrResult = NewMapOnBaseGrid(PtrBase);
    const long LngXDim = PtrBase->GetXDim();
    const long LngYDim = PtrBase->GetYDim();
    std::vector<TLookup> VecColumns;
    VecColumns.reserve(static_cast<size_t>(LngXDim));
    for (long LngX = 0; LngX < LngXDim; ++LngX)
        VecColumns.push_back(LookUp(PtrOther, PtrBase->GetXAxis()->GetPoint(LngX)->GetX(), 'X'));
    std::vector<TLookup> VecRows;
    VecRows.reserve(static_cast<size_t>(LngYDim));
    for (long LngY = 0; LngY < LngYDim; ++LngY)
        VecRows.push_back(LookUp(PtrOther, PtrBase->GetYAxis()->GetPoint(LngY)->GetY(), 'Y'));

    const double DblBaseNoData = PtrBase->GetNoData();
    const double DblOtherNoData = PtrOther->GetNoData();
    for (long LngY = 0; LngY < LngYDim; ++LngY) {
        const TLookup& Row = VecRows[static_cast<size_t>(LngY)];
        const bool BlnRowInside = Row.LngIndex >= 0 && Row.LngIndex < PtrOther->GetYDim();
        const double* PtrIn = PtrBase->GetRowData(LngY);
        double* PtrOut = PtrResult->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX) {
            const TLookup& Column = VecColumns[static_cast<size_t>(LngX)];
            if (Column.PtrFailure)
                std::rethrow_exception(Column.PtrFailure);
            if (Row.PtrFailure)
                std::rethrow_exception(Row.PtrFailure);
            if (Column.LngIndex < 0 || Column.LngIndex >= PtrOther->GetXDim())
                throw TException("LngX is out of range in TMap::GetPointVal");
            if (!BlnRowInside)
                throw TException("LngY is out of range in TMap::GetPointVal");
            const double DblValue = PtrIn[LngX];
            const double DblOther = PtrOther->GetRowData(Row.LngIndex)[Column.LngIndex];
            if (DblValue == DblBaseNoData || DblOther == DblOtherNoData)
                PtrOut[LngX] = DblBaseNoData;
            else
                PtrOut[LngX] = Operation(DblValue, DblOther);
        }
    }
    return PtrResult.release();
}

// The finer of the two maps, A when the resolutions are equal.
bool SecondIsFiner(const TMap* PtrA, const TMap* PtrB) {
    return PtrB->GetResolution() < PtrA->GetResolution();
}

double RoundValue(double DblValue) {
    if (std::isnan(DblValue))
        return DblValue;
    // Within the range of a 32-bit integer the whole part is taken as one, so -0.5 gives +0;
    // beyond it the truncated double stands in, as no integer conversion is defined there.
    const double DblWhole = std::fabs(DblValue) < 2147483648.0
                                ? static_cast<double>(static_cast<std::int32_t>(DblValue))
                                : std::trunc(DblValue);
    return DblValue - DblWhole >= 0.5 ? DblWhole + 1 : DblWhole;
}
// CombineByCentres on the finer of the two grids (A's when they are equal), the cells of the
// finer map coming first in the rule.
template <class TRule>
TMap* CombineOnFinerGrid(TMap* PtrA, TMap* PtrB, const char* PtrNoAxes, TRule Rule) {
    const bool BlnSwap = SecondIsFiner(PtrA, PtrB);
    TMap* PtrBase = BlnSwap ? PtrB : PtrA;
    TMap* PtrOther = BlnSwap ? PtrA : PtrB;
    RequireAxes(PtrBase, PtrNoAxes);
    return CombineByCentres(PtrBase, PtrOther, Rule);
}
} // namespace

TMap* TMapTools::Add(TMap* PtrA, TMap* PtrB) {
    return CombineOnFinerGrid(PtrA, PtrB, "Map has no axes in TMapTools::Add",
                              [](double DblV, double DblU) { return DblV + DblU; });
}

TMap* TMapTools::Multiply(TMap* PtrA, TMap* PtrB) {
    return CombineOnFinerGrid(PtrA, PtrB, "Map has no axes in TMapTools::Multiply",
                              [](double DblV, double DblU) { return DblV * DblU; });
}

TMap* TMapTools::Divide(TMap* PtrA, TMap* PtrB) {
    if (PtrA->GetResolution() > PtrB->GetResolution())
        throw TException("Divisor must be of equal of coarser resolution than the dividend in "
                         "TMapTools::Divide");
    RequireAxes(PtrA, "Map has no axes in TMapTools::Divide");
    return CombineByCentres(PtrA, PtrB, [](double DblV, double DblU) { return DblV / DblU; });
}

TMap* TMapTools::Subtract(TMap* PtrA, TMap* PtrB) {
    if (PtrA->GetXDim() != PtrB->GetXDim())
        throw TException("X dimensions do not match in TMapTools::Subtract");
    if (PtrA->GetYDim() != PtrB->GetYDim())
        throw TException("Y dimensions do not match in TMapTools::Subtract");
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::Subtract");
    const double DblNoDataA = PtrA->GetNoData();
    const double DblNoDataB = PtrB->GetNoData();
    PtrResult->SetNoData(DblNoDataA);
    const long LngXDim = PtrA->GetXDim();
    for (long LngY = 0; LngY < PtrA->GetYDim(); ++LngY) {
        const double* PtrInA = PtrA->GetRowData(LngY);
        const double* PtrInB = PtrB->GetRowData(LngY);
        double* PtrOut = PtrResult->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrOut[LngX] = PtrInA[LngX] == DblNoDataA || PtrInB[LngX] == DblNoDataB
                               ? DblNoDataA
                               : PtrInA[LngX] - PtrInB[LngX];
    }
    return PtrResult.release();
}

TMap* TMapTools::Multiply(TMap* PtrA, double DblFactor) {
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::Multiply");
    // The test is against the result's own no-data value, -9999, not against A's.
    const double DblNoData = PtrResult->GetNoData();
    MapCells(PtrA, PtrResult.get(), [DblNoData, DblFactor](double DblValue) {
        return DblValue == DblNoData ? DblNoData : DblValue * DblFactor;
    });
    return PtrResult.release();
}

TMap* TMapTools::Divide(TMap* PtrA, double DblDivisor) {
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::Divide");
    // A's own no-data value is tested and kept, while the result stays labelled -9999.
    const double DblNoData = PtrA->GetNoData();
    MapCells(PtrA, PtrResult.get(), [DblNoData, DblDivisor](double DblValue) {
        return DblValue == DblNoData ? DblNoData : DblValue / DblDivisor;
    });
    return PtrResult.release();
}

TMap* TMapTools::RoundContents(TMap* PtrA) {
    auto PtrResult = NewMapOnAxes(PtrA, "Map has no axes in TMapTools::RoundContents");
    MapCells(PtrA, PtrResult.get(), RoundValue);
    return PtrResult.release();
}
