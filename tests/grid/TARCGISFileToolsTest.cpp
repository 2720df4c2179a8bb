#include "grid/TARCGISFileTools.h"

#include "PipeBuffer.h"
#include "TestSupport.h"
#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

const char* const StrEndOfFile = "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";
const char* const StrTooLarge =
    "File format error: grid is too large in TARCGISFileTools::LoadARCGISFile";
const char* const StrHeader32 = "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                                "NODATA_value -9999\n";
const char* const StrGrid32 = "ncols 3\nnrows 2\nxllcorner        0\nyllcorner        0\n"
                              "cellsize 1\nNODATA_value -9999\n1 2 3 \n4 5 6 \n";

std::unique_ptr<TMap> Load(const std::string& StrText) {
    std::istringstream In(StrText);
    return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(In));
}

std::string Write(TMap* PtrMap) {
    std::ostringstream Out;
    TARCGISFileTools::WriteARCGISFile(PtrMap, Out);
    return Out.str();
}

// A header with the given dimensions and otherwise plain values.
std::string Header(const std::string& StrCols, const std::string& StrRows) {
    return "ncols " + StrCols + "\nnrows " + StrRows +
           "\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n";
}

std::vector<double> Cells(const TMap* PtrMap) {
    std::vector<double> VecCells;
    for (long LngY = 0; LngY < PtrMap->GetYDim(); ++LngY)
        for (long LngX = 0; LngX < PtrMap->GetXDim(); ++LngX)
            VecCells.push_back(PtrMap->GetPointVal(LngX, LngY));
    return VecCells;
}

// Bit-for-bit equality, so that -0 differs from 0 and every nan equals itself.
bool SameBits(double DblA, double DblB) { return std::memcmp(&DblA, &DblB, sizeof DblA) == 0; }

std::vector<double> Ordinates(const TAxis* PtrAxis, char ChrAxis) {
    std::vector<double> VecValues;
    for (long LngI = 0; LngI < PtrAxis->GetSize(); ++LngI)
        VecValues.push_back(ChrAxis == 'X' ? PtrAxis->GetPoint(LngI)->GetX()
                                           : PtrAxis->GetPoint(LngI)->GetY());
    return VecValues;
}

struct TFailCase {
    const char* Name;
    std::string StrText;
    const char* PtrMessage;
};

TEST(TARCGISFileToolsTest, HeaderTagsAreCheckedInOrder) {
    const std::string StrTail = "\n1 2 3 4 5 6\n";
    const TFailCase Cases[] = {
        {"empty input", "", "File format error: expected to find ncols tag"},
        {"blanks only", " \n\t\r\n", "File format error: expected to find ncols tag"},
        {"capital NCOLS",
         "NCOLS 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999" + StrTail,
         "File format error: expected to find ncols tag"},
        {"pairs swapped",
         "nrows 2\nncols 3\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999" + StrTail,
         "File format error: expected to find ncols tag"},
        {"tag with a colon", "ncols: 3", "File format error: expected to find ncols tag"},
        {"only the first pair", "ncols 3\n", "File format error: expectd to find nrows tag"},
        {"only the first tag", "ncols", "File format error: expectd to find nrows tag"},
        {"ends after nrows", "ncols 3\nnrows 2",
         "File format error: expected to find xllcorner tag"},
        {"cell-centre corner",
         "ncols 3\nnrows 2\nxllcenter 0\nyllcenter 0\ncellsize 1\nNODATA_value -9999" + StrTail,
         "File format error: expected to find xllcorner tag"},
        {"ends after xllcorner", "ncols 3\nnrows 2\nxllcorner 0",
         "File format error: expected to find yllcorner tag"},
        {"ends after yllcorner", "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0",
         "File format error: expected to find cellsize tag"},
        {"dx instead of cellsize",
         "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ndx 1\nNODATA_value -9999" + StrTail,
         "File format error: expected to find cellsize tag"},
        {"ends after cellsize", "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1",
         "File format error: expected to find NODATA_value tag"},
        {"capital NODATA_VALUE",
         "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_VALUE -9999" + StrTail,
         "File format error: expected to find NODATA_value tag"},
        {"no-data line missing", "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1" + StrTail,
         "File format error: expected to find NODATA_value tag"},
        {"no-data value missing before cells",
         "ncols 1\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value", StrEndOfFile},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(Load(Case.StrText), Case.PtrMessage);
    }
}

