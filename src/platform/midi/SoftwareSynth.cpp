#include "platform/midi/SoftwareSynth.h"

#include "platform/system/DebugOutput.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace plat::midi {

namespace {

/// Output gain inside the synthesizer: a General MIDI piece at full music volume comes out about as
/// loud as a sound effect at full volume (the synthesizer's own default, 0.2, is far quieter).
constexpr double kSynthGain = 1.5;
/// Where Debian keeps the General MIDI sound font when the synthesizer's own setting names none.
constexpr const char* kDebianBanks[] = {"/usr/share/sounds/sf2/default-GM.sf2",
                                        "/usr/share/sounds/sf2/FluidR3_GM.sf2"};
/// Frames the synthesizer renders at a time.
constexpr int kSynthBlock = 64;
/// Names of banks in memory, as the memory loader reads them: the address and the size (then a count).
constexpr const char* kMemoryPrefix = "&memory:";

void LogLine(int level, const char* message, void* /*data*/) {
    const char* kind = level <= FLUID_ERR ? "error" : level == FLUID_WARN ? "warning" : "note";
    system::DebugOutput(std::string("midi: synthesizer ") + kind + ": " + (message ? message : ""));
}

/// The synthesizer's log goes where the game's debugging text goes.
void RouteLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, &LogLine, nullptr);
    });
}

/// A bank the synthesizer's own SoundFont reader reads through these callbacks: one in memory (named by
/// its address and size after kMemoryPrefix) or a file.
struct BankSource {
    const std::uint8_t* bytes = nullptr;
    long long size = 0;
    long long position = 0;
    std::FILE* file = nullptr;
};

/// Banks the synthesizer's reader holds open.
std::atomic<int> g_openBanks{0};

void* OpenBank(const char* name) {
    if (!name)
        return nullptr;
    const std::size_t prefix = std::strlen(kMemoryPrefix);
    if (std::strncmp(name, kMemoryPrefix, prefix) != 0) {
        std::FILE* file = std::fopen(name, "rb");
        if (!file)
            return nullptr;
        ++g_openBanks;
        return new BankSource{nullptr, 0, 0, file};
    }
    void* address = nullptr;
    long long size = 0;
    if (std::sscanf(name + prefix, "%p:%lld", &address, &size) != 2 || size < 0)
        return nullptr;
    ++g_openBanks;
    return new BankSource{static_cast<const std::uint8_t*>(address), size, 0, nullptr};
}

int ReadBank(void* buffer, fluid_long_long_t count, void* handle) {
    BankSource* source = static_cast<BankSource*>(handle);
    if (count < 0)
        return FLUID_FAILED;
    if (source->file)
        return std::fread(buffer, 1, static_cast<std::size_t>(count), source->file) ==
                       static_cast<std::size_t>(count)
                   ? FLUID_OK
                   : FLUID_FAILED;
    if (count > source->size - source->position)
        return FLUID_FAILED;
    std::memcpy(buffer, source->bytes + source->position, static_cast<std::size_t>(count));
    source->position += count;
    return FLUID_OK;
}

int SeekBank(void* handle, fluid_long_long_t offset, int origin) {
    BankSource* source = static_cast<BankSource*>(handle);
    if (source->file)
        return fseeko(source->file, static_cast<off_t>(offset), origin) == 0 ? FLUID_OK : FLUID_FAILED;
    const long long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? source->position : source->size;
    if (offset < -base || offset > source->size - base)
        return FLUID_FAILED;
    source->position = base + offset;
    return FLUID_OK;
}

fluid_long_long_t TellBank(void* handle) {
    BankSource* source = static_cast<BankSource*>(handle);
    return source->file ? static_cast<fluid_long_long_t>(ftello(source->file)) : source->position;
}

int CloseBank(void* handle) {
    BankSource* source = static_cast<BankSource*>(handle);
    if (source->file)
        std::fclose(source->file);
    delete source;
    --g_openBanks;
    return FLUID_OK;
}

