#include "grid/TARCGISFileTools.h"

#include "grid/TGridTokenizer.h"
#include "model/TAxis.h"
#include "model/TPoint.h"
#include "ops/TMapTools.h"
#include "util/TException.h"
#include "util/TNumberTools.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const StrEndOfFile = "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile";
const char* const StrTooLarge =
    "File format error: grid is too large in TARCGISFileTools::LoadARCGISFile";

// Cells reserved up front when the input cannot tell how much it still holds.
constexpr unsigned long long InitialCells = 1ULL << 16;
// Memory an axis point costs the loaded map at its peak: the owning pointer and the point itself
// in the reader's axis, the map's copy and the derived centre axis, with allocator overhead.
constexpr unsigned long long BytesPerAxisPoint = 4 * (sizeof(void*) + 32);

// The machine's memory in bytes; no request beyond it can be met without paging the system to
// death, and many small ones beyond it would not fail cleanly but end the process.
unsigned long long PhysicalMemory() {
    const long LngPages = sysconf(_SC_PHYS_PAGES);
    const long LngPageSize = sysconf(_SC_PAGE_SIZE);
    if (LngPages <= 0 || LngPageSize <= 0)
        return ULLONG_MAX;
    return static_cast<unsigned long long>(LngPages) * static_cast<unsigned long long>(LngPageSize);
}

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

// Makes room for more cells, doubling the capacity up to the cell count of the header but never
// beyond the machine's memory: cells are only held for values actually read.
void GrowCells(std::vector<double>& VecCells, unsigned long long LngCells,
               unsigned long long LngLimit) {
    const unsigned long long LngCapacity = VecCells.capacity();
    unsigned long long LngWanted = std::min(std::max(2 * LngCapacity, InitialCells), LngCells);
    if (LngWanted > LngLimit) {
        if (LngCapacity >= LngLimit)
            throw TException(StrTooLarge);
        LngWanted = LngLimit;
    }
    VecCells.reserve(static_cast<std::size_t>(LngWanted));
}

