#ifndef VEILGRID_MODEL_TMAP_H
#define VEILGRID_MODEL_TMAP_H

#include "model/TAxis.h"
#include "model/TPoint.h"

#include <vector>

/// A rectangle of MbrLngXDim columns by MbrLngYDim rows of double values on square cells of one
/// resolution, placed in map coordinates by four owned axes. Cell (x, y) is column x (west to
/// east) of row y (north to south). The map stores values as given; MbrDblNoData only labels the
/// cells without data. Axes passed in are copied, never adopted; axes handed out are borrowed.
class TMap {
  public:
    /// An empty map (no rows, no axes) to be filled with AddRow; no-data -9999.
    explicit TMap(double DblResolution);
    /// LngXDim x LngYDim cells of -9999 and no axes.
    TMap(double DblResolution, long LngXDim, long LngYDim);
    /// A map on copies of the two centre axes, every cell -9999, no-data -9999. The caller keeps
    /// its axes. Fails with "Axes resolutions do not match in TMap::TMap".
    TMap(TAxis* PtrXAxis, TAxis* PtrYAxis);
    ~TMap();
    TMap(const TMap&) = delete;
    TMap& operator=(const TMap&) = delete;

    /// Stores the resolution, dimensions and no-data value, marks the axes absent and fills
    /// LngYDim rows of LngXDim copies of DblNoData. Called on a map without rows. Fails with
    /// "Dimensions must not be negative in TMap::Init" and, for more cells than can be held,
    /// "Map is too large in TMap::Init".
    void Init(double DblResolution, long LngXDim, long LngYDim, double DblNoData);
    /// Sets every cell to DblValue.
    void InitValues(double DblValue);

    double GetResolution() const { return MbrDblResolution; }
    long GetXDim() const { return MbrLngXDim; }
    long GetYDim() const { return MbrLngYDim; }
    double GetNoData() const { return MbrDblNoData; }
    void SetNoData(double DblNoData) { MbrDblNoData = DblNoData; }

    TAxis* GetXAxis() const { return MbrPtrXAxis; }
    TAxis* GetYAxis() const { return MbrPtrYAxis; }
    TAxis* GetXAxisInterval() const { return MbrPtrXAxisInterval; }
    TAxis* GetYAxisInterval() const { return MbrPtrYAxisInterval; }

    /// The value of cell (LngX, LngY). Fails with "X-ordinate is out of range in TMap::GetPointVal"
    /// or "Y-ordinate is out of range in TMap::GetPointVal".
    double GetPointVal(long LngX, long LngY) const {
        if (LngX < 0 || LngX >= MbrLngXDim)
            ThrowOutOfRange("X-ordinate is out of range in TMap::GetPointVal");
        if (LngY < 0 || LngY >= MbrLngYDim)
            ThrowOutOfRange("Y-ordinate is out of range in TMap::GetPointVal");
        return MbrVecRows[static_cast<size_t>(LngY) * static_cast<size_t>(MbrLngXDim) +
                          static_cast<size_t>(LngX)];
    }

    /// Replace the centre axis of a direction (a copy is kept) and derive its interval axis.
    /// Fail with "Length of new X axis does not match the X dimension of the map" (Y alike), or
    /// with "Index is out of range in TAxis::GetPoint" for an axis without points; on failure
    /// the map is unchanged.
    void SetXAxis(TAxis* PtrAxis);
    void SetYAxis(TAxis* PtrAxis);
    /// Replace the interval axis of a direction (a copy is kept) and derive its centre axis.
    /// Fail with "Length of new X interval axis does not fit the X dimension of the map" (Y
    /// alike); on failure the map is unchanged.
    void SetXAxisInterval(TAxis* PtrAxis);
    void SetYAxisInterval(TAxis* PtrAxis);

