#include "foundation/base/DiskFile.h"
#include "foundation/base/Memory.h"
#include "foundation/base/Messages.h"
#include "foundation/base/NamedFile.h"
#include "foundation/base/OpenFileList.h"
#include "foundation/base/Utility.h"
#include "foundation/base/Veltrin.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

std::vector<std::string> g_errors;
void RecordError(int code, const char* text) {
    EXPECT_EQ(code, kReportedErrorCode);
    g_errors.push_back(text);
}

class FileObjects : public testing::Test {
protected:
    void SetUp() override {
        g_errors.clear();
        SetErrorHandler(RecordError);
    }
    void TearDown() override {
        CloseAllFiles();
        SetErrorHandler(nullptr);
    }
    testsupport::TempFolder dir;
};

TEST_F(FileObjects, ClosedDiskFileDoesNothing) {
    CDiskFile file;
    char buffer[8] = "keep";
    EXPECT_TRUE(file.IsEOF());
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.GetLine(buffer, sizeof buffer), nullptr);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_FALSE(file.Open(dir.Game("missing.txt").c_str(), "r"));
    EXPECT_TRUE(g_errors.empty()); // the plain file object reports nothing
}

TEST_F(FileObjects, ReadLineCutsTheNewlineOfEitherLineEnd) {
    struct Case {
        const char* content;
        const char* mode;
        int capacity;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"abc\n", "r", 64, {"abc"}},
        {"abc\r\n", "r", 64, {"abc"}}, // a file written on Windows
        {"abc\r\n", "rt", 64, {"abc"}},
        {"abc\r\n", "rb", 64, {"abc\r"}}, // binary keeps every byte
        {"abc\r\ndef", "r", 64, {"abc", "def"}},
        {"abcdef\n", "r", 4, {"abc", "def", ""}}, // capacity - 1 characters per read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.content);
        dir.Write("ai.txt", c.content);
        CDiskFile file;
        ASSERT_TRUE(file.Open(dir.Game("AI.TXT").c_str(), c.mode));
        std::vector<std::string> lines;
        char buffer[64];
        while (file.ReadLine(buffer, c.capacity))
            lines.push_back(buffer);
        EXPECT_EQ(lines, c.lines);
        EXPECT_TRUE(file.IsEOF());
    }
}

TEST_F(FileObjects, DiskFileWritesAndScans) {
    CDiskFile out;
    ASSERT_TRUE(out.Open(dir.Game("Driver.tbl").c_str(), "wb"));
    EXPECT_EQ(out.Print("12 34\n"), 6);
    EXPECT_EQ(out.Write("xy", 2), 2u);
    EXPECT_EQ(out.Flush(), 0);
    out.Close();
    EXPECT_EQ(dir.Read("Driver.tbl"), "12 34\nxy");

    CDiskFile in;
    ASSERT_TRUE(in.Open(dir.Game("driver.TBL").c_str(), "r"));
    int a = 0, b = 0;
    EXPECT_EQ(in.Scan("%d %d", &a, &b), 2);
    EXPECT_EQ(a * 100 + b, 1234);
    EXPECT_EQ(in.Seek(-2, SEEK_END), 0);
    char two[3] = {};
    EXPECT_EQ(in.Read(two, 2), 2u);
    EXPECT_STREQ(two, "xy");
}

TEST_F(FileObjects, NamedFileReportsMisuseOfAClosedFile) {
    CNamedFile file;
    char buffer[4];
    struct Case {
        std::function<void()> call;
        const char* text;
    };
    const Case cases[] = {
        {[&] { EXPECT_EQ(file.Read(buffer, 4), 0u); }, "Cannot Read from closed file\n"},
        {[&] { EXPECT_EQ(file.Write(buffer, 4), 0u); }, "Cannot Write to closed file\n"},
        {[&] { EXPECT_EQ(file.GetLine(buffer, 4), nullptr); }, "Cannot Get from closed file\n"},
        {[&] { EXPECT_EQ(file.Seek(0, SEEK_SET), 0); }, "Cannot Seek on closed file\n"},
        {[&] { EXPECT_EQ(file.Flush(), 0); }, "Cannot Commit to closed file\n"},
        {[&] { EXPECT_EQ(file.GetSize(), 0); }, "Cannot GetSize closed file\n"},
        {[&] { EXPECT_EQ(file.Print("x"), 0); }, "Cannot Print to closed file\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_errors.clear();
        c.call();
        EXPECT_EQ(g_errors, std::vector<std::string>{c.text});
    }
}

TEST_F(FileObjects, NamedFileKeepsItsNameAndSize) {
    dir.Write("log.txt", "12345");
    CNamedFile file;
    const std::string name = dir.Game("LOG.txt");
    ASSERT_TRUE(file.Open(name.c_str(), "r"));
    EXPECT_EQ(file.GetName(), name);
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, 2), 2u);
    EXPECT_EQ(file.GetSize(), 5);
    EXPECT_EQ(file.Read(buffer, 8), 3u); // the size query left the position alone
    file.Close();
    EXPECT_EQ(file.GetName(), "");
    EXPECT_TRUE(g_errors.empty());
}

TEST_F(FileObjects, RegisteredFiles) {
    dir.Write("a", "a");
    EXPECT_EQ(OpenRegisteredFile(dir.Game("missing").c_str(), "r"), nullptr);
    CNamedFile* first = OpenRegisteredFile(dir.Game("a").c_str(), "r");
    CNamedFile* second = OpenRegisteredFile(dir.Game("b").c_str(), "w");
    CNamedFile* third = OpenRegisteredFile(dir.Game("c").c_str(), "w");
    ASSERT_TRUE(first && second && third);

    CloseRegisteredFile(second); // unlinks the middle one only
    EXPECT_TRUE(g_errors.empty());
    CloseRegisteredFile(second);
    EXPECT_EQ(g_errors, std::vector<std::string>{"Attemping to close a file pointer that does not exist!\n"});

    CNamedFile direct;
    ASSERT_TRUE(direct.Open(dir.Game("a").c_str(), "r"));
    g_errors.clear();
    CloseRegisteredFile(&direct);
    EXPECT_EQ(g_errors.size(), 1u);
    EXPECT_TRUE(direct.IsOpen()); // not registered, so left open

    // Shutdown closes what is still registered: first and third are gone from the list afterwards.
    SetMemoryTextHandler([](const char*) {}); // the leak report is not what this test looks at
    VeltrinStartup();
    VeltrinShutdown();
    SetMemoryTextHandler(nullptr);
    g_errors.clear();
    CloseRegisteredFile(first);
    CloseRegisteredFile(third);
    EXPECT_EQ(g_errors.size(), 2u);
}

TEST(Utility, StrDupAndCutAtNewline) {
    char* empty = StrDup("");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(malloc_usable_size(empty), 1u); // exact under the address sanitizer
    EXPECT_EQ(empty[0], '\0');
    std::free(empty);
    EXPECT_EQ(StrDup(nullptr), nullptr);

    struct Case {
        const char* in;
        const char* out;
    };
    for (const Case& c : {Case{"abc\n", "abc"}, Case{"abc", "abc"}, Case{"\nabc", ""}, Case{"a\nb\n", "a"},
                          Case{"a\r\n", "a\r"}}) {
        char* copy = StrDup(c.in);
        CutAtNewline(copy);
        EXPECT_STREQ(copy, c.out) << c.in;
        std::free(copy);
    }
}

} // namespace