// The reader proper: the header, the body and the axes, from the tokens of one grid.
TMap* LoadGrid(TGridTokenizer& Tokenizer) {
    ReadTag(Tokenizer, "ncols", "File format error: expected to find ncols tag");
    const long LngXDim = ReadCount(Tokenizer, "File format error: expectd to find nrows tag",
                                   "File format error: invalid value for ncols tag");
    ReadTag(Tokenizer, "nrows", "File format error: expectd to find nrows tag");
    const long LngYDim = ReadCount(Tokenizer, "File format error: expected to find xllcorner tag",
                                   "File format error: invalid value for nrows tag");
    ReadTag(Tokenizer, "xllcorner", "File format error: expected to find xllcorner tag");
    const double DblXll = ReadDouble(Tokenizer, "File format error: expected to find yllcorner tag",
                                     "File format error: invalid value for xllcorner tag");
    if (!std::isfinite(DblXll))
        throw TException("File format error: invalid value for xllcorner tag");
    ReadTag(Tokenizer, "yllcorner", "File format error: expected to find yllcorner tag");
    const double DblYll = ReadDouble(Tokenizer, "File format error: expected to find cellsize tag",
                                     "File format error: invalid value for yllcorner tag");
    if (!std::isfinite(DblYll))
        throw TException("File format error: invalid value for yllcorner tag");
    ReadTag(Tokenizer, "cellsize", "File format error: expected to find cellsize tag");
    const double DblCellSize =
        ReadDouble(Tokenizer, "File format error: expected to find NODATA_value tag",
                   "File format error: invalid value for cellsize tag");
    if (!std::isfinite(DblCellSize) || !(DblCellSize > 0))
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
    double DblNoData = -9999;
    const TGridTokenizer::EToken NoDataKind = Tokenizer.Next(PtrBegin, PtrEnd);
    if (NoDataKind != TGridTokenizer::EToken::End &&
        (NoDataKind == TGridTokenizer::EToken::TooLong ||
         !TNumberTools::ParseDouble(PtrBegin, PtrEnd, DblNoData)))
        throw TException(PtrInvalidNoData);

    const unsigned long long LngCells =
        static_cast<unsigned long long>(LngXDim) * static_cast<unsigned long long>(LngYDim);
    const unsigned long long LngMemory = PhysicalMemory();
    const unsigned long long LngCellLimit =
        std::min<unsigned long long>(LngMemory / sizeof(double), std::vector<double>().max_size());
    std::vector<double> VecCells;
    try {
        // Reserve no more than the rest of the input can hold: every value but the last takes
        // a character and a separator. A header may claim far more cells than follow.
        unsigned long long LngReserve = (Tokenizer.GetRemainingHint() + 1) / 2;
        if (!Tokenizer.IsRemainingBounded())
            LngReserve = std::max(LngReserve, InitialCells);
        LngReserve = std::min({LngReserve, LngCells, LngCellLimit});
        VecCells.reserve(static_cast<std::size_t>(LngReserve));

        for (unsigned long long LngI = 0; LngI < LngCells; ++LngI) {
            const TGridTokenizer::EToken Kind = Tokenizer.Next(PtrBegin, PtrEnd);
            if (Kind == TGridTokenizer::EToken::End)
                throw TException(StrEndOfFile);
            double DblValue = 0;
            if (Kind == TGridTokenizer::EToken::TooLong ||
                !TNumberTools::ParseDouble(PtrBegin, PtrEnd, DblValue))
                throw TException(
                    "File format error: invalid cell value in TARCGISFileTools::LoadARCGISFile");
            if (VecCells.size() == VecCells.capacity())
                GrowCells(VecCells, LngCells, LngCellLimit);
            VecCells.push_back(DblValue);
        }

        // Axes are real memory too: a header of 0 columns and two billion rows needs no body
        // but an axis of two billion points, which no machine holds.
        const unsigned long long LngAxisPoints =
            static_cast<unsigned long long>(LngXDim) + static_cast<unsigned long long>(LngYDim) + 2;
        if (LngAxisPoints > LngMemory / BytesPerAxisPoint)
            throw TException(StrTooLarge);

        auto PtrMap = std::make_unique<TMap>(DblCellSize);
        PtrMap->SetNoData(DblNoData);
        PtrMap->SetCells(LngXDim, LngYDim, std::move(VecCells));

        // Edges by successive addition, from the south edge northward and from the west edge
        // eastward; index 0 of the Y interval axis is the north edge.
        auto PtrYEdges = std::make_unique<TAxis>(DblCellSize, LngYDim + 1);
        double DblY = DblYll;
        for (long LngJ = LngYDim; LngJ >= 0; --LngJ) {
            PtrYEdges->SetPoint(LngJ, new TPoint(DblXll, DblY));
            if (LngJ > 0)
                DblY += DblCellSize;
        }
        const double DblNorth = DblY;
        auto PtrXEdges = std::make_unique<TAxis>(DblCellSize, LngXDim + 1);
        double DblX = DblXll;
        for (long LngI = 0; LngI <= LngXDim; ++LngI) {
            PtrXEdges->SetPoint(LngI, new TPoint(DblX, DblNorth));
            DblX += DblCellSize;
        }
        PtrMap->SetXAxisInterval(PtrXEdges.get());
        PtrMap->SetYAxisInterval(PtrYEdges.get());
        return PtrMap.release();
    } catch (const std::bad_alloc&) {
        throw TException(StrTooLarge);
    }
}

// Closes a descriptor when the scope ends.
class TDescriptor {
  public:
    explicit TDescriptor(int IntDescriptor) : MbrIntDescriptor(IntDescriptor) {}
    ~TDescriptor() {
        if (MbrIntDescriptor >= 0)
            close(MbrIntDescriptor);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return MbrIntDescriptor; }
    // Closes now; false when the close reports an error (a write that failed late).
    bool Close() {
        const int IntDescriptor = MbrIntDescriptor;
        MbrIntDescriptor = -1;
        return close(IntDescriptor) == 0;
    }

  private:
    int MbrIntDescriptor;
};

// An output stream buffer over a descriptor that remembers any failed write.
class TDescriptorBuffer : public std::streambuf {
  public:
    explicit TDescriptorBuffer(int IntDescriptor)
        : MbrIntDescriptor(IntDescriptor), MbrPtrBuffer(new char[BufferSize]), MbrBlnFailed(false) {
        setp(MbrPtrBuffer.get(), MbrPtrBuffer.get() + BufferSize);
    }
    bool HasFailed() const { return MbrBlnFailed; }

