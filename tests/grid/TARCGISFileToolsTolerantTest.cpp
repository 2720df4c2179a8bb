// The tolerant grid reader: the header forms other tools write, read against their strict form.

#include "grid/TARCGISFileTools.h"

#include "TestSupport.h"
#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::unique_ptr<TMap> LoadTolerant(const std::string& StrText) {
    std::istringstream In(StrText);
    return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFileTolerant(In));
}

std::unique_ptr<TMap> LoadStrict(const std::string& StrText) {
    std::istringstream In(StrText);
    return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(In));
}

// What a map is: dimensions, cell size, no-data value, edges and cells, as text for comparison.
std::string Describe(const TMap* PtrMap) {
    std::ostringstream Out;
    Out.precision(17);
    Out << PtrMap->GetXDim() << 'x' << PtrMap->GetYDim() << " cell " << PtrMap->GetResolution()
        << " nodata " << PtrMap->GetNoData() << " x";
    for (long LngI = 0; LngI < PtrMap->GetXAxisInterval()->GetSize(); ++LngI)
        Out << ' ' << PtrMap->GetXAxisInterval()->GetPoint(LngI)->GetX();
    Out << " y";
    for (long LngI = 0; LngI < PtrMap->GetYAxisInterval()->GetSize(); ++LngI)
        Out << ' ' << PtrMap->GetYAxisInterval()->GetPoint(LngI)->GetY();
    Out << " cells";
    for (long LngY = 0; LngY < PtrMap->GetYDim(); ++LngY)
        for (long LngX = 0; LngX < PtrMap->GetXDim(); ++LngX)
            Out << ' ' << PtrMap->GetPointVal(LngX, LngY);
    return Out.str();
}

TEST(TARCGISFileToolsTolerantTest, HeaderFormsReadAsTheirStrictForm) {
    struct TCase {
        const char* PtrName;
        std::string StrTolerant;
        std::string StrStrict;
    };
    const std::string StrBody = "1 2 3\n4 5 6\n";
    const std::string StrStrict =
        "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 2\nNODATA_value 5\n" + StrBody;
    const std::string StrNoNoData =
        "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 2\nNODATA_value -9999\n";
    const TCase Cases[] = {
        {"strict form", StrStrict, StrStrict},
        {"lower-case no-data tag",
         "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 2\nnodata_value 5\n" + StrBody,
         StrStrict},
        {"capitals",
         "NCOLS 3\nNROWS 2\nXLLCORNER 10\nYLLCORNER 20\nCELLSIZE 2\nNODATA_VALUE 5\n" + StrBody,
         StrStrict},
        {"camel case",
         "nCols 3\nnRows 2\nxllCorner 10\nyllCorner 20\ncellSize 2\nNoData_Value 5\n" + StrBody,
         StrStrict},
        {"any order, all on one line",
         "NODATA_value 5 cellsize 2 yllcorner 20 nrows 2 xllcorner 10 ncols 3 " + StrBody,
         StrStrict},
        {"centres before the cell size",
         "ncols 3\nnrows 2\nxllcenter 11\nyllcenter 21\ncellsize 2\nNODATA_value 5\n" + StrBody,
         StrStrict},
        {"one corner, one centre",
         "ncols 3\nnrows 2\nxllcorner 10\nYLLCENTER 21\ncellsize 2\nNODATA_value 5\n" + StrBody,
         StrStrict},
        {"equal dx and dy",
         "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 20\ndx 2\nDY 2.0\nNODATA_value 5\n" + StrBody,
         StrStrict},
        {"no no-data line", "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 2\n" + StrBody,
         StrNoNoData + StrBody},
        {"no no-data line, body starting with nan and a sign",
         "ncols 3\nnrows 2\nxllcorner 10\nyllcorner 20\ncellsize 2\nnan -2 3\n-inf +5 6\n",
         StrNoNoData + "nan -2 3\n-inf +5 6\n"},
        {"no cells, the input ending after the header",
         "ncols 0\nnrows 0\nxllcorner 10\nyllcorner 20\ncellsize 2",
         "ncols 0\nnrows 0\nxllcorner 10\nyllcorner 20\ncellsize 2\nNODATA_value -9999\n"},
        {"no-data tag ending the input",
         "ncols 0 nrows 1 xllcorner 10 yllcorner 20 cellsize 2 "
         "NODATA_value",
         "ncols 0 nrows 1 xllcorner 10 yllcorner 20 cellsize 2 NODATA_value -9999 "},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        std::unique_ptr<TMap> PtrTolerant;
        EXPECT_NO_THROW(PtrTolerant = LoadTolerant(Case.StrTolerant));
        if (PtrTolerant) {
            EXPECT_EQ(Describe(PtrTolerant.get()), Describe(LoadStrict(Case.StrStrict).get()));
        }
    }
    // The corners of a strict header are taken as written, bit for bit.
    auto PtrMap = LoadTolerant("ncols 1 nrows 1 xllcorner 0.1 yllcorner -0.3 cellsize 0.7 9\n");
    EXPECT_EQ(PtrMap->GetXAxisInterval()->GetPoint(0)->GetX(), 0.1);
    EXPECT_EQ(PtrMap->GetYAxisInterval()->GetPoint(1)->GetY(), -0.3);
}

