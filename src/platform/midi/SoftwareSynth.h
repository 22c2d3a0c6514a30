#pragma once

#include "platform/midi/Synth.h"

#include <memory>
#include <string>

namespace plat::midi {

/// The General MIDI software synthesizer (FluidSynth): rendering only, no audio driver, no timers and no
/// player of its own; reverb and chorus are off, so silenced voices leave exact silence.
class SoftwareSynth : public Synth {
public:
    /// Which bank the synthesizer starts with.
    enum class Bank {
        kSystem, ///< the system's General MIDI sound font (Debian's fluid-soundfont-gm)
        kNone,   ///< none until LoadBank: every note is silent
    };

    /// Why Open failed.
    enum class Failure { kNone, kSynth, kBank };

    /// A synthesizer rendering at `rate` Hz; null, with what failed and the reason in `error`, when it
    /// cannot be made or the bank asked for is not there.
    static std::unique_ptr<SoftwareSynth> Open(int rate, Bank bank, Failure& failure, std::string& error);
    ~SoftwareSynth() override;
    SoftwareSynth(const SoftwareSynth&) = delete;
    SoftwareSynth& operator=(const SoftwareSynth&) = delete;

    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void Reset() override;
    void SoundsOff() override;
    void Render(float* out, int frames) override;
    /// Loads a SoundFont 2 bank from memory and, when it loads, unloads the bank it had.
    bool LoadBank(const std::uint8_t* bytes, std::size_t size) override;

    /// Whether `bytes` hold a SoundFont 2 bank whose chunks all lie within them (the synthesizer reads
    /// the rest); the reason in `error` when not.
    static bool CheckBank(const std::uint8_t* bytes, std::size_t size, std::string& error);
    /// How many banks the synthesizer's reader holds open through our callbacks, in every synthesizer
    /// (0 whenever no bank is being loaded).
    static int GetOpenBankCount();

private:
    SoftwareSynth() = default;

    struct Handles;
    std::unique_ptr<Handles> m_handles;
    int m_bank = -1;            ///< the loaded bank's id, -1 none
    std::uint64_t m_frames = 0; ///< frames rendered so far
};

} // namespace plat::midi
