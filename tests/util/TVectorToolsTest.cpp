#include "util/TVectorTools.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Compares two doubles exactly, NaN matching NaN.
void ExpectSameDouble(double DblActual, double DblExpected) {
    if (std::isnan(DblExpected))
        EXPECT_TRUE(std::isnan(DblActual)) << DblActual;
    else
        EXPECT_EQ(DblActual, DblExpected);
}

} // namespace

TEST(TVectorToolsTest, SumsAndMeans) {
    struct TCase {
        const char* Name;
        std::vector<double> VecValues;
        double DblSum;
        double DblMean;
    };
    const TCase Cases[] = {
        {"empty", {}, 0.0, NaN},
        {"several", {1.0, 2.0, 3.0, 4.0}, 10.0, 2.5},
        // Added from first to last: each 1 is lost against 1e16 when added after it.
        {"big first", {1e16, 1.0, 1.0}, 1e16, 1e16 / 3.0},
        {"big last", {1.0, 1.0, 1e16}, 1e16 + 2.0, (1e16 + 2.0) / 3.0},
        {"infinities", {Inf, -Inf}, NaN, NaN},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        ExpectSameDouble(TVectorTools::SumVector(Case.VecValues), Case.DblSum);
        ExpectSameDouble(TVectorTools::VectorMean(Case.VecValues), Case.DblMean);
    }
}

TEST(TVectorToolsTest, WeightedMeanDividesByTheCountNotTheWeights) {
    EXPECT_EQ(TVectorTools::VectorWeightedMean({2.0, 4.0}, {1.0, 3.0}), 7.0);
    EXPECT_EQ(TVectorTools::VectorWeightedMean({5.0}, {0.0}), 0.0);
    EXPECT_TRUE(std::isnan(TVectorTools::VectorWeightedMean({}, {})));
    EXPECT_FAILS_WITH(
        (void)TVectorTools::VectorWeightedMean({1.0, 2.0}, {1.0}),
        "Length of value and weight vectors do not match in TVectorTools::WeightedMean");
    EXPECT_FAILS_WITH(
        (void)TVectorTools::VectorWeightedMean({}, {1.0}),
        "Length of value and weight vectors do not match in TVectorTools::WeightedMean");
}

TEST(TVectorToolsTest, HasValue) {
    struct TCase {
        const char* Name;
        std::vector<double> VecValues;
        double DblValue;
        bool BlnFound;
    };
    const TCase Cases[] = {
        {"present", {1.5, 2.5}, 2.5, true},
        {"absent", {1.5, 2.5}, 2.0, false},
        {"next double", {1.5, 2.5}, std::nextafter(2.5, Inf), false},
        {"empty", {}, 0.0, false},
        {"minus zero equals zero", {-0.0}, 0.0, true},
        {"nan never found", {NaN, 1.0}, NaN, false},
        {"infinity", {-Inf}, -Inf, true},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(TVectorTools::HasValue(Case.VecValues, Case.DblValue), Case.BlnFound);
    }
    EXPECT_TRUE(TVectorTools::HasValue(std::vector<int>{3, INT_MIN}, INT_MIN));
    EXPECT_FALSE(TVectorTools::HasValue(std::vector<int>{3, 4}, 5));
    EXPECT_FALSE(TVectorTools::HasValue(std::vector<int>{}, 0));
}

TEST(TVectorToolsTest, StringToIntReadsLikeAtoiAndSaturates) {
    struct TCase {
        const char* Name;
        std::string StrText;
        int IntExpected;
    };
    const TCase Cases[] = {
        {"digits", "12", 12},
        {"blank, digits, rest ignored", " 7x", 7},
        {"no number", "abc", 0},
        {"empty", "", 0},
        {"white space and sign", "\t\n -35", -35},
        {"plus sign", "+8", 8},
        {"sign alone", "-", 0},
        {"decimal part ignored", "3.9", 3},
        {"no hexadecimal", "0x10", 0},
        {"largest int", "2147483647", INT_MAX},
        {"one above", "2147483648", INT_MAX},
        {"smallest int", "-2147483648", INT_MIN},
        {"one below", "-2147483649", INT_MIN},
        {"beyond 64 bits", "99999999999999999999999", INT_MAX},
        {"below 64 bits", "-99999999999999999999999", INT_MIN},
    };
    std::vector<std::string> VecTexts;
    for (const auto& Case : Cases)
        VecTexts.push_back(Case.StrText);
    const std::vector<int> VecValues = TVectorTools::StringToInt(VecTexts);
    ASSERT_EQ(VecValues.size(), VecTexts.size());
    for (std::size_t SizI = 0; SizI < VecValues.size(); ++SizI) {
        SCOPED_TRACE(Cases[SizI].Name);
        EXPECT_EQ(VecValues[SizI], Cases[SizI].IntExpected);
    }
    EXPECT_TRUE(TVectorTools::StringToInt({}).empty());
}

TEST(TVectorToolsTest, StringToDoubleReadsLikeAtof) {
    struct TCase {
        const char* Name;
        std::string StrText;
        double DblExpected;
    };
    const TCase Cases[] = {
        {"exponent", "1e3", 1000.0},
        {"negative", "-0.5", -0.5},
        {"blank, number, rest ignored", "  2.5abc", 2.5},
        {"no number", "x1", 0.0},
        {"empty", "", 0.0},
        {"overflow", "1e999", Inf},
        {"negative overflow", "-1e999", -Inf},
        {"underflow", "1e-999", 0.0},
        {"infinity", "-inf", -Inf},
        {"nan", "nan", NaN},
    };
    std::vector<std::string> VecTexts;
    for (const auto& Case : Cases)
        VecTexts.push_back(Case.StrText);
    const std::vector<double> VecValues = TVectorTools::StringToDouble(VecTexts);
    ASSERT_EQ(VecValues.size(), VecTexts.size());
    for (std::size_t SizI = 0; SizI < VecValues.size(); ++SizI) {
        SCOPED_TRACE(Cases[SizI].Name);
        ExpectSameDouble(VecValues[SizI], Cases[SizI].DblExpected);
    }
}

