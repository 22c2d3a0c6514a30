// Track files: the whole-image check, the reader of every version over a grid of its own (no world to
// make pieces in: records name nothing that can be made) and the writer of what it read, and the track
// list's reading of an entry. Each input is read as it is, and also as patches (offset, value; 8 bytes
// each) over a version 5 image of the full size, which reaches the records of the larger grid.
#include "world/TrackBuildLink.h"
#include "world/TrackFileImage.h"
#include "world/TrackFileList.h"
#include "world/TrackFileReader.h"
#include "world/WorldGrid.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace zentrix;

namespace {

/// Heights straight on the grid; nothing else is built.
class HeightsOnly : public ITrackBuildLink {
public:
    explicit HeightsOnly(CWorldGrid& grid) : m_grid(grid) {}
    void SetTileHeight(std::uint32_t x, std::uint32_t z, float height) override {
        if (height > 0.0f)
            m_grid.ResetCellHeight(nullptr, x, z, height);
    }
    CTrackObject* PlaceTrackPiece(int, std::uint32_t, std::uint32_t, std::uint32_t) override {
        return nullptr;
    }
    void RemoveTrackPiece(std::uint32_t, std::uint32_t) override {}
    void UpdateAllTiles() override {}
    bool CreateBasePlate() override { return true; }
    void SetGridSizeIndex(int) override {}

private:
    CWorldGrid& m_grid;
};

void ReadAndWrite(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    TrackFileEntry entry;
    CTrackFileList::ReadEntryFromImage(image, entry);
    CWorldGrid grid(8, 8);
    HeightsOnly builder(grid);
    CTrackFileReader reader(grid, builder, nullptr, nullptr);
    std::string why;
    CTrackFileImage::SInfo info;
    const bool sound = CTrackFileImage::Check(image, info, why);
    if (reader.Read(image, why) != sound)
        std::abort();
    if (!sound)
        return;
    if (grid.GetSizeX() != info.width || grid.GetSizeZ() != info.depth)
        std::abort();
    if (!grid.CreateSaveData())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // As it is, in a buffer of its own size.
    std::vector<std::uint8_t> exact(data, data + size);
    ReadAndWrite(exact.data(), exact.size());

    CTrackFileImage base;
    base.WriteTrackHeader(1, 0, 1, true);
    std::vector<std::uint8_t> image(base.Bytes().begin(), base.Bytes().end());
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        std::uint32_t offset = 0;
        std::uint32_t value = 0;
        std::memcpy(&offset, data + i, 4);
        std::memcpy(&value, data + i + 4, 4);
        offset %= static_cast<std::uint32_t>(image.size() - 3);
        std::memcpy(image.data() + offset, &value, 4);
    }
    ReadAndWrite(image.data(), image.size());
    return 0;
}
