// Hostile grids through the command: what other tools, broken downloads and wrong files give it.
// Each either ends with one line and status 1, leaving nothing behind, or gives a correct output.

#include "app/CommandSupport.h"

#include <unistd.h>

#include <string>
#include <vector>

namespace {

std::string Header(const std::string& StrCols, const std::string& StrRows,
                   const std::string& StrCellSize = "1") {
    return "ncols " + StrCols + "\nnrows " + StrRows + "\nxllcorner 0\nyllcorner 0\ncellsize " +
           StrCellSize + "\nNODATA_value -9999\n";
}

// The header the command writes for a grid at (0, 0) with cell size 1.
std::string Written(const std::string& StrCols, const std::string& StrRows) {
    return "ncols " + StrCols + "\nnrows " + StrRows +
           "\nxllcorner        0\nyllcorner        0\ncellsize 1\nNODATA_value -9999\n";
}

std::string Utf16(const std::string& StrText) {
    std::string StrWide = "\xff\xfe";
    for (const char ChrValue : StrText) {
        StrWide += ChrValue;
        StrWide += '\0';
    }
    return StrWide;
}

std::string Repeated(const std::string& StrPiece, int IntCount) {
    std::string StrText;
    for (int IntI = 0; IntI < IntCount; ++IntI)
        StrText += StrPiece;
    return StrText;
}

const std::string StrGrid = Header("2", "2") + "1 2\n3 4\n";
const std::string StrFormat = "File format error: ";
const std::string StrInvalidCell =
    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile\n";
const std::string StrNoIntersection = "Maps do not intersect in TMapTools::Intersection\n";

struct THostileCase {
    const char* PtrName;
    std::string StrMask;
    std::string StrSource; // empty: the mask again
    std::string StrExpectedLine;
    std::string StrExpectedOutput; // the output file when the command succeeds
};

using VeilgridHostile = TCommandTest;

TEST_F(VeilgridHostile, EachInputFailsWithOneLineOrGivesTheRightGrid) {
    std::string StrGarbage;
    for (int IntI = 0; IntI < 4096; ++IntI)
        StrGarbage += static_cast<char>((IntI * 7919 + 13) % 256);
    std::string StrCrLf;
    for (const char ChrValue : StrGrid)
        StrCrLf += ChrValue == '\n' ? std::string("\r\n") : std::string(1, ChrValue);
    const std::string StrWide = Repeated("7 ", 10000) + "\n";

    const THostileCase Cases[] = {
        // Files that are not grids.
        {"binary garbage", StrGarbage, "", StrFormat + "expected to find ncols tag\n", ""},
        {"text in UTF-16", Utf16(StrGrid), "", StrFormat + "expected to find ncols tag\n", ""},
        {"byte order mark", "\xef\xbb\xbf" + StrGrid, "",
         StrFormat + "expected to find ncols tag\n", ""},
        {"zero byte in a cell", Header("2", "2") + "1 2\n3 4" + std::string(1, '\0') + "\n", "",
         StrInvalidCell, ""},
        {"a cell longer than any token", Header("1", "1") + std::string(10000, 'x') + "\n", "",
         StrInvalidCell, ""},
        {"header given twice", Header("2", "2") + StrGrid, "", StrInvalidCell, ""},
        {"truncated download", StrGrid.substr(0, StrGrid.size() - 3), "",
         "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile\n", ""},
        // Numbers in forms the format does not have.
        {"hexadecimal cell", Header("2", "2") + "0x10 2\n3 4\n", "", StrInvalidCell, ""},
        {"decimal comma in a cell", Header("2", "2") + "1,5 2\n3 4\n", "", StrInvalidCell, ""},
        {"hexadecimal ncols", Header("0x2", "2") + "1 2\n3 4\n", "",
         StrFormat + "invalid value for ncols tag\n", ""},
        {"decimal comma in cellsize", Header("2", "2", "0,5") + "1 2\n3 4\n", "",
         StrFormat + "invalid value for cellsize tag\n", ""},
        {"negative nrows", Header("2", "-2"), "", StrFormat + "invalid value for nrows tag\n", ""},
        {"ncols beyond 32 bits", Header("2147483648", "1"), "",
         StrFormat + "invalid value for ncols tag\n", ""},
        {"cellsize beyond double", Header("2", "2", "1e999") + "1 2\n3 4\n", "",
         StrFormat + "invalid value for cellsize tag\n", ""},
        {"cellsize nan", Header("2", "2", "nan") + "1 2\n3 4\n", "",
         StrFormat + "invalid value for cellsize tag\n", ""},
        // Values at the edges of double: beyond its range a cell is infinite, below it zero;
        // nan and inf in any case are cells like any other and are written back readably.
        {"huge exponents", Header("2", "2") + "1e999 -1e999\n1e-999 2\n", "", "",
         Written("2", "2") + "inf -inf \n0 0 \n"},
        {"nan and inf", Header("3", "2") + "nan -NaN INF\n-inf Infinity 2\n", "", "",
         Written("3", "2") + "nan -nan inf \n-inf inf 0 \n"},
        // Line ends of another system.
        {"CRLF line ends", StrCrLf, "", "", Written("2", "2") + "1 0 \n3 4 \n"},
        // Degenerate and extreme shapes.
        {"0 x 0 grid", Header("0", "0"), "", StrNoIntersection, ""},
        {"0 x 0 grid as source", StrGrid, Header("0", "0"), StrNoIntersection, ""},
        {"1 x 1 grid", Header("1", "1") + "2\n", "", "", Written("1", "1") + "0 \n"},
        {"one row as mask, one column as source", Header("3", "1") + "2 5 6\n",
         Header("1", "3") + "9\n9\n9\n", "", Written("1", "1") + "0 \n"},
        {"one column as mask, one row as source", Header("1", "3") + "4\n5\n2\n",
         Header("3", "1") + "9 9 9\n", "", Written("1", "1") + "0 \n"},
        {"10^4 columns in one row", Header("10000", "1") + StrWide, "", "",
         Written("10000", "1") + StrWide},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        WriteFile(Path("mask.asc"), Case.StrMask);
        WriteFile(Path("source.asc"), Case.StrSource.empty() ? Case.StrMask : Case.StrSource);
        const TRun Run = RunCommand(
            {Path("mask.asc"), "2", "0", Path("source.asc"), Path("out.asc")}, [] { alarm(60); });
        EXPECT_EQ(Run.StrOutput, Case.StrExpectedLine);
        if (Case.StrExpectedLine.empty()) {
            EXPECT_EQ(Run.IntStatus, 0);
            EXPECT_EQ(ReadFile(Path("out.asc")), Case.StrExpectedOutput);
            // What was written reads back as the same grid.
            const TRun Again =
                RunCommand({Path("out.asc"), "2", "0", Path("out.asc"), Path("again.asc")});
            EXPECT_EQ(Again.IntStatus, 0);
            EXPECT_EQ(ReadFile(Path("again.asc")), Case.StrExpectedOutput);
        } else {
            EXPECT_EQ(Run.IntStatus, 1);
            EXPECT_EQ(Files(), (std::vector<std::string>{"mask.asc", "source.asc"}));
        }
        fs::remove(Path("out.asc"));
        fs::remove(Path("again.asc"));
    }
}

} // namespace
