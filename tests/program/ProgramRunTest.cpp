// Starts the real program, headless, the way a player would, and watches it from outside.

#include "foundation/math/Random.h"
#include "platform/settings/FileStore.h"
#include "support/TempFolder.h"
#include "support/XvfbDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

const std::string kProgram = ZENTRIX_BINARY_DIR "/zentrix";
const std::string kDataTool = ZENTRIX_BINARY_DIR "/mkdata";
const std::string kDataSources = ZENTRIX_SOURCE_DIR "/data/sample";

/// An environment variable the run sets (a null value unsets it).
struct EnvSetting {
    const char* name;
    const char* value;
};

/// One run of the game in `folder`, with its settings in `config` and its standard error in `errors`;
/// headless unless `environment` says otherwise.
pid_t Start(const std::filesystem::path& folder, const std::filesystem::path& config,
            const std::filesystem::path& errors, const std::vector<EnvSetting>& environment = {}) {
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
        for (const EnvSetting& setting : environment)
            setting.value ? setenv(setting.name, setting.value, 1) : unsetenv(setting.name);
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

TEST(ProgramRun, ATerminationSignalEndsTheGamePromptlyAndCleanly) {
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        testsupport::TempFolder folder;
        testsupport::TempFolder config;
        PrepareSampleSet(folder);
        pid_t game = Start(folder.Path(), config.Path(), folder / "first.err");
        ASSERT_GT(game, 0);
        std::this_thread::sleep_for(2s);
        ASSERT_TRUE(IsRunning(game)) << testsupport::ReadTextFile(folder / "first.err");

        // A second copy finds the first running, says so and ends at once, leaving it alone.
        pid_t second = Start(folder.Path(), config.Path(), folder / "second.err");
        EXPECT_EQ(WaitFor(second, 30s), 0);
        EXPECT_NE(testsupport::ReadTextFile(folder / "second.err").find("the game is already running"),
                  std::string::npos);
        EXPECT_TRUE(IsRunning(game));

        // The frame loop ends and the normal stop follows: no exit pictures, nothing left behind.
        kill(game, signal);
        EXPECT_EQ(WaitFor(game, 10s), 0);
        std::string errors = testsupport::ReadTextFile(folder / "first.err");
        EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
        EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
        EXPECT_EQ(errors.find(" : Block "), std::string::npos) << errors;
        for (const auto& entry : std::filesystem::directory_iterator(config.Path()))
            EXPECT_NE(entry.path().extension(), ".tmp") << "a half-written " << entry.path();
    }
}

TEST(ProgramRun, ATerminationSignalDuringTheStartEndsItToo) {
    for (auto wait : {0ms, 300ms, 1000ms}) {
        SCOPED_TRACE(wait.count());
        testsupport::TempFolder folder;
        testsupport::TempFolder config;
        PrepareSampleSet(folder);
        pid_t game = Start(folder.Path(), config.Path(), folder / "run.err");
        ASSERT_GT(game, 0);
        std::this_thread::sleep_for(wait);
        kill(game, SIGTERM);
        // At once (killed by the signal) before the window exists, else through the stop.
        const int status = WaitFor(game, 10s);
        EXPECT_TRUE(status == 0 || status == -2) << status;
    }
}

