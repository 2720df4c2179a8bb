#include "app/TProjectionFile.h"

#include "grid/TOutputFile.h"
#include "util/TException.h"

#include <cerrno>
#include <filesystem>
#include <optional>

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

  private:
    int MbrIntDescriptor;
};

// The text of the named file, or nothing when there is no such file.
std::optional<std::string> ReadIfPresent(const std::string& StrFileName) {
    TDescriptor Descriptor(open(StrFileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (Descriptor.Get() < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::nullopt;
        throw TException("Unable to open file " + StrFileName);
    }
    struct stat StatFile {};
    if (fstat(Descriptor.Get(), &StatFile) != 0 || S_ISDIR(StatFile.st_mode))
        throw TException("Unable to open file " + StrFileName);
    std::string StrText;
    char ArrBlock[8192];
    for (;;) {
        const ssize_t LngRead = read(Descriptor.Get(), ArrBlock, sizeof ArrBlock);
        if (LngRead == 0)
            return StrText;
        if (LngRead < 0) {
            if (errno == EINTR)
                continue;
            throw TException("Unable to read file " + StrFileName);
        }
        StrText.append(ArrBlock, static_cast<std::size_t>(LngRead));
    }
}

} // namespace

std::string TProjectionFile::NameFor(const std::string& StrGridFile) {
    return std::filesystem::path(StrGridFile).replace_extension(".prj").string();
}

void TProjectionFile::CopyBeside(const std::string& StrMaskFile, const std::string& StrSourceFile,
                                 const std::string& StrOutputFile) {
    struct stat StatOutput {};
    if (stat(StrOutputFile.c_str(), &StatOutput) != 0 || !S_ISREG(StatOutput.st_mode))
        return;
    std::string StrFrom = NameFor(StrMaskFile);
    std::optional<std::string> StrText = ReadIfPresent(StrFrom);
    if (!StrText) {
        StrFrom = NameFor(StrSourceFile);
        StrText = ReadIfPresent(StrFrom);
    }
    if (!StrText)
        return;
    const std::string StrTo = NameFor(StrOutputFile);
    // The output beside its own mask or source: its .prj is already in place.
    std::error_code ErrIgnored;
    if (std::filesystem::equivalent(StrFrom, StrTo, ErrIgnored))
        return;
    TOutputFile Output(StrTo);
    Output.GetStream().write(StrText->data(), static_cast<std::streamsize>(StrText->size()));
    Output.Commit();
}
