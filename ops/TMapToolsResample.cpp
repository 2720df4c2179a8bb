#include "ops/TMapTools.h"

#include "util/TException.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {
// The largest column or row count of a map, as grid files can state it.
constexpr double DblMaxDimension = 2147483647.0;
constexpr long LngMaxDimension = 2147483647L;

// The edges a resampled grid starts from: the west edge, the first and the last Y edge.
struct TOrigin {
    double DblWest;
    double DblFirstY;
    double DblLastY;
};

TOrigin OriginOf(const TMap* PtrMap, const char* PtrNoAxes) {
    const TAxis* PtrX = PtrMap->GetXAxisInterval();
    const TAxis* PtrY = PtrMap->GetYAxisInterval();
    if (PtrX == nullptr || PtrY == nullptr)
        throw TException(PtrNoAxes);
    return {PtrX->GetPoint(0)->GetX(), PtrY->GetPoint(0)->GetY(),
            PtrY->GetPoint(PtrMap->GetYDim())->GetY()};
}

// A count of new cells from the truncated quotient, or a failure when it is no count of a map.
long NewDimension(double DblQuotient, const char* PtrMessage) {
    const double DblCount = std::trunc(DblQuotient);
    // Written so that NaN fails too.
    if (!(DblCount >= 0.0 && DblCount <= DblMaxDimension))
        throw TException(PtrMessage);
    return static_cast<long>(DblCount);
}

// The source's look-ups for one sample column or one sample row.
struct TSampleColumn {
    long LngResult; // the column of the result holding the sample
    long LngX1;     // the western source column
    long LngX2;     // the source column holding the sample
};

struct TSampleRow {
    double DblY;
    long LngResult; // the row of the result holding the sample
    long LngY1;
    long LngY2;
};
} // namespace

double TMapTools::BilinearInterpolate(double DblVA, double DblVB, double DblVC, double DblVD,
                                      double DblX, double DblX1, double DblX2, double DblY,
                                      double DblY1, double DblY2) {
    const double DblArea = (DblX2 - DblX1) * (DblY2 - DblY1);
    const double DblA = ((DblVA / DblArea) * (DblX2 - DblX)) * (DblY2 - DblY);
    const double DblB = ((DblVB / DblArea) * (DblX - DblX1)) * (DblY2 - DblY);
    const double DblC = ((DblVC / DblArea) * (DblX2 - DblX)) * (DblY - DblY1);
    const double DblD = ((DblVD / DblArea) * (DblX - DblX1)) * (DblY - DblY1);
    return DblA + DblB + DblC + DblD;
}

void TMapTools::BilinearInterpolate(TMapPoint* PtrA, TMapPoint* PtrB, TMapPoint* PtrC,
                                    TMapPoint* PtrD, TMapPoint* PtrTarget) {
    PtrTarget->SetValue(BilinearInterpolate(
        PtrA->GetValue(), PtrB->GetValue(), PtrC->GetValue(), PtrD->GetValue(), PtrTarget->GetX(),
        PtrA->GetX(), PtrB->GetX(), PtrTarget->GetY(), PtrA->GetY(), PtrC->GetY()));
}

TMap* TMapTools::Downscale(TMap* PtrMap, double DblResolution) {
    // Written so that NaN fails too.
    if (!(DblResolution > 0.0))
        throw TException("New resolution must be > 0.0 in TMapTools::Downscale");
    const TOrigin OrgMap = OriginOf(PtrMap, "Map has no axes in TMapTools::Downscale");
    const double DblSource = PtrMap->GetResolution();
    // The product and the quotient are each rounded to double: 0.3 x 10 / 0.1 gives 30.
    const long LngXDim =
        NewDimension(DblSource * static_cast<double>(PtrMap->GetXDim()) / DblResolution,
                     "New dimensions are out of range in TMapTools::Downscale");
    const long LngYDim =
        NewDimension(DblSource * static_cast<double>(PtrMap->GetYDim()) / DblResolution,
                     "New dimensions are out of range in TMapTools::Downscale");
    // An axis without points has no first point to place its edges from; failing here spares
    // laying out the other axis of a map that cannot be built.
    if (LngXDim == 0 || LngYDim == 0)
        throw TException("Index is out of range in TAxis::GetPoint");

    auto PtrResult = std::make_unique<TMap>(DblResolution, LngXDim, LngYDim);
    const double DblHalf = DblResolution * 0.5;

    TAxis AxsX(DblResolution);
    double DblX = OrgMap.DblWest + DblHalf;
    for (long LngI = 0; LngI < LngXDim; ++LngI, DblX += DblResolution)
        AxsX.AddPoint(new TPoint(DblX, OrgMap.DblFirstY));

    // The rows run from the first Y edge towards the last, whichever way that is.
    const bool BlnAscending = OrgMap.DblLastY > OrgMap.DblFirstY;
    const double DblYStep = BlnAscending ? DblResolution : -DblResolution;
    TAxis AxsY(DblResolution);
    double DblY = BlnAscending ? OrgMap.DblFirstY + DblHalf : OrgMap.DblFirstY - DblHalf;
    for (long LngJ = 0; LngJ < LngYDim; ++LngJ, DblY += DblYStep)
        AxsY.AddPoint(new TPoint(OrgMap.DblWest, DblY));

    PtrResult->SetXAxis(&AxsX);
    PtrResult->SetYAxis(&AxsY);
    return PtrResult.release();
}

