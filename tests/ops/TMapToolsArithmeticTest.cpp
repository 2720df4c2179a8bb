#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {
using MapFixtures::Cells;
using MapFixtures::MakeMap;
using MapFixtures::TRows;
using MapFixtures::XCentres;
using MapFixtures::YCentres;

using TMapOperation = std::function<TMap*(TMap*, TMap*)>;

struct TOperationCase {
    const char* PtrName;
    TMapOperation Operation;
};

const TOperationCase CrossResolutionOperations[] = {
    {"Add", [](TMap* PtrA, TMap* PtrB) { return TMapTools::Add(PtrA, PtrB); }},
    {"Multiply", [](TMap* PtrA, TMap* PtrB) { return TMapTools::Multiply(PtrA, PtrB); }},
    {"Divide", [](TMap* PtrA, TMap* PtrB) { return TMapTools::Divide(PtrA, PtrB); }},
};

// A 2 x 2 map of cell size 2 over the square (0, 0) to (4, 4), no-data -9999, and a 4 x 4 map of
// cell size 1 over the same square, no-data -1.
std::unique_ptr<TMap> MakeCoarse() { return MakeMap(0, 0, 2, {{10, 20}, {30, -9999}}); }
std::unique_ptr<TMap> MakeFine() {
    return MakeMap(0, 0, 1, {{1, 2, 3, 4}, {5, -1, 7, 8}, {9, 10, 11, 12}, {13, 14, -9999, 16}},
                   {.DblNoData = -1});
}

TEST(TMapToolsAdd, TheFinerMapSetsTheGridWhicheverArgumentItIs) {
    auto PtrCoarse = MakeCoarse();
    auto PtrFine = MakeFine();
    // The coarse -9999 is no-data there and gives the fine map's no-data value; the fine -9999 is
    // data for the fine map (its no-data value is -1).
    const TRows VecExpected = {
        {11, 12, 23, 24}, {15, -1, 27, 28}, {39, 40, -1, -1}, {43, 44, -1, -1}};
    for (const bool BlnFineFirst : {false, true}) {
        SCOPED_TRACE(BlnFineFirst ? "fine map first" : "fine map second");
        std::unique_ptr<TMap> PtrSum(BlnFineFirst ? TMapTools::Add(PtrFine.get(), PtrCoarse.get())
                                                  : TMapTools::Add(PtrCoarse.get(), PtrFine.get()));
        EXPECT_EQ(Cells(*PtrSum), VecExpected);
        EXPECT_EQ(PtrSum->GetNoData(), -1);
        EXPECT_EQ(PtrSum->GetResolution(), 1);
        EXPECT_EQ(XCentres(*PtrSum), (std::vector<double>{0.5, 1.5, 2.5, 3.5}));
        EXPECT_EQ(YCentres(*PtrSum), (std::vector<double>{3.5, 2.5, 1.5, 0.5}));
    }
}

TEST(TMapToolsAdd, EqualResolutionsMeetByCoordinatesOnTheFirstGrid) {
    // B starts one column further west, so A's column x meets B's column x + 1.
    // A's no-data cell and B's meet data cells; both give A's no-data value.
    auto PtrA = MakeMap(0, 0, 1, {{1, 2}, {-5, 4}}, {.DblNoData = -5});
    auto PtrB = MakeMap(-1, 0, 1, {{100, 200, 300}, {400, 500, -9999}});
    std::unique_ptr<TMap> PtrSum(TMapTools::Add(PtrA.get(), PtrB.get()));
    EXPECT_EQ(Cells(*PtrSum), (TRows{{201, 302}, {-5, -5}}));
    EXPECT_EQ(PtrSum->GetNoData(), -5);
    EXPECT_EQ(XCentres(*PtrSum), (std::vector<double>{0.5, 1.5}));
}

TEST(TMapToolsMultiply, CrossResolutionProductsAndNoData) {
    auto PtrCoarse = MakeCoarse();
    auto PtrFine = MakeFine();
    std::unique_ptr<TMap> PtrProduct(TMapTools::Multiply(PtrCoarse.get(), PtrFine.get()));
    EXPECT_EQ(
        Cells(*PtrProduct),
        (TRows{{10, 20, 60, 80}, {50, -1, 140, 160}, {270, 300, -1, -1}, {390, 420, -1, -1}}));
    EXPECT_EQ(PtrProduct->GetNoData(), -1);
    EXPECT_EQ(XCentres(*PtrProduct), XCentres(*PtrFine));
}

