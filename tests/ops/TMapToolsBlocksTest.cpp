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

namespace {
const long LngMax = std::numeric_limits<long>::max();
const long LngMin = std::numeric_limits<long>::min();

TEST(TMapToolsInsert, PlacesEachCellByItsCentre) {
    struct TCase {
        const char* Name;
        double DblWest;
        double DblSouth;
        double DblCell;
        TRows VecExpected;
    };
    const TCase Cases[] = {
        {"aligned", 1, 1, 1, {{0, 0, 0, 0}, {0, 1, 2, 0}, {0, 3, 4, 0}, {0, 0, 0, 0}}},
        {"edges coincide", 2, 0, 1, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 2}, {0, 0, 3, 4}}},
        // Four cells in one: the last row, then the last column, stays.
        {"finer", 0, 3, 0.5, {{4, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        // Centres on cell edges go to the cell east and north of the edge.
        {"coarser", 0, 0, 2, {{0, 1, 0, 2}, {0, 0, 0, 0}, {0, 3, 0, 4}, {0, 0, 0, 0}}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrDest = MakeFilled(0, 0, 1, 4, 4, 0);
        PtrDest->SetNoData(-5);
        auto PtrInsert = MakeMap(Case.DblWest, Case.DblSouth, Case.DblCell, {{1, 2}, {3, 4}});
        TMapTools::Insert(PtrDest.get(), PtrInsert.get());
        EXPECT_EQ(Cells(*PtrDest), Case.VecExpected);
        EXPECT_EQ(PtrDest->GetNoData(), -5);
        EXPECT_EQ(Cells(*PtrInsert), (TRows{{1, 2}, {3, 4}}));
    }

    auto PtrSelf = MakeMap(0, 0, 1, {{1, 2, 3}, {4, 5, 6}});
    TMapTools::Insert(PtrSelf.get(), PtrSelf.get());
    EXPECT_EQ(Cells(*PtrSelf), (TRows{{1, 2, 3}, {4, 5, 6}}));
}

TEST(TMapToolsInsert, FailuresLeaveTheDestinationUnchanged) {
    auto PtrEast = MakeFilled(3, 1, 1, 2, 2, 9);
    auto PtrNorth = MakeFilled(1, 3, 1, 2, 2, 9);
    auto PtrLarger = MakeFilled(-1, -1, 1, 6, 6, 9);
    TMap MapWithoutAxes(1.0, 2, 2);
    // Edges that pass both corner tests, the east one NaN, so that the second centre is NaN.
    auto PtrIrregular = MakeFilled(1, 2, 1, 2, 1, 9);
    TAxis AxsX(1);
    AxsX.AddPoint(new TPoint(1, 3));
    AxsX.AddPoint(new TPoint(2, 3));
    AxsX.AddPoint(new TPoint(std::nan(""), 3));
    PtrIrregular->SetXAxisInterval(&AxsX);
    struct TCase {
        const char* Name;
        TMap* PtrInsert;
        std::string StrMessage;
    };
    const std::string StrNW =
        "Insert map's NW corner is outside of the destination map in TMapTools::Insert";
    const std::string StrSE =
        "Insert map's SE corner is outside of the destination map in TMapTools::Insert";
    const TCase Cases[] = {
        {"east", PtrEast.get(), StrSE},
        {"north", PtrNorth.get(), StrNW},
        {"both corners outside", PtrLarger.get(), StrNW},
        {"no axes", &MapWithoutAxes, "Map has no axes in TMapTools::Insert"},
        // Regression: the first centre was written before the second failed.
        {"centre outside", PtrIrregular.get(), "Ordinate is out of range in TAxis::GetIndex"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrDest = MakeFilled(0, 0, 1, 4, 4, 0);
        EXPECT_FAILS_WITH(TMapTools::Insert(PtrDest.get(), Case.PtrInsert), Case.StrMessage);
        EXPECT_EQ(Cells(*PtrDest), TRows(4, std::vector<double>(4, 0)));
    }
}

TEST(TMapToolsFillBlock, SetsTheBlockOnly) {
    // Five columns and four rows.
    TMap Map(1.0, 5, 4);
    Map.InitValues(0);
    TMapTools::FillBlock(&Map, 5, 1, 1, 2, 2);
    EXPECT_EQ(Cells(Map),
              (TRows{{0, 0, 0, 0, 0}, {0, 0, 5, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}));
    TMapTools::FillBlock(&Map, 7, 2, 3, 3, 4);
    EXPECT_EQ(Cells(Map),
              (TRows{{0, 0, 0, 0, 0}, {0, 0, 5, 0, 0}, {0, 0, 0, 7, 7}, {0, 0, 0, 7, 7}}));
    TMapTools::FillBlock(&Map, 1, 0, 3, 0, 4);
    EXPECT_EQ(Cells(Map), TRows(4, std::vector<double>(5, 1)));
}

TEST(TMapToolsFillBlock, Failures) {
    struct TCase {
        const char* Name;
        long LngNorth, LngSouth, LngWest, LngEast;
        std::string StrMessage;
    };
    // The order is tested before the range, and rows before columns.
    const TCase Cases[] = {
        {"north after south", 2, 1, 0, 0,
         "Northern edge must be less than southern edge in TMapTools::FillBlock"},
        {"west after east", -1, 2, 3, 1,
         "Western edge must be less than eastern edge in TMapTools::FillBlock"},
        {"north before the first row", -1, 2, 0, 1,
         "Northern ordinate is out of range in TMapTools::FillBlock"},
        {"north past the last row", 4, 4, 0, 1,
         "Northern ordinate is out of range in TMapTools::FillBlock"},
        {"south past the last row", 0, 4, -1, 5,
         "Southern ordinate is out of range in TMapTools::FillBlock"},
        {"west before the first column", 0, 3, -1, 1,
         "Western ordinate is out of range in TMapTools::FillBlock"},
        {"east past the last column", 0, 3, 0, 5,
         "Eastern ordinate is out of range in TMapTools::FillBlock"},
        {"west past the last column", 0, 3, 5, 5,
         "Western ordinate is out of range in TMapTools::FillBlock"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TMap Map(1.0, 5, 4);
        Map.InitValues(0);
        EXPECT_FAILS_WITH(
            TMapTools::FillBlock(&Map, 5, Case.LngNorth, Case.LngSouth, Case.LngWest, Case.LngEast),
            Case.StrMessage);
        EXPECT_EQ(Cells(Map), TRows(4, std::vector<double>(5, 0)));
    }
}

TEST(TMapToolsFindPatchExtent, BoundsEveryMatchingCell) {
    struct TCell {
        long LngX, LngY;
        double DblValue;
    };
    struct TCase {
        const char* Name;
        std::vector<TCell> VecCells;
        double DblValue;
        long LngNorth, LngSouth, LngWest, LngEast;
    };
    const double DblNaN = std::nan("");
    const TCase Cases[] = {
        {"apart", {{1, 2, 7}, {3, 0, 7}}, 7, 0, 2, 1, 3},
        {"last cell", {{4, 3, 7}}, 7, 3, 3, 4, 4},
        {"first cell", {{0, 0, 7}}, 7, 0, 0, 0, 0},
        {"nowhere", {{2, 2, 6}}, 7, 0, 0, 0, 0},
        {"NaN matches nothing", {{2, 2, DblNaN}}, DblNaN, 0, 0, 0, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        // Five columns and four rows.
        TMap Map(1.0, 5, 4);
        Map.InitValues(0);
        for (const auto& Cell : Case.VecCells)
            Map.SetPoint(Cell.LngX, Cell.LngY, Cell.DblValue);
        long LngNorth = -1, LngSouth = -1, LngWest = -1, LngEast = -1;
        TMapTools::FindPatchExtent(&Map, Case.DblValue, LngNorth, LngSouth, LngWest, LngEast);
        EXPECT_EQ(LngNorth, Case.LngNorth);
        EXPECT_EQ(LngSouth, Case.LngSouth);
        EXPECT_EQ(LngWest, Case.LngWest);
        EXPECT_EQ(LngEast, Case.LngEast);
    }

    TMap MapEmpty(1.0);
    long LngNorth = -1, LngSouth = -1, LngWest = -1, LngEast = -1;
    TMapTools::FindPatchExtent(&MapEmpty, -9999, LngNorth, LngSouth, LngWest, LngEast);
    EXPECT_EQ((std::vector<long>{LngNorth, LngSouth, LngWest, LngEast}),
              (std::vector<long>{0, 0, 0, 0}));
}

TEST(TMapToolsBufferIndices, WidensWithinTheMap) {
    struct TCase {
        const char* Name;
        long LngBuffer;
        std::vector<long> VecIn;       // north, south, west, east
        std::vector<long> VecExpected; // north, south, west, east
    };
    const TCase Cases[] = {
        {"widened", 2, {3, 5, 2, 6}, {1, 7, 0, 8}},
        {"clipped at the last row and column", 2, {8, 8, 10, 10}, {6, 9, 8, 11}},
        {"whole map", 2, {0, 9, 0, 11}, {0, 9, 0, 11}},
        {"zero", 0, {3, 5, 2, 6}, {3, 5, 2, 6}},
        {"negative moves inwards", -1, {3, 5, 2, 6}, {4, 4, 3, 5}},
        {"negative is not clipped", -3, {3, 5, 2, 6}, {6, 2, 5, 3}},
        {"largest", LngMax, {3, 5, 2, 6}, {0, 9, 0, 11}},
        // Sides beyond the range of long are held at its limits.
        {"smallest", LngMin, {3, 5, 2, 6}, {LngMax, 5 + LngMin, LngMax, 6 + LngMin}},
    };
    // Twelve columns and ten rows.
    TMap Map(1.0, 12, 10);
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::vector<long> VecSides = Case.VecIn;
        TMapTools::BufferIndices(&Map, Case.LngBuffer, VecSides[0], VecSides[1], VecSides[2],
                                 VecSides[3]);
        EXPECT_EQ(VecSides, Case.VecExpected);
    }
}
} // namespace
