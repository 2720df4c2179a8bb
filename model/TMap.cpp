#include "model/TMap.h"

#include "model/TAxisTools.h"
#include "util/TException.h"

#include <cassert>
#include <limits>
#include <memory>
#include <new>

namespace {
// Puts PtrNew in the slot and destroys what the slot held; nothing here can fail.
void Replace(TAxis*& PtrSlot, std::unique_ptr<TAxis> PtrNew) noexcept {
    delete PtrSlot;
    PtrSlot = PtrNew.release();
}
} // namespace

TMap::TMap(double DblResolution)
    : MbrDblResolution(DblResolution), MbrLngXDim(0), MbrLngYDim(0), MbrPtrXAxis(nullptr),
      MbrPtrYAxis(nullptr), MbrPtrXAxisInterval(nullptr), MbrPtrYAxisInterval(nullptr),
      MbrDblNoData(-9999) {}

TMap::TMap(double DblResolution, long LngXDim, long LngYDim) : TMap(DblResolution) {
    Init(DblResolution, LngXDim, LngYDim, -9999);
}

TMap::TMap(TAxis* PtrXAxis, TAxis* PtrYAxis) : TMap(PtrXAxis->GetResolution()) {
    // A NaN resolution counts as different.
    if (!(PtrXAxis->GetResolution() == PtrYAxis->GetResolution()))
        throw TException("Axes resolutions do not match in TMap::TMap");
    Init(PtrXAxis->GetResolution(), PtrXAxis->GetSize(), PtrYAxis->GetSize(), -9999);
    SetXAxis(PtrXAxis);
    SetYAxis(PtrYAxis);
}

TMap::~TMap() { ClearAxes(); }

void TMap::ClearAxes() noexcept {
    Replace(MbrPtrXAxis, nullptr);
    Replace(MbrPtrYAxis, nullptr);
    Replace(MbrPtrXAxisInterval, nullptr);
    Replace(MbrPtrYAxisInterval, nullptr);
}

void TMap::Init(double DblResolution, long LngXDim, long LngYDim, double DblNoData) {
    if (LngXDim < 0 || LngYDim < 0)
        throw TException("Dimensions must not be negative in TMap::Init");
    // Each dimension leaves room for the extra edge of its interval axis, and the cell count is
    // compared by division: a product of two large dimensions could wrap around to a small one.
    const long LngMaxDim = std::numeric_limits<long>::max() - 1;
    if (LngXDim > LngMaxDim || LngYDim > LngMaxDim ||
        (LngXDim != 0 &&
         static_cast<size_t>(LngYDim) > MbrVecRows.max_size() / static_cast<size_t>(LngXDim)))
        throw TException("Map is too large in TMap::Init");
    std::vector<double> VecCells;
    try {
        VecCells.assign(static_cast<size_t>(LngXDim) * static_cast<size_t>(LngYDim), DblNoData);
    } catch (const std::bad_alloc&) {
        throw TException("Map is too large in TMap::Init");
    }
    ClearAxes();
    MbrDblResolution = DblResolution;
    MbrLngXDim = LngXDim;
    MbrLngYDim = LngYDim;
    MbrDblNoData = DblNoData;
    MbrVecRows.swap(VecCells);
}

void TMap::SetCells(long LngXDim, long LngYDim, std::vector<double>&& VecCells) {
    const bool BlnFits = LngXDim == 0 ? VecCells.empty()
                                      : VecCells.size() % static_cast<size_t>(LngXDim) == 0 &&
                                            VecCells.size() / static_cast<size_t>(LngXDim) ==
                                                static_cast<size_t>(LngYDim);
    // Each dimension leaves room for the extra point of its interval axis.
    if (LngXDim < 0 || LngYDim < 0 || !BlnFits || LngXDim > std::numeric_limits<long>::max() - 1 ||
        LngYDim > std::numeric_limits<long>::max() - 1)
        throw TException("Cell count does not match the dimensions in TMap::SetCells");
    ClearAxes();
    MbrLngXDim = LngXDim;
    MbrLngYDim = LngYDim;
    MbrVecRows = std::move(VecCells);
}

void TMap::InitValues(double DblValue) { MbrVecRows.assign(MbrVecRows.size(), DblValue); }

void TMap::ThrowOutOfRange(const char* PtrMessage) { throw TException(PtrMessage); }

