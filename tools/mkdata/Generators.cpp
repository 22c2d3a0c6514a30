#include "Generators.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numbers>

namespace mkdata {

bool Number(const std::string& word, int low, int high, int& out) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && end == word.data() + word.size() && out >= low && out <= high;
}

bool Colour(const std::string& word, std::uint8_t (&rgba)[4]) {
    const auto commas = std::count(word.begin(), word.end(), ',');
    if (commas < 2 || commas > 3)
        return false;
    int values[4] = {0, 0, 0, 255};
    std::size_t start = 0;
    for (int i = 0; i <= commas; ++i) {
        const std::size_t comma = word.find(',', start);
        if (!Number(word.substr(start, comma - start), 0, 255, values[i]))
            return false;
        start = comma + 1;
    }
    for (int i = 0; i < 4; ++i)
        rgba[i] = static_cast<std::uint8_t>(values[i]);
    return true;
}

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutText(std::vector<std::uint8_t>& out, const char* text) {
    for (; *text != '\0'; ++text)
        out.push_back(static_cast<std::uint8_t>(*text));
}

void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

} // namespace

bool MakeTga(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::uint8_t colours[2][4];
    if (args.size() != 5 || !Number(args[0], 1, 1024, width) || !Number(args[1], 1, 1024, height) ||
        !Number(args[2], 24, 32, bits) || (bits != 24 && bits != 32) || !Colour(args[3], colours[0]) ||
        !Colour(args[4], colours[1])) {
        error = "tga takes width and height 1-1024, bits 24 or 32 and two colours r,g,b[,a] of 0-255";
        return false;
    }
    out.assign(18, 0);
    out[2] = 2; // uncompressed true colour
    out[12] = static_cast<std::uint8_t>(width);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = static_cast<std::uint8_t>(bits);
    out[17] = bits == 32 ? 8 : 0; // alpha bits; rows from the bottom up
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* c = colours[((x / 8) + (y / 8)) % 2];
            out.push_back(c[2]);
            out.push_back(c[1]);
            out.push_back(c[0]);
            if (bits == 32)
                out.push_back(c[3]);
        }
    }
    return true;
}

bool MakePointer(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0, height = 0, tipX = 0, tipY = 0;
    std::uint8_t colour[4];
    if (args.size() != 5 || !Number(args[0], 1, 256, width) || !Number(args[1], 1, 256, height) ||
        !Number(args[2], 0, width - 1, tipX) || !Number(args[3], 0, height - 1, tipY) ||
        !Colour(args[4], colour)) {
        error = "pointer takes width and height 1-256, a tip inside the picture and a colour r,g,b";
        return false;
    }
    // The head widens by a pixel each side every two rows for 12 rows; the shaft is 5 pixels wide.
    auto inside = [&](int x, int y) {
        const int dy = y - tipY;
        if (dy < 0 || dy >= 22)
            return false;
        const int half = dy < 12 ? dy / 2 : 2;
        return x >= tipX - half && x <= tipX + half;
    };
    out.assign(18, 0);
    out[2] = 2;
    out[12] = static_cast<std::uint8_t>(width);
    out[14] = static_cast<std::uint8_t>(height);
    out[16] = 24;
    for (int row = height - 1; row >= 0; --row) { // bottom row first
        for (int x = 0; x < width; ++x) {
            std::uint8_t rgb[3] = {255, 0, 255};
            if (inside(x, row)) {
                const bool edge =
                    !inside(x - 1, row) || !inside(x + 1, row) || !inside(x, row - 1) || !inside(x, row + 1);
                for (int i = 0; i < 3; ++i)
                    rgb[i] = edge ? 0 : colour[i];
            }
            out.push_back(rgb[2]);
            out.push_back(rgb[1]);
            out.push_back(rgb[0]);
        }
    }
    return true;
}

