#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {
using MapFixtures::Cells;
using MapFixtures::MakeMap;
using MapFixtures::XCentres;
using MapFixtures::YCentres;

const std::vector<std::vector<double>> VecFourByThree = {
    {1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};

TEST(TMapToolsExtract, AnyTwoOppositeCornersGiveTheSameBlock) {
    auto PtrMap = MakeMap(0, 0, 1, VecFourByThree);
    PtrMap->SetNoData(-1);
    const TPoint Corners[][2] = {{TPoint(1.5, 2.5), TPoint(2.5, 1.5)},
                                 {TPoint(2.5, 1.5), TPoint(1.5, 2.5)},
                                 {TPoint(1.5, 1.5), TPoint(2.5, 2.5)},
                                 {TPoint(2.9, 1.0), TPoint(1.0, 2.99)}};
    for (const auto& Pair : Corners) {
        TPoint PntA = Pair[0], PntB = Pair[1];
        std::unique_ptr<TMap> PtrBlock(TMapTools::Extract(PtrMap.get(), &PntA, &PntB));
        EXPECT_EQ(Cells(*PtrBlock), (std::vector<std::vector<double>>{{2, 3}, {6, 7}}));
        EXPECT_EQ(XCentres(*PtrBlock), (std::vector<double>{1.5, 2.5}));
        EXPECT_EQ(YCentres(*PtrBlock), (std::vector<double>{2.5, 1.5}));
        EXPECT_EQ(PtrBlock->GetNoData(), -9999);
        EXPECT_EQ(PtrBlock->GetResolution(), 1);
    }
}

TEST(TMapToolsExtract, BoundariesAndPointsOutside) {
    auto PtrMap = MakeMap(0, 0, 1, VecFourByThree);
    // The east and north boundaries belong to the last column and the first row.
    TPoint PntNorthEast(4, 3), PntSame(3.5, 2.5), PntOutside(4.0001, 1), PntSouthWest(0, 0);
    std::unique_ptr<TMap> PtrCorner(TMapTools::Extract(PtrMap.get(), &PntNorthEast, &PntSame));
    EXPECT_EQ(Cells(*PtrCorner), (std::vector<std::vector<double>>{{4}}));
    std::unique_ptr<TMap> PtrAll(TMapTools::Extract(PtrMap.get(), &PntSouthWest, &PntNorthEast));
    EXPECT_EQ(Cells(*PtrAll), VecFourByThree);
    EXPECT_FAILS_WITH(
        std::unique_ptr<TMap>(TMapTools::Extract(PtrMap.get(), &PntSame, &PntOutside)),
        "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMapToolsIntersection, CutsBothMapsToTheCommonCells) {
    // Four columns each, west edges 0 and 2: two common columns with centres 2.5 and 3.5.
    auto PtrA = MakeMap(0, 0, 1, VecFourByThree);
    auto PtrB = MakeMap(2, -1, 1, {{21, 22, 23, 24}, {25, 26, 27, 28}, {29, 30, 31, 32}});
    TMap* PtrRawA = nullptr;
    TMap* PtrRawB = nullptr;
    TMapTools::Intersection(PtrA.get(), PtrB.get(), PtrRawA, PtrRawB);
    std::unique_ptr<TMap> PtrOutA(PtrRawA), PtrOutB(PtrRawB);
    EXPECT_EQ(Cells(*PtrOutA), (std::vector<std::vector<double>>{{7, 8}, {11, 12}}));
    EXPECT_EQ(Cells(*PtrOutB), (std::vector<std::vector<double>>{{21, 22}, {25, 26}}));
    for (const TMap* PtrOut : {PtrOutA.get(), PtrOutB.get()}) {
        EXPECT_EQ(XCentres(*PtrOut), (std::vector<double>{2.5, 3.5}));
        EXPECT_EQ(YCentres(*PtrOut), (std::vector<double>{1.5, 0.5}));
    }
}

TEST(TMapToolsIntersection, WithItselfGivesTheWholeMapTwice) {
    auto PtrA = MakeMap(100, 200, 0.5, VecFourByThree);
    PtrA->SetNoData(3);
    TMap* PtrRawA = nullptr;
    TMap* PtrRawB = nullptr;
    TMapTools::Intersection(PtrA.get(), PtrA.get(), PtrRawA, PtrRawB);
    std::unique_ptr<TMap> PtrOutA(PtrRawA), PtrOutB(PtrRawB);
    for (const TMap* PtrOut : {PtrOutA.get(), PtrOutB.get()}) {
        EXPECT_EQ(Cells(*PtrOut), VecFourByThree);
        EXPECT_EQ(PtrOut->GetNoData(), -9999);
        EXPECT_EQ(XCentres(*PtrOut), XCentres(*PtrA));
        EXPECT_EQ(YCentres(*PtrOut), YCentres(*PtrA));
    }
}

TEST(TMapToolsIntersection, OneCellOfOverlapIsEnoughTouchingIsNot) {
    auto PtrA = MakeMap(0, 0, 1, VecFourByThree);
    struct TCase {
        const char* PtrName;
        double DblWest;
        double DblSouth;
        bool BlnIntersects;
    };
    const TCase Cases[] = {
        {"one column east", 3, 0, true},       {"one row north", 0, 2, true},
        {"one cell south-west", -1, -1, true}, {"touching east", 4, 0, false},
        {"touching north", 0, 3, false},       {"touching west", -2, 0, false},
        {"touching south", 0, -2, false},      {"apart", 10, 10, false},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        auto PtrB = MakeMap(Case.DblWest, Case.DblSouth, 1, {{1, 2}, {3, 4}});
        TMap* PtrRawA = nullptr;
        TMap* PtrRawB = nullptr;
        if (Case.BlnIntersects) {
            TMapTools::Intersection(PtrA.get(), PtrB.get(), PtrRawA, PtrRawB);
            std::unique_ptr<TMap> PtrOutA(PtrRawA), PtrOutB(PtrRawB);
            EXPECT_EQ(PtrOutA->GetXDim(), PtrOutB->GetXDim());
            EXPECT_EQ(PtrOutA->GetYDim(), PtrOutB->GetYDim());
        } else {
            EXPECT_FAILS_WITH(TMapTools::Intersection(PtrA.get(), PtrB.get(), PtrRawA, PtrRawB),
                              "Maps do not intersect in TMapTools::Intersection");
            EXPECT_EQ(PtrRawA, nullptr);
            EXPECT_EQ(PtrRawB, nullptr);
        }
    }
}

// A one-row map built on cell-centre axes, as Extract and Mask build them: its two Y edges lie
// south first. The cells hold the values from west to east.
std::unique_ptr<TMap> OneRowOnCentres(double DblWest, double DblSouth,
                                      const std::vector<double>& VecValues) {
    TAxis AxsX(1.0);
    for (size_t LngI = 0; LngI < VecValues.size(); ++LngI)
        AxsX.AddPoint(new TPoint(DblWest + 0.5 + static_cast<double>(LngI), DblSouth + 0.5));
    TAxis AxsY(1.0);
    AxsY.AddPoint(new TPoint(DblWest + 0.5, DblSouth + 0.5));
    auto PtrMap = std::make_unique<TMap>(&AxsX, &AxsY);
    for (size_t LngI = 0; LngI < VecValues.size(); ++LngI)
        PtrMap->SetPoint(static_cast<long>(LngI), 0, VecValues[LngI]);
    return PtrMap;
}

// The north and south of a one-row map are the larger and the smaller of its Y edges.
TEST(TMapToolsIntersection, OneRowMapWithItsSouthEdgeFirst) {
    auto PtrA = MakeMap(0, 0, 1, VecFourByThree);
    const struct {
        const char* PtrName;
        double DblWest;
        double DblSouth;
        std::vector<std::vector<double>> VecA; // empty: the maps do not intersect
        std::vector<std::vector<double>> VecB;
    } Cases[] = {
        {"middle row", 1, 1, {{6, 7}}, {{21, 22}}},
        {"one cell at the north-east corner", 3, 2, {{4}}, {{21}}},
        {"one cell at the south-west corner", -1, 0, {{9}}, {{22}}},
        {"touching north", 1, 3, {}, {}},
        {"touching south", 1, -1, {}, {}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        auto PtrB = OneRowOnCentres(Case.DblWest, Case.DblSouth, {21, 22});
        ASSERT_EQ(MapFixtures::YEdges(*PtrB),
                  (std::vector<double>{Case.DblSouth, Case.DblSouth + 1}));
        for (const bool BlnBFirst : {false, true}) {
            SCOPED_TRACE(BlnBFirst ? "one-row map first" : "one-row map second");
            TMap* PtrFirst = BlnBFirst ? PtrB.get() : PtrA.get();
            TMap* PtrSecond = BlnBFirst ? PtrA.get() : PtrB.get();
            TMap* PtrRawA = nullptr;
            TMap* PtrRawB = nullptr;
            if (Case.VecA.empty()) {
                EXPECT_FAILS_WITH(TMapTools::Intersection(PtrFirst, PtrSecond, PtrRawA, PtrRawB),
                                  "Maps do not intersect in TMapTools::Intersection");
                continue;
            }
            TMapTools::Intersection(PtrFirst, PtrSecond, PtrRawA, PtrRawB);
            std::unique_ptr<TMap> PtrOutFirst(PtrRawA), PtrOutSecond(PtrRawB);
            const TMap& OutA = BlnBFirst ? *PtrOutSecond : *PtrOutFirst;
            const TMap& OutB = BlnBFirst ? *PtrOutFirst : *PtrOutSecond;
            EXPECT_EQ(Cells(OutA), Case.VecA);
            EXPECT_EQ(Cells(OutB), Case.VecB);
            EXPECT_EQ(XCentres(OutB), XCentres(OutA));
            EXPECT_EQ(YCentres(OutB), YCentres(OutA));
        }
    }
}

// A map without columns or rows has no cell to share, wherever its edges lie.
TEST(TMapToolsIntersection, MapWithoutCellsIntersectsNothing) {
    auto PtrA = MakeMap(0, 0, 1, VecFourByThree);
    const struct {
        long LngXDim;
        long LngYDim;
        double DblWest;
        double DblSouth;
    } Cases[] = {{0, 3, 2, 0}, {4, 0, 0, 1}, {0, 0, 2, 1}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.LngXDim << " x " << Case.LngYDim);
        TMap MapEmpty(1.0, Case.LngXDim, Case.LngYDim);
        MapFixtures::SetEdges(MapEmpty, Case.DblWest, Case.DblSouth, 1);
        TMap* PtrRawA = nullptr;
        TMap* PtrRawB = nullptr;
        EXPECT_FAILS_WITH(TMapTools::Intersection(PtrA.get(), &MapEmpty, PtrRawA, PtrRawB),
                          "Maps do not intersect in TMapTools::Intersection");
        EXPECT_FAILS_WITH(TMapTools::Intersection(&MapEmpty, PtrA.get(), PtrRawA, PtrRawB),
                          "Maps do not intersect in TMapTools::Intersection");
        EXPECT_EQ(PtrRawA, nullptr);
        EXPECT_EQ(PtrRawB, nullptr);
    }
}

TEST(TMapToolsMask, RecodesTheSecondMapOnTheFirstGrid) {
    auto PtrGrid = MakeMap(10, 10, 1, {{0, 0, 0}, {0, 0, 0}});
    auto PtrValues = MakeMap(0, 0, 1, {{1, NAN, 3}, {3, 1, -9999}});
    std::unique_ptr<TMap> PtrResult(TMapTools::Mask(PtrGrid.get(), PtrValues.get(), 3, 8));
    EXPECT_EQ(XCentres(*PtrResult), (std::vector<double>{10.5, 11.5, 12.5}));
    EXPECT_EQ(PtrResult->GetPointVal(2, 0), 8);
    EXPECT_EQ(PtrResult->GetPointVal(0, 1), 8);
    EXPECT_EQ(PtrResult->GetPointVal(0, 0), 1);
    EXPECT_TRUE(std::isnan(PtrResult->GetPointVal(1, 0)));
    EXPECT_EQ(PtrResult->GetPointVal(2, 1), -9999);
    // A NaN flag replaces nothing; a flag found in every cell fills the map.
    std::unique_ptr<TMap> PtrNan(TMapTools::Mask(PtrGrid.get(), PtrValues.get(), NAN, 8));
    EXPECT_EQ(PtrNan->GetPointVal(2, 0), 3);
    std::unique_ptr<TMap> PtrAll(TMapTools::Mask(PtrValues.get(), PtrGrid.get(), 0, 5));
    EXPECT_EQ(Cells(*PtrAll), (std::vector<std::vector<double>>{{5, 5, 5}, {5, 5, 5}}));
}

TEST(TMapToolsMask, DimensionsMustMatch) {
    auto PtrA = MakeMap(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
    auto PtrWide = MakeMap(0, 0, 1, std::vector<std::vector<double>>(5, {1, 2, 3, 4}));
    auto PtrTall = MakeMap(0, 0, 1, std::vector<std::vector<double>>(5, {1, 2, 3}));
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Mask(PtrA.get(), PtrWide.get(), 1, 0)),
                      "X dimensions do not match in TMapTools::Mask");
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Mask(PtrA.get(), PtrTall.get(), 1, 0)),
                      "Y dimensions do not match in TMapTools::Mask");
}
} // namespace
