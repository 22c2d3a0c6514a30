#include "platform/system/InstanceLock.h"
#include "platform/system/MessageBox.h"
#include "platform/system/Relaunch.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define ZENTRIX_LEAK_CHECKER 1
#endif
#endif

namespace {

using plat::system::InstanceLock;

TEST(InstanceLock, ASecondHolderFindsTheLockTakenUntilItIsReleased) {
    testsupport::TempFolder dir;
    auto file = dir / "nested" / "instance.lock";
    InstanceLock first;
    InstanceLock second;
    ASSERT_EQ(first.Acquire(file), InstanceLock::Result::Owned);
    EXPECT_EQ(second.Acquire(file), InstanceLock::Result::AlreadyExists);
    EXPECT_FALSE(second.IsOwned());
    // The lock goes with an exec, so a relaunched game can take it again.
    EXPECT_TRUE(fcntl(first.Descriptor(), F_GETFD) & FD_CLOEXEC);
    first.Release();
    EXPECT_EQ(second.Acquire(file), InstanceLock::Result::Owned);
}

TEST(InstanceLock, AnotherProcessSeesTheLockAndItEndsWithItsHolder) {
    testsupport::TempFolder dir;
    auto file = dir / "instance.lock";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock held;
        char ok = held.Acquire(file) == InstanceLock::Result::Owned ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        usleep(300000);
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    InstanceLock mine;
    EXPECT_EQ(mine.Acquire(file), InstanceLock::Result::AlreadyExists);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(mine.Acquire(file), InstanceLock::Result::Owned);
    close(ready[0]);
    close(ready[1]);
}

TEST(InstanceLock, AChildProcessDoesNotKeepTheLock) {
    // A helper forked while the game holds the lock (SDL's message box is one) may outlive the game.
    testsupport::TempFolder dir;
    auto file = dir / "instance.lock";
    InstanceLock game;
    ASSERT_EQ(game.Acquire(file), InstanceLock::Result::Owned);
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    pid_t helper = fork();
    ASSERT_GE(helper, 0);
    if (helper == 0) {
        char c = 'r';
        (void)!write(ready[1], &c, 1);
        (void)!read(release[0], &c, 1);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    game.Release();
    InstanceLock next;
    EXPECT_EQ(next.Acquire(file), InstanceLock::Result::Owned) << next.Problem();
    (void)!write(release[1], "x", 1);
    waitpid(helper, nullptr, 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        close(fd);
}

TEST(InstanceLock, ALockThatCannotBeTakenSaysWhichFileAndWhy) {
    testsupport::TempFolder dir;
    testsupport::WriteTextFile(dir / "blocker", "x");
    InstanceLock lock;
    EXPECT_EQ(lock.Acquire(dir / "blocker" / "instance.lock"), InstanceLock::Result::Failed);
    EXPECT_NE(lock.Problem().find((dir / "blocker").string()), std::string::npos) << lock.Problem();
    EXPECT_EQ(lock.Acquire({}), InstanceLock::Result::Failed);
    EXPECT_NE(lock.Problem().find("HOME"), std::string::npos) << lock.Problem();
}

int RunChild(const std::function<void()>& body) {
    pid_t child = fork();
    if (child == 0) {
        body();
        _exit(99);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Relaunch, ExecReplacesTheProcessWithTheArgumentsGiven) {
    // The shell checks its argument and answers through its exit code.
    int code = RunChild([] {
        plat::system::ExecProgram("/bin/sh",
                                  {"-c", "test \"$1\" = \"a b RESTART\" && exit 7", "sh", "a b RESTART"});
    });
    EXPECT_EQ(code, 7);
}

TEST(Relaunch, TheGameStartsItsOwnExecutableAgain) {
    // This test program, started again with a filter that matches nothing, ends at once with success.
    int code = RunChild([] { plat::system::RelaunchSelf({"--gtest_filter=NoSuchTest.Anywhere"}); });
    EXPECT_EQ(code, 0);
}

TEST(Relaunch, AFailedExecReturnsFalse) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(plat::system::ExecProgram("/nonexistent/program", {"RESTART"}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/nonexistent/program"), std::string::npos);
}

#ifdef ZENTRIX_LEAK_CHECKER
/// Overwrites the stack below the caller, where a leaked pointer may linger and read as still held.
[[gnu::noinline]] void ClearStack() {
    volatile char bytes[8192];
    for (char& byte : const_cast<char(&)[8192]>(bytes))
        byte = 0;
}

/// In a child: makes `leak` leak, then whether the leak checker finds any leak (the child's exit code).
int LeaksFound(void (*leak)()) {
    pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stderr);
        leak();
        ClearStack();
        _exit(__lsan_do_recoverable_leak_check() != 0 ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

[[gnu::noinline]] void LeakOurOwn() {
    int* leaked = new int[16];
    __asm__ volatile("" : : "g"(leaked) : "memory"); // kept, then forgotten
}

[[gnu::noinline]] void LeakInsideDbus() {
    // A message the system's D-Bus library allocates and we never free.
    using NewCall = void* (*)(const char*, const char*, const char*, const char*);
    void* library = dlopen("libdbus-1.so.3", RTLD_NOW);
    auto newCall =
        library ? reinterpret_cast<NewCall>(dlsym(library, "dbus_message_new_method_call")) : nullptr;
    for (int i = 0; newCall && i < 3; ++i)
        newCall("org.example", "/org/example", "org.example.Thing", "Do");
}
#endif

TEST(LeakChecker, LeavesOutTheSystemLibrariesOnly) {
#ifdef ZENTRIX_LEAK_CHECKER
    EXPECT_EQ(LeaksFound([] {}), 0);
    EXPECT_EQ(LeaksFound(&LeakOurOwn), 1) << "a leak of our own still fails the run";
    if (!dlopen("libdbus-1.so.3", RTLD_NOW | RTLD_NOLOAD) && !dlopen("libdbus-1.so.3", RTLD_NOW))
        GTEST_SKIP() << "no D-Bus library";
    EXPECT_EQ(LeaksFound(&LeakInsideDbus), 0);
#else
    GTEST_SKIP() << "built without the leak checker";
#endif
}

TEST(MessageBox, WithoutADisplayTheTextGoesToTheConsoleAndTheDefaultAnswers) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(plat::system::AnswerOnConsole(out, "Invalid Machine Configuration",
                                            "Missing or Invalid DSetup.DLL", plat::system::Buttons::Ok),
              plat::system::kAnswerOk);
    EXPECT_EQ(plat::system::AnswerOnConsole(out, "Required DX version = 4.07", "Continue?",
                                            plat::system::Buttons::YesNo),
              plat::system::kAnswerYes);
    std::rewind(out);
    char line[200] = {};
    ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
    EXPECT_STREQ(line, "Invalid Machine Configuration: Missing or Invalid DSetup.DLL\n");
    std::fclose(out);
    // Headless, the real box takes the console path too.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(plat::system::ShowMessageBox("caption", "text", plat::system::Buttons::YesNo),
              plat::system::kAnswerYes);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "caption: text\n");
}

} // namespace