std::uint32_t Little32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool IsId(const std::uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

/// The file of the system's General MIDI sound font: the one the synthesizer's settings name, else
/// Debian's; empty when none is installed.
std::string FindSystemBank(fluid_settings_t* settings) {
    std::string found;
    char* named = nullptr;
    if (fluid_settings_dupstr(settings, "synth.default-soundfont", &named) == FLUID_OK && named) {
        if (access(named, R_OK) == 0)
            found = named;
        fluid_free(named);
    }
    for (const char* path : kDebianBanks)
        if (found.empty() && access(path, R_OK) == 0)
            found = path;
    return found;
}

} // namespace

struct SoftwareSynth::Handles {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;

    ~Handles() {
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

std::unique_ptr<SoftwareSynth> SoftwareSynth::Open(int rate, Bank bank, Failure& failure,
                                                   std::string& error) {
    RouteLog();
    failure = Failure::kSynth;
    std::unique_ptr<SoftwareSynth> made(new SoftwareSynth);
    made->m_handles = std::make_unique<Handles>();
    Handles& handles = *made->m_handles;
    handles.settings = new_fluid_settings();
    if (!handles.settings) {
        error = "the synthesizer's settings cannot be made";
        return nullptr;
    }
    // The rate must be set before the synthesizer is made; effects stay off so that a stop is silence.
    fluid_settings_setnum(handles.settings, "synth.sample-rate", rate);
    fluid_settings_setint(handles.settings, "synth.reverb.active", 0);
    fluid_settings_setint(handles.settings, "synth.chorus.active", 0);
    fluid_settings_setnum(handles.settings, "synth.gain", kSynthGain);
    handles.synth = new_fluid_synth(handles.settings);
    if (!handles.synth) {
        error = "the synthesizer cannot be made";
        return nullptr;
    }
    // One reader for files and for banks in memory; it must be in place before the first bank loads.
    if (fluid_sfloader_t* loader = new_fluid_defsfloader(handles.settings)) {
        fluid_sfloader_set_callbacks(loader, &OpenBank, &ReadBank, &SeekBank, &TellBank, &CloseBank);
        fluid_synth_add_sfloader(handles.synth, loader);
    }
    if (bank == Bank::kSystem) {
        failure = Failure::kBank;
        const std::string path = FindSystemBank(handles.settings);
        if (path.empty()) {
            error = "no General MIDI sound font is installed (Debian package fluid-soundfont-gm)";
            return nullptr;
        }
        made->m_bank = fluid_synth_sfload(handles.synth, path.c_str(), 1);
        if (made->m_bank < 0) {
            error = "the sound font " + path + " does not load";
            return nullptr;
        }
    }
    failure = Failure::kNone;
    return made;
}

SoftwareSynth::~SoftwareSynth() = default;

void SoftwareSynth::Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    fluid_synth_t* synth = m_handles->synth;
    const int channel = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, data1);
        break;
    case 0x90:
        if (data2 == 0)
            fluid_synth_noteoff(synth, channel, data1);
        else
            fluid_synth_noteon(synth, channel, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth, channel, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, data2 << 7 | data1);
        break;
    default:
        break;
    }
}

void SoftwareSynth::Reset() {
    fluid_synth_system_reset(m_handles->synth);
}

void SoftwareSynth::SoundsOff() {
    fluid_synth_all_sounds_off(m_handles->synth, -1);
    // The synthesizer renders whole blocks and hands them out piece by piece: what is left of the block
    // rendered before the silence is dropped, so the next frame is silent.
    const int left = static_cast<int>((kSynthBlock - m_frames % kSynthBlock) % kSynthBlock);
    if (left > 0) {
        float dropped[2 * kSynthBlock];
        Render(dropped, left);
    }
}

