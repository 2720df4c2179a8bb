#include "TestSupport.h"

#include "MapFixtures.h"
#include "model/TMap.h"

#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

std::vector<double> Ordinates(const TAxis* PtrAxis, char ChrAxis) {
    std::vector<double> VecOrdinates;
    for (long LngI = 0; LngI < PtrAxis->GetSize(); ++LngI)
        VecOrdinates.push_back(ChrAxis == 'X' ? PtrAxis->GetPoint(LngI)->GetX()
                                              : PtrAxis->GetPoint(LngI)->GetY());
    return VecOrdinates;
}

std::vector<double> Cells(const TMap& Map) {
    std::vector<double> VecCells;
    for (long LngY = 0; LngY < Map.GetYDim(); ++LngY)
        for (long LngX = 0; LngX < Map.GetXDim(); ++LngX)
            VecCells.push_back(Map.GetPointVal(LngX, LngY));
    return VecCells;
}

std::unique_ptr<TAxis> XAxis(const std::vector<double>& VecX, double DblY, double DblRes = 1) {
    auto PtrAxis = std::make_unique<TAxis>(DblRes);
    for (const double DblX : VecX)
        PtrAxis->AddPoint(new TPoint(DblX, DblY));
    return PtrAxis;
}

std::unique_ptr<TAxis> YAxis(const std::vector<double>& VecY, double DblX, double DblRes = 1) {
    auto PtrAxis = std::make_unique<TAxis>(DblRes);
    for (const double DblY : VecY)
        PtrAxis->AddPoint(new TPoint(DblX, DblY));
    return PtrAxis;
}

// A 3 x 2 grid with lower-left corner (0, 0) and cell size 1, set up as a grid file reader does:
// by its interval axes, X edges 0 to 3 at Y 2 and Y edges 2 down to 0. Cell (x, y) holds
// 10 * y + x.
std::unique_ptr<TMap> MakeGrid() {
    return MapFixtures::MakeMap(0, 0, 1, {{0, 1, 2}, {10, 11, 12}});
}

// The state of the axes of one direction, to show that a failed call left them alone.
struct TAxesState {
    const TAxis* PtrCentres;
    const TAxis* PtrEdges;
    std::vector<double> VecCentres;
    std::vector<double> VecEdges;
    bool operator==(const TAxesState&) const = default;
};

TAxesState XState(const TMap& Map) {
    return {Map.GetXAxis(), Map.GetXAxisInterval(), Ordinates(Map.GetXAxis(), 'X'),
            Ordinates(Map.GetXAxisInterval(), 'X')};
}

TAxesState YState(const TMap& Map) {
    return {Map.GetYAxis(), Map.GetYAxisInterval(), Ordinates(Map.GetYAxis(), 'Y'),
            Ordinates(Map.GetYAxisInterval(), 'Y')};
}

TEST(TMap, RegularGridWithoutAxes) {
    TMap Map(1.0, 3, 2);
    EXPECT_EQ(Map.GetResolution(), 1.0);
    EXPECT_EQ(Map.GetXDim(), 3);
    EXPECT_EQ(Map.GetYDim(), 2);
    EXPECT_EQ(Map.GetNoData(), -9999.0);
    EXPECT_EQ(Cells(Map), std::vector<double>(6, -9999.0));
    EXPECT_EQ(Map.GetXAxis(), nullptr);
    EXPECT_EQ(Map.GetYAxis(), nullptr);
    EXPECT_EQ(Map.GetXAxisInterval(), nullptr);
    EXPECT_EQ(Map.GetYAxisInterval(), nullptr);

    Map.InitValues(2.5);
    Map.SetNoData(0);
    EXPECT_EQ(Cells(Map), std::vector<double>(6, 2.5));
    EXPECT_EQ(Map.GetNoData(), 0.0);

    TMap MapEmpty(2.0);
    EXPECT_EQ(MapEmpty.GetXDim(), 0);
    EXPECT_EQ(MapEmpty.GetYDim(), 0);
    EXPECT_EQ(MapEmpty.GetNoData(), -9999.0);
}

