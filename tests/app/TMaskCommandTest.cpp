// The streaming command against the library pipeline (LoadARCGISFile, Intersection, Mask,
// WriteARCGISFile) on many generated grid pairs and broken inputs: the same output bytes or the
// same message, and no file left behind.

#include "app/TMaskCommand.h"
#include "app/CommandSupport.h"
#include "util/TException.h"
#include "util/TNumberTools.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Cell tokens: class codes, the forms a fast path could get wrong, decimals, and the edges of
// the number syntax.
const std::vector<std::string> VecCellTokens = {"0",
                                                "1",
                                                "2",
                                                "3",
                                                "7",
                                                "9",
                                                "-9999",
                                                "-0",
                                                "007",
                                                "+5",
                                                "5.",
                                                "1e2",
                                                "1E+02",
                                                ".5",
                                                "80360.14",
                                                "999999",
                                                "1000000",
                                                "-123456",
                                                "1234567",
                                                "0.1",
                                                "-0.000",
                                                "nan",
                                                "-nan",
                                                "NaN",
                                                "inf",
                                                "-Infinity",
                                                "1.5e-7",
                                                "123456789012345",
                                                "9007199254740993",
                                                "1e400",
                                                "1e-400",
                                                "4.9e-324",
                                                "00000000000000000000000000001",
                                                "+0",
                                                "-00",
                                                "10",
                                                "-1"};

// Tokens no reader takes as a cell value.
const std::vector<std::string> VecBadTokens = {
    "x", "1,5", "0x10", "--1", "1e", "+", ".", "nan(1)", "5x", "infinit", std::string(5000, 'z')};

const std::vector<double> VecCellSizes = {1, 0.5, 2.5, 0.1, 0.001, 30, 1e-7};
const std::vector<std::string> VecCorners = {"0",   "0.1",     "-123.4", "500000.3",
                                             "1e6", "4100000", "-0",     "7.77777777777"};
const std::vector<std::string> VecNoData = {"-9999", "0", "3.5", "nan", "-1e30", "1"};

class TCase {
  public:
    explicit TCase(unsigned IntSeed) : MbrGenerator(IntSeed) {}

    // A grid of LngXDim x LngYDim cells with random tokens, header forms and layout.
    std::string Grid(long LngXDim, long LngYDim, const std::string& StrXll,
                     const std::string& StrYll, const std::string& StrCellSize,
                     const std::string& StrNoData) {
        std::string StrText = "ncols " + std::to_string(LngXDim) + "\nnrows " +
                              std::to_string(LngYDim) + "\nxllcorner " + StrXll + "\nyllcorner " +
                              StrYll + "\ncellsize " + StrCellSize + "\n";
        // Now and then a header as other tools write it, which only the tolerant reading takes.
        switch (Pick(12)) {
        case 0:
            StrText.replace(0, 5, "NCOLS");
            break;
        case 1: // nrows first
            StrText = "nrows " + std::to_string(LngYDim) + "\n" +
                      StrText.substr(0, StrText.find('\n') + 1) +
                      StrText.substr(StrText.find("xllcorner"));
            break;
        case 2: // the centre of the corner cell, and no no-data line
            StrText.replace(StrText.find("xllcorner"), 9, "xllcenter");
            return StrText + Body(LngXDim, LngYDim);
        default:
            break;
        }
        StrText += (Pick(4) == 0 ? "nodata_value " : "NODATA_value ") + StrNoData + "\n";
        return StrText + Body(LngXDim, LngYDim);
    }

    // LngXDim x LngYDim cell tokens: mostly class codes, now and then any token.
    std::string Body(long LngXDim, long LngYDim) {
        std::string StrText;
        const bool BlnCodes = Pick(2) == 0;
        for (long LngY = 0; LngY < LngYDim; ++LngY) {
            for (long LngX = 0; LngX < LngXDim; ++LngX) {
                StrText += BlnCodes && Pick(5) != 0 ? std::to_string(Pick(10))
                                                    : VecCellTokens[Pick(VecCellTokens.size())];
                StrText += Pick(8) == 0 ? "\t" : " ";
            }
            StrText += Pick(6) == 0 ? " " : "\n";
        }
        // Tokens after the body are not read.
        if (Pick(8) == 0)
            StrText += "junk after the body\n";
        return StrText;
    }