TEST(TARCGISFileToolsTest, HeaderValuesMustBeNumbersOfTheirKind) {
    const std::string StrLong(5000, '1');
    const TFailCase Cases[] = {
        {"ncols fraction", Header("3.5", "2"), "File format error: invalid value for ncols tag"},
        {"ncols negative", Header("-1", "2"), "File format error: invalid value for ncols tag"},
        {"ncols 2^31", Header("2147483648", "1"), "File format error: invalid value for ncols tag"},
        {"ncols is a tag", "ncols nrows 2", "File format error: invalid value for ncols tag"},
        {"ncols of 5000 digits", Header(StrLong, "1"),
         "File format error: invalid value for ncols tag"},
        {"nrows exponent", Header("3", "1e3"), "File format error: invalid value for nrows tag"},
        {"xllcorner comma", "ncols 3 nrows 2 xllcorner 0,5 yllcorner 0",
         "File format error: invalid value for xllcorner tag"},
        {"xllcorner nan", "ncols 3 nrows 2 xllcorner nan yllcorner 0",
         "File format error: invalid value for xllcorner tag"},
        {"yllcorner -inf", "ncols 3 nrows 2 xllcorner 0 yllcorner -inf cellsize 1",
         "File format error: invalid value for yllcorner tag"},
        {"yllcorner trailing text", "ncols 3 nrows 2 xllcorner 0 yllcorner 7x cellsize 1",
         "File format error: invalid value for yllcorner tag"},
        {"cellsize 0", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 0 NODATA_value 1",
         "File format error: invalid value for cellsize tag"},
        {"cellsize negative", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize -1",
         "File format error: invalid value for cellsize tag"},
        {"cellsize inf", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize inf",
         "File format error: invalid value for cellsize tag"},
        {"cellsize nan", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize nan",
         "File format error: invalid value for cellsize tag"},
        {"NODATA_value word",
         "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 NODATA_value none 1 2 3 4 5 6",
         "File format error: invalid value for NODATA_value tag"},
        {"nodata_value word",
         "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 nodata_value none 1 2 3 4 5 6",
         "File format error: invalid value for nodata_value tag"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(Load(Case.StrText), Case.PtrMessage);
    }
}

TEST(TARCGISFileToolsTest, NumbersOfAnyLengthAreRead) {
    // Numbers far longer than any real file holds are still numbers, read as strtod reads them.
    const std::string StrZeros(5000, '0');
    const std::string StrCells[] = {std::string(5000, '6'), "1." + StrZeros,
                                    "-0." + StrZeros + "15e" + std::string(3000, '0') + "5001"};
    auto PtrMap = Load("ncols " + StrZeros + "3 nrows +" + StrZeros +
                       "1 xllcorner 0 yllcorner 0 cellsize 1 NODATA_value " + StrCells[1] + " " +
                       StrCells[0] + " " + StrCells[1] + " " + StrCells[2]);
    EXPECT_EQ(PtrMap->GetXDim(), 3);
    EXPECT_EQ(PtrMap->GetYDim(), 1);
    EXPECT_EQ(PtrMap->GetNoData(), 1.0);
    for (long LngX = 0; LngX < 3; ++LngX)
        EXPECT_EQ(PtrMap->GetPointVal(LngX, 0), std::strtod(StrCells[LngX].c_str(), nullptr));
    EXPECT_EQ(PtrMap->GetPointVal(2, 0), -1.5);
}

TEST(TARCGISFileToolsTest, HeaderAcceptsEveryNumberOfItsRange) {
    // 2147483647 columns pass the header; the body then ends early.
    EXPECT_FAILS_WITH(Load(Header("2147483647", "1") + "1 2"), StrEndOfFile);
    EXPECT_FAILS_WITH(Load(Header("+3", "2") + "1 2 3 4 5"), StrEndOfFile);

    auto PtrMap = Load("ncols 1 nrows 1 xllcorner -1.5e2 yllcorner .5E+02 cellsize 2.\n"
                       "nodata_value nan\n-INF\n");
    EXPECT_EQ(PtrMap->GetXAxisInterval()->GetPoint(0)->GetX(), -150.0);
    EXPECT_EQ(PtrMap->GetYAxisInterval()->GetPoint(1)->GetY(), 50.0);
    EXPECT_EQ(PtrMap->GetResolution(), 2.0);
    EXPECT_TRUE(std::isnan(PtrMap->GetNoData()));
    EXPECT_EQ(PtrMap->GetPointVal(0, 0), -std::numeric_limits<double>::infinity());
}

TEST(TARCGISFileToolsTest, BodyNeedsExactlyTheValuesOfTheHeader) {
    const TFailCase Cases[] = {
        {"one value too few", std::string(StrHeader32) + "1 2 3\n4 5\n", StrEndOfFile},
        {"no body", StrHeader32, StrEndOfFile},
        {"word in the body", std::string(StrHeader32) + "1 2 3\n4 x 6\n",
         "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile"},
        {"decimal comma", std::string(StrHeader32) + "1 2 3\n4 5,5 6\n",
         "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile"},
        {"5000 characters, no number",
         std::string(StrHeader32) + "1 2 3\n4 5 " + std::string(5000, '6') + "x",
         "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_FAILS_WITH(Load(Case.StrText), Case.PtrMessage);
    }

    const std::vector<double> VecExpected = {1, 2, 3, 4, 5, 6};
    const std::pair<const char*, std::string> Loads[] = {
        {"conventional", StrGrid32},
        // A last value followed directly by the end of the file was rejected.
        {"no line end after the last value", std::string(StrHeader32) + "1 2 3\n4 5 6"},
        {"extra tokens after the last value", std::string(StrHeader32) + "1 2 3\n4 5 6\n7 x\n"},
        {"any layout and blanks",
         "ncols\t3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 nodata_value -9999\r\n1\n2\n\n3\v4"
         "\f5\r\n6"},
    };
    for (const auto& [PtrName, StrText] : Loads) {
        SCOPED_TRACE(PtrName);
        auto PtrMap = Load(StrText);
        EXPECT_EQ(PtrMap->GetXDim(), 3);
        EXPECT_EQ(PtrMap->GetYDim(), 2);
        EXPECT_EQ(Cells(PtrMap.get()), VecExpected);
    }
}

TEST(TARCGISFileToolsTest, StreamStopsDirectlyAfterTheLastValue) {
    // A body far longer than the reader's blocks, so that it reads ahead and must give back.
    std::string StrText = Header("1000", "100");
    for (int IntI = 0; IntI < 100000; ++IntI)
        StrText += "0.125 ";
    std::istringstream In(StrText + "tail 1\n");
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(In));
    EXPECT_EQ(PtrMap->GetPointVal(999, 99), 0.125);
    std::string StrNext;
    EXPECT_TRUE(In >> StrNext);
    EXPECT_EQ(StrNext, "tail");

    // Two grids in one stream load one after the other.
    std::istringstream InTwo(std::string(StrGrid32) + StrGrid32);
    std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFile(InTwo));
    EXPECT_FALSE(InTwo.eof());
    std::unique_ptr<TMap> PtrSecond(TARCGISFileTools::LoadARCGISFile(InTwo));
    EXPECT_EQ(Cells(PtrSecond.get()), Cells(PtrFirst.get()));

    std::istringstream InEnd(std::string(StrHeader32) + "1 2 3 4 5 6");
    std::unique_ptr<TMap> PtrEnd(TARCGISFileTools::LoadARCGISFile(InEnd));
    EXPECT_TRUE(InEnd.eof());
}

