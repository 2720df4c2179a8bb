#ifndef VEILGRID_TESTS_APP_COMMANDSUPPORT_H
#define VEILGRID_TESTS_APP_COMMANDSUPPORT_H

// Runs the built veilgrid executable in a child process, and a fixture with a private work folder.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

struct TRun {
    int IntStatus;
    std::string StrOutput;
    // Peak resident memory of the child, in KiB.
    long LngMaxRssKb = 0;
};

// Runs the command with the operands and collects its standard output, exit status and peak
// memory. Standard error goes into the same pipe, so anything the command prints there shows in
// the output too. FncInChild, when given, runs in the child before the command starts (limits,
// signals); PtrEnvironment, when given, replaces the environment. Everything the child needs is
// prepared before the fork.
inline TRun RunCommand(const std::vector<std::string>& VecOperands,
                       const std::function<void()>& FncInChild = {},
                       const std::vector<std::string>* PtrEnvironment = nullptr) {
    std::vector<char*> VecArgs;
    VecArgs.push_back(const_cast<char*>(VEILGRID_EXE));
    for (const auto& StrOperand : VecOperands)
        VecArgs.push_back(const_cast<char*>(StrOperand.c_str()));
    VecArgs.push_back(nullptr);
    std::vector<char*> VecEnv;
    if (PtrEnvironment != nullptr) {
        for (const auto& StrEntry : *PtrEnvironment)
            VecEnv.push_back(const_cast<char*>(StrEntry.c_str()));
        VecEnv.push_back(nullptr);
    }
    int IntPipe[2];
    if (pipe(IntPipe) != 0)
        return {-1, "pipe failed"};
    const pid_t IntPid = fork();
    if (IntPid == 0) {
        dup2(IntPipe[1], STDOUT_FILENO);
        dup2(IntPipe[1], STDERR_FILENO);
        close(IntPipe[0]);
        close(IntPipe[1]);
        if (FncInChild)
            FncInChild();
        if (PtrEnvironment != nullptr)
            execve(VEILGRID_EXE, VecArgs.data(), VecEnv.data());
        else
            execv(VEILGRID_EXE, VecArgs.data());
        _exit(127);
    }
    close(IntPipe[1]);
    std::string StrOutput;
    char ChrBuffer[4096];
    ssize_t LngRead = 0;
    while ((LngRead = read(IntPipe[0], ChrBuffer, sizeof ChrBuffer)) > 0)
        StrOutput.append(ChrBuffer, static_cast<size_t>(LngRead));
    close(IntPipe[0]);
    int IntWait = 0;
    struct rusage Usage {};
    wait4(IntPid, &IntWait, 0, &Usage);
    return {WIFEXITED(IntWait) ? WEXITSTATUS(IntWait) : 128 + WTERMSIG(IntWait), StrOutput,
            Usage.ru_maxrss};
}

inline std::string ReadFile(const fs::path& PthFile) {
    std::ifstream In(PthFile, std::ios::binary);
    std::ostringstream Out;
    Out << In.rdbuf();
    return Out.str();
}

inline void WriteFile(const fs::path& PthFile, const std::string& StrText) {
    std::ofstream Out(PthFile, std::ios::binary);
    Out << StrText;
}

// A test with a work folder of its own, removed afterwards.
class TCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char ChrTemplate[] = "/tmp/veilgrid-command-XXXXXX";
        ASSERT_NE(mkdtemp(ChrTemplate), nullptr);
        MbrPthDir = ChrTemplate;
    }
    void TearDown() override {
        std::error_code ErrIgnored;
        fs::remove_all(MbrPthDir, ErrIgnored);
    }
    std::string Path(const std::string& StrName) const { return (MbrPthDir / StrName).string(); }
    // Names of the files in the work folder, to see that nothing was left behind.
    std::vector<std::string> Files() const {
        std::vector<std::string> VecNames;
        for (const auto& Entry : fs::directory_iterator(MbrPthDir))
            VecNames.push_back(Entry.path().filename().string());
        std::sort(VecNames.begin(), VecNames.end());
        return VecNames;
    }

    fs::path MbrPthDir;
};

#endif
