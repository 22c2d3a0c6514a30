#include "foundation/base/Memory.h"

#include "foundation/base/Messages.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace zentrix {

namespace {

constexpr std::size_t kBuckets = 111;
constexpr std::size_t kStartRecords = 512;
constexpr std::size_t kGrowRecords = 256;
constexpr std::size_t kGuard = 8;
constexpr unsigned char kGuardByte = 0xBD;

struct Record {
    std::size_t size;
    void* block; // the caller's block, after the front guard
    unsigned flags;
    const char* file;
    int line;
};

struct Table {
    std::vector<Record> buckets[kBuckets];
    std::set<std::string> fileNames; // the records point at these
    bool debugUsed = false;
};

std::unique_ptr<Table> g_table;

void DefaultText(const char* text) {
    DebugOutput(text);
}

MemoryTextHandler g_text = DefaultText;

void SendText(const char* text) {
    g_text(text);
}

void DefaultError(const char* text, const char* file, int line, int code) {
    char position[64];
    std::snprintf(position, sizeof position, "(%d) : [CODE: %d]", line, code);
    SendText((std::string(file ? file : "") + position + " : MEMORY ERROR\n" + text + "\n\n").c_str());
}

MemoryErrorHandler g_error = DefaultError;
AllocateFunction g_allocate = std::malloc;

void SendError(const char* text, const char* file, int line, int code) {
    g_error(text, file, line, code);
}

std::vector<Record>& BucketOf(const void* block) {
    return g_table->buckets[reinterpret_cast<std::uintptr_t>(block) % kBuckets];
}

Record* Find(const void* block) {
    if (!g_table)
        return nullptr;
    for (Record& r : BucketOf(block))
        if (r.block == block)
            return &r;
    return nullptr;
}

bool HeaderWhole(const Record& r) {
    const auto* front = static_cast<const unsigned char*>(r.block) - kGuard;
    return std::all_of(front, front + kGuard, [](unsigned char b) { return b == kGuardByte; });
}

bool TailWhole(const Record& r) {
    const auto* tail = static_cast<const unsigned char*>(r.block) + r.size;
    return std::all_of(tail, tail + kGuard, [](unsigned char b) { return b == kGuardByte; });
}

void ReportDamage(const Record& r, const char* what) {
    SendText(what);
    char line[512];
    std::snprintf(line, sizeof line, "%s(%d) : Block %8p %8d\n", r.file, r.line, r.block,
                  static_cast<int>(r.size));
    SendText(line);
}

} // namespace

// A null handler puts the default back.
MemoryTextHandler SetMemoryTextHandler(MemoryTextHandler handler) {
    return g_text = handler ? handler : DefaultText;
}
MemoryErrorHandler SetMemoryErrorHandler(MemoryErrorHandler handler) {
    return g_error = handler ? handler : DefaultError;
}

AllocateFunction SetAllocateFunction(AllocateFunction allocate) {
    AllocateFunction previous = g_allocate;
    g_allocate = allocate ? allocate : std::malloc;
    return previous;
}

void StartMemoryTracking() {
    g_table = std::make_unique<Table>();
    for (auto& bucket : g_table->buckets)
        bucket.reserve(kStartRecords);
}

void StopMemoryTracking() {
    SendText("\nMemory Leak List\n\n");
    if (!g_table || !g_table->debugUsed)
        SendText("Debug memory checking is off: the program allocates from the ordinary heap.\n");
    if (g_table) {
        for (const auto& bucket : g_table->buckets) {
            for (const Record& r : bucket) {
                char line[512];
                std::snprintf(line, sizeof line, "%s(%d) : Block %8p : Size %8d\n", r.file, r.line, r.block,
                              static_cast<int>(r.size));
                SendText(line);
                if (!HeaderWhole(r))
                    ReportDamage(r, "ERROR: Memory Block Has Header Damage\n**********\n");
                if (!TailWhole(r))
                    ReportDamage(r, "ERROR: Memory Block Has Tail Damage\n**********\n");
            }
        }
    }
    g_table.reset();
}

void* Realloc(void* block, std::size_t size) {
    void* fresh = g_allocate(size);
    if (!fresh)
        return nullptr;
    if (block) {
        std::memcpy(fresh, block, std::min(malloc_usable_size(block), size));
        std::free(block);
    }
    return fresh;
}

void* DebugAlloc(std::size_t size, unsigned flags, const char* file, int line) {
    if (!g_table)
        StartMemoryTracking();
    auto* raw =
        size <= SIZE_MAX - 2 * kGuard ? static_cast<unsigned char*>(g_allocate(size + 2 * kGuard)) : nullptr;
    if (!raw) {
        char text[64];
        std::snprintf(text, sizeof text, "Memory Allocation Failed: %d bytes\n", static_cast<int>(size));
        SendError(text, file, line, kAllocationFailedCode);
        return nullptr;
    }
    std::memset(raw, kGuardByte, kGuard);
    std::memset(raw + kGuard + size, kGuardByte, kGuard);
    g_table->debugUsed = true;
    const char* name = g_table->fileNames.insert(file ? file : "").first->c_str();
    std::vector<Record>& bucket = BucketOf(raw + kGuard);
    if (bucket.size() == bucket.capacity())
        bucket.reserve(bucket.capacity() + kGrowRecords);
    bucket.push_back({size, raw + kGuard, flags, name, line});
    return raw + kGuard;
}

void DebugFree(void* block, const char* file, int line) {
    if (!block)
        return;
    Record* r = Find(block);
    if (!r) {
        char text[64];
        std::snprintf(text, sizeof text, "Could not validate pointer %p.", block);
        SendError(text, file, line, kUnknownPointerCode);
        return;
    }
    std::vector<Record>& bucket = BucketOf(block);
    *r = bucket.back(); // the bucket's last record takes the freed one's place
    bucket.pop_back();
    std::free(static_cast<unsigned char*>(block) - kGuard);
}

bool ValidatePointer(const void* block, const char* file, int line) {
    const Record* r = Find(block);
    if (!r) {
        char text[64];
        std::snprintf(text, sizeof text, "Could not validate pointer %p.", block);
        SendError(text, file, line, kUnknownPointerCode);
        return false;
    }
    return HeaderWhole(*r) && TailWhole(*r);
}

std::size_t TrackedBlockCount() {
    std::size_t count = 0;
    if (g_table)
        for (const auto& bucket : g_table->buckets)
            count += bucket.size();
    return count;
}

} // namespace zentrix
