// Reads arbitrary bytes as a Standard MIDI File and, when they read, plays the song for a few buffers at
// its own tempo or one taken from the input's last byte: no crash, no read outside the file, no hang
// and bounded work per frame however dense, short or fast the song.
#include "platform/midi/Sequencer.h"
#include "platform/midi/Song.h"
#include "platform/midi/Synth.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

/// Counts what it is sent; renders silence.
class CountingSynth final : public plat::midi::Synth {
public:
    void Send(std::uint8_t status, std::uint8_t, std::uint8_t) override {
        if (status < 0x80 || status > 0xEF)
            std::abort();
        ++sent;
    }
    void Reset() override {}
    void SoundsOff() override {}
    void Render(float* out, int frames) override {
        for (int i = 0; i < 2 * frames; ++i)
            out[i] = 0.0f;
    }
    std::size_t sent = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    plat::midi::Song song;
    std::string error;
    if (!plat::midi::ReadSong(data, size, song, error))
        return 0;
    if (song.length == 0 || song.events.size() > size)
        std::abort();
    for (std::size_t i = 1; i < song.events.size(); ++i)
        if (song.events[i].tick < song.events[i - 1].tick || song.events[i].tick > song.length)
            std::abort();
    plat::midi::Sequencer sequencer(22050);
    CountingSynth synth;
    sequencer.Play(song, synth);
    if (data[size - 1] % 2 == 0)
        sequencer.SetTempo(data[size - 1] * 8 + 1);
    std::vector<float> out(2 * 512);
    for (int buffer = 0; buffer < 4; ++buffer)
        sequencer.Render(synth, out.data(), 512);
    if (synth.sent > 4u * 512u * plat::midi::Sequencer::kEventsPerFrame)
        std::abort();
    return 0;
}
