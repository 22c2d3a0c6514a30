#include "foundation/base/Memory.h"
#include "foundation/base/Veltrin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

std::string g_text;
std::vector<int> g_codes;

void RecordText(const char* text) {
    g_text += text;
}
void RecordError(const char* text, const char*, int, int code) {
    g_text += text;
    g_codes.push_back(code);
}
void* FailingHeap(std::size_t) {
    return nullptr;
}

const char kHeader[] =
    "\nMemory Leak List\n\nDebug memory checking is off: the program allocates from the ordinary heap.\n";

class Memory : public testing::Test {
protected:
    void SetUp() override {
        g_text.clear();
        g_codes.clear();
        SetMemoryTextHandler(RecordText);
    }
    void TearDown() override {
        SetAllocateFunction(nullptr);
        SetMemoryErrorHandler(nullptr);
        SetMemoryTextHandler(nullptr);
    }
};

unsigned char* Filled(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size));
    for (std::size_t i = 0; i < size; ++i)
        block[i] = static_cast<unsigned char>(i + 1);
    return block;
}

TEST_F(Memory, ReallocKeepsWhatFits) {
    struct Case {
        std::size_t from, to, kept;
    };
    for (const Case& c : {Case{100, 40, 40}, Case{100, 400, 100}, Case{100, 100, 100}, Case{0, 64, 0}}) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        unsigned char* old = c.from ? Filled(c.from) : nullptr;
        auto* fresh = static_cast<unsigned char*>(Realloc(old, c.to));
        ASSERT_NE(fresh, nullptr);
        EXPECT_NE(fresh, old);
        EXPECT_GE(malloc_usable_size(fresh), c.to);
        for (std::size_t i = 0; i < c.kept; ++i)
            ASSERT_EQ(fresh[i], static_cast<unsigned char>(i + 1)) << i;
        std::free(fresh);
    }
}

TEST_F(Memory, FailedReallocKeepsTheOldBlock) {
    unsigned char* old = Filled(100);
    SetAllocateFunction(FailingHeap);
    EXPECT_EQ(Realloc(old, 400), nullptr);
    SetAllocateFunction(nullptr);
    for (std::size_t i = 0; i < 100; ++i)
        ASSERT_EQ(old[i], static_cast<unsigned char>(i + 1));
    std::free(old); // still ours: ASan would flag a double free had Realloc released it
}

TEST_F(Memory, ShutdownWithNothingTrackedSendsOnlyTheHeader) {
    VeltrinStartup();
    VeltrinShutdown();
    EXPECT_EQ(g_text, kHeader);
}

TEST_F(Memory, LeakReportListsTrackedBlocksAndDamage) {
    VeltrinStartup();
    auto* leaked = static_cast<unsigned char*>(DebugAlloc(10, 0, "track.cpp", 42));
    ASSERT_NE(leaked, nullptr);
    EXPECT_TRUE(ValidatePointer(leaked, "t", 1));
    leaked[10] = 0; // one byte past the end
    EXPECT_FALSE(ValidatePointer(leaked, "t", 1));
    VeltrinShutdown();

    char block[32];
    std::snprintf(block, sizeof block, "%8p", static_cast<void*>(leaked));
    EXPECT_EQ(g_text, std::string("\nMemory Leak List\n\n") + "track.cpp(42) : Block " + block +
                          " : Size       10\n" + "ERROR: Memory Block Has Tail Damage\n**********\n" +
                          "track.cpp(42) : Block " + block + "       10\n");
    std::free(leaked - 8); // the report does not free what leaked
}

TEST_F(Memory, TableFindsAndRemovesManyBlocks) {
    VeltrinStartup();
    std::vector<void*> blocks;
    for (int i = 0; i < 3000; ++i) // several buckets outgrow their first 512 records
        blocks.push_back(DebugAlloc(static_cast<std::size_t>(i % 50), 0, "many.cpp", i));
    EXPECT_EQ(TrackedBlockCount(), 3000u);
    for (std::size_t i = 0; i < blocks.size(); i += 2)
        DebugFree(blocks[i], "many.cpp", 1);
    for (std::size_t i = 1; i < blocks.size(); i += 2)
        ASSERT_TRUE(ValidatePointer(blocks[i], "many.cpp", 1)) << i;
    for (std::size_t i = blocks.size(); i-- > 1;)
        if (i % 2)
            DebugFree(blocks[i], "many.cpp", 1);
    EXPECT_EQ(TrackedBlockCount(), 0u);
    EXPECT_TRUE(g_codes.empty());
    VeltrinShutdown();
}

TEST_F(Memory, DebugMemoryErrorsCarryTheirCodes) {
    SetMemoryErrorHandler(RecordError);
    VeltrinStartup();
    int local = 0;
    DebugFree(&local, "x.cpp", 3);
    SetAllocateFunction(FailingHeap);
    EXPECT_EQ(DebugAlloc(123, 0, "x.cpp", 4), nullptr);
    EXPECT_EQ(g_codes, (std::vector<int>{kUnknownPointerCode, kAllocationFailedCode}));
    EXPECT_NE(g_text.find("Could not validate pointer"), std::string::npos);
    EXPECT_NE(g_text.find("Memory Allocation Failed: 123 bytes\n"), std::string::npos);
    VeltrinShutdown();
}

} // namespace