    std::size_t Pick(std::size_t LngCount) {
        return std::uniform_int_distribution<std::size_t>(0, LngCount - 1)(MbrGenerator);
    }

  private:
    std::mt19937 MbrGenerator;
};

// Text of a double as the test writes it into headers.
std::string Text(double DblValue) { return TNumberTools::ToText(DblValue); }

// Breaks one token of the body of StrGrid (the header is the first 12 tokens), or cuts the body.
std::string Broken(const std::string& StrGrid, TCase& Case) {
    std::vector<std::pair<std::size_t, std::size_t>> VecTokens;
    for (std::size_t LngPos = 0; LngPos < StrGrid.size();) {
        while (LngPos < StrGrid.size() && std::isspace(static_cast<unsigned char>(StrGrid[LngPos])))
            ++LngPos;
        const std::size_t LngStart = LngPos;
        while (LngPos < StrGrid.size() &&
               !std::isspace(static_cast<unsigned char>(StrGrid[LngPos])))
            ++LngPos;
        if (LngPos > LngStart)
            VecTokens.emplace_back(LngStart, LngPos - LngStart);
    }
    const std::size_t LngIndex = Case.Pick(VecTokens.size());
    const auto [LngStart, LngLength] = VecTokens[LngIndex];
    switch (Case.Pick(4)) {
    case 0: // cut before a token
        return StrGrid.substr(0, LngStart);
    case 1: // cut right after a token, without a separator
        return StrGrid.substr(0, LngStart + LngLength);
    default: {
        // A header value or tag replaced by a bad token fails in the header, a cell in the body.
        std::string StrText = StrGrid;
        StrText.replace(LngStart, LngLength, VecBadTokens[Case.Pick(VecBadTokens.size())]);
        return StrText;
    }
    }
}

class TMaskCommandDifferential : public TCommandTest {
  protected:
    // Runs one way and gives the message (empty on success) and the output, or "<none>". The
    // inputs are put back as they were first, and the output as StrOldOutput has it (none when
    // empty), unless it is one of the inputs.
    std::string RunOne(void (*PtrRun)(const TMaskCommand::TArguments&),
                       const TMaskCommand::TArguments& Arguments,
                       const std::vector<std::pair<std::string, std::string>>& VecInputs,
                       const std::string& StrOldOutput, std::string& StrOutput) {
        // An input that is also the output was replaced by the run before.
        bool BlnOutputIsInput = false;
        for (const auto& [StrName, StrText] : VecInputs) {
            if (StrName == Arguments.MbrStrOutputFile) {
                WriteFile(StrName, StrText);
                BlnOutputIsInput = true;
            }
        }
        if (!BlnOutputIsInput && !fs::is_directory(Arguments.MbrStrOutputFile)) {
            std::error_code ErrIgnored;
            fs::remove(Arguments.MbrStrOutputFile, ErrIgnored);
            if (!StrOldOutput.empty())
                WriteFile(Arguments.MbrStrOutputFile, StrOldOutput);
        }
        std::string StrMessage;
        try {
            PtrRun(Arguments);
        } catch (const TException& E) {
            StrMessage = E.what();
        }
        StrOutput = fs::is_regular_file(Arguments.MbrStrOutputFile)
                        ? ReadFile(Arguments.MbrStrOutputFile)
                        : std::string("<none>");
        return StrMessage;
    }

    // Both ways on the same files: the same message and the same output, and no other file
    // left; returns the message.
    std::string Compare(const TMaskCommand::TArguments& Arguments, const std::string& StrWhat,
                        const std::string& StrOldOutput = "") {
        std::vector<std::pair<std::string, std::string>> VecInputs;
        for (const std::string& StrName : {Arguments.MbrStrMaskFile, Arguments.MbrStrSourceFile})
            if (fs::is_regular_file(StrName))
                VecInputs.emplace_back(StrName, ReadFile(StrName));
        std::string StrStreamed;
        std::string StrLoaded;
        const std::string StrStreamMessage =
            RunOne(&TMaskCommand::Run, Arguments, VecInputs, StrOldOutput, StrStreamed);
        const std::vector<std::string> VecStreamFiles = Files();
        const std::string StrPipelineMessage =
            RunOne(&TMaskCommand::RunPipeline, Arguments, VecInputs, StrOldOutput, StrLoaded);
        EXPECT_EQ(StrStreamMessage, StrPipelineMessage) << StrWhat;
        EXPECT_EQ(StrStreamed, StrLoaded) << StrWhat;
        EXPECT_EQ(VecStreamFiles, Files()) << StrWhat;
        return StrStreamMessage;
    }
};

