// Footprint texts of track pieces: the reader stays within the text, keeps at least one cell and never
// a cell farther than a piece may reach.
#include "world/TrackObject.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bool complete = false;
    const auto cells =
        CTrackObject::ParseFootprint(std::string_view(reinterpret_cast<const char*>(data), size), complete);
    if (cells.empty() || (size == 0 && !complete))
        std::abort();
    for (const CTrackObject::SCellOffset& cell : cells)
        if (cell.x < -CTrackObject::kMaxOffset || cell.x > CTrackObject::kMaxOffset ||
            cell.z < -CTrackObject::kMaxOffset || cell.z > CTrackObject::kMaxOffset)
            std::abort();
    return 0;
}
