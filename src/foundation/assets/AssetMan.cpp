#include "foundation/assets/AssetMan.h"

#include "foundation/assets/AWOAsset.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/assets/CarAsset.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/assets/WorldObjectAsset.h"
#include "foundation/base/AppSettings.h"
#include "foundation/data/DataFile.h"
#include "foundation/data/DataFileCache.h"
#include "foundation/resources/JovConfigEditor.h"
#include "foundation/resources/ResourceConfig.h"
#include "foundation/resources/ResourceLibrary.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/GamePath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace zentrix {

namespace {

constexpr const char* kLibraryNames[CAssetMan::kLibraryCount] = {
    "[Library]", "[Library2]", "[Library3]", "[Library4]", "[Library5]", "[Library6]", "[Library7]"};
// Library indexes of kLibraryNames.
constexpr int kMainLibrary = 0, kLibrary2 = 1, kLibrary3 = 2, kCityLibrary = 3, kDesertLibrary = 4,
              kJungleLibrary = 5, kIceLibrary = 6;

constexpr const char* kProductName = "KAVO Zentrix";
constexpr int kDictionaryAsset = 1;
constexpr int kFormatAsset = 2;
constexpr int kFontAsset = 6999;
constexpr int kPieceListAsset = 40004;
constexpr int kRaceLoadAsset = 40006;
constexpr std::size_t kPathCapacity = 1284;

// Font heights of fonts 0..3: video mode 0, then modes 1 and 2.
constexpr int kFontHeights[2][CAssetMan::kFontCount] = {{14, 38, 19, 78}, {18, 48, 24, 96}};

// Per world theme 0..3: jungle, ice, desert, city.
constexpr int kStartPiece[4] = {15205, 16200, 18205, 17200};
constexpr int kWorldBase[4] = {15270, 16270, 18270, 17270};
constexpr int kBasePlate[4][2] = {{15290, 15291}, {16290, 16291}, {18290, 18291}, {17290, 17291}};
constexpr int kWorldAssets[4][14] = {
    {-1, 15292, 15294, 15295, 15230, 15231, 15232, 1190, 1191, 1192, 1175, 1176, 1177, 1193},
    {-1, 16292, 16294, 16295, 16230, 16231, 16232, 2102, 2142, 2140, 2143, 2141, 2139, 2144},
    {-1, 18292, 18294, 18295, 18230, 18231, 18232, 4103, 4203, 4201, 4204, 4202, 4210, 4205},
    {-1, 17292, 17294, 17295, 17230, 17231, 17232, 3113, 3112, 3111, 3175, 3174, 3177, 3114},
};

/// The library holding the assets of an id's world range; -1 outside the world ranges.
int WorldLibraryOf(int id) {
    if (id >= 15000 && id <= 15999)
        return kJungleLibrary;
    if (id >= 16000 && id <= 16999)
        return kIceLibrary;
    if (id >= 17000 && id <= 17999)
        return kCityLibrary;
    if (id >= 18000 && id <= 18999)
        return kDesertLibrary;
    return -1;
}

/// The path without its first n components; nullopt when it has fewer than n separators.
std::optional<std::string_view> PathAfter(std::string_view path, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t separator = path.find_first_of("\\/", start);
        if (separator == std::string_view::npos)
            return std::nullopt;
        start = separator + 1;
    }
    return path.substr(start);
}

/// The path with its last four characters (an extension) replaced; nullopt for a shorter path.
std::optional<std::string> ReplaceLastFour(std::string_view path, std::string_view extension) {
    if (path.size() < 4)
        return std::nullopt;
    return std::string(path.substr(0, path.size() - 4)) + std::string(extension);
}

/// A game path as the system writes it, for messages.
std::string Native(std::string_view path) {
    const std::string native = plat::fs::Resolve(path).native;
    return native.empty() ? std::string(path) : native;
}

/// The bytes up to the first NUL, or all of them.
std::string TextUpToNul(const std::vector<std::uint8_t>& bytes) {
    const void* nul = bytes.empty() ? nullptr : std::memchr(bytes.data(), 0, bytes.size());
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - bytes.data()) : bytes.size();
    return std::string(reinterpret_cast<const char*>(bytes.data()), length);
}

