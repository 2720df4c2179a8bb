// Inputs found by fuzzing the grid reader, kept as the smallest files that show them.

#include "grid/TARCGISFileTools.h"

#include "TestSupport.h"
#include "model/TAxis.h"
#include "model/TMap.h"
#include "model/TPoint.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

std::unique_ptr<TMap> Load(const std::string& StrText) {
    std::istringstream In(StrText);
    return std::unique_ptr<TMap>(TARCGISFileTools::LoadARCGISFile(In));
}

std::string Write(TMap* PtrMap) {
    std::ostringstream Out;
    TARCGISFileTools::WriteARCGISFile(PtrMap, Out);
    return Out.str();
}

double South(const TMap* PtrMap) {
    return PtrMap->GetYAxisInterval()->GetPoint(PtrMap->GetYDim())->GetY();
}

TEST(TARCGISFileToolsFaultTest, HeaderWithoutCellsCannotClaimTheMachinesMemory) {
    // Ninety bytes asked for thirty million rows of axes: gigabytes, and seconds to build.
    const std::string StrTooLarge =
        "File format error: grid is too large in TARCGISFileTools::LoadARCGISFile";
    const std::string StrRest = "\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n";
    EXPECT_FAILS_WITH(Load("ncols 0\nnrows 30000000" + StrRest), StrTooLarge);
    EXPECT_FAILS_WITH(Load("ncols 65537\nnrows 0" + StrRest), StrTooLarge);
    EXPECT_FAILS_WITH(Load("ncols 0\nnrows 65537" + StrRest), StrTooLarge);
    // Up to 65536 rows or columns of nothing load.
    EXPECT_EQ(Load("ncols 0\nnrows 65536" + StrRest)->GetYDim(), 65536);
    EXPECT_EQ(Load("ncols 65536\nnrows 0" + StrRest)->GetXDim(), 65536);
}

TEST(TARCGISFileToolsFaultTest, RoundedCornerComesBackTheSameOnceWritten) {
    // A corner of 16 digits is written rounded to a millionth of a cell (to tens here); the map
    // written from that reads back identically, though its text may differ in form.
    auto PtrFirst = Load("ncols 5\nnrows 0\nxllcorner 7\nyllcorner 4458879574748349\n"
                         "cellsize 30000000\nNODATA_value");
    const std::string StrFirst = Write(PtrFirst.get());
    EXPECT_NE(StrFirst.find("\nyllcorner 4458879574748350\n"), std::string::npos) << StrFirst;
    auto PtrSecond = Load(StrFirst);
    EXPECT_EQ(South(PtrSecond.get()), 4458879574748350.0);
    auto PtrThird = Load(Write(PtrSecond.get()));
    EXPECT_EQ(South(PtrThird.get()), South(PtrSecond.get()));
    EXPECT_EQ(PtrThird->GetXAxisInterval()->GetPoint(0)->GetX(), 7.0);
    EXPECT_EQ(PtrThird->GetXDim(), 5);
    EXPECT_EQ(PtrThird->GetResolution(), 30000000.0);
}

// The tolerant header ends once every pair is there, so a grid without cells followed by a tag
// loads, as the strict reader loads it (found by fuzzing: it failed with "duplicate ncols tag").
TEST(TARCGISFileToolsFaultTest, TolerantReaderReadsAGridWithoutCellsFollowedByATag) {
    const std::string StrText =
        "ncols 0\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value 0\nncols ";
    std::istringstream In(StrText);
    std::unique_ptr<TMap> PtrMap(TARCGISFileTools::LoadARCGISFileTolerant(In));
    EXPECT_EQ(PtrMap->GetYDim(), Load(StrText)->GetYDim());
}

} // namespace
