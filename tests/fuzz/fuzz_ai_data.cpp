// Reads arbitrary bytes as an AI text file, as a parameter block and as cornering values: every field
// stays in its range and every cornering value is a number.
#include "race/AIData.h"
#include "race/CorneringData.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

using namespace zentrix;

namespace {

void CheckRanges(const CAIData::SBlock& block) {
    if (block.racingLine > 100 || block.braking < 0 || block.braking > 200 || block.overtaking < 0 ||
        block.overtaking > 100 || block.speed < 0 || block.speed > 100 || block.blocking > 100 ||
        block.cutsCorners > 100 || block.intelligence > 100 || block.craziness > 100)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CAIData::SBlock text;
    CAIData::ReadText(std::string_view(reinterpret_cast<const char*>(data), size), text);
    CheckRanges(text);
    if (static_cast<std::int32_t>(text.reflex) < 0)
        std::abort();

    CAIData::SBlock block;
    CAIData::CopyBytes(std::span(data, size), block);
    CAIData::Clamp(block);
    CheckRanges(block);
    CAIData::SBlock again;
    CAIData::CopyBytes(CAIData::ToBytes(block), again);
    if (!(again == block))
        std::abort();

    CCorneringData cornering(nullptr);
    cornering.CopyValues(std::span(data, size));
    for (int i = -1; i <= CCorneringData::kClassCount; ++i)
        if (!std::isfinite(cornering.GetCornerSpeedLimit(i, 100.0f)))
            std::abort();
    return 0;
}
