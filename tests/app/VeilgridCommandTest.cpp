// Runs the built veilgrid executable and checks its standard output, exit status and output file.

#include "app/CommandSupport.h"

#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

std::string Grid(const std::string& StrHeader, const std::string& StrBody) {
    return StrHeader + StrBody;
}

// A 4 x 3 mask at (0, 0) with cell size 1, and grids around it.
const std::string StrMaskHeader =
    "ncols 4\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n";
const std::string StrMaskBody = "1 2 3 4\n5 1 -9999 2\n3 3 1 0\n";

class VeilgridCommand : public TCommandTest {
  protected:
    void SetUp() override {
        TCommandTest::SetUp();
        WriteFile(Path("mask.asc"), Grid(StrMaskHeader, StrMaskBody));
    }
};

const std::string StrUsage =
    "usage: veilgrid mask_file flag_value exclude_value input_map_file output_map_file\n";

TEST_F(VeilgridCommand, FailuresPrintOneLineExitOneAndWriteNothing) {
    WriteFile(Path("res2.asc"), "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 2\n"
                                "NODATA_value -9999\n1 2\n3 4\n");
    WriteFile(Path("shifted.asc"), "ncols 2\nnrows 2\nxllcorner 0.5\nyllcorner 0\ncellsize 1\n"
                                   "NODATA_value -9999\n1 2\n3 4\n");
    WriteFile(Path("apart.asc"), "ncols 2\nnrows 2\nxllcorner 4\nyllcorner 0\ncellsize 1\n"
                                 "NODATA_value -9999\n1 2\n3 4\n");
    WriteFile(Path("short.asc"), Grid(StrMaskHeader, "1 2 3 4\n5 6\n"));
    WriteFile(Path("badtag.asc"), "NCOLS 4\n");
    WriteFile(Path("nrowsonly.asc"), "ncols 4\n");
    WriteFile(Path("noxll.asc"), "ncols 4\nnrows 3\nxll 0\n");
    WriteFile(Path("noyll.asc"), "ncols 4\nnrows 3\nxllcorner 0\n");
    WriteFile(Path("nocellsize.asc"), "ncols 4\nnrows 3\nxllcorner 0\nyllcorner 0\ncell 1\n");
    WriteFile(Path("nocell.asc"), "ncols 4\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize\n");
    WriteFile(Path("nonodata.asc"),
              "ncols 4\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 1\nnodata 1\n");
    WriteFile(Path("nocolumns.asc"), "ncols 0\nnrows 3\nxllcorner 2\nyllcorner 0\ncellsize 1\n"
                                     "NODATA_value -9999\n");
    WriteFile(Path("badcell.asc"), Grid(StrMaskHeader, "1 2 3 4\n5 x 7 8\n1 1 1 1\n"));
    const std::string StrMask = Path("mask.asc");
    const std::string StrOut = Path("out.asc");
    const std::string StrMissing = Path("missing.asc");
    struct TCase {
        const char* PtrName;
        std::vector<std::string> VecOperands;
        std::string StrExpected;
    };
    const TCase Cases[] = {
        {"no operands", {}, StrUsage},
        {"four operands", {StrMask, "1", "0", StrMask}, StrUsage},
        {"flag not a number",
         {StrMask, "abc", "0", StrMask, StrOut},
         "Flag value is not a number: abc\n"},
        {"flag with text after the number",
         {StrMask, "7x", "0", StrMask, StrOut},
         "Flag value is not a number: 7x\n"},
        {"flag empty", {StrMask, "", "0", StrMask, StrOut}, "Flag value is not a number: \n"},
        {"flag checked before exclude",
         {StrMask, "a", "b", StrMask, StrOut},
         "Flag value is not a number: a\n"},
        {"exclude not a number",
         {StrMask, "1", "1,5", StrMask, StrOut},
         "Exclude value is not a number: 1,5\n"},
        {"numbers checked before files",
         {StrMissing, "x", "0", StrMissing, StrOut},
         "Flag value is not a number: x\n"},
        {"mask missing",
         {StrMissing, "1", "0", StrMask, StrOut},
         "Unable to open file " + StrMissing + "\n"},
        {"mask read before source",
         {StrMissing, "1", "0", Path("other.asc"), StrOut},
         "Unable to open file " + StrMissing + "\n"},
        {"source missing",
         {StrMask, "1", "0", StrMissing, StrOut},
         "Unable to open file " + StrMissing + "\n"},
        {"mask header",
         {Path("badtag.asc"), "1", "0", StrMask, StrOut},
         "File format error: expected to find ncols tag\n"},
        {"source header ends early",
         {StrMask, "1", "0", Path("nrowsonly.asc"), StrOut},
         "File format error: expectd to find nrows tag\n"},
        {"no xllcorner tag",
         {Path("noxll.asc"), "1", "0", StrMask, StrOut},
         "File format error: expected to find xllcorner tag\n"},
        {"header ends before the yllcorner tag",
         {StrMask, "1", "0", Path("noyll.asc"), StrOut},
         "File format error: expected to find yllcorner tag\n"},
        {"no cellsize tag",
         {StrMask, "1", "0", Path("nocellsize.asc"), StrOut},
         "File format error: expected to find cellsize tag\n"},
        {"cellsize without a value",
         {Path("nocell.asc"), "1", "0", StrMask, StrOut},
         "File format error: expected to find NODATA_value tag\n"},
        {"mask header fails before a missing source",
         {Path("nonodata.asc"), "1", "0", StrMissing, StrOut},
         "File format error: expected to find NODATA_value tag\n"},
        {"body too short",
         {StrMask, "1", "0", Path("short.asc"), StrOut},
         "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile\n"},
        {"cell not a number",
         {Path("badcell.asc"), "1", "0", StrMask, StrOut},
         "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile\n"},
        {"resolutions differ",
         {StrMask, "1", "0", Path("res2.asc"), StrOut},
         "Resolution of the mask does not match resolution of the source map\n"},
        {"cell edges offset",
         {StrMask, "1", "0", Path("shifted.asc"), StrOut},
         "Cell edges of the mask do not line up with the cells of the source map\n"},
        {"no common cell",
         {StrMask, "1", "0", Path("apart.asc"), StrOut},
         "Maps do not intersect in TMapTools::Intersection\n"},
        {"source without columns inside the mask",
         {StrMask, "1", "0", Path("nocolumns.asc"), StrOut},
         "Maps do not intersect in TMapTools::Intersection\n"},
        {"output folder missing",
         {StrMask, "1", "0", StrMask, Path("no/such/out.asc")},
         "Unable to open file " + Path("no/such/out.asc") + "\n"},
        {"output is a folder",
         {StrMask, "1", "0", StrMask, MbrPthDir.string()},
         "Unable to open file " + MbrPthDir.string() + "\n"},
        {"output cannot be written completely",
         {StrMask, "1", "0", StrMask, "/dev/full"},
         "Unable to write file /dev/full\n"},
    };
    const std::vector<std::string> VecBefore = Files();
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        const TRun Run = RunCommand(Case.VecOperands);
        EXPECT_EQ(Run.StrOutput, Case.StrExpected);
        EXPECT_EQ(Run.IntStatus, 1);
        EXPECT_EQ(Files(), VecBefore);
    }
}

