#pragma once

#include <cstdint>
#include <vector>

namespace zentrix {

/// How a scripted sound is to be played: its play mode, timing, volumes, pitch, priority, samples and
/// the distances over which it fades. Filled by the script's sound effect.
struct CSoundScriptDef {
    /// Play modes.
    enum EPlayMode : std::uint32_t {
        kNextSingleSample = 2,
        kSequenceAllSamples = 3,
        kSingleLoopSample = 4,
        kSequenceAllSamplesForever = 7,
        kRandomSingleSample = 8,
        kRandomAllSamples = 9,
        kRandomAllSamplesForever = 13
    };
    /// Or'ed into the play mode: the other sounds are dimmed while this one plays.
    static constexpr std::uint32_t kDimOthers = 16;

    /// The play mode of a script's "Flags" 1 to 7; any other value plays a random single sample.
    void SetPlayMode(std::int32_t flags);

    std::uint32_t reserved = 0;
    std::uint32_t playMode = kRandomSingleSample;
    std::uint32_t tickDelay = 0;
    std::uint32_t volume = 100;
    std::uint32_t volume2 = 100;
    std::uint32_t pitch = 100;
    std::uint32_t priority = 50;
    std::uint32_t spare = 0;
    std::vector<std::int32_t> samples;
    float minDistance = 16.0f;
    float maxDistance = 100.0f;
};

} // namespace zentrix