TEST(TMapToolsDivide, TheDividendSetsTheGridAndTheDivisorMustBeCoarser) {
    auto PtrCoarse = MakeCoarse();
    auto PtrFine = MakeFine();
    std::unique_ptr<TMap> PtrQuotient(TMapTools::Divide(PtrFine.get(), PtrCoarse.get()));
    EXPECT_EQ(Cells(*PtrQuotient), (TRows{{0.1, 0.2, 0.15, 0.2},
                                          {0.5, -1, 0.35, 0.4},
                                          {0.3, 10.0 / 30, -1, -1},
                                          {13.0 / 30, 14.0 / 30, -1, -1}}));
    EXPECT_EQ(PtrQuotient->GetNoData(), -1);

    // The resolutions are compared before anything else: B has no axes at all here.
    auto PtrNoAxes = std::make_unique<TMap>(1.0, 4, 4);
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Divide(PtrCoarse.get(), PtrNoAxes.get())),
                      "Divisor must be of equal of coarser resolution than the dividend in "
                      "TMapTools::Divide");
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Divide(PtrCoarse.get(), PtrFine.get())),
                      "Divisor must be of equal of coarser resolution than the dividend in "
                      "TMapTools::Divide");

    // Zero divisors are not guarded: data divided by 0 gives infinities, 0 / 0 NaN.
    auto PtrA = MakeMap(0, 0, 1, {{3, -3, 0, 4}});
    auto PtrB = MakeMap(0, 0, 1, {{0, 0, 0, 2}});
    std::unique_ptr<TMap> PtrByZero(TMapTools::Divide(PtrA.get(), PtrB.get()));
    EXPECT_EQ(PtrByZero->GetPointVal(0, 0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(PtrByZero->GetPointVal(1, 0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(PtrByZero->GetPointVal(2, 0)));
    EXPECT_EQ(PtrByZero->GetPointVal(3, 0), 2);
}

TEST(TMapToolsCrossResolution, ACentreOutsideTheOtherMapFailsEvenOnNoData) {
    // A's only cell outside B is no-data; it is looked up all the same.
    auto PtrA = MakeMap(0, 0, 1, {{-9999, 1}, {-9999, 2}});
    auto PtrShifted = MakeMap(1, 0, 1, {{5, 6}, {7, 8}});
    auto PtrNoAxes = std::make_unique<TMap>(1.0, 2, 2);
    for (const auto& Case : CrossResolutionOperations) {
        SCOPED_TRACE(Case.PtrName);
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(Case.Operation(PtrA.get(), PtrShifted.get())),
                          "Ordinate is out of range in TAxis::GetIndex");
        // The lookup's own failures pass through unchanged.
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(Case.Operation(PtrA.get(), PtrNoAxes.get())),
                          "Map has no axes in TMap::GetIndex");
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(Case.Operation(PtrNoAxes.get(), PtrA.get())),
                          std::string("Map has no axes in TMapTools::") + Case.PtrName);
    }
}

TEST(TMapToolsSubtract, PairsCellsByIndexOnTheFirstMapsAxes) {
    auto PtrA = MakeMap(0, 0, 1, {{10, 20, -1}, {40, 50, 60}}, {.DblNoData = -1});
    auto PtrB = MakeMap(500, 500, 1, {{1, 2, 3}, {-9999, 5, 6}});
    std::unique_ptr<TMap> PtrDifference(TMapTools::Subtract(PtrA.get(), PtrB.get()));
    EXPECT_EQ(Cells(*PtrDifference), (TRows{{9, 18, -1}, {-1, 45, 54}}));
    EXPECT_EQ(PtrDifference->GetNoData(), -1);
    EXPECT_EQ(XCentres(*PtrDifference), (std::vector<double>{0.5, 1.5, 2.5}));
    EXPECT_EQ(YCentres(*PtrDifference), (std::vector<double>{1.5, 0.5}));

    auto PtrWideTall = MakeMap(0, 0, 1, TRows(3, {1, 2, 3, 4}));
    auto PtrTall = MakeMap(0, 0, 1, TRows(3, {1, 2, 3}));
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Subtract(PtrA.get(), PtrWideTall.get())),
                      "X dimensions do not match in TMapTools::Subtract");
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Subtract(PtrA.get(), PtrTall.get())),
                      "Y dimensions do not match in TMapTools::Subtract");
}

