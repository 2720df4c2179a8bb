#include "TestSupport.h"

#include "grid/TARCGISFileTools.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {
// A map laid out as a grid file describes it: lower-left corner, cell size, rows north first.
std::unique_ptr<TMap> MakeMap(double DblWest, double DblSouth, double DblCell,
                              const std::vector<std::vector<double>>& VecRows) {
    const long LngYDim = static_cast<long>(VecRows.size());
    const long LngXDim = LngYDim == 0 ? 0 : static_cast<long>(VecRows[0].size());
    auto PtrMap = std::make_unique<TMap>(DblCell, LngXDim, LngYDim);
    for (long LngY = 0; LngY < LngYDim; ++LngY)
        for (long LngX = 0; LngX < LngXDim; ++LngX)
            PtrMap->SetPoint(LngX, LngY,
                             VecRows[static_cast<size_t>(LngY)][static_cast<size_t>(LngX)]);
    TAxis AxsY(DblCell, LngYDim + 1);
    double DblY = DblSouth;
    for (long LngJ = LngYDim; LngJ >= 0; --LngJ, DblY += DblCell)
        AxsY.SetPoint(LngJ, new TPoint(DblWest, DblY));
    const double DblNorth = AxsY.GetPoint(0)->GetY();
    TAxis AxsX(DblCell);
    double DblX = DblWest;
    for (long LngI = 0; LngI <= LngXDim; ++LngI, DblX += DblCell)
        AxsX.AddPoint(new TPoint(DblX, DblNorth));
    PtrMap->SetXAxisInterval(&AxsX);
    PtrMap->SetYAxisInterval(&AxsY);
    return PtrMap;
}

std::vector<std::vector<double>> Cells(const TMap& Map) {
    std::vector<std::vector<double>> VecRows;
    for (long LngY = 0; LngY < Map.GetYDim(); ++LngY)
        VecRows.push_back(Map.GetRow(LngY));
    return VecRows;
}

std::vector<std::unique_ptr<TMap>> Own(const std::vector<TMap*>& VecMaps) {
    std::vector<std::unique_ptr<TMap>> VecOwned;
    for (TMap* PtrMap : VecMaps)
        VecOwned.emplace_back(PtrMap);
    return VecOwned;
}

// A fresh directory for the files of one test, removed with everything in it afterwards.
class TARCGISFileToolsListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string StrTemplate =
            (std::filesystem::temp_directory_path() / "veilgrid-lists-XXXXXX").string();
        ASSERT_NE(mkdtemp(StrTemplate.data()), nullptr);
        MbrDir = StrTemplate;
    }
    void TearDown() override {
        std::error_code Ec;
        std::filesystem::remove_all(MbrDir, Ec);
    }
    std::string Path(const std::string& StrName) const { return (MbrDir / StrName).string(); }
    void WriteText(const std::string& StrName, const std::string& StrText) const {
        std::ofstream Out(Path(StrName));
        Out << StrText;
    }

    std::filesystem::path MbrDir;
};

const char* const GridA = "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                          "NODATA_value -9999\n1 2\n";
const char* const GridB = "ncols 1\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 5\n"
                          "NODATA_value -1\n3\n4\n";
} // namespace

TEST_F(TARCGISFileToolsListTest, LoadFileListLoadsEveryFileInOrder) {
    WriteText("a.asc", GridA);
    WriteText("b.asc", GridB);
    auto VecMaps =
        Own(TARCGISFileTools::LoadFileList({Path("b.asc"), Path("a.asc"), Path("b.asc")}));
    ASSERT_EQ(VecMaps.size(), 3u);
    EXPECT_EQ(Cells(*VecMaps[0]), (std::vector<std::vector<double>>{{3}, {4}}));
    EXPECT_EQ(VecMaps[0]->GetNoData(), -1.0);
    EXPECT_EQ(Cells(*VecMaps[1]), (std::vector<std::vector<double>>{{1, 2}}));
    EXPECT_EQ(Cells(*VecMaps[2]), Cells(*VecMaps[0]));
    // The same name twice gives two maps.
    EXPECT_NE(VecMaps[0].get(), VecMaps[2].get());

    EXPECT_TRUE(TARCGISFileTools::LoadFileList({}).empty());
}