/// A loose file's bytes; false for a missing, unreadable or empty file.
bool ReadLooseFile(std::string_view path, std::vector<std::uint8_t>& out) {
    plat::fs::ReadResult read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone || read.bytes.empty())
        return false;
    out = std::move(read.bytes);
    return true;
}

} // namespace

CAssetMan::CAssetMan(SLinks links) : m_links(std::move(links)), m_sounds(20000) {}

CAssetMan::~CAssetMan() {
    if (m_started)
        StopManager();
}

// ---- lifecycle ----

int CAssetMan::StartManager() {
    m_started = true;
    m_startProblems.clear();

    m_config = std::make_unique<CResourceConfig>("resource.cfg");
    for (int i = 0; i < kLibraryCount; ++i) {
        CResourceLibrary* library = m_config->OpenLibrary(kLibraryNames[i]);
        m_libraries[static_cast<std::size_t>(i)] = library;
        if (library)
            m_startProblems.insert(m_startProblems.end(), library->GetProblems().begin(),
                                   library->GetProblems().end());
    }

    m_table = std::make_unique<CJovConfigEditor>();
    m_table->SetErrorCallback([this](const std::string& text) {
        if (m_links.host)
            m_links.host->ShowMessage("JovConfig error", text);
    });

    std::string work = plat::fs::CurrentDirectory();
    if (work.empty() || !plat::fs::IsSeparator(work.back()))
        work += '\\';
    if (!m_table->SetDataFile((work + "VORN.rtb").c_str())) {
        m_startProblems.push_back(Native(work + "VORN.rtb") +
                                  ": the resource table is missing or unreadable");
        if (m_links.host)
            m_links.host->ShowMessage(kProductName, "Resource file missing!");
        return 1;
    }

    // Without a resource path the table keeps no local directory and assets resolve from the current one.
    char resourcePath[kPathCapacity] = "";
    if (GetResourcePath(resourcePath, sizeof resourcePath))
        m_table->SetDirectoryPath(CJovConfig::kLocal, resourcePath);

    InstallFonts(work);
    m_world = 0;

    if (m_links.makeGraphicsCaches)
        m_graphics = m_links.makeGraphicsCaches(*this);
    m_fileSaver = std::make_unique<CFileSaver>();
    m_dataFiles = std::make_unique<CDataFileCache>(m_dictionary, *this);

    m_fileSaver->SetSlot(work, CFileSaver::kWorking);
    m_fileSaver->SetSlot(work + "CampaignTracks", CFileSaver::kCampaignTracks);
    m_fileSaver->SetSlot(work + "GameTracks", CFileSaver::kGameTracks);
    m_fileSaver->SetSlot(m_fileSaver->GetSlot(CFileSaver::kGameTracks) + "Images", CFileSaver::kGameImages);
    m_fileSaver->SetSlot(work + "SavedTracks", CFileSaver::kSavedTracks);
    m_fileSaver->SetSlot(m_fileSaver->GetSlot(CFileSaver::kSavedTracks) + "Images", CFileSaver::kSavedImages);
    m_fileSaver->SetSlot("a:\\", CFileSaver::kFloppy);

    LoadTable(kDictionaryAsset, "the data dictionary", &CDataDictionary::LoadFromMemory);
    LoadTable(kFormatAsset, "the format table", &CDataDictionary::LoadFormatsFromMemory);

    if (m_links.engine)
        m_links.engine->SetUserTextureLoadFunction([this](const char* fileName) {
            return m_graphics ? m_graphics->EngineTextureCallback(fileName) : nullptr;
        });

    FillPieceLists();

    if (m_links.makeScriptCache)
        m_scriptCache = m_links.makeScriptCache(*this);
    if (m_scriptCache)
        m_scriptCache->Init();
    return 0;
}

void CAssetMan::LoadTable(int assetId, const char* what,
                          bool (CDataDictionary::*load)(const std::uint8_t*, std::size_t)) {
    std::vector<std::uint8_t> block;
    const bool found = GetAssetData(assetId, block);
    if ((m_dictionary.*load)(block.data(), block.size()))
        return;
    m_startProblems.push_back(DescribeUnreadable(assetId, what));
    // Without the format table no data file can be read; the frame loop ends at its next pump.
    if (assetId == kFormatAsset && !found && m_links.host)
        m_links.host->PostQuit();
}

