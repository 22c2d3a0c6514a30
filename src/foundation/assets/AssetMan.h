#pragma once

#include "foundation/assets/AssetEngineLink.h"
#include "foundation/assets/AssetHost.h"
#include "foundation/assets/AudioAssets.h"
#include "foundation/assets/GraphicsAssetCaches.h"
#include "foundation/assets/PictureFactory.h"
#include "foundation/assets/PieceLists.h"
#include "foundation/assets/ScriptCacheLink.h"
#include "foundation/base/ManagerInterface.h"
#include "foundation/data/AssetByteSource.h"
#include "foundation/data/DataDictionary.h"
#include "foundation/math/Vector.h"
#include "foundation/string/DStr.h"
#include "platform/text/Font.h"
#include "platform/text/FontLibrary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

class CAWOAsset;
class CAppSettings;
class CBitmap;
class CCarAsset;
class CDataFile;
class CDataFileCache;
class CFileSaver;
class CJovConfigEditor;
class CResourceConfig;
class CResourceLibrary;
class CWorldObjectAsset;

/// The game's content by numeric asset id: typed values of data records, raw bytes from the resource
/// libraries or loose files, pictures, texts, scripts, sounds, music, textures, meshes, world-object
/// assets and fonts, plus the per-world piece tables and the world theme. Everything it hands out stays
/// its own and lives until StopManager.
class CAssetMan : public CManagerInterface, public CAssetByteSource {
public:
    using TDataID = CDataDictionary::TDataID;

    /// The rest of the game as the asset manager reaches it. Every member may be null: the service is then
    /// absent (no box, no fonts, no caches, ...).
    struct SLinks {
        IAssetHost* host = nullptr;
        const CAppSettings* settings =
            nullptr; ///< "Path": the folder of the font file (else the working one)
        plat::text::FontLibrary* fonts = nullptr;
        IAssetEngineLink* engine = nullptr;
        IPictureFactory* pictures = nullptr; ///< for GetBitmap
        IAudioAssetFactory* audio = nullptr;
        /// Makes the texture and mesh caches at the start.
        std::function<std::unique_ptr<IGraphicsAssetCaches>(CAssetMan&)> makeGraphicsCaches;
        /// Makes the event-script cache at the start.
        std::function<std::unique_ptr<IScriptCacheLink>(CAssetMan&)> makeScriptCache;
    };

    static constexpr int kLibraryCount = 7;
    static constexpr int kFontCount = 4;
    /// Worlds 0..3 are the themes: jungle, ice, desert, city.
    static constexpr int kThemeCount = 4;
    static constexpr int kFirstSoundId = 40000;
    static constexpr int kFirstMusicId = 49900;
    static constexpr int kMaxAssetId = 80000;
    static constexpr const char* kFontFileName = "Balonxb.ttf";
    static constexpr const char* kFontFace = "Balloon XBd BT";

    explicit CAssetMan(SLinks links);
    ~CAssetMan() override;
    CAssetMan(const CAssetMan&) = delete;
    CAssetMan& operator=(const CAssetMan&) = delete;

    /// Opens the libraries and the resource table, loads the dictionary, makes the caches, fonts, file
    /// saver and script cache and fills the piece lists; 1 when the resource table is missing.
    int StartManager() override;
    /// Releases everything StartManager made and every cached asset; 0.
    int StopManager() override;
    /// Called once while the application starts; nothing to do.
    virtual void StartupHook() {}
    /// What StartManager found wrong with the files the game cannot do without (the resource table,
    /// the libraries, the data dictionary and the format table): one line per fault, naming the file as
    /// the system writes its path and saying why. Empty after a sound start.
    const std::vector<std::string>& GetStartProblems() const { return m_startProblems; }
    /// Why an asset cannot be read, for a player's message: its file (as the system writes paths) and
    /// whether the resource table lacks it, no library or loose file holds it, or it is damaged. `what`
    /// says what the asset is ("the data dictionary").
    std::string DescribeUnreadable(int assetId, const std::string& what);

    // ---- world theme, fonts, race start ----
    /// Font 0..3 (null for another index or when fonts are absent).
    plat::text::Font* GetFont(int index) const;
    /// The current world: a theme 0 jungle, 1 ice, 2 desert, 3 city, or whatever else was set.
    int GetWorld() const { return m_world; }
    /// Makes `world` current, whatever its value; unless quiet, the engine sets that world's background
    /// colour and lights.
    void SetWorld(int world, bool quiet);
    /// Whether a world is one of the four themes.
    static bool IsTheme(int world);
    /// Gives the factory that GetBitmap makes its pictures with (null: none); the engine's surfaces exist
    /// only once the engine has started, after the asset manager.
    void SetPictureFactory(IPictureFactory* pictures) { m_links.pictures = pictures; }
    /// Prepares the scripts, textures and data files that record 40006 lists for a race.
    void PreloadRaceAssets();
    /// Frees the cached sounds of an owner (1 race sounds, 6 help sounds).
    void FreeSoundsOwnedBy(int owner);
    /// The event-script cache (null outside start and stop, or when absent).
    IScriptCacheLink* GetScriptCache() const { return m_scriptCache.get(); }
    /// The file saver (null outside start and stop).
    CFileSaver* GetFileSaver() const { return m_fileSaver.get(); }
    /// The world registry's current world (-1 without a host).
    int GetCurrentWorldId() const;