// Flag and exclude values: present among the cells, absent, NaN, signed zeros.
const std::vector<double> VecFlags = {
    0, 1, 7, -9999, -0.0, 5, 100, 80360.14, 0.5, 77, std::numeric_limits<double>::quiet_NaN()};
const std::vector<double> VecExcludes = {-9999, 0, -0.0, 1e-5, 123.456, 1e6, 42};

TEST_F(TMaskCommandDifferential, GeneratedPairsGiveTheSameOutputOrMessage) {
    TCase Case(20261211);
    const std::string StrMask = Path("mask.asc");
    const std::string StrSource = Path("source.asc");
    int IntWritten = 0;
    for (int IntRound = 0; IntRound < 600; ++IntRound) {
        // Mostly 1 to 6 cells a side, now and then none.
        const auto Side = [&Case] {
            return Case.Pick(25) == 0 ? 0L : static_cast<long>(Case.Pick(6)) + 1;
        };
        const long LngMaskX = Side();
        const long LngMaskY = Side();
        const long LngSourceX = Side();
        const long LngSourceY = Side();
        const double DblCellSize = VecCellSizes[Case.Pick(VecCellSizes.size())];
        const std::string StrXll = VecCorners[Case.Pick(VecCorners.size())];
        const std::string StrYll = VecCorners[Case.Pick(VecCorners.size())];
        // The source lies a whole number of cells away, now and then a fraction (edges that do
        // not line up) or with another cell size.
        // Overlapping shifts, now and then one that only touches or is apart.
        const auto Shift = [&Case, DblCellSize](long LngMask, long LngSource) {
            const long LngSpan = LngMask + LngSource;
            const long LngCells =
                Case.Pick(8) == 0 || LngSpan < 2
                    ? static_cast<long>(Case.Pick(static_cast<std::size_t>(LngSpan) + 3)) -
                          LngSource - 1
                    : static_cast<long>(Case.Pick(static_cast<std::size_t>(LngSpan) - 1)) -
                          LngSource + 1;
            return static_cast<double>(LngCells) * DblCellSize;
        };
        double DblShiftX = Shift(LngMaskX, LngSourceX);
        double DblShiftY = Shift(LngMaskY, LngSourceY);
        if (Case.Pick(10) == 0)
            DblShiftX += DblCellSize * (Case.Pick(2) == 0 ? 0.5 : 0.0004);
        if (Case.Pick(10) == 0)
            DblShiftY += DblCellSize * (Case.Pick(2) == 0 ? 0.3 : 0.0007);
        const double DblSourceCellSize = Case.Pick(15) == 0 ? DblCellSize * 2 : DblCellSize;
        const std::string StrMaskGrid =
            Case.Grid(LngMaskX, LngMaskY, StrXll, StrYll, Text(DblCellSize),
                      VecNoData[Case.Pick(VecNoData.size())]);
        const std::string StrSourceGrid =
            Case.Grid(LngSourceX, LngSourceY, Text(std::stod(StrXll) + DblShiftX),
                      Text(std::stod(StrYll) + DblShiftY), Text(DblSourceCellSize),
                      VecNoData[Case.Pick(VecNoData.size())]);
        // One pair in four is broken: the mask, the source or both.
        const std::size_t LngBreak = Case.Pick(12);
        WriteFile(StrMask,
                  LngBreak == 0 || LngBreak == 2 ? Broken(StrMaskGrid, Case) : StrMaskGrid);
        WriteFile(StrSource,
                  LngBreak == 1 || LngBreak == 2 ? Broken(StrSourceGrid, Case) : StrSourceGrid);

        TMaskCommand::TArguments Arguments;
        Arguments.MbrStrMaskFile = StrMask;
        Arguments.MbrStrSourceFile = StrSource;
        Arguments.MbrStrOutputFile = Path("out.asc");
        Arguments.MbrDblFlag = VecFlags[Case.Pick(VecFlags.size())];
        Arguments.MbrDblExclude = VecExcludes[Case.Pick(VecExcludes.size())];
        // Now and then the same grid as both, or an output that cannot be opened.
        if (Case.Pick(20) == 0)
            Arguments.MbrStrSourceFile = StrMask;
        if (Case.Pick(25) == 0)
            Arguments.MbrStrOutputFile = Path("missing/out.asc");
        if (Case.Pick(40) == 0)
            Arguments.MbrStrOutputFile = StrMask;
        Arguments.MbrBlnTolerant = Case.Pick(3) == 0;
        const std::string StrWhat = "round " + std::to_string(IntRound) + "\nmask:\n" +
                                    ReadFile(StrMask) + "\nsource:\n" +
                                    ReadFile(Arguments.MbrStrSourceFile);
        const std::string StrOld = Case.Pick(4) == 0 ? "old output\n" : "";
        if (Compare(Arguments, StrWhat, StrOld).empty())
            ++IntWritten;
        if (HasFailure())
            return;
    }
    // The cases reach the writing often enough to mean something.
    EXPECT_GT(IntWritten, 150);
}

