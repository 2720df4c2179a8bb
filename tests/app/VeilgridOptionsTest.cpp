// The command's options, its reading of other tools' headers and the projection file it copies.

#include "app/CommandSupport.h"

#include "grid/TARCGISFileTools.h"
#include "model/TMap.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string StrHeader =
    "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n";
const std::string StrBody = "1 2\n3 4\n";
// The same grid as another tool writes it: capitals, centres, dx/dy, no no-data line.
const std::string StrOtherTool = "NROWS 2\nNCOLS 2\nXLLCENTER 0.5\nYLLCENTER 0.5\nDX 1\nDY 1\n";
const std::string StrUsage =
    "usage: veilgrid mask_file flag_value exclude_value input_map_file output_map_file\n";

class VeilgridOptions : public TCommandTest {
  protected:
    void SetUp() override {
        TCommandTest::SetUp();
        WriteFile(Path("mask.asc"), StrHeader + StrBody);
        WriteFile(Path("other.asc"), StrOtherTool + StrBody);
        // What the five operands alone write for mask.asc with flag 1 and exclude 0.
        ASSERT_EQ(
            RunCommand({Path("mask.asc"), "1", "0", Path("mask.asc"), Path("plain.asc")}).IntStatus,
            0);
        MbrStrPlain = ReadFile(Path("plain.asc"));
    }
    std::string MbrStrPlain;
};

TEST_F(VeilgridOptions, HelpAndVersionPrintAndEndWithStatusZero) {
    const TRun Help = RunCommand({"--help"});
    EXPECT_EQ(Help.IntStatus, 0);
    EXPECT_EQ(Help.StrOutput.rfind("usage: veilgrid [options] mask_file flag_value exclude_value "
                                   "input_map_file output_map_file\n",
                                   0),
              0u);
    for (const char* PtrPart : {"--tolerant", "--version", "-h, --help", "Exit status"})
        EXPECT_NE(Help.StrOutput.find(PtrPart), std::string::npos) << PtrPart;
    // The first option decides, and nothing after it is looked at.
    for (const std::vector<std::string>& VecArgs :
         {std::vector<std::string>{"-h"}, {"--tolerant", "--help", "--bogus"}, {"-h", "a", "b"}}) {
        const TRun Run = RunCommand(VecArgs);
        EXPECT_EQ(Run.IntStatus, 0);
        EXPECT_EQ(Run.StrOutput, Help.StrOutput);
    }
    const TRun Version = RunCommand({"--version", Path("missing.asc")});
    EXPECT_EQ(Version.IntStatus, 0);
    EXPECT_EQ(Version.StrOutput, std::string("veilgrid ") + VEILGRID_VERSION + "\n");
}

