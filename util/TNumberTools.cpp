#include "util/TNumberTools.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

// Powers of ten that a double holds exactly.
constexpr double KDblPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int KIntMaxExactPower = 22;
// Up to this many significant digits a decimal integer is exact in a double (10^15 < 2^53).
constexpr long KLngMaxExactDigits = 15;
// Longest unsigned token the fast path of ParseDouble tries: 15 digits and a point.
constexpr long KLngShortToken = 16;
// Room for any scientific text of a double written by std::to_chars with up to 40 digits.
constexpr std::size_t KSizScratch = 64;

bool IsDigit(char ChrValue) { return static_cast<unsigned char>(ChrValue - '0') < 10; }

int DigitOf(char ChrValue) { return ChrValue - '0'; }

// Significant digits and decimal exponent of a scientific text "[-]d[.ddd]e[+-]dd[d]" as
// std::to_chars writes it: d.ddd x 10^IntExponent.
struct TDecimal {
    char ArrDigits[KSizScratch];
    int IntDigits = 0;
    int IntExponent = 0;
};

void SplitScientific(const char* PtrBegin, const char* PtrEnd, TDecimal& Decimal) {
    const char* PtrText = PtrBegin;
    if (*PtrText == '-')
        ++PtrText;
    Decimal.IntDigits = 0;
    for (; PtrText != PtrEnd && *PtrText != 'e'; ++PtrText)
        if (*PtrText != '.')
            Decimal.ArrDigits[Decimal.IntDigits++] = *PtrText;
    ++PtrText; // 'e'
    const bool BlnNegativeExponent = *PtrText == '-';
    ++PtrText; // exponent sign, always written
    int IntExponent = 0;
    for (; PtrText != PtrEnd; ++PtrText)
        IntExponent = IntExponent * 10 + DigitOf(*PtrText);
    Decimal.IntExponent = BlnNegativeExponent ? -IntExponent : IntExponent;
}

// The shortest digits that read back to DblValue (finite, not zero).
void ShortestDecimal(double DblValue, TDecimal& Decimal) {
    char ArrText[KSizScratch];
    const std::to_chars_result Result =
        std::to_chars(ArrText, ArrText + KSizScratch, DblValue, std::chars_format::scientific);
    SplitScientific(ArrText, Result.ptr, Decimal);
}

char* WriteExponent(int IntExponent, char* PtrOut) {
    *PtrOut++ = 'e';
    *PtrOut++ = IntExponent < 0 ? '-' : '+';
    const int IntAbs = IntExponent < 0 ? -IntExponent : IntExponent;
    if (IntAbs >= 100)
        *PtrOut++ = static_cast<char>('0' + IntAbs / 100);
    *PtrOut++ = static_cast<char>('0' + IntAbs / 10 % 10);
    *PtrOut++ = static_cast<char>('0' + IntAbs % 10);
    return PtrOut;
}

// Lays out the decimal d.ddd x 10^IntExponent the way printf's %g does with precision
// IntPrecision (at least the digit count): exponent form when the exponent is below -4 or not
// below the precision, fixed form otherwise; trailing zeros and a trailing point dropped.
char* WriteGeneral(bool BlnNegative, const char* PtrDigits, int IntDigits, int IntExponent,
                   int IntPrecision, char* PtrOut) {
    while (IntDigits > 1 && PtrDigits[IntDigits - 1] == '0')
        --IntDigits;
    const auto SizDigits = static_cast<std::size_t>(IntDigits);
    if (BlnNegative)
        *PtrOut++ = '-';
    if (IntExponent < -4 || IntExponent >= IntPrecision) {
        *PtrOut++ = PtrDigits[0];
        if (IntDigits > 1) {
            *PtrOut++ = '.';
            std::memcpy(PtrOut, PtrDigits + 1, SizDigits - 1);
            PtrOut += IntDigits - 1;
        }
        return WriteExponent(IntExponent, PtrOut);
    }
    if (IntExponent < 0) {
        *PtrOut++ = '0';
        *PtrOut++ = '.';
        for (int IntZero = -1; IntZero > IntExponent; --IntZero)
            *PtrOut++ = '0';
        std::memcpy(PtrOut, PtrDigits, SizDigits);
        return PtrOut + IntDigits;
    }
    const int IntWhole = IntExponent + 1;
    if (IntDigits <= IntWhole) {
        std::memcpy(PtrOut, PtrDigits, SizDigits);
        PtrOut += IntDigits;
        for (int IntZero = IntDigits; IntZero < IntWhole; ++IntZero)
            *PtrOut++ = '0';
        return PtrOut;
    }
    std::memcpy(PtrOut, PtrDigits, static_cast<std::size_t>(IntWhole));
    PtrOut += IntWhole;
    *PtrOut++ = '.';
    std::memcpy(PtrOut, PtrDigits + IntWhole, SizDigits - static_cast<std::size_t>(IntWhole));
    return PtrOut + (IntDigits - IntWhole);
}

