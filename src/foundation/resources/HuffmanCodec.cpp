#include "foundation/resources/HuffmanCodec.h"

#include "foundation/resources/LittleEndian.h"

#include <array>
#include <queue>
#include <tuple>

namespace zentrix {

namespace HuffmanCodec {

namespace {

constexpr std::uint32_t kLeafCount = 256;
constexpr std::uint32_t kNodeLimit = 512;
constexpr std::size_t kChildOffset = 8;

std::uint16_t Child(const std::uint8_t* block, std::uint32_t node, std::uint32_t bit) {
    return LittleEndian::ReadU16(block + kChildOffset + 2 * (2 * node + bit));
}

} // namespace

bool Decode(const std::uint8_t* block, std::size_t storedLength, std::uint8_t* dest, std::size_t capacity,
            std::size_t& outLength) {
    outLength = 0;
    if (storedLength < kMinBlockSize)
        return false;
    const std::uint32_t n = LittleEndian::ReadU32(block);
    const std::uint32_t root = LittleEndian::ReadU32(block + 4);
    if (n > capacity || root >= kNodeLimit)
        return false;
    if (root < kLeafCount) {
        // One distinct byte value: the block carries no codes.
        for (std::uint32_t i = 0; i < n; ++i)
            dest[i] = static_cast<std::uint8_t>(root);
        outLength = n;
        return true;
    }

    const std::size_t wordCount = (storedLength - kHeaderSize) / 4;
    std::size_t nextWord = 0;
    std::uint32_t word = 0;
    int bitsLeft = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t node = root;
        while (node >= kLeafCount) {
            if (node >= kNodeLimit)
                return false;
            if (bitsLeft == 0) {
                // Each step takes one bit, so a cycle of inner nodes ends with the stream.
                if (nextWord == wordCount)
                    return false;
                word = LittleEndian::ReadU32(block + kHeaderSize + 4 * nextWord++);
                bitsLeft = 32;
            }
            node = Child(block, node, word & 1u);
            word >>= 1;
            --bitsLeft;
        }
        dest[i] = static_cast<std::uint8_t>(node);
    }
    outLength = n;
    return true;
}

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data) {
    std::array<std::uint64_t, kLeafCount> freq{};
    for (std::uint8_t b : data)
        ++freq[b];

    std::vector<std::uint8_t> block(kMinBlockSize, 0);
    LittleEndian::WriteU32(block.data(), static_cast<std::uint32_t>(data.size()));

    // Lowest weight first; ties go to the lower node number so the output is reproducible.
    using Item = std::tuple<std::uint64_t, std::uint32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    for (std::uint32_t v = 0; v < kLeafCount; ++v)
        if (freq[v] != 0)
            queue.emplace(freq[v], v);
    if (queue.size() <= 1) {
        LittleEndian::WriteU32(block.data() + 4, queue.empty() ? 0 : std::get<1>(queue.top()));
        return block;
    }

    std::array<std::array<std::uint16_t, 2>, kNodeLimit> children{};
    std::uint32_t nextNode = kLeafCount;
    while (queue.size() > 1) {
        auto [w0, n0] = queue.top();
        queue.pop();
        auto [w1, n1] = queue.top();
        queue.pop();
        children[nextNode] = {static_cast<std::uint16_t>(n0), static_cast<std::uint16_t>(n1)};
        queue.emplace(w0 + w1, nextNode++);
    }
    const std::uint32_t root = std::get<1>(queue.top());
    LittleEndian::WriteU32(block.data() + 4, root);
    for (std::uint32_t k = kLeafCount; k < nextNode; ++k) {
        LittleEndian::WriteU16(block.data() + kChildOffset + 4 * k, children[k][0]);
        LittleEndian::WriteU16(block.data() + kChildOffset + 4 * k + 2, children[k][1]);
    }

    // Codes root first, one bit per level.
    std::array<std::vector<std::uint8_t>, kLeafCount> codes;
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> stack{{root, {}}};
    while (!stack.empty()) {
        auto [node, path] = std::move(stack.back());
        stack.pop_back();
        if (node < kLeafCount) {
            codes[node] = std::move(path);
            continue;
        }
        for (std::uint8_t bit = 0; bit < 2; ++bit) {
            auto childPath = path;
            childPath.push_back(bit);
            stack.emplace_back(children[node][bit], std::move(childPath));
        }
    }

    block.resize(kHeaderSize);
    std::uint32_t word = 0;
    int used = 0;
    for (std::uint8_t b : data) {
        for (std::uint8_t bit : codes[b]) {
            word |= static_cast<std::uint32_t>(bit) << used;
            if (++used == 32) {
                LittleEndian::AppendU32(block, word);
                word = 0;
                used = 0;
            }
        }
    }
    // The last word is written even when partly filled, and a block always has at least one.
    if (used != 0 || block.size() == kHeaderSize)
        LittleEndian::AppendU32(block, word);
    return block;
}

} // namespace HuffmanCodec

} // namespace zentrix
