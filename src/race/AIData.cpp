#include "race/AIData.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "platform/fs/FileSystem.h"
#include "platform/system/DebugOutput.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zentrix {

namespace {

// The text files of cars 60000 to 60012, in the folder "AIData".
constexpr const char* kTextFiles[] = {
    "bugracer.txt", "scorpion.txt", "bluemon.txt", "muscle.txt", "radium.txt",   "f1speed.txt", "viper.txt",
    "hotrod.txt",   "dragster.txt", "robot.txt",   "rocket.txt", "greenmon.txt", "xcar.txt"};

// A key of the text files, its range and where its value goes; looked for in this order.
struct Key {
    const char* name;
    int low, high;
    void (*store)(CAIData::SBlock&, int);
};
constexpr int kNoUpperBound = 0x7FFFFFFF;
constexpr Key kKeys[] = {
    {"[Reflex]", 0, kNoUpperBound,
     [](CAIData::SBlock& b, int v) { b.reflex = static_cast<std::uint32_t>(v); }},
    {"[RacingLine]", 0, 100, [](CAIData::SBlock& b, int v) { b.racingLine = static_cast<std::uint8_t>(v); }},
    {"[Overtaking]", 0, 100, [](CAIData::SBlock& b, int v) { b.overtaking = static_cast<std::int16_t>(v); }},
    {"[Blocking]", 0, 100, [](CAIData::SBlock& b, int v) { b.blocking = static_cast<std::uint8_t>(v); }},
    {"[CutsCorners]", 0, 100,
     [](CAIData::SBlock& b, int v) { b.cutsCorners = static_cast<std::uint8_t>(v); }},
    {"[Craziness]", 0, 100, [](CAIData::SBlock& b, int v) { b.craziness = static_cast<std::uint8_t>(v); }},
    {"[Speed]", 0, 100, [](CAIData::SBlock& b, int v) { b.speed = static_cast<std::int16_t>(v); }},
    {"[Braking]", 0, 200, [](CAIData::SBlock& b, int v) { b.braking = static_cast<std::int16_t>(v); }},
    {"[Intelligence]", 0, 100,
     [](CAIData::SBlock& b, int v) { b.intelligence = static_cast<std::uint8_t>(v); }},
};

void Put(CAIData::Bytes& out, std::size_t offset, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get(const CAIData::Bytes& in, std::size_t offset, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint32_t>(in[offset + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

// One piece of a line as a C string holds it: up to its first NUL.
void ApplyLine(std::string_view line, CAIData::SBlock& block) {
    line = line.substr(0, line.find('\0'));
    for (const Key& key : kKeys) {
        if (line.find(key.name) == std::string_view::npos)
            continue;
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos)
            key.store(block,
                      std::clamp(CAppSettings::LeadingInt(line.substr(equals + 1)), key.low, key.high));
        return;
    }
}

} // namespace

CAIData::Bytes CAIData::ToBytes(const SBlock& block) {
    Bytes out{};
    Put(out, 0, block.unused0, 4);
    Put(out, 4, block.racingLine, 1);
    Put(out, 5, block.unused5, 1);
    Put(out, 6, static_cast<std::uint16_t>(block.braking), 2);
    Put(out, 8, static_cast<std::uint16_t>(block.overtaking), 2);
    Put(out, 10, static_cast<std::uint16_t>(block.speed), 2);
    Put(out, 12, block.reflex, 4);
    Put(out, 16, block.blocking, 1);
    Put(out, 17, block.cutsCorners, 1);
    Put(out, 18, block.intelligence, 1);
    Put(out, 19, block.craziness, 1);
    return out;
}

void CAIData::CopyBytes(std::span<const std::uint8_t> bytes, SBlock& block) {
    // A short block overwrites only the bytes it has; the rest keep what the block held.
    Bytes raw = ToBytes(block);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kBlockSize), raw.begin());
    block.unused0 = Get(raw, 0, 4);
    block.racingLine = static_cast<std::uint8_t>(Get(raw, 4, 1));
    block.unused5 = static_cast<std::uint8_t>(Get(raw, 5, 1));
    block.braking = static_cast<std::int16_t>(Get(raw, 6, 2));
    block.overtaking = static_cast<std::int16_t>(Get(raw, 8, 2));
    block.speed = static_cast<std::int16_t>(Get(raw, 10, 2));
    block.reflex = Get(raw, 12, 4);
    block.blocking = static_cast<std::uint8_t>(Get(raw, 16, 1));
    block.cutsCorners = static_cast<std::uint8_t>(Get(raw, 17, 1));
    block.intelligence = static_cast<std::uint8_t>(Get(raw, 18, 1));
    block.craziness = static_cast<std::uint8_t>(Get(raw, 19, 1));
}

void CAIData::Clamp(SBlock& block) {
    // The reflex time is unsigned and has no upper bound: any value is a time between decisions.
    block.racingLine = std::min<std::uint8_t>(block.racingLine, 100);
    block.braking = std::clamp<std::int16_t>(block.braking, 0, 200);
    block.overtaking = std::clamp<std::int16_t>(block.overtaking, 0, 100);
    block.speed = std::clamp<std::int16_t>(block.speed, 0, 100);
    block.blocking = std::min<std::uint8_t>(block.blocking, 100);
    block.cutsCorners = std::min<std::uint8_t>(block.cutsCorners, 100);
    block.intelligence = std::min<std::uint8_t>(block.intelligence, 100);
    block.craziness = std::min<std::uint8_t>(block.craziness, 100);
}

void CAIData::ReadText(std::string_view text, SBlock& block) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A piece ends after its line end or when the line buffer is full.
        std::size_t end = pos;
        bool lineEnd = false;
        while (end < text.size() && end - pos < kLinePiece)
            if (text[end++] == '\n') {
                lineEnd = true;
                break;
            }
        // A piece that ran into the end of the file is not read.
        if (!lineEnd && end - pos < kLinePiece)
            return;
        ApplyLine(text.substr(pos, end - pos), block);
        pos = end;
    }
}

