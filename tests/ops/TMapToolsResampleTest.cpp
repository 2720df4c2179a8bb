#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using MapFixtures::Cells;
using MapFixtures::MakeFilled;
using MapFixtures::MakeMap;
using MapFixtures::TRows;
using MapFixtures::XCentres;
using MapFixtures::XEdges;
using MapFixtures::YCentres;
using MapFixtures::YEdges;

namespace {
const double DblNaN = std::numeric_limits<double>::quiet_NaN();

// 4 x 4 cells of resolution 1, west edge 0, Y edges 4 (north) down to 0, values that no plane
// fits, so that a wrong choice of neighbours shows.
std::unique_ptr<TMap> MakeSource() {
    return MakeMap(0, 0, 1, {{1, 2, 4, 8}, {16, 32, 64, 128}, {3, 5, 7, 11}, {13, 17, 19, 23}});
}

// A plane over the map: bilinear interpolation and extrapolation reproduce it at any position.
double Plane(double DblX, double DblY) { return 3 * DblX + 7 * DblY; }

// 4 x 4 cells of resolution 1 over (0, 0) to (4, 4), each holding the plane at its centre, and -1
// as no-data. With BlnAscending the Y edges run from the south edge northward.
std::unique_ptr<TMap> MakePlaneSource(bool BlnAscending) {
    auto PtrMap = MakeMap(0, 0, 1, TRows(4, std::vector<double>(4, 0)),
                          {.DblNoData = -1, .BlnSouthFirst = BlnAscending});
    for (long LngY = 0; LngY < 4; ++LngY)
        for (long LngX = 0; LngX < 4; ++LngX)
            PtrMap->SetPoint(LngX, LngY,
                             Plane(PtrMap->GetXAxis()->GetPoint(LngX)->GetX(),
                                   PtrMap->GetYAxis()->GetPoint(LngY)->GetY()));
    return PtrMap;
}

// MakeSource's values and no-data value -1 on the given column edges (west to east) and row edges
// (north to south).
std::unique_ptr<TMap> MakeUnevenSource(const std::vector<double>& VecXEdges,
                                       const std::vector<double>& VecYEdges) {
    auto PtrMap = MakeSource();
    PtrMap->SetNoData(-1);
    TAxis AxsX(1);
    for (double DblX : VecXEdges)
        AxsX.AddPoint(new TPoint(DblX, VecYEdges.front()));
    TAxis AxsY(1);
    for (double DblY : VecYEdges)
        AxsY.AddPoint(new TPoint(VecXEdges.front(), DblY));
    PtrMap->SetXAxisInterval(&AxsX);
    PtrMap->SetYAxisInterval(&AxsY);
    return PtrMap;
}

TEST(TMapToolsBilinearFormula, CornersCentreAndExtrapolation) {
    // A = (1, 10) 2, B = (3, 10) 4, C = (1, 20) 6, D = (3, 20) 10.
    struct TCase {
        const char* Name;
        double DblX;
        double DblY;
        double DblExpected;
    };
    const TCase Cases[] = {{"A", 1, 10, 2},         {"B", 3, 10, 4},        {"C", 1, 20, 6},
                           {"D", 3, 20, 10},        {"centre", 2, 15, 5.5}, {"east of B", 5, 10, 6},
                           {"inside", 1.5, 12, 3.4}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_DOUBLE_EQ(
            TMapTools::BilinearInterpolate(2, 4, 6, 10, Case.DblX, 1, 3, Case.DblY, 10, 20),
            Case.DblExpected);
        // The same corners named from the other side give the same value.
        EXPECT_DOUBLE_EQ(
            TMapTools::BilinearInterpolate(10, 6, 4, 2, Case.DblX, 3, 1, Case.DblY, 20, 10),
            Case.DblExpected);
    }
    // Corners in one column enclose no area.
    EXPECT_FALSE(std::isfinite(TMapTools::BilinearInterpolate(2, 4, 6, 10, 1, 1, 1, 15, 10, 20)));
}

TEST(TMapToolsBilinearFormula, PointsCarryTheValues) {
    TMapPoint PntA(1, 10, 2), PntB(3, 10, 4), PntC(1, 20, 6), PntTarget(2, 15, -1);
    // D's position is not read.
    TMapPoint PntD(-100, 500, 10);
    TMapTools::BilinearInterpolate(&PntA, &PntB, &PntC, &PntD, &PntTarget);
    EXPECT_DOUBLE_EQ(PntTarget.GetValue(), 5.5);
    EXPECT_EQ(PntTarget.GetX(), 2);
    EXPECT_EQ(PntTarget.GetY(), 15);
    EXPECT_EQ(PntA.GetValue(), 2);
    EXPECT_EQ(PntD.GetX(), -100);
}

TEST(TMapToolsDownscale, LaysAnEmptyGridOverTheSource) {
    struct TCase {
        const char* Name;
        double DblResolution;
        long LngXDim;
        long LngYDim;
        std::vector<double> VecXEdges;
        std::vector<double> VecYEdges;
    };
    const TCase Cases[] = {
        {"strips east and south left out", 1.5, 2, 2, {0, 1.5, 3}, {4, 2.5, 1}},
        {"finer",
         0.5,
         8,
         8,
         {0, 0.5, 1, 1.5, 2, 2.5, 3, 3.5, 4},
         {4, 3.5, 3, 2.5, 2, 1.5, 1, 0.5, 0}},
        {"one row has its Y edges south first", 2.5, 1, 1, {0, 2.5}, {1.5, 4}},
    };
    auto PtrSource = MakeSource();
    PtrSource->SetNoData(-1);
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::unique_ptr<TMap> PtrGrid(TMapTools::Downscale(PtrSource.get(), Case.DblResolution));
        EXPECT_EQ(PtrGrid->GetResolution(), Case.DblResolution);
        ASSERT_EQ(PtrGrid->GetXDim(), Case.LngXDim);
        ASSERT_EQ(PtrGrid->GetYDim(), Case.LngYDim);
        EXPECT_EQ(XEdges(*PtrGrid), Case.VecXEdges);
        EXPECT_EQ(YEdges(*PtrGrid), Case.VecYEdges);
        EXPECT_EQ(Cells(*PtrGrid),
                  TRows(static_cast<size_t>(Case.LngYDim),
                        std::vector<double>(static_cast<size_t>(Case.LngXDim), -9999)));
        EXPECT_EQ(PtrGrid->GetNoData(), -9999);
    }
    std::unique_ptr<TMap> PtrFine(TMapTools::Downscale(PtrSource.get(), 0.5));
    EXPECT_EQ(XCentres(*PtrFine),
              (std::vector<double>{0.25, 0.75, 1.25, 1.75, 2.25, 2.75, 3.25, 3.75}));
    EXPECT_EQ(YCentres(*PtrFine),
              (std::vector<double>{3.75, 3.25, 2.75, 2.25, 1.75, 1.25, 0.75, 0.25}));
}

