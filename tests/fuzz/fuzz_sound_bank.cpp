// Loads arbitrary bytes as the music's instrument collection: the bank check reads nothing outside the
// bytes, and what passes it goes to the synthesizer's own SoundFont reader, which must neither crash
// nor keep a failed bank, and must have closed every bank our callbacks opened for it. The reader's own
// losses on a refused bank are left out of the leak reports, as the game leaves them out.
#include "platform/midi/SoftwareSynth.h"
#include "platform/system/DebugOutput.h"
#include "platform/system/LeakSuppressions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

extern "C" const char* __lsan_default_suppressions() {
    return plat::system::kSystemLibraryLeaks;
}

// The reader loses its instrument on many refused banks: the count of each suppressed loss is not news.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = (plat::system::SetDebugOutputEnabled(false), true);
    (void)quiet;
    static std::unique_ptr<plat::midi::SoftwareSynth> synth = [] {
        plat::midi::SoftwareSynth::Failure failure;
        std::string error;
        return plat::midi::SoftwareSynth::Open(22050, plat::midi::SoftwareSynth::Bank::kNone, failure, error);
    }();
    if (!synth)
        std::abort();
    // A copy of its own, so a read past the end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    std::string error;
    const bool checked = plat::midi::SoftwareSynth::CheckBank(bytes.data(), bytes.size(), error);
    if (synth->LoadBank(bytes.data(), bytes.size()) && !checked)
        std::abort();
    if (plat::midi::SoftwareSynth::GetOpenBankCount() != 0)
        std::abort();
    synth->Reset();
    synth->Send(0x90, 60, 100);
    std::vector<float> out(2 * 256);
    synth->Render(out.data(), 256);
    synth->SoundsOff();
    return 0;
}