std::string CAIData::TextFileName(int carId) {
    if (carId < kFirstCarId || carId > kLastTextCarId)
        return {};
    return std::string("AIData\\") + kTextFiles[carId - kFirstCarId];
}

bool CAIData::LoadAIData(int carId) {
    if (!m_assets)
        return false;
    std::vector<std::uint8_t> bytes;
    if (m_assets->GetAssetData(carId - kAssetIdOffset, bytes) && !bytes.empty()) {
        if (bytes.size() != kBlockSize)
            plat::system::DebugOutput("AI data of car " + std::to_string(carId) + ": a block of " +
                                      std::to_string(bytes.size()) +
                                      " bytes, not 20; the bytes it has are taken");
        CopyBytes(bytes, m_block);
        Clamp(m_block);
        return true;
    }
    return LoadFromText(carId);
}

bool CAIData::LoadFromText(int carId) {
    const std::string name = TextFileName(carId);
    char resourcePath[1024] = {};
    if (name.empty() || !m_assets->GetResourcePath(resourcePath, sizeof resourcePath))
        return false;
    const std::string path = resourcePath + name;
    const plat::fs::SizeResult size = plat::fs::FileSize(path);
    if (size.error != plat::fs::Error::kNone)
        return false;
    if (size.size > kMaxTextBytes) {
        plat::system::DebugOutput(path + ": " + std::to_string(size.size) +
                                  " bytes, more than an AI text file " + "may hold; not read");
        return false;
    }
    plat::fs::ReadResult read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone) {
        plat::system::DebugOutput(path + ": cannot be read");
        return false;
    }
    // Read as text: CR LF is a line end.
    std::string text;
    text.reserve(read.bytes.size());
    for (std::size_t i = 0; i < read.bytes.size(); ++i)
        if (!(read.bytes[i] == '\r' && i + 1 < read.bytes.size() && read.bytes[i + 1] == '\n'))
            text.push_back(static_cast<char>(read.bytes[i]));
    ReadText(text, m_block);
    Clamp(m_block);

    // The copy beside it replaces any older one whole, so a failed write leaves the old copy as it was.
    const std::string binPath = path.substr(0, path.size() - 4) + ".bin";
    const Bytes block = ToBytes(m_block);
    if (plat::fs::ReplaceFile(binPath, block) != plat::fs::Error::kNone) {
        plat::system::DebugOutput(binPath + ": cannot be written");
        return false;
    }
    return true;
}

} // namespace zentrix
