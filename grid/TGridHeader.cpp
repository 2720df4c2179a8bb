#include "grid/TGridHeader.h"

#include "grid/TGridTokenizer.h"
#include "util/TException.h"
#include "util/TNumberTools.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace {

bool IsToken(const char* PtrBegin, const char* PtrEnd, const char* PtrText) {
    const std::size_t LngLength = std::strlen(PtrText);
    return static_cast<std::size_t>(PtrEnd - PtrBegin) == LngLength &&
           std::memcmp(PtrBegin, PtrText, LngLength) == 0;
}

// Reads the tag of a header pair; anything else, the end of the input included, fails with
// PtrMessage.
void ReadTag(TGridTokenizer& Tokenizer, const char* PtrTag, const char* PtrMessage) {
    const char* PtrBegin = nullptr;
    const char* PtrEnd = nullptr;
    if (Tokenizer.Next(PtrBegin, PtrEnd) != TGridTokenizer::EToken::Token ||
        !IsToken(PtrBegin, PtrEnd, PtrTag))
        throw TException(PtrMessage);
}

// Reads the value token of a header pair. The input ending there fails with PtrMissing (what
// the next read would have met), a token too long for a number with PtrInvalid.
void ReadValueToken(TGridTokenizer& Tokenizer, const char*& PtrBegin, const char*& PtrEnd,
                    const char* PtrMissing, const char* PtrInvalid) {
    const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
    if (Kind == TGridTokenizer::EToken::End)
        throw TException(PtrMissing);
    if (Kind == TGridTokenizer::EToken::TooLong)
        throw TException(PtrInvalid);
}

// Reads the value of a header pair with the number rule of its kind.
template <class TValue, bool (*Parse)(const char*, const char*, TValue&)>
TValue ReadValue(TGridTokenizer& Tokenizer, const char* PtrMissing, const char* PtrInvalid) {
    const char* PtrBegin = nullptr;
    const char* PtrEnd = nullptr;
    ReadValueToken(Tokenizer, PtrBegin, PtrEnd, PtrMissing, PtrInvalid);
    TValue Value{};
    if (!Parse(PtrBegin, PtrEnd, Value))
        throw TException(PtrInvalid);
    return Value;
}
constexpr auto ReadCount = ReadValue<long, TNumberTools::ParseCount>;
constexpr auto ReadDouble = ReadValue<double, TNumberTools::ParseDouble>;

// The tags of the tolerant header, in lower case.
enum ETag {
    TagNCols,
    TagNRows,
    TagXCorner,
    TagYCorner,
    TagXCentre,
    TagYCentre,
    TagCellSize,
    TagDx,
    TagDy,
    TagNoData,
    TagCount
};
const char* const ArrTagNames[TagCount] = {"ncols",     "nrows",       "xllcorner", "yllcorner",
                                           "xllcenter", "yllcenter",   "cellsize",  "dx",
                                           "dy",        "nodata_value"};

// The tag the token names in any letter case, or TagCount.
int FindTag(const char* PtrBegin, const char* PtrEnd) {
    const std::size_t LngLength = static_cast<std::size_t>(PtrEnd - PtrBegin);
    for (int IntTag = 0; IntTag < TagCount; ++IntTag) {
        const char* PtrName = ArrTagNames[IntTag];
        if (std::strlen(PtrName) != LngLength)
            continue;
        std::size_t LngI = 0;
        while (LngI < LngLength) {
            const char ChrValue = PtrBegin[LngI];
            const char ChrLower = ChrValue >= 'A' && ChrValue <= 'Z'
                                      ? static_cast<char>(ChrValue - 'A' + 'a')
                                      : ChrValue;
            if (ChrLower != PtrName[LngI])
                break;
            ++LngI;
        }
        if (LngI == LngLength)
            return IntTag;
    }
    return TagCount;
}

} // namespace