TEST(TMap, InitRejectsDimensionsThatCannotBeHeld) {
    const long LngMax = std::numeric_limits<long>::max();
    const struct {
        const char* Name;
        long LngXDim;
        long LngYDim;
        const char* Message; // null: accepted
    } Cases[] = {
        {"negative columns", -1, 2, "Dimensions must not be negative in TMap::Init"},
        {"negative rows", 2, -1, "Dimensions must not be negative in TMap::Init"},
        {"no cells, widest possible", LngMax - 1, 0, nullptr},
        {"no cells, one edge too many", LngMax, 0, "Map is too large in TMap::Init"},
        {"no cells, tallest possible", 0, LngMax - 1, nullptr},
        {"no cells, one row edge too many", 0, LngMax, "Map is too large in TMap::Init"},
        {"more cells than a vector holds", 1L << 31, 1L << 30, "Map is too large in TMap::Init"},
        // Products that wrap around to zero in 64 bits.
        {"2^62 x 4", 1L << 62, 4, "Map is too large in TMap::Init"},
        {"2^32 x 2^32", 1L << 32, 1L << 32, "Map is too large in TMap::Init"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrMap = MakeGrid();
        if (Case.Message == nullptr) {
            PtrMap->Init(0.5, Case.LngXDim, Case.LngYDim, 7);
            EXPECT_EQ(PtrMap->GetXDim(), Case.LngXDim);
            EXPECT_EQ(PtrMap->GetYDim(), Case.LngYDim);
            EXPECT_EQ(PtrMap->GetNoData(), 7.0);
            EXPECT_EQ(PtrMap->GetResolution(), 0.5);
            EXPECT_EQ(PtrMap->GetXAxis(), nullptr);
            EXPECT_EQ(PtrMap->GetYAxisInterval(), nullptr);
        } else {
            EXPECT_FAILS_WITH(PtrMap->Init(0.5, Case.LngXDim, Case.LngYDim, 7), Case.Message);
            EXPECT_EQ(PtrMap->GetXDim(), 3);
            EXPECT_EQ(PtrMap->GetYDim(), 2);
            EXPECT_EQ(PtrMap->GetNoData(), -9999.0);
            EXPECT_EQ(Cells(*PtrMap), std::vector<double>({0, 1, 2, 10, 11, 12}));
            EXPECT_NE(PtrMap->GetXAxis(), nullptr);
        }
    }
}

TEST(TMap, GridExampleLooksUpByCoordinate) {
    auto PtrMap = MakeGrid();
    EXPECT_EQ(Ordinates(PtrMap->GetXAxis(), 'X'), std::vector<double>({0.5, 1.5, 2.5}));
    EXPECT_EQ(Ordinates(PtrMap->GetYAxis(), 'Y'), std::vector<double>({1.5, 0.5}));

    const struct {
        const char* Name;
        double DblOrdinate;
        char ChrAxis;
        long LngExpected; // -1: out of range
    } Cases[] = {
        {"west boundary", 0.0, 'X', 0},
        {"vertical edge goes east", 1.0, 'X', 1},
        {"east boundary is the last column", 3.0, 'X', 2},
        {"beyond the east boundary", std::nextafter(3.0, INFINITY), 'X', -1},
        {"beyond the west boundary", std::nextafter(0.0, -INFINITY), 'X', -1},
        {"north boundary is the first row", 2.0, 'Y', 0},
        {"beyond the north boundary", std::nextafter(2.0, INFINITY), 'Y', -1},
        {"horizontal edge goes north", 1.0, 'Y', 0},
        {"just below that edge", std::nextafter(1.0, -INFINITY), 'Y', 1},
        {"south boundary is the last row", 0.0, 'Y', 1},
        {"south of the map", -0.5, 'Y', -1},
        {"NaN", NAN, 'X', -1},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        if (Case.LngExpected < 0)
            EXPECT_FAILS_WITH(PtrMap->GetIndex(Case.DblOrdinate, Case.ChrAxis),
                              "Ordinate is out of range in TAxis::GetIndex");
        else
            EXPECT_EQ(PtrMap->GetIndex(Case.DblOrdinate, Case.ChrAxis), Case.LngExpected);
    }

    std::unique_ptr<TPoint> PtrCentre(PtrMap->GetCoordinates(2, 1));
    EXPECT_EQ(PtrCentre->GetX(), 2.5);
    EXPECT_EQ(PtrCentre->GetY(), 0.5);

    TPoint PntInside(0.25, 0.75);
    std::unique_ptr<TMapPoint> PtrAt(PtrMap->GetPoint(&PntInside));
    EXPECT_EQ(PtrAt->GetX(), 0.25);
    EXPECT_EQ(PtrAt->GetY(), 0.75);
    EXPECT_EQ(PtrAt->GetValue(), 10.0);

    std::unique_ptr<TMapPoint> PtrCell(PtrMap->GetPoint(1L, 0L));
    EXPECT_EQ(PtrCell->GetX(), 1.5);
    EXPECT_EQ(PtrCell->GetY(), 1.5);
    EXPECT_EQ(PtrCell->GetValue(), 1.0);
}

// Every point of the closed rectangle has a cell, so reads and writes by coordinate agree and
// no write lands outside the map.
TEST(TMap, CornersAndEdgesBelongToACell) {
    const struct {
        const char* Name;
        double DblX;
        double DblY;
        long LngX;
        long LngY;
    } Cases[] = {
        {"south-west corner", 0, 0, 0, 1}, {"north-east corner", 3, 2, 2, 0},
        {"south-east corner", 3, 0, 2, 1}, {"north-west corner", 0, 2, 0, 0},
        {"inner crossing", 1, 1, 1, 0},    {"cell centre", 2.5, 0.5, 2, 1},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrMap = MakeGrid();
        TPoint PntAt(Case.DblX, Case.DblY);
        const double DblOld = static_cast<double>(10 * Case.LngY + Case.LngX);
        EXPECT_EQ(PtrMap->GetPointVal(&PntAt), DblOld);
        std::unique_ptr<TMapPoint> PtrAt(PtrMap->GetPoint(&PntAt));
        EXPECT_EQ(PtrAt->GetValue(), DblOld);
        PtrMap->SetPoint(&PntAt, -1);
        std::vector<double> VecExpected = {0, 1, 2, 10, 11, 12};
        VecExpected[static_cast<size_t>(3 * Case.LngY + Case.LngX)] = -1;
        EXPECT_EQ(Cells(*PtrMap), VecExpected);
    }
}

TEST(TMap, PointsOutsideFailAndChangeNothing) {
    const double DblEast = std::nextafter(3.0, INFINITY);
    const double DblNorth = std::nextafter(2.0, INFINITY);
    const TPoint Points[] = {TPoint(DblEast, 1), TPoint(1, DblNorth), TPoint(-1, -1),
                             TPoint(NAN, 1),     TPoint(1, NAN),      TPoint(INFINITY, 1)};
    auto PtrMap = MakeGrid();
    for (TPoint PntAt : Points) {
        SCOPED_TRACE(testing::Message() << PntAt.GetX() << ", " << PntAt.GetY());
        const char* Message = "Ordinate is out of range in TAxis::GetIndex";
        EXPECT_FAILS_WITH(PtrMap->GetPointVal(&PntAt), Message);
        EXPECT_FAILS_WITH(std::unique_ptr<TMapPoint>(PtrMap->GetPoint(&PntAt)), Message);
        EXPECT_FAILS_WITH(PtrMap->SetPoint(&PntAt, -1), Message);
        EXPECT_FAILS_WITH(PtrMap->GetPointValues({&PntAt}), Message);
    }
    EXPECT_EQ(Cells(*PtrMap), std::vector<double>({0, 1, 2, 10, 11, 12}));
}

// With interval axes lengthened behind the map's back, the lookups find indices beyond the
// cells; the range checks then stop them, the column first.
TEST(TMap, LookupsCheckTheIndicesTheAxesGive) {
    auto PtrMap = MakeGrid();
    PtrMap->GetXAxisInterval()->AddPoint(new TPoint(4, 2));
    PtrMap->GetYAxisInterval()->AddPoint(new TPoint(0, -1));
    const struct {
        const char* Name;
        TPoint PntAt;
        const char* ValMessage;
        const char* PointMessage;
    } Cases[] = {
        {"east of the cells", TPoint(3.5, 1), "LngX is out of range in TMap::GetPointVal",
         "LngX is out of range in TMap::GetPoint (TPoint*)"},
        {"south of the cells", TPoint(1, -0.5), "LngY is out of range in TMap::GetPointVal",
         "LngY is out of range in TMap::GetPoint (TPoint*)"},
        {"both", TPoint(3.5, -0.5), "LngX is out of range in TMap::GetPointVal",
         "LngX is out of range in TMap::GetPoint (TPoint*)"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        TPoint PntAt = Case.PntAt;
        EXPECT_FAILS_WITH(PtrMap->GetPointVal(&PntAt), Case.ValMessage);
        EXPECT_FAILS_WITH(std::unique_ptr<TMapPoint>(PtrMap->GetPoint(&PntAt)), Case.PointMessage);
        EXPECT_FAILS_WITH(PtrMap->SetPoint(&PntAt, -1),
                          "Point is outside the map in TMap::SetPoint");
    }
    EXPECT_EQ(Cells(*PtrMap), std::vector<double>({0, 1, 2, 10, 11, 12}));
}

TEST(TMap, IndexLookupsCheckColumnThenRow) {
    auto PtrMap = MakeGrid();
    const struct {
        const char* Name;
        long LngX;
        long LngY;
        const char* ValMessage;
        const char* PointMessage;
        const char* CentreMessage;
    } Cases[] = {
        {"column -1", -1, 0, "X-ordinate is out of range in TMap::GetPointVal",
         "LngX is out of range in TMap::GetPoint (long,long)",
         "LngX is out of range for the X-axis in TMap::GetCoordinates"},
        {"column 3", 3, 0, "X-ordinate is out of range in TMap::GetPointVal",
         "LngX is out of range in TMap::GetPoint (long,long)",
         "LngX is out of range for the X-axis in TMap::GetCoordinates"},
        {"row -1", 0, -1, "Y-ordinate is out of range in TMap::GetPointVal",
         "LngY is out of range in TMap::GetPoint (long,long)",
         "LngY is out of range for the Y-axis in TMap::GetCoordinates"},
        {"row 2", 2, 2, "Y-ordinate is out of range in TMap::GetPointVal",
         "LngY is out of range in TMap::GetPoint (long,long)",
         "LngY is out of range for the Y-axis in TMap::GetCoordinates"},
        {"both", 3, 2, "X-ordinate is out of range in TMap::GetPointVal",
         "LngX is out of range in TMap::GetPoint (long,long)",
         "LngX is out of range for the X-axis in TMap::GetCoordinates"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(PtrMap->GetPointVal(Case.LngX, Case.LngY), Case.ValMessage);
        EXPECT_FAILS_WITH(std::unique_ptr<TMapPoint>(PtrMap->GetPoint(Case.LngX, Case.LngY)),
                          Case.PointMessage);
        EXPECT_FAILS_WITH(std::unique_ptr<TPoint>(PtrMap->GetCoordinates(Case.LngX, Case.LngY)),
                          Case.CentreMessage);
    }
    EXPECT_EQ(PtrMap->GetPointVal(2, 1), 12.0);
}

TEST(TMap, GetRowIsACheckedCopy) {
    auto PtrMap = MakeGrid();
    std::vector<double> VecRow = PtrMap->GetRow(1);
    EXPECT_EQ(VecRow, std::vector<double>({10, 11, 12}));
    VecRow[0] = -1;
    EXPECT_EQ(PtrMap->GetPointVal(0, 1), 10.0);
    EXPECT_FAILS_WITH(PtrMap->GetRow(-1), "Index is out of bounds in TMap::GetRow");
    EXPECT_FAILS_WITH(PtrMap->GetRow(2), "Index is out of bounds in TMap::GetRow");
}

TEST(TMap, GetPointValuesKeepsTheOrder) {
    auto PtrMap = MakeGrid();
    EXPECT_EQ(PtrMap->GetPointValues({}), std::vector<double>());
    TPoint PntA(2.5, 0.5);
    TPoint PntB(0, 2);
    TPoint PntOut(9, 9);
    EXPECT_EQ(PtrMap->GetPointValues({&PntA, &PntB, &PntA}), std::vector<double>({12, 0, 12}));
    EXPECT_FAILS_WITH(PtrMap->GetPointValues({&PntA, &PntOut}),
                      "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMap, BuiltOnAxesCopiesThem) {
    auto PtrX = XAxis({0.5, 1.5, 2.5}, 1.5);
    auto PtrY = YAxis({1.5, 0.5}, 0.5);
    TMap Map(PtrX.get(), PtrY.get());
    EXPECT_EQ(Map.GetXDim(), 3);
    EXPECT_EQ(Map.GetYDim(), 2);
    EXPECT_EQ(Map.GetResolution(), 1.0);
    EXPECT_EQ(Map.GetNoData(), -9999.0);
    EXPECT_EQ(Cells(Map), std::vector<double>(6, -9999.0));
    EXPECT_NE(Map.GetXAxis(), PtrX.get());
    EXPECT_EQ(Ordinates(Map.GetXAxisInterval(), 'X'), std::vector<double>({0, 1, 2, 3}));
    EXPECT_EQ(Ordinates(Map.GetYAxisInterval(), 'Y'), std::vector<double>({2, 1, 0}));

    // Changing the caller's axes afterwards leaves the map alone.
    PtrX->GetPoint(0)->SetX(-100);
    PtrY->SetPoint(1, new TPoint(0.5, -100));
    EXPECT_EQ(Ordinates(Map.GetXAxis(), 'X'), std::vector<double>({0.5, 1.5, 2.5}));
    EXPECT_EQ(Ordinates(Map.GetYAxis(), 'Y'), std::vector<double>({1.5, 0.5}));
}

TEST(TMap, BuiltOnAxesFailures) {
    auto PtrX = XAxis({0.5, 1.5, 2.5}, 1.5);
    const double DblResolutions[] = {0.5, std::nextafter(1.0, INFINITY), NAN};
    for (const double DblYRes : DblResolutions) {
        SCOPED_TRACE(DblYRes);
        auto PtrY = YAxis({1.5, 0.5}, 0.5, DblYRes);
        EXPECT_FAILS_WITH(TMap(PtrX.get(), PtrY.get()),
                          "Axes resolutions do not match in TMap::TMap");
    }
    auto PtrXNaN = XAxis({0.5}, 0, NAN);
    EXPECT_FAILS_WITH(TMap(PtrXNaN.get(), PtrXNaN.get()),
                      "Axes resolutions do not match in TMap::TMap");
    // The X axes are already in place when the Y axis fails; nothing may leak.
    TAxis AxsNone(1.0);
    EXPECT_FAILS_WITH(TMap(PtrX.get(), &AxsNone), "Index is out of range in TAxis::GetPoint");
}

TEST(TMap, OneRowMapHasItsSouthEdgeFirst) {
    auto PtrX = XAxis({0.5, 1.5, 2.5}, 5);
    auto PtrY = YAxis({5}, 0.5);
    TMap Map(PtrX.get(), PtrY.get());
    EXPECT_EQ(Ordinates(Map.GetYAxisInterval(), 'Y'), std::vector<double>({4.5, 5.5}));
    EXPECT_EQ(Map.GetIndex(4.5, 'Y'), 0);
    EXPECT_EQ(Map.GetIndex(5.2, 'Y'), 0);
    EXPECT_EQ(Map.GetIndex(5.5, 'Y'), 0);
    EXPECT_FAILS_WITH(Map.GetIndex(std::nextafter(5.5, INFINITY), 'Y'),
                      "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_FAILS_WITH(Map.GetIndex(std::nextafter(4.5, -INFINITY), 'Y'),
                      "Ordinate is out of range in TAxis::GetIndex");
    TPoint PntNorthEast(3, 5.5);
    Map.SetPoint(&PntNorthEast, 1);
    EXPECT_EQ(Cells(Map), std::vector<double>({-9999, -9999, 1}));
}

TEST(TMap, AxisSettersRejectWrongLengths) {
    auto PtrMap = MakeGrid();
    const TAxesState StaX = XState(*PtrMap);
    const TAxesState StaY = YState(*PtrMap);
    auto PtrFour = XAxis({0, 1, 2, 3}, 0);
    auto PtrTwo = XAxis({0, 1}, 0);
    auto PtrThree = YAxis({2, 1, 0}, 0);
    auto PtrOne = YAxis({0}, 0);
    EXPECT_FAILS_WITH(PtrMap->SetXAxis(PtrFour.get()),
                      "Length of new X axis does not match the X dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetXAxis(PtrTwo.get()),
                      "Length of new X axis does not match the X dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetYAxis(PtrThree.get()),
                      "Length of new Y axis does not match the Y dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetYAxis(PtrOne.get()),
                      "Length of new Y axis does not match the Y dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetXAxisInterval(PtrTwo.get()),
                      "Length of new X interval axis does not fit the X dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetXAxisInterval(XAxis({0, 1, 2, 3, 4}, 0).get()),
                      "Length of new X interval axis does not fit the X dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetYAxisInterval(PtrTwo.get()),
                      "Length of new Y interval axis does not fit the Y dimension of the map");
    EXPECT_FAILS_WITH(PtrMap->SetYAxisInterval(PtrFour.get()),
                      "Length of new Y interval axis does not fit the Y dimension of the map");
    EXPECT_EQ(XState(*PtrMap), StaX);
    EXPECT_EQ(YState(*PtrMap), StaY);
}

// A failure while deriving the other axis of a direction keeps both old axes in place.
TEST(TMap, AxisSetterFailingInDerivationLeavesTheMapUnchanged) {
    auto PtrMap = MakeGrid();
    const TAxesState StaX = XState(*PtrMap);
    const TAxesState StaY = YState(*PtrMap);
    TAxis AxsHoled(1.0, 3);
    AxsHoled.SetPoint(0, new TPoint(0.5, 1.5));
    AxsHoled.SetPoint(2, new TPoint(2.5, 1.5));
    EXPECT_FAILS_WITH(PtrMap->SetXAxis(&AxsHoled),
                      "Axis has an empty slot in TAxisTools::PointsToIntervals");
    TAxis AxsHoledEdges(1.0, 3);
    EXPECT_FAILS_WITH(PtrMap->SetYAxisInterval(&AxsHoledEdges),
                      "Axis has an empty slot in TAxisTools::IntervalsToPoints");
    EXPECT_EQ(XState(*PtrMap), StaX);
    EXPECT_EQ(YState(*PtrMap), StaY);

    // A map without columns: a one-edge interval axis fits and leaves an empty centre axis,
    // which cannot be set back as the centre axis.
    TMap MapNarrow(1.0, 0, 2);
    auto PtrEdge = XAxis({7}, 0);
    MapNarrow.SetXAxisInterval(PtrEdge.get());
    EXPECT_EQ(MapNarrow.GetXAxis()->GetSize(), 0);
    EXPECT_EQ(Ordinates(MapNarrow.GetXAxisInterval(), 'X'), std::vector<double>({7}));
    const TAxesState StaNarrow = XState(MapNarrow);
    TAxis AxsNone(1.0);
    EXPECT_FAILS_WITH(MapNarrow.SetXAxis(&AxsNone), "Index is out of range in TAxis::GetPoint");
    EXPECT_EQ(XState(MapNarrow), StaNarrow);
    EXPECT_FAILS_WITH(MapNarrow.GetIndex(7, 'X'), "Ordinate is out of range in TAxis::GetIndex");
}

TEST(TMap, SettingOneDirectionReplacesOnlyItsAxes) {
    auto PtrMap = MakeGrid();
    const TAxesState StaY = YState(*PtrMap);
    auto PtrX = XAxis({10.5, 11.5, 12.5}, 1.5);
    PtrMap->SetXAxis(PtrX.get());
    EXPECT_EQ(Ordinates(PtrMap->GetXAxis(), 'X'), std::vector<double>({10.5, 11.5, 12.5}));
    EXPECT_EQ(Ordinates(PtrMap->GetXAxisInterval(), 'X'), std::vector<double>({10, 11, 12, 13}));
    EXPECT_EQ(YState(*PtrMap), StaY);
    EXPECT_EQ(PtrMap->GetIndex(12.9, 'X'), 2);
    PtrX->GetPoint(0)->SetX(0);
    EXPECT_EQ(PtrMap->GetXAxis()->GetPoint(0)->GetX(), 10.5);
}

TEST(TMap, AddRowAppendsRowsOfOneLength) {
    TMap Map(1.0);
    Map.AddRow({1, 2, 3, 4});
    EXPECT_EQ(Map.GetXDim(), 4);
    EXPECT_EQ(Map.GetYDim(), 1);
    Map.AddRow({5, 6, 7, 8});
    EXPECT_EQ(Map.GetYDim(), 2);
    EXPECT_EQ(Map.GetRow(1), std::vector<double>({5, 6, 7, 8}));
    EXPECT_EQ(Map.GetPointVal(3, 0), 4.0);
    for (const std::vector<double>& VecRow :
         {std::vector<double>{1, 2, 3}, std::vector<double>{1, 2, 3, 4, 5},
          std::vector<double>{}}) {
        SCOPED_TRACE(VecRow.size());
        EXPECT_FAILS_WITH(Map.AddRow(VecRow),
                          "Row length does not match the X dimension of the map in TMap::AddRow");
    }
    EXPECT_EQ(Map.GetXDim(), 4);
    EXPECT_EQ(Map.GetYDim(), 2);
    EXPECT_EQ(Map.GetXAxis(), nullptr);

    // Only a map without rows and columns takes its width from the row.
    TMap MapWide(1.0, 3, 0);
    EXPECT_FAILS_WITH(MapWide.AddRow({1, 2, 3, 4}),
                      "Row length does not match the X dimension of the map in TMap::AddRow");
    MapWide.AddRow({1, 2, 3});
    EXPECT_EQ(MapWide.GetYDim(), 1);
    TMap MapBare(1.0);
    MapBare.AddRow({});
    EXPECT_EQ(MapBare.GetXDim(), 0);
    EXPECT_EQ(MapBare.GetYDim(), 1);
    EXPECT_FAILS_WITH(MapBare.AddRow({1}),
                      "Row length does not match the X dimension of the map in TMap::AddRow");
}

// A row added beyond the Y axis had no centre, and results built on the axes were written past
// their last row.
TEST(TMap, AddRowRefusesAMapWithYAxes) {
    auto PtrMap = MakeGrid();
    const TAxesState StaY = YState(*PtrMap);
    EXPECT_FAILS_WITH(PtrMap->AddRow({20, 21, 22}),
                      "Rows cannot be added to a map with Y axes in TMap::AddRow");
    EXPECT_EQ(PtrMap->GetYDim(), 2);
    EXPECT_EQ(YState(*PtrMap), StaY);
}

// X axes set on a map without columns describe no column: a first row may not widen the map past
// them, or the X axis would hold fewer points than the map has columns.
TEST(TMap, AddRowKeepsTheWidthOfTheXAxes) {
    TMap Map(1.0);
    auto PtrEdge = XAxis({7}, 0);
    Map.SetXAxisInterval(PtrEdge.get());
    EXPECT_FAILS_WITH(Map.AddRow({1, 2, 3, 4}),
                      "Row length does not match the X dimension of the map in TMap::AddRow");
    EXPECT_EQ(Map.GetXDim(), 0);
    EXPECT_EQ(Map.GetYDim(), 0);
    Map.AddRow({});
    EXPECT_EQ(Map.GetXDim(), 0);
    EXPECT_EQ(Map.GetYDim(), 1);
    EXPECT_EQ(Map.GetXAxis()->GetSize(), 0);
}

TEST(TMap, CoordinateOperationsNeedAxes) {
    TMap Map(1.0, 3, 2);
    TPoint PntAt(0.5, 0.5);
    EXPECT_FAILS_WITH(Map.GetIndex(0.5, 'X'), "Map has no axes in TMap::GetIndex");
    EXPECT_FAILS_WITH(Map.GetIndex(0.5, 'Y'), "Map has no axes in TMap::GetIndex");
    EXPECT_FAILS_WITH(std::unique_ptr<TPoint>(Map.GetCoordinates(0, 0)),
                      "Map has no axes in TMap::GetCoordinates");
    EXPECT_FAILS_WITH(std::unique_ptr<TMapPoint>(Map.GetPoint(0L, 0L)),
                      "Map has no axes in TMap::GetCoordinates");
    EXPECT_FAILS_WITH(Map.GetPointVal(&PntAt), "Map has no axes in TMap::GetIndex");
    EXPECT_FAILS_WITH(std::unique_ptr<TMapPoint>(Map.GetPoint(&PntAt)),
                      "Map has no axes in TMap::GetIndex");
    EXPECT_FAILS_WITH(Map.SetPoint(&PntAt, 1), "Map has no axes in TMap::GetIndex");
    EXPECT_FAILS_WITH(Map.GetPointValues({&PntAt}), "Map has no axes in TMap::GetIndex");
    EXPECT_EQ(Cells(Map), std::vector<double>(6, -9999.0));

    // With the X axes only, the column is looked up first.
    auto PtrX = XAxis({0.5, 1.5, 2.5}, 1.5);
    Map.SetXAxis(PtrX.get());
    EXPECT_EQ(Map.GetIndex(0.5, 'X'), 0);
    TPoint PntEast(5, 0.5);
    EXPECT_FAILS_WITH(Map.GetPointVal(&PntEast), "Ordinate is out of range in TAxis::GetIndex");
    EXPECT_FAILS_WITH(Map.GetPointVal(&PntAt), "Map has no axes in TMap::GetIndex");
    EXPECT_FAILS_WITH(std::unique_ptr<TPoint>(Map.GetCoordinates(0, 0)),
                      "Map has no axes in TMap::GetCoordinates");
}

TEST(TMap, SetCellsTakesOverCellsAndDropsTheAxes) {
    auto PtrMap = MakeGrid();
    PtrMap->SetCells(2, 3, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(PtrMap->GetXDim(), 2);
    EXPECT_EQ(PtrMap->GetYDim(), 3);
    EXPECT_EQ(PtrMap->GetRow(2), std::vector<double>({5, 6}));
    EXPECT_EQ(PtrMap->GetXAxis(), nullptr);
    EXPECT_EQ(PtrMap->GetYAxisInterval(), nullptr);
    PtrMap->SetCells(0, 4, {});
    EXPECT_EQ(PtrMap->GetXDim(), 0);
    EXPECT_EQ(PtrMap->GetYDim(), 4);

    const struct {
        const char* Name;
        long LngXDim;
        long LngYDim;
        size_t SizCells;
    } Cases[] = {
        {"one cell short", 3, 2, 5},
        {"one cell over", 3, 2, 7},
        {"no columns, cells", 0, 1, 1},
        {"negative columns", -2, -3, 6},
        {"negative rows", 2, -3, 6},
        {"rows do not divide", 4, 1, 6},
        {"rows beyond an interval axis", 0, LONG_MAX, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrGrid = MakeGrid();
        const TAxesState StaX = XState(*PtrGrid);
        EXPECT_FAILS_WITH(
            PtrGrid->SetCells(Case.LngXDim, Case.LngYDim, std::vector<double>(Case.SizCells, 1.0)),
            "Cell count does not match the dimensions in TMap::SetCells");
        EXPECT_EQ(Cells(*PtrGrid), std::vector<double>({0, 1, 2, 10, 11, 12}));
        EXPECT_EQ(XState(*PtrGrid), StaX);
    }
}

} // namespace