  protected:
    int_type overflow(int_type IntChar) override {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(IntChar, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(IntChar);
            pbump(1);
        }
        return traits_type::not_eof(IntChar);
    }
    std::streamsize xsputn(const char* PtrText, std::streamsize LngCount) override {
        // After a failed write nothing more is taken, so the stream shows the failure at once.
        if (MbrBlnFailed)
            return 0;
        const std::streamsize LngRoom = epptr() - pptr();
        if (LngCount <= LngRoom) {
            std::memcpy(pptr(), PtrText, static_cast<std::size_t>(LngCount));
            pbump(static_cast<int>(LngCount));
            return LngCount;
        }
        if (!Drain())
            return 0;
        if (LngCount < static_cast<std::streamsize>(BufferSize)) {
            std::memcpy(pptr(), PtrText, static_cast<std::size_t>(LngCount));
            pbump(static_cast<int>(LngCount));
            return LngCount;
        }
        return WriteAll(PtrText, static_cast<std::size_t>(LngCount))
                   ? LngCount
                   : static_cast<std::streamsize>(0);
    }
    int sync() override { return Drain() ? 0 : -1; }

  private:
    static constexpr std::size_t BufferSize = std::size_t(1) << 18;

    bool Drain() {
        const std::size_t LngPending = static_cast<std::size_t>(pptr() - pbase());
        setp(MbrPtrBuffer.get(), MbrPtrBuffer.get() + BufferSize);
        return WriteAll(MbrPtrBuffer.get(), LngPending);
    }
    bool WriteAll(const char* PtrText, std::size_t LngCount) {
        while (LngCount > 0 && !MbrBlnFailed) {
            const ssize_t LngWritten = write(MbrIntDescriptor, PtrText, LngCount);
            if (LngWritten < 0 && errno == EINTR)
                continue;
            if (LngWritten <= 0) {
                MbrBlnFailed = true;
                break;
            }
            PtrText += LngWritten;
            LngCount -= static_cast<std::size_t>(LngWritten);
        }
        return !MbrBlnFailed;
    }

    int MbrIntDescriptor;
    std::unique_ptr<char[]> MbrPtrBuffer;
    bool MbrBlnFailed;
};

// The path that a chain of symbolic links starting at StrPath ends in, where the chain leads to
// nothing; StrPath itself when it is no link. Empty for a chain that does not end (a loop).
std::string LinkEnd(std::string StrPath) {
    for (int IntHop = 0; IntHop < 40; ++IntHop) {
        struct stat StatLink {};
        if (lstat(StrPath.c_str(), &StatLink) != 0 || !S_ISLNK(StatLink.st_mode))
            return StrPath;
        char ArrText[PATH_MAX];
        const ssize_t LngLength = readlink(StrPath.c_str(), ArrText, sizeof ArrText);
        if (LngLength <= 0 || static_cast<std::size_t>(LngLength) == sizeof ArrText)
            return std::string();
        const std::string StrText(ArrText, static_cast<std::size_t>(LngLength));
        // A relative link is relative to the folder that holds it.
        StrPath = StrText[0] == '/' ? StrText : StrPath.substr(0, StrPath.rfind('/') + 1) + StrText;
    }
    return std::string();
}

// Writes the grid to an open descriptor and closes it; false when anything failed.
bool WriteAndClose(TMap* PtrMap, TDescriptor& Descriptor) {
    TDescriptorBuffer Buffer(Descriptor.Get());
    std::ostream Out(&Buffer);
    TARCGISFileTools::WriteARCGISFile(PtrMap, Out);
    Out.flush();
    const bool BlnWritten = Out.good() && !Buffer.HasFailed();
    return Descriptor.Close() && BlnWritten;
}