std::string CAssetMan::DescribeUnreadable(int assetId, const std::string& what) {
    std::string relative;
    if (!GetAssetRelativePath(assetId, relative))
        return "asset " + std::to_string(assetId) + " (" + what + "): the resource table " +
               Native("VORN.rtb") + " does not list it";
    // Held where GetAssetData looks for it, or not at all.
    const auto holds = [this](int library, std::optional<std::string_view> name) {
        return name && Library(library) && Library(library)->FindEntry(*name);
    };
    const int worldLibrary = WorldLibraryOf(assetId);
    std::string full;
    const bool stored = (worldLibrary >= 0 && holds(worldLibrary, PathAfter(relative, 2))) ||
                        holds(kMainLibrary, relative) || holds(kLibrary2, PathAfter(relative, 1)) ||
                        holds(kLibrary3, PathAfter(relative, 1)) ||
                        (GetAssetPath(assetId, full) && plat::fs::Exists(full));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const std::string name = relative + " (" + what + ", asset " + std::to_string(assetId) + ")";
    if (stored)
        return name + ": it is damaged";
    return name + ": it is in no library that " + Native("resource.cfg") +
           " names, and no file under the resource folder";
}

int CAssetMan::StopManager() {
    const auto empty = [](auto& slots) {
        while (!slots.empty())
            slots.pop_back();
    };
    empty(m_sounds);
    empty(m_music);
    empty(m_plainAssets);
    empty(m_activeAssets);
    empty(m_carAssets);

    RemoveFonts();

    m_table.reset();
    m_graphics.reset();
    m_dataFiles.reset();
    if (m_scriptCache)
        m_scriptCache->Clear();
    m_scriptCache.reset();
    m_fileSaver.reset();

    for (CResourceLibrary*& library : m_libraries) {
        if (library && m_config)
            m_config->CloseLibrary(library);
        library = nullptr;
    }
    m_config.reset();
    m_started = false;
    return 0;
}

void CAssetMan::InstallFonts(const std::string& workingFolder) {
    // The font file goes to the "Path" folder; without one (a fresh settings file has none), to the
    // working folder, which ends with its separator.
    std::string folder;
    if (m_links.settings && m_links.settings->GetString("Path", folder) && !folder.empty())
        m_fontPath = folder + "\\" + kFontFileName;
    else
        m_fontPath = workingFolder + kFontFileName;

    // A font file that cannot be written or registered leaves the faces to the font service's fallback.
    std::vector<std::uint8_t> bytes;
    GetAssetData(kFontAsset, bytes);
    plat::fs::WriteWholeFile(m_fontPath, bytes);
    if (plat::fs::Exists(m_fontPath) && m_links.fonts)
        m_links.fonts->AddFontFile(m_fontPath);

    if (!m_links.fonts)
        return;
    const int videoMode = m_links.host ? m_links.host->GetVideoMode() : 0;
    const int* heights = kFontHeights[videoMode == 1 || videoMode == 2 ? 1 : 0];
    // Made in the order 1, 0, 2, 3. Font 3 is asked heavier; the face's file is bold for all four.
    for (int index : {1, 0, 2, 3})
        m_fonts[static_cast<std::size_t>(index)] = m_links.fonts->CreateFont(kFontFace, heights[index]);
}

void CAssetMan::RemoveFonts() {
    for (std::unique_ptr<plat::text::Font>& font : m_fonts)
        font.reset();
    if (m_fontPath.empty())
        return;
    if (m_links.fonts)
        m_links.fonts->RemoveFontFile(m_fontPath);
    if (plat::fs::Exists(m_fontPath))
        plat::fs::DeleteFile(m_fontPath);
    m_fontPath.clear();
}

plat::text::Font* CAssetMan::GetFont(int index) const {
    return index >= 0 && index < kFontCount ? m_fonts[static_cast<std::size_t>(index)].get() : nullptr;
}

void CAssetMan::SetWorld(int world, bool quiet) {
    // Any value is kept (a cleared race set-up passes -1, track files carry the theme as an untrusted
    // byte); every lookup by world answers "none" for one that is not a theme.
    m_world = world;
    if (!quiet && m_links.engine) {
        m_links.engine->SetBackgroundColour(m_world);
        m_links.engine->SetupLighting();
    }
}

