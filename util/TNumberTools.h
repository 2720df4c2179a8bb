#ifndef VEILGRID_UTIL_TNUMBERTOOLS_H
#define VEILGRID_UTIL_TNUMBERTOOLS_H

#include <cstddef>
#include <string>

/// Reading and writing numbers as grid text: one implementation shared by the grid reader and
/// writer, the text exports and the command.
class TNumberTools {
  public:
    /// Longest text FormatDouble or FormatCorner writes, terminating zero excluded.
    static constexpr std::size_t MaxFormattedLength = 32;

    /// Parses the whole token [PtrBegin, PtrEnd) as a double: an optional sign, digits with an
    /// optional point, an optional exponent (12, -3.5, .5E+02, 1.), or nan, inf or infinity with an
    /// optional sign in any letter case. Anything left over ("1,5", "0x10", "7x") or an empty token
    /// makes it return false. A magnitude beyond the range of double reads as infinity, one below
    /// it as zero (or the nearest subnormal), as strtod reads them. Every accepted token gives the
    /// bits strtod gives it, "-0" and "-nan" included. DblValue is set only on success. Reads
    /// nothing outside the token and needs no terminating zero.
    static bool ParseDouble(const char* PtrBegin, const char* PtrEnd, double& DblValue);
    /// Whether ParseDouble accepts the token, found from its form alone, without its value.
    static bool IsNumber(const char* PtrBegin, const char* PtrEnd) {
        const char* PtrText = PtrBegin;
        if (PtrText != PtrEnd && (*PtrText == '-' || *PtrText == '+'))
            ++PtrText;
        // Digits only, the common case of class and code grids.
        if (PtrText == PtrEnd)
            return false;
        while (PtrText != PtrEnd && static_cast<unsigned char>(*PtrText - '0') < 10)
            ++PtrText;
        return PtrText == PtrEnd || IsNumberSlow(PtrBegin, PtrEnd);
    }
    /// Whether the token is a whole number written exactly as FormatDouble writes its value:
    /// an optional minus and one to six digits without a leading zero, or a single zero ("7",
    /// "-9999", "-0"; not "007", "+5", "5." or "1e2"). Gives the value, as ParseDouble would.
    static bool ParseShortWhole(const char* PtrBegin, const char* PtrEnd, double& DblValue) {
        const char* PtrText = PtrBegin;
        const bool BlnNegative = PtrText != PtrEnd && *PtrText == '-';
        if (BlnNegative)
            ++PtrText;
        const long LngLength = PtrEnd - PtrText;
        if (LngLength < 1 || LngLength > 6 || (*PtrText == '0' && LngLength > 1))
            return false;
        long LngWhole = 0;
        for (; PtrText != PtrEnd; ++PtrText) {
            const unsigned IntDigit = static_cast<unsigned char>(*PtrText - '0');
            if (IntDigit > 9)
                return false;
            LngWhole = LngWhole * 10 + static_cast<long>(IntDigit);
        }
        const double DblWhole = static_cast<double>(LngWhole);
        DblValue = BlnNegative ? -DblWhole : DblWhole;
        return true;
    }
    /// Follows the decimal form that ParseDouble reads (sign, digits with an optional point, an
    /// optional exponent; nan and inf aside) through [PtrBegin, PtrEnd), going on from IntState:
    /// 0 at the start of a token, otherwise what the call on the text before returned. Returns
    /// the state after the text, or -1 once the text cannot be the start of such a number. Lets a
    /// reader follow a token of any length piece by piece.
    static int FollowDecimal(const char* PtrBegin, const char* PtrEnd, int IntState);
    /// Parses the whole token as a whole number from 0 to 2147483647 (an optional sign, digits):
    /// "-0", "+3" and "007" are numbers; "1.5", "-1", "1e3" and "2147483648" are not, and make it
    /// return false with LngValue unchanged.
    static bool ParseCount(const char* PtrBegin, const char* PtrEnd, long& LngValue);

    /// Writes DblValue like printf's %g with the fewest significant digits from 6 to 17 that read
    /// back to the identical double (1, -9999, 0.5, 1e-05, 1e+06, 432567.5, 4512345.25, nan, -inf).
    /// Returns the end of the text written into PtrBuffer (at least MaxFormattedLength chars); no
    /// terminating zero. Writes "nan" or "-nan", "inf" or "-inf", "0" or "-0" for those values.
    static char* FormatDouble(double DblValue, char* PtrBuffer);
    /// As FormatDouble, for a corner of a grid of cell size DblCellSize: a value whose shortest
    /// exact form needs 16 or 17 significant digits (axis rounding noise) is written in fixed
    /// notation rounded to the power of ten at or just below a millionth of the cell size,
    /// trailing zeros and point removed and -0 written as 0. Where that rounding cannot apply (a
    /// cell size that is not a positive finite number) or the fixed text would exceed
    /// MaxFormattedLength, writes the value as FormatDouble does. Returns the end of the text.
    static char* FormatCorner(double DblValue, double DblCellSize, char* PtrBuffer);

    /// FormatDouble as a string.
    static std::string ToText(double DblValue);

  private:
    static bool IsNumberSlow(const char* PtrBegin, const char* PtrEnd);
};

#endif