bool MakeFramed(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0, height = 0, left = 0, top = 0, w = 0, h = 0;
    std::uint8_t frame[4];
    std::uint8_t window[4];
    if (args.size() != 8 || !Number(args[0], 1, 1024, width) || !Number(args[1], 1, 1024, height) ||
        !Colour(args[2], frame) || !Number(args[3], 0, width - 1, left) ||
        !Number(args[4], 0, height - 1, top) || !Number(args[5], 1, width - left, w) ||
        !Number(args[6], 1, height - top, h) || !Colour(args[7], window)) {
        error =
            "framed takes width and height 1-1024, a colour r,g,b, a rectangle x y width height inside the "
            "picture and its colour r,g,b";
        return false;
    }
    out.assign(18, 0);
    out[2] = 2;
    out[12] = static_cast<std::uint8_t>(width);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = 24;
    for (int row = height - 1; row >= 0; --row) { // bottom row first
        for (int x = 0; x < width; ++x) {
            const bool inWindow = x >= left && x < left + w && row >= top && row < top + h;
            const std::uint8_t* c = inWindow ? window : frame;
            out.push_back(c[2]);
            out.push_back(c[1]);
            out.push_back(c[0]);
        }
    }
    return true;
}

void StampFrameNumber(std::uint8_t* frame, int width, int number) {
    constexpr std::uint8_t kLowGreen = 0x20; // bit 5 of the 5-6-5 value, in its low byte
    for (int bit = 0; bit < 16; ++bit) {
        std::uint8_t& low = frame[static_cast<std::size_t>(((bit / 4) * width + bit % 4) * 2)];
        low = static_cast<std::uint8_t>((number >> bit) & 1 ? low | kLowGreen : low & ~kLowGreen);
    }
}

bool MakeRawVideo(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0, height = 0, frames = 0;
    if (args.size() != 3 || !Number(args[0], 4, 256, width) || !Number(args[1], 4, 256, height) ||
        !Number(args[2], 1, 1000, frames)) {
        error = "rawvideo takes width and height 4-256 and 1-1000 frames";
        return false;
    }
    out.clear();
    PutText(out, "VORN_VIDEO 1");
    out.resize(20, 0); // the magic's zero byte and the rest of its field
    Put32(out, static_cast<std::uint32_t>(frames));
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put32(out, 16);
    constexpr std::uint16_t kStripes[2] = {0x0451, 0xFC60}; // teal and orange in 5-6-5
    for (int frame = 0; frame < frames; ++frame) {
        const std::size_t start = out.size();
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                Put16(out, kStripes[((x + y + frame * 2) / 6) % 2]);
        StampFrameNumber(&out[start], width, frame);
    }
    return true;
}

bool MakeWav(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    int frequency = 0;
    int milliseconds = 0;
    int rate = 22050;
    int bits = 16;
    bool extraChunk = false;
    bool ok =
        args.size() >= 2 && Number(args[0], 20, 11025, frequency) && Number(args[1], 1, 10000, milliseconds);
    for (std::size_t i = 2; ok && i < args.size(); ++i) {
        if (args[i] == "rate" && i + 1 < args.size())
            ok = Number(args[++i], 8000, 48000, rate);
        else if (args[i] == "bits" && i + 1 < args.size())
            ok = Number(args[++i], 8, 16, bits) && (bits == 8 || bits == 16);
        else if (args[i] == "extra" && !extraChunk)
            extraChunk = true;
        else
            ok = false;
    }
    if (!ok || frequency * 2 > rate) {
        error = "wav takes a frequency of 20-11025 Hz (below half the rate), a length of 1-10000 ms, "
                "then optionally rate <8000-48000>, bits <8|16> and extra";
        return false;
    }
    const std::uint32_t sampleRate = static_cast<std::uint32_t>(rate);
    const std::uint32_t bytesPerSample = static_cast<std::uint32_t>(bits / 8);
    const std::uint32_t samples = sampleRate * static_cast<std::uint32_t>(milliseconds) / 1000;
    const std::uint32_t fade = std::min<std::uint32_t>(samples / 2, sampleRate / 200); // 5 ms, against clicks
    // The extra chunk, before "fmt ", is one a reader must step over.
    const std::uint32_t extraBytes = extraChunk ? 8 + 4 : 0;
    out.clear();
    PutText(out, "RIFF");
    Put32(out, 36 + extraBytes + samples * bytesPerSample);
    PutText(out, "WAVE");
    if (extraChunk) {
        PutText(out, "note");
        Put32(out, 4);
        PutText(out, "tone");
    }
    PutText(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, sampleRate);
    Put32(out, sampleRate * bytesPerSample);
    Put16(out, bytesPerSample);
    Put16(out, static_cast<std::uint32_t>(bits));
    PutText(out, "data");
    Put32(out, samples * bytesPerSample);
    for (std::uint32_t i = 0; i < samples; ++i) {
        double gain = 0.5;
        if (fade > 0 && i < fade)
            gain *= static_cast<double>(i) / fade;
        else if (fade > 0 && samples - i <= fade)
            gain *= static_cast<double>(samples - i - 1) / fade;
        const double value = gain * std::sin(2.0 * std::numbers::pi * frequency * i / sampleRate);
        if (bits == 8)
            out.push_back(static_cast<std::uint8_t>(128 + std::lround(value * 127.0)));
        else
            Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 32767.0))));
    }
    return true;
}