// Removes a temporary file when the scope ends, unless it was put in place.
class TTemporaryFile {
  public:
    TTemporaryFile() = default;
    ~TTemporaryFile() {
        if (!MbrStrName.empty())
            unlink(MbrStrName.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    // Creates a new file named StrBase + ".tmp" + six random characters with the permissions
    // IntMode (less the umask) and returns its descriptor; -1 when none can be created. Where
    // that name would be too long for the folder, the file is named ".tmp" + six random
    // characters in the folder of StrBase.
    int Create(const std::string& StrBase, mode_t IntMode) {
        static const char ArrChars[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        // Names only need to differ between processes and calls; a clash is tried again.
        const unsigned long long LngSeed =
            static_cast<unsigned long long>(
                std::chrono::steady_clock::now().time_since_epoch().count()) ^
            (static_cast<unsigned long long>(getpid()) << 32);
        std::mt19937 Generator(static_cast<std::mt19937::result_type>(LngSeed ^ (LngSeed >> 32)));
        std::uniform_int_distribution<int> Pick(0, static_cast<int>(sizeof ArrChars) - 2);
        std::string StrPrefix = StrBase + ".tmp";
        bool BlnShortened = false;
        for (int IntTry = 0; IntTry < 100; ++IntTry) {
            std::string StrName = StrPrefix;
            for (int IntI = 0; IntI < 6; ++IntI)
                StrName += ArrChars[Pick(Generator)];
            const int IntDescriptor =
                open(StrName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, IntMode);
            if (IntDescriptor >= 0) {
                MbrStrName = StrName;
                return IntDescriptor;
            }
            if (errno == ENAMETOOLONG && !BlnShortened) {
                StrPrefix = StrBase.substr(0, StrBase.rfind('/') + 1) + ".tmp";
                BlnShortened = true;
                continue;
            }
            if (errno != EEXIST)
                return -1;
        }
        return -1;
    }
    // Renames the file to StrTarget; false when that fails (the file is then removed).
    bool MoveTo(const std::string& StrTarget) {
        if (rename(MbrStrName.c_str(), StrTarget.c_str()) != 0)
            return false;
        MbrStrName.clear();
        return true;
    }

  private:
    std::string MbrStrName;
};

} // namespace

TMap* TARCGISFileTools::LoadARCGISFile(std::istream& In) {
    const std::istream::sentry Sentry(In, true);
    TGridTokenizer Tokenizer(Sentry ? In.rdbuf() : nullptr);
    std::unique_ptr<TMap> PtrMap(LoadGrid(Tokenizer));
    // The tokenizer reads ahead in blocks; put the stream back directly after the last value.
    // A stream that cannot seek (a pipe) keeps what was read ahead consumed.
    Tokenizer.GiveBackUnread();
    if (Tokenizer.IsAtEnd() && (In.exceptions() & std::ios_base::eofbit) == 0)
        In.setstate(std::ios_base::eofbit);
    return PtrMap.release();
}

TMap* TARCGISFileTools::LoadARCGISFile(const std::string& StrFileName) {
    TDescriptor Descriptor(open(StrFileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (Descriptor.Get() < 0)
        throw TException("Unable to open file " + StrFileName);
    struct stat StatFile {};
    if (fstat(Descriptor.Get(), &StatFile) != 0 || S_ISDIR(StatFile.st_mode))
        throw TException("Unable to open file " + StrFileName);
    TGridTokenizer Tokenizer(Descriptor.Get(), StrFileName);
    return LoadGrid(Tokenizer);
}

void TARCGISFileTools::WriteARCGISFile(TMap* PtrMap, std::ostream& Out) {
    const TAxis* PtrXEdges = PtrMap->GetXAxisInterval();
    const TAxis* PtrYEdges = PtrMap->GetYAxisInterval();
    if (PtrXEdges == nullptr || PtrYEdges == nullptr)
        throw TException("Map has no axes in TARCGISFileTools::WriteARCGISFile");
    const TPoint* PtrWest = PtrXEdges->GetPoint(0);
    const TPoint* PtrFirst = PtrYEdges->GetPoint(0);
    const TPoint* PtrLast = PtrYEdges->GetPoint(PtrMap->GetYDim());
    if (PtrWest == nullptr || PtrFirst == nullptr || PtrLast == nullptr)
        throw TException("Map has no axes in TARCGISFileTools::WriteARCGISFile");
    // The south edge is the last point for maps read from grids, the first for a one-row map
    // built from a centre axis.
    const double DblSouth = PtrFirst->GetY() < PtrLast->GetY() ? PtrFirst->GetY() : PtrLast->GetY();
    const double DblCellSize = PtrMap->GetResolution();

    // The header goes out in one piece; ArrNumber holds one number at a time.
    char ArrNumber[TNumberTools::MaxFormattedLength];
    std::string StrHeader = "ncols ";
    StrHeader.append(ArrNumber,
                     std::to_chars(ArrNumber, ArrNumber + sizeof ArrNumber, PtrMap->GetXDim()).ptr);
    StrHeader += "\nnrows ";
    StrHeader.append(ArrNumber,
                     std::to_chars(ArrNumber, ArrNumber + sizeof ArrNumber, PtrMap->GetYDim()).ptr);
    const auto AppendCorner = [&StrHeader, &ArrNumber, DblCellSize](double DblCorner) {
        const char* PtrEnd = TNumberTools::FormatCorner(DblCorner, DblCellSize, ArrNumber);
        const std::size_t LngLength = static_cast<std::size_t>(PtrEnd - ArrNumber);
        // Right-aligned in a field of 8; a longer value is written in full.
        if (LngLength < 8)
            StrHeader.append(8 - LngLength, ' ');
        StrHeader.append(ArrNumber, LngLength);
    };
    StrHeader += "\nxllcorner ";
    AppendCorner(PtrWest->GetX());
    StrHeader += "\nyllcorner ";
    AppendCorner(DblSouth);
    StrHeader += "\ncellsize ";
    StrHeader.append(ArrNumber, TNumberTools::FormatDouble(DblCellSize, ArrNumber));
    StrHeader += "\nNODATA_value ";
    StrHeader.append(ArrNumber, TNumberTools::FormatDouble(PtrMap->GetNoData(), ArrNumber));
    StrHeader += '\n';
    Out.write(StrHeader.data(), static_cast<std::streamsize>(StrHeader.size()));
    TMapTools::WriteFlatFile(PtrMap, Out, ' ');
    Out.flush();
}

void TARCGISFileTools::WriteARCGISFile(TMap* PtrMap, const std::string& StrFileName) {
    // An empty name names no file (and would put the temporary file in the working folder).
    if (StrFileName.empty())
        throw TException("Unable to open file " + StrFileName);
    struct stat StatLink {};
    struct stat StatTarget {};
    const bool BlnLinkExists = lstat(StrFileName.c_str(), &StatLink) == 0;
    const bool BlnTargetExists = stat(StrFileName.c_str(), &StatTarget) == 0;
    if (BlnTargetExists && S_ISDIR(StatTarget.st_mode))
        throw TException("Unable to open file " + StrFileName);

    // A device or a pipe is written in place: there is nothing to rename over and no content to
    // keep.
    if (BlnTargetExists && !S_ISREG(StatTarget.st_mode)) {
        TDescriptor Descriptor(
            open(StrFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (Descriptor.Get() < 0)
            throw TException("Unable to open file " + StrFileName);
        if (!WriteAndClose(PtrMap, Descriptor))
            throw TException("Unable to write file " + StrFileName);
        return;
    }

    // A file is replaced through a temporary file beside it, put in place only once complete;
    // through a symbolic link the file it names is replaced, or created where it leads to
    // nothing, and the link stays.
    std::string StrTarget = StrFileName;
    if (BlnLinkExists && !BlnTargetExists) {
        StrTarget = LinkEnd(StrFileName);
        if (StrTarget.empty())
            throw TException("Unable to open file " + StrFileName);
    } else if (BlnLinkExists && S_ISLNK(StatLink.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> PtrResolved(
            realpath(StrFileName.c_str(), nullptr), &std::free);
        if (!PtrResolved)
            throw TException("Unable to open file " + StrFileName);
        StrTarget = PtrResolved.get();
    }
    // A file that may not be written is not replaced either, though its folder would allow it.
    if (BlnTargetExists && faccessat(AT_FDCWD, StrTarget.c_str(), W_OK, AT_EACCESS) != 0)
        throw TException("Unable to open file " + StrFileName);
    TTemporaryFile Temporary;
    // Until its permissions are set, a replacement is private to its owner.
    TDescriptor Descriptor(Temporary.Create(StrTarget, BlnTargetExists ? 0600 : 0666));
    if (Descriptor.Get() < 0)
        throw TException("Unable to open file " + StrFileName);
    // A replaced file keeps its owner (where allowed) and its permissions; a new file has those
    // its creation gave it (0666 less the umask).
    if (BlnTargetExists) {
        if (fchown(Descriptor.Get(), StatTarget.st_uid, StatTarget.st_gid) != 0) {
            // Only the superuser may give a file away; the new file stays the writer's.
        }
        if (fchmod(Descriptor.Get(), StatTarget.st_mode & 07777) != 0)
            throw TException("Unable to write file " + StrFileName);
    }
    if (!WriteAndClose(PtrMap, Descriptor) || !Temporary.MoveTo(StrTarget))
        throw TException("Unable to write file " + StrFileName);
}
