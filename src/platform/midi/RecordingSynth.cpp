#include "platform/midi/RecordingSynth.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace plat::midi {

void RecordingSynth::Note(std::string what) {
    log.push_back(Entry{frames, std::move(what)});
}

void RecordingSynth::Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const bool twoBytes = (status & 0xF0) != 0xC0 && (status & 0xF0) != 0xD0;
    char text[16];
    if (twoBytes)
        std::snprintf(text, sizeof text, "%02x %02x %02x", status, data1, data2);
    else
        std::snprintf(text, sizeof text, "%02x %02x", status, data1);
    Note(text);
    const int note = (status & 0x0F) * 128 + data1;
    if ((status & 0xF0) == 0x90 && data2 > 0)
        m_sounding.insert(note);
    else if ((status & 0xF0) == 0x80 || (status & 0xF0) == 0x90)
        m_sounding.erase(note);
}

void RecordingSynth::Reset() {
    Note("reset");
    m_sounding.clear();
}

void RecordingSynth::SoundsOff() {
    Note("off");
    m_sounding.clear();
}

void RecordingSynth::Render(float* out, int count) {
    std::fill(out, out + 2 * count, 0.125f * static_cast<float>(m_sounding.size()));
    frames += count;
}

bool RecordingSynth::LoadBank(const std::uint8_t* /*bytes*/, std::size_t /*size*/) {
    Note("bank");
    return acceptBanks;
}

} // namespace plat::midi
