#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zentrix {

/// One driver's face animation script: for each of the 28 expressions the first and last frame of its
/// clip in the driver's face video, and a sound id per frame. A script is text, one entry a line:
///     {Happy=120-150}      frames 120 up to 150 show expression 13
///     {SOUND=125-54013}    sound 54013 belongs to frame 125
/// Anything else on a line is ignored; lines that do not read are skipped.
class CTauntScript {
public:
    static constexpr int kTagCount = 28;
    /// No tag (the monitor's current tag when it shows none).
    static constexpr int kNoTag = 28;
    /// Frames (and the per-frame sound table) run below this.
    static constexpr int kMaxFrames = 2000;
    /// A script longer than this is not read at all.
    static constexpr std::size_t kMaxBytes = 1 << 20;
    /// The key that opens each tag's line, in tag order.
    static const std::array<std::string_view, kTagCount> kTagKeys;
    static constexpr std::string_view kSoundKey = "{SOUND=";

    /// Every entry -1.
    CTauntScript();

    /// Forgets every entry, then reads `text`. Returns how many lines were dropped because a key on them
    /// did not read (numbers missing, not whole, out of range, or the closing brace absent); each such
    /// line is logged with `name` and its line number. A text over kMaxBytes is refused whole (logged)
    /// and counts as one dropped line.
    int Read(std::string_view text, const std::string& name);

    /// First and last frame of tag `tag` (-1 when unset or outside 0..27).
    int GetFirst(int tag) const;
    int GetLast(int tag) const;
    /// Whether both frames of the tag are set.
    bool HasTag(int tag) const { return GetFirst(tag) != -1 && GetLast(tag) != -1; }
    /// The sound id stored for frame `frame` (-1 when unset or outside 0..1999).
    int GetFrameSound(int frame) const;

    /// Reads "a-b}" at the start of `text`: two whole decimal numbers, each with optional spaces round
    /// it, without overflow; false when it does not read so.
    static bool ReadPair(std::string_view text, long long& a, long long& b);

private:
    std::array<int, kTagCount> m_first;
    std::array<int, kTagCount> m_last;
    std::array<int, kMaxFrames> m_sounds;
};

} // namespace zentrix
