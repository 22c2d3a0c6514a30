#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

/// A sound effect as the asset manager caches it.
class ISoundAsset {
public:
    virtual ~ISoundAsset() = default;
    /// Takes the asset's bytes (a WAV file) and the owner that may free it early.
    virtual void Load(int id, std::vector<std::uint8_t> bytes, int owner) = 0;
    /// Whether the bytes made a playable sound.
    virtual bool IsValid() const = 0;
    /// The owner given to Load.
    virtual int GetOwner() const = 0;
};

/// A piece of music as the asset manager caches it.
class IMusicAsset {
public:
    virtual ~IMusicAsset() = default;
    /// Takes the asset's bytes (a MIDI file).
    virtual void Load(int id, std::vector<std::uint8_t> bytes) = 0;
    /// Whether the bytes made playable music.
    virtual bool IsLoaded() const = 0;
};

/// Makes the sound and music objects of the audio subsystem.
class IAudioAssetFactory {
public:
    virtual ~IAudioAssetFactory() = default;
    /// A new, empty sound.
    virtual std::unique_ptr<ISoundAsset> NewSound() = 0;
    /// A new, empty piece of music.
    virtual std::unique_ptr<IMusicAsset> NewMusic() = 0;
};

} // namespace zentrix
