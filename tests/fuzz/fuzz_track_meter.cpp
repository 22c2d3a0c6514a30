// The editor's track-length gauge fed any limit (a data field) and any lengths: the fill stays within
// 0..1, the rows cut stay within the picture, and a gauge without a limit above 0 is never over.
#include "construct/TrackLengthMeter.h"
#include "foundation/assets/Bitmap.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(float) + sizeof(std::int32_t))
        return 0;
    float limit = 0.0f;
    std::memcpy(&limit, data, sizeof limit);
    std::int32_t height = 0;
    std::memcpy(&height, data + sizeof limit, sizeof height);
    height &= 0xFFF; // a picture is at most 4096 rows
    CTrackLengthMeter meter(480, 70, nullptr, nullptr);
    const bool limited = meter.SetLimit(limit);
    if (limited != (std::isfinite(limit) && limit > 0.0f))
        std::abort();
    for (std::size_t at = sizeof limit + sizeof height; at + sizeof(float) <= size; at += sizeof(float)) {
        float length = 0.0f;
        std::memcpy(&length, data + at, sizeof length);
        meter.TakeLength(length);
        const float fill = meter.GetFill();
        if (!(fill >= 0.0f && fill <= 1.0f) || (!limited && (meter.IsOverLimit() || fill != 0.0f)))
            std::abort();
        const int cut = CTrackLengthMeter::CutRows(fill, height);
        if (cut < 0 || cut > height)
            std::abort();
    }
    return 0;
}
