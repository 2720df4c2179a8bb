#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {
using MapFixtures::Cells;
using MapFixtures::MakeMap;
using MapFixtures::Own;
using MapFixtures::TRows;
using MapFixtures::XCentres;
using MapFixtures::YCentres;

// One cell at the threshold 5, one just below, no-data, NaN and one above; no-data value -1 so
// that the results' -9999 label shows.
std::unique_ptr<TMap> MakeThresholdMap() {
    return MakeMap(10, 20, 1, {{5, 4.99, -9999}, {NAN, 7, -1}}, {.DblNoData = -1});
}

TEST(TMapToolsThreshold, KeepsValuesAtOrAboveTheThreshold) {
    auto PtrA = MakeThresholdMap();
    std::unique_ptr<TMap> PtrFive(TMapTools::Threshold(PtrA.get(), 5));
    EXPECT_EQ(Cells(*PtrFive), (TRows{{5, 0, 0}, {0, 7, 0}}));
    EXPECT_EQ(PtrFive->GetNoData(), -9999);
    EXPECT_EQ(XCentres(*PtrFive), XCentres(*PtrA));
    EXPECT_EQ(YCentres(*PtrFive), YCentres(*PtrA));
    std::unique_ptr<TMap> PtrLow(TMapTools::Threshold(PtrA.get(), -10000));
    EXPECT_EQ(PtrLow->GetPointVal(2, 0), -9999);
    EXPECT_EQ(PtrLow->GetPointVal(0, 1), 0);
}

TEST(TMapToolsThreshold, ReplaceChangesValuesAtOrAboveTheThreshold) {
    auto PtrA = MakeThresholdMap();
    std::unique_ptr<TMap> PtrReplaced(TMapTools::ThresholdReplace(PtrA.get(), 5, 1));
    EXPECT_EQ(PtrReplaced->GetRow(0), (std::vector<double>{1, 4.99, -9999}));
    EXPECT_TRUE(std::isnan(PtrReplaced->GetPointVal(0, 1)));
    EXPECT_EQ(PtrReplaced->GetPointVal(1, 1), 1);
    EXPECT_EQ(PtrReplaced->GetPointVal(2, 1), -1);
    EXPECT_EQ(PtrReplaced->GetNoData(), -9999);
}

TEST(TMapToolsThreshold, ListsKeepTheirOrder) {
    EXPECT_TRUE(TMapTools::Threshold(std::vector<TMap*>{}, 1).empty());
    auto PtrA = MakeMap(0, 0, 1, {{1, 2}});
    auto PtrB = MakeMap(0, 0, 1, {{3, 0}});
    const auto VecResults = Own(TMapTools::Threshold({PtrA.get(), PtrB.get()}, 2));
    ASSERT_EQ(VecResults.size(), 2u);
    EXPECT_EQ(Cells(*VecResults[0]), (TRows{{0, 2}}));
    EXPECT_EQ(Cells(*VecResults[1]), (TRows{{3, 0}}));
    // The first result is released when the second map fails.
    auto PtrNoAxes = std::make_unique<TMap>(1.0, 2, 1);
    EXPECT_FAILS_WITH(Own(TMapTools::Threshold({PtrA.get(), PtrNoAxes.get()}, 2)),
                      "Map has no axes in TMapTools::Threshold");
}

TEST(TMapToolsReplaceValue, RecodesThroughTheTableAndDefaultsElsewhere) {
    auto PtrA = MakeMap(0, 0, 1, {{1, 2, -9999, NAN}}, {.DblNoData = -1});
    struct TCase {
        const char* PtrName;
        std::map<double, double> MapTable;
        std::vector<double> VecExpected;
    };
    const TCase Cases[] = {
        {"one entry", {{1, 10}}, {10, 0, 0, 0}},
        {"no-data mapped to itself", {{1, 10}, {-9999, -9999}}, {10, 0, -9999, 0}},
        {"empty table", {}, {0, 0, 0, 0}},
        // The table's own search would match NaN with its first key.
        {"NaN meets no key", {{-20000, 3}}, {0, 0, 0, 0}},
        // A NaN key compares false with every value, so the table's own search took it for a
        // match of every cell; it equals no value and recodes none.
        {"NaN key meets no value", {{NAN, 3}}, {0, 0, 0, 0}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        std::unique_ptr<TMap> PtrResult(TMapTools::ReplaceValue(PtrA.get(), Case.MapTable, 0));
        EXPECT_EQ(PtrResult->GetRow(0), Case.VecExpected);
        EXPECT_EQ(PtrResult->GetNoData(), -9999);
    }
}

TEST(TMapToolsCountValues, CensusInKeyOrder) {
    auto PtrA = MakeMap(0, 0, 1, {{1, 1}, {3, -9999}});
    EXPECT_EQ(TMapTools::CountValues(PtrA.get()),
              (std::map<double, long>{{-9999, 1}, {1, 2}, {3, 1}}));
    EXPECT_EQ(TMapTools::CountValues(PtrA.get(), 1), 2);
    EXPECT_EQ(TMapTools::CountValues(PtrA.get(), 2), 0);
    EXPECT_EQ(TMapTools::CountValues(PtrA.get(), -9999), 1);

    auto PtrNan = MakeMap(0, 0, 1, {{NAN, 2}, {NAN, 2}});
    EXPECT_EQ(TMapTools::CountValues(PtrNan.get()), (std::map<double, long>{{2, 2}}));
    EXPECT_EQ(TMapTools::CountValues(PtrNan.get(), NAN), 0);

    auto PtrEmpty = std::make_unique<TMap>(1.0, 0, 0);
    EXPECT_TRUE(TMapTools::CountValues(PtrEmpty.get()).empty());
    EXPECT_EQ(TMapTools::CountValues(PtrEmpty.get(), 0), 0);
}

TEST(TMapToolsCountValues, ZeroKeyTakesTheSignOfTheFirstZeroColumnByColumn) {
    // Row by row the other zero comes first; column by column this one does.
    struct TCase {
        const char* PtrName;
        TRows VecRows;
        bool BlnNegative;
    };
    const TCase Cases[] = {
        {"plus zero first", {{1, -0.0}, {0.0, 2}}, false},
        {"minus zero first", {{1, 0.0}, {-0.0, 2}}, true},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        auto PtrA = MakeMap(0, 0, 1, Case.VecRows);
        const std::map<double, long> MapCensus = TMapTools::CountValues(PtrA.get());
        EXPECT_EQ(MapCensus, (std::map<double, long>{{0, 2}, {1, 1}, {2, 1}}));
        EXPECT_EQ(std::signbit(MapCensus.begin()->first), Case.BlnNegative);
    }
}
} // namespace