TGridHeader TGridHeader::Read(TGridTokenizer& Tokenizer) {
    TGridHeader Header;
    ReadTag(Tokenizer, "ncols", "File format error: expected to find ncols tag");
    Header.MbrLngXDim = ReadCount(Tokenizer, "File format error: expectd to find nrows tag",
                                  "File format error: invalid value for ncols tag");
    ReadTag(Tokenizer, "nrows", "File format error: expectd to find nrows tag");
    Header.MbrLngYDim = ReadCount(Tokenizer, "File format error: expected to find xllcorner tag",
                                  "File format error: invalid value for nrows tag");
    ReadTag(Tokenizer, "xllcorner", "File format error: expected to find xllcorner tag");
    Header.MbrDblXll = ReadDouble(Tokenizer, "File format error: expected to find yllcorner tag",
                                  "File format error: invalid value for xllcorner tag");
    if (!std::isfinite(Header.MbrDblXll))
        throw TException("File format error: invalid value for xllcorner tag");
    ReadTag(Tokenizer, "yllcorner", "File format error: expected to find yllcorner tag");
    Header.MbrDblYll = ReadDouble(Tokenizer, "File format error: expected to find cellsize tag",
                                  "File format error: invalid value for yllcorner tag");
    if (!std::isfinite(Header.MbrDblYll))
        throw TException("File format error: invalid value for yllcorner tag");
    ReadTag(Tokenizer, "cellsize", "File format error: expected to find cellsize tag");
    Header.MbrDblCellSize =
        ReadDouble(Tokenizer, "File format error: expected to find NODATA_value tag",
                   "File format error: invalid value for cellsize tag");
    if (!std::isfinite(Header.MbrDblCellSize) || !(Header.MbrDblCellSize > 0))
        throw TException("File format error: invalid value for cellsize tag");

    // The no-data tag has two accepted spellings; its message names the one written.
    const char* PtrBegin = nullptr;
    const char* PtrEnd = nullptr;
    if (Tokenizer.Next(PtrBegin, PtrEnd) != TGridTokenizer::EToken::Token)
        throw TException("File format error: expected to find NODATA_value tag");
    const char* PtrInvalidNoData = nullptr;
    if (IsToken(PtrBegin, PtrEnd, "NODATA_value"))
        PtrInvalidNoData = "File format error: invalid value for NODATA_value tag";
    else if (IsToken(PtrBegin, PtrEnd, "nodata_value"))
        PtrInvalidNoData = "File format error: invalid value for nodata_value tag";
    else
        throw TException("File format error: expected to find NODATA_value tag");
    // The no-data value is -9999 until one has been read: a file that ends where it belongs loads
    // if it needs no cells, and otherwise fails on its first cell with the end-of-file message.
    const TGridTokenizer::EToken NoDataKind = Tokenizer.Next(PtrBegin, PtrEnd);
    if (NoDataKind != TGridTokenizer::EToken::End &&
        (NoDataKind == TGridTokenizer::EToken::TooLong ||
         !TNumberTools::ParseDouble(PtrBegin, PtrEnd, Header.MbrDblNoData)))
        throw TException(PtrInvalidNoData);
    return Header;
}

TGridHeader TGridHeader::ReadTolerant(TGridTokenizer& Tokenizer) {
    bool ArrSeen[TagCount] = {};
    double ArrValues[TagCount] = {};
    TGridHeader Header;
    bool BlnTooLong = false;
    // Once every pair is there, the header is over without a look at the next token: a grid
    // without cells may be followed by anything, as in the strict header.
    const auto IsComplete = [&ArrSeen] {
        return ArrSeen[TagNCols] && ArrSeen[TagNRows] &&
               (ArrSeen[TagXCorner] || ArrSeen[TagXCentre]) &&
               (ArrSeen[TagYCorner] || ArrSeen[TagYCentre]) &&
               (ArrSeen[TagCellSize] || (ArrSeen[TagDx] && ArrSeen[TagDy])) && ArrSeen[TagNoData];
    };
    while (!IsComplete()) {
        const char* PtrBegin = nullptr;
        const char* PtrEnd = nullptr;
        const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
        if (Kind != TGridTokenizer::EToken::Token) {
            BlnTooLong = Kind == TGridTokenizer::EToken::TooLong;
            break;
        }
        const int IntTag = FindTag(PtrBegin, PtrEnd);
        if (IntTag == TagCount) {
            // The first cell value: it stays for the body.
            Tokenizer.PutBack();
            break;
        }
        // Messages name the tag as the file writes it.
        const std::string StrTag(PtrBegin, PtrEnd);
        if (ArrSeen[IntTag])
            throw TException("File format error: duplicate " + StrTag + " tag");
        ArrSeen[IntTag] = true;
        const std::string StrMissing = "File format error: missing value for " + StrTag + " tag";
        const std::string StrInvalid = "File format error: invalid value for " + StrTag + " tag";
        if (IntTag == TagNCols || IntTag == TagNRows) {
            (IntTag == TagNCols ? Header.MbrLngXDim : Header.MbrLngYDim) =
                ReadCount(Tokenizer, StrMissing.c_str(), StrInvalid.c_str());
        } else if (IntTag == TagNoData) {
            // As in the strict header, the input may end where the value belongs.
            const TGridTokenizer::EToken NoDataKind = Tokenizer.Next(PtrBegin, PtrEnd);
            if (NoDataKind == TGridTokenizer::EToken::End)
                break;
            if (NoDataKind == TGridTokenizer::EToken::TooLong ||
                !TNumberTools::ParseDouble(PtrBegin, PtrEnd, Header.MbrDblNoData))
                throw TException(StrInvalid);
        } else {
            const double DblValue = ReadDouble(Tokenizer, StrMissing.c_str(), StrInvalid.c_str());
            const bool BlnSize = IntTag == TagCellSize || IntTag == TagDx || IntTag == TagDy;
            if (!std::isfinite(DblValue) || (BlnSize && !(DblValue > 0)))
                throw TException(StrInvalid);
            ArrValues[IntTag] = DblValue;
        }
    }

    if (!ArrSeen[TagNCols])
        throw TException("File format error: expected to find ncols tag");
    if (!ArrSeen[TagNRows])
        throw TException("File format error: expectd to find nrows tag");
    if (ArrSeen[TagXCorner] && ArrSeen[TagXCentre])
        throw TException("File format error: both xllcorner and xllcenter tags");
    if (!ArrSeen[TagXCorner] && !ArrSeen[TagXCentre])
        throw TException("File format error: expected to find xllcorner tag");
    if (ArrSeen[TagYCorner] && ArrSeen[TagYCentre])
        throw TException("File format error: both yllcorner and yllcenter tags");
    if (!ArrSeen[TagYCorner] && !ArrSeen[TagYCentre])
        throw TException("File format error: expected to find yllcorner tag");
    if (ArrSeen[TagCellSize]) {
        if (ArrSeen[TagDx] || ArrSeen[TagDy])
            throw TException("File format error: cellsize tag together with dx or dy tag");
        Header.MbrDblCellSize = ArrValues[TagCellSize];
    } else if (ArrSeen[TagDx] || ArrSeen[TagDy]) {
        if (!ArrSeen[TagDx] || !ArrSeen[TagDy])
            throw TException("File format error: expected to find dx and dy tags");
        if (!(ArrValues[TagDx] == ArrValues[TagDy]))
            throw TException("File format error: dx and dy differ, cells are not square");
        Header.MbrDblCellSize = ArrValues[TagDx];
    } else {
        throw TException("File format error: expected to find cellsize tag");
    }
    // A centre is half a cell from the corner, whichever of the two lines came first.
    Header.MbrDblXll = ArrSeen[TagXCorner] ? ArrValues[TagXCorner]
                                           : ArrValues[TagXCentre] - Header.MbrDblCellSize / 2;
    Header.MbrDblYll = ArrSeen[TagYCorner] ? ArrValues[TagYCorner]
                                           : ArrValues[TagYCentre] - Header.MbrDblCellSize / 2;
    // A token too long for a number where the body begins cannot be a cell value.
    if (BlnTooLong && Header.MbrLngXDim > 0 && Header.MbrLngYDim > 0)
        throw TException(
            "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile");
    return Header;
}

