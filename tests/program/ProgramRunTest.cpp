// Starts the real program, headless, the way a player would, and watches it from outside.

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

const std::string kProgram = ZENTRIX_BINARY_DIR "/zentrix";
const std::string kDataTool = ZENTRIX_BINARY_DIR "/mkdata";
const std::string kDataSources = ZENTRIX_SOURCE_DIR "/data/sample";

/// One run of the game in `folder`, with its settings in `config` and its standard error in `errors`.
pid_t Start(const std::filesystem::path& folder, const std::filesystem::path& config,
            const std::filesystem::path& errors) {
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(97);
        setenv("ZENTRIX_CONFIG_DIR", config.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The software renderer: the GL one leaks inside the system's driver libraries.
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
        int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0)
            dup2(fd, STDERR_FILENO);
        execl(kProgram.c_str(), kProgram.c_str(), static_cast<char*>(nullptr));
        _exit(98);
    }
    return pid;
}

/// The exit code once the process has ended within `limit`; -1 (and the process killed) when it did
/// not, -2 when it did not end normally.
int WaitFor(pid_t pid, std::chrono::seconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

bool IsRunning(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

/// A working folder holding the sample set (the resource table alone while the data tool is missing).
void PrepareSampleSet(const testsupport::TempFolder& folder) {
    if (std::filesystem::exists(kDataTool)) {
        std::string command = kDataTool + " " + kDataSources + " " + folder.Native();
        ASSERT_EQ(std::system(command.c_str()), 0);
    } else {
        folder.Write("VORN.rtb", "");
    }
}

TEST(ProgramRunSlow, ClosingTheWindowShowsTheExitPicturesThenEndsCleanly) {
    testsupport::TempFolder folder;
    testsupport::TempFolder config;
    PrepareSampleSet(folder);
    pid_t game = Start(folder.Path(), config.Path(), folder / "first.err");
    ASSERT_GT(game, 0);
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(IsRunning(game)) << testsupport::ReadTextFile(folder / "first.err");

    // A second copy finds the first running and ends at once, leaving it alone.
    pid_t second = Start(folder.Path(), config.Path(), folder / "second.err");
    EXPECT_EQ(WaitFor(second, 30s), 0);
    EXPECT_TRUE(IsRunning(game));

    // The offscreen window cannot be clicked: SDL turns the termination request into the same close.
    kill(game, SIGTERM);
    std::this_thread::sleep_for(2s);
    EXPECT_TRUE(IsRunning(game)) << "the exit pictures did not run";
    EXPECT_EQ(WaitFor(game, 120s), 0);
    std::string errors = testsupport::ReadTextFile(folder / "first.err");
    EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
    EXPECT_EQ(errors.find(" : Block "), std::string::npos) << errors;
}

TEST(ProgramRun, WithoutTheResourceTableTheGameSaysSoAndEnds) {
    testsupport::TempFolder folder;
    testsupport::TempFolder config;
    pid_t game = Start(folder.Path(), config.Path(), config / "run.err");
    ASSERT_GT(game, 0);
    EXPECT_EQ(WaitFor(game, 30s), 2) << "a failed start";
    std::string errors = testsupport::ReadTextFile(config / "run.err");
    EXPECT_NE(errors.find("Resource file missing!"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
}

} // namespace