    // ---- typed values of an asset's data record ----
    /// False without a data record, for an id outside its format or of another type; else true with the
    /// stored element or, when not stored, the id's default.
    bool GetInt(int assetId, TDataID dataId, int& out, int element = 0);
    bool GetFloat(int assetId, TDataID dataId, float& out, int element = 0);
    bool GetVector(int assetId, TDataID dataId, CVector& out, int element = 0);
    /// The text cut to size - 1 characters with a NUL; empty when not stored (and on failure).
    bool GetString(int assetId, TDataID dataId, char* buffer, std::size_t size);
    /// The number of stored elements (0 without a record).
    int GetFieldCount(int assetId, TDataID dataId);
    /// The object kind of the record's format (-1 for none or an unknown format).
    int GetObjectKind(int assetId);
    /// The object kind of a format id.
    static int ObjectKindOfFormat(int formatId);
    /// The asset's data file from the cache, or null.
    CDataFile* GetDataFile(int assetId);

    // ---- raw data, texts, paths ----
    /// The asset's bytes: its world library, then "[Library]", "[Library2]", "[Library3]", then the loose
    /// file; false (out empty) when none of them has any.
    bool GetAssetData(int assetId, std::vector<std::uint8_t>& out);
    /// The bytes of a resource path, searched in the same libraries, then as a loose file.
    bool GetAssetDataByName(std::string_view path, std::vector<std::uint8_t>& out);
    /// CAssetByteSource: the asset's bytes for the data files.
    std::vector<std::uint8_t> GetAssetBytes(std::int32_t assetId) override;
    /// The asset's bytes up to the first NUL.
    bool LoadAssetText(int assetId, std::string& out);
    /// Exactly the asset's bytes.
    bool LoadAssetIntoString(int assetId, std::string& out);
    /// The event script of an asset: the asset its data id 64 names, else the ".msc" file beside it.
    bool LoadAssetScript(int assetId, std::string& out);
    /// The full path of the asset with ".msc" for its last four characters; false without a path.
    bool GetScriptPath(int assetId, CDStr& out);
    /// The script definitions text: empty.
    CDStr GetDefinitionsText() const { return {}; }
    /// The asset's full path; false with an empty buffer without a table, for an id without a record or
    /// when the path does not fit.
    bool GetAssetPath(int assetId, char* buffer, std::size_t size);
    bool GetResourceFilePath(int assetId, char* buffer, std::size_t size) {
        return GetAssetPath(assetId, buffer, size);
    }
    /// The asset's full path as a string; false without one.
    bool GetAssetPath(int assetId, std::string& out);
    /// The asset's path as the resource table holds it (relative to the resource path); false without.
    bool GetAssetRelativePath(int assetId, std::string& out);
    /// "[ResourcePath]" made absolute with a trailing "\"; false, the buffer as it was, without a resource
    /// configuration or path, or when it does not fit. A path that does not exist is reported in a box.
    bool GetResourcePath(char* buffer, std::size_t size);
    /// Every resource path counts as present: lookups go through the libraries.
    static bool ResourceFileExists(const char* path, int ignored = 0);
    /// The id of a resource path through the table; -1 when none.
    int FindAssetId(std::string_view path, bool wholeName);
    /// 0 <= id <= 80000.
    static bool IsValidAssetId(int id) { return id >= 0 && id <= kMaxAssetId; }

    // ---- pictures ----
    /// A TGA picture asset in a new bitmap; null when it cannot be read or made.
    std::unique_ptr<CBitmap> GetBitmap(int assetId);
    /// A TGA picture file of a file-saver slot in a new bitmap; null likewise.
    std::unique_ptr<CBitmap> LoadImageFromSlot(int slot, std::string_view name);

    // ---- sounds, music, world objects, textures, meshes ----
    /// The sound of an id from 40000 (loaded on first request); null when it does not load.
    ISoundAsset* GetSound(int id);
    /// The music of an id from 49900; null when it does not load.
    IMusicAsset* GetMusic(int id);
    /// 1 for 57000..57999, 6 for 54000..54199, else -1.
    static int GetSoundOwner(int id);
    /// The world-object asset of an id (a plain, active or car asset by its format); null for another
    /// format.
    CWorldObjectAsset* GetWorldObjectAsset(int id);
    /// The cached texture, else the one loaded from the asset's full path; an id the resource table
    /// does not list ends the program ("Load Texture Failure").
    CTextureAsset* GetTexture(int id, int ignored = 0);
    /// GetTexture for an id that data names: null, and nothing ends, for an id the table does not list.
    CTextureAsset* GetListedTexture(int id);
    /// Releases the cached textures of an owner key.
    void ReleaseTexture(std::intptr_t ownerKey);
    /// Flag byte i (0..3) of the texture asset owning an engine texture; 0 otherwise.
    std::uint8_t GetTextureFlag(const CTexture* texture, int i) const;
    /// The cached mesh, else the one read from the asset's full path with ".KMB" for its last four
    /// characters.
    CMeshAsset* GetMesh(int id);
    bool IsMeshCached(int id) const;
    /// A copy of a cached mesh for a world object (which takes it into its frame tree).
    CVornMesh* CloneCachedMesh(int id);

