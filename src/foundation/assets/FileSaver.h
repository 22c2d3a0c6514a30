#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// The game's own writable files (saved tracks, campaign tracks, track pictures): numbered folder slots
/// and whole-file operations on plain names inside them. A name is never a path: one that is empty or
/// holds "..", a separator or a drive colon is refused, so typed names cannot leave their folder.
class CFileSaver {
public:
    /// The slots the asset manager sets at start-up.
    enum ESlot {
        kWorking = 0,
        kSavedTracks = 1,
        kFloppy = 2,
        kSavedImages = 3,
        kCampaignTracks = 4,
        kGameTracks = 5,
        kGameImages = 6,
        kSlotCount = 7
    };

    CFileSaver();

    /// Stores path in the slot, with a trailing "\" added when it has none; other slots are ignored.
    void SetSlot(std::string_view path, int slot);
    /// The slot's path ("" for a slot outside 0..6).
    const std::string& GetSlot(int slot) const;
    /// The slot's path followed by name.
    std::string GetFullPath(int slot, std::string_view name) const;

    /// Writes the file, creating the slot's folders first. The old file is replaced atomically, so a
    /// failed write leaves it as it was.
    bool SaveFile(std::string_view name, int slot, const std::uint8_t* bytes, std::size_t size);
    /// Reads the whole file into out (emptied on failure).
    bool LoadFile(int slot, std::string_view name, std::vector<std::uint8_t>& out) const;
    /// Deletes the file.
    bool DeleteFile(int slot, std::string_view name) const;
    /// Copies a file over any existing target, atomically; the target is never left read-only.
    bool CopyFile(int sourceSlot, std::string_view sourceName, int targetSlot,
                  std::string_view targetName) const;
    /// Appends the names in the slot's folder that match pattern ("*.*" when null); false, with nothing
    /// appended, when nothing matches or the folder is missing.
    bool ScanDirectory(std::vector<std::string>& out, int slot, const char* pattern = nullptr) const;
    /// True when the drive of the slot (its path up to its first "\") can be read; error (when given)
    /// receives 0, or the system's error number of the failure (2 not found, 3 path not found, 5 other).
    bool FileExists(int slot, int* error = nullptr) const;

    /// True for a plain file name: not empty, no "..", "\", "/" or ":".
    static bool IsPlainName(std::string_view name);
    /// Creates every folder of path up to its last separator (the root excluded); true when every
    /// creation succeeded (one that exists already counts as a failure, as the system reports it).
    static bool CreateFolders(std::string_view path);

private:
    static bool InRange(int slot) { return slot >= 0 && slot < kSlotCount; }
    /// A slot that has been set: an unset one would put files in the current directory.
    bool ValidSlot(int slot) const {
        return InRange(slot) && !m_slots[static_cast<std::size_t>(slot)].empty();
    }

    std::vector<std::string> m_slots;
};

} // namespace zentrix
