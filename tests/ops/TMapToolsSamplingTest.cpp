#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <map>
#include <memory>
#include <vector>

using namespace MapFixtures;

namespace {
using TPointSet = std::map<double, TMapPoint*>;
// Key -> X, Y and value of the point.
using TSummary = std::map<double, std::vector<double>>;

TSummary Summary(const std::map<double, std::unique_ptr<TMapPoint>>& MapTable) {
    TSummary MapSummary;
    for (const auto& [DblKey, PtrPoint] : MapTable)
        MapSummary[DblKey] = {PtrPoint->GetX(), PtrPoint->GetY(), PtrPoint->GetValue()};
    return MapSummary;
}

// 4 x 4 cells holding 10 * row + column, X edges 0 to 4, Y edges 4 (north) down to 0.
std::unique_ptr<TMap> FourByFour() {
    TRows VecRows(4, std::vector<double>(4));
    for (size_t SztY = 0; SztY < 4; ++SztY)
        for (size_t SztX = 0; SztX < 4; ++SztX)
            VecRows[SztY][SztX] = static_cast<double>(10 * SztY + SztX);
    return MakeMap(0, 0, 1, VecRows);
}

TEST(TMapToolsFetchMapValues, ValuesUnderTheKeyedPoints) {
    auto PtrMap = FourByFour();
    TMapPoint PntWestNorth(0.5, 3.5, 99), PntInner(2.5, 0.5), PntOutside(-1, 2);
    const std::map<double, double> MapValues =
        TMapTools::FetchMapValues(PtrMap.get(), TPointSet{{3, &PntWestNorth}, {1, &PntInner}});
    EXPECT_EQ(MapValues, (std::map<double, double>{{1, 32}, {3, 0}}));
    // The point's own value is not read, and the caller's point is not changed.
    EXPECT_EQ(PntWestNorth.GetValue(), 99);
    EXPECT_TRUE(TMapTools::FetchMapValues(PtrMap.get(), TPointSet{}).empty());
    EXPECT_FAILS_WITH(
        TMapTools::FetchMapValues(PtrMap.get(), TPointSet{{1, &PntInner}, {2, &PntOutside}}),
        "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMapToolsFetchMapValues, OneTablePerMap) {
    auto PtrFirst = FourByFour();
    auto PtrSecond = MakeMap(0, 0, 1, {{7, 8}, {9, 6}});
    const std::vector<TMap*> VecMaps = {PtrFirst.get(), PtrSecond.get()};
    TMapPoint PntA(0.5, 1.5), PntB(1.5, 0.5), PntOutside(-1, 2);

    // A point set beyond the number of maps is ignored, bad points and all.
    const auto VecTables = TMapTools::FetchMapValues(
        VecMaps,
        {TPointSet{{5, &PntA}}, TPointSet{{5, &PntA}, {6, &PntB}}, TPointSet{{1, &PntOutside}}});
    ASSERT_EQ(VecTables.size(), 2u);
    EXPECT_EQ(VecTables[0], (std::map<double, double>{{5, 20}}));
    EXPECT_EQ(VecTables[1], (std::map<double, double>{{5, 7}, {6, 6}}));

    EXPECT_TRUE(TMapTools::FetchMapValues(std::vector<TMap*>{}, {}).empty());
    // The lengths are compared before any map is read: the bad point is never looked up.
    EXPECT_FAILS_WITH(TMapTools::FetchMapValues(VecMaps, {TPointSet{{1, &PntOutside}}}),
                      "Fewer point sets than maps in TMapTools::FetchMapValues");
    EXPECT_FAILS_WITH(
        TMapTools::FetchMapValues(VecMaps, {TPointSet{{1, &PntA}}, TPointSet{{1, &PntOutside}}}),
        "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMapToolsGetFirstValues, FirstCellOfEachValueInColumnOrder) {
    // The leading no-data cell is passed over, 5 is met first at (0, 1) going down column 0, and
    // no-data is entered where it follows another value, at (1, 1).
    auto PtrMap = MakeMap(0, 0, 1, {{-9999, 5}, {5, -9999}});
    EXPECT_EQ(Summary(Own(TMapTools::GetFirstValues(PtrMap.get(), {}))),
              (TSummary{{-9999, {1.5, 0.5, -9999}}, {5, {0.5, 0.5, 5}}}));
    EXPECT_EQ(Summary(Own(TMapTools::GetFirstValues(PtrMap.get(), {-9999}))),
              (TSummary{{5, {0.5, 0.5, 5}}}));

    // The map's own no-data value starts the run, not -9999.
    auto PtrOwnNoData = MakeMap(0, 0, 1, {{-1, -9999}, {-1, 3}});
    PtrOwnNoData->SetNoData(-1);
    EXPECT_EQ(Summary(Own(TMapTools::GetFirstValues(PtrOwnNoData.get(), {}))),
              (TSummary{{-9999, {1.5, 1.5, -9999}}, {3, {1.5, 0.5, 3}}}));

    auto PtrOnlyNoData = MakeMap(0, 0, 1, {{-9999, -9999}, {-9999, -9999}});
    EXPECT_TRUE(Own(TMapTools::GetFirstValues(PtrOnlyNoData.get(), {})).empty());
    EXPECT_TRUE(Own(TMapTools::GetFirstValues(PtrOnlyNoData.get(), {-9999, 1})).empty());
}

TEST(TMapToolsGetFirstValues, NaNCellsArePassedOverButEndARun) {
    // Down one column: no-data, NaN, no-data, 5. The NaN is no key, and the no-data after it no
    // longer belongs to the leading run.
    auto PtrMap = MakeMap(0, 0, 1, {{-9999}, {NAN}, {-9999}, {5}});
    EXPECT_EQ(Summary(Own(TMapTools::GetFirstValues(PtrMap.get(), {}))),
              (TSummary{{-9999, {0.5, 1.5, -9999}}, {5, {0.5, 0.5, 5}}}));
}

TEST(TMapToolsGetFirstValues, OneTablePerMapAndNoPointLeftOnFailure) {
    auto PtrFirst = MakeMap(0, 0, 1, {{1, 2}});
    auto PtrSecond = MakeMap(10, 10, 1, {{3}, {3}});
    const auto VecTables = Own(TMapTools::GetFirstValues(
        std::vector<TMap*>{PtrFirst.get(), PtrSecond.get()}, std::vector<double>{2}));
    ASSERT_EQ(VecTables.size(), 2u);
    EXPECT_EQ(Summary(VecTables[0]), (TSummary{{1, {0.5, 0.5, 1}}}));
    EXPECT_EQ(Summary(VecTables[1]), (TSummary{{3, {10.5, 11.5, 3}}}));
    EXPECT_TRUE(TMapTools::GetFirstValues(std::vector<TMap*>{}, {}).empty());

    // A map without axes cannot place its points. The first map's points are already made when
    // the second fails, and must be freed (the leak checker watches this).
    auto PtrBare = std::make_unique<TMap>(1.0, 1, 1);
    PtrBare->SetPoint(0, 0, 4);
    EXPECT_FAILS_WITH(Own(TMapTools::GetFirstValues(PtrBare.get(), {})),
                      "Map has no axes in TMap::GetCoordinates");
    const std::vector<TMap*> VecMixed = {PtrFirst.get(), PtrBare.get()};
    EXPECT_FAILS_WITH(Own(TMapTools::GetFirstValues(VecMixed, {})),
                      "Map has no axes in TMap::GetCoordinates");
}

TEST(TMapToolsGetValuesOverlay, ValuesGroupedByZone) {
    auto PtrValues = MakeMap(0, 0, 1, {{1, 2}, {3, 4}});
    auto PtrZones = MakeMap(0, 0, 1, {{7, 8}, {7, 7}});
    using TOverlay = std::map<double, std::vector<double>>;
    EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {}),
              (TOverlay{{7, {1, 3, 4}}, {8, {2}}}));
    EXPECT_EQ(TMapTools::GetValuesOverlay(PtrValues.get(), PtrZones.get(), {8}),
              (TOverlay{{7, {1, 3, 4}}}));

    // NaN zones are left out; no-data zones are keys and NaN values are listed.
    auto PtrOddValues = MakeMap(0, 0, 1, {{1, NAN}, {3, 4}});
    auto PtrOddZones = MakeMap(0, 0, 1, {{NAN, -9999}, {-9999, 1}});
    const TOverlay MapOverlay =
        TMapTools::GetValuesOverlay(PtrOddValues.get(), PtrOddZones.get(), {});
    ASSERT_EQ(MapOverlay.size(), 2u);
    EXPECT_EQ(MapOverlay.at(1), (std::vector<double>{4}));
    const std::vector<double>& VecNoData = MapOverlay.at(-9999);
    ASSERT_EQ(VecNoData.size(), 2u);
    EXPECT_EQ(VecNoData[0], 3);
    EXPECT_TRUE(std::isnan(VecNoData[1]));
}

TEST(TMapToolsGetValuesOverlay, DimensionsMustMatch) {
    auto PtrTwoByTwo = MakeMap(0, 0, 1, {{1, 2}, {3, 4}});
    auto PtrThreeByTwo = MakeMap(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
    auto PtrTwoByThree = MakeMap(0, 0, 1, {{1, 2}, {3, 4}, {5, 6}});
    auto PtrThreeByThree = MakeMap(0, 0, 1, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    EXPECT_FAILS_WITH(TMapTools::GetValuesOverlay(PtrThreeByTwo.get(), PtrTwoByTwo.get(), {}),
                      "Map X-dimensions do not match");
    EXPECT_FAILS_WITH(TMapTools::GetValuesOverlay(PtrThreeByThree.get(), PtrTwoByTwo.get(), {}),
                      "Map X-dimensions do not match");
    EXPECT_FAILS_WITH(TMapTools::GetValuesOverlay(PtrTwoByTwo.get(), PtrTwoByThree.get(), {}),
                      "Map Y-Dimensions do not match");
}
} // namespace
