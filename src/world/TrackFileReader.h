#pragma once

#include "world/TrackFileImage.h"

#include <cstdint>
#include <span>

namespace zentrix {

class CAssetMan;
class CEngineMan;
class CWorldGrid;
class ITrackBuildLink;

/// Rebuilds a grid from a track file image of version 1 to 5: the image is checked whole first, and
/// one it refuses changes nothing. Heights, pieces, the base plate and the tiles are made through the
/// track builder; version 5 also sets the world theme and the lighting mode, older versions translate
/// their piece ids into the current theme.
class CTrackFileReader {
public:
    /// The asset and engine managers may be absent: pieces are then not made and nothing is lit.
    CTrackFileReader(CWorldGrid& grid, ITrackBuildLink& builder, CAssetMan* assets, CEngineMan* engine);

    /// Reads the image into the grid; false (logged by the caller) when it is refused, `why` saying why.
    bool Read(std::span<const std::uint8_t> image, std::string& why);

private:
    void LoadTrackV5();
    /// Versions 1 to 4.
    void LoadOldTrack();
    void PrepareGridV5();
    void PrepareGridFromHeader();
    /// Version 1's and 2's height step: ground only above 0.0.
    void SetOldTileHeight(std::uint32_t x, std::uint32_t z, float height);
    /// Makes the piece of a record on the cell; an object that is not a piece, or that the grid refuses,
    /// leaves the world again (a rotation above 3 logged), and the rest of the track is read all the same.
    void PlacePieceFromRecord(int id, std::uint32_t x, std::uint32_t z, std::uint32_t rotation, float height);
    /// A ground tile on every cell without piece and ground.
    void FillEmptyCells();
    int TranslatedId(int id) const;
    int Filler() const;
    CTrackFileImage::SRecord Record(std::uint32_t x, std::uint32_t z) const;

    CWorldGrid& m_grid;
    ITrackBuildLink& m_builder;
    CAssetMan* m_assets;
    CEngineMan* m_engine;
    std::span<const std::uint8_t> m_image;
    CTrackFileImage::SInfo m_info;
};

/// The world's reader over the grid: the registry's track builder, asset and engine managers. False,
/// logged, for an image the reader refuses or when the world has no track builder.
bool ReadTrackImage(std::span<const std::uint8_t> image, CWorldGrid& grid);

} // namespace zentrix