TMap* TMapTools::BilinearInterpolate(TMap* PtrMap, double DblResolution) {
    if (DblResolution <= 0.0)
        throw TException("New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate");
    if (PtrMap->GetXAxisInterval() == nullptr || PtrMap->GetYAxisInterval() == nullptr)
        throw TException("Map has no axes in TMapTools::BilinearInterpolate");
    std::unique_ptr<TMap> PtrResult(Downscale(PtrMap, DblResolution));
    PtrResult->InitValues(PtrMap->GetNoData());

    const double DblSource = PtrMap->GetResolution();
    const TAxis* PtrEdgesX = PtrResult->GetXAxisInterval();
    const TAxis* PtrEdgesY = PtrResult->GetYAxisInterval();
    const double DblX1 = PtrEdgesX->GetPoint(0)->GetX();
    const double DblX2 = PtrEdgesX->GetPoint(PtrResult->GetXDim())->GetX();
    const double DblY1 = PtrEdgesY->GetPoint(0)->GetY();
    const double DblY2 = PtrEdgesY->GetPoint(PtrResult->GetYDim())->GetY();

    // The lattice of samples: one source cell in from the west edge and, when the result's rows
    // run north to south, one source cell and one new cell in from the north edge.
    const bool BlnDescending = DblY1 > DblY2;
    const double DblXStart = DblX1 + DblSource;
    const double DblXEnd = DblX2 - DblSource - DblResolution;
    const double DblYStart = BlnDescending ? DblY1 - DblSource - DblResolution : DblY1 + DblSource;
    const double DblYEnd = BlnDescending ? DblY2 + DblSource : DblY2 - DblSource;
    const double DblYStep = BlnDescending ? -DblResolution : DblResolution;
    const auto GoesOn = [&](double DblY) {
        return BlnDescending ? DblY >= DblYEnd : DblY <= DblYEnd;
    };

    const TAxis* PtrCentresX = PtrMap->GetXAxis();
    const TAxis* PtrCentresY = PtrMap->GetYAxis();
    const long LngXDim = PtrMap->GetXDim();
    const long LngYDim = PtrMap->GetYDim();
    const auto CheckColumn = [&](long LngIndex, const char* PtrMessage) {
        if (LngIndex < 0 || LngIndex >= LngXDim)
            throw TException(PtrMessage);
    };
    const auto CheckRow = [&](long LngIndex, const char* PtrMessage) {
        if (LngIndex < 0 || LngIndex >= LngYDim)
            throw TException(PtrMessage);
    };

    // Every column meets the same sample rows, so the rows are looked up once, in the first
    // column, and the columns once each. Each look-up and test still comes in the order a sample
    // meets them (result column, result row, source column, source row, then LngGetX1, LngGetX2,
    // LngGetY1, LngGetY2): a step skipped later is one that has already passed.
    std::vector<TSampleRow> VecRows;
    for (double DblX = DblXStart; DblX <= DblXEnd;) {
        const bool BlnFirstColumn = VecRows.empty();
        TSampleColumn ColSample{};
        long LngRow = 0;
        double DblY = DblYStart;
        bool BlnMore = true;
        while (BlnMore) {
            const bool BlnNewColumn = LngRow == 0;
            if (BlnNewColumn)
                ColSample.LngResult = PtrResult->GetIndex(DblX, 'X');
            TSampleRow RowSample{};
            if (BlnFirstColumn) {
                RowSample.DblY = DblY;
                RowSample.LngResult = PtrResult->GetIndex(DblY, 'Y');
            }
            long LngColumn = 0;
            if (BlnNewColumn)
                LngColumn = PtrMap->GetIndex(DblX, 'X');
            long LngSourceRow = 0;
            if (BlnFirstColumn)
                LngSourceRow = PtrMap->GetIndex(DblY, 'Y');
            if (BlnNewColumn) {
                ColSample.LngX1 = LngColumn - 1;
                ColSample.LngX2 = LngColumn;
                CheckColumn(ColSample.LngX1,
                            "LngGetX1 is out of range in TMapTools::BilinearInterpolate");
                CheckColumn(ColSample.LngX2,
                            "LngGetX2 is out of range in TMapTools::BilinearInterpolate");
            }
            if (BlnFirstColumn) {
                RowSample.LngY1 = BlnDescending ? LngSourceRow : LngSourceRow - 1;
                RowSample.LngY2 = BlnDescending ? LngSourceRow + 1 : LngSourceRow;
                CheckRow(RowSample.LngY1,
                         "LngGetY1 is out of range in TMapTools::BilinearInterpolate");
                CheckRow(RowSample.LngY2,
                         "LngGetY2 is out of range in TMapTools::BilinearInterpolate");
                VecRows.push_back(RowSample);
            }

            const TSampleRow& RowKnown = VecRows[static_cast<size_t>(LngRow)];
            const double DblValue =
                BilinearInterpolate(PtrMap->GetPointVal(ColSample.LngX1, RowKnown.LngY1),
                                    PtrMap->GetPointVal(ColSample.LngX2, RowKnown.LngY1),
                                    PtrMap->GetPointVal(ColSample.LngX1, RowKnown.LngY2),
                                    PtrMap->GetPointVal(ColSample.LngX2, RowKnown.LngY2), DblX,
                                    PtrCentresX->GetPoint(ColSample.LngX1)->GetX(),
                                    PtrCentresX->GetPoint(ColSample.LngX2)->GetX(), RowKnown.DblY,
                                    PtrCentresY->GetPoint(RowKnown.LngY1)->GetY(),
                                    PtrCentresY->GetPoint(RowKnown.LngY2)->GetY());
            // Both indices come from the result's own edges, so the cell lies inside it.
            PtrResult->SetPoint(ColSample.LngResult, RowKnown.LngResult, DblValue);

            ++LngRow;
            if (BlnFirstColumn) {
                const double DblNext = DblY + DblYStep;
                BlnMore = GoesOn(DblNext);
                // A step lost to rounding would take the same sample for ever.
                if (BlnMore && DblNext == DblY)
                    throw TException(
                        "Sample position does not advance in TMapTools::BilinearInterpolate");
                DblY = DblNext;
            } else {
                BlnMore = LngRow < static_cast<long>(VecRows.size());
            }
        }
        const double DblNext = DblX + DblResolution;
        if (DblNext == DblX)
            throw TException("Sample position does not advance in TMapTools::BilinearInterpolate");
        DblX = DblNext;
    }
    return PtrResult.release();
}