char* WriteLiteral(const char* PtrText, char* PtrOut) {
    const std::size_t SizLength = std::strlen(PtrText);
    // Formatted numbers carry no terminating zero.
    std::memcpy(PtrOut, PtrText, SizLength); // NOLINT(bugprone-not-null-terminated-result)
    return PtrOut + SizLength;
}

// %g rounds the exact binary value to the precision, and the shortest digits padded with zeros
// are those digits only where the rounding interval is narrow and even around the value. Two
// cases differ: a subnormal, whose interval is wide (5e-324 is written 4.94066e-324 by %.6g),
// and a power of two, whose interval is twice as wide above as below, so that its shortest
// digits may not be the correctly rounded ones, which may then not read back. Both take each
// precision from IntPrecision upwards with correctly rounded digits until they read back.
char* WriteRounded(double DblValue, int IntFirstPrecision, char* PtrOut) {
    for (int IntPrecision = IntFirstPrecision; IntPrecision < 17; ++IntPrecision) {
        char ArrText[KSizScratch];
        const std::to_chars_result Result =
            std::to_chars(ArrText, ArrText + KSizScratch, DblValue, std::chars_format::scientific,
                          IntPrecision - 1);
        double DblBack = 0.0;
        std::from_chars(ArrText, Result.ptr, DblBack);
        if (DblBack == DblValue) {
            TDecimal Decimal;
            SplitScientific(ArrText, Result.ptr, Decimal);
            return WriteGeneral(DblValue < 0, Decimal.ArrDigits, Decimal.IntDigits,
                                Decimal.IntExponent, IntPrecision, PtrOut);
        }
    }
    char ArrText[KSizScratch];
    const std::to_chars_result Result =
        std::to_chars(ArrText, ArrText + KSizScratch, DblValue, std::chars_format::scientific, 16);
    TDecimal Decimal;
    SplitScientific(ArrText, Result.ptr, Decimal);
    return WriteGeneral(DblValue < 0, Decimal.ArrDigits, Decimal.IntDigits, Decimal.IntExponent, 17,
                        PtrOut);
}

bool EqualsIgnoringCase(const char* PtrBegin, const char* PtrEnd, const char* PtrLower) {
    for (; PtrBegin != PtrEnd; ++PtrBegin, ++PtrLower) {
        if (*PtrLower == '\0')
            return false;
        const char ChrValue = *PtrBegin >= 'A' && *PtrBegin <= 'Z'
                                  ? static_cast<char>(*PtrBegin - 'A' + 'a')
                                  : *PtrBegin;
        if (ChrValue != *PtrLower)
            return false;
    }
    return *PtrLower == '\0';
}

