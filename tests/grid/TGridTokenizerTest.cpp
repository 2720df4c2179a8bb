#include "grid/TGridTokenizer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Every token, with TooLong written as "<too long>".
std::vector<std::string> AllTokens(TGridTokenizer& Tokenizer) {
    std::vector<std::string> VecTokens;
    const char* PtrBegin = nullptr;
    const char* PtrEnd = nullptr;
    for (;;) {
        const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
        if (Kind == TGridTokenizer::EToken::End)
            return VecTokens;
        VecTokens.push_back(Kind == TGridTokenizer::EToken::TooLong
                                ? std::string("<too long>")
                                : std::string(PtrBegin, PtrEnd));
    }
}

// Every token as AllTokens, each handed back once and read again.
std::vector<std::string> TokensReadTwice(TGridTokenizer& Tokenizer) {
    std::vector<std::string> VecTokens;
    const char* PtrBegin = nullptr;
    const char* PtrEnd = nullptr;
    while (Tokenizer.Next(PtrBegin, PtrEnd) == TGridTokenizer::EToken::Token) {
        const std::string StrFirst(PtrBegin, PtrEnd);
        Tokenizer.PutBack();
        EXPECT_FALSE(Tokenizer.IsAtEnd());
        if (Tokenizer.Next(PtrBegin, PtrEnd) != TGridTokenizer::EToken::Token ||
            std::string(PtrBegin, PtrEnd) != StrFirst) {
            ADD_FAILURE() << "token " << VecTokens.size() << " not handed out again";
            break;
        }
        VecTokens.push_back(StrFirst);
    }
    return VecTokens;
}

std::vector<std::string> StreamTokens(const std::string& StrText) {
    std::istringstream In(StrText);
    TGridTokenizer Tokenizer(In.rdbuf());
    return AllTokens(Tokenizer);
}

std::vector<std::string> FileTokens(const std::string& StrText) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> PtrFile(std::tmpfile(), &std::fclose);
    EXPECT_TRUE(PtrFile);
    std::fwrite(StrText.data(), 1, StrText.size(), PtrFile.get());
    std::fflush(PtrFile.get());
    const int IntDescriptor = fileno(PtrFile.get());
    lseek(IntDescriptor, 0, SEEK_SET);
    TGridTokenizer Tokenizer(IntDescriptor, "temporary");
    EXPECT_EQ(Tokenizer.GetRemainingHint(), StrText.size());
    EXPECT_TRUE(Tokenizer.IsRemainingBounded());
    return AllTokens(Tokenizer);
}

TEST(TGridTokenizerTest, TokensAcrossBlockBoundaries) {
    // Tokens of every length from 1 to 61 and every kind of blank, over several blocks, so that
    // tokens and runs of blanks straddle each block boundary at different offsets.
    const char ArrBlanks[] = {' ', '\t', '\r', '\n', '\v', '\f'};
    std::string StrText = "\n\n";
    std::vector<std::string> VecExpected;
    for (int IntI = 0; StrText.size() < 1500000; ++IntI) {
        std::string StrToken(static_cast<std::size_t>(1 + IntI % 61), 'a');
        StrToken[0] = static_cast<char>('0' + IntI % 10);
        VecExpected.push_back(StrToken);
        StrText += StrToken;
        StrText.append(static_cast<std::size_t>(1 + IntI % 3), ArrBlanks[IntI % 6]);
    }
    StrText += "last";
    VecExpected.push_back("last");
    EXPECT_EQ(StreamTokens(StrText), VecExpected);
    EXPECT_EQ(FileTokens(StrText), VecExpected);

    // A token handed back is handed out again, also where it straddles a block boundary or ends
    // the input.
    std::istringstream In(StrText);
    TGridTokenizer Tokenizer(In.rdbuf());
    EXPECT_EQ(TokensReadTwice(Tokenizer), VecExpected);
    EXPECT_TRUE(Tokenizer.IsAtEnd());
}

TEST(TGridTokenizerTest, TokenLengthIsBoundedExceptForNumbers) {
    const std::string StrMax(TGridTokenizer::MaxTokenLength, 'x');
    const std::string StrOver(TGridTokenizer::MaxTokenLength + 1, 'x');
    EXPECT_EQ(StreamTokens(" " + StrMax + " x"), (std::vector<std::string>{StrMax, "x"}));
    EXPECT_EQ(StreamTokens(StrOver).front(), "<too long>");
    // The same near the end of the first block, where the token has to be carried over.
    const std::string StrPad((std::size_t(1) << 18) - 100, ' ');
    EXPECT_EQ(StreamTokens(StrPad + StrMax), std::vector<std::string>{StrMax});
    EXPECT_EQ(FileTokens(StrPad + StrOver).front(), "<too long>");
    EXPECT_TRUE(StreamTokens("").empty());
    EXPECT_TRUE(StreamTokens(" \t\r\n\v\f").empty());

    // A number may be of any length, also longer than a block; a long token stops being followed
    // where it can no longer be one, however late.
    const std::string StrNumber = "-1." + std::string(600000, '0') + "e+" + std::string(5000, '0');
    EXPECT_EQ(StreamTokens(StrPad + StrNumber + " x"), (std::vector<std::string>{StrNumber, "x"}));
    EXPECT_EQ(FileTokens(StrNumber), std::vector<std::string>{StrNumber});
    EXPECT_EQ(StreamTokens(StrNumber + "x").front(), "<too long>");
    EXPECT_EQ(StreamTokens(std::string(600000, '1') + "-1").front(), "<too long>");
}

TEST(TGridTokenizerTest, GivesBackWhatWasReadAhead) {
    std::istringstream In("one two  three");
    {
        TGridTokenizer Tokenizer(In.rdbuf());
        const char* PtrBegin = nullptr;
        const char* PtrEnd = nullptr;
        ASSERT_EQ(Tokenizer.Next(PtrBegin, PtrEnd), TGridTokenizer::EToken::Token);
        ASSERT_EQ(Tokenizer.Next(PtrBegin, PtrEnd), TGridTokenizer::EToken::Token);
        EXPECT_FALSE(Tokenizer.IsAtEnd());
        EXPECT_TRUE(Tokenizer.GiveBackUnread());
    }
    EXPECT_EQ(In.rdbuf()->sgetc(), ' ');
    std::string StrRest;
    std::getline(In, StrRest);
    EXPECT_EQ(StrRest, "  three");
}

} // namespace