TEST(TARCGISFileToolsTest, StreamThatCannotSeekStopsAfterTheLastValue) {
    // Two grids and a word through a pipe: the first load takes nothing of the second grid.
    const std::string StrGrid = "ncols 2 nrows 1 xllcorner 0 yllcorner 0 cellsize 1 "
                                "NODATA_value -9999\n1 2\n";
    for (const std::size_t LngPiece :
         {std::size_t(0), std::size_t(1), std::size_t(7), std::size_t(4096)}) {
        SCOPED_TRACE(LngPiece);
        TPipeBuffer Buffer(StrGrid + StrGrid + "tail\n", LngPiece);
        std::istream In(&Buffer);
        std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFile(In));
        std::unique_ptr<TMap> PtrSecond(TARCGISFileTools::LoadARCGISFile(In));
        EXPECT_EQ(Cells(PtrSecond.get()), (std::vector<double>{1, 2}));
        std::string StrNext;
        EXPECT_TRUE(In >> StrNext);
        EXPECT_EQ(StrNext, "tail");
    }

    // A grid typed at a console loads once its last value ends; no more input is waited for.
    TPipeBuffer Console(StrGrid, 4096);
    std::istream InConsole(&Console);
    std::unique_ptr<TMap> PtrTyped(TARCGISFileTools::LoadARCGISFile(InConsole));
    EXPECT_FALSE(Console.WasAskedPastTheEnd());
    EXPECT_FALSE(InConsole.eof());
}

