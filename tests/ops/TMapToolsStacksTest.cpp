#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {
using MapFixtures::Cells;
using MapFixtures::MakeMap;
using MapFixtures::Own;
using MapFixtures::TRows;
using MapFixtures::XCentres;
using MapFixtures::YCentres;

TEST(TMapToolsSum, FirstMapWithoutDataInListOrderGivesItsNoData) {
    // Cells: all data; A without data; B without data; B and C without data; NaN as data.
    auto PtrA = MakeMap(0, 0, 1, {{2, -1, 2, 2, NAN}}, {.DblNoData = -1});
    auto PtrB = MakeMap(100, 100, 1, {{5, -2, -2, -2, 1}}, {.DblNoData = -2});
    auto PtrC = MakeMap(0, 0, 1, {{0.5, 1, 1, -3, 1}}, {.DblNoData = -3});
    std::unique_ptr<TMap> PtrTwo(TMapTools::Sum({PtrA.get(), PtrB.get()}));
    EXPECT_EQ(PtrTwo->GetRow(0)[0], 7);
    EXPECT_EQ(PtrTwo->GetRow(0)[1], -1);
    EXPECT_EQ(PtrTwo->GetRow(0)[2], -2);
    std::unique_ptr<TMap> PtrThree(TMapTools::Sum({PtrA.get(), PtrB.get(), PtrC.get()}));
    const std::vector<double> VecRow = PtrThree->GetRow(0);
    EXPECT_EQ(std::vector<double>(VecRow.begin(), VecRow.end() - 1),
              (std::vector<double>{7.5, -1, -2, -2}));
    EXPECT_TRUE(std::isnan(VecRow.back()));
    // Met by index: the result lies on the first map's axes, labelled -9999.
    EXPECT_EQ(PtrThree->GetNoData(), -9999);
    EXPECT_EQ(XCentres(*PtrThree), XCentres(*PtrA));
    EXPECT_EQ(YCentres(*PtrThree), YCentres(*PtrA));
}

TEST(TMapToolsStacks, ListChecksInListOrder) {
    auto PtrA = MakeMap(0, 0, 1, {{1, 2}, {3, 4}});
    auto PtrWide = MakeMap(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
    auto PtrTall = MakeMap(0, 0, 1, {{1, 2}, {3, 4}, {5, 6}});
    auto PtrBoth = MakeMap(0, 0, 1, {{1, 2, 3}});
    struct TCase {
        const char* PtrName;
        std::vector<TMap*> VecMaps;
        const char* PtrWhat; // "X" or "Y"; nullptr for too few maps
    };
    const TCase Cases[] = {
        {"no maps", {}, nullptr},
        {"one map", {PtrA.get()}, nullptr},
        {"wider map first", {PtrA.get(), PtrA.get(), PtrWide.get(), PtrTall.get()}, "X"},
        {"taller map first", {PtrA.get(), PtrTall.get(), PtrWide.get()}, "Y"},
        {"columns before rows", {PtrA.get(), PtrBoth.get()}, "X"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        for (const std::string StrOperation : {"Sum", "DataCounts", "Average"}) {
            SCOPED_TRACE(StrOperation);
            auto Run = [&]() {
                if (StrOperation == "Sum")
                    return TMapTools::Sum(Case.VecMaps);
                if (StrOperation == "DataCounts")
                    return TMapTools::DataCounts(Case.VecMaps);
                return TMapTools::Average(Case.VecMaps);
            };
            const std::string StrIn = StrOperation == "DataCounts" ? "DataCounts" : "Sum";
            if (Case.PtrWhat != nullptr)
                EXPECT_FAILS_WITH(std::unique_ptr<TMap>{Run()},
                                  std::string(Case.PtrWhat) +
                                      "-dimension of maps are inconsistent in TMapTools::" + StrIn);
            else if (StrOperation != "DataCounts")
                EXPECT_FAILS_WITH(std::unique_ptr<TMap>{Run()},
                                  "Must have more than 2 maps to sum in TMapTools::Sum");
        }
    }
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::DataCounts({})),
                      "Map list is empty in TMapTools::DataCounts");
    auto PtrNoAxes = std::make_unique<TMap>(1.0, 2, 2);
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TMapTools::Average({PtrNoAxes.get(), PtrA.get()})),
                      "Map has no axes in TMapTools::Sum");
}

