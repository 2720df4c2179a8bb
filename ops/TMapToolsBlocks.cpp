#include "ops/TMapTools.h"

#include "util/TException.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {
// The extent of a map by its interval axes; north and south are the larger and smaller Y edge.
struct TExtent {
    double DblWest;
    double DblEast;
    double DblNorth;
    double DblSouth;
};

TExtent ExtentOf(const TMap* PtrMap) {
    const TAxis* PtrX = PtrMap->GetXAxisInterval();
    const TAxis* PtrY = PtrMap->GetYAxisInterval();
    if (PtrX == nullptr || PtrY == nullptr || PtrMap->GetXAxis() == nullptr ||
        PtrMap->GetYAxis() == nullptr)
        throw TException("Map has no axes in TMapTools::Insert");
    const double DblFirstY = PtrY->GetPoint(0)->GetY();
    const double DblLastY = PtrY->GetPoint(PtrMap->GetYDim())->GetY();
    return {PtrX->GetPoint(0)->GetX(), PtrX->GetPoint(PtrMap->GetXDim())->GetX(),
            std::max(DblFirstY, DblLastY), std::min(DblFirstY, DblLastY)};
}

// LngA + LngB, held at the limits of long instead of overflowing.
long SaturatedSum(long LngA, long LngB) {
    long LngSum = 0;
    if (__builtin_add_overflow(LngA, LngB, &LngSum))
        return LngB > 0 ? std::numeric_limits<long>::max() : std::numeric_limits<long>::min();
    return LngSum;
}

// LngA - LngB, held at the limits of long instead of overflowing.
long SaturatedDifference(long LngA, long LngB) {
    long LngDifference = 0;
    if (__builtin_sub_overflow(LngA, LngB, &LngDifference))
        return LngB < 0 ? std::numeric_limits<long>::max() : std::numeric_limits<long>::min();
    return LngDifference;
}

// The lower side of a block widened by LngBuffer: lowered by the buffer while that stays above 0.
long WidenLow(long LngLow, long LngBuffer) {
    return LngLow > LngBuffer ? SaturatedDifference(LngLow, LngBuffer) : 0;
}

// The upper side of a block widened by LngBuffer: raised by the buffer while that stays below
// the last index LngDim - 1. The bound LngDim - 1 - LngBuffer only overflows upwards (a negative
// buffer), and then every index lies below it.
long WidenHigh(long LngHigh, long LngBuffer, long LngDim) {
    long LngBound = 0;
    const bool BlnBelow =
        __builtin_sub_overflow(LngDim - 1, LngBuffer, &LngBound) || LngHigh < LngBound;
    return BlnBelow ? SaturatedSum(LngHigh, LngBuffer) : LngDim - 1;
}
} // namespace

void TMapTools::Insert(TMap* PtrDest, TMap* PtrInsert) {
    const TExtent ExtDest = ExtentOf(PtrDest);
    const TExtent ExtInsert = ExtentOf(PtrInsert);
    if (ExtInsert.DblWest < ExtDest.DblWest || ExtInsert.DblNorth > ExtDest.DblNorth)
        throw TException(
            "Insert map's NW corner is outside of the destination map in TMapTools::Insert");
    if (ExtInsert.DblEast > ExtDest.DblEast || ExtInsert.DblSouth < ExtDest.DblSouth)
        throw TException(
            "Insert map's SE corner is outside of the destination map in TMapTools::Insert");

    const long LngXDim = PtrInsert->GetXDim();
    const long LngYDim = PtrInsert->GetYDim();
    if (LngXDim == 0 || LngYDim == 0)
        return;
    // A centre's column depends on its X alone and its row on its Y alone, so each is looked up
    // once; and every look-up is done before the first write, so a centre outside the
    // destination (possible only with irregular axes) leaves it unchanged.
    std::vector<long> VecColumns(static_cast<size_t>(LngXDim));
    const TAxis* PtrCentresX = PtrInsert->GetXAxis();
    for (long LngJ = 0; LngJ < LngXDim; ++LngJ)
        VecColumns[static_cast<size_t>(LngJ)] =
            PtrDest->GetIndex(PtrCentresX->GetPoint(LngJ)->GetX(), 'X');
    std::vector<long> VecRows(static_cast<size_t>(LngYDim));
    const TAxis* PtrCentresY = PtrInsert->GetYAxis();
    for (long LngI = 0; LngI < LngYDim; ++LngI)
        VecRows[static_cast<size_t>(LngI)] =
            PtrDest->GetIndex(PtrCentresY->GetPoint(LngI)->GetY(), 'Y');

    // Row by row, each west to east: where several cells land in one, the last one stays.
    for (long LngI = 0; LngI < LngYDim; ++LngI) {
        const long LngRow = VecRows[static_cast<size_t>(LngI)];
        for (long LngJ = 0; LngJ < LngXDim; ++LngJ)
            PtrDest->SetPoint(VecColumns[static_cast<size_t>(LngJ)], LngRow,
                              PtrInsert->GetPointVal(LngJ, LngI));
    }
}

