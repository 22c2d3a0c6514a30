// The editor's side masks of a piece whose footprint comes from its data: every cell of any footprint
// text, for any kind and turn, reads a mask of the four side bits, and cells past the connection
// table's nine are closed.
#include "construct/PlacementCheck.h"
#include "world/TrackObject.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const int kind = static_cast<std::int8_t>(data[0]);
    bool complete = false;
    const auto cells = CTrackObject::ParseFootprint(
        std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), complete);
    for (int i = -1; i <= static_cast<int>(cells.size()); ++i)
        for (int rotation = -1; rotation <= 4; ++rotation) {
            const int sides = GetCellSides(kind, i, rotation);
            if (sides < 0 || sides > 15 || ((i < 0 || i >= 9) && sides != 0))
                std::abort();
        }
    return 0;
}