TEST(TMapToolsDataCounts, CountsMapsWithDataPerCell) {
    auto PtrA = MakeMap(0, 0, 1, {{1, -9999, NAN}});
    std::unique_ptr<TMap> PtrSingle(TMapTools::DataCounts({PtrA.get()}));
    EXPECT_EQ(Cells(*PtrSingle), (TRows{{1, 0, 1}}));
    // Each map is tested against its own no-data value.
    auto PtrB = MakeMap(7, 7, 1, {{-9999, -9999, -1}}, {.DblNoData = -1});
    std::unique_ptr<TMap> PtrCounts(TMapTools::DataCounts({PtrA.get(), PtrB.get(), PtrA.get()}));
    EXPECT_EQ(Cells(*PtrCounts), (TRows{{3, 1, 2}}));
    EXPECT_EQ(PtrCounts->GetNoData(), -9999);
    EXPECT_EQ(XCentres(*PtrCounts), XCentres(*PtrA));
}

TEST(TMapToolsAverage, MeanWhereEveryMapHasData) {
    auto PtrA = MakeMap(0, 0, 1, {{1, 1, 1}});
    auto PtrB = MakeMap(0, 0, 1, {{2, -9999, 2}});
    // Its own no-data value -1 is not the sum's -9999: it is divided by the count of maps with
    // data (2) like any value.
    auto PtrC = MakeMap(0, 0, 1, {{6, 6, -1}}, {.DblNoData = -1});
    std::unique_ptr<TMap> PtrMean(TMapTools::Average({PtrA.get(), PtrB.get(), PtrC.get()}));
    EXPECT_EQ(Cells(*PtrMean), (TRows{{3, -9999, -0.5}}));
    EXPECT_EQ(PtrMean->GetNoData(), -9999);
    EXPECT_EQ(XCentres(*PtrMean), XCentres(*PtrA));
}

TEST(TMapToolsMovingAverage, WindowsRunForwardFromTheFirstMap) {
    // Map k holds k and k squared, so every window has its own mean.
    std::vector<std::unique_ptr<TMap>> VecOwned;
    std::vector<TMap*> VecMaps;
    for (double DblK = 1; DblK <= 5; ++DblK) {
        VecOwned.push_back(MakeMap(0, 0, 1, {{DblK, DblK * DblK}}));
        VecMaps.push_back(VecOwned.back().get());
    }
    struct TCase {
        int IntWindow;
        TRows VecMeans; // one row per result
    };
    const TCase Cases[] = {
        {2, {{1.5, 2.5}, {2.5, 6.5}, {3.5, 12.5}, {4.5, 20.5}}},
        {3, {{2, 14.0 / 3}, {3, 29.0 / 3}, {4, 50.0 / 3}}},
        {5, {{3, 11}}},
        {6, {}},
        {1000, {}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.IntWindow);
        const auto VecResults = Own(TMapTools::MovingAverage(VecMaps, Case.IntWindow));
        TRows VecMeans;
        for (const auto& PtrResult : VecResults)
            VecMeans.push_back(PtrResult->GetRow(0));
        EXPECT_EQ(VecMeans, Case.VecMeans);
    }
    for (const int IntWindow : {1, 0, -1, -1000}) {
        SCOPED_TRACE(IntWindow);
        EXPECT_FAILS_WITH(Own(TMapTools::MovingAverage(VecMaps, IntWindow)),
                          "Must have more than 2 maps to sum in TMapTools::Sum");
    }
    EXPECT_TRUE(TMapTools::MovingAverage({}, 1).empty());
    EXPECT_FAILS_WITH(Own(TMapTools::MovingAverage({}, 0)),
                      "Must have more than 2 maps to sum in TMapTools::Sum");

    // The fourth window fails; the three built before it are released.
    auto PtrWide = MakeMap(0, 0, 1, {{1, 2, 3}});
    VecMaps[4] = PtrWide.get();
    EXPECT_FAILS_WITH(Own(TMapTools::MovingAverage(VecMaps, 2)),
                      "X-dimension of maps are inconsistent in TMapTools::Sum");
}
} // namespace