TEST_F(VeilgridOptions, OptionsComeBeforeTheOperands) {
    const std::string StrMask = Path("mask.asc");
    const std::string StrOut = Path("out.asc");
    const std::string StrMissing = Path("missing.asc");
    struct TCase {
        const char* PtrName;
        std::vector<std::string> VecArgs;
        std::string StrExpected; // empty: succeeds and writes what the operands alone write
    };
    const TCase Cases[] = {
        {"unknown option, before any file is opened",
         {"--bogus", StrMissing, "1", "0", StrMissing, StrOut},
         "Unknown option: --bogus\n"},
        {"short options are not combined", {"-hv"}, "Unknown option: -hv\n"},
        {"an option takes no value", {"--tolerant=yes"}, "Unknown option: --tolerant=yes\n"},
        {"a negative number first is an option",
         {"-1", "1", "0", StrMask, StrOut},
         "Unknown option: -1\n"},
        {"unknown after a known option", {"--tolerant", "-x"}, "Unknown option: -x\n"},
        {"too few operands after the options",
         {"--tolerant", StrMask, "1", "0", StrMask},
         StrUsage},
        {"-- ends the options", {"--", StrMask, "1", "0", StrMask, StrOut}, ""},
        {"an option after -- is an operand",
         {"--", "--tolerant", "1", "0", StrMask, StrOut},
         "Unable to open file --tolerant\n"},
        {"a lone - is the first operand",
         {"-", "1", "0", StrMask, StrOut},
         "Unable to open file -\n"},
        {"after the first operand everything is an operand",
         {StrMask, "--tolerant", "0", StrMask, StrOut},
         "Flag value is not a number: --tolerant\n"},
        {"negative flag and exclude values", {StrMask, "-5", "-9999", StrMask, StrOut}, ""},
        {"options with a strict grid",
         {"--tolerant", "--", StrMask, "1", "0", StrMask, StrOut},
         ""},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        std::error_code ErrIgnored;
        fs::remove(StrOut, ErrIgnored);
        const TRun Run = RunCommand(Case.VecArgs);
        if (Case.StrExpected.empty()) {
            EXPECT_EQ(Run.IntStatus, 0);
            EXPECT_EQ(Run.StrOutput, "");
            // Flag -5 is in no cell, so nothing is recoded.
            if (Case.VecArgs[1] == "-5") {
                EXPECT_NE(ReadFile(StrOut).find("\n1 2 \n3 4 \n"), std::string::npos);
            } else {
                EXPECT_EQ(ReadFile(StrOut), MbrStrPlain);
            }
        } else {
            EXPECT_EQ(Run.IntStatus, 1);
            EXPECT_EQ(Run.StrOutput, Case.StrExpected);
            EXPECT_FALSE(fs::exists(StrOut));
        }
    }
}

TEST_F(VeilgridOptions, TolerantReadsOtherToolsHeadersForBothGrids) {
    const std::string StrOther = Path("other.asc");
    const std::string StrOut = Path("out.asc");
    const TRun Strict = RunCommand({Path("mask.asc"), "1", "0", StrOther, StrOut});
    EXPECT_EQ(Strict.IntStatus, 1);
    EXPECT_EQ(Strict.StrOutput, "File format error: expected to find ncols tag\n");
    for (const auto& VecArgs :
         {std::vector<std::string>{"--tolerant", StrOther, "1", "0", Path("mask.asc"), StrOut},
          std::vector<std::string>{"--tolerant", Path("mask.asc"), "1", "0", StrOther, StrOut}}) {
        const TRun Run = RunCommand(VecArgs);
        EXPECT_EQ(Run.IntStatus, 0);
        EXPECT_EQ(Run.StrOutput, "");
        // The no-data value of the result is the mask's, -9999 in both.
        EXPECT_EQ(ReadFile(StrOut), MbrStrPlain);
    }
}

TEST_F(VeilgridOptions, TolerantReadsCorpusGrids) {
    const fs::path PthCorpus = CORPUS_DIR;
    if (!fs::exists(PthCorpus / "MANIFEST.tsv"))
        GTEST_SKIP() << "no corpus at " << PthCorpus;
    // Capitals, centres and dx/dy; camel case, centres and one row; no no-data line.
    for (const char* PtrName : {"qgis_tenbytenraster.asc", "avaframe_DEM_TopoDummy.asc",
                                "landlab_4_x_3_no_nodata_value.asc"}) {
        SCOPED_TRACE(PtrName);
        const std::string StrGrid = (PthCorpus / PtrName).string();
        const std::string StrOut = Path("out.asc");
        EXPECT_EQ(RunCommand({StrGrid, "1", "0", StrGrid, StrOut}).IntStatus, 1);
        const TRun Run = RunCommand({"--tolerant", StrGrid, "1e300", "0", StrGrid, StrOut});
        EXPECT_EQ(Run.IntStatus, 0);
        EXPECT_EQ(Run.StrOutput, "");
        // The whole grid, unchanged: no cell holds the flag value.
        std::unique_ptr<TMap> PtrIn(TARCGISFileTools::LoadARCGISFileTolerant(StrGrid));
        std::unique_ptr<TMap> PtrOut(TARCGISFileTools::LoadARCGISFile(StrOut));
        ASSERT_EQ(PtrOut->GetXDim(), PtrIn->GetXDim());
        ASSERT_EQ(PtrOut->GetYDim(), PtrIn->GetYDim());
        EXPECT_EQ(PtrOut->GetXAxisInterval()->GetPoint(0)->GetX(),
                  PtrIn->GetXAxisInterval()->GetPoint(0)->GetX());
        EXPECT_EQ(PtrOut->GetYAxisInterval()->GetPoint(0)->GetY(),
                  PtrIn->GetYAxisInterval()->GetPoint(0)->GetY());
        EXPECT_EQ(PtrOut->GetNoData(), PtrIn->GetNoData());
        for (long LngY = 0; LngY < PtrIn->GetYDim(); ++LngY)
            for (long LngX = 0; LngX < PtrIn->GetXDim(); ++LngX)
                ASSERT_EQ(PtrOut->GetPointVal(LngX, LngY), PtrIn->GetPointVal(LngX, LngY))
                    << LngX << ' ' << LngY;
    }
}

