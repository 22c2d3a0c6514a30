#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// One listed track file.
struct TrackFileEntry {
    /// The file name without folders and without ".trk".
    std::string name;
    /// The name as the folder scan gave it.
    std::string fileName;
    /// From offset 20 of the file; -1 when the file was not read.
    std::int32_t gridSizeIndex = -1;
    /// From offset 24; -1 when the file was not read.
    std::int32_t theme = -1;
    /// The byte at offset 65572: 1 for a closed route.
    std::uint8_t routeFlag = 0;
    /// The file service's folder slot.
    std::uint32_t folder = 0;
};

/// The track files of one or more folders of the file service, for the track browser and the editor's
/// panels: every file named "*.trk" of exactly the size of a track image, in name order (case aside),
/// with its grid size, theme and route flag, filtered by a mask.
class CTrackFileList {
public:
    /// Mask bits: admit 8 x 8 tracks, admit 16 x 16 tracks, admit tracks with a broken route, leave out
    /// jungle tracks, leave out ice tracks.
    static constexpr std::uint32_t kSmallGrid = 0x1;
    static constexpr std::uint32_t kLargeGrid = 0x2;
    static constexpr std::uint32_t kBrokenRoute = 0x4;
    static constexpr std::uint32_t kNoJungle = 0x100;
    static constexpr std::uint32_t kNoIce = 0x200;
    /// The campaign folder and the track in it that waits for the campaign's last unlock stage.
    static constexpr std::uint32_t kCampaignFolder = 4;
    static constexpr const char* kLastCampaignTrack = "camp21";
    static constexpr int kLastUnlockStage = 21;
    /// The editor's auto-saved track and its folder.
    static constexpr const char* kAutoSaveName = "AutoSaved.trk";
    static constexpr std::uint32_t kAutoSaveFolder = 1;

    CTrackFileList() = default;
    virtual ~CTrackFileList();
    CTrackFileList(const CTrackFileList&) = delete;
    CTrackFileList& operator=(const CTrackFileList&) = delete;

    /// Clear, then the list is ready; true.
    virtual bool Init();
    /// Not ready; no entries and no names.
    virtual void Clear();
    bool IsReady() const { return m_ready; }

    /// Init, then the folder's tracks that the mask admits; the last campaign track only at the last
    /// unlock stage.
    void Rebuild(std::uint32_t folder, std::uint32_t mask);
    /// Appends the folder's tracks that the mask admits to the entries held.
    void Build(std::uint32_t folder, std::uint32_t mask);

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    /// Entry i; null outside the list.
    const TrackFileEntry* GetEntry(int i) const;
    /// The index of the last entry of that name, case aside; -1 when none.
    int Find(std::string_view name) const;
    /// Takes the entry; true.
    bool AddEntry(std::unique_ptr<TrackFileEntry> entry);

    /// Reads a track file's entry: only a file of exactly the size of a track image is read. False (grid
    /// size index and theme -1) otherwise.
    static bool ReadEntry(std::string_view fileName, std::uint32_t folder, TrackFileEntry& entry);
    /// The entry of the editor's auto-saved track.
    static bool ReadAutoSaveInfo(TrackFileEntry& entry);
    /// Fills an entry from a track image's bytes (grid size index, theme, route flag); false, with -1 for
    /// both, unless it is exactly a track image's size.
    static bool ReadEntryFromImage(std::span<const std::uint8_t> image, TrackFileEntry& entry);

    /// Whether a scanned name is a track file: ".trk" in lower case after at least one character, and
    /// not the auto-saved track (any case), "." or "..".
    static bool IsTrackFileName(std::string_view name);
    /// The name between the last "\", "/" or ":" and the final ".trk" (lower case); false for a path of
    /// fewer than 5 characters, another ending or a name longer than 258 characters.
    static bool GetBaseName(std::string_view path, std::string& out);
    /// Whether the mask admits the entry; only grid size indexes 0 to 7 have a bit.
    static bool Accepts(const TrackFileEntry& entry, std::uint32_t mask);
    /// Names in order without regard to case; names equal but for case keep their order.
    static void SortNames(std::vector<std::string>& names);

private:
    void ScanNames(std::uint32_t folder);
    void ListFolder(std::uint32_t folder, std::uint32_t mask, bool rebuilding);

    bool m_ready = false;
    std::vector<std::string> m_names;
    std::vector<std::unique_ptr<TrackFileEntry>> m_entries;
};

} // namespace zentrix
