#include "grid/TGridTokenizer.h"

#include "util/TException.h"
#include "util/TNumberTools.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ios>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// Bytes read from the source at a time: large enough to make the read calls negligible, small
// enough to stay in the cache while it is scanned.
constexpr std::size_t BlockSize = std::size_t(1) << 18;

// The characters a stream buffer holds in its get area, read ahead of its position: the only
// ones that can be taken without waiting and put back afterwards. in_avail() cannot tell them,
// since it asks the source itself once that area is empty.
class TGetArea : public std::streambuf {
  public:
    static std::streamsize Held(std::streambuf* PtrBuffer) {
        return (PtrBuffer->*&TGetArea::egptr)() - (PtrBuffer->*&TGetArea::gptr)();
    }
};

bool CanSeek(std::streambuf* PtrSource) {
    return PtrSource != nullptr &&
           PtrSource->pubseekoff(0, std::ios_base::cur, std::ios_base::in) !=
               std::streampos(std::streamoff(-1));
}
} // namespace

TGridTokenizer::TGridTokenizer(std::streambuf* PtrSource)
    : MbrPtrBuffer(new char[BlockSize]), MbrLngCapacity(BlockSize), MbrPtrPos(MbrPtrBuffer.get()),
      MbrPtrEnd(MbrPtrBuffer.get()), MbrPtrLast(MbrPtrBuffer.get()), MbrPtrSource(PtrSource),
      MbrBlnSeekable(CanSeek(PtrSource)), MbrIntDescriptor(-1), MbrLngFileSize(-1),
      MbrLngBytesRead(0), MbrBlnSourceEnded(PtrSource == nullptr) {}

TGridTokenizer::TGridTokenizer(int IntDescriptor, const std::string& StrFileName)
    : MbrPtrBuffer(new char[BlockSize]), MbrLngCapacity(BlockSize), MbrPtrPos(MbrPtrBuffer.get()),
      MbrPtrEnd(MbrPtrBuffer.get()), MbrPtrLast(MbrPtrBuffer.get()), MbrPtrSource(nullptr),
      MbrBlnSeekable(false), MbrIntDescriptor(IntDescriptor), MbrStrFileName(StrFileName),
      MbrLngFileSize(-1), MbrLngBytesRead(0), MbrBlnSourceEnded(false) {
    struct stat StatFile {};
    if (fstat(IntDescriptor, &StatFile) == 0 && S_ISREG(StatFile.st_mode))
        MbrLngFileSize = static_cast<long long>(StatFile.st_size);
}

TGridTokenizer::~TGridTokenizer() = default;

TGridTokenizer::EToken TGridTokenizer::NextSlow(const char*& PtrBegin, const char*& PtrEnd) {
    for (;;) {
        while (MbrPtrPos < MbrPtrEnd && IsBlank(*MbrPtrPos))
            ++MbrPtrPos;
        if (MbrPtrPos < MbrPtrEnd)
            break;
        if (!Refill(MbrPtrEnd))
            return EToken::End;
    }
    const char* PtrStart = MbrPtrPos;
    const char* PtrScan = PtrStart;
    // A token beyond MaxTokenLength is followed only while it can still be a number: IntForm is
    // the state of its form after its first LngFollowed characters.
    int IntForm = 0;
    std::size_t LngFollowed = 0;
    for (;;) {
        while (PtrScan < MbrPtrEnd && !IsBlank(*PtrScan))
            ++PtrScan;
        const std::size_t LngScanned = static_cast<std::size_t>(PtrScan - PtrStart);
        if (LngScanned > MaxTokenLength) {
            IntForm = TNumberTools::FollowDecimal(PtrStart + LngFollowed, PtrScan, IntForm);
            LngFollowed = LngScanned;
            if (IntForm < 0) {
                MbrPtrPos = PtrScan;
                return EToken::TooLong;
            }
        }
        if (PtrScan < MbrPtrEnd)
            break;
        // The block ends inside the token: keep its start and read on behind it, in a larger
        // buffer once the token fills half of it.
        const char* PtrKeep = PtrStart;
        if (LngScanned > MbrLngCapacity / 2) {
            if (!Grow(PtrStart)) {
                MbrPtrPos = PtrScan;
                return EToken::TooLong;
            }
            PtrKeep = MbrPtrBuffer.get();
        }
        const bool BlnMore = Refill(PtrKeep);
        PtrStart = MbrPtrBuffer.get();
        PtrScan = PtrStart + LngScanned;
        // A token followed directly by the end of the input ends there.
        if (!BlnMore)
            break;
    }
    MbrPtrPos = PtrScan;
    MbrPtrLast = PtrStart;
    PtrBegin = PtrStart;
    PtrEnd = PtrScan;
    return EToken::Token;
}

