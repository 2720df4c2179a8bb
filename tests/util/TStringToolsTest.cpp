#include "util/TStringTools.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>
#include <vector>

TEST(TStringToolsTest, StgToBoolAcceptsOnlyOneAndZero) {
    EXPECT_TRUE(TStringTools::StgToBool("1"));
    EXPECT_FALSE(TStringTools::StgToBool("0"));
    for (const char* StrText : {"true", " 1", "1 ", "01", "2", ""}) {
        SCOPED_TRACE(StrText);
        EXPECT_FAILS_WITH((void)TStringTools::StgToBool(StrText),
                          "Invalid boolean string in TStringTools::HasSubstring");
    }
    // An embedded zero byte makes the text longer than "1".
    EXPECT_FAILS_WITH((void)TStringTools::StgToBool(std::string("1\0", 2)),
                      "Invalid boolean string in TStringTools::HasSubstring");
}

TEST(TStringToolsTest, HasSubstring) {
    struct TCase {
        const char* StrText;
        const char* StrPattern;
        bool BlnFound;
    };
    const TCase Cases[] = {
        {"abc", "", true},    {"", "", true},       {"abc", "C", false}, {"abc", "bc", true},
        {"abc", "abc", true}, {"ab", "abc", false}, {"", "a", false},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(std::string(Case.StrText) + " / " + Case.StrPattern);
        EXPECT_EQ(TStringTools::HasSubstring(Case.StrText, Case.StrPattern), Case.BlnFound);
    }
}

TEST(TStringToolsTest, ToUpperChangesOnlyAsciiLetters) {
    struct TCase {
        std::string StrText;
        std::string StrExpected;
    };
    const TCase Cases[] = {
        {"abc-1 xyz", "ABC-1 XYZ"},
        {"", ""},
        {"`az{@AZ[", "`AZ{@AZ["},
        // Bytes above 127 are negative chars and stay as they are.
        {"\xe9z\xff\x80", "\xe9Z\xff\x80"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.StrText);
        std::string StrText = Case.StrText;
        TStringTools::ToUpper(StrText);
        EXPECT_EQ(StrText, Case.StrExpected);
    }
}

TEST(TStringToolsTest, TrimRemovesOuterSpacesOnly) {
    struct TCase {
        std::string StrText;
        std::string StrExpected;
    };
    const TCase Cases[] = {
        {"  a b  ", "a b"}, {"   ", ""},    {"", ""},     {"x", "x"},
        {"\ta ", "\ta"},    {" \n ", "\n"}, {"a  ", "a"}, {"  a", "a"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE("'" + Case.StrText + "'");
        std::string StrText = Case.StrText;
        TStringTools::Trim(StrText);
        EXPECT_EQ(StrText, Case.StrExpected);
    }
}

TEST(TStringToolsTest, FindAndReplace) {
    struct TCase {
        const char* StrText;
        const char* StrPattern;
        const char* StrReplacement;
        const char* StrExpected;
    };
    const TCase Cases[] = {
        {"aaa", "a", "aa", "aaaaaa"}, // the inserted text is not searched again
        {"abcabc", "bc", "", "aa"},
        {"abc", "x", "y", "abc"},
        {"aaaa", "aa", "b", "bb"}, // occurrences do not overlap
        {"aaa", "aa", "b", "ba"},
        {"xax", "x", "yy", "yyayy"},
        {"abc", "", "y", "abc"}, // the empty pattern is left alone
        {"", "", "y", ""},
        {"", "a", "b", ""},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(std::string(Case.StrText) + " / " + Case.StrPattern);
        EXPECT_EQ(TStringTools::FindAndReplace(Case.StrText, Case.StrPattern, Case.StrReplacement),
                  Case.StrExpected);
    }
}

TEST(TStringToolsTest, ToStringOfIntegers) {
    EXPECT_EQ(TStringTools::ToString(-42), "-42");
    EXPECT_EQ(TStringTools::ToString(0), "0");
    EXPECT_EQ(TStringTools::ToString(1234567), "1234567");
    EXPECT_EQ(TStringTools::ToString(INT_MIN), "-2147483648");
    EXPECT_EQ(TStringTools::ToString(-42L), "-42");
    EXPECT_EQ(TStringTools::ToString(2147483647L), "2147483647");
    EXPECT_EQ(TStringTools::ToString(std::numeric_limits<long>::min()),
              std::to_string(std::numeric_limits<long>::min()));
}

TEST(TStringToolsTest, ToStringOfDoublesUsesSixSignificantDigits) {
    struct TCase {
        double DblValue;
        const char* StrExpected;
    };
    const TCase Cases[] = {
        {0.1, "0.1"},
        {2.0, "2"},
        {-9999.0, "-9999"},
        {3.14159265, "3.14159"},
        {1234567.0, "1.23457e+06"},
        {0.00001, "1e-05"},
        {0.0001, "0.0001"},
        {123456.0, "123456"},
        {999999.5, "1e+06"}, // rounding to 6 digits carries into the exponent
        {4512345.5, "4.51235e+06"},
        {0.0, "0"},
        {-0.0, "-0"},
        {1e100, "1e+100"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.StrExpected);
        EXPECT_EQ(TStringTools::ToString(Case.DblValue), Case.StrExpected);
    }
}

TEST(TStringToolsTest, TokenizeSplitsAtAnyDelimiterCharacter) {
    struct TCase {
        const char* Name;
        std::string StrText;
        std::string StrDelimiters;
        std::vector<std::string> VecExpected;
    };
    const TCase Cases[] = {
        {"runs and ends", ",a,,b,", ",", {"a", "b"}},
        {"a set of characters", "a b;c", " ;", {"a", "b", "c"}},
        {"no delimiter set", "a b", "", {"a b"}},
        {"no delimiter found", "abc", ",", {"abc"}},
        {"empty text", "", ",", {}},
        {"empty text, empty set", "", "", {}},
        {"delimiters only", ";; ;", " ;", {}},
        {"not a multi-character separator", "a<>b>c", "<>", {"a", "b", "c"}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        std::vector<std::string> VecTokens = {"old", "contents"};
        TStringTools::Tokenize(Case.StrText, VecTokens, Case.StrDelimiters);
        EXPECT_EQ(VecTokens, Case.VecExpected);
    }
}

TEST(TStringToolsTest, TokenizeTextHeldInTheTokenList) {
    // Emptying the list first destroyed the text and the delimiters still to be read.
    std::vector<std::string> VecTokens = {"first,second,third", ","};
    TStringTools::Tokenize(VecTokens[0], VecTokens, VecTokens[1]);
    EXPECT_EQ(VecTokens, (std::vector<std::string>{"first", "second", "third"}));
}