void CAssetMan::PreloadRaceAssets() {
    for (TDataID list = 396; list <= 399; ++list) {
        // Each list ends with -1; one stored without it ends with its stored elements.
        const int count = GetFieldCount(kRaceLoadAsset, list);
        for (int element = 0; element < count; ++element) {
            int id = -1;
            if (!GetInt(kRaceLoadAsset, list, id, element) || id == -1)
                break;
            if (list == 396 && m_scriptCache)
                m_scriptCache->GetResourceScript(id);
            else if (list == 398)
                GetTexture(id);
            else if (list == 399)
                GetDataFile(id);
        }
    }
}

void CAssetMan::FreeSoundsOwnedBy(int owner) {
    for (std::unique_ptr<ISoundAsset>& sound : m_sounds)
        if (sound && sound->GetOwner() == owner)
            sound.reset();
}

int CAssetMan::GetCurrentWorldId() const {
    return m_links.host ? m_links.host->GetCurrentWorldId() : -1;
}

// ---- typed values ----

CDataFile* CAssetMan::GetDataFile(int assetId) {
    return m_dataFiles ? m_dataFiles->GetDataFile(assetId) : nullptr;
}

bool CAssetMan::GetInt(int assetId, TDataID dataId, int& out, int element) {
    const CDataFile* file = GetDataFile(assetId);
    return file && file->GetInt(dataId, out, element);
}

bool CAssetMan::GetFloat(int assetId, TDataID dataId, float& out, int element) {
    const CDataFile* file = GetDataFile(assetId);
    return file && file->GetFloat(dataId, out, element);
}

bool CAssetMan::GetVector(int assetId, TDataID dataId, CVector& out, int element) {
    const CDataFile* file = GetDataFile(assetId);
    return file && file->GetVector(dataId, out, element);
}

bool CAssetMan::GetString(int assetId, TDataID dataId, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0)
        return false;
    buffer[0] = '\0';
    const CDataFile* file = GetDataFile(assetId);
    return file && file->GetText(dataId, buffer, size);
}

int CAssetMan::GetFieldCount(int assetId, TDataID dataId) {
    const CDataFile* file = GetDataFile(assetId);
    return file ? file->GetCount(dataId) : 0;
}

int CAssetMan::ObjectKindOfFormat(int formatId) {
    if (formatId >= 1 && formatId <= 9)
        return formatId - 1;
    if (formatId >= 17 && formatId <= 22)
        return formatId;
    switch (formatId) {
    case 10:
        return 12;
    case 12:
        return 16;
    case 13:
        return 11;
    case 15:
        return 14;
    case 16:
        return 15;
    case 26:
        return 23;
    default:
        return -1;
    }
}

int CAssetMan::GetObjectKind(int assetId) {
    int format = 0;
    return GetInt(assetId, 0, format) ? ObjectKindOfFormat(format) : -1;
}

// ---- raw data, texts, paths ----

bool CAssetMan::ExtractFrom(int libraryIndex, std::string_view name, std::vector<std::uint8_t>& out) const {
    CResourceLibrary* library = Library(libraryIndex);
    if (!library)
        return false;
    std::optional<std::vector<std::uint8_t>> bytes = library->Extract(name);
    if (!bytes || bytes->empty())
        return false;
    out = std::move(*bytes);
    return true;
}

bool CAssetMan::GetAssetData(int assetId, std::vector<std::uint8_t>& out) {
    out.clear();
    if (assetId <= 0 || !m_table)
        return false;
    std::string relative;
    if (m_table->GetPath(static_cast<std::uint32_t>(assetId), relative, false)) {
        const int worldLibrary = WorldLibraryOf(assetId);
        const std::optional<std::string_view> afterSecond = PathAfter(relative, 2);
        const std::optional<std::string_view> afterFirst = PathAfter(relative, 1);
        if ((worldLibrary >= 0 && afterSecond && ExtractFrom(worldLibrary, *afterSecond, out)) ||
            ExtractFrom(kMainLibrary, relative, out) ||
            (afterFirst &&
             (ExtractFrom(kLibrary2, *afterFirst, out) || ExtractFrom(kLibrary3, *afterFirst, out))))
            return true;
    }
    std::string full;
    return GetAssetPath(assetId, full) && ReadLooseFile(full, out);
}

