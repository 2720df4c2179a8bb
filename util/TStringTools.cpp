#include "util/TStringTools.h"

#include "util/TException.h"

#include <cctype>
#include <cstddef>
#include <locale>
#include <sstream>
#include <utility>

namespace {

// Writes the value with the default settings of a fresh stream in the classic locale, so a
// global locale with digit grouping or another decimal point cannot reach the text.
template <typename T> std::string StreamText(T Value) {
    std::ostringstream Out;
    Out.imbue(std::locale::classic());
    Out << Value;
    return Out.str();
}

} // namespace

bool TStringTools::StgToBool(std::string StrText) {
    if (StrText == "1")
        return true;
    if (StrText == "0")
        return false;
    throw TException("Invalid boolean string in TStringTools::HasSubstring");
}

bool TStringTools::HasSubstring(std::string StrText, std::string StrPattern) {
    return StrText.find(StrPattern) != std::string::npos;
}

void TStringTools::ToUpper(std::string& StrText) {
    // toupper takes a byte as unsigned char: a negative char above 127 would be undefined.
    for (char& ChrByte : StrText)
        ChrByte = static_cast<char>(std::toupper(static_cast<unsigned char>(ChrByte)));
}

void TStringTools::Trim(std::string& StrText) {
    const std::size_t SizLast = StrText.find_last_not_of(' ');
    if (SizLast == std::string::npos) {
        StrText.clear();
        return;
    }
    StrText.erase(SizLast + 1);
    StrText.erase(0, StrText.find_first_not_of(' '));
}

std::string TStringTools::FindAndReplace(std::string StrText, std::string StrPattern,
                                         std::string StrReplacement) {
    // The empty pattern would be found again at every position and the loop would never end.
    if (StrPattern.empty())
        return StrText;
    std::size_t SizPos = StrText.find(StrPattern);
    while (SizPos != std::string::npos) {
        StrText.replace(SizPos, StrPattern.size(), StrReplacement);
        // Search on after the inserted text, which may itself contain the pattern.
        SizPos = StrText.find(StrPattern, SizPos + StrReplacement.size());
    }
    return StrText;
}

std::string TStringTools::ToString(long LngValue) { return StreamText(LngValue); }

std::string TStringTools::ToString(int IntValue) { return StreamText(IntValue); }

std::string TStringTools::ToString(double DblValue) { return StreamText(DblValue); }

void TStringTools::Tokenize(const std::string& StrText, std::vector<std::string>& VecTokens,
                            const std::string& StrDelimiters) {
    // Built apart and moved in at the end: StrText or StrDelimiters may live in VecTokens.
    std::vector<std::string> VecResult;
    std::size_t SizStart = StrText.find_first_not_of(StrDelimiters);
    while (SizStart != std::string::npos) {
        const std::size_t SizEnd = StrText.find_first_of(StrDelimiters, SizStart);
        VecResult.push_back(StrText.substr(SizStart, SizEnd - SizStart));
        SizStart = StrText.find_first_not_of(StrDelimiters, SizEnd);
    }
    VecTokens = std::move(VecResult);
}
