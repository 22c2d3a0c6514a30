#include "AppDoubles.h"

#include "app/EntrySystem.h"
#include "app/ProgramEntry.h"
#include "engine/EngineLog.h"
#include "engine/Mesh.h"
#include "foundation/base/FatalError.h"

#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>

using namespace zentrix;

namespace {

using plat::system::Buttons;
using plat::system::InstanceLock;
using plat::system::RuntimeVersion;

RuntimeVersion Version(unsigned major, unsigned minor, unsigned revision = 0, int result = 1) {
    RuntimeVersion v;
    v.libraryFound = true;
    v.functionFound = true;
    v.result = result;
    v.version = (major << 16) | minor;
    v.revision = revision;
    return v;
}

// The system as the entry sees it, scripted; the application it makes records into `log`.
class EntryDouble : public IEntrySystem {
public:
    InstanceLock::Result TakeInstanceLock(std::string& problem) override {
        problem = lock == InstanceLock::Result::Owned ? "" : "/cfg/instance.lock is what it is";
        return lock;
    }
    void Tell(std::string_view text) override { told.emplace_back(text); }
    RuntimeVersion QueryRuntimeVersion() override { return version; }
    int ShowMessageBox(std::string_view caption, std::string_view text, Buttons) override {
        boxes.push_back(std::string(caption) + " | " + std::string(text));
        return answer;
    }
    void Relaunch(const std::vector<std::string>& args) override { relaunches.push_back(args); }
    std::unique_ptr<CAppParts> CreateAppParts() override {
        ++appsMade;
        auto parts = std::make_unique<appdoubles::Parts>(log, script, store, clock);
        // One frame, then the run ends as the script says.
        script.onHelpUpdate = [this] {
            if (restartAfterFrame)
                g_pApp->RequestRestart();
            else
                g_pApp->RequestQuit();
        };
        return parts;
    }

    InstanceLock::Result lock = InstanceLock::Result::Owned;
    RuntimeVersion version = Version(4, 7);
    int answer = plat::system::kAnswerYes;
    bool restartAfterFrame = false;
    std::vector<std::string> boxes;
    std::vector<std::string> told;
    std::vector<std::vector<std::string>> relaunches;
    int appsMade = 0;
    appdoubles::Log log;
    appdoubles::Script script;
    plat::settings::MemoryStore* store = nullptr;
    plat::clock::FakeClock* clock = nullptr;
};

TEST(ProgramEntry, WithoutTheLockTheStartEndsAndSaysWhy) {
    // A running copy is no failure: a line on standard error, and status 0. A lock that cannot be taken
    // at all is: a box naming the file, and a failed status.
    EntryDouble running;
    running.lock = InstanceLock::Result::AlreadyExists;
    EXPECT_EQ(RunGame({"RESTART"}, running), 0);
    EXPECT_EQ(running.told,
              (std::vector<std::string>{"the game is already running (/cfg/instance.lock is what it is)"}));
    EXPECT_TRUE(running.boxes.empty());

    EntryDouble failed;
    failed.lock = InstanceLock::Result::Failed;
    EXPECT_EQ(RunGame({}, failed), kExitStartFailed);
    EXPECT_EQ(failed.boxes, (std::vector<std::string>{
                                "KAVO Zentrix | The game cannot start: /cfg/instance.lock is what it is."}));
    for (const EntryDouble* system : {&running, &failed})
        EXPECT_EQ(system->appsMade, 0);
}

TEST(ProgramEntry, AFailedStartSaysWhyAndEndsWithAFailedStatus) {
    EntryDouble system;
    system.script.deviceResults = {false, false};
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunGame({}, system), kExitStartFailed);
    EXPECT_NE(
        testing::internal::GetCapturedStderr().find("KAVO Zentrix: The game's display could not be started"),
        std::string::npos);
    EXPECT_EQ(system.appsMade, 1);
    EXPECT_TRUE(system.relaunches.empty());
    EXPECT_EQ(g_pApp, nullptr);
}

TEST(ProgramEntry, ANormalRunStartsRunsAndStopsTheApplication) {
    EntryDouble system;
    EXPECT_EQ(RunGame({"/FREEFORM"}, system), 0);
    EXPECT_EQ(system.appsMade, 1);
    EXPECT_TRUE(system.relaunches.empty());
    EXPECT_EQ(g_pApp, nullptr);
    // The stop, then the destructor's second stop.
    appdoubles::Log tail(system.log.end() - 4, system.log.end());
    EXPECT_EQ(tail, (appdoubles::Log{"delete parser", "free particles", "free keywords", "destroy worlds"}));
}

