#include "engine/AlignedAlloc.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace zentrix {

namespace {
constexpr std::uintptr_t kAlignment = 32;
}

void* AlignedAlloc(std::size_t size) {
    // Room for the alignment and for the whole address of the allocation just before the block.
    if (size > SIZE_MAX - kAlignment - sizeof(void*))
        return nullptr;
    void* raw = std::malloc(size + kAlignment + sizeof(void*));
    if (raw == nullptr)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
    const std::uintptr_t aligned = (start + kAlignment - 1) & ~(kAlignment - 1);
    std::memcpy(reinterpret_cast<void*>(aligned - sizeof(void*)), &raw, sizeof raw);
    return reinterpret_cast<void*>(aligned);
}

void AlignedFree(void* block) {
    if (block == nullptr)
        return;
    void* raw;
    std::memcpy(&raw, static_cast<std::uint8_t*>(block) - sizeof raw, sizeof raw);
    std::free(raw);
}

} // namespace zentrix