TEST(TARCGISFileToolsTest, AxesAreBuiltBySuccessiveAddition) {
    auto PtrMap = Load("ncols 3 nrows 2 xllcorner 100 yllcorner 10 cellsize 5 NODATA_value -1\n"
                       "1 2 3\n4 5 6\n");
    EXPECT_EQ(Ordinates(PtrMap->GetYAxisInterval(), 'Y'), (std::vector<double>{20, 15, 10}));
    EXPECT_EQ(Ordinates(PtrMap->GetYAxisInterval(), 'X'), (std::vector<double>{100, 100, 100}));
    EXPECT_EQ(Ordinates(PtrMap->GetXAxisInterval(), 'X'),
              (std::vector<double>{100, 105, 110, 115}));
    EXPECT_EQ(Ordinates(PtrMap->GetXAxisInterval(), 'Y'), (std::vector<double>{20, 20, 20, 20}));
    EXPECT_EQ(Ordinates(PtrMap->GetYAxis(), 'Y'), (std::vector<double>{17.5, 12.5}));
    EXPECT_EQ(Ordinates(PtrMap->GetXAxis(), 'X'), (std::vector<double>{102.5, 107.5, 112.5}));
    EXPECT_EQ(PtrMap->GetRow(0), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(PtrMap->GetNoData(), -1);
    EXPECT_EQ(PtrMap->GetResolution(), 5);

    // Ten additions of 0.1 fall short of 1, unlike 10 * 0.1.
    std::string StrTenths =
        "ncols 10 nrows 10 xllcorner 0 yllcorner 0 cellsize 0.1 NODATA_value 0\n";
    for (int IntI = 0; IntI < 100; ++IntI)
        StrTenths += "1 ";
    auto PtrTenths = Load(StrTenths);
    double DblSum = 0;
    for (int IntI = 0; IntI < 10; ++IntI)
        DblSum += 0.1;
    ASSERT_NE(DblSum, 10 * 0.1);
    EXPECT_EQ(PtrTenths->GetXAxisInterval()->GetPoint(10)->GetX(), DblSum);
    EXPECT_EQ(PtrTenths->GetYAxisInterval()->GetPoint(0)->GetY(), DblSum);
}

TEST(TARCGISFileToolsTest, GridsWithoutRowsOrColumns) {
    // A grid without cells needs no no-data value; it stays -9999.
    auto PtrNoValue = Load("ncols 0\nnrows 0\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value");
    EXPECT_EQ(PtrNoValue->GetNoData(), -9999);

    auto PtrNoRows = Load("ncols 3 nrows 0 xllcorner 1 yllcorner 2 cellsize 1 NODATA_value -9999");
    EXPECT_EQ(PtrNoRows->GetYDim(), 0);
    EXPECT_EQ(Ordinates(PtrNoRows->GetYAxisInterval(), 'Y'), std::vector<double>{2});
    EXPECT_EQ(Write(PtrNoRows.get()), "ncols 3\nnrows 0\nxllcorner        1\nyllcorner        2\n"
                                      "cellsize 1\nNODATA_value -9999\n");

    auto PtrNoColumns = Load(Header("0", "2"));
    EXPECT_EQ(PtrNoColumns->GetXDim(), 0);
    EXPECT_EQ(PtrNoColumns->GetYDim(), 2);
    EXPECT_EQ(Write(PtrNoColumns.get()),
              "ncols 0\nnrows 2\nxllcorner        0\nyllcorner        0\n"
              "cellsize 1\nNODATA_value -9999\n\n\n");
}

TEST(TARCGISFileToolsTest, HugeHeadersFailWithAMessage) {
    // A lying header: four billion billion cells claimed, ten values present.
    EXPECT_FAILS_WITH(Load(Header("2000000000", "2000000000") + "1 2 3 4 5 6 7 8 9 10\n"),
                      StrEndOfFile);
    // No column needs no value, but an axis of two billion points cannot be held.
    EXPECT_FAILS_WITH(Load(Header("0", "2147483647")), StrTooLarge);
    EXPECT_FAILS_WITH(Load(Header("2147483647", "0")), StrTooLarge);
}

TEST(TARCGISFileToolsTest, WritesTheExampleLayoutWhateverTheStreamSettings) {
    auto PtrMap = Load(StrGrid32);
    EXPECT_EQ(Write(PtrMap.get()), StrGrid32);

    std::ostringstream Out;
    Out.precision(2);
    Out << std::fixed << std::showpos;
    Out.width(20);
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), Out);
    EXPECT_EQ(Out.str(), StrGrid32);
    EXPECT_EQ(PtrMap->GetPointVal(2, 1), 6);
}