void TMap::RequireAxes(const char* PtrMessage) const {
    if (MbrPtrXAxis == nullptr || MbrPtrYAxis == nullptr || MbrPtrXAxisInterval == nullptr ||
        MbrPtrYAxisInterval == nullptr)
        throw TException(PtrMessage);
}

void TMap::SetXAxis(TAxis* PtrAxis) {
    if (PtrAxis->GetSize() != MbrLngXDim)
        throw TException("Length of new X axis does not match the X dimension of the map");
    std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrAxis, 'X'));
    std::unique_ptr<TAxis> PtrCopy(PtrAxis->Clone());
    Replace(MbrPtrXAxis, std::move(PtrCopy));
    Replace(MbrPtrXAxisInterval, std::move(PtrEdges));
    assert(MbrPtrXAxis->GetSize() == MbrLngXDim);
    assert(MbrPtrXAxisInterval->GetSize() == MbrLngXDim + 1);
}

void TMap::SetYAxis(TAxis* PtrAxis) {
    if (PtrAxis->GetSize() != MbrLngYDim)
        throw TException("Length of new Y axis does not match the Y dimension of the map");
    std::unique_ptr<TAxis> PtrEdges(TAxisTools::PointsToIntervals(PtrAxis, 'Y'));
    std::unique_ptr<TAxis> PtrCopy(PtrAxis->Clone());
    Replace(MbrPtrYAxis, std::move(PtrCopy));
    Replace(MbrPtrYAxisInterval, std::move(PtrEdges));
    assert(MbrPtrYAxis->GetSize() == MbrLngYDim);
    assert(MbrPtrYAxisInterval->GetSize() == MbrLngYDim + 1);
}

void TMap::SetXAxisInterval(TAxis* PtrAxis) {
    if (PtrAxis->GetSize() != MbrLngXDim + 1)
        throw TException("Length of new X interval axis does not fit the X dimension of the map");
    std::unique_ptr<TAxis> PtrCentres(TAxisTools::IntervalsToPoints(PtrAxis, 'X'));
    std::unique_ptr<TAxis> PtrCopy(PtrAxis->Clone());
    Replace(MbrPtrXAxisInterval, std::move(PtrCopy));
    Replace(MbrPtrXAxis, std::move(PtrCentres));
    assert(MbrPtrXAxis->GetSize() == MbrLngXDim);
    assert(MbrPtrXAxisInterval->GetSize() == MbrLngXDim + 1);
}

void TMap::SetYAxisInterval(TAxis* PtrAxis) {
    if (PtrAxis->GetSize() != MbrLngYDim + 1)
        throw TException("Length of new Y interval axis does not fit the Y dimension of the map");
    std::unique_ptr<TAxis> PtrCentres(TAxisTools::IntervalsToPoints(PtrAxis, 'Y'));
    std::unique_ptr<TAxis> PtrCopy(PtrAxis->Clone());
    Replace(MbrPtrYAxisInterval, std::move(PtrCopy));
    Replace(MbrPtrYAxis, std::move(PtrCentres));
    assert(MbrPtrYAxis->GetSize() == MbrLngYDim);
    assert(MbrPtrYAxisInterval->GetSize() == MbrLngYDim + 1);
}

long TMap::GetIndex(double DblOrdinate, char ChrAxis) const {
    if (ChrAxis == 'X') {
        if (MbrPtrXAxisInterval == nullptr)
            throw TException("Map has no axes in TMap::GetIndex");
        return MbrPtrXAxisInterval->GetIndex(DblOrdinate, 'X');
    }
    if (MbrPtrYAxisInterval == nullptr)
        throw TException("Map has no axes in TMap::GetIndex");
    return MbrPtrYAxisInterval->GetIndex(DblOrdinate, ChrAxis);
}

TPoint* TMap::GetCoordinates(long LngX, long LngY) const {
    RequireAxes("Map has no axes in TMap::GetCoordinates");
    if (LngX < 0 || LngX >= MbrPtrXAxis->GetSize())
        throw TException("LngX is out of range for the X-axis in TMap::GetCoordinates");
    if (LngY < 0 || LngY >= MbrPtrYAxis->GetSize())
        throw TException("LngY is out of range for the Y-axis in TMap::GetCoordinates");
    return new TPoint(MbrPtrXAxis->GetPoint(LngX)->GetX(), MbrPtrYAxis->GetPoint(LngY)->GetY());
}