/// Flips the bits of `count` bytes of a file from `from` on.
void Damage(const std::filesystem::path& file, std::size_t from, std::size_t count) {
    std::string bytes = testsupport::ReadTextFile(file);
    for (std::size_t i = from; i < std::min(bytes.size(), from + count); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    testsupport::WriteTextFile(file, bytes);
}

TEST(ProgramRun, AStartThatCannotGoOnSaysWhichFileAndWhyAndFails) {
    struct Case {
        const char* name;
        std::function<void(const testsupport::TempFolder& data, const testsupport::TempFolder& config)>
            damage;
        std::vector<EnvSetting> environment;
        std::vector<std::string> told; // what standard error must hold
    };
    const Case cases[] = {
        {"a damaged library index",
         [](const auto& data, const auto&) { Damage(data / "Libraries" / "Game0001.RFH", 0, 8); },
         {},
         {"The game's data cannot be used:", "/Libraries/Game0001.RFH: index record",
          "Data/Dictionary.dat (the data dictionary, asset 1)"}},
        // The index names bytes beyond the end of its data: found as the library opens.
        {"a library cut to half its length",
         [](const auto& data, const auto&) {
             const std::filesystem::path file = data / "Libraries" / "Game0001.RFD";
             std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2);
         },
         {},
         {"The game's data cannot be used:", "/Libraries/Game0001.RFD: the library's data is cut short"}},
        {"damaged screen layouts",
         [](const auto& data, const auto&) { Damage(data / "Libraries" / "Common0001.RFD", 0, 30000); },
         {},
         {"/Libraries/Common0001.RFD: ",
          "Panels/Main.dat (the layout of a screen, asset 34600): it is damaged"}},
        {"no window",
         [](const auto&, const auto&) {},
         {{"SDL_VIDEODRIVER", "bogus"}},
         {"The game's window could not be opened: SDL cannot start its video: bogus not available"}},
        {"no display",
         [](const auto&, const auto&) {},
         {{"SDL_VIDEODRIVER", nullptr}, {"DISPLAY", nullptr}, {"WAYLAND_DISPLAY", nullptr}},
         {"The game's window could not be opened: no display was found"}},
        // The settings folder would lie below a file.
        {"no settings folder",
         [](const auto&, const auto&) {},
         {{"ZENTRIX_CONFIG_DIR", "VORN.rtb/settings"}},
         {"The game cannot start: VORN.rtb/settings: the settings folder cannot be made"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Without SDL_VIDEODRIVER a machine with a display would be used.
        if (std::string(c.name) == "no display" && std::filesystem::exists("/dev/dri"))
            continue;
        testsupport::TempFolder folder;
        testsupport::TempFolder config;
        PrepareSampleSet(folder);
        c.damage(folder, config);
        pid_t game = Start(folder.Path(), config.Path(), config / "run.err", c.environment);
        ASSERT_GT(game, 0);
        EXPECT_EQ(WaitFor(game, 60s), 2);
        const std::string errors = testsupport::ReadTextFile(config / "run.err");
        for (const std::string& line : c.told)
            EXPECT_NE(errors.find(line), std::string::npos) << line << "\n" << errors;
        EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
    }
}

TEST(ProgramRun, AnUnreadableSettingsFileIsKeptAsideAndTheGamePlaysOn) {
    testsupport::TempFolder folder;
    testsupport::TempFolder config;
    PrepareSampleSet(folder);
    zentrix::Random::Seed(400);
    std::string garbage(400, '\0');
    for (char& c : garbage)
        c = static_cast<char>(zentrix::Random::Next() & 0xFF);
    testsupport::WriteTextFile(config / "settings.txt", "Garbage follows=1\n" + garbage);
    testsupport::WriteTextFile(config / "settings.txt.refused", "an older one");

    pid_t game = Start(folder.Path(), config.Path(), folder / "run.err");
    ASSERT_GT(game, 0);
    std::this_thread::sleep_for(3s);
    ASSERT_TRUE(IsRunning(game)) << testsupport::ReadTextFile(folder / "run.err");
    kill(game, SIGTERM);
    EXPECT_EQ(WaitFor(game, 10s), 0);

    const std::string errors = testsupport::ReadTextFile(folder / "run.err");
    EXPECT_NE(
        errors.find("lines cannot be read; it is kept as " + config.Native() + "/settings.txt.refused.2"),
        std::string::npos)
        << errors;
    EXPECT_EQ(testsupport::ReadTextFile(config / "settings.txt.refused.2"), "Garbage follows=1\n" + garbage);
    EXPECT_EQ(testsupport::ReadTextFile(config / "settings.txt.refused"), "an older one");
    // The new file holds what could be read and what the game set, and is read whole next time.
    plat::settings::FileStore reopened(config / "settings.txt");
    std::string kept;
    EXPECT_TRUE(reopened.Get("Garbage follows", kept));
    EXPECT_EQ(kept, "1");
    EXPECT_EQ(reopened.KeptAside(), std::filesystem::path());
}

/// The game's window once the game runs (its splash, of the same name, gone); 0 while it does not.
unsigned long RunningGameWindow(const testsupport::XvfbDisplay& x) {
    unsigned long game = 0;
    for (const auto& window : x.TopWindows()) {
        if (window.name != "KAVO Zentrix")
            continue;
        if (window.width != 640)
            return 0;
        game = window.id;
    }
    return game;
}

TEST(ProgramRun, ADisplayFailingUnderTheGameEndsItAsAFault) {
    testsupport::XvfbDisplay x;
    if (!x.IsRunning())
        GTEST_SKIP() << "no Xvfb";
    struct Case {
        const char* name;
        void (testsupport::XvfbDisplay::*act)(unsigned long) const;
        std::string told;
    };
    const Case cases[] = {
        {"its window destroyed by another program", &testsupport::XvfbDisplay::DestroyWindow,
         "fatal error: the display " + x.Name() + " refused a request of the game's window: "},
        {"its connection ended by another program", &testsupport::XvfbDisplay::KillClientOf,
         "fatal error: the connection to the display " + x.Name() + " was lost"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempFolder folder;
        testsupport::TempFolder config;
        PrepareSampleSet(folder);
        pid_t game = Start(folder.Path(), config.Path(), folder / "run.err",
                           {{"SDL_VIDEODRIVER", nullptr}, {"DISPLAY", x.Name().c_str()}});
        ASSERT_GT(game, 0);
        unsigned long window = 0;
        for (int tries = 0; tries < 600 && !window && IsRunning(game); ++tries) {
            std::this_thread::sleep_for(100ms);
            window = RunningGameWindow(x);
        }
        ASSERT_NE(window, 0u) << testsupport::ReadTextFile(folder / "run.err");
        std::this_thread::sleep_for(1s);
        (x.*c.act)(window);

        EXPECT_EQ(WaitFor(game, 30s), 3);
        const std::string errors = testsupport::ReadTextFile(folder / "run.err");
        EXPECT_NE(errors.find(c.told), std::string::npos) << errors;
        // Said in the log of the folder the game runs from as well.
        const std::string log = testsupport::ReadTextFile(folder / "ombrel.log");
        EXPECT_NE(log.find("LOG: (FatalError) " + c.told), std::string::npos) << log;
    }
}

TEST(ProgramRun, WithoutTheResourceTableTheGameSaysSoAndEnds) {
    testsupport::TempFolder folder;
    testsupport::TempFolder config;
    pid_t game = Start(folder.Path(), config.Path(), config / "run.err");
    ASSERT_GT(game, 0);
    EXPECT_EQ(WaitFor(game, 30s), 2) << "a failed start";
    std::string errors = testsupport::ReadTextFile(config / "run.err");
    EXPECT_NE(errors.find("Resource file missing!"), std::string::npos) << errors;
    EXPECT_NE(errors.find(folder.Native() + "/VORN.rtb: the resource table is missing"), std::string::npos)
        << errors;
    EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
}

} // namespace