TEST(TARCGISFileToolsTest, CornersAreRightAlignedInEightCharacters) {
    struct TCornerCase {
        const char* Name;
        const char* PtrXll;
        const char* PtrCellSize;
        const char* PtrLine;
    };
    const TCornerCase Cases[] = {
        {"short", "-0.5", "1", "xllcorner     -0.5\n"},
        {"eight characters", "-12345.5", "1", "xllcorner -12345.5\n"},
        {"longer written in full", "432567.123456789", "1", "xllcorner 432567.123456789\n"},
        {"large whole number", "3531875", "25", "xllcorner  3531875\n"},
        {"exponent form", "1e-05", "1e-06", "xllcorner    1e-05\n"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        auto PtrMap = Load(std::string("ncols 1 nrows 1 xllcorner ") + Case.PtrXll +
                           " yllcorner 0 cellsize " + Case.PtrCellSize + " NODATA_value 0 7");
        const std::string StrText = Write(PtrMap.get());
        EXPECT_NE(StrText.find(std::string("\n") + Case.PtrLine), std::string::npos) << StrText;
    }

    // A one-row map built from a centre axis has its Y edges south first; the south edge is
    // still the one written.
    TAxis XAxis(1.0);
    XAxis.AddPoint(new TPoint(0.5, 5));
    TAxis YAxis(1.0);
    YAxis.AddPoint(new TPoint(0.5, 5));
    TMap Map(&XAxis, &YAxis);
    EXPECT_EQ(Write(&Map), "ncols 1\nnrows 1\nxllcorner        0\nyllcorner      4.5\n"
                           "cellsize 1\nNODATA_value -9999\n-9999 \n");
}

TEST(TARCGISFileToolsTest, RoundTripIsExact) {
    const double DblInf = std::numeric_limits<double>::infinity();
    const std::vector<double> VecValues = {0.1,
                                           -0.0,
                                           0.0,
                                           std::nan(""),
                                           DblInf,
                                           -DblInf,
                                           1e-300,
                                           std::numeric_limits<double>::denorm_min(),
                                           std::numeric_limits<double>::max(),
                                           -std::numeric_limits<double>::lowest() / 3,
                                           123456789.123,
                                           4512345.25,
                                           1.0 / 3,
                                           -9999};
    std::string StrText = "ncols 7 nrows 2 xllcorner 432567.123456789 yllcorner -4297.5 "
                          "cellsize 0.000277777778 NODATA_value -3.4028230607370965e+38\n";
    for (double DblValue : VecValues) {
        std::ostringstream Out;
        Out.precision(17);
        Out << DblValue << ' ';
        StrText += Out.str();
    }
    auto PtrMap = Load(StrText);
    auto PtrAgain = Load(Write(PtrMap.get()));
    EXPECT_EQ(Write(PtrAgain.get()), Write(PtrMap.get()));
    EXPECT_EQ(PtrAgain->GetXAxisInterval()->GetPoint(0)->GetX(), 432567.123456789);
    EXPECT_EQ(PtrAgain->GetYAxisInterval()->GetPoint(2)->GetY(), -4297.5);
    EXPECT_EQ(PtrAgain->GetResolution(), 0.000277777778);
    EXPECT_EQ(PtrAgain->GetNoData(), -3.4028230607370965e+38);
    const std::vector<double> VecCells = Cells(PtrAgain.get());
    ASSERT_EQ(VecCells.size(), VecValues.size());
    for (std::size_t LngI = 0; LngI < VecValues.size(); ++LngI)
        EXPECT_TRUE(SameBits(VecCells[LngI], VecValues[LngI]) || std::isnan(VecValues[LngI]))
            << LngI;
    EXPECT_TRUE(std::isnan(VecCells[3]));
    EXPECT_TRUE(std::signbit(VecCells[1]));
}

TEST(TARCGISFileToolsTest, MapWithoutAxesIsNotWritten) {
    TMap Map(1.0, 2, 2);
    std::ostringstream Out;
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteARCGISFile(&Map, Out),
                      "Map has no axes in TARCGISFileTools::WriteARCGISFile");
    EXPECT_EQ(Out.str(), "");
}

// A fresh folder for each test, removed afterwards.
class TARCGISFileToolsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string StrTemplate = (fs::temp_directory_path() / "veilgrid-gridXXXXXX").string();
        ASSERT_NE(mkdtemp(StrTemplate.data()), nullptr);
        PthDir = StrTemplate;
    }
    void TearDown() override {
        std::error_code Error;
        fs::permissions(PthDir, fs::perms::owner_all, fs::perm_options::add, Error);
        fs::remove_all(PthDir, Error);
    }
    std::string PathOf(const char* PtrName) const { return (PthDir / PtrName).string(); }
    static void WriteText(const std::string& StrPath, const std::string& StrText) {
        std::ofstream Out(StrPath, std::ios::binary);
        Out << StrText;
    }
    static std::string ReadText(const std::string& StrPath) {
        std::ifstream In(StrPath, std::ios::binary);
        std::ostringstream Out;
        Out << In.rdbuf();
        return Out.str();
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> VecNames;
        for (const auto& Entry : fs::directory_iterator(PthDir))
            VecNames.push_back(Entry.path().filename().string());
        std::sort(VecNames.begin(), VecNames.end());
        return VecNames;
    }
    // Writes under a file size limit, which makes the writes fail as a full disk does, also for
    // the superuser; returns the failure's message.
    static std::string WriteOnFullDisk(TMap* PtrMap, const std::string& StrPath) {
        struct rlimit LimitOld {};
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &LimitOld), 0);
        struct rlimit LimitSmall = LimitOld;
        LimitSmall.rlim_cur = 4096;
        const auto PtrOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &LimitSmall), 0);
        std::string StrCaught;
        try {
            TARCGISFileTools::WriteARCGISFile(PtrMap, StrPath);
        } catch (const std::exception& E) {
            StrCaught = E.what();
        }
        setrlimit(RLIMIT_FSIZE, &LimitOld);
        std::signal(SIGXFSZ, PtrOldHandler);
        return StrCaught;
    }
    static mode_t ModeOf(const std::string& StrPath) {
        struct stat StatFile {};
        stat(StrPath.c_str(), &StatFile);
        return StatFile.st_mode & 07777;
    }

    fs::path PthDir;
};