bool CAssetMan::GetAssetDataByName(std::string_view path, std::vector<std::uint8_t>& out) {
    out.clear();
    if (path.empty())
        return false;
    if (const std::optional<std::string_view> afterSecond = PathAfter(path, 2))
        for (int library : {kCityLibrary, kDesertLibrary, kIceLibrary, kJungleLibrary})
            if (ExtractFrom(library, *afterSecond, out))
                return true;
    if (ExtractFrom(kMainLibrary, path, out))
        return true;
    if (const std::optional<std::string_view> afterFirst = PathAfter(path, 1))
        if (ExtractFrom(kLibrary2, *afterFirst, out) || ExtractFrom(kLibrary3, *afterFirst, out))
            return true;
    return ReadLooseFile(path, out);
}

std::vector<std::uint8_t> CAssetMan::GetAssetBytes(std::int32_t assetId) {
    std::vector<std::uint8_t> bytes;
    GetAssetData(assetId, bytes);
    return bytes;
}

bool CAssetMan::LoadAssetText(int assetId, std::string& out) {
    std::vector<std::uint8_t> bytes;
    if (!GetAssetData(assetId, bytes))
        return false;
    out = TextUpToNul(bytes);
    return true;
}

bool CAssetMan::LoadAssetIntoString(int assetId, std::string& out) {
    std::vector<std::uint8_t> bytes;
    if (!GetAssetData(assetId, bytes))
        return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool CAssetMan::LoadAssetScript(int assetId, std::string& out) {
    std::vector<std::uint8_t> bytes;
    int reference = 0;
    GetInt(assetId, 64, reference);
    if (reference != 0) {
        if (!GetAssetData(reference, bytes))
            return false;
        out = TextUpToNul(bytes);
        return true;
    }

    bool found = false;
    std::string path;
    if (m_table && m_table->GetPath(static_cast<std::uint32_t>(assetId), path, false))
        if (const std::optional<std::string> script = ReplaceLastFour(path, ".msc"))
            found = GetAssetDataByName(*script, bytes);
    if (!found && GetAssetPath(assetId, path))
        if (const std::optional<std::string> script = ReplaceLastFour(path, ".msc"))
            found = ReadLooseFile(*script, bytes);
    if (!found || bytes.size() < 6)
        return false;
    out = TextUpToNul(bytes);
    return true;
}

bool CAssetMan::GetScriptPath(int assetId, CDStr& out) {
    std::string path;
    std::optional<std::string> script;
    if (!GetAssetPath(assetId, path) || !(script = ReplaceLastFour(path, ".msc")))
        return false;
    out = *script;
    return true;
}

bool CAssetMan::GetAssetPath(int assetId, char* buffer, std::size_t size) {
    if (buffer != nullptr && size != 0)
        buffer[0] = '\0';
    return assetId > 0 && m_table &&
           m_table->GetPath(static_cast<std::uint32_t>(assetId), buffer, size, true);
}

bool CAssetMan::GetAssetPath(int assetId, std::string& out) {
    out.clear();
    return assetId > 0 && m_table && m_table->GetPath(static_cast<std::uint32_t>(assetId), out, true);
}

bool CAssetMan::GetAssetRelativePath(int assetId, std::string& out) {
    out.clear();
    return assetId > 0 && m_table && m_table->GetPath(static_cast<std::uint32_t>(assetId), out, false);
}

bool CAssetMan::GetResourcePath(char* buffer, std::size_t size) {
    const char* value = m_config ? m_config->GetValue("[ResourcePath]") : nullptr;
    if (buffer == nullptr || value == nullptr)
        return false;
    std::string path = plat::fs::FullPath(value);
    if (path.size() > 1 && plat::fs::IsSeparator(path.back()))
        path.pop_back();
    if (!plat::fs::Exists(path) && m_links.host)
        m_links.host->ShowMessage("Invalid Resource Path", path);
    path += '\\';
    // A cut path would name another folder: one that does not fit leaves the buffer alone.
    if (path.size() >= size)
        return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}

bool CAssetMan::ResourceFileExists(const char*, int) {
    return true;
}

int CAssetMan::FindAssetId(std::string_view path, bool wholeName) {
    return m_table ? m_table->GetResID(path, wholeName) : -1;
}

// ---- pictures ----

std::unique_ptr<CBitmap> CAssetMan::GetBitmap(int assetId) {
    std::vector<std::uint8_t> bytes;
    if (!GetAssetData(assetId, bytes))
        return nullptr;
    if (!m_links.pictures)
        return nullptr;
    return m_links.pictures->MakePicture(std::move(bytes));
}

std::unique_ptr<CBitmap> CAssetMan::LoadImageFromSlot(int slot, std::string_view name) {
    std::vector<std::uint8_t> bytes;
    if (!m_fileSaver || !CFileSaver::IsPlainName(name) || m_fileSaver->GetSlot(slot).empty() ||
        !GetAssetDataByName(m_fileSaver->GetFullPath(slot, name), bytes))
        return nullptr;
    if (!m_links.pictures)
        return nullptr;
    return m_links.pictures->MakePicture(std::move(bytes));
}

// ---- sounds, music, world objects, textures, meshes ----

ISoundAsset* CAssetMan::GetSound(int id) {
    if (id < kFirstSoundId || !IsValidAssetId(id))
        return nullptr;
    const std::size_t index = static_cast<std::size_t>(id - kFirstSoundId);
    if (m_sounds.size() <= index)
        m_sounds.resize(index + 1);
    if (!m_sounds[index] && m_links.audio) {
        std::vector<std::uint8_t> bytes;
        GetAssetData(id, bytes);
        std::unique_ptr<ISoundAsset> sound = m_links.audio->NewSound();
        if (sound) {
            sound->Load(id, std::move(bytes), GetSoundOwner(id));
            if (sound->IsValid())
                m_sounds[index] = std::move(sound);
        }
    }
    return m_sounds[index].get();
}

IMusicAsset* CAssetMan::GetMusic(int id) {
    if (id < kFirstMusicId || !IsValidAssetId(id))
        return nullptr;
    const std::size_t index = static_cast<std::size_t>(id - kFirstMusicId);
    if (m_music.size() <= index)
        m_music.resize(index + 1);
    if (!m_music[index] && m_links.audio) {
        std::vector<std::uint8_t> bytes;
        GetAssetData(id, bytes);
        std::unique_ptr<IMusicAsset> music = m_links.audio->NewMusic();
        if (music) {
            music->Load(id, std::move(bytes));
            if (music->IsLoaded())
                m_music[index] = std::move(music);
        }
    }
    return m_music[index].get();
}

int CAssetMan::GetSoundOwner(int id) {
    if (id >= 57000 && id <= 57999)
        return 1;
    if (id >= 54000 && id <= 54199)
        return 6;
    return -1;
}

template <typename T> T* CAssetMan::LoadWorldObject(std::vector<std::unique_ptr<T>>& slots, int id) {
    const std::size_t index = static_cast<std::size_t>(id);
    if (slots.size() <= index)
        slots.resize(index + 1);
    if (!slots[index]) {
        auto asset = std::make_unique<T>(*this);
        asset->Load(id);
        if (asset->IsLoaded())
            slots[index] = std::move(asset);
    }
    return slots[index].get();
}

CWorldObjectAsset* CAssetMan::GetWorldObjectAsset(int id) {
    if (id <= 0 || !IsValidAssetId(id))
        return nullptr;
    int format = 0;
    GetInt(id, 0, format);
    switch (format) {
    case 5:
    case 8:
    case 13:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 26:
        return LoadWorldObject(m_plainAssets, id);
    case 6:
    case 15:
        return LoadWorldObject(m_activeAssets, id);
    case 7:
    case 22:
        return LoadWorldObject(m_carAssets, id);
    default:
        return nullptr;
    }
}

CTextureAsset* CAssetMan::GetTexture(int id, int) {
    if (!m_graphics)
        return nullptr;
    std::string path;
    GetAssetPath(id, path);
    return m_graphics->GetTexture(id, path);
}

CTextureAsset* CAssetMan::GetListedTexture(int id) {
    std::string relative;
    return id > 0 && GetAssetRelativePath(id, relative) ? GetTexture(id) : nullptr;
}

void CAssetMan::ReleaseTexture(std::intptr_t ownerKey) {
    if (m_graphics)
        m_graphics->ReleaseTexture(ownerKey);
}

std::uint8_t CAssetMan::GetTextureFlag(const CTexture* texture, int i) const {
    return m_graphics && i >= 0 && i <= 3 ? m_graphics->GetTextureFlag(texture, i) : 0;
}

CMeshAsset* CAssetMan::GetMesh(int id) {
    if (!m_graphics)
        return nullptr;
    std::string path;
    GetAssetPath(id, path);
    return m_graphics->GetMesh(id, ReplaceLastFour(path, ".KMB").value_or(std::string()));
}

bool CAssetMan::IsMeshCached(int id) const {
    return m_graphics && m_graphics->IsMeshCached(id);
}

CVornMesh* CAssetMan::CloneCachedMesh(int id) {
    return m_graphics ? m_graphics->CloneCachedMesh(id) : nullptr;
}

// ---- file-saver forwards ----

bool CAssetMan::SaveFile(std::string_view name, int slot, const std::uint8_t* bytes, std::size_t size) {
    return m_fileSaver && m_fileSaver->SaveFile(name, slot, bytes, size);
}

bool CAssetMan::LoadFile(int slot, std::string_view name, std::vector<std::uint8_t>& out) {
    out.clear();
    return m_fileSaver && m_fileSaver->LoadFile(slot, name, out);
}

bool CAssetMan::DeleteFile(int slot, std::string_view name) {
    return m_fileSaver && m_fileSaver->DeleteFile(slot, name);
}

bool CAssetMan::CopyFile(int sourceSlot, std::string_view sourceName, int targetSlot,
                         std::string_view targetName) {
    return m_fileSaver && m_fileSaver->CopyFile(sourceSlot, sourceName, targetSlot, targetName);
}

bool CAssetMan::ScanDirectory(std::vector<std::string>& out, int slot) {
    return m_fileSaver && m_fileSaver->ScanDirectory(out, slot, nullptr);
}

bool CAssetMan::FileExists(int slot, int* error) {
    return m_fileSaver && m_fileSaver->FileExists(slot, error);
}

// ---- piece lists and world ids ----

void CAssetMan::FillPieceLists() {
    m_pieces.Fill(
        [this](int dataId, int element, int& out) { return GetInt(kPieceListAsset, dataId, out, element); },
        GetFieldCount(kPieceListAsset, 185));
}

int CAssetMan::GetWorldListIconId(int index, int world, int group) const {
    const int videoMode = m_links.host ? m_links.host->GetVideoMode() : 0;
    return GetWorldListEntry(index, world, group) + (videoMode == 1 ? 100 : 200);
}

bool CAssetMan::IsTheme(int world) {
    return world >= 0 && world < kThemeCount;
}

int CAssetMan::GetStartPieceId() const {
    return IsTheme(m_world) ? kStartPiece[m_world] : -1;
}

int CAssetMan::GetWorldBaseId(int) const {
    return IsTheme(m_world) ? kWorldBase[m_world] : -1;
}

int CAssetMan::GetBasePlateId(int, bool alternative) const {
    if (m_links.host && m_links.host->GetGameMode() == 0 && m_links.host->GetCurrentCampaignNode() == 20)
        return 17296;
    return IsTheme(m_world) ? kBasePlate[m_world][alternative ? 1 : 0] : -1;
}

int CAssetMan::GetWorldAssetId(int, int column) const {
    return IsTheme(m_world) && column >= 0 && column < 14 ? kWorldAssets[m_world][column] : -1;
}

int CAssetMan::GetHeightPieceColumn(int pieceId, float height) {
    // Levels are 10 units apart; a height more than half a unit above a level counts as the next one.
    const double tenths = static_cast<double>(height) / 10.0;
    if (!(tenths > -1.0 && tenths < 4.0))
        return -1;
    int level = static_cast<int>(tenths);
    if (std::fmod(static_cast<double>(height), 10.0) > 0.5)
        ++level;
    if (level < 0 || level > 3)
        return -1;
    if (pieceId == -1)
        return level;
    int kind = -1;
    if (!GetInt(pieceId, 87, kind))
        return -1;
    static constexpr int kRamp[4] = {0, 4, 5, 6};
    static constexpr int kSteps[4] = {13, 10, 11, 12};
    if (kind == 0 || kind == 1)
        return kRamp[level];
    return kind == 2 ? kSteps[level] : -1;
}

} // namespace zentrix