TEST(TARCGISFileToolsTolerantTest, HeaderFailures) {
    struct TCase {
        const char* PtrName;
        std::string StrText;
        const char* PtrMessage;
    };
    const std::string StrBody = "\n1 2 3 4 5 6\n";
    const TCase Cases[] = {
        {"empty input", "", "File format error: expected to find ncols tag"},
        {"no ncols", "nrows 2 xllcorner 0 yllcorner 0 cellsize 1" + StrBody,
         "File format error: expected to find ncols tag"},
        {"no nrows", "ncols 3 xllcorner 0 yllcorner 0 cellsize 1" + StrBody,
         "File format error: expectd to find nrows tag"},
        {"an unknown tag ends the header", "ncols 3 nrows 2 xll 0 yllcorner 0 cellsize 1" + StrBody,
         "File format error: expected to find xllcorner tag"},
        {"no y corner", "ncols 3 nrows 2 xllcenter 0 cellsize 1" + StrBody,
         "File format error: expected to find yllcorner tag"},
        {"no cell size", "ncols 3 nrows 2 xllcorner 0 yllcorner 0" + StrBody,
         "File format error: expected to find cellsize tag"},
        {"duplicate tag in another case", "ncols 3 nrows 2 NCOLS 3" + StrBody,
         "File format error: duplicate NCOLS tag"},
        {"corner and centre", "ncols 3 nrows 2 xllcorner 0 xllcenter 0.5" + StrBody,
         "File format error: both xllcorner and xllcenter tags"},
        {"y corner and centre",
         "ncols 3 nrows 2 xllcorner 0 yllcenter 0.5 yllcorner 0 cellsize 1" + StrBody,
         "File format error: both yllcorner and yllcenter tags"},
        {"cellsize and dx", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 dx 1" + StrBody,
         "File format error: cellsize tag together with dx or dy tag"},
        {"dx without dy", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 dx 1" + StrBody,
         "File format error: expected to find dx and dy tags"},
        {"unequal dx and dy", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 dx 1 dy 1.5" + StrBody,
         "File format error: dx and dy differ, cells are not square"},
        {"count not a whole number", "NCOLS 3.5" + StrBody,
         "File format error: invalid value for NCOLS tag"},
        {"corner with a decimal comma", "ncols 3 nrows 2 xllcorner 0,5" + StrBody,
         "File format error: invalid value for xllcorner tag"},
        {"centre not finite", "ncols 3 nrows 2 XLLCENTER inf" + StrBody,
         "File format error: invalid value for XLLCENTER tag"},
        {"dy not positive", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 dx 1 dy -1" + StrBody,
         "File format error: invalid value for dy tag"},
        {"no-data value not a number",
         "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 nodata_value none" + StrBody,
         "File format error: invalid value for nodata_value tag"},
        {"input ends after a tag", "ncols 3 nrows",
         "File format error: missing value for nrows tag"},
        {"body not a number",
         "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 byteorder lsbfirst" + StrBody,
         "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile"},
        {"body too short", "ncols 3 nrows 2 xllcorner 0 yllcorner 0 cellsize 1 1 2 3 4 5\n",
         "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile"},
        {"body a long token",
         "ncols 1 nrows 1 xllcorner 0 yllcorner 0 cellsize 1 " + std::string(5000, 'x') + "\n",
         "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        EXPECT_FAILS_WITH(LoadTolerant(Case.StrText), Case.PtrMessage);
    }
}

TEST(TARCGISFileToolsTolerantTest, StreamStandsAfterTheLastValueAndFilesLoadByName) {
    // Two grids in one stream: the first ends where the second's header begins, and the token
    // that ended the second's header is its first cell.
    std::istringstream In("NCOLS 2 NROWS 1 XLLCORNER 0 YLLCORNER 0 CELLSIZE 1 7 8\n"
                          "nrows 1 ncols 1 xllcenter 0.5 yllcenter 0.5 cellsize 1 9\n");
    std::unique_ptr<TMap> PtrFirst(TARCGISFileTools::LoadARCGISFileTolerant(In));
    std::unique_ptr<TMap> PtrSecond(TARCGISFileTools::LoadARCGISFileTolerant(In));
    EXPECT_EQ(PtrFirst->GetPointVal(1, 0), 8);
    EXPECT_EQ(PtrSecond->GetPointVal(0, 0), 9);
    EXPECT_EQ(PtrSecond->GetXAxisInterval()->GetPoint(0)->GetX(), 0);

    char ArrName[] = "/tmp/veilgrid-tolerant-XXXXXX";
    const int IntDescriptor = mkstemp(ArrName);
    ASSERT_GE(IntDescriptor, 0);
    const std::string StrText = "NCOLS 1\nNROWS 1\nXLLCENTER 5\nYLLCENTER 5\nDX 2\nDY 2\n3";
    EXPECT_EQ(write(IntDescriptor, StrText.data(), StrText.size()),
              static_cast<ssize_t>(StrText.size()));
    close(IntDescriptor);
    std::unique_ptr<TMap> PtrFile(TARCGISFileTools::LoadARCGISFileTolerant(std::string(ArrName)));
    EXPECT_EQ(Describe(PtrFile.get()), "1x1 cell 2 nodata -9999 x 4 6 y 6 4 cells 3");
    std::remove(ArrName);
    EXPECT_FAILS_WITH(
        std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFileTolerant(std::string(ArrName))),
        std::string("Unable to open file ") + ArrName);
}

} // namespace