TEST_F(TARCGISFileToolsFileTest, LoadsAndWritesByName) {
    const std::string StrIn = PathOf("in.asc");
    WriteText(StrIn, std::string(StrHeader32) + "1 2 3\n4 5 6");
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFile(StrIn));
    const std::string StrOut = PathOf("out.asc");
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrOut);
    EXPECT_EQ(ReadText(StrOut), StrGrid32);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"in.asc", "out.asc"}));

    // A name as long as the folder allows, with no room left for a longer temporary name.
    const std::string StrLongName = std::string(NAME_MAX - 4, 'g') + ".asc";
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), PathOf(StrLongName.c_str()));
    EXPECT_EQ(ReadText(PathOf(StrLongName.c_str())), StrGrid32);
    EXPECT_EQ(Entries(), (std::vector<std::string>{StrLongName, "in.asc", "out.asc"}));
    fs::remove(PathOf(StrLongName.c_str()));

    // A lying header in a file fails at the end of its few values.
    WriteText(StrIn, Header("2000000000", "2000000000") + "1 2 3 4 5 6 7 8 9 10");
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(StrIn)), StrEndOfFile);
}

TEST_F(TARCGISFileToolsFileTest, LoadFailsOnWhatIsNoGridFile) {
    const std::string StrMissing = PathOf("missing.asc");
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(StrMissing)),
                      "Unable to open file " + StrMissing);
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(PthDir.string())),
                      "Unable to open file " + PthDir.string());
    // Endless input ends at the first token, which is too long to be a tag.
    EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile("/dev/zero")),
                      "File format error: expected to find ncols tag");
}

TEST_F(TARCGISFileToolsFileTest, WriteFailuresAreReported) {
    auto PtrMap = Load(StrGrid32);
    const std::string StrNoFolder = PathOf("no-folder/out.asc");
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrNoFolder),
                      "Unable to open file " + StrNoFolder);
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), PthDir.string()),
                      "Unable to open file " + PthDir.string());
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), ""), "Unable to open file ");
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteARCGISFile(PtrMap.get(), "/dev/full"),
                      "Unable to write file /dev/full");
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), "/dev/null");
    EXPECT_TRUE(Entries().empty());
}

TEST_F(TARCGISFileToolsFileTest, FailedWriteLeavesTheOldFile) {
    const std::string StrOut = PathOf("out.asc");
    WriteText(StrOut, "old");

    TMap NoAxes(1.0, 2, 2);
    EXPECT_FAILS_WITH(TARCGISFileTools::WriteARCGISFile(&NoAxes, StrOut),
                      "Map has no axes in TARCGISFileTools::WriteARCGISFile");
    EXPECT_EQ(ReadText(StrOut), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.asc"});

    std::string StrText = Header("100", "100");
    for (int IntI = 0; IntI < 10000; ++IntI)
        StrText += "1.5 ";
    auto PtrBig = Load(StrText);
    EXPECT_EQ(WriteOnFullDisk(PtrBig.get(), StrOut), "Unable to write file " + StrOut);
    EXPECT_EQ(ReadText(StrOut), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.asc"});

    // A new file through a link to nowhere is not left half-written either.
    const std::string StrLink = PathOf("link.asc");
    fs::create_symlink("target.asc", StrLink);
    EXPECT_EQ(WriteOnFullDisk(PtrBig.get(), StrLink), "Unable to write file " + StrLink);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.asc", "out.asc"}));
    auto PtrSmall = Load(StrGrid32);
    TARCGISFileTools::WriteARCGISFile(PtrSmall.get(), StrLink);
    EXPECT_TRUE(fs::is_symlink(StrLink));
    EXPECT_EQ(ReadText(PathOf("target.asc")), StrGrid32);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"link.asc", "out.asc", "target.asc"}));
}

TEST_F(TARCGISFileToolsFileTest, OutputPermissions) {
    auto PtrMap = Load(StrGrid32);
    const std::string StrKept = PathOf("kept.asc");
    WriteText(StrKept, "old");
    ASSERT_EQ(chmod(StrKept.c_str(), 0640), 0);
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrKept);
    EXPECT_EQ(ModeOf(StrKept), 0640u);
    EXPECT_EQ(ReadText(StrKept), StrGrid32);

    const mode_t IntOldMask = umask(027);
    const std::string StrNew = PathOf("new.asc");
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrNew);
    umask(IntOldMask);
    EXPECT_EQ(ModeOf(StrNew), 0640u);

    // Through a link the file it names is replaced; the link stays a link.
    const std::string StrLink = PathOf("link.asc");
    fs::create_symlink(StrKept, StrLink);
    WriteText(StrKept, "old");
    TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrLink);
    EXPECT_TRUE(fs::is_symlink(StrLink));
    EXPECT_EQ(ReadText(StrKept), StrGrid32);
    EXPECT_EQ(Entries(), (std::vector<std::string>{"kept.asc", "link.asc", "new.asc"}));
}