TMapPoint* TMap::GetPoint(long LngX, long LngY) const {
    if (LngX < 0 || LngX >= MbrLngXDim)
        throw TException("LngX is out of range in TMap::GetPoint (long,long)");
    if (LngY < 0 || LngY >= MbrLngYDim)
        throw TException("LngY is out of range in TMap::GetPoint (long,long)");
    std::unique_ptr<TPoint> PtrCentre(GetCoordinates(LngX, LngY));
    return new TMapPoint(PtrCentre->GetX(), PtrCentre->GetY(), GetPointVal(LngX, LngY));
}

std::vector<double> TMap::GetRow(long LngY) const {
    if (LngY < 0 || LngY >= MbrLngYDim)
        throw TException("Index is out of bounds in TMap::GetRow");
    const double* PtrRow = GetRowData(LngY);
    return std::vector<double>(PtrRow, PtrRow + MbrLngXDim);
}

void TMap::AddRow(const std::vector<double>& VecRow) {
    const long LngLength = static_cast<long>(VecRow.size());
    // The first row of a map without cells sets the column count; any other row must fill
    // exactly one row, or later cell reads would run past the values. X axes, once set, fix the
    // column count as well.
    const bool BlnSetsWidth = MbrLngXDim == 0 && MbrLngYDim == 0 && MbrPtrXAxis == nullptr &&
                              MbrPtrXAxisInterval == nullptr;
    // A Y axis describes the rows the map has; a row beyond it would have no centre and no edges,
    // and every operation that builds a result on the axes would write past that result.
    if (MbrPtrYAxis != nullptr || MbrPtrYAxisInterval != nullptr)
        throw TException("Rows cannot be added to a map with Y axes in TMap::AddRow");
    if (!BlnSetsWidth && LngLength != MbrLngXDim)
        throw TException("Row length does not match the X dimension of the map in TMap::AddRow");
    MbrVecRows.insert(MbrVecRows.end(), VecRow.begin(), VecRow.end());
    ++MbrLngYDim;
    if (MbrLngXDim == 0)
        MbrLngXDim = LngLength;
}

double TMap::GetPointVal(TPoint* PtrPoint) const {
    const long LngX = GetIndex(PtrPoint->GetX(), 'X');
    const long LngY = GetIndex(PtrPoint->GetY(), 'Y');
    if (LngX < 0 || LngX >= MbrLngXDim)
        throw TException("LngX is out of range in TMap::GetPointVal");
    if (LngY < 0 || LngY >= MbrLngYDim)
        throw TException("LngY is out of range in TMap::GetPointVal");
    return GetPointVal(LngX, LngY);
}

TMapPoint* TMap::GetPoint(TPoint* PtrPoint) const {
    const long LngX = GetIndex(PtrPoint->GetX(), 'X');
    const long LngY = GetIndex(PtrPoint->GetY(), 'Y');
    if (LngX < 0 || LngX >= MbrLngXDim)
        throw TException("LngX is out of range in TMap::GetPoint (TPoint*)");
    if (LngY < 0 || LngY >= MbrLngYDim)
        throw TException("LngY is out of range in TMap::GetPoint (TPoint*)");
    return new TMapPoint(PtrPoint->GetX(), PtrPoint->GetY(), GetPointVal(LngX, LngY));
}

void TMap::SetPoint(TPoint* PtrPoint, double DblValue) {
    const long LngX = GetIndex(PtrPoint->GetX(), 'X');
    const long LngY = GetIndex(PtrPoint->GetY(), 'Y');
    // The interval axes hold one point more than the cells, so every index found is a cell; the
    // guard only keeps a map whose axes were tampered with from being written outside.
    if (LngX < 0 || LngX >= MbrLngXDim || LngY < 0 || LngY >= MbrLngYDim)
        throw TException("Point is outside the map in TMap::SetPoint");
    SetPoint(LngX, LngY, DblValue);
}

std::vector<double> TMap::GetPointValues(const std::vector<TPoint*>& VecPoints) const {
    std::vector<double> VecValues;
    VecValues.reserve(VecPoints.size());
    for (TPoint* PtrPoint : VecPoints)
        VecValues.push_back(GetPointVal(PtrPoint));
    return VecValues;
}
