#include "foundation/base/Messages.h"
#include "platform/system/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

struct Sent {
    int code;
    std::string text;
};
std::vector<Sent> g_sent;

void RecordError(int code, const char* text) {
    g_sent.push_back({code, text});
}
void RecordText(const char* text) {
    g_sent.push_back({0, text});
}

class Messages : public testing::Test {
protected:
    void SetUp() override {
        g_sent.clear();
        SetErrorHandler(RecordError);
        debugWasOn_ = plat::system::IsDebugOutputEnabled();
        plat::system::SetDebugOutputEnabled(true);
    }
    void TearDown() override {
        plat::system::SetDebugOutputEnabled(debugWasOn_);
        SetErrorHandler(nullptr);
        SetTraceHandler(nullptr);
        SetWarningHandler(nullptr);
    }

private:
    bool debugWasOn_ = false;
};

TEST_F(Messages, ReplacedErrorHandlerReceivesCodeAndTextAndReturns) {
    const std::string name10 = "engine.cpp";
    const std::string name60(60, 'f');
    struct Case {
        const char* what;
        std::function<void()> send;
        int code;
        std::string text;
    };
    const Case cases[] = {
        {"report error", [] { ReportError("file not found:%s", "Data\\x.rfh"); }, 513,
         "file not found:Data\\x.rfh"},
        {"report message", [] { ReportMessage(77, "%d-%s", 5, "z"); }, 77, "5-z"},
        {"short file name is padded", [&] { AssertionFailed(name10.c_str(), 12); }, 512,
         "Assertion Failed: " + std::string(38, ' ') + name10 + "(12)\n"},
        {"long file name is printed whole", [&] { AssertionFailed(name60.c_str(), 3); }, 512,
         "Assertion Failed: " + name60 + "(3)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_sent.clear();
        testing::internal::CaptureStderr(); // assertions also write a line to the debugger output
        c.send();                           // returns: the replaced handler does not end the program
        testing::internal::GetCapturedStderr();
        ASSERT_EQ(g_sent.size(), 1u);
        EXPECT_EQ(g_sent[0].code, c.code);
        EXPECT_EQ(g_sent[0].text, c.text);
    }
}

TEST_F(Messages, AssertionAlsoGoesToTheDebuggerOutput) {
    testing::internal::CaptureStderr();
    AssertionFailed("race.cpp", 99);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "race.cpp(99) : ASSERTION FAILED\n");
}

TEST_F(Messages, LongMessagesAreCutNotOverrun) {
    const std::string path(3 * kMessageCapacity, 'p');
    ReportError("path not found:%s", path.c_str());
    ASSERT_EQ(g_sent.size(), 1u);
    EXPECT_EQ(g_sent[0].text.size(), static_cast<std::size_t>(kMessageCapacity - 1));
    EXPECT_EQ(g_sent[0].text.substr(0, 16), "path not found:p");
}

TEST_F(Messages, TracesReachTheTraceHandlerAndWarningsNobody) {
    SetTraceHandler(RecordText);
    SetWarningHandler(RecordText);
    TraceAt("lap done", "laps.cpp", 8);
    WarningMessage("never %d", 1);
    TraceMessage("never %d", 2);
    ASSERT_EQ(g_sent.size(), 1u);
    EXPECT_EQ(g_sent[0].text, "laps.cpp(8) : TRACE lap done\n");

    // A null handler puts the default back: traces go to the debugger output, when it is on.
    SetTraceHandler(nullptr);
    testing::internal::CaptureStderr();
    TraceAt("again", "x.cpp", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "x.cpp(1) : TRACE again\n");
    plat::system::SetDebugOutputEnabled(false);
    testing::internal::CaptureStderr();
    TraceAt("unseen", "x.cpp", 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(g_sent.size(), 1u);
}

TEST(MessagesDeathTest, DefaultErrorHandlerEndsTheProgram) {
    // A fresh process, so the default handler is still in place whatever other tests replaced.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ReportError("cannot open %s", "VORN.rtb"), "ERROR: cannot open VORN.rtb");
    EXPECT_DEATH(AssertionFailed("world.cpp", 5), "Assertion Failed: +world.cpp\\(5\\)");
}

} // namespace