TEST_F(TARCGISFileToolsFileTest, WriteProtectedOutputIsNotReplaced) {
    auto PtrMap = Load(StrGrid32);
    const std::string StrOut = PathOf("protected.asc");
    WriteText(StrOut, "old");
    ASSERT_EQ(chmod(StrOut.c_str(), 0444), 0);
    // The folder is open to all, so the file could be replaced; only its own permissions forbid
    // writing it. The superuser may write anything, so the test runs as another user then.
    ASSERT_EQ(chmod(PthDir.c_str(), 0777), 0);
    const uid_t IntOldUser = geteuid();
    if (IntOldUser == 0 && seteuid(65534) != 0)
        GTEST_SKIP() << "cannot act as an ordinary user";
    std::string StrCaught;
    try {
        TARCGISFileTools::WriteARCGISFile(PtrMap.get(), StrOut);
    } catch (const std::exception& E) {
        StrCaught = E.what();
    }
    if (IntOldUser == 0) {
        ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_EQ(StrCaught, "Unable to open file " + StrOut);
    EXPECT_EQ(ReadText(StrOut), "old");
    EXPECT_EQ(ModeOf(StrOut), 0444u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"protected.asc"});
}

// The rows of the corpus manifest after its heading, split at tabs (each has a field at least);
// false when there is no corpus (the folder is outside the repository and may be absent).
bool ReadManifest(const fs::path& PthCorpus, std::vector<std::vector<std::string>>& VecRows) {
    std::ifstream Manifest(PthCorpus / "MANIFEST.tsv");
    if (!Manifest)
        return false;
    std::string StrLine;
    std::getline(Manifest, StrLine);
    while (std::getline(Manifest, StrLine)) {
        if (StrLine.empty())
            continue;
        std::vector<std::string> VecFields;
        std::istringstream Fields(StrLine);
        for (std::string StrField; std::getline(Fields, StrField, '\t');)
            VecFields.push_back(StrField);
        VecRows.push_back(std::move(VecFields));
    }
    return true;
}

// Real grid files written by other programs; the folder is outside the repository and may be
// absent.
TEST(TARCGISFileToolsCorpusTest, LoadsAsTheManifestExpects) {
    const fs::path PthCorpus = CORPUS_DIR;
    std::vector<std::vector<std::string>> VecRows;
    if (!ReadManifest(PthCorpus, VecRows))
        GTEST_SKIP() << "no corpus at " << PthCorpus;
    int IntFiles = 0;
    for (const std::vector<std::string>& VecFields : VecRows) {
        ASSERT_GE(VecFields.size(), 6u) << VecFields.front();
        SCOPED_TRACE(VecFields[0]);
        ++IntFiles;
        const std::string StrPath = (PthCorpus / VecFields[0]).string();
        const std::string& StrExpected = VecFields[5];
        if (StrExpected != "yes") {
            ASSERT_EQ(StrExpected.rfind("no: ", 0), 0u);
            EXPECT_FAILS_WITH(std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(StrPath)),
                              StrExpected.substr(4));
            continue;
        }
        std::unique_ptr<TMap> PtrMap;
        try {
            PtrMap.reset(TARCGISFileTools::LoadARCGISFile(StrPath));
        } catch (const std::exception& E) {
            ADD_FAILURE() << E.what();
            continue;
        }
        // What was read is written without loss.
        auto PtrAgain = Load(Write(PtrMap.get()));
        const std::vector<double> VecCells = Cells(PtrMap.get());
        const std::vector<double> VecAgain = Cells(PtrAgain.get());
        ASSERT_EQ(VecAgain.size(), VecCells.size());
        for (std::size_t LngI = 0; LngI < VecCells.size(); ++LngI)
            ASSERT_TRUE(SameBits(VecCells[LngI], VecAgain[LngI]) ||
                        (std::isnan(VecCells[LngI]) && std::isnan(VecAgain[LngI])))
                << LngI;
        EXPECT_EQ(PtrAgain->GetResolution(), PtrMap->GetResolution());
    }
    EXPECT_GT(IntFiles, 0);
}

std::string FileText(const std::string& StrPath) {
    std::ifstream In(StrPath, std::ios::binary);
    std::ostringstream Out;
    Out << In.rdbuf();
    return Out.str();
}

