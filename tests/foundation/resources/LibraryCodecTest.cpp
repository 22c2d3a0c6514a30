#include "foundation/resources/LibraryCodec.h"
#include "foundation/math/Random.h"
#include "foundation/resources/HuffmanCodec.h"
#include "foundation/resources/LittleEndian.h"
#include "foundation/resources/ZlibCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

/// A Huffman block from its parts: children lists inner nodes as {node, child0, child1}.
Bytes HuffmanBlock(std::uint32_t n, std::uint32_t root, std::vector<std::array<std::uint16_t, 3>> children,
                   std::vector<std::uint32_t> words) {
    Bytes block(HuffmanCodec::kHeaderSize, 0);
    LittleEndian::WriteU32(block.data(), n);
    LittleEndian::WriteU32(block.data() + 4, root);
    for (auto [node, c0, c1] : children) {
        LittleEndian::WriteU16(block.data() + 8 + 4 * node, c0);
        LittleEndian::WriteU16(block.data() + 8 + 4 * node + 2, c1);
    }
    for (std::uint32_t w : words)
        LittleEndian::AppendU32(block, w);
    return block;
}

std::optional<Bytes> Decode(std::uint32_t method, const Bytes& block) {
    std::string error;
    return LibraryCodec::DecodeEntry(method, block, error);
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST(HuffmanCodec, DecodesHandBuiltBlocks) {
    // Node 257: c for bit 0, node 256 for bit 1; node 256: a for 0, b for 1. Bits 1,0 / 1,1 / 0 from bit 0.
    Bytes abc = HuffmanBlock(3, 257, {{256, 'a', 'b'}, {257, 'c', 256}}, {13});
    EXPECT_EQ(abc.size(), 2060u);
    EXPECT_EQ(Decode(LibraryCodec::kHuffman, abc), Text("abc"));

    Bytes sevens = HuffmanBlock(1000, 7, {}, {0});
    auto decoded = Decode(LibraryCodec::kHuffman, sevens);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, Bytes(1000, 7));

    // Extra bytes after the codes do not change what a valid block decodes to.
    Bytes padded = abc;
    padded.resize(abc.size() + 400, 0xEE);
    EXPECT_EQ(Decode(LibraryCodec::kHuffman, padded), Text("abc"));
}

Bytes Skewed() {
    // Fibonacci-like counts give the deepest possible tree, so codes run across several words.
    Bytes data;
    std::uint32_t a = 1, b = 1;
    for (int v = 0; v < 26; ++v) {
        data.insert(data.end(), a, static_cast<std::uint8_t>(v));
        std::uint32_t next = a + b;
        a = b;
        b = next;
    }
    Random::Seed(99);
    for (std::size_t i = data.size(); i > 1; --i)
        std::swap(data[i - 1], data[static_cast<std::size_t>(Random::Next()) % i]);
    return data;
}

TEST(LibraryCodec, EncodeDecodeRoundTrips) {
    Random::Seed(7);
    Bytes noise(50000);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(Random::Next());
    Bytes everyValue(256);
    for (int v = 0; v < 256; ++v)
        everyValue[v] = static_cast<std::uint8_t>(v);
    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {{"random", noise},
                          {"skewed", Skewed()},
                          {"single value", Bytes(333, 0x42)},
                          {"empty", {}},
                          {"every value once", everyValue},
                          {"text", Text("the quick brown fox jumps")}};
    for (const auto& c : cases) {
        for (std::uint32_t method : {LibraryCodec::kStored, LibraryCodec::kHuffman, LibraryCodec::kZlib}) {
            SCOPED_TRACE(std::string(c.name) + ", method " + std::to_string(method));
            Bytes block = LibraryCodec::EncodeEntry(method, c.data);
            auto decoded = Decode(method, block);
            ASSERT_TRUE(decoded);
            EXPECT_EQ(*decoded, c.data);
        }
    }
}

TEST(HuffmanCodec, DecodesCodesLongerThanAWord) {
    // A chain of 40 inner nodes: node 256 + i gives byte i for bit 0 and goes deeper for bit 1.
    std::vector<std::array<std::uint16_t, 3>> chain;
    for (std::uint16_t i = 0; i < 40; ++i)
        chain.push_back(
            {static_cast<std::uint16_t>(256 + i), i, static_cast<std::uint16_t>(i == 39 ? 200 : 257 + i)});
    // Byte 35 (35 ones and a zero), then byte 200 (40 ones), then byte 0 (a zero): 77 bits in three words.
    Bytes block = HuffmanBlock(3, 256, chain, {0xFFFFFFFFu, 0xFFFFFFF7u, 0x0FFFu});
    EXPECT_EQ(Decode(LibraryCodec::kHuffman, block), (Bytes{35, 200, 0}));
}

TEST(LibraryCodec, CorruptBlocksFail) {
    Bytes zlib = ZlibCodec::Encode(Text(std::string(2000, 'z') + "tail"), 9);
    Bytes halfZlib(zlib.begin(), zlib.begin() + static_cast<long>(zlib.size() / 2));
    Bytes hugeZlib = zlib;
    LittleEndian::WriteU32(hugeZlib.data(), 0xFFFFFFFFu);
    Bytes smallZlib = zlib;
    LittleEndian::WriteU32(smallZlib.data(), 100); // the stream holds more than the prefix says
    Bytes garbage = {4, 0, 0, 0, 1, 2, 3, 4, 5, 6};
    struct Case {
        const char* name;
        std::uint32_t method;
        Bytes block;
    };
    const Case cases[] = {
        {"root beyond the table", LibraryCodec::kHuffman, HuffmanBlock(1, 600, {}, {0})},
        {"child beyond the table", LibraryCodec::kHuffman, HuffmanBlock(1, 300, {{300, 600, 600}}, {0})},
        {"cycle of inner nodes", LibraryCodec::kHuffman,
         HuffmanBlock(1, 256, {{256, 257, 257}, {257, 256, 256}}, {0})},
        {"bit stream too short", LibraryCodec::kHuffman,
         HuffmanBlock(40, 256, {{256, 'x', 'y'}}, {0xFFFFFFFF})},
        {"block without a word", LibraryCodec::kHuffman, Bytes(HuffmanCodec::kHeaderSize, 0)},
        {"huffman length of 4 GB", LibraryCodec::kHuffman, HuffmanBlock(0xFFFFFFFF, 7, {}, {0})},
        {"zlib cut in half", LibraryCodec::kZlib, halfZlib},
        {"zlib length of 4 GB", LibraryCodec::kZlib, hugeZlib},
        {"zlib longer than its prefix", LibraryCodec::kZlib, smallZlib},
        {"zlib garbage", LibraryCodec::kZlib, garbage},
        {"zlib shorter than its prefix", LibraryCodec::kZlib, Bytes{1, 0}},
        {"unknown method", 3, Bytes(10, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(LibraryCodec::DecodeEntry(c.method, c.block, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(LibraryCodec, EveryPrefixOfACodedBlockFails) {
    Random::Seed(3);
    Bytes data(3000);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(Random::Next() % 16);
    for (std::uint32_t method : {LibraryCodec::kHuffman, LibraryCodec::kZlib}) {
        Bytes block = LibraryCodec::EncodeEntry(method, data);
        for (std::size_t length = 0; length < block.size(); ++length) {
            SCOPED_TRACE("method " + std::to_string(method) + ", " + std::to_string(length) + " bytes");
            Bytes prefix(block.begin(), block.begin() + static_cast<long>(length));
            ASSERT_FALSE(Decode(method, prefix));
        }
    }
}

} // namespace