    /// The column ('X') or row (any other letter) that holds the ordinate, by the interval axes.
    /// Fails with "Ordinate is out of range in TAxis::GetIndex"; on a map without the axes of
    /// that direction with "Map has no axes in TMap::GetIndex".
    long GetIndex(double DblOrdinate, char ChrAxis) const;
    /// A new point at the centre of cell (LngX, LngY); the caller owns it. Fails with
    /// "LngX is out of range for the X-axis in TMap::GetCoordinates", then the LngY message.
    [[nodiscard]] TPoint* GetCoordinates(long LngX, long LngY) const;

    /// A new TMapPoint at the centre of cell (LngX, LngY) carrying its value; the caller owns it.
    /// Fails with "LngX is out of range in TMap::GetPoint (long,long)", then the LngY message.
    [[nodiscard]] TMapPoint* GetPoint(long LngX, long LngY) const;
    /// Stores DblValue in cell (LngX, LngY) without any check: the caller guarantees the indices.
    void SetPoint(long LngX, long LngY, double DblValue) {
        MbrVecRows[static_cast<size_t>(LngY) * static_cast<size_t>(MbrLngXDim) +
                   static_cast<size_t>(LngX)] = DblValue;
    }
    /// A copy of row LngY, west to east. Fails with "Index is out of bounds in TMap::GetRow".
    std::vector<double> GetRow(long LngY) const;
    /// Appends a copy of VecRow as the new southernmost row; the first row of a map without rows,
    /// columns and X axes sets the column count. A row whose length differs from the column count
    /// fails with "Row length does not match the X dimension of the map in TMap::AddRow", and a map
    /// whose Y axes are set takes no rows: "Rows cannot be added to a map with Y axes in
    /// TMap::AddRow".
    void AddRow(const std::vector<double>& VecRow);

    /// The value of the cell that holds PtrPoint. Fails with the GetIndex message, then
    /// "LngX is out of range in TMap::GetPointVal" or "LngY is out of range in TMap::GetPointVal".
    double GetPointVal(TPoint* PtrPoint) const;
    /// A new TMapPoint at PtrPoint's own coordinates carrying the value of the cell that holds it;
    /// the caller owns it. Fails like GetPointVal(TPoint*), with the "TMap::GetPoint (TPoint*)"
    /// messages.
    [[nodiscard]] TMapPoint* GetPoint(TPoint* PtrPoint) const;
    /// Stores DblValue in the cell that holds PtrPoint; a point outside the map fails with the
    /// GetIndex message and nothing is stored.
    void SetPoint(TPoint* PtrPoint, double DblValue);
    /// GetPointVal(TPoint*) of each point, in order; the first failing point ends the call.
    std::vector<double> GetPointValues(const std::vector<TPoint*>& VecPoints) const;

    /// Takes over VecCells (LngXDim x LngYDim values, row after row from north to south) as the
    /// map's cells and dimensions; the axes are removed, to be set afterwards. Fails with
    /// "Cell count does not match the dimensions in TMap::SetCells"; then the map is unchanged.
    void SetCells(long LngXDim, long LngYDim, std::vector<double>&& VecCells);

    /// Direct access to the MbrLngXDim values of row LngY, for whole-map loops; unchecked.
    const double* GetRowData(long LngY) const {
        return MbrVecRows.data() + static_cast<size_t>(LngY) * static_cast<size_t>(MbrLngXDim);
    }
    double* GetRowData(long LngY) {
        return MbrVecRows.data() + static_cast<size_t>(LngY) * static_cast<size_t>(MbrLngXDim);
    }

  private:
    [[noreturn]] static void ThrowOutOfRange(const char* PtrMessage);
    void RequireAxes(const char* PtrMessage) const;
    // Destroys every axis present and marks all four absent.
    void ClearAxes() noexcept;

    double MbrDblResolution;
    long MbrLngXDim;
    long MbrLngYDim;
    // The cells, row after row from north to south, each row west to east.
    std::vector<double> MbrVecRows;
    TAxis* MbrPtrXAxis;
    TAxis* MbrPtrYAxis;
    TAxis* MbrPtrXAxisInterval;
    TAxis* MbrPtrYAxisInterval;
    double MbrDblNoData;
};

#endif