// The grid text with a header of another tool's form (one pair per line, tags in any case, any
// order, centres, dx/dy, no no-data line) rewritten into the strict form; the body as it was.
std::string StrictForm(const std::string& StrText) {
    std::map<std::string, std::string> MapPairs;
    std::size_t LngPos = 0;
    for (;;) {
        const std::size_t LngEnd = std::min(StrText.find('\n', LngPos), StrText.size());
        std::istringstream Line(StrText.substr(LngPos, LngEnd - LngPos));
        std::string StrTag;
        std::string StrValue;
        Line >> StrTag >> StrValue;
        std::transform(StrTag.begin(), StrTag.end(), StrTag.begin(), [](unsigned char ChrValue) {
            return static_cast<char>(std::tolower(ChrValue));
        });
        static const char* const ArrTags[] = {"ncols",     "nrows",       "xllcorner", "yllcorner",
                                              "xllcenter", "yllcenter",   "cellsize",  "dx",
                                              "dy",        "nodata_value"};
        if (std::find_if(std::begin(ArrTags), std::end(ArrTags), [&StrTag](const char* PtrTag) {
                return StrTag == PtrTag;
            }) == std::end(ArrTags))
            break;
        MapPairs[StrTag] = StrValue;
        LngPos = LngEnd + 1;
    }
    const std::string StrCell = MapPairs.count("cellsize") ? MapPairs["cellsize"] : MapPairs["dx"];
    const auto Corner = [&MapPairs, &StrCell](const std::string& StrAxis) {
        if (MapPairs.count(StrAxis + "llcorner"))
            return MapPairs[StrAxis + "llcorner"];
        char ArrText[40];
        std::snprintf(ArrText, sizeof ArrText, "%.17g",
                      std::strtod(MapPairs[StrAxis + "llcenter"].c_str(), nullptr) -
                          std::strtod(StrCell.c_str(), nullptr) / 2);
        return std::string(ArrText);
    };
    return "ncols " + MapPairs["ncols"] + "\nnrows " + MapPairs["nrows"] + "\nxllcorner " +
           Corner("x") + "\nyllcorner " + Corner("y") + "\ncellsize " + StrCell +
           "\nNODATA_value " +
           (MapPairs.count("nodata_value") ? MapPairs["nodata_value"] : std::string("-9999")) +
           "\n" + StrText.substr(std::min(LngPos, StrText.size()));
}

// The same extent, cell size, no-data value and cells, bit for bit (any nan equals any nan).
void ExpectSameGrid(const TMap* PtrMap, const TMap* PtrExpected) {
    ASSERT_EQ(PtrMap->GetXDim(), PtrExpected->GetXDim());
    ASSERT_EQ(PtrMap->GetYDim(), PtrExpected->GetYDim());
    EXPECT_TRUE(SameBits(PtrMap->GetResolution(), PtrExpected->GetResolution()));
    const auto SameValue = [](double DblA, double DblB) {
        return SameBits(DblA, DblB) || (std::isnan(DblA) && std::isnan(DblB));
    };
    EXPECT_TRUE(SameValue(PtrMap->GetNoData(), PtrExpected->GetNoData()));
    EXPECT_EQ(Ordinates(PtrMap->GetXAxisInterval(), 'X'),
              Ordinates(PtrExpected->GetXAxisInterval(), 'X'));
    EXPECT_EQ(Ordinates(PtrMap->GetYAxisInterval(), 'Y'),
              Ordinates(PtrExpected->GetYAxisInterval(), 'Y'));
    const std::vector<double> VecCells = Cells(PtrMap);
    const std::vector<double> VecExpected = Cells(PtrExpected);
    for (std::size_t LngI = 0; LngI < VecCells.size(); ++LngI)
        ASSERT_TRUE(SameValue(VecCells[LngI], VecExpected[LngI])) << LngI;
}

TEST(TARCGISFileToolsCorpusTest, LoadsTolerantlyAsTheManifestExpects) {
    const fs::path PthCorpus = CORPUS_DIR;
    std::vector<std::vector<std::string>> VecRows;
    if (!ReadManifest(PthCorpus, VecRows))
        GTEST_SKIP() << "no corpus at " << PthCorpus;
    int IntOnlyTolerant = 0;
    for (const std::vector<std::string>& VecFields : VecRows) {
        ASSERT_GE(VecFields.size(), 7u) << VecFields.front();
        SCOPED_TRACE(VecFields[0]);
        const std::string StrPath = (PthCorpus / VecFields[0]).string();
        if (VecFields[6] != "yes") {
            ASSERT_EQ(VecFields[6], "no");
            try {
                std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFileTolerant(StrPath));
                ADD_FAILURE() << "loads";
            } catch (const std::exception& E) {
                EXPECT_NE(std::string(E.what()), "");
            }
            continue;
        }
        std::unique_ptr<TMap> PtrMap;
        try {
            PtrMap.reset(TARCGISFileTools::LoadARCGISFileTolerant(StrPath));
        } catch (const std::exception& E) {
            ADD_FAILURE() << E.what();
            continue;
        }
        // A grid the strict reader takes reads the same; any other reads as its strict form.
        std::unique_ptr<TMap> PtrExpected;
        if (VecFields[5] == "yes") {
            PtrExpected.reset(TARCGISFileTools::LoadARCGISFile(StrPath));
        } else {
            ++IntOnlyTolerant;
            const std::string StrStrict = StrictForm(FileText(StrPath));
            SCOPED_TRACE(StrStrict.substr(0, 200));
            PtrExpected = Load(StrStrict);
        }
        ExpectSameGrid(PtrMap.get(), PtrExpected.get());
    }
    EXPECT_GT(IntOnlyTolerant, 0);
}

} // namespace
