#include "grid/TOutputFile.h"

#include "util/TException.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    // Takes over IntDescriptor; one held before is closed.
    void Reset(int IntDescriptor) {
        if (MbrIntDescriptor >= 0)
            close(MbrIntDescriptor);
        MbrIntDescriptor = IntDescriptor;
    }
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

// A new file without a name in the folder for temporary files, gone once closed; -1 when none can
// be made.
int OpenUnnamed() {
    const int IntDescriptor = open(P_tmpdir, O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
    if (IntDescriptor >= 0)
        return IntDescriptor;
    std::string StrName = std::string(P_tmpdir) + "/veilgrid-XXXXXX";
    const int IntNamed = mkostemp(StrName.data(), O_CLOEXEC);
    if (IntNamed >= 0)
        unlink(StrName.c_str());
    return IntNamed;
}

// Copies everything in IntFrom, from its start, to IntTo; false when a read or write failed.
bool CopyAll(int IntFrom, int IntTo) {
    if (lseek(IntFrom, 0, SEEK_SET) != 0)
        return false;
    std::unique_ptr<char[]> PtrBlock(new char[std::size_t(1) << 18]);
    for (;;) {
        const ssize_t LngRead = read(IntFrom, PtrBlock.get(), std::size_t(1) << 18);
        if (LngRead < 0 && errno == EINTR)
            continue;
        if (LngRead <= 0)
            return LngRead == 0;
        const char* PtrText = PtrBlock.get();
        std::size_t LngLeft = static_cast<std::size_t>(LngRead);
        while (LngLeft > 0) {
            const ssize_t LngWritten = write(IntTo, PtrText, LngLeft);
            if (LngWritten < 0 && errno == EINTR)
                continue;
            if (LngWritten <= 0)
                return false;
            PtrText += LngWritten;
            LngLeft -= static_cast<std::size_t>(LngWritten);
        }
    }
}

} // namespace

struct TOutputFile::TState {
    explicit TState(const std::string& StrName) : MbrStrFileName(StrName), MbrDescriptor(-1) {}
    std::string MbrStrFileName;
    // Declared before the descriptor: the temporary file is removed after it was closed.
    TTemporaryFile MbrTemporary;
    std::string MbrStrTarget;
    TDescriptor MbrDescriptor;
    std::unique_ptr<TDescriptorBuffer> MbrPtrBuffer;
    std::unique_ptr<std::ostream> MbrPtrStream;
    bool MbrBlnInPlace = false;
    // A device or pipe held until Commit: the descriptor is the unnamed file keeping the text.
    bool MbrBlnHeld = false;
};

TOutputFile::TOutputFile(const std::string& StrFileName) : TOutputFile(StrFileName, false) {}

TOutputFile::TOutputFile(const std::string& StrFileName, bool BlnHoldDevices)
    : MbrPtrState(std::make_unique<TState>(StrFileName)) {
    // An empty name names no file (and would put the temporary file in the working folder).
    if (StrFileName.empty())
        throw TException("Unable to open file " + StrFileName);
    struct stat StatLink {};
    struct stat StatTarget {};
    const bool BlnLinkExists = lstat(StrFileName.c_str(), &StatLink) == 0;
    const bool BlnTargetExists = stat(StrFileName.c_str(), &StatTarget) == 0;
    if (BlnTargetExists && S_ISDIR(StatTarget.st_mode))
        throw TException("Unable to open file " + StrFileName);

    TState& State = *MbrPtrState;
    // A device or a pipe is written in place: there is nothing to rename over and no content to
    // keep.
    if (BlnTargetExists && !S_ISREG(StatTarget.st_mode) && BlnHoldDevices) {
        State.MbrBlnInPlace = true;
        State.MbrBlnHeld = true;
        State.MbrDescriptor.Reset(OpenUnnamed());
        if (State.MbrDescriptor.Get() < 0)
            throw TException("Unable to open file " + StrFileName);
    } else if (BlnTargetExists && !S_ISREG(StatTarget.st_mode)) {
        State.MbrBlnInPlace = true;
        State.MbrDescriptor.Reset(
            open(StrFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (State.MbrDescriptor.Get() < 0)
            throw TException("Unable to open file " + StrFileName);
    } else {
        // A file is replaced through a temporary file beside it, put in place only once
        // complete; through a symbolic link the file it names is replaced, or created where it
        // leads to nothing, and the link stays.
        State.MbrStrTarget = StrFileName;
        if (BlnLinkExists && !BlnTargetExists) {
            State.MbrStrTarget = LinkEnd(StrFileName);
            if (State.MbrStrTarget.empty())
                throw TException("Unable to open file " + StrFileName);
        } else if (BlnLinkExists && S_ISLNK(StatLink.st_mode)) {
            std::unique_ptr<char, decltype(&std::free)> PtrResolved(
                realpath(StrFileName.c_str(), nullptr), &std::free);
            if (!PtrResolved)
                throw TException("Unable to open file " + StrFileName);
            State.MbrStrTarget = PtrResolved.get();
        }
        // A file that may not be written is not replaced either, though its folder would
        // allow it.
        if (BlnTargetExists &&
            faccessat(AT_FDCWD, State.MbrStrTarget.c_str(), W_OK, AT_EACCESS) != 0)
            throw TException("Unable to open file " + StrFileName);
        // Until its permissions are set, a replacement is private to its owner.
        State.MbrDescriptor.Reset(
            State.MbrTemporary.Create(State.MbrStrTarget, BlnTargetExists ? 0600 : 0666));
        if (State.MbrDescriptor.Get() < 0)
            throw TException("Unable to open file " + StrFileName);
        // A replaced file keeps its owner (where allowed) and its permissions; a new file has
        // those its creation gave it (0666 less the umask).
        if (BlnTargetExists) {
            if (fchown(State.MbrDescriptor.Get(), StatTarget.st_uid, StatTarget.st_gid) != 0) {
                // Only the superuser may give a file away; the new file stays the writer's.
            }
            if (fchmod(State.MbrDescriptor.Get(), StatTarget.st_mode & 07777) != 0)
                throw TException("Unable to write file " + StrFileName);
        }
    }
    State.MbrPtrBuffer = std::make_unique<TDescriptorBuffer>(State.MbrDescriptor.Get());
    State.MbrPtrStream = std::make_unique<std::ostream>(State.MbrPtrBuffer.get());
}

TOutputFile::~TOutputFile() = default;

std::ostream& TOutputFile::GetStream() { return *MbrPtrState->MbrPtrStream; }

void TOutputFile::Commit() {
    TState& State = *MbrPtrState;
    State.MbrPtrStream->flush();
    const bool BlnWritten = State.MbrPtrStream->good() && !State.MbrPtrBuffer->HasFailed();
    if (State.MbrBlnHeld) {
        if (!BlnWritten)
            throw TException("Unable to write file " + State.MbrStrFileName);
        TDescriptor Target(
            open(State.MbrStrFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        if (Target.Get() < 0)
            throw TException("Unable to open file " + State.MbrStrFileName);
        if (!CopyAll(State.MbrDescriptor.Get(), Target.Get()) || !Target.Close())
            throw TException("Unable to write file " + State.MbrStrFileName);
        return;
    }
    if (!State.MbrDescriptor.Close() || !BlnWritten ||
        (!State.MbrBlnInPlace && !State.MbrTemporary.MoveTo(State.MbrStrTarget)))
        throw TException("Unable to write file " + State.MbrStrFileName);
}
