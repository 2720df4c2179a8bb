#include "util/TNumberTools.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::uint64_t Bits(double DblValue) { return std::bit_cast<std::uint64_t>(DblValue); }

// Runs a formatter into a buffer of exactly MaxFormattedLength chars followed by a guard, so
// that a write past the limit shows.
template <typename TWrite> std::string Written(TWrite Write) {
    constexpr std::size_t SizGuard = 16;
    char ArrBuffer[TNumberTools::MaxFormattedLength + SizGuard];
    std::memset(ArrBuffer, '#', sizeof(ArrBuffer));
    const char* PtrEnd = Write(ArrBuffer);
    for (std::size_t SizAt = TNumberTools::MaxFormattedLength; SizAt < sizeof(ArrBuffer); ++SizAt)
        EXPECT_EQ(ArrBuffer[SizAt], '#') << "written past MaxFormattedLength";
    EXPECT_LE(PtrEnd - ArrBuffer, static_cast<long>(TNumberTools::MaxFormattedLength));
    return std::string(const_cast<const char*>(ArrBuffer), PtrEnd);
}

std::string Format(double DblValue) {
    return Written(
        [=](char* PtrBuffer) { return TNumberTools::FormatDouble(DblValue, PtrBuffer); });
}

std::string Corner(double DblValue, double DblCellSize) {
    return Written([=](char* PtrBuffer) {
        return TNumberTools::FormatCorner(DblValue, DblCellSize, PtrBuffer);
    });
}

std::string Printf(double DblValue, int IntPrecision) {
    char ArrText[64];
    std::snprintf(ArrText, sizeof(ArrText), "%.*g", IntPrecision, DblValue);
    return ArrText;
}

// The reference for FormatDouble: %g with the fewest digits from 6 to 17 that strtod reads back.
std::string ExpectedText(double DblValue) {
    for (int IntPrecision = 6; IntPrecision < 17; ++IntPrecision) {
        const std::string StrText = Printf(DblValue, IntPrecision);
        if (std::isnan(DblValue) || Bits(std::strtod(StrText.c_str(), nullptr)) == Bits(DblValue))
            return StrText;
    }
    return Printf(DblValue, 17);
}

// Parses a copy of the token in a heap block of exactly its length: a read past the end of the
// token shows under the address sanitizer.
bool Parse(const std::string& StrToken, double& DblValue) {
    std::unique_ptr<char[]> PtrCopy(new char[StrToken.size()]);
    std::memcpy(PtrCopy.get(), StrToken.data(), StrToken.size());
    return TNumberTools::ParseDouble(PtrCopy.get(), PtrCopy.get() + StrToken.size(), DblValue);
}

bool ParseCount(const std::string& StrToken, long& LngValue) {
    std::unique_ptr<char[]> PtrCopy(new char[StrToken.size()]);
    std::memcpy(PtrCopy.get(), StrToken.data(), StrToken.size());
    return TNumberTools::ParseCount(PtrCopy.get(), PtrCopy.get() + StrToken.size(), LngValue);
}

struct TFormatCase {
    double DblValue;
    const char* PtrExpected;
};

} // namespace

