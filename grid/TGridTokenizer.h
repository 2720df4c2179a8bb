#ifndef VEILGRID_GRID_TGRIDTOKENIZER_H
#define VEILGRID_GRID_TGRIDTOKENIZER_H

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string>

/// Splits grid text into tokens separated by blank, tab, CR, LF, vertical tab or form feed. The
/// source, a stream buffer or an open file descriptor, is read in large blocks and scanned in
/// place, so a token costs no allocation. Internal to the grid reader.
class TGridTokenizer {
  public:
    /// What Next found.
    enum class EToken {
        Token,   ///< a token of at most MaxTokenLength characters, or a number of any length
        TooLong, ///< a longer token that cannot be a number (not read to its end)
        End      ///< the end of the input: no further token
    };

    /// Longest token handed out that cannot be a number (TNumberTools::FollowDecimal); no tag
    /// comes near it, and the bound keeps binary input (a device of zeros) from being read
    /// without end. A number may be longer: the buffer grows to hold it.
    static constexpr std::size_t MaxTokenLength = 4096;

    /// Reads from PtrSource, which stays the caller's. The bytes read ahead of the last token
    /// can be handed back with GiveBackUnread. A source that can seek is read in large blocks; one
    /// that cannot (a pipe, a console) only as far as it has already buffered, and one character
    /// at a time when it has no buffer, so that nothing is waited for beyond the token in hand.
    explicit TGridTokenizer(std::streambuf* PtrSource);
    /// Reads from the open descriptor IntDescriptor, which stays the caller's. A failed read
    /// fails with "Unable to read file " followed by StrFileName.
    TGridTokenizer(int IntDescriptor, const std::string& StrFileName);
    ~TGridTokenizer();
    TGridTokenizer(const TGridTokenizer&) = delete;
    TGridTokenizer& operator=(const TGridTokenizer&) = delete;

    /// The next token [PtrBegin, PtrEnd), valid until the next call; PtrBegin and PtrEnd are set
    /// only for EToken::Token. The scan stops directly after the token.
    EToken Next(const char*& PtrBegin, const char*& PtrEnd) {
        const char* PtrPos = MbrPtrPos;
        while (PtrPos < MbrPtrEnd && IsBlank(*PtrPos))
            ++PtrPos;
        if (PtrPos == MbrPtrEnd || !ScanToken(PtrPos))
            return NextSlow(PtrBegin, PtrEnd);
        PtrBegin = PtrPos;
        PtrEnd = MbrPtrPos;
        MbrPtrLast = PtrPos;
        return EToken::Token;
    }

    /// Hands the token that the last call of Next returned back, so that the next call returns it
    /// again; for a reader that learns only from a token that it belongs to what comes next. It
    /// is still in the buffer, so this costs nothing. Only once after a call of Next that
    /// returned EToken::Token.
    void PutBack() { MbrPtrPos = MbrPtrLast; }

    /// Bytes that the input probably still holds after the scan position: exact for a regular
    /// file, at least what the stream buffer reports as available otherwise.
    std::size_t GetRemainingHint() const;
    /// Whether GetRemainingHint is an upper bound (a regular file).
    bool IsRemainingBounded() const { return MbrLngFileSize >= 0; }
    /// Whether the last token ended at the end of the input.
    bool IsAtEnd() const { return MbrBlnSourceEnded && MbrPtrPos == MbrPtrEnd; }

    /// For a stream buffer source: seeks the buffer back over the bytes read but not scanned, or,
    /// where it cannot seek, puts them back into its buffer, so that it stands directly after the
    /// last token. Returns false when neither works (a source without a buffer that cannot put
    /// back the blank after the last token); that blank is then consumed.
    bool GiveBackUnread();

  private:
    static bool IsBlank(char ChrValue) {
        return ChrValue == ' ' || static_cast<unsigned char>(ChrValue - '\t') <= '\r' - '\t';
    }
    // Scans the token starting at PtrPos up to the next blank within the buffer; when the buffer
    // ends inside it, returns false and leaves the scan position alone.
    bool ScanToken(const char* PtrPos) {
        const char* PtrScan = PtrPos;
        while (PtrScan < MbrPtrEnd && !IsBlank(*PtrScan))
            ++PtrScan;
        if (PtrScan == MbrPtrEnd || static_cast<std::size_t>(PtrScan - PtrPos) > MaxTokenLength)
            return false;
        MbrPtrPos = PtrScan;
        return true;
    }
    EToken NextSlow(const char*& PtrBegin, const char*& PtrEnd);
    // Keeps [PtrKeep, MbrPtrEnd) at the start of the buffer and reads more behind it; returns
    // false when the source has ended.
    bool Refill(const char* PtrKeep);
    // Moves [PtrKeep, MbrPtrEnd) to the start of a buffer twice as large; false when memory
    // cannot hold it.
    bool Grow(const char* PtrKeep);
    std::size_t ReadSource(char* PtrTarget, std::size_t LngCount);
    // Reads from a stream buffer that cannot seek: no more than it holds in its buffer.
    std::size_t ReadBuffered(char* PtrTarget, std::size_t LngCount);

    std::unique_ptr<char[]> MbrPtrBuffer;
    std::size_t MbrLngCapacity;
    const char* MbrPtrPos;
    const char* MbrPtrEnd;
    // Start of the last token handed out, for PutBack.
    const char* MbrPtrLast;
    std::streambuf* MbrPtrSource;
    bool MbrBlnSeekable;
    int MbrIntDescriptor;
    std::string MbrStrFileName;
    // Size of a regular file, -1 for any other source; and the bytes read from it so far.
    long long MbrLngFileSize;
    long long MbrLngBytesRead;
    bool MbrBlnSourceEnded;
};

#endif