TEST_F(VeilgridCommand, SameGridAsMaskAndSourceGivesTheWholeMaskRecoded) {
    // A new output gets the permissions of a new file: 0666 less the umask.
    const mode_t IntOldMask = umask(027);
    const TRun Run = RunCommand({Path("mask.asc"), "1", "7", Path("mask.asc"), Path("out.asc")});
    umask(IntOldMask);
    EXPECT_EQ(Run.StrOutput, "");
    EXPECT_EQ(Run.IntStatus, 0);
    EXPECT_EQ(ReadFile(Path("out.asc")),
              "ncols 4\nnrows 3\nxllcorner        0\nyllcorner        0\ncellsize 1\n"
              "NODATA_value -9999\n7 2 3 4 \n5 7 -9999 2 \n3 3 7 0 \n");
    struct stat StatOut {};
    ASSERT_EQ(stat(Path("out.asc").c_str(), &StatOut), 0);
    EXPECT_EQ(StatOut.st_mode & 0777, 0640u);
}

TEST_F(VeilgridCommand, SourceGivesOnlyItsExtentAndTheMaskItsNoDataValue) {
    // The source covers the eastern half of the mask with other values and another no-data value;
    // the mask's no-data value is -1, so its -1 cells stay no-data in the output.
    WriteFile(Path("mask1.asc"), "ncols 4\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 0.5\n"
                                 "nodata_value -1\n1 2 -1 4\n5 6 7 2\n");
    WriteFile(Path("east.asc"), "ncols 2\nnrows 2\nxllcorner 11\nyllcorner 20\ncellsize 0.5\n"
                                "NODATA_value -9999\n9 9\n9 -9999\n");
    const TRun Run =
        RunCommand({Path("mask1.asc"), "2", "0", Path("east.asc"), Path("out.asc"), "extra"});
    EXPECT_EQ(Run.StrOutput, "");
    EXPECT_EQ(Run.IntStatus, 0);
    EXPECT_EQ(ReadFile(Path("out.asc")),
              "ncols 2\nnrows 2\nxllcorner       11\nyllcorner       20\ncellsize 0.5\n"
              "NODATA_value -1\n-1 4 \n7 0 \n");
}

