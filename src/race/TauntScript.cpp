#include "race/TauntScript.h"

#include "platform/system/DebugOutput.h"

#include <charconv>
#include <limits>

namespace zentrix {

const std::array<std::string_view, CTauntScript::kTagCount> CTauntScript::kTagKeys = {
    "{NormalDriving=", "{LookLeft=",    "{LookRight=", "{Brake=",   "{TurnLeft=",       "{TurnRight=",
    "{Bumps=",         "{SevereBumps=", "{Jump=",      "{Impact=",  "{AccelerateHard=", "{Scared=",
    "{BarrelRoll=",    "{Happy=",       "{Yahoo=",     "{Angry=",   "{Reverse=",        "{Bored1=",
    "{Bored2=",        "{Waiting=",     "{Invisible=", "{Respawn=", "{Collision=",      "{HappyTaunt=",
    "{ImpactTaunt=",   "{AngryTaunt=",  "{Special=",   "{Landing="};

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

/// A whole decimal number, optionally signed, that fills `text` and fits a long long.
bool ReadWhole(std::string_view text, long long& out) {
    text = Trim(text);
    if (text.empty())
        return false;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (*begin == '+')
        ++begin;
    const auto [at, error] = std::from_chars(begin, end, out);
    return error == std::errc() && at == end;
}

bool IsFrame(long long n) {
    return n >= 0 && n < CTauntScript::kMaxFrames;
}

} // namespace

CTauntScript::CTauntScript() {
    m_first.fill(-1);
    m_last.fill(-1);
    m_sounds.fill(-1);
}

bool CTauntScript::ReadPair(std::string_view text, long long& a, long long& b) {
    const std::size_t close = text.find('}');
    if (close == std::string_view::npos)
        return false;
    text = text.substr(0, close);
    // The separator is the first dash after the first number's first character, so that "-5-7" is a
    // negative first number (refused by the range checks) rather than an empty one.
    const std::size_t dash = text.find('-', text.empty() ? 0 : 1);
    if (dash == std::string_view::npos)
        return false;
    return ReadWhole(text.substr(0, dash), a) && ReadWhole(text.substr(dash + 1), b);
}

int CTauntScript::Read(std::string_view text, const std::string& name) {
    *this = CTauntScript();
    if (text.size() > kMaxBytes) {
        plat::system::DebugOutput(name + ": taunt script of " + std::to_string(text.size()) +
                                  " bytes is too long; not read");
        return 1;
    }
    int dropped = 0;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;

        int tag = -1;
        std::size_t at = std::string_view::npos;
        for (int t = 0; t < kTagCount && tag == -1; ++t)
            if ((at = line.find(kTagKeys[static_cast<std::size_t>(t)])) != std::string_view::npos)
                tag = t;
        long long a = 0;
        long long b = 0;
        bool good = true;
        if (tag != -1) {
            good = ReadPair(line.substr(at + kTagKeys[static_cast<std::size_t>(tag)].size()), a, b) &&
                   IsFrame(a) && IsFrame(b);
            if (good) {
                m_first[static_cast<std::size_t>(tag)] = static_cast<int>(a);
                m_last[static_cast<std::size_t>(tag)] = static_cast<int>(b);
            }
        } else if ((at = line.find(kSoundKey)) != std::string_view::npos) {
            good = ReadPair(line.substr(at + kSoundKey.size()), a, b) && IsFrame(a) &&
                   b >= std::numeric_limits<int>::min() && b <= std::numeric_limits<int>::max();
            if (good)
                m_sounds[static_cast<std::size_t>(a)] = static_cast<int>(b);
        }
        if (!good) {
            ++dropped;
            plat::system::DebugOutput(name + " line " + std::to_string(lineNumber) +
                                      ": not a frame range of 0 to 1999; line skipped");
        }
    }
    return dropped;
}

int CTauntScript::GetFirst(int tag) const {
    return tag >= 0 && tag < kTagCount ? m_first[static_cast<std::size_t>(tag)] : -1;
}

int CTauntScript::GetLast(int tag) const {
    return tag >= 0 && tag < kTagCount ? m_last[static_cast<std::size_t>(tag)] : -1;
}

int CTauntScript::GetFrameSound(int frame) const {
    return frame >= 0 && frame < kMaxFrames ? m_sounds[static_cast<std::size_t>(frame)] : -1;
}

} // namespace zentrix