TEST_F(TMaskCommandDifferential, MissingFilesAndOrderOfFailures) {
    const std::string StrGood = "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize "
                                "1\nNODATA_value -9999\n1 2 3\n4 5 6\n";
    const std::string StrShort =
        "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n1 2 3\n4\n";
    const std::string StrBadCell = "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize "
                                   "1\nNODATA_value -9999\n1 x 3\n4 5 6\n";
    const std::string StrResolution = "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize "
                                      "2\nNODATA_value -9999\n1 2 3\n4 5 6\n";
    const std::string StrApart = "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 0\ncellsize 1\n"
                                 "NODATA_value -9999\n1 2 3\n4 5 6\n";
    WriteFile(Path("good.asc"), StrGood);
    WriteFile(Path("short.asc"), StrShort);
    WriteFile(Path("badcell.asc"), StrBadCell);
    WriteFile(Path("res2.asc"), StrResolution);
    WriteFile(Path("apart.asc"), StrApart);
    // Headers that claim far more than their files hold, and rows of nothing beyond the bound.
    WriteFile(Path("lying.asc"), "ncols 2000000000\nnrows 2000000000\nxllcorner 0\nyllcorner 0\n"
                                 "cellsize 1\nNODATA_value -9999\n1 2 3 4 5 6 7 8 9 10\n");
    WriteFile(Path("lyingbad.asc"), "ncols 2000000000\nnrows 3\nxllcorner 0\nyllcorner 0\n"
                                    "cellsize 1\nNODATA_value -9999\n1 2 x\n");
    WriteFile(Path("empty.asc"), "ncols 0\nnrows 70000\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                                 "NODATA_value -9999\n");
    fs::create_directory(Path("folder"));
    struct TOrder {
        const char* PtrMask;
        const char* PtrSource;
        const char* PtrOutput;
        const char* PtrExpected; // the start of the message
    };
    const TOrder Cases[] = {
        {"missing.asc", "missing2.asc", "out.asc", "Unable to open file "},
        {"folder", "good.asc", "out.asc", "Unable to open file "},
        {"short.asc", "missing.asc", "missing/out.asc", "Unexpected end of file"},
        {"badcell.asc", "short.asc", "missing/out.asc", "File format error: invalid cell"},
        {"good.asc", "short.asc", "missing/out.asc", "Unexpected end of file"},
        {"good.asc", "badcell.asc", "folder", "File format error: invalid cell"},
        {"good.asc", "missing.asc", "folder", "Unable to open file "},
        {"res2.asc", "short.asc", "folder", "Unexpected end of file"},
        {"res2.asc", "good.asc", "folder", "Resolution of the mask"},
        {"apart.asc", "good.asc", "folder", "Maps do not intersect"},
        {"good.asc", "good.asc", "folder", "Unable to open file "},
        {"good.asc", "good.asc", "missing/out.asc", "Unable to open file "},
        {"good.asc", "good.asc", "good.asc", ""},
        {"lying.asc", "missing.asc", "folder", "Unexpected end of file"},
        {"lyingbad.asc", "lying.asc", "folder", "File format error: invalid cell"},
        {"good.asc", "lying.asc", "folder", "Unexpected end of file"},
        {"res2.asc", "lyingbad.asc", "folder", "File format error: invalid cell"},
        {"empty.asc", "missing.asc", "folder", "File format error: grid is too large"},
        {"short.asc", "empty.asc", "folder", "Unexpected end of file"},
        {"good.asc", "empty.asc", "folder", "File format error: grid is too large"},
    };
    for (const TOrder& Order : Cases) {
        TMaskCommand::TArguments Arguments;
        Arguments.MbrStrMaskFile = Path(Order.PtrMask);
        Arguments.MbrStrSourceFile = Path(Order.PtrSource);
        Arguments.MbrStrOutputFile = Path(Order.PtrOutput);
        Arguments.MbrDblFlag = 5;
        Arguments.MbrDblExclude = 0;
        const std::string StrMessage = Compare(Arguments, Order.PtrMask);
        EXPECT_EQ(StrMessage.rfind(Order.PtrExpected, 0), 0u) << StrMessage;
        WriteFile(Path("good.asc"), StrGood);
    }
}

TEST_F(TMaskCommandDifferential, LongAxesAndWideRowsAcrossEdgeBlocks) {
    // Windows that start and end on both sides of the blocks the edges are computed in.
    TCase Case(7);
    const struct {
        long LngMaskX, LngMaskY, LngSourceX, LngSourceY, LngShiftX, LngShiftY;
    } Cases[] = {{2500, 2, 2500, 3, 1100, -1},
                 {2, 2600, 3, 2600, 1, 1030},
                 {3000, 1, 1500, 1, -1000, 0},
                 {1, 3000, 1, 2049, 0, -1023}};
    const auto Grid = [&Case](long LngXDim, long LngYDim, double DblXll, double DblYll) {
        return "ncols " + std::to_string(LngXDim) + "\nnrows " + std::to_string(LngYDim) +
               "\nxllcorner " + Text(DblXll) + "\nyllcorner " + Text(DblYll) +
               "\ncellsize 0.1\nNODATA_value -9999\n" + Case.Body(LngXDim, LngYDim);
    };
    for (const auto& Shape : Cases) {
        WriteFile(Path("mask.asc"), Grid(Shape.LngMaskX, Shape.LngMaskY, 1000.3, -77.7));
        WriteFile(Path("source.asc"), Grid(Shape.LngSourceX, Shape.LngSourceY,
                                           1000.3 + static_cast<double>(Shape.LngShiftX) * 0.1,
                                           -77.7 + static_cast<double>(Shape.LngShiftY) * 0.1));
        TMaskCommand::TArguments Arguments;
        Arguments.MbrStrMaskFile = Path("mask.asc");
        Arguments.MbrStrSourceFile = Path("source.asc");
        Arguments.MbrStrOutputFile = Path("out.asc");
        Arguments.MbrDblFlag = 3;
        Arguments.MbrDblExclude = -1;
        EXPECT_EQ(Compare(Arguments, std::to_string(Shape.LngMaskX)), "");
    }
}

TEST(TNumberToolsFastPaths, AgreeWithTheGeneralPath) {
    // IsNumber says what ParseDouble accepts; ParseShortWhole takes only text that FormatDouble
    // writes back unchanged, with ParseDouble's value.
    std::vector<std::string> VecTokens = VecCellTokens;
    VecTokens.insert(VecTokens.end(), VecBadTokens.begin(), VecBadTokens.end());
    for (const char* PtrToken :
         {"-",    "+-1",    "1e+",     "1e-5",    "5.e3", "-.5",      ".e5",
          "e5",   "1.2.3",  "++1",     "1e5.5",   "INF",  "infinity", "-infinity",
          "nanx", "999999", "-999999", "1000000", "0000", "-0.",      "12a"})
        VecTokens.push_back(PtrToken);
    for (const std::string& StrToken : VecTokens) {
        const char* PtrBegin = StrToken.data();
        const char* PtrEnd = PtrBegin + StrToken.size();
        double DblGeneral = 0;
        const bool BlnGeneral = TNumberTools::ParseDouble(PtrBegin, PtrEnd, DblGeneral);
        EXPECT_EQ(TNumberTools::IsNumber(PtrBegin, PtrEnd), BlnGeneral) << StrToken;
        double DblWhole = 0;
        if (TNumberTools::ParseShortWhole(PtrBegin, PtrEnd, DblWhole)) {
            EXPECT_TRUE(BlnGeneral) << StrToken;
            EXPECT_EQ(std::signbit(DblWhole), std::signbit(DblGeneral)) << StrToken;
            EXPECT_EQ(DblWhole, DblGeneral) << StrToken;
            EXPECT_EQ(TNumberTools::ToText(DblWhole), StrToken) << StrToken;
        }
    }
}

TEST_F(TMaskCommandDifferential, APipeGetsNothingUnlessEveryCheckPassed) {
    // A result larger than any buffer of the output, and a source that fails only at its end.
    std::string StrGrid = "ncols 4000\nnrows 40\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                          "NODATA_value -9999\n";
    for (int IntRow = 0; IntRow < 40; ++IntRow) {
        for (int IntColumn = 0; IntColumn < 4000; ++IntColumn)
            StrGrid += "5 ";
        StrGrid += '\n';
    }
    WriteFile(Path("good.asc"), StrGrid);
    WriteFile(Path("short.asc"), StrGrid.substr(0, StrGrid.size() - 3));
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    // A reader that does not wait lets the command open the pipe at once; a thread keeps reading.
    const int IntReader = open(Path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(IntReader, 0);
    const auto RunReading = [IntReader](const TMaskCommand::TArguments& Arguments) {
        std::atomic<bool> BlnDone(false);
        std::string StrText;
        std::thread Reader([&] {
            char ArrBlock[4096];
            for (;;) {
                const bool BlnLast = BlnDone.load();
                const ssize_t LngRead = read(IntReader, ArrBlock, sizeof ArrBlock);
                if (LngRead > 0)
                    StrText.append(ArrBlock, static_cast<std::size_t>(LngRead));
                else if (BlnLast)
                    return;
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        std::string StrMessage;
        try {
            TMaskCommand::Run(Arguments);
        } catch (const TException& E) {
            StrMessage = E.what();
        }
        BlnDone.store(true);
        Reader.join();
        return std::make_pair(StrMessage, StrText);
    };
    TMaskCommand::TArguments Arguments;
    Arguments.MbrStrMaskFile = Path("good.asc");
    Arguments.MbrStrSourceFile = Path("short.asc");
    Arguments.MbrStrOutputFile = Path("pipe");
    Arguments.MbrDblFlag = 7;
    const auto [StrFailure, StrNothing] = RunReading(Arguments);
    EXPECT_EQ(StrFailure, "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile");
    EXPECT_EQ(StrNothing.size(), 0u);

    Arguments.MbrStrSourceFile = Path("good.asc");
    const auto [StrSuccess, StrResult] = RunReading(Arguments);
    EXPECT_EQ(StrSuccess, "");
    StrGrid.replace(StrGrid.find("xllcorner 0\nyllcorner 0"), 23,
                    "xllcorner        0\nyllcorner        0");
    EXPECT_TRUE(StrResult == StrGrid) << StrResult.substr(0, 200);
    close(IntReader);
}

} // namespace

namespace {

TEST_F(TMaskCommandDifferential, GridsOfOtherToolsGiveTheSameOutputOrMessage) {
    if (!fs::is_directory(CORPUS_DIR))
        GTEST_SKIP() << "no folder of grids by other tools at " << CORPUS_DIR;
    std::vector<std::string> VecGrids;
    for (const auto& Entry : fs::directory_iterator(CORPUS_DIR))
        if (Entry.path().extension() == ".asc")
            VecGrids.push_back(Entry.path().string());
    std::sort(VecGrids.begin(), VecGrids.end());
    // Each grid against itself and against the next one, read strictly and tolerantly; from
    // copies in the work folder.
    for (std::string& StrGrid : VecGrids) {
        const std::string StrCopy = Path(fs::path(StrGrid).filename().string());
        fs::copy_file(StrGrid, StrCopy);
        StrGrid = StrCopy;
    }
    for (std::size_t LngI = 0; LngI < VecGrids.size(); ++LngI) {
        for (const std::string& StrSource :
             {VecGrids[LngI], VecGrids[(LngI + 1) % VecGrids.size()]}) {
            for (const bool BlnTolerant : {false, true}) {
                TMaskCommand::TArguments Arguments;
                Arguments.MbrStrMaskFile = VecGrids[LngI];
                Arguments.MbrStrSourceFile = StrSource;
                Arguments.MbrStrOutputFile = Path("out.asc");
                Arguments.MbrDblFlag = 1;
                Arguments.MbrDblExclude = 0;
                Arguments.MbrBlnTolerant = BlnTolerant;
                Compare(Arguments, VecGrids[LngI] + " " + StrSource);
            }
        }
    }
}

} // namespace