void TMapTools::FillBlock(TMap* PtrMap, double DblValue, long LngNorth, long LngSouth, long LngWest,
                          long LngEast) {
    if (LngNorth > LngSouth)
        throw TException("Northern edge must be less than southern edge in TMapTools::FillBlock");
    if (LngWest > LngEast)
        throw TException("Western edge must be less than eastern edge in TMapTools::FillBlock");
    if (LngNorth < 0 || LngNorth >= PtrMap->GetYDim())
        throw TException("Northern ordinate is out of range in TMapTools::FillBlock");
    if (LngSouth < 0 || LngSouth >= PtrMap->GetYDim())
        throw TException("Southern ordinate is out of range in TMapTools::FillBlock");
    if (LngWest < 0 || LngWest >= PtrMap->GetXDim())
        throw TException("Western ordinate is out of range in TMapTools::FillBlock");
    if (LngEast < 0 || LngEast >= PtrMap->GetXDim())
        throw TException("Eastern ordinate is out of range in TMapTools::FillBlock");
    for (long LngY = LngNorth; LngY <= LngSouth; ++LngY) {
        double* PtrRow = PtrMap->GetRowData(LngY);
        std::fill(PtrRow + LngWest, PtrRow + LngEast + 1, DblValue);
    }
}

void TMapTools::FindPatchExtent(TMap* PtrMap, double DblValue, long& LngNorth, long& LngSouth,
                                long& LngWest, long& LngEast) {
    const long LngXDim = PtrMap->GetXDim();
    const long LngYDim = PtrMap->GetYDim();
    long LngTop = LngYDim - 1;
    long LngBottom = 0;
    long LngLeft = LngXDim - 1;
    long LngRight = 0;
    bool BlnFound = false;
    for (long LngY = 0; LngY < LngYDim; ++LngY) {
        const double* PtrRow = PtrMap->GetRowData(LngY);
        for (long LngX = 0; LngX < LngXDim; ++LngX) {
            // Exact comparison: a NaN value matches no cell.
            if (PtrRow[LngX] != DblValue)
                continue;
            BlnFound = true;
            LngLeft = std::min(LngLeft, LngX);
            LngRight = std::max(LngRight, LngX);
            LngTop = std::min(LngTop, LngY);
            LngBottom = std::max(LngBottom, LngY);
        }
    }
    if (!BlnFound)
        LngTop = LngBottom = LngLeft = LngRight = 0;
    LngNorth = LngTop;
    LngSouth = LngBottom;
    LngWest = LngLeft;
    LngEast = LngRight;
}

void TMapTools::BufferIndices(TMap* PtrMap, long LngBuffer, long& LngNorth, long& LngSouth,
                              long& LngWest, long& LngEast) {
    LngWest = WidenLow(LngWest, LngBuffer);
    LngEast = WidenHigh(LngEast, LngBuffer, PtrMap->GetXDim());
    LngNorth = WidenLow(LngNorth, LngBuffer);
    LngSouth = WidenHigh(LngSouth, LngBuffer, PtrMap->GetYDim());
}