bool TGridTokenizer::Refill(const char* PtrKeep) {
    char* PtrBuffer = MbrPtrBuffer.get();
    const std::size_t LngKept = static_cast<std::size_t>(MbrPtrEnd - PtrKeep);
    if (LngKept > 0 && PtrKeep != PtrBuffer)
        std::memmove(PtrBuffer, PtrKeep, LngKept);
    MbrPtrPos = PtrBuffer;
    MbrPtrEnd = PtrBuffer + LngKept;
    if (MbrBlnSourceEnded)
        return false;
    const std::size_t LngRead = ReadSource(PtrBuffer + LngKept, MbrLngCapacity - LngKept);
    if (LngRead == 0) {
        MbrBlnSourceEnded = true;
        return false;
    }
    MbrPtrEnd += LngRead;
    return true;
}

bool TGridTokenizer::Grow(const char* PtrKeep) {
    const std::size_t LngKept = static_cast<std::size_t>(MbrPtrEnd - PtrKeep);
    std::unique_ptr<char[]> PtrLarger(new (std::nothrow) char[2 * MbrLngCapacity]);
    if (!PtrLarger)
        return false;
    std::memcpy(PtrLarger.get(), PtrKeep, LngKept);
    MbrPtrBuffer = std::move(PtrLarger);
    MbrLngCapacity *= 2;
    MbrPtrPos = MbrPtrBuffer.get();
    MbrPtrEnd = MbrPtrPos + LngKept;
    return true;
}

std::size_t TGridTokenizer::ReadSource(char* PtrTarget, std::size_t LngCount) {
    if (MbrPtrSource != nullptr) {
        if (!MbrBlnSeekable)
            return ReadBuffered(PtrTarget, LngCount);
        const std::streamsize LngRead =
            MbrPtrSource->sgetn(PtrTarget, static_cast<std::streamsize>(LngCount));
        return LngRead > 0 ? static_cast<std::size_t>(LngRead) : 0;
    }
    for (;;) {
        const ssize_t LngRead = read(MbrIntDescriptor, PtrTarget, LngCount);
        if (LngRead >= 0) {
            MbrLngBytesRead += LngRead;
            return static_cast<std::size_t>(LngRead);
        }
        if (errno != EINTR)
            throw TException("Unable to read file " + MbrStrFileName);
    }
}

std::size_t TGridTokenizer::ReadBuffered(char* PtrTarget, std::size_t LngCount) {
    using Traits = std::streambuf::traits_type;
    std::streamsize LngHeld = TGetArea::Held(MbrPtrSource);
    if (LngHeld <= 0) {
        // Waits for the source's next piece only now that everything before it was scanned.
        if (Traits::eq_int_type(MbrPtrSource->sgetc(), Traits::eof()))
            return 0;
        LngHeld = TGetArea::Held(MbrPtrSource);
        if (LngHeld <= 0) {
            // A source without a buffer: one character at a time.
            *PtrTarget = Traits::to_char_type(MbrPtrSource->sbumpc());
            return 1;
        }
    }
    const std::streamsize LngRead =
        MbrPtrSource->sgetn(PtrTarget, std::min(LngHeld, static_cast<std::streamsize>(LngCount)));
    return LngRead > 0 ? static_cast<std::size_t>(LngRead) : 0;
}

std::size_t TGridTokenizer::GetRemainingHint() const {
    std::size_t LngRemaining = static_cast<std::size_t>(MbrPtrEnd - MbrPtrPos);
    if (MbrBlnSourceEnded)
        return LngRemaining;
    if (MbrLngFileSize >= 0) {
        if (MbrLngFileSize > MbrLngBytesRead)
            LngRemaining += static_cast<std::size_t>(MbrLngFileSize - MbrLngBytesRead);
    } else if (MbrPtrSource != nullptr) {
        const std::streamsize LngAvailable = MbrPtrSource->in_avail();
        if (LngAvailable > 0)
            LngRemaining += static_cast<std::size_t>(LngAvailable);
    }
    return LngRemaining;
}

bool TGridTokenizer::GiveBackUnread() {
    const std::size_t LngUnread = static_cast<std::size_t>(MbrPtrEnd - MbrPtrPos);
    if (MbrPtrSource == nullptr || LngUnread == 0)
        return LngUnread == 0;
    if (MbrBlnSeekable) {
        const std::streampos PosFailed(std::streamoff(-1));
        if (MbrPtrSource->pubseekoff(-static_cast<std::streamoff>(LngUnread), std::ios_base::cur,
                                     std::ios_base::in) == PosFailed)
            return false;
    } else {
        // The unread bytes are the last ones taken from the source's buffer, which still holds
        // them; a source without a buffer has at most the blank after the last token unread.
        for (const char* PtrChar = MbrPtrEnd; PtrChar != MbrPtrPos;)
            if (std::streambuf::traits_type::eq_int_type(MbrPtrSource->sputbackc(*--PtrChar),
                                                         std::streambuf::traits_type::eof()))
                return false;
    }
    MbrPtrEnd = MbrPtrPos;
    MbrBlnSourceEnded = false;
    return true;
}
