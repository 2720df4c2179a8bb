#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace MapFixtures;

namespace {
// Four 2 x 2 maps. Cell (0, 0) climbs 1, 3, 5, 7; cell (1, 0) falls 10, 7, 4, 1; cell (0, 1)
// stays 2; cell (1, 1) climbs 0, 4, 8, 12 from a 0.
TStack FourSteps() {
    TStack Stack;
    for (double DblK = 0; DblK < 4; ++DblK)
        Stack.Add(MakeMap(0, 0, 1, {{1 + 2 * DblK, 10 - 3 * DblK}, {2, 4 * DblK}}));
    return Stack;
}

// Single-cell maps holding the values, each with its own no-data value.
TStack Column(const std::vector<double>& VecValues, const std::vector<double>& VecNoData) {
    TStack Stack;
    for (size_t SztI = 0; SztI < VecValues.size(); ++SztI)
        Stack.Add(MakeMap(0, 0, 1, {{VecValues[SztI]}}, {.DblNoData = VecNoData[SztI]}));
    return Stack;
}

TEST(TMapToolsValueGradients, OneSlopeMapPerWindow) {
    const TStack Stack = FourSteps();
    // A cell that is 0 in the window's first map keeps -9999, whatever follows.
    auto VecWhole = Own(TMapTools::ValueGradients(Stack.Maps(), 3));
    ASSERT_EQ(VecWhole.size(), 1u);
    EXPECT_EQ(Cells(*VecWhole[0]), (TRows{{2, -3}, {0, -9999}}));

    auto VecSteps = Own(TMapTools::ValueGradients(Stack.Maps(), 1));
    ASSERT_EQ(VecSteps.size(), 3u);
    EXPECT_EQ(Cells(*VecSteps[0]), (TRows{{2, -3}, {0, -9999}}));
    EXPECT_EQ(Cells(*VecSteps[1]), (TRows{{2, -3}, {0, 4}}));
    EXPECT_EQ(Cells(*VecSteps[2]), (TRows{{2, -3}, {0, 4}}));

    EXPECT_TRUE(TMapTools::ValueGradients(Stack.Maps(), 4).empty());
}

TEST(TMapToolsValueGradients, SlopeMapsLieOnTheFirstMapsAxes) {
    TStack Stack;
    Stack.Add(MakeMap(10, 20, 2, {{1, 2}, {3, 4}}));
    Stack.VecOwned[0]->SetNoData(4);
    // Coordinates of the later maps are not compared.
    Stack.Add(MakeMap(-5, 7, 0.5, {{2, 4}, {6, 8}}));
    auto VecSlopes = Own(TMapTools::ValueGradients(Stack.Maps(), 1));
    ASSERT_EQ(VecSlopes.size(), 1u);
    const TMap& Slopes = *VecSlopes[0];
    EXPECT_EQ(XCentres(Slopes), (std::vector<double>{11, 13}));
    EXPECT_EQ(YCentres(Slopes), (std::vector<double>{23, 21}));
    EXPECT_EQ(Slopes.GetResolution(), 2);
    EXPECT_EQ(Slopes.GetNoData(), -9999);
    // The first map's no-data cell is left out: one value, a NaN slope.
    const TRows VecCells = Cells(Slopes);
    EXPECT_EQ(VecCells[0], (std::vector<double>{1, 2}));
    EXPECT_EQ(VecCells[1][0], 3);
    EXPECT_TRUE(std::isnan(VecCells[1][1]));
}

TEST(TMapToolsValueGradients, ZerosArePatchedFromTheirOwnMapExceptInTheLastMap) {
    // Cell (0, 0) reads 1, 0, 0, 0. Map 1 patches its 0 with 4 from its eastern neighbour, map 2
    // has only zeros around and keeps 0, and map 3 is the window's last, so its 0 stays although
    // 9 lies next to it. Patching from the wrong map would take map 0's centre value 1.
    TStack Stack;
    Stack.Add(MakeMap(0, 0, 1, {{1, 0}}));
    Stack.Add(MakeMap(0, 0, 1, {{0, 4}}));
    Stack.Add(MakeMap(0, 0, 1, {{0, 0}}));
    Stack.Add(MakeMap(0, 0, 1, {{0, 9}}));
    auto VecSlopes = Own(TMapTools::ValueGradients(Stack.Maps(), 3));
    ASSERT_EQ(VecSlopes.size(), 1u);
    // The fit of (0, 1), (1, 4), (2, 0), (3, 0).
    EXPECT_DOUBLE_EQ(VecSlopes[0]->GetPointVal(0, 0), -0.7);
    EXPECT_EQ(VecSlopes[0]->GetPointVal(1, 0), -9999);
}

TEST(TMapToolsValueGradients, EachValueIsTestedAgainstItsOwnMapsNoData) {
    struct TCase {
        const char* PtrName;
        std::vector<double> VecValues;
        std::vector<double> VecNoData;
        double DblSlope;
    };
    const TCase Cases[] = {
        {"no-data in the middle", {5, -9999, 9}, {-9999, -9999, -9999}, 2},
        {"no-data in the last map", {5, 9, -9999}, {-9999, -9999, -9999}, 4},
        {"another map's no-data is data", {5, 9, -9999}, {-9999, -9999, -1}, -5002},
        {"no-data in the first map is fitted around", {-9999, 4, 6}, {-9999, -1, -1}, 2},
        {"a single value gives NaN", {5, -9999, -1}, {-9999, -9999, -1}, NAN},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        const TStack Stack = Column(Case.VecValues, Case.VecNoData);
        auto VecSlopes = Own(TMapTools::ValueGradients(Stack.Maps(), 2));
        ASSERT_EQ(VecSlopes.size(), 1u);
        const double DblSlope = VecSlopes[0]->GetPointVal(0, 0);
        if (std::isnan(Case.DblSlope))
            EXPECT_TRUE(std::isnan(DblSlope)) << DblSlope;
        else
            EXPECT_DOUBLE_EQ(DblSlope, Case.DblSlope);
    }
}

TEST(TMapToolsValueGradients, Failures) {
    const TStack Stack = FourSteps();
    // The window test comes before every other, also on an empty list.
    EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients(Stack.Maps(), 0)),
                      "Window size must be > 0 in TMapTools::ValueGradients");
    EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients({}, -1)),
                      "Window size must be > 0 in TMapTools::ValueGradients");
    EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients(Stack.Maps(), 5)),
                      "Window size must be < number of maps in TMapTools::ValueGradients");
    EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients({}, 1)),
                      "Window size must be < number of maps in TMapTools::ValueGradients");

    for (const TRows& VecOdd : {TRows{{1, 2, 3}, {4, 5, 6}}, TRows{{1, 2}}}) {
        TStack Mixed = FourSteps();
        Mixed.Add(MakeMap(0, 0, 1, VecOdd));
        EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients(Mixed.Maps(), 1)),
                          "Map dimensions do not match in TMapTools::ValueGradients");
    }

    TStack Bare;
    Bare.Add(std::make_unique<TMap>(1.0, 2, 2));
    Bare.Add(std::make_unique<TMap>(1.0, 2, 2));
    EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients(Bare.Maps(), 1)),
                      "Map has no axes in TMapTools::ValueGradients");
    // No window, no slope map: the axes are not needed.
    EXPECT_TRUE(TMapTools::ValueGradients(Bare.Maps(), 2).empty());

    TStack Skewed = FourSteps();
    TAxis AxsY(0.5);
    for (double DblY : {2.0, 1.0, 0.0})
        AxsY.AddPoint(new TPoint(0, DblY));
    Skewed.VecOwned[0]->SetYAxisInterval(&AxsY);
    EXPECT_FAILS_WITH(Own(TMapTools::ValueGradients(Skewed.Maps(), 1)),
                      "Axes resolutions do not match in TMap::TMap");
}

