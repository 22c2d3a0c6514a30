#include "audio/SoundScriptDef.h"

namespace zentrix {

void CSoundScriptDef::SetPlayMode(std::int32_t flags) {
    static constexpr std::uint32_t kModes[] = {
        kRandomSingleSample, kNextSingleSample,        kRandomAllSamples,         kSequenceAllSamples,
        kSingleLoopSample,   kRandomAllSamplesForever, kSequenceAllSamplesForever};
    playMode = flags >= 1 && flags <= 7 ? kModes[flags - 1] : kRandomSingleSample;
}

} // namespace zentrix