bool MakeMidi(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    constexpr std::uint32_t kTicksPerBeat = 96;
    constexpr std::uint8_t kDrumChannel = 9;
    int bpm = 0;
    int program = 0;
    std::vector<std::uint8_t> melody;
    std::vector<std::uint8_t> drums;
    bool ok = args.size() >= 2 && Number(args[0], 20, 300, bpm);
    std::size_t i = 1;
    if (ok && args[i] == "program") {
        ok = i + 1 < args.size() && Number(args[i + 1], 0, 127, program);
        i += 2;
    }
    for (std::vector<std::uint8_t>* notes = &melody; ok && i < args.size(); ++i) {
        int note = 0;
        if (args[i] == "drums" && notes == &melody) {
            notes = &drums;
        } else {
            ok = Number(args[i], 0, 127, note);
            notes->push_back(static_cast<std::uint8_t>(note));
        }
    }
    if (!ok || melody.empty() || melody.size() > 256 || drums.size() > 256) {
        error = "midi takes 20-300 beats per minute, optionally program <0-127>, 1-256 notes of 0-127 and "
                "optionally drums and 1-256 drum notes";
        return false;
    }
    // One beat a note; the drums play a beat each alongside, their list repeating to the last note.
    const std::uint32_t tempo = 60000000u / static_cast<std::uint32_t>(bpm);
    std::vector<std::uint8_t> track = {0x00,
                                       0xFF,
                                       0x51,
                                       0x03,
                                       static_cast<std::uint8_t>(tempo >> 16),
                                       static_cast<std::uint8_t>(tempo >> 8),
                                       static_cast<std::uint8_t>(tempo),
                                       0x00,
                                       0xC0,
                                       static_cast<std::uint8_t>(program)};
    for (std::size_t beat = 0; beat < melody.size(); ++beat) {
        const std::uint8_t key = melody[beat];
        track.insert(track.end(), {0x00, 0x90, key, 0x64});
        if (!drums.empty())
            track.insert(track.end(), {0x00, 0x90 | kDrumChannel, drums[beat % drums.size()], 0x64});
        track.insert(track.end(), {static_cast<std::uint8_t>(kTicksPerBeat), 0x80, key, 0x40});
        if (!drums.empty())
            track.insert(track.end(), {0x00, 0x80 | kDrumChannel, drums[beat % drums.size()], 0x40});
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    out.clear();
    PutText(out, "MThd");
    PutBig32(out, 6);
    out.insert(out.end(), {0x00, 0x00, 0x00, 0x01, 0x00, static_cast<std::uint8_t>(kTicksPerBeat)});
    PutText(out, "MTrk");
    PutBig32(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return true;
}

namespace {

/// A chunk: its four-letter id, its size and its bytes (padded to an even size).
void PutChunk(std::vector<std::uint8_t>& out, const char* id, const std::vector<std::uint8_t>& body) {
    PutText(out, id);
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0)
        out.push_back(0);
}

/// A LIST chunk of `type` holding `body`.
void PutList(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> list;
    PutText(list, type);
    list.insert(list.end(), body.begin(), body.end());
    PutChunk(out, "LIST", list);
}

/// A name field of 20 bytes.
void PutName(std::vector<std::uint8_t>& out, const std::string& name) {
    for (std::size_t i = 0; i < 20; ++i)
        out.push_back(i < name.size() && i < 19 ? static_cast<std::uint8_t>(name[i]) : 0);
}

} // namespace

bool MakeSoundFont(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    constexpr std::uint32_t kRate = 22050;
    constexpr std::uint32_t kPeriod = 84; // 262.5 Hz, close to middle C (key 60)
    constexpr std::uint32_t kToneLength = 52 * kPeriod;
    constexpr std::uint32_t kLoopStart = 4 * kPeriod;
    constexpr std::uint32_t kDrumLength = kRate / 4;
    constexpr std::uint32_t kGap = 46; // silent sample points after each sample, as banks require
    struct Preset {
        int program = 0;
        bool drums = false;
    };
    std::vector<Preset> presets;
    bool ok = !args.empty() && args.size() <= 16;
    for (std::size_t i = 0; ok && i < args.size(); ++i) {
        Preset preset;
        preset.drums = args[i] == "drums";
        ok = preset.drums || Number(args[i], 0, 127, preset.program);
        presets.push_back(preset);
    }
    if (!ok) {
        error = "sf2 takes 1-16 programs of 0-127 or drums";
        return false;
    }
    // One sample, instrument and preset each. A program's tone has 1 to 4 harmonics by its number; the
    // drum kit is one falling thump on every key.
    std::vector<std::uint8_t> samples, phdr, pbag, pgen, inst, ibag, igen, shdr;
    std::uint32_t start = 0;
    std::uint32_t generators = 0;
    auto generator = [&](int oper, int amount) {
        Put16(igen, static_cast<std::uint32_t>(oper));
        Put16(igen, static_cast<std::uint32_t>(static_cast<std::uint16_t>(amount)));
        ++generators;
    };
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const Preset& preset = presets[i];
        const std::uint32_t length = preset.drums ? kDrumLength : kToneLength;
        const int harmonics = 1 + preset.program % 4;
        double phase = 0.0;
        for (std::uint32_t n = 0; n < length; ++n) {
            double value = 0.0;
            if (preset.drums) {
                const double t = static_cast<double>(n) / kRate;
                phase += 2.0 * std::numbers::pi * (50.0 + 100.0 * std::exp(-t * 20.0)) / kRate;
                value = 0.8 * std::exp(-t * 12.0) * std::sin(phase);
            } else {
                for (int h = 1; h <= harmonics; ++h)
                    value += 0.5 / h * std::sin(2.0 * std::numbers::pi * h * n / kPeriod);
            }
            Put16(samples,
                  static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(value * 32767.0))));
        }
        for (std::uint32_t n = 0; n < kGap; ++n)
            Put16(samples, 0);
        const std::string name = preset.drums ? "Drums" : "Program " + std::to_string(preset.program);
        PutName(shdr, name);
        Put32(shdr, start);
        Put32(shdr, start + length);
        Put32(shdr, start + (preset.drums ? 0 : kLoopStart));
        Put32(shdr, start + length - (preset.drums ? 1 : 0));
        Put32(shdr, kRate);
        shdr.insert(shdr.end(), {60, 0}); // original key, pitch correction
        Put16(shdr, 0);                   // no linked sample
        Put16(shdr, 1);                   // mono
        start += length + kGap;

        PutName(inst, name);
        Put16(inst, static_cast<std::uint32_t>(i));
        Put16(ibag, generators);
        Put16(ibag, 0);
        generator(38, -2400); // release in a quarter of a second
        if (preset.drums)
            generator(56, 0);                // every key at the sample's own pitch
        generator(54, preset.drums ? 0 : 1); // the tone loops, the thump does not
        generator(53, static_cast<int>(i));  // the sample, last

        PutName(phdr, name);
        Put16(phdr, preset.drums ? 0 : static_cast<std::uint32_t>(preset.program));
        Put16(phdr, preset.drums ? 128 : 0);
        Put16(phdr, static_cast<std::uint32_t>(i));
        Put32(phdr, 0);
        Put32(phdr, 0);
        Put32(phdr, 0);
        Put16(pbag, static_cast<std::uint32_t>(i));
        Put16(pbag, 0);
        Put16(pgen, 41); // the instrument
        Put16(pgen, static_cast<std::uint32_t>(i));
    }
    const std::uint32_t count = static_cast<std::uint32_t>(presets.size());
    // The closing records.
    PutName(phdr, "EOP");
    Put16(phdr, 0);
    Put16(phdr, 0);
    Put16(phdr, count);
    Put32(phdr, 0);
    Put32(phdr, 0);
    Put32(phdr, 0);
    Put16(pbag, count);
    Put16(pbag, 0);
    Put32(pgen, 0);
    PutName(inst, "EOI");
    Put16(inst, count);
    Put16(ibag, generators);
    Put16(ibag, 0);
    Put32(igen, 0);
    PutName(shdr, "EOS");
    shdr.insert(shdr.end(), 26, 0);
    const std::vector<std::uint8_t> noModulators(10, 0);

    std::vector<std::uint8_t> info, sdta, pdta;
    PutChunk(info, "ifil", {2, 0, 1, 0});
    PutChunk(info, "isng", {'E', 'M', 'U', '8', '0', '0', '0', 0});
    std::vector<std::uint8_t> name;
    PutText(name, "Zentrix sample bank");
    name.push_back(0);
    PutChunk(info, "INAM", name);
    PutChunk(sdta, "smpl", samples);
    PutChunk(pdta, "phdr", phdr);
    PutChunk(pdta, "pbag", pbag);
    PutChunk(pdta, "pmod", noModulators);
    PutChunk(pdta, "pgen", pgen);
    PutChunk(pdta, "inst", inst);
    PutChunk(pdta, "ibag", ibag);
    PutChunk(pdta, "imod", noModulators);
    PutChunk(pdta, "igen", igen);
    PutChunk(pdta, "shdr", shdr);
    std::vector<std::uint8_t> body;
    PutText(body, "sfbk");
    PutList(body, "INFO", info);
    PutList(body, "sdta", sdta);
    PutList(body, "pdta", pdta);
    out.clear();
    PutChunk(out, "RIFF", body);
    return true;
}