TEST(TMapToolsGetValuesVector, ValuesAcrossTheMapsAndFailures) {
    const TStack Stack = FourSteps();
    EXPECT_EQ(TMapTools::GetValuesVector(Stack.Maps(), 1, 0, 1, 3), (std::vector<double>{7, 4, 1}));
    EXPECT_EQ(TMapTools::GetValuesVector(Stack.Maps(), 0, 0, 0, 1), (std::vector<double>{1, 3}));

    struct TCase {
        int IntStart;
        int IntEnd;
        const char* PtrMessage;
    };
    const TCase Cases[] = {
        {-1, 2, "Start map number is out of range in TMapTools::GetValuesVector"},
        {4, 2, "Start map number is out of range in TMapTools::GetValuesVector"},
        {0, 4, "End map number is out of range in TMapTools::GetValuesVector"},
        {0, -1, "End map number is out of range in TMapTools::GetValuesVector"},
        {2, 2, "Stat map number must be less than end map number"},
        {3, 1, "Stat map number must be less than end map number"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::to_string(Case.IntStart) + " to " + std::to_string(Case.IntEnd));
        EXPECT_FAILS_WITH(
            TMapTools::GetValuesVector(Stack.Maps(), 0, 0, Case.IntStart, Case.IntEnd),
            Case.PtrMessage);
    }
    EXPECT_FAILS_WITH(TMapTools::GetValuesVector(Stack.Maps(), 2, 0, 0, 1),
                      "X-ordinate is out of range in TMap::GetPointVal");
    EXPECT_FAILS_WITH(TMapTools::GetValuesVector(Stack.Maps(), 0, -1, 0, 1),
                      "Y-ordinate is out of range in TMap::GetPointVal");
}

TEST(TMapToolsFindNonzeroNeighbourVal, EasternmostColumnThenNorthernmostRow) {
    struct TCase {
        const char* PtrName;
        TRows VecRows;
        long LngX;
        long LngY;
        double DblExpected;
    };
    const TCase Cases[] = {
        {"last column wins", {{0, 5, 0}, {0, 0, 0}, {7, 0, 9}}, 1, 1, 9},
        {"northernmost row of its column", {{0, 5, 0}, {0, 3, 0}, {7, 0, 0}}, 1, 1, 5},
        {"block cut at the corner", {{0, 5, 0}, {0, 0, 0}, {7, 0, 9}}, 0, 0, 5},
        {"centre cell counts", {{0, 0, 0}, {0, 6, 0}, {0, 0, 0}}, 1, 1, 6},
        {"two cells away is outside", {{0, 0, 8}, {0, 0, 0}, {0, 0, 8}}, 0, 1, 0},
        {"no-data is not 0", {{0, 0}, {0, -9999}}, 0, 0, -9999},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        auto PtrMap = MakeMap(0, 0, 1, Case.VecRows);
        EXPECT_EQ(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), Case.LngX, Case.LngY),
                  Case.DblExpected);
    }
    auto PtrNaN = MakeMap(0, 0, 1, {{0, NAN}});
    EXPECT_TRUE(std::isnan(TMapTools::FindNonzeroNeighbourVal(PtrNaN.get(), 0, 0)));

    auto PtrMap = MakeMap(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
    EXPECT_FAILS_WITH(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), 3, 0),
                      "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
    EXPECT_FAILS_WITH(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), -1, 5),
                      "X-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
    EXPECT_FAILS_WITH(TMapTools::FindNonzeroNeighbourVal(PtrMap.get(), 0, 2),
                      "Y-ordinate is out of range in TMapTools::FindNonzeroNeighbourVal");
}
} // namespace
