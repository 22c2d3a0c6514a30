#pragma once

#include "platform/midi/Synth.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace plat::midi {

/// A synthesizer for tests: it notes every call with the frame it came at, and sounds 0.125 on both
/// sides for each note that is on (so silence shows that every note is off).
class RecordingSynth : public Synth {
public:
    struct Entry {
        std::int64_t frame = 0; ///< frames rendered before the call
        std::string what;       ///< "reset", "off", "bank", or the message as "90 3c 64"
    };

    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void Reset() override;
    void SoundsOff() override;
    void Render(float* out, int frames) override;
    bool LoadBank(const std::uint8_t* bytes, std::size_t size) override;

    /// What was sent, in order.
    std::vector<Entry> log;
    /// Frames rendered so far.
    std::int64_t frames = 0;
    /// What LoadBank answers.
    bool acceptBanks = true;

private:
    void Note(std::string what);

    std::set<int> m_sounding; ///< channel x 128 + key of each note that is on
};

} // namespace plat::midi
