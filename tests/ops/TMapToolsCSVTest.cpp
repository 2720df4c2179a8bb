#include "TestSupport.h"

#include "MapFixtures.h"
#include "ops/TMapTools.h"

#include <cmath>
#include <iomanip>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
using MapFixtures::MakeMap;

std::string Csv(TMap* PtrMap) {
    std::ostringstream Out;
    TMapTools::WriteCSVFile(PtrMap, Out);
    return Out.str();
}
} // namespace

TEST(TMapToolsCSVTest, WritesOneLinePerCellColumnByColumn) {
    auto PtrMap = MakeMap(0, 0, 1, {{7, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(Csv(PtrMap.get()), "0.5,2.5,7\n"
                                 "0.5,1.5,3\n"
                                 "0.5,0.5,5\n"
                                 "1.5,2.5,2\n"
                                 "1.5,1.5,4\n"
                                 "1.5,0.5,6\n");
    // The map is not changed.
    EXPECT_EQ(PtrMap->GetRow(0), (std::vector<double>{7, 2}));
}

TEST(TMapToolsCSVTest, WritesNumbersWithoutLossWhateverTheStreamSettings) {
    const double DblNaN = std::numeric_limits<double>::quiet_NaN();
    auto PtrMap = MakeMap(4512345, 5678901, 1, {{-9999, 0.1, 1234567.25, DblNaN, 1e-05, -0.0}});
    std::ostringstream Out;
    Out << std::fixed << std::setprecision(2) << std::setw(12) << std::setfill('*');
    TMapTools::WriteCSVFile(PtrMap.get(), Out);
    EXPECT_EQ(Out.str(), "4512345.5,5678901.5,-9999\n"
                         "4512346.5,5678901.5,0.1\n"
                         "4512347.5,5678901.5,1234567.25\n"
                         "4512348.5,5678901.5,nan\n"
                         "4512349.5,5678901.5,1e-05\n"
                         "4512350.5,5678901.5,-0\n");
}

TEST(TMapToolsCSVTest, RoundsAxisNoiseInTheCentresButNotInTheValues) {
    // Edges added up in steps of 0.1 carry rounding noise (0.30000000000000004), and so do
    // the centres taken from them.
    auto PtrMap = MakeMap(0, 0, 0.1, {{0.1 + 0.2, 1, 2, 3}});
    ASSERT_NE(PtrMap->GetXAxis()->GetPoint(3)->GetX(), 0.35);
    EXPECT_EQ(Csv(PtrMap.get()), "0.05,0.05,0.30000000000000004\n"
                                 "0.15,0.05,1\n"
                                 "0.25,0.05,2\n"
                                 "0.35,0.05,3\n");
}

TEST(TMapToolsCSVTest, WritesNothingForAMapWithoutCells) {
    struct TCase {
        const char* Name;
        long LngXDim;
        long LngYDim;
    };
    const TCase Cases[] = {{"no columns", 0, 3}, {"no rows", 3, 0}, {"neither", 0, 0}};
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        // Without axes too: no cell is looked up.
        TMap Map(1.0, Case.LngXDim, Case.LngYDim);
        EXPECT_EQ(Csv(&Map), "");
    }
    auto PtrNoColumns = MakeMap(0, 0, 1, {{}, {}});
    EXPECT_EQ(Csv(PtrNoColumns.get()), "");
}

TEST(TMapToolsCSVTest, FailsBeforeWritingOnAMapWithoutAxes) {
    TMap Map(1.0, 2, 2);
    std::ostringstream Out;
    EXPECT_FAILS_WITH(TMapTools::WriteCSVFile(&Map, Out),
                      "Map has no axes in TMap::GetCoordinates");
    EXPECT_EQ(Out.str(), "");
}