void SoftwareSynth::Render(float* out, int frames) {
    if (fluid_synth_write_float(m_handles->synth, frames, out, 0, 2, out, 1, 2) != FLUID_OK)
        std::fill(out, out + 2 * frames, 0.0f);
    m_frames += static_cast<std::uint64_t>(frames);
}

bool SoftwareSynth::CheckBank(const std::uint8_t* bytes, std::size_t size, std::string& error) {
    struct Record {
        const char* id;
        std::uint32_t size;
        bool seen;
    };
    Record records[] = {{"phdr", 38, false}, {"pbag", 4, false},  {"pmod", 10, false},
                        {"pgen", 4, false},  {"inst", 22, false}, {"ibag", 4, false},
                        {"imod", 10, false}, {"igen", 4, false},  {"shdr", 46, false}};
    if (!bytes || size < 12 || !IsId(bytes, "RIFF") || !IsId(bytes + 8, "sfbk")) {
        error = "not a SoundFont 2 bank";
        return false;
    }
    if (Little32(bytes + 4) > size - 8) {
        error = "the bank goes past the end of its bytes";
        return false;
    }
    const std::size_t end = 8 + Little32(bytes + 4);
    bool info = false, samples = false, presets = false;
    for (std::size_t at = 12; at < end;) {
        if (end - at < 12 || !IsId(bytes + at, "LIST") || Little32(bytes + at + 4) < 4 ||
            Little32(bytes + at + 4) > end - at - 8) {
            error = "a list of the bank goes past its end";
            return false;
        }
        const std::size_t listEnd = at + 8 + Little32(bytes + at + 4);
        const std::uint8_t* type = bytes + at + 8;
        info |= IsId(type, "INFO");
        samples |= IsId(type, "sdta");
        presets |= IsId(type, "pdta");
        for (std::size_t sub = at + 12; sub < listEnd;) {
            if (listEnd - sub < 8 || Little32(bytes + sub + 4) > listEnd - sub - 8) {
                error = "a chunk of the bank goes past its list";
                return false;
            }
            const std::uint32_t length = Little32(bytes + sub + 4);
            if (IsId(type, "pdta")) {
                for (Record& record : records) {
                    if (IsId(bytes + sub, record.id)) {
                        if (length == 0 || length % record.size != 0) {
                            error = std::string("the bank's ") + record.id + " records are cut short";
                            return false;
                        }
                        record.seen = true;
                    }
                }
            }
            sub += 8 + static_cast<std::size_t>(length) + (length & 1);
        }
        at = listEnd + (listEnd & 1);
    }
    const bool allRecords =
        std::all_of(std::begin(records), std::end(records), [](const Record& r) { return r.seen; });
    if (!info || !samples || !presets || !allRecords) {
        error = "the bank lacks a part of a SoundFont 2 bank";
        return false;
    }
    return true;
}

int SoftwareSynth::GetOpenBankCount() {
    return g_openBanks;
}

bool SoftwareSynth::LoadBank(const std::uint8_t* bytes, std::size_t size) {
    std::string error;
    if (!CheckBank(bytes, size, error)) {
        system::DebugOutput("midi: " + error);
        return false;
    }
    // The synthesizer keeps the samples it read by the bank's name and hands them to a later bank of the
    // same name: a count makes each load's name its own, as another bank may come at the same address.
    static std::atomic<unsigned> loads{0};
    char name[80];
    std::snprintf(name, sizeof name, "%s%p:%lld:%u", kMemoryPrefix, static_cast<const void*>(bytes),
                  static_cast<long long>(size), ++loads);
    // The synthesizer copies the samples while it loads (it loads no sample later), so the bytes are
    // not needed afterwards.
    const int loaded = fluid_synth_sfload(m_handles->synth, name, 1);
    if (loaded < 0) {
        system::DebugOutput("midi: the bank does not load");
        return false;
    }
    if (m_bank >= 0)
        fluid_synth_sfunload(m_handles->synth, m_bank, 1);
    m_bank = loaded;
    return true;
}

} // namespace plat::midi