// from_chars reports a valid decimal that rounds to infinity or to zero as out of range, and
// gives no value then. Such a value lies hundreds of powers of ten above or below 1, so its
// decimal magnitude tells which, as strtod would round it, with no copy and no locale.
double OutOfRangeValue(const char* PtrBegin, const char* PtrEnd) {
    const char* PtrText = PtrBegin;
    while (PtrText != PtrEnd && *PtrText == '0')
        ++PtrText;
    // Whole digits from the first nonzero one, or minus the zeros after the point.
    long LngMagnitude = 0;
    while (PtrText != PtrEnd && IsDigit(*PtrText)) {
        ++LngMagnitude;
        ++PtrText;
    }
    if (LngMagnitude == 0 && PtrText != PtrEnd && *PtrText == '.') {
        ++PtrText;
        while (PtrText != PtrEnd && *PtrText == '0') {
            --LngMagnitude;
            ++PtrText;
        }
    }
    while (PtrText != PtrEnd && *PtrText != 'e' && *PtrText != 'E')
        ++PtrText;
    long LngExponent = 0;
    if (PtrText != PtrEnd) {
        ++PtrText;
        const bool BlnNegativeExponent = *PtrText == '-';
        if (*PtrText == '-' || *PtrText == '+')
            ++PtrText;
        // Saturates: any exponent beyond a million decides alone.
        for (; PtrText != PtrEnd && LngExponent < 1000000; ++PtrText)
            LngExponent = LngExponent * 10 + DigitOf(*PtrText);
        if (BlnNegativeExponent)
            LngExponent = -LngExponent;
    }
    return LngMagnitude + LngExponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// The general path of ParseDouble for the unsigned part [PtrBegin, PtrEnd) of a token.
bool ParseUnsignedGeneral(const char* PtrBegin, const char* PtrEnd, double& DblValue) {
    if (IsDigit(*PtrBegin) || *PtrBegin == '.') {
        double DblRead = 0.0;
        const std::from_chars_result Result =
            std::from_chars(PtrBegin, PtrEnd, DblRead, std::chars_format::general);
        if (Result.ptr != PtrEnd || Result.ec == std::errc::invalid_argument)
            return false;
        if (Result.ec == std::errc::result_out_of_range)
            DblRead = OutOfRangeValue(PtrBegin, PtrEnd);
        DblValue = DblRead;
        return true;
    }
    if (EqualsIgnoringCase(PtrBegin, PtrEnd, "nan")) {
        DblValue = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (EqualsIgnoringCase(PtrBegin, PtrEnd, "inf") ||
        EqualsIgnoringCase(PtrBegin, PtrEnd, "infinity")) {
        DblValue = std::numeric_limits<double>::infinity();
        return true;
    }
    return false;
}

// The fast path of ParseDouble for the unsigned part of a short token: at most 15 significant
// digits and a power of ten up to 22 are both exact in a double, so that one multiplication or
// division rounds correctly. Returns false for any other token, valid or not.
bool ParseShortUnsigned(const char* PtrBegin, const char* PtrEnd, double& DblValue) {
    const char* PtrText = PtrBegin;
    std::uint64_t UlgMantissa = 0;
    while (PtrText != PtrEnd && IsDigit(*PtrText))
        UlgMantissa = UlgMantissa * 10 + static_cast<std::uint64_t>(DigitOf(*PtrText++));
    long LngDigits = PtrText - PtrBegin;
    long LngPower = 0;
    if (PtrText != PtrEnd && *PtrText == '.') {
        const char* PtrFraction = ++PtrText;
        while (PtrText != PtrEnd && IsDigit(*PtrText))
            UlgMantissa = UlgMantissa * 10 + static_cast<std::uint64_t>(DigitOf(*PtrText++));
        LngDigits += PtrText - PtrFraction;
        LngPower = -(PtrText - PtrFraction);
    }
    if (LngDigits < 1 || LngDigits > KLngMaxExactDigits)
        return false;
    if (PtrText != PtrEnd) {
        if (*PtrText != 'e' && *PtrText != 'E')
            return false;
        ++PtrText;
        bool BlnNegativeExponent = false;
        if (PtrText != PtrEnd && (*PtrText == '-' || *PtrText == '+'))
            BlnNegativeExponent = *PtrText++ == '-';
        if (PtrText == PtrEnd)
            return false;
        long LngExponent = 0;
        // A short token has at most 14 exponent digits: no overflow.
        for (; PtrText != PtrEnd; ++PtrText) {
            if (!IsDigit(*PtrText))
                return false;
            LngExponent = LngExponent * 10 + DigitOf(*PtrText);
        }
        LngPower += BlnNegativeExponent ? -LngExponent : LngExponent;
    }
    if (LngPower < -KIntMaxExactPower || LngPower > KIntMaxExactPower)
        return false;
    const double DblMantissa = static_cast<double>(UlgMantissa);
    DblValue = LngPower < 0 ? DblMantissa / KDblPowersOfTen[-LngPower]
                            : DblMantissa * KDblPowersOfTen[LngPower];
    return true;
}

// The decimal exponent of the shortest form of a positive finite double.
int DecimalExponent(double DblValue) {
    TDecimal Decimal;
    ShortestDecimal(DblValue, Decimal);
    return Decimal.IntExponent;
}

} // namespace

bool TNumberTools::ParseDouble(const char* PtrBegin, const char* PtrEnd, double& DblValue) {
    const char* PtrText = PtrBegin;
    if (PtrText == PtrEnd)
        return false;
    const bool BlnNegative = *PtrText == '-';
    if (BlnNegative || *PtrText == '+') {
        ++PtrText;
        if (PtrText == PtrEnd)
            return false;
    }
    double DblRead = 0.0;
    // A longer token has more digits than the fast path takes: it goes to the general path
    // straight away, without a scan of its digits.
    if (!(PtrEnd - PtrText <= KLngShortToken && ParseShortUnsigned(PtrText, PtrEnd, DblRead)) &&
        !ParseUnsignedGeneral(PtrText, PtrEnd, DblRead))
        return false;
    DblValue = BlnNegative ? -DblRead : DblRead;
    return true;
}

bool TNumberTools::IsNumberSlow(const char* PtrBegin, const char* PtrEnd) {
    // Complete decimal forms end with whole digits, a point after digits, fraction digits or
    // exponent digits.
    const int IntState = FollowDecimal(PtrBegin, PtrEnd, 0);
    if (IntState == 2 || IntState == 3 || IntState == 5 || IntState == 8)
        return true;
    const char* PtrText = PtrBegin;
    if (PtrText != PtrEnd && (*PtrText == '-' || *PtrText == '+'))
        ++PtrText;
    return EqualsIgnoringCase(PtrText, PtrEnd, "nan") ||
           EqualsIgnoringCase(PtrText, PtrEnd, "inf") ||
           EqualsIgnoringCase(PtrText, PtrEnd, "infinity");
}

int TNumberTools::FollowDecimal(const char* PtrBegin, const char* PtrEnd, int IntState) {
    // States: 0 start, 1 sign, 2 whole digits, 3 point after digits, 4 point first, 5 fraction
    // digits, 6 exponent mark, 7 exponent sign, 8 exponent digits.
    for (const char* PtrText = PtrBegin; PtrText != PtrEnd && IntState >= 0; ++PtrText) {
        const char ChrValue = *PtrText;
        const bool BlnDigit = IsDigit(ChrValue);
        const bool BlnSign = ChrValue == '+' || ChrValue == '-';
        const bool BlnPoint = ChrValue == '.';
        const bool BlnExponent = ChrValue == 'e' || ChrValue == 'E';
        switch (IntState) {
        case 0:
            IntState = BlnSign ? 1 : BlnDigit ? 2 : BlnPoint ? 4 : -1;
            break;
        case 1:
            IntState = BlnDigit ? 2 : BlnPoint ? 4 : -1;
            break;
        case 2:
            IntState = BlnDigit ? 2 : BlnPoint ? 3 : BlnExponent ? 6 : -1;
            break;
        case 3:
        case 5:
            IntState = BlnDigit ? 5 : BlnExponent ? 6 : -1;
            break;
        case 4:
            IntState = BlnDigit ? 5 : -1;
            break;
        case 6:
            IntState = BlnSign ? 7 : BlnDigit ? 8 : -1;
            break;
        case 7:
        case 8:
            IntState = BlnDigit ? 8 : -1;
            break;
        default:
            IntState = -1;
            break;
        }
    }
    return IntState;
}

bool TNumberTools::ParseCount(const char* PtrBegin, const char* PtrEnd, long& LngValue) {
    const char* PtrText = PtrBegin;
    if (PtrText == PtrEnd)
        return false;
    const bool BlnNegative = *PtrText == '-';
    if (BlnNegative || *PtrText == '+')
        ++PtrText;
    if (PtrText == PtrEnd)
        return false;
    long long LlgCount = 0;
    for (; PtrText != PtrEnd; ++PtrText) {
        if (!IsDigit(*PtrText))
            return false;
        LlgCount = LlgCount * 10 + DigitOf(*PtrText);
        // Stops before the product can overflow on a long digit string.
        if (LlgCount > 2147483647LL)
            return false;
    }
    // Only zero may carry a minus sign.
    if (BlnNegative && LlgCount != 0)
        return false;
    LngValue = static_cast<long>(LlgCount);
    return true;
}

char* TNumberTools::FormatDouble(double DblValue, char* PtrBuffer) {
    const bool BlnNegative = std::signbit(DblValue);
    if (std::isnan(DblValue))
        return WriteLiteral(BlnNegative ? "-nan" : "nan", PtrBuffer);
    if (std::isinf(DblValue))
        return WriteLiteral(BlnNegative ? "-inf" : "inf", PtrBuffer);
    if (DblValue == 0.0)
        return WriteLiteral(BlnNegative ? "-0" : "0", PtrBuffer);

    // Whole numbers below 2^53: their own digits are the shortest exact form.
    const double DblAbs = std::fabs(DblValue);
    if (DblAbs < 9007199254740992.0) {
        const auto UlgWhole = static_cast<std::uint64_t>(DblAbs);
        if (static_cast<double>(UlgWhole) == DblAbs) {
            char ArrReversed[20];
            int IntLength = 0;
            for (std::uint64_t UlgRest = UlgWhole; UlgRest != 0; UlgRest /= 10)
                ArrReversed[IntLength++] = static_cast<char>('0' + UlgRest % 10);
            // Below a million %g always writes the integer as it is.
            if (IntLength <= 6) {
                char* PtrOut = PtrBuffer;
                if (BlnNegative)
                    *PtrOut++ = '-';
                while (IntLength > 0)
                    *PtrOut++ = ArrReversed[--IntLength];
                return PtrOut;
            }
            char ArrDigits[20];
            std::reverse_copy(ArrReversed, ArrReversed + IntLength, ArrDigits);
            int IntSignificant = IntLength;
            while (ArrDigits[IntSignificant - 1] == '0')
                --IntSignificant;
            return WriteGeneral(BlnNegative, ArrDigits, IntSignificant, IntLength - 1,
                                std::max(6, IntSignificant), PtrBuffer);
        }
    }

    constexpr std::uint64_t KUlgFraction = (std::uint64_t{1} << 52) - 1;
    const bool BlnPowerOfTwo = (std::bit_cast<std::uint64_t>(DblValue) & KUlgFraction) == 0;
    // From 1e-4 up to a million %g writes fixed notation whatever the precision, and the
    // shortest fixed text of std::to_chars has the shortest digits in that layout.
    if (DblAbs >= 1e-4 && DblAbs < 1e6 && !BlnPowerOfTwo)
        return std::to_chars(PtrBuffer, PtrBuffer + MaxFormattedLength, DblValue,
                             std::chars_format::fixed)
            .ptr;

    TDecimal Decimal;
    ShortestDecimal(DblValue, Decimal);
    const int IntPrecision = std::max(6, Decimal.IntDigits);
    if (DblAbs < std::numeric_limits<double>::min() ? Decimal.IntDigits < 6
                                                    : BlnPowerOfTwo && Decimal.IntDigits >= 6)
        return WriteRounded(DblValue, IntPrecision, PtrBuffer);
    return WriteGeneral(BlnNegative, Decimal.ArrDigits, Decimal.IntDigits, Decimal.IntExponent,
                        IntPrecision, PtrBuffer);
}

char* TNumberTools::FormatCorner(double DblValue, double DblCellSize, char* PtrBuffer) {
    if (!std::isfinite(DblValue) || DblValue == 0.0 || !std::isfinite(DblCellSize) ||
        !(DblCellSize > 0.0))
        return FormatDouble(DblValue, PtrBuffer);
    TDecimal Decimal;
    ShortestDecimal(DblValue, Decimal);
    // Up to 15 digits the value is taken as meant; 16 or 17 betray binary rounding noise.
    if (Decimal.IntDigits < 16)
        return FormatDouble(DblValue, PtrBuffer);

    // The power of ten at or just below a millionth of the cell size, taken from the cell
    // size's decimal form (0.5 -> 1e-7), not from its binary value (1e-6 lies below 10^-6).
    const int IntUnit = DecimalExponent(DblCellSize) - 6;
    const int IntExponent = Decimal.IntExponent;
    // Longest possible fixed text: sign, whole digits (one more on a carry), point, decimals.
    const int IntWhole = IntExponent >= 0 ? IntExponent + 2 : 1;
    const int IntLongest = 1 + IntWhole + (IntUnit < 0 ? 1 - IntUnit : 0);
    if (IntLongest > static_cast<int>(MaxFormattedLength))
        return FormatDouble(DblValue, PtrBuffer);

    const bool BlnNegative = DblValue < 0.0;
    const int IntPrecision = IntExponent - IntUnit; // digits after the first, at the unit
    char ArrDigits[KSizScratch];
    int IntDigits = 0;
    int IntTop = 0; // decimal exponent of ArrDigits[0]
    if (IntPrecision >= 0) {
        char ArrText[KSizScratch];
        const std::to_chars_result Result = std::to_chars(
            ArrText, ArrText + KSizScratch, DblValue, std::chars_format::scientific, IntPrecision);
        TDecimal Rounded;
        SplitScientific(ArrText, Result.ptr, Rounded);
        std::memcpy(ArrDigits, Rounded.ArrDigits, static_cast<std::size_t>(Rounded.IntDigits));
        IntDigits = Rounded.IntDigits;
        IntTop = Rounded.IntExponent;
    } else if (IntPrecision == -1 && Decimal.ArrDigits[0] >= '5') {
        // Below one unit: rounds to one unit from half a unit up. A value of 16 digits or more
        // never equals half a unit, so its shortest digits decide without a tie.
        ArrDigits[0] = '1';
        IntDigits = 1;
        IntTop = IntUnit;
    } else {
        // Rounds to zero, written without a sign.
        *PtrBuffer = '0';
        return PtrBuffer + 1;
    }

    char* PtrOut = PtrBuffer;
    if (BlnNegative)
        *PtrOut++ = '-';
    const int IntHigh = std::max(IntTop, 0);
    const int IntLow = std::min(IntUnit, 0);
    char* PtrLastNeeded = nullptr; // end of the text without trailing fraction zeros
    for (int IntPosition = IntHigh; IntPosition >= IntLow; --IntPosition) {
        if (IntPosition == -1)
            *PtrOut++ = '.';
        const int IntIndex = IntTop - IntPosition;
        const char ChrDigit = IntIndex >= 0 && IntIndex < IntDigits ? ArrDigits[IntIndex] : '0';
        *PtrOut++ = ChrDigit;
        if (IntPosition >= 0 || ChrDigit != '0')
            PtrLastNeeded = PtrOut;
    }
    return PtrLastNeeded;
}

std::string TNumberTools::ToText(double DblValue) {
    char ArrBuffer[MaxFormattedLength];
    const char* PtrEnd = FormatDouble(DblValue, ArrBuffer);
    return std::string(static_cast<const char*>(ArrBuffer), PtrEnd);
}