bool TGridHeader::ClaimsAxesWithoutCells() const {
    constexpr unsigned long long MaxAxisPointsWithoutCells = (1ULL << 16) + 2;
    const unsigned long long LngAxisPoints = static_cast<unsigned long long>(MbrLngXDim) +
                                             static_cast<unsigned long long>(MbrLngYDim) + 2;
    return (MbrLngXDim == 0 || MbrLngYDim == 0) && LngAxisPoints > MaxAxisPointsWithoutCells;
}

void TGridHeader::AppendTo(std::string& StrText) const {
    // ArrNumber holds one number at a time.
    char ArrNumber[TNumberTools::MaxFormattedLength];
    StrText += "ncols ";
    StrText.append(ArrNumber,
                   std::to_chars(ArrNumber, ArrNumber + sizeof ArrNumber, MbrLngXDim).ptr);
    StrText += "\nnrows ";
    StrText.append(ArrNumber,
                   std::to_chars(ArrNumber, ArrNumber + sizeof ArrNumber, MbrLngYDim).ptr);
    const auto AppendCorner = [&StrText, &ArrNumber, this](double DblCorner) {
        const char* PtrEnd = TNumberTools::FormatCorner(DblCorner, MbrDblCellSize, ArrNumber);
        const std::size_t LngLength = static_cast<std::size_t>(PtrEnd - ArrNumber);
        // Right-aligned in a field of 8; a longer value is written in full.
        if (LngLength < 8)
            StrText.append(8 - LngLength, ' ');
        StrText.append(ArrNumber, LngLength);
    };
    StrText += "\nxllcorner ";
    AppendCorner(MbrDblXll);
    StrText += "\nyllcorner ";
    AppendCorner(MbrDblYll);
    StrText += "\ncellsize ";
    StrText.append(ArrNumber, TNumberTools::FormatDouble(MbrDblCellSize, ArrNumber));
    StrText += "\nNODATA_value ";
    StrText.append(ArrNumber, TNumberTools::FormatDouble(MbrDblNoData, ArrNumber));
    StrText += '\n';
}

TGridEdges TGridHeader::XEdges() const {
    return TGridEdges(MbrDblXll, MbrDblCellSize, MbrLngXDim + 1, true);
}

TGridEdges TGridHeader::YEdges() const {
    return TGridEdges(MbrDblYll, MbrDblCellSize, MbrLngYDim + 1, false);
}
