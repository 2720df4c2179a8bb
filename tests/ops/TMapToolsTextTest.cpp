#include "ops/TMapTools.h"

#include "model/TMap.h"
#include "util/TNumberTools.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TMap> MapOfRows(const std::vector<std::vector<double>>& VecRows) {
    auto PtrMap = std::make_unique<TMap>(1.0);
    for (const auto& VecRow : VecRows)
        PtrMap->AddRow(VecRow);
    return PtrMap;
}

std::string Flat(TMap* PtrMap, char ChrSeparator) {
    std::ostringstream Out;
    TMapTools::WriteFlatFile(PtrMap, Out, ChrSeparator);
    return Out.str();
}

TEST(TMapToolsTextTest, WriteFlatFileEndsEveryValueWithTheSeparator) {
    TMap Map(1.0);
    Map.AddRow({1, 2, 3});
    Map.AddRow({4, 5, 6});
    EXPECT_EQ(Flat(&Map, ','), "1,2,3,\n4,5,6,\n");
    EXPECT_EQ(Flat(&Map, ' '), "1 2 3 \n4 5 6 \n");

    TMap NoRows(1.0, 3, 0);
    EXPECT_EQ(Flat(&NoRows, ' '), "");
    TMap NoColumns(1.0, 0, 2);
    EXPECT_EQ(Flat(&NoColumns, ' '), "\n\n");
}

TEST(TMapToolsTextTest, WriteFlatFileWritesNumbersWithoutLoss) {
    const double DblInf = std::numeric_limits<double>::infinity();
    TMap Map(1.0);
    Map.AddRow({0.1, 1e-05, 1e+06, -9999, 4512345.25, -0.0, std::nan(""), -DblInf, 1.0 / 3});
    std::ostringstream Out;
    Out.precision(3);
    Out << std::scientific;
    TMapTools::WriteFlatFile(&Map, Out, ';');
    EXPECT_EQ(Out.str(), "0.1;1e-05;1e+06;-9999;4512345.25;-0;nan;-inf;0.3333333333333333;\n");
}

TEST(TMapToolsTextTest, WriteFlatFileOfAMapLargerThanItsBlocks) {
    // Rows of many long values cross the writer's block boundaries at varying places.
    std::vector<std::vector<double>> VecRows(40, std::vector<double>(997));
    std::string StrExpected;
    double DblValue = 0.1;
    for (auto& VecRow : VecRows) {
        for (double& DblCell : VecRow) {
            DblCell = DblValue;
            DblValue = DblValue * 1.37 + 0.3;
            if (DblValue > 1e12)
                DblValue = 0.1;
            StrExpected += TNumberTools::ToText(DblCell) + '\t';
        }
        StrExpected += '\n';
    }
    auto PtrMap = MapOfRows(VecRows);
    EXPECT_EQ(Flat(PtrMap.get(), '\t'), StrExpected);
}

TEST(TMapToolsTextTest, WriteFlatFileStopsOnAFailedStream) {
    TMap Map(1.0, 1000, 1000);
    std::ostream Out(nullptr);
    TMapTools::WriteFlatFile(&Map, Out, ' ');
    EXPECT_TRUE(Out.bad());
}

} // namespace
