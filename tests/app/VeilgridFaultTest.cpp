// The command under faults: headers that claim more than the file holds, a full disk, folders it
// may not write to, inputs that are folders, devices or pipes.

#include "app/CommandSupport.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <thread>
#include <vector>

namespace {

// Under AddressSanitizer a process reserves terabytes of address space, so an address-space
// limit cannot be set there; the memory a run took is measured instead, in every build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool BlnSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool BlnSanitized = true;
#else
constexpr bool BlnSanitized = false;
#endif
#else
constexpr bool BlnSanitized = false;
#endif

// The environment of a measured child: this one, with an allocation limit of 1 GiB added to the
// sanitizer options under AddressSanitizer, since there the address space cannot be limited and
// memory that is reserved but never touched does not show in the peak resident memory.
std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> VecEnvironment;
    std::string StrOptions = "ASAN_OPTIONS=";
    for (char** PtrEntry = environ; *PtrEntry != nullptr; ++PtrEntry) {
        const std::string StrEntry = *PtrEntry;
        if (StrEntry.rfind("ASAN_OPTIONS=", 0) == 0)
            StrOptions = StrEntry + ":";
        else
            VecEnvironment.push_back(StrEntry);
    }
    if (BlnSanitized)
        VecEnvironment.push_back(StrOptions + "max_allocation_size_mb=1024");
    else if (StrOptions != "ASAN_OPTIONS=")
        VecEnvironment.push_back(StrOptions.substr(0, StrOptions.size() - 1));
    return VecEnvironment;
}

// RunCommand with the child's peak resident memory. In the child the command is ended after a
// minute should it hang, and in a plain build its address space is limited to 1 GiB.
TRun RunMeasured(const std::vector<std::string>& VecOperands) {
    const std::vector<std::string> VecEnvironment = ChildEnvironment();
    return RunCommand(
        VecOperands,
        [] {
            alarm(60);
            if (!BlnSanitized) {
                const struct rlimit Limit { rlim_t{1} << 30, rlim_t{1} << 30 };
                setrlimit(RLIMIT_AS, &Limit);
            }
        },
        &VecEnvironment);
}

constexpr long MaxRssKb = 256 * 1024;

const std::string StrEndOfFile =
    "Unexpected end of file found in TARCGISFileTools::LoadARCGISFile\n";

std::string Header(const std::string& StrCols, const std::string& StrRows) {
    return "ncols " + StrCols + "\nnrows " + StrRows +
           "\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value -9999\n";
}

const std::string StrSmall = Header("2", "2") + "1 2\n3 4\n";

// A grid whose written form is some 40 kB.
std::string LargeGrid() {
    std::string StrText = Header("100", "100");
    for (int IntI = 0; IntI < 10000; ++IntI)
        StrText += "1.5 ";
    return StrText + "\n";
}

using VeilgridFault = TCommandTest;

TEST_F(VeilgridFault, LyingHeaderFailsAtTheEndOfItsValuesWithoutTakingTheClaimedMemory) {
    // Claims of 32 EB and of 12.8 GB (less than some machines hold), ten values present.
    const std::string StrValues = "1 2 3 4 5 6 7 8 9 10\n";
    WriteFile(Path("huge.asc"), Header("2000000000", "2000000000") + StrValues);
    WriteFile(Path("large.asc"), Header("40000", "40000") + StrValues);
    WriteFile(Path("small.asc"), StrSmall);
    for (const char* PtrName : {"huge.asc", "large.asc"}) {
        SCOPED_TRACE(PtrName);
        for (const bool BlnAsMask : {true, false}) {
            const std::string StrMask = BlnAsMask ? Path(PtrName) : Path("small.asc");
            const std::string StrSource = BlnAsMask ? Path("small.asc") : Path(PtrName);
            const TRun Measured = RunMeasured({StrMask, "1", "0", StrSource, Path("out.asc")});
            EXPECT_EQ(Measured.StrOutput, StrEndOfFile);
            EXPECT_EQ(Measured.IntStatus, 1);
            EXPECT_LT(Measured.LngMaxRssKb, MaxRssKb);
        }
    }
    EXPECT_EQ(Files(), (std::vector<std::string>{"huge.asc", "large.asc", "small.asc"}));
}

TEST_F(VeilgridFault, LyingHeaderThroughAPipe) {
    // A pipe tells nothing of its length: the memory must follow the values as they come. The
    // claim (80 GB of cells) is beyond the machine, but its rows and columns are few enough for
    // the command to work out their edges at once: through a pipe it cannot know the claim false
    // before the values end, and edges of two billion rows take seconds.
    const std::string StrFifo = Path("grid.pipe");
    ASSERT_EQ(mkfifo(StrFifo.c_str(), 0600), 0);
    WriteFile(Path("small.asc"), StrSmall);
    const auto PtrOldPipe = std::signal(SIGPIPE, SIG_IGN);
    const std::string StrText = Header("100000", "100000") + "1 2 3 4 5 6 7 8 9 10\n";
    std::thread Writer([&StrFifo, &StrText] {
        const int IntFd = open(StrFifo.c_str(), O_WRONLY);
        if (IntFd < 0)
            return;
        [[maybe_unused]] const ssize_t LngWritten = write(IntFd, StrText.data(), StrText.size());
        close(IntFd);
    });
    const TRun Measured = RunMeasured({StrFifo, "1", "0", Path("small.asc"), Path("out.asc")});
    // Should the command not have opened the pipe, the writer is released here.
    const int IntRelease = open(StrFifo.c_str(), O_RDONLY | O_NONBLOCK);
    Writer.join();
    if (IntRelease >= 0)
        close(IntRelease);
    std::signal(SIGPIPE, PtrOldPipe);
    EXPECT_EQ(Measured.StrOutput, StrEndOfFile);
    EXPECT_EQ(Measured.IntStatus, 1);
    EXPECT_LT(Measured.LngMaxRssKb, MaxRssKb);
}

