// Decoding speed of library entries: every asset the game loads passes through one of these.
#include "foundation/math/Random.h"
#include "foundation/resources/LibraryCodec.h"

#include <benchmark/benchmark.h>

using namespace zentrix;

namespace {

/// Text-like data: a skewed byte distribution, as meshes and scripts have.
std::vector<std::uint8_t> SampleData(std::size_t size) {
    Random::Seed(11);
    std::vector<std::uint8_t> data(size);
    for (auto& b : data)
        b = static_cast<std::uint8_t>('a' + (Random::Next() % 7) * (Random::Next() % 4));
    return data;
}

void DecodeEntry(benchmark::State& state, std::uint32_t method) {
    const auto data = SampleData(static_cast<std::size_t>(state.range(0)));
    const auto block = LibraryCodec::EncodeEntry(method, data);
    std::string error;
    for (auto _ : state)
        benchmark::DoNotOptimize(LibraryCodec::DecodeEntry(method, block, error));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_HuffmanDecode(benchmark::State& state) {
    DecodeEntry(state, LibraryCodec::kHuffman);
}
void BM_ZlibDecode(benchmark::State& state) {
    DecodeEntry(state, LibraryCodec::kZlib);
}

} // namespace

BENCHMARK(BM_HuffmanDecode)->Arg(64 << 10)->Arg(1 << 20);
BENCHMARK(BM_ZlibDecode)->Arg(64 << 10)->Arg(1 << 20);