bool MakeBinary(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error) {
    out.clear();
    for (const std::string& word : args) {
        const std::size_t colon = word.find(':');
        const std::string type = word.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : word.substr(colon + 1);
        const char* first = value.data();
        const char* last = value.data() + value.size();
        if (type == "f32") {
            float f = 0.0f;
            const auto [end, ec] = std::from_chars(first, last, f);
            if (value.empty() || ec != std::errc() || end != last) {
                error = "binary: " + word + " is not a float";
                return false;
            }
            std::uint32_t bits = 0;
            std::memcpy(&bits, &f, sizeof bits);
            Put32(out, bits);
            continue;
        }
        long long n = 0;
        const auto [end, ec] = std::from_chars(first, last, n);
        struct Range {
            const char* type;
            long long low, high;
            int bytes;
        };
        static constexpr Range kRanges[] = {{"u8", 0, 255, 1},
                                            {"i16", -32768, 32767, 2},
                                            {"u32", 0, 4294967295LL, 4},
                                            {"i32", -2147483648LL, 2147483647LL, 4}};
        const Range* range = nullptr;
        for (const Range& r : kRanges)
            if (type == r.type)
                range = &r;
        if (range == nullptr) {
            error = "binary: " + word + " needs a type u8, i16, u32, i32 or f32 before its value";
            return false;
        }
        if (value.empty() || ec != std::errc() || end != last || n < range->low || n > range->high) {
            error = "binary: " + word + " is not a whole number that fits " + type;
            return false;
        }
        const auto bits = static_cast<std::uint32_t>(n);
        for (int i = 0; i < range->bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    return true;
}

} // namespace mkdata
