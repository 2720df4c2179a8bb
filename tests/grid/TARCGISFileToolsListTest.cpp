#include "MapFixtures.h"
#include "TestSupport.h"

#include "grid/TARCGISFileTools.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {
using MapFixtures::Cells;
using MapFixtures::MakeMap;
using MapFixtures::Own;

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