TEST(TMapToolsDownscale, DimensionsAndDirection) {
    // The quotient is rounded to double: 0.3 x 10 / 0.1 is 30, not 29.
    auto PtrTenth = MakeFilled(0, 0, 0.3, 10, 10, 1);
    std::unique_ptr<TMap> PtrThirty(TMapTools::Downscale(PtrTenth.get(), 0.1));
    EXPECT_EQ(PtrThirty->GetXDim(), 30);
    EXPECT_EQ(PtrThirty->GetYDim(), 30);

    // Y edges running south to north give rows that do so too.
    auto PtrAscending =
        MakeMap(0, 0, 1, TRows(4, std::vector<double>(4, 0)), {.BlnSouthFirst = true});
    std::unique_ptr<TMap> PtrGrid(TMapTools::Downscale(PtrAscending.get(), 2));
    EXPECT_EQ(YEdges(*PtrGrid), (std::vector<double>{0, 2, 4}));
}

TEST(TMapToolsDownscale, Failures) {
    auto PtrSource = MakeSource();
    TMap MapWithoutAxes(1.0, 4, 4);
    TMap MapNaN(DblNaN, 4, 4);
    MapFixtures::SetEdges(MapNaN, 0, 0, 1);
    struct TCase {
        const char* Name;
        TMap* PtrMap;
        double DblResolution;
        std::string StrMessage;
    };
    const std::string StrNotPositive = "New resolution must be > 0.0 in TMapTools::Downscale";
    const std::string StrRange = "New dimensions are out of range in TMapTools::Downscale";
    const TCase Cases[] = {
        {"zero", PtrSource.get(), 0, StrNotPositive},
        {"negative", PtrSource.get(), -1, StrNotPositive},
        {"NaN", PtrSource.get(), DblNaN, StrNotPositive},
        {"wider than the map", PtrSource.get(), 5, "Index is out of range in TAxis::GetPoint"},
        {"no axes", &MapWithoutAxes, 1, "Map has no axes in TMapTools::Downscale"},
        {"NaN resolution of the map", &MapNaN, 1, StrRange},
        // 4 / 2^-29 is 2^31 columns, one more than a map can have ...
        {"2^31 columns", PtrSource.get(), std::ldexp(1.0, -29), StrRange},
        // ... while a little less is a count, of more cells than memory holds.
        {"2^31 - 2048 columns", PtrSource.get(), std::ldexp(1.0 + std::ldexp(1.0, -20), -29),
         "Map is too large in TMap::Init"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(
            std::unique_ptr<TMap>(TMapTools::Downscale(Case.PtrMap, Case.DblResolution)),
            Case.StrMessage);
    }
}

TEST(TMapToolsBilinearInterpolate, SampleLatticeAndBorder) {
    // The written block of the result, the sample of its first cell and the Y step between rows;
    // the X step is the new resolution. A plane makes every sample's value known.
    struct TCase {
        const char* Name;
        bool BlnAscending;
        double DblResolution;
        long LngDim;
        long LngFirstColumn, LngLastColumn, LngFirstRow, LngLastRow;
        double DblX0, DblY0, DblYStep;
    };
    const TCase Cases[] = {
        {"finer", false, 0.5, 8, 2, 5, 2, 5, 1, 2.5, -0.5},
        {"same resolution shifted half a cell", false, 1, 4, 1, 2, 1, 2, 1, 2, -1},
        {"quarter", false, 0.25, 16, 4, 11, 4, 11, 1, 2.75, -0.25},
        {"rows south to north reach one step further", true, 1, 4, 1, 2, 1, 3, 1, 1, 1},
        {"too coarse for any sample", false, 1.5, 2, 0, -1, 0, -1, 0, 0, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrSource = MakePlaneSource(Case.BlnAscending);
        std::unique_ptr<TMap> PtrResult(
            TMapTools::BilinearInterpolate(PtrSource.get(), Case.DblResolution));
        ASSERT_EQ(PtrResult->GetXDim(), Case.LngDim);
        ASSERT_EQ(PtrResult->GetYDim(), Case.LngDim);
        EXPECT_EQ(PtrResult->GetResolution(), Case.DblResolution);
        EXPECT_EQ(PtrResult->GetNoData(), -9999);
        for (long LngY = 0; LngY < Case.LngDim; ++LngY)
            for (long LngX = 0; LngX < Case.LngDim; ++LngX) {
                SCOPED_TRACE(std::to_string(LngX) + ", " + std::to_string(LngY));
                const bool BlnWritten = LngX >= Case.LngFirstColumn && LngX <= Case.LngLastColumn &&
                                        LngY >= Case.LngFirstRow && LngY <= Case.LngLastRow;
                if (!BlnWritten) {
                    EXPECT_EQ(PtrResult->GetPointVal(LngX, LngY), -1);
                    continue;
                }
                const double DblX =
                    Case.DblX0 +
                    Case.DblResolution * static_cast<double>(LngX - Case.LngFirstColumn);
                const double DblY =
                    Case.DblY0 + Case.DblYStep * static_cast<double>(LngY - Case.LngFirstRow);
                EXPECT_NEAR(PtrResult->GetPointVal(LngX, LngY), Plane(DblX, DblY), 1e-9);
            }
    }
}

TEST(TMapToolsBilinearInterpolate, NeighboursOfTheSample) {
    auto PtrSource = MakeSource();
    // Between the centres of cells (0, 1) and (1, 1), and of cells (2, 2) and (2, 3).
    std::unique_ptr<TMap> PtrHalf(TMapTools::BilinearInterpolate(PtrSource.get(), 0.5));
    EXPECT_DOUBLE_EQ(PtrHalf->GetPointVal(2, 2), (16 + 32) / 2.0);
    EXPECT_DOUBLE_EQ(PtrHalf->GetPointVal(5, 5), (7 + 19) / 2.0);
    // The corner of four centres: cells (0, 1), (1, 1), (0, 2) and (1, 2).
    std::unique_ptr<TMap> PtrSame(TMapTools::BilinearInterpolate(PtrSource.get(), 1));
    EXPECT_DOUBLE_EQ(PtrSame->GetPointVal(1, 1), (16 + 32 + 3 + 5) / 4.0);
    // East of both centres of its row: extrapolated along them.
    std::unique_ptr<TMap> PtrQuarter(TMapTools::BilinearInterpolate(PtrSource.get(), 0.25));
    EXPECT_DOUBLE_EQ(PtrQuarter->GetPointVal(7, 5), -0.25 * 16 + 1.25 * 32);

    // A no-data neighbour counts as its number.
    PtrSource->SetPoint(1, 1, -9999);
    PtrSource->SetPoint(0, 1, 10);
    std::unique_ptr<TMap> PtrNoData(TMapTools::BilinearInterpolate(PtrSource.get(), 0.5));
    EXPECT_DOUBLE_EQ(PtrNoData->GetPointVal(2, 2), -4994.5);
}

TEST(TMapToolsBilinearInterpolate, Failures) {
    auto PtrSource = MakeSource();
    // Its only sample row lies on the southern boundary, which has no row south of it.
    auto PtrTwoRows = MakeFilled(0, 0, 1, 4, 2, 1);
    // A one-row result has its Y edges south first, so the row before the sample's is wanted.
    auto PtrWide = MakeFilled(0, 0, 1, 8, 2, 1);
    // A result less than one source cell and one new cell high: the first sample lies south of it.
    auto PtrOneRow = MakeFilled(0, 0, 1, 4, 1, 1);
    // A resolution that is half the spacing of the axes puts the first sample in column 0.
    TMap MapHalf(0.5, 4, 4);
    MapFixtures::SetEdges(MapHalf, 0, 0, 1);
    TMap MapWithoutAxes(1.0, 4, 4);
    // Cells of 2^1020 from the west edge 2^1023: the last X edge, 2^1024, is beyond the largest
    // double and infinite, and a step from there goes nowhere.
    const double DblHugeCell = std::ldexp(1.0, 1020);
    auto PtrHuge = MakeFilled(8 * DblHugeCell, 0, DblHugeCell, 8, 4, 1);
    struct TCase {
        const char* Name;
        TMap* PtrMap;
        double DblResolution;
        std::string StrMessage;
    };
    const std::string StrNotPositive =
        "New resolution cannot be <= 0.0 in TMapTools::BilinearInterpolate";
    const TCase Cases[] = {
        {"zero", PtrSource.get(), 0, StrNotPositive},
        {"negative", PtrSource.get(), -1, StrNotPositive},
        {"NaN is left to the grid", PtrSource.get(), DblNaN,
         "New resolution must be > 0.0 in TMapTools::Downscale"},
        {"wider than the map", PtrSource.get(), 5, "Index is out of range in TAxis::GetPoint"},
        {"no axes", &MapWithoutAxes, 1, "Map has no axes in TMapTools::BilinearInterpolate"},
        {"no western neighbour", &MapHalf, 0.5,
         "LngGetX1 is out of range in TMapTools::BilinearInterpolate"},
        {"no row before", PtrWide.get(), 1.5,
         "LngGetY1 is out of range in TMapTools::BilinearInterpolate"},
        {"one row short", PtrTwoRows.get(), 1,
         "LngGetY2 is out of range in TMapTools::BilinearInterpolate"},
        {"sample south of the result", PtrOneRow.get(), 0.5,
         "Ordinate is out of range in TAxis::GetIndex"},
        {"infinite edges", PtrHuge.get(), DblHugeCell,
         "Sample position does not advance in TMapTools::BilinearInterpolate"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(
            std::unique_ptr<TMap>(TMapTools::BilinearInterpolate(Case.PtrMap, Case.DblResolution)),
            Case.StrMessage);
    }
}

TEST(TMapToolsBilinearInterpolate, UnevenEdges) {
    // Columns and rows are found by the edges, not by the resolution. The samples x = 1 and x = 2
    // both lie in column 2 (neighbour centres 0.75 and 2); y = 2 lies in row 1 (centres 2.25 and 1
    // of rows 1 and 2) and y = 1 in row 2 (centres 1 and 0.25 of rows 2 and 3).
    auto PtrSource = MakeUnevenSource({0, 0.5, 1, 3, 4}, {4, 3, 1.5, 0.5, 0});
    std::unique_ptr<TMap> PtrResult(TMapTools::BilinearInterpolate(PtrSource.get(), 1));
    const TRows VecExpected{
        {-1, -1, -1, -1},
        {-1, 0.64 * 32 + 0.16 * 64 + 0.16 * 5 + 0.04 * 7, 0.8 * 64 + 0.2 * 7, -1},
        {-1, 0.8 * 5 + 0.2 * 7, 7, -1},
        {-1, -1, -1, -1}};
    ASSERT_EQ(PtrResult->GetXDim(), 4);
    ASSERT_EQ(PtrResult->GetYDim(), 4);
    for (long LngY = 0; LngY < 4; ++LngY)
        for (long LngX = 0; LngX < 4; ++LngX)
            EXPECT_NEAR(PtrResult->GetPointVal(LngX, LngY),
                        VecExpected[static_cast<size_t>(LngY)][static_cast<size_t>(LngX)], 1e-9)
                << "cell " << LngX << ", " << LngY;

    // The first failure in sample order wins: column by column, each column north to south.
    struct TCase {
        const char* Name;
        std::vector<double> VecXEdges;
        std::vector<double> VecYEdges;
        std::string StrMessage;
    };
    const TCase Cases[] = {
        // The first sample lies in column 0; the one south of it would lack a southern row.
        {"western neighbour before southern row",
         {0, 1.5, 2, 3, 4},
         {4, 3, 2, 1.5, 0},
         "LngGetX1 is out of range in TMapTools::BilinearInterpolate"},
        // The second sample of the first column lacks a southern row; the second column lies
        // east of the source's last edge.
        {"first column before the next",
         {0, 0.5, 1, 1.5, 1.8},
         {4, 3, 2, 1.5, 0},
         "LngGetY2 is out of range in TMapTools::BilinearInterpolate"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrUneven = MakeUnevenSource(Case.VecXEdges, Case.VecYEdges);
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::BilinearInterpolate(PtrUneven.get(), 1)),
                          Case.StrMessage);
    }
}

TEST(TMapToolsSubdivide, EachCellBecomesABlock) {
    auto PtrSource = MakeMap(0, 0, 1, {{1, 2}, {3, 4}});
    PtrSource->SetNoData(-1);
    std::unique_ptr<TMap> PtrFine(TMapTools::Subdivide(PtrSource.get(), 2));
    EXPECT_EQ(PtrFine->GetResolution(), 0.5);
    EXPECT_EQ(Cells(*PtrFine), (TRows{{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}}));
    EXPECT_EQ(XEdges(*PtrFine), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
    EXPECT_EQ(YEdges(*PtrFine), (std::vector<double>{2, 1.5, 1, 0.5, 0}));
    EXPECT_EQ(PtrFine->GetNoData(), -9999);

    std::unique_ptr<TMap> PtrCopy(TMapTools::Subdivide(PtrSource.get(), 1));
    EXPECT_EQ(PtrCopy->GetResolution(), 1);
    EXPECT_EQ(Cells(*PtrCopy), Cells(*PtrSource));
    EXPECT_EQ(XEdges(*PtrCopy), XEdges(*PtrSource));
    EXPECT_EQ(YEdges(*PtrCopy), YEdges(*PtrSource));
    EXPECT_EQ(PtrCopy->GetNoData(), -9999);

    // Three columns and two rows whose Y edges run south to north.
    auto PtrAscending = MakeMap(10, 0, 1, {{1, 2, 3}, {4, 5, 6}}, {.BlnSouthFirst = true});
    std::unique_ptr<TMap> PtrWide(TMapTools::Subdivide(PtrAscending.get(), 2));
    EXPECT_EQ(
        Cells(*PtrWide),
        (TRows{{1, 1, 2, 2, 3, 3}, {1, 1, 2, 2, 3, 3}, {4, 4, 5, 5, 6, 6}, {4, 4, 5, 5, 6, 6}}));
    EXPECT_EQ(XEdges(*PtrWide), (std::vector<double>{10, 10.5, 11, 11.5, 12, 12.5, 13}));
    EXPECT_EQ(YEdges(*PtrWide), (std::vector<double>{0, 0.5, 1, 1.5, 2}));
}

TEST(TMapToolsSubdivide, Failures) {
    auto PtrSource = MakeFilled(0, 0, 1, 2, 2, 1);
    TMap MapWithoutAxes(1.0, 2, 2);
    struct TCase {
        const char* Name;
        TMap* PtrMap;
        int IntFactor;
        std::string StrMessage;
    };
    const std::string StrNotPositive = "Subdivision factor must be > 0 in TMapTools::Subdivide";
    const TCase Cases[] = {
        {"zero", PtrSource.get(), 0, StrNotPositive},
        {"negative", PtrSource.get(), -3, StrNotPositive},
        {"no axes", &MapWithoutAxes, 2, "Map has no axes in TMapTools::Subdivide"},
        // 2 x 2^30 columns is one more than a map can have ...
        {"2^31 columns", PtrSource.get(), 1073741824,
         "New dimensions are out of range in TMapTools::Subdivide"},
        // ... while one factor less is a count, of more cells than memory holds.
        {"2^31 - 2 columns", PtrSource.get(), 1073741823, "Map is too large in TMap::Init"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Subdivide(Case.PtrMap, Case.IntFactor)),
                          Case.StrMessage);
    }
}
} // namespace
