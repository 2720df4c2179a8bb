#ifndef VEILGRID_UTIL_TSTRINGTOOLS_H
#define VEILGRID_UTIL_TSTRINGTOOLS_H

#include <string>
#include <vector>

/// Operations on byte strings: comparisons and searches are byte for byte and case-sensitive.
/// Strings passed by value are copies; only non-const reference arguments are changed.
class TStringTools {
  public:
    /// True for exactly "1", false for exactly "0"; anything else (blanks, other digits, words)
    /// fails with "Invalid boolean string in TStringTools::HasSubstring".
    [[nodiscard]] static bool StgToBool(std::string StrText);
    /// Whether StrPattern occurs in StrText; the empty pattern occurs in every text.
    [[nodiscard]] static bool HasSubstring(std::string StrText, std::string StrPattern);
    /// Upper-cases StrText in place as toupper does in the C locale: only a to z change; other
    /// bytes, those above 127 included, stay as they are.
    static void ToUpper(std::string& StrText);
    /// Removes the leading and trailing spaces of StrText in place; a text of spaces only becomes
    /// empty. Other white space (tabs, line ends) and inner spaces stay.
    static void Trim(std::string& StrText);
    /// A copy of StrText with every occurrence of StrPattern replaced by StrReplacement, from left
    /// to right, without overlaps; the text inserted is not searched again. An empty pattern
    /// leaves the text unchanged.
    [[nodiscard]] static std::string FindAndReplace(std::string StrText, std::string StrPattern,
                                                    std::string StrReplacement);
    /// The number in decimal digits, with a minus sign when negative.
    [[nodiscard]] static std::string ToString(long LngValue);
    /// The number in decimal digits, with a minus sign when negative.
    [[nodiscard]] static std::string ToString(int IntValue);
    /// The number as printf's %g writes it with 6 significant digits (0.1, 2, -9999, 3.14159,
    /// 1.23457e+06, 1e-05, nan, inf): a short display form that need not read back identical.
    [[nodiscard]] static std::string ToString(double DblValue);
    /// Replaces the contents of VecTokens with the maximal runs of StrText's characters that are
    /// not in StrDelimiters, a set of single characters. No token is empty; an empty set gives the
    /// whole text as one token, an empty text no token. StrText and StrDelimiters may be elements
    /// of VecTokens; VecTokens is replaced only once all tokens are built.
    static void Tokenize(const std::string& StrText, std::vector<std::string>& VecTokens,
                         const std::string& StrDelimiters);
};

#endif