TEST_F(VeilgridFault, FullDiskLeavesNoTemporaryFileAndTheOldOutputUnchanged) {
    WriteFile(Path("large.asc"), LargeGrid());
    const auto FncFullDisk = [] {
        signal(SIGXFSZ, SIG_IGN);
        const struct rlimit Limit { 4096, 4096 };
        setrlimit(RLIMIT_FSIZE, &Limit);
    };
    // A new output, then one that exists.
    for (const bool BlnExisting : {false, true}) {
        SCOPED_TRACE(BlnExisting ? "existing output" : "new output");
        const std::string StrOut = Path("out.asc");
        const std::string StrOld = "ncols 0\nnrows 0\nxllcorner 1\nyllcorner 2\ncellsize 3\n";
        if (BlnExisting)
            WriteFile(StrOut, StrOld);
        const TRun Run =
            RunCommand({Path("large.asc"), "1.5", "2", Path("large.asc"), StrOut}, FncFullDisk);
        EXPECT_EQ(Run.StrOutput, "Unable to write file " + StrOut + "\n");
        EXPECT_EQ(Run.IntStatus, 1);
        if (BlnExisting) {
            EXPECT_EQ(ReadFile(StrOut), StrOld);
            EXPECT_EQ(Files(), (std::vector<std::string>{"large.asc", "out.asc"}));
        } else {
            EXPECT_EQ(Files(), std::vector<std::string>{"large.asc"});
        }
    }
    // Without the limit the same run succeeds, so the limit was what failed it.
    const TRun Run =
        RunCommand({Path("large.asc"), "1.5", "2", Path("large.asc"), Path("out.asc")});
    EXPECT_EQ(Run.IntStatus, 0);
    EXPECT_GT(ReadFile(Path("out.asc")).size(), 4096u);
}

TEST_F(VeilgridFault, FolderWithoutWritePermission) {
    // The superuser may write anywhere: the command then runs as the user nobody, who may read
    // the inputs but not write into the locked folder.
    const bool BlnRoot = geteuid() == 0;
    ASSERT_EQ(chmod(MbrPthDir.c_str(), 0755), 0);
    WriteFile(Path("small.asc"), StrSmall);
    fs::create_directory(Path("locked"));
    const std::string StrExisting = Path("locked/old.asc");
    WriteFile(StrExisting, "old\n");
    ASSERT_EQ(chmod(StrExisting.c_str(), 0666), 0);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);
    const auto FncAsUser = [BlnRoot] {
        if (BlnRoot && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(126);
    };
    // A new file cannot be made there; an existing file, though writable itself, cannot be
    // replaced safely, and is not written in place either.
    for (const std::string& StrOut : {Path("locked/new.asc"), StrExisting}) {
        SCOPED_TRACE(StrOut);
        const TRun Run =
            RunCommand({Path("small.asc"), "1", "0", Path("small.asc"), StrOut}, FncAsUser);
        if (Run.IntStatus == 126)
            GTEST_SKIP() << "cannot run the command as the user nobody";
        EXPECT_EQ(Run.StrOutput, "Unable to open file " + StrOut + "\n");
        EXPECT_EQ(Run.IntStatus, 1);
    }
    EXPECT_EQ(ReadFile(StrExisting), "old\n");
    std::vector<std::string> VecLocked;
    for (const auto& Entry : fs::directory_iterator(Path("locked")))
        VecLocked.push_back(Entry.path().filename().string());
    EXPECT_EQ(VecLocked, std::vector<std::string>{"old.asc"});
    chmod(Path("locked").c_str(), 0755);
}

TEST_F(VeilgridFault, InputsThatAreFoldersOrDevices) {
    WriteFile(Path("small.asc"), StrSmall);
    const std::string StrSmallPath = Path("small.asc");
    const std::string StrOut = Path("out.asc");
    struct TCase {
        const char* PtrName;
        std::string StrMask;
        std::string StrSource;
        std::string StrExpected;
    };
    const TCase Cases[] = {
        {"mask is a folder", MbrPthDir.string(), StrSmallPath,
         "Unable to open file " + MbrPthDir.string() + "\n"},
        {"source is a folder", StrSmallPath, MbrPthDir.string(),
         "Unable to open file " + MbrPthDir.string() + "\n"},
        {"empty device", "/dev/null", StrSmallPath,
         "File format error: expected to find ncols tag\n"},
        {"endless zeros", "/dev/zero", StrSmallPath,
         "File format error: expected to find ncols tag\n"},
        {"endless zeros as source", StrSmallPath, "/dev/zero",
         "File format error: expected to find ncols tag\n"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.PtrName);
        const TRun Measured = RunMeasured({Case.StrMask, "1", "0", Case.StrSource, StrOut});
        EXPECT_EQ(Measured.StrOutput, Case.StrExpected);
        EXPECT_EQ(Measured.IntStatus, 1);
        EXPECT_LT(Measured.LngMaxRssKb, MaxRssKb);
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"small.asc"});

    // A device as output is written in place.
    const TRun Run = RunCommand({StrSmallPath, "1", "0", StrSmallPath, "/dev/null"});
    EXPECT_EQ(Run.StrOutput, "");
    EXPECT_EQ(Run.IntStatus, 0);
    EXPECT_EQ(Files(), std::vector<std::string>{"small.asc"});
}

} // namespace