TEST(ProgramEntry, ARestartRequestRelaunchesWithOneMoreRestartWord) {
    EntryDouble system;
    system.restartAfterFrame = true;
    // The relaunch of the double returns, as a failed exec does: the entry then ends with 1.
    EXPECT_EQ(RunGame({"a b", "RESTART"}, system), 1);
    ASSERT_EQ(system.relaunches.size(), 1u);
    EXPECT_EQ(system.relaunches[0], (std::vector<std::string>{"a b", "RESTART", "RESTART"}));
}

TEST(ProgramEntry, TheCommandLineHasABlankBeforeEveryArgument) {
    EXPECT_EQ(BuildCommandLine({}), "");
    EXPECT_EQ(BuildCommandLine({"RESTART"}), " RESTART");
    EXPECT_EQ(BuildCommandLine({"/FREEFORM", "x y"}), " /FREEFORM x y");
}

TEST(ProgramEntry, TheRuntimeCheckPassesOnlyItsOwnVersion) {
    RuntimeVersion missingLibrary;
    RuntimeVersion missingFunction;
    missingFunction.libraryFound = true;
    missingFunction.version = (4u << 16) | 7u;
    struct Case {
        const char* name;
        RuntimeVersion version;
        int answer;
        int result;
        const char* box; // "" when none is shown
    };
    const char* question = "\nThere might be problems, but shouldn't be.\nDo you still want to continue?";
    const Case cases[] = {
        {"4.07 passes silently", Version(4, 7), plat::system::kAnswerNo, 0, ""},
        {"4.08 asks, yes", Version(4, 8, 0x00020003), plat::system::kAnswerYes, 0,
         "Required DX version = 4.07 | Your current DX version = 4.08.02.0003"},
        {"4.08 asks, no", Version(4, 8), plat::system::kAnswerNo, 1,
         "Required DX version = 4.07 | Your current DX version = 4.08.00.0000"},
        {"a failed query asks", Version(4, 7, 0, 0x10000), plat::system::kAnswerNo, 1,
         "Required DX version = 4.07 | Your current DX version = 4.07.00.0000"},
        {"no version function asks with zeros", missingFunction, plat::system::kAnswerOk, 1,
         "Required DX version = 4.07 | Your current DX version = 0.00.00.0000"},
        {"no library", missingLibrary, plat::system::kAnswerYes, 1,
         "Invalid Machine Configuration | Missing or Invalid DSetup.DLL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EntryDouble system;
        system.version = c.version;
        system.answer = c.answer;
        EXPECT_EQ(CheckDirectXVersion(system), c.result);
        if (*c.box == '\0') {
            EXPECT_TRUE(system.boxes.empty());
            continue;
        }
        ASSERT_EQ(system.boxes.size(), 1u);
        std::string expected = c.box;
        if (c.version.libraryFound)
            expected += question;
        EXPECT_EQ(system.boxes[0], expected);
        // A refused check ends the program before the application exists.
        if (c.result != 0) {
            system.boxes.clear();
            EXPECT_EQ(RunGame({}, system), 0);
            EXPECT_EQ(system.appsMade, 0);
        }
    }
}

TEST(ProgramEntryDeathTest, AFatalErrorEndsWithStatusThreeAndSaysWhyAndWhichFile) {
    EXPECT_EXIT(FatalError("cannot load %s", "wheel.kmb"), testing::ExitedWithCode(3),
                "fatal error: cannot load wheel.kmb");

    // A damaged mesh file ends the game through the engine's reader: standard error and the engine's log
    // (which the application sets up) name the file as the system writes its path.
    testsupport::TempFolder folder;
    folder.Write("bad.kmb", std::string("\2\0\0\0", 4));
    const std::string file = folder.Game("bad.kmb");
    EXPECT_EXIT(
        {
            SetEngineLogFile(folder.Game("ombrel.log"));
            appdoubles::TestApp t;
            CMesh mesh;
            mesh.LoadKMB(file.c_str());
        },
        testing::ExitedWithCode(3),
        "fatal error: invalid header \\(reading " + folder.Native() + "/bad.kmb\\)");
    EXPECT_EQ(folder.Read("ombrel.log"),
              "LOG: (FatalError) fatal error: invalid header (reading " + folder.Native() + "/bad.kmb)\n");

    // An exception nothing catches ends the same way, with its text.
    EXPECT_EXIT(
        {
            InstallFatalTerminateHandler();
            try {
                throw std::runtime_error("CreateSurface failure");
            } catch (...) {
                std::terminate();
            }
        },
        testing::ExitedWithCode(3), "fatal error: CreateSurface failure");
}

} // namespace