TEST_F(VeilgridCommand, FlagOperandsAreNumbersAsStrtodReadsThem) {
    struct TCase {
        const char* PtrFlag;
        const char* PtrExclude;
        const char* PtrBody;
    };
    const TCase Cases[] = {
        {" 1", "1e3", "1000 2 3 4 \n5 1000 -9999 2 \n3 3 1000 0 \n"},
        {"-9999", "inf", "1 2 3 4 \n5 1 inf 2 \n3 3 1 0 \n"},
        {"nan", "5", "1 2 3 4 \n5 1 -9999 2 \n3 3 1 0 \n"},
        {"0", "-0.25", "1 2 3 4 \n5 1 -9999 2 \n3 3 1 -0.25 \n"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrFlag);
        const TRun Run = RunCommand(
            {Path("mask.asc"), Case.PtrFlag, Case.PtrExclude, Path("mask.asc"), Path("out.asc")});
        EXPECT_EQ(Run.StrOutput, "");
        EXPECT_EQ(Run.IntStatus, 0);
        const std::string StrText = ReadFile(Path("out.asc"));
        EXPECT_EQ(StrText.substr(StrText.find("-9999\n") + 6), Case.PtrBody);
    }
}

TEST_F(VeilgridCommand, ExistingOutputSurvivesAFailureAndKeepsItsPermissions) {
    const std::string StrOut = Path("out.asc");
    WriteFile(StrOut, "precious\n");
    ASSERT_EQ(chmod(StrOut.c_str(), 0640), 0);
    const TRun Failed = RunCommand({Path("mask.asc"), "1", "0", Path("missing.asc"), StrOut});
    EXPECT_EQ(Failed.IntStatus, 1);
    EXPECT_EQ(ReadFile(StrOut), "precious\n");

    const TRun Run = RunCommand({Path("mask.asc"), "1", "0", Path("mask.asc"), StrOut});
    EXPECT_EQ(Run.IntStatus, 0);
    struct stat StatOut {};
    ASSERT_EQ(stat(StrOut.c_str(), &StatOut), 0);
    EXPECT_EQ(StatOut.st_mode & 0777, 0640u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"mask.asc", "out.asc"}));
}

TEST_F(VeilgridCommand, SamplesOfTheReadmeGiveTheDocumentedOutput) {
    const TRun Run = RunCommand(
        {EXAMPLES_DIR "/mask.asc", "5", "0", EXAMPLES_DIR "/source.asc", Path("masked.asc")});
    EXPECT_EQ(Run.StrOutput, "");
    EXPECT_EQ(Run.IntStatus, 0);
    EXPECT_EQ(ReadFile(Path("masked.asc")),
              "ncols 4\nnrows 2\nxllcorner   500020\nyllcorner  4100005\ncellsize 10\n"
              "NODATA_value -9999\n2 3 0 0 \n4 3 0 0 \n");
}
} // namespace