TMap* TMapTools::Subdivide(TMap* PtrMap, int IntFactor) {
    if (IntFactor <= 0)
        throw TException("Subdivision factor must be > 0 in TMapTools::Subdivide");
    const TOrigin OrgMap = OriginOf(PtrMap, "Map has no axes in TMapTools::Subdivide");
    const long LngFactor = IntFactor;
    const long LngSourceXDim = PtrMap->GetXDim();
    const long LngSourceYDim = PtrMap->GetYDim();
    // Compared before multiplying, so the product cannot overflow.
    if (LngSourceXDim > LngMaxDimension / LngFactor || LngSourceYDim > LngMaxDimension / LngFactor)
        throw TException("New dimensions are out of range in TMapTools::Subdivide");
    const long LngXDim = LngSourceXDim * LngFactor;
    const long LngYDim = LngSourceYDim * LngFactor;
    const double DblResolution = PtrMap->GetResolution() / static_cast<double>(IntFactor);

    auto PtrResult = std::make_unique<TMap>(DblResolution, LngXDim, LngYDim);
    for (long LngJ = 0; LngJ < LngSourceYDim; ++LngJ) {
        const double* PtrSource = PtrMap->GetRowData(LngJ);
        double* PtrFirst = PtrResult->GetRowData(LngJ * LngFactor);
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrFirst[LngX] = PtrSource[LngX / LngFactor];
        for (long LngB = 1; LngB < LngFactor; ++LngB) {
            double* PtrCopy = PtrResult->GetRowData(LngJ * LngFactor + LngB);
            std::copy(PtrFirst, PtrFirst + LngXDim, PtrCopy);
        }
    }

    TAxis AxsX(DblResolution);
    double DblX = OrgMap.DblWest;
    for (long LngI = 0; LngI <= LngXDim; ++LngI, DblX += DblResolution)
        AxsX.AddPoint(new TPoint(DblX, OrgMap.DblFirstY));

    // The edges run from the first Y edge towards the last, whichever way that is.
    const double DblYStep = OrgMap.DblLastY > OrgMap.DblFirstY ? DblResolution : -DblResolution;
    TAxis AxsY(DblResolution);
    double DblY = OrgMap.DblFirstY;
    for (long LngJ = 0; LngJ <= LngYDim; ++LngJ, DblY += DblYStep)
        AxsY.AddPoint(new TPoint(OrgMap.DblWest, DblY));

    PtrResult->SetXAxisInterval(&AxsX);
    PtrResult->SetYAxisInterval(&AxsY);
    return PtrResult.release();
}
