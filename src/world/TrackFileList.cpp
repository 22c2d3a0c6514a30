#include "world/TrackFileList.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/assets/FileSaver.h"
#include "platform/fs/FileSystem.h"
#include "world/TrackFileImage.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <cctype>

namespace zentrix {

namespace {

constexpr std::size_t kMaxBaseName = 258;

CAssetMan* Assets() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
}

std::uint32_t Get32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

} // namespace

CTrackFileList::~CTrackFileList() {
    CTrackFileList::Clear();
}

bool CTrackFileList::Init() {
    Clear();
    m_ready = true;
    return true;
}

void CTrackFileList::Clear() {
    m_ready = false;
    m_entries.clear();
    m_names.clear();
}

void CTrackFileList::Rebuild(std::uint32_t folder, std::uint32_t mask) {
    Init();
    ListFolder(folder, mask, true);
}

void CTrackFileList::Build(std::uint32_t folder, std::uint32_t mask) {
    ListFolder(folder, mask, false);
}

void CTrackFileList::ListFolder(std::uint32_t folder, std::uint32_t mask, bool rebuilding) {
    ScanNames(folder);
    const SWorldLinks& links = CWorldMan::GetLinks();
    for (const std::string& name : m_names) {
        auto entry = std::make_unique<TrackFileEntry>();
        if (!ReadEntry(name, folder, *entry) || !Accepts(*entry, mask))
            continue;
        // The last campaign track stays hidden from the lists until the campaign reaches it.
        if (rebuilding && folder == kCampaignFolder && EqualNoCase(entry->name, kLastCampaignTrack) &&
            (links.unlockStage ? links.unlockStage() : 0) != kLastUnlockStage)
            continue;
        AddEntry(std::move(entry));
    }
    m_names.clear();
}

void CTrackFileList::ScanNames(std::uint32_t folder) {
    m_names.clear();
    if (CAssetMan* assets = Assets())
        assets->ScanDirectory(m_names, static_cast<int>(folder));
    SortNames(m_names);
    std::erase_if(m_names, [](const std::string& name) { return !IsTrackFileName(name); });
}

void CTrackFileList::SortNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(), LessNoCase);
}

const TrackFileEntry* CTrackFileList::GetEntry(int i) const {
    return i >= 0 && i < GetCount() ? m_entries[static_cast<std::size_t>(i)].get() : nullptr;
}

int CTrackFileList::Find(std::string_view name) const {
    for (int i = GetCount() - 1; i >= 0; --i)
        if (EqualNoCase(m_entries[static_cast<std::size_t>(i)]->name, name))
            return i;
    return -1;
}

bool CTrackFileList::AddEntry(std::unique_ptr<TrackFileEntry> entry) {
    if (entry)
        m_entries.push_back(std::move(entry));
    return true;
}

bool CTrackFileList::IsTrackFileName(std::string_view name) {
    if (name == "." || name == ".." || EqualNoCase(name, kAutoSaveName) || name.size() <= 4)
        return false;
    return name.ends_with(".trk");
}

bool CTrackFileList::GetBaseName(std::string_view path, std::string& out) {
    if (path.size() < 5 || !path.ends_with(".trk"))
        return false;
    const std::size_t separator = path.find_last_of("\\/:");
    const std::size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    const std::string_view name = path.substr(start, path.size() - 4 - start);
    if (name.size() > kMaxBaseName)
        return false;
    out.assign(name);
    return true;
}

bool CTrackFileList::Accepts(const TrackFileEntry& entry, std::uint32_t mask) {
    if (!(mask & kBrokenRoute) && entry.routeFlag == 0)
        return false;
    // A shift by a negative index or by 8 or more has no bit in the mask's low byte.
    if (entry.gridSizeIndex < 0 || entry.gridSizeIndex > 7 || !((1u << entry.gridSizeIndex) & mask & 0xFFu))
        return false;
    if (((mask & kNoJungle) && entry.theme == 0) || ((mask & kNoIce) && entry.theme == 1))
        return false;
    return true;
}

bool CTrackFileList::ReadEntryFromImage(std::span<const std::uint8_t> image, TrackFileEntry& entry) {
    entry.gridSizeIndex = -1;
    entry.theme = -1;
    if (image.size() != CTrackFileImage::kSize)
        return false;
    // Signature and version are not asked: images of versions 4 and 5 are listed alike.
    entry.gridSizeIndex = static_cast<std::int32_t>(Get32(image, CTrackFileImage::kGridSizeOffset));
    entry.theme = static_cast<std::int32_t>(Get32(image, CTrackFileImage::kThemeOffset));
    entry.routeFlag = image[CTrackFileImage::kRouteFlagOffset];
    return true;
}

bool CTrackFileList::ReadEntry(std::string_view fileName, std::uint32_t folder, TrackFileEntry& entry) {
    entry.gridSizeIndex = -1;
    entry.theme = -1;
    CAssetMan* assets = Assets();
    CFileSaver* files = assets ? assets->GetFileSaver() : nullptr;
    std::string name;
    if (!files || !CFileSaver::IsPlainName(fileName) || !GetBaseName(fileName, name))
        return false;
    // The size is asked first: only a file that can be a track image is read at all.
    const plat::fs::SizeResult size =
        plat::fs::FileSize(files->GetFullPath(static_cast<int>(folder), fileName));
    if (size.error != plat::fs::Error::kNone || size.size != CTrackFileImage::kSize)
        return false;
    std::vector<std::uint8_t> bytes;
    if (!assets->LoadFile(static_cast<int>(folder), fileName, bytes) || !ReadEntryFromImage(bytes, entry))
        return false;
    entry.name = std::move(name);
    entry.fileName.assign(fileName);
    entry.folder = folder;
    return true;
}

bool CTrackFileList::ReadAutoSaveInfo(TrackFileEntry& entry) {
    return ReadEntry(kAutoSaveName, kAutoSaveFolder, entry);
}

} // namespace zentrix