    // ---- file-saver forwards ----
    bool SaveFile(std::string_view name, int slot, const std::uint8_t* bytes, std::size_t size);
    bool LoadFile(int slot, std::string_view name, std::vector<std::uint8_t>& out);
    bool DeleteFile(int slot, std::string_view name);
    bool CopyFile(int sourceSlot, std::string_view sourceName, int targetSlot, std::string_view targetName);
    bool ScanDirectory(std::vector<std::string>& out, int slot);
    bool FileExists(int slot, int* error = nullptr);

    // ---- piece lists and world ids ----
    int GetWorldListEntry(int index, int world, int group) const {
        return m_pieces.GetEntry(index, world, group);
    }
    /// The entry plus 100 in video mode 1, else plus 200.
    int GetWorldListIconId(int index, int world, int group) const;
    int GetWorldEquivalentId(int id, int world) const { return m_pieces.GetEquivalentId(id, world); }
    int GetPieceIndex(int id) const { return m_pieces.GetPieceIndex(id); }
    int GetAssetGroup(int id) const { return m_pieces.GetGroup(id); }
    static int GetPieceGroup0Count() { return CPieceLists::GetFixedCount(0); }
    static int GetPieceGroup1Count() { return CPieceLists::GetFixedCount(1); }
    static int GetPieceGroup2Count() { return CPieceLists::GetFixedCount(2); }
    /// Entry i of a world's fixed table (the world taken as its low byte); -1 outside it.
    static int GetPieceGroup0Id(int world, int i) { return CPieceLists::GetFixedId(world & 0xFF, 0, i); }
    static int GetPieceGroup1Id(int world, int i) { return CPieceLists::GetFixedId(world & 0xFF, 1, i); }
    static int GetPieceGroup2Id(int world, int i) { return CPieceLists::GetFixedId(world & 0xFF, 2, i); }
    /// The current world's start piece; -1 for a world that is no theme (so are the lookups below).
    int GetStartPieceId() const;
    int GetWorldBaseId(int ignored = 0) const;
    /// The base plate of the current world (the alternative one when asked), or the campaign's special one.
    int GetBasePlateId(int ignored, bool alternative) const;
    /// Column 0..13 of the current world's row of assets; -1 outside.
    int GetWorldAssetId(int ignored, int column) const;
    /// The column of a height piece at a height; -1 for a height outside levels 0..3 or a piece of no
    /// slope kind.
    int GetHeightPieceColumn(int pieceId, float height);

private:
    CResourceLibrary* Library(int index) const { return m_libraries[static_cast<std::size_t>(index)]; }
    bool ExtractFrom(int libraryIndex, std::string_view name, std::vector<std::uint8_t>& out) const;
    void InstallFonts(const std::string& workingFolder);
    void RemoveFonts();
    void FillPieceLists();
    /// Loads one of the two tables every data file needs (asset 1 or 2), noting what is wrong with it.
    void LoadTable(int assetId, const char* what,
                   bool (CDataDictionary::*load)(const std::uint8_t*, std::size_t));
    template <typename T> T* LoadWorldObject(std::vector<std::unique_ptr<T>>& slots, int id);

    SLinks m_links;
    std::unique_ptr<CJovConfigEditor> m_table;
    CDataDictionary m_dictionary;
    std::unique_ptr<CResourceConfig> m_config;
    std::array<CResourceLibrary*, kLibraryCount> m_libraries{}; ///< observed; the configuration owns them
    std::vector<std::unique_ptr<ISoundAsset>> m_sounds;
    std::vector<std::unique_ptr<IMusicAsset>> m_music;
    std::vector<std::unique_ptr<CWorldObjectAsset>> m_plainAssets;
    std::vector<std::unique_ptr<CAWOAsset>> m_activeAssets;
    std::vector<std::unique_ptr<CCarAsset>> m_carAssets;
    std::unique_ptr<IGraphicsAssetCaches> m_graphics;
    std::unique_ptr<CDataFileCache> m_dataFiles;
    std::array<std::unique_ptr<plat::text::Font>, kFontCount> m_fonts;
    std::string m_fontPath; ///< empty while no font file is installed
    std::unique_ptr<CFileSaver> m_fileSaver;
    CPieceLists m_pieces;
    int m_world = 0;
    std::unique_ptr<IScriptCacheLink> m_scriptCache;
    std::vector<std::string> m_startProblems;
};

} // namespace zentrix