TEST(TMapToolsScalar, MultiplyTestsMinus9999AndDivideTestsTheMapsOwnNoData) {
    // A map whose no-data value is -1: Multiply takes -1 for data, Divide keeps it.
    auto PtrA = MakeMap(0, 0, 1, {{-1, -9999, 3}}, {.DblNoData = -1});
    std::unique_ptr<TMap> PtrProduct(TMapTools::Multiply(PtrA.get(), 2.0));
    EXPECT_EQ(Cells(*PtrProduct), (TRows{{-2, -9999, 6}}));
    EXPECT_EQ(PtrProduct->GetNoData(), -9999);
    std::unique_ptr<TMap> PtrQuotient(TMapTools::Divide(PtrA.get(), 2.0));
    EXPECT_EQ(Cells(*PtrQuotient), (TRows{{-1, -4999.5, 1.5}}));
    EXPECT_EQ(PtrQuotient->GetNoData(), -9999);
    EXPECT_EQ(XCentres(*PtrQuotient), XCentres(*PtrA));

    std::unique_ptr<TMap> PtrByZero(TMapTools::Divide(PtrA.get(), 0.0));
    EXPECT_EQ(Cells(*PtrByZero), (TRows{{-1, -std::numeric_limits<double>::infinity(),
                                         std::numeric_limits<double>::infinity()}}));
}

TEST(TMapToolsRoundContents, HalvesGoUpNegativesTruncate) {
    struct TCase {
        double DblValue;
        double DblExpected;
    };
    const double DblInf = std::numeric_limits<double>::infinity();
    const TCase Cases[] = {
        {2.4, 2},
        {2.5, 3},
        {-2.5, -2},
        {-2.7, -2},
        {0.5, 1},
        {1.49, 1},
        {-9999, -9999},
        {2147483647.5, 2147483648.0},
        {-2147483648.5, -2147483648.0},
        {3e9 + 0.5, 3e9 + 1},
        {-3e9 - 0.75, -3e9},
        {1e300, 1e300},
        {DblInf, DblInf},
        {-DblInf, -DblInf},
    };
    TRows VecRows(1);
    for (const auto& Case : Cases)
        VecRows[0].push_back(Case.DblValue);
    VecRows[0].insert(VecRows[0].end(), {-0.5, -0.3, NAN});
    auto PtrA = MakeMap(0, 0, 1, VecRows, {.DblNoData = -1});
    std::unique_ptr<TMap> PtrRounded(TMapTools::RoundContents(PtrA.get()));
    long LngX = 0;
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.DblValue);
        EXPECT_EQ(PtrRounded->GetPointVal(LngX++, 0), Case.DblExpected);
    }
    // A whole part of 0 taken as an integer has no sign: -0.5 and -0.3 round to +0.
    EXPECT_EQ(PtrRounded->GetPointVal(LngX, 0), 0);
    EXPECT_FALSE(std::signbit(PtrRounded->GetPointVal(LngX++, 0)));
    EXPECT_FALSE(std::signbit(PtrRounded->GetPointVal(LngX++, 0)));
    EXPECT_TRUE(std::isnan(PtrRounded->GetPointVal(LngX, 0)));
    EXPECT_EQ(PtrRounded->GetNoData(), -9999);
}

TEST(TMapToolsArithmetic, MapsOnTheirOwnAxesNeedAxesOfOneResolution) {
    // X edges one unit apart, Y edges two: the result cannot be built on these axes.
    auto PtrA = std::make_unique<TMap>(1.0, 2, 1);
    TAxis AxsX(1.0), AxsY(2.0);
    AxsX.AddPoint(new TPoint(0, 2));
    AxsX.AddPoint(new TPoint(1, 2));
    AxsX.AddPoint(new TPoint(2, 2));
    AxsY.AddPoint(new TPoint(0, 2));
    AxsY.AddPoint(new TPoint(0, 0));
    PtrA->SetXAxisInterval(&AxsX);
    PtrA->SetYAxisInterval(&AxsY);
    auto PtrB = MakeMap(0, 0, 1, {{1, 2}});
    const TOperationCase Cases[] = {
        {"Subtract", [](TMap* PtrM, TMap* PtrN) { return TMapTools::Subtract(PtrM, PtrN); }},
        {"Multiply", [](TMap* PtrM, TMap*) { return TMapTools::Multiply(PtrM, 2.0); }},
        {"Divide", [](TMap* PtrM, TMap*) { return TMapTools::Divide(PtrM, 2.0); }},
        {"RoundContents", [](TMap* PtrM, TMap*) { return TMapTools::RoundContents(PtrM); }},
    };
    auto PtrNoAxes = std::make_unique<TMap>(1.0, 2, 1);
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(Case.Operation(PtrA.get(), PtrB.get())),
                          "Axes resolutions do not match in TMap::TMap");
        EXPECT_FAILS_WITH(std::unique_ptr<TMap>(Case.Operation(PtrNoAxes.get(), PtrB.get())),
                          std::string("Map has no axes in TMapTools::") + Case.PtrName);
    }
}
} // namespace