TEST_F(VeilgridOptions, ProjectionFileTravelsWithTheGrid) {
    WriteFile(Path("source.asc"), StrHeader + StrBody);
    const std::string StrMaskPrj = "PROJCS[\"mask\"]";
    const std::string StrSourcePrj = "PROJCS[\"source\"]\r\n";
    const auto Run = [this](const std::string& StrOut) {
        return RunCommand({Path("mask.asc"), "1", "0", Path("source.asc"), Path(StrOut)});
    };

    // Neither grid has one: none is written.
    EXPECT_EQ(Run("a.asc").IntStatus, 0);
    EXPECT_FALSE(fs::exists(Path("a.prj")));
    // Only the source has one: the source's.
    WriteFile(Path("source.prj"), StrSourcePrj);
    EXPECT_EQ(Run("b.asc").IntStatus, 0);
    EXPECT_EQ(ReadFile(Path("b.prj")), StrSourcePrj);
    // Both have one: the mask's, also over an existing one and for an output without extension.
    WriteFile(Path("mask.prj"), StrMaskPrj);
    EXPECT_EQ(Run("b.asc").IntStatus, 0);
    EXPECT_EQ(ReadFile(Path("b.prj")), StrMaskPrj);
    EXPECT_EQ(Run("c").IntStatus, 0);
    EXPECT_EQ(ReadFile(Path("c.prj")), StrMaskPrj);
    // An output that is not a file gets none.
    const TRun Device = RunCommand({Path("mask.asc"), "1", "0", Path("source.asc"), "/dev/null"});
    EXPECT_EQ(Device.IntStatus, 0);
    EXPECT_EQ(Device.StrOutput, "");
    // A failure of the copy is reported; the grid written stays, and so does every .prj.
    fs::create_directory(Path("d.prj"));
    const TRun Unwritable = Run("d.asc");
    EXPECT_EQ(Unwritable.IntStatus, 1);
    EXPECT_EQ(Unwritable.StrOutput, "Unable to open file " + Path("d.prj") + "\n");
    EXPECT_EQ(ReadFile(Path("d.asc")), MbrStrPlain);
    fs::remove(Path("mask.prj"));
    fs::create_directory(Path("mask.prj"));
    const TRun Unreadable = Run("e.asc");
    EXPECT_EQ(Unreadable.IntStatus, 1);
    EXPECT_EQ(Unreadable.StrOutput, "Unable to open file " + Path("mask.prj") + "\n");
    EXPECT_EQ(ReadFile(Path("e.asc")), MbrStrPlain);
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"a.asc", "b.asc", "b.prj", "c", "c.prj", "d.asc", "d.prj",
                                        "e.asc", "mask.asc", "mask.prj", "other.asc", "plain.asc",
                                        "source.asc", "source.prj"}));
}

} // namespace