TEST(TVectorToolsTest, IntToDoubleIsExact) {
    EXPECT_EQ(TVectorTools::IntToDouble({INT_MIN, -1, 0, INT_MAX}),
              (std::vector<double>{-2147483648.0, -1.0, 0.0, 2147483647.0}));
    EXPECT_TRUE(TVectorTools::IntToDouble({}).empty());
}

TEST(TVectorToolsTest, VectorSeries) {
    struct TCase {
        const char* Name;
        double DblStart, DblEnd, DblStep;
        std::vector<double> VecExpected;
    };
    const TCase Cases[] = {
        {"quarters", 0.0, 1.0, 0.25, {0.0, 0.25, 0.5, 0.75, 1.0}},
        {"end not on a step", 1.0, 2.5, 1.0, {1.0, 2.0}},
        {"negative values", -2.0, -1.0, 0.5, {-2.0, -1.5, -1.0}},
        {"start past end", 3.0, 2.0, 1.0, {}},
        {"start past end, zero step", 3.0, 2.0, 0.0, {}},
        {"start past end, nan step", 3.0, 2.0, NaN, {}},
        {"start equals end", 2.0, 2.0, 1.0, {2.0}},
        {"nan start", NaN, 2.0, 1.0, {}},
        {"nan end", 0.0, NaN, 1.0, {}},
        {"overflow to infinity ends", 1e308, 1.5e308, 1e308, {1e308}},
        {"bounds far apart, steps large", -1e308, 1e308, 1e308, {-1e308, 0.0, 1e308}},
        {"infinite step", 0.0, 1.0, Inf, {0.0}},
        // -Inf + Inf is NaN, which ends the series; it was refused as too long.
        {"infinite step from minus infinity", -Inf, 0.0, Inf, {-Inf}},
        {"infinite step between infinities", -Inf, Inf, Inf, {-Inf}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(TVectorTools::VectorSeries(Case.DblStart, Case.DblEnd, Case.DblStep),
                  Case.VecExpected);
    }

    // Steps are added one by one, so rounding accumulates and 1 itself is not reached.
    const std::vector<double> VecTenths = TVectorTools::VectorSeries(0.0, 1.0, 0.1);
    ASSERT_EQ(VecTenths.size(), 11u);
    EXPECT_EQ(VecTenths[3], 0.1 + 0.1 + 0.1);
    EXPECT_EQ(VecTenths[10], 0.9999999999999999);
}

TEST(TVectorToolsTest, VectorSeriesRefusesSeriesThatNeverEnd) {
    const char* StrStep = "Step must be > 0 in TVectorTools::VectorSeries";
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(0.0, 1.0, 0.0), StrStep);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(0.0, 1.0, -0.5), StrStep);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(0.0, 1.0, NaN), StrStep);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(2.0, 2.0, -0.0), StrStep);

    const char* StrTooLong = "Series is too long in TVectorTools::VectorSeries";
    // Adding 1 to 1e16 rounds back to 1e16: the element would stay put for ever.
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(1e16, 1e16 + 4.0, 1.0), StrTooLong);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(0.0, Inf, 1e300), StrTooLong);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(-Inf, 0.0, 1.0), StrTooLong);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(Inf, Inf, 1.0), StrTooLong);
    EXPECT_FAILS_WITH((void)TVectorTools::VectorSeries(0.0, 1.0, 1e-300), StrTooLong);
}

TEST(TVectorToolsTest, VectorProduct) {
    EXPECT_EQ(TVectorTools::VectorProduct({1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}),
              (std::vector<double>{4.0, 10.0, 18.0}));
    EXPECT_TRUE(TVectorTools::VectorProduct({}, {}).empty());
    EXPECT_FAILS_WITH((void)TVectorTools::VectorProduct({1.0, 2.0}, {1.0}),
                      "Length of vectors does not match in TVectorTools::VectorProduct");
    EXPECT_FAILS_WITH((void)TVectorTools::VectorProduct({}, {1.0}),
                      "Length of vectors does not match in TVectorTools::VectorProduct");
}

TEST(TVectorToolsTest, GradientIsTheLeastSquaresSlope) {
    struct TCase {
        const char* Name;
        std::vector<double> VecX, VecY;
        double DblSlope;
    };
    const TCase Cases[] = {
        {"exact line", {0.0, 1.0, 2.0, 3.0}, {1.0, 3.0, 5.0, 7.0}, 2.0},
        {"flat", {1.0, 2.0}, {5.0, 5.0}, 0.0},
        {"scattered", {1.0, 2.0, 3.0}, {2.0, 1.0, 4.0}, 1.0},
        {"falling, unordered x", {3.0, 1.0, 2.0}, {-6.0, -2.0, -4.0}, -2.0},
        {"one point", {4.0}, {9.0}, NaN},
        {"no point", {}, {}, NaN},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        ExpectSameDouble(TVectorTools::Gradient(Case.VecX, Case.VecY), Case.DblSlope);
    }
    EXPECT_FAILS_WITH((void)TVectorTools::Gradient({1.0, 2.0}, {1.0, 2.0, 3.0}),
                      "Length of vectors does not match in TVectorTools::VectorProduct");
    EXPECT_FAILS_WITH((void)TVectorTools::Gradient({1.0, 2.0, 3.0}, {1.0, 2.0}),
                      "Length of vectors does not match in TVectorTools::VectorProduct");
}