TEST_F(TARCGISFileToolsListTest, LoadFileListEndsAtTheFirstFileThatFails) {
    WriteText("a.asc", GridA);
    WriteText("bad.asc", "NCOLS 2\n");
    // The map of a.asc is released (the leak checker would report it), the last file not read.
    EXPECT_FAILS_WITH(
        Own(TARCGISFileTools::LoadFileList({Path("a.asc"), Path("missing.asc"), Path("a.asc")})),
        "Unable to open file " + Path("missing.asc"));
    EXPECT_FAILS_WITH(
        Own(TARCGISFileTools::LoadFileList({Path("a.asc"), Path("bad.asc"), Path("missing.asc")})),
        "File format error: expected to find ncols tag");
}

TEST_F(TARCGISFileToolsListTest, WriteFileListWritesMapIToFileI) {
    auto PtrA = MakeMap(0, 0, 1, {{1, 2}, {3, 4}});
    auto PtrB = MakeMap(4512345, -20, 0.5, {{0.1, -9999, 1e-05}});
    TARCGISFileTools::WriteFileList({PtrA.get(), PtrB.get()}, {Path("a.asc"), Path("b.asc")});

    auto VecBack = Own(TARCGISFileTools::LoadFileList({Path("a.asc"), Path("b.asc")}));
    ASSERT_EQ(VecBack.size(), 2u);
    EXPECT_EQ(Cells(*VecBack[0]), Cells(*PtrA));
    EXPECT_EQ(Cells(*VecBack[1]), Cells(*PtrB));
    EXPECT_EQ(VecBack[1]->GetXAxisInterval()->GetPoint(0)->GetX(), 4512345.0);
    EXPECT_EQ(VecBack[1]->GetResolution(), 0.5);
    // The maps given are not changed.
    EXPECT_EQ(Cells(*PtrA), (std::vector<std::vector<double>>{{1, 2}, {3, 4}}));

    TARCGISFileTools::WriteFileList({}, {});
}

TEST_F(TARCGISFileToolsListTest, WriteFileListChecksTheLengthsBeforeWriting) {
    auto PtrA = MakeMap(0, 0, 1, {{1}});
    auto PtrB = MakeMap(0, 0, 1, {{2}});
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteFileList(
                          {PtrA.get(), PtrB.get()}, {Path("a.asc"), Path("b.asc"), Path("c.asc")}),
                      "Size of map list and filename list do not match in "
                      "TARCGISFileTools::WriteFileList");
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteFileList({PtrA.get()}, {}),
                      "Size of map list and filename list do not match in "
                      "TARCGISFileTools::WriteFileList");
    EXPECT_TRUE(std::filesystem::is_empty(MbrDir));
}

TEST_F(TARCGISFileToolsListTest, WriteFileListStopsAtTheFirstFileThatFails) {
    auto PtrA = MakeMap(0, 0, 1, {{1}});
    auto PtrB = MakeMap(0, 0, 1, {{2}});
    auto PtrC = MakeMap(0, 0, 1, {{3}});
    const std::string StrNoDir = Path("no-such-dir/b.asc");
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteFileList({PtrA.get(), PtrB.get(), PtrC.get()},
                                                      {Path("a.asc"), StrNoDir, Path("c.asc")}),
                      "Unable to open file " + StrNoDir);
    EXPECT_TRUE(std::filesystem::exists(Path("a.asc")));
    EXPECT_FALSE(std::filesystem::exists(Path("c.asc")));

    // A grid that cannot be written completely is reported; the grids before it stay written.
    EXPECT_FAILS_WITH(
        TARCGISFileTools::WriteFileList({PtrC.get(), PtrB.get()}, {Path("a.asc"), "/dev/full"}),
        "Unable to write file /dev/full");
    auto VecBack = Own(TARCGISFileTools::LoadFileList({Path("a.asc")}));
    EXPECT_EQ(Cells(*VecBack[0]), (std::vector<std::vector<double>>{{3}}));
}