TEST(TNumberToolsTest, FormatDoubleWritesShortestExactGeneralForm) {
    const TFormatCase Cases[] = {
        {1.0, "1"},
        {-9999.0, "-9999"},
        {0.5, "0.5"},
        {0.00001, "1e-05"},
        {0.0001, "0.0001"},
        {1e6, "1e+06"},
        {123456.0, "123456"},
        {1234567.0, "1234567"},
        {1200000.0, "1.2e+06"},
        {0.0083333333, "0.0083333333"},
        {432567.5, "432567.5"},
        {4512345.25, "4512345.25"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.30000000000000004"},
        {-3.4028234663852886e+38, "-3.4028234663852886e+38"},
        {1e100, "1e+100"},
        {9007199254740993.0, "9007199254740992"},
        {123456789012345678.0, "1.2345678901234568e+17"},
        {5e-324, "4.94066e-324"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {0.0, "0"},
        {-0.0, "-0"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"},
        {-std::numeric_limits<double>::quiet_NaN(), "-nan"},
        // Exactly halfway between two 16-digit decimals that both read back.
        {8.0000152587890625, "8.000015258789062"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrExpected);
        EXPECT_EQ(Format(Case.DblValue), Case.PtrExpected);
    }
    EXPECT_EQ(TNumberTools::ToText(-0.0083333333), "-0.0083333333");
}

TEST(TNumberToolsTest, FormatDoubleMatchesPrintfAndReadsBack) {
    std::vector<double> VecValues;
    std::mt19937_64 Random(20240611);
    for (int IntCase = 0; IntCase < 20000; ++IntCase)
        VecValues.push_back(std::bit_cast<double>(Random()));
    // Short decimals as data files hold them: up to 9 digits, point anywhere.
    std::uniform_int_distribution<long> DigitsOf(0, 999999999);
    std::uniform_int_distribution<int> ExponentOf(-12, 12);
    for (int IntCase = 0; IntCase < 20000; ++IntCase) {
        const std::string StrText =
            std::to_string(DigitsOf(Random)) + "e" + std::to_string(ExponentOf(Random));
        VecValues.push_back(std::strtod(StrText.c_str(), nullptr));
    }
    // Values of full precision at all scales, and both sides of the decimal exponents where
    // %g changes its layout.
    std::uniform_real_distribution<double> MantissaOf(-1.0, 1.0);
    for (int IntCase = 0; IntCase < 20000; ++IntCase)
        VecValues.push_back(MantissaOf(Random) * std::pow(10.0, ExponentOf(Random)));
    for (const double DblEdge : {1e-5, 1e-4, 1e6, 1e15, 1e16, 1e17}) {
        VecValues.push_back(DblEdge);
        VecValues.push_back(std::nextafter(DblEdge, 0.0));
        VecValues.push_back(-std::nextafter(DblEdge, 1e300));
    }
    // Powers of two have lopsided rounding intervals; whole numbers take their own path.
    for (int IntPower = -1074; IntPower <= 1023; ++IntPower)
        VecValues.push_back(std::ldexp(IntPower % 2 == 0 ? 1.0 : -1.0, IntPower));
    for (int IntCase = 0; IntCase < 5000; ++IntCase)
        VecValues.push_back(static_cast<double>(Random() >> (Random() % 64)));

    for (const double DblValue : VecValues) {
        const std::string StrText = Format(DblValue);
        ASSERT_EQ(StrText, ExpectedText(DblValue)) << Printf(DblValue, 17);
        if (!std::isnan(DblValue)) {
            double DblBack = 0.0;
            ASSERT_TRUE(Parse(StrText, DblBack)) << StrText;
            ASSERT_EQ(Bits(DblBack), Bits(DblValue)) << StrText;
        }
    }
}

TEST(TNumberToolsTest, FormatCornerRoundsAwayAxisNoise) {
    struct TCornerCase {
        const char* PtrName;
        double DblValue;
        double DblCellSize;
        const char* PtrExpected;
    };
    const double DblNoisy = 1.2345678000000002;
    const TCornerCase Cases[] = {
        {"17 digits", 0.1 + 0.2, 1.0, "0.3"},
        {"16 digits", -90.00000000000001, 1.0, "-90"},
        {"noise around zero", -1.0408340855860843e-17, 1.0, "0"},
        {"short value near zero kept", -1.04e-17, 1.0, "-1.04e-17"},
        {"15 digits kept", 3.00048828125, 1.0, "3.00048828125"},
        {"short kept", 432567.5, 1.0, "432567.5"},
        {"negative zero kept", -0.0, 1.0, "-0"},
        {"unit 1e-6", DblNoisy, 1.0, "1.234568"},
        {"unit 1e-6 from 5", DblNoisy, 5.0, "1.234568"},
        {"unit 1e-7 from 0.5", DblNoisy, 0.5, "1.2345678"},
        {"unit 1e-7 from 0.1", DblNoisy, 0.1, "1.2345678"},
        {"unit 1", 12345678.900000002, 1e6, "12345679"},
        {"unit 10", 12345678.900000002, 1e7, "12345680"},
        {"over half a unit", 7.000000000000001e-7, 1.0, "0.000001"},
        {"just over half a unit", 5.000000000000001e-7, 1.0, "0.000001"},
        {"just under half a unit", 4.999999999999999e-7, 1.0, "0"},
        {"negative below a unit", -7.000000000000001e-7, 1.0, "-0.000001"},
        {"under half a unit", -3.0000000000000004e-7, 1.0, "0"},
        {"finer than the shortest digits", 0.1 + 0.2, 1e-12, "0.300000000000000044"},
        {"zero cell size", 0.1 + 0.2, 0.0, "0.30000000000000004"},
        {"negative cell size", 0.1 + 0.2, -1.0, "0.30000000000000004"},
        {"NaN cell size", 0.1 + 0.2, std::nan(""), "0.30000000000000004"},
        {"infinite cell size", 0.1 + 0.2, std::numeric_limits<double>::infinity(),
         "0.30000000000000004"},
        {"tiny cell size", 0.1 + 0.2, 1e-300, "0.30000000000000004"},
        {"fixed form fits", 1.2345678901234567e20, 1.0, "123456789012345667584"},
        {"fixed form too long", 1.2345678901234566e25, 1.0, "1.2345678901234566e+25"},
        {"NaN corner", std::nan(""), 1.0, "nan"},
        {"infinite corner", -std::numeric_limits<double>::infinity(), 1.0, "-inf"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        EXPECT_EQ(Corner(Case.DblValue, Case.DblCellSize), Case.PtrExpected);
    }
}

TEST(TNumberToolsTest, FormatCornerStaysWithinHalfAUnitAndTheBuffer) {
    std::mt19937_64 Random(7);
    std::uniform_real_distribution<double> MantissaOf(-1.0, 1.0);
    std::uniform_int_distribution<int> PowerOf(-30, 30);
    for (int IntCase = 0; IntCase < 20000; ++IntCase) {
        const double DblValue = MantissaOf(Random) * std::pow(10.0, PowerOf(Random));
        const double DblCellSize = std::fabs(MantissaOf(Random)) * std::pow(10.0, PowerOf(Random));
        const std::string StrText = Corner(DblValue, DblCellSize);
        double DblBack = 0.0;
        ASSERT_TRUE(Parse(StrText, DblBack)) << StrText;
        EXPECT_LE(std::fabs(DblBack - DblValue), DblCellSize * 5e-7 + std::fabs(DblValue) * 1e-15)
            << StrText << " from " << Printf(DblValue, 17) << " cell size " << DblCellSize;
    }
}

TEST(TNumberToolsTest, ParseDoubleReadsWholeTokensAsStrtod) {
    const char* Tokens[] = {"12",
                            "-3.5",
                            ".5E+02",
                            "1.",
                            "+5",
                            "-0",
                            "007",
                            "1e-05",
                            "80360.14",
                            "-9999",
                            "1.7976931348623157e308",
                            "1.7976931348623158e308",
                            "1.8e308",
                            "-1e400",
                            "1e-400",
                            "-1e-400",
                            "0.000123e-320",
                            "000123e306",
                            "1e99999999999999999999",
                            "-1e-99999999999999999999",
                            "2.4703282292062327e-324",
                            "2.4703282292062328e-324",
                            "4.9406564584124654e-324",
                            "2.2250738585072011e-308",
                            "0e99999",
                            "123456789012345678901234567890",
                            "0.30000000000000004441",
                            "1e22",
                            "1e23",
                            "123456789012345e-22",
                            "9007199254740993",
                            "-.000000000000001e-7",
                            "1e+000000000000000000000000000001"};
    for (const char* PtrToken : Tokens) {
        SCOPED_TRACE(PtrToken);
        double DblValue = 0.0;
        ASSERT_TRUE(Parse(PtrToken, DblValue));
        EXPECT_EQ(Bits(DblValue), Bits(std::strtod(PtrToken, nullptr)));
    }

    struct TSpecialCase {
        const char* PtrToken;
        double DblExpected;
    };
    const double DblInf = std::numeric_limits<double>::infinity();
    const double DblNaN = std::numeric_limits<double>::quiet_NaN();
    const TSpecialCase Specials[] = {
        {"nan", DblNaN}, {"NaN", DblNaN}, {"-nan", -DblNaN},      {"+NAN", DblNaN},
        {"inf", DblInf}, {"INF", DblInf}, {"-Infinity", -DblInf}, {"+infinity", DblInf}};
    for (const auto& Case : Specials) {
        SCOPED_TRACE(Case.PtrToken);
        double DblValue = 0.0;
        ASSERT_TRUE(Parse(Case.PtrToken, DblValue));
        EXPECT_EQ(Bits(DblValue), Bits(Case.DblExpected));
        EXPECT_EQ(Bits(DblValue), Bits(std::strtod(Case.PtrToken, nullptr)));
    }
}

TEST(TNumberToolsTest, ParseDoubleRejectsAnythingButANumber) {
    const char* Tokens[] = {"1,5",     "0x10", "7x",      "nan(1)", ".",    "e5",
                            "1e",      "+",    "",        "-",      "1e+",  " 1",
                            "1 ",      "+-1",  "--1",     "-+1",    "1..2", "1.2.3",
                            "0x1p3",   "-.",   ".e1",     "1e1.5",  "1d5",  "inff",
                            "infinit", "na",   "nan nan", "1e-",    "in",   "12345678901234567890x",
                            "1E5e"};
    for (const char* PtrToken : Tokens) {
        SCOPED_TRACE(PtrToken);
        double DblValue = 42.0;
        EXPECT_FALSE(Parse(PtrToken, DblValue));
        EXPECT_EQ(DblValue, 42.0);
    }
    // The token ends where the caller says, not at a terminating zero.
    const char* PtrText = "123e4";
    double DblValue = 0.0;
    EXPECT_TRUE(TNumberTools::ParseDouble(PtrText, PtrText + 2, DblValue));
    EXPECT_EQ(DblValue, 12.0);
    EXPECT_FALSE(TNumberTools::ParseDouble(PtrText, PtrText + 4, DblValue));
}

TEST(TNumberToolsTest, ParseDoubleMatchesStrtodOnRandomTokens) {
    std::mt19937_64 Random(99);
    auto Digits = [&Random](int IntCount) {
        std::string StrDigits;
        for (int IntDigit = 0; IntDigit < IntCount; ++IntDigit)
            StrDigits += static_cast<char>('0' + Random() % 10);
        return StrDigits;
    };
    const char* Signs[] = {"", "-", "+"};
    for (int IntCase = 0; IntCase < 30000; ++IntCase) {
        std::string StrToken = Signs[Random() % 3];
        const std::string StrWhole = Digits(static_cast<int>(Random() % 21));
        const bool BlnPoint = Random() % 2 == 0;
        const std::string StrFraction = BlnPoint ? Digits(static_cast<int>(Random() % 21)) : "";
        if (StrWhole.empty() && StrFraction.empty())
            continue;
        StrToken += StrWhole + (BlnPoint ? "." : "") + StrFraction;
        if (Random() % 2 == 0) {
            StrToken += Random() % 2 == 0 ? "e" : "E";
            StrToken += Signs[Random() % 3];
            // Mostly exponents near the ends of the range, sometimes small ones.
            StrToken += std::to_string(Random() % 4 == 0 ? Random() % 23 : Random() % 400);
        }
        double DblValue = 0.0;
        ASSERT_TRUE(Parse(StrToken, DblValue)) << StrToken;
        ASSERT_EQ(Bits(DblValue), Bits(std::strtod(StrToken.c_str(), nullptr))) << StrToken;
    }
}

TEST(TNumberToolsTest, FollowDecimalTellsWhatCanStillBeANumber) {
    struct TFollowCase {
        const char* PtrText;
        bool BlnCanBeNumber;
    };
    const TFollowCase Cases[] = {
        {"", true},       {"-", true},     {"+.", true},  {"12.5e", true}, {"1e-", true},
        {".5E+02", true}, {"1.", true},    {"007", true}, {"x", false},    {"--", false},
        {"..", false},    {"1.2.", false}, {"e5", false}, {".e", false},   {"1e5.", false},
        {"1e+-", false},  {"1,5", false},  {"0x", false}, {"nan", false},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrText);
        const std::string StrText = Case.PtrText;
        const int IntWhole =
            TNumberTools::FollowDecimal(StrText.data(), StrText.data() + StrText.size(), 0);
        EXPECT_EQ(IntWhole >= 0, Case.BlnCanBeNumber);
        // Followed in two pieces, the text ends in the same state.
        if (StrText.size() > 1) {
            const int IntFirst = TNumberTools::FollowDecimal(StrText.data(), StrText.data() + 1, 0);
            const int IntSecond =
                IntFirst < 0 ? IntFirst
                             : TNumberTools::FollowDecimal(
                                   StrText.data() + 1, StrText.data() + StrText.size(), IntFirst);
            EXPECT_EQ(IntSecond, IntWhole);
        }
    }
    const std::string StrZero(1, '\0');
    EXPECT_LT(TNumberTools::FollowDecimal(StrZero.data(), StrZero.data() + 1, 0), 0);
}

TEST(TNumberToolsTest, ParseCountAcceptsOnlyWholeNumbersInRange) {
    struct TCountCase {
        const char* PtrToken;
        bool BlnValid;
        long LngExpected;
    };
    const TCountCase Cases[] = {
        {"0", true, 0},
        {"-0", true, 0},
        {"+3", true, 3},
        {"007", true, 7},
        {"2147483647", true, 2147483647},
        {"00000000000000000000000012", true, 12},
        {"2147483648", false, 0},
        {"99999999999999999999999999", false, 0},
        {"-1", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"abc", false, 0},
        {"", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"+-1", false, 0},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrToken);
        long LngValue = -7;
        EXPECT_EQ(ParseCount(Case.PtrToken, LngValue), Case.BlnValid);
        EXPECT_EQ(LngValue, Case.BlnValid ? Case.LngExpected : -7);
    }
}
