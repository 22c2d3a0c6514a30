#pragma once

#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "platform/settings/MemoryStore.h"
#include "platform/text/RecordingFontLibrary.h"
#include "render/SurfaceMan.h"
#include "render/SurfacePictures.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace zentrix;

namespace assettest {

/// What the doubles below were asked, in order ("texture 1502", "script init", ...).
using Log = std::vector<std::string>;

/// Host and engine of the asset manager in one: records boxes, quits and theme calls.
struct FakeServices : IAssetHost, IAssetEngineLink {
    Log boxes; ///< "caption|text"
    int quitRequests = 0, videoMode = 0, gameMode = 1, campaignNode = -1, worldId = 1;
    Log theme; ///< "background <world>", "lighting"
    TextureLoadFunction loader;

    void ShowMessage(std::string_view caption, std::string_view text) override {
        boxes.push_back(std::string(caption) + "|" + std::string(text));
    }
    void PostQuit() override { ++quitRequests; }
    int GetVideoMode() const override { return videoMode; }
    int GetGameMode() const override { return gameMode; }
    int GetCurrentCampaignNode() const override { return campaignNode; }
    int GetCurrentWorldId() const override { return worldId; }
    void SetBackgroundColour(int world) override { theme.push_back("background " + std::to_string(world)); }
    void SetupLighting() override { theme.push_back("lighting"); }
    void SetUserTextureLoadFunction(TextureLoadFunction load) override { loader = std::move(load); }
};

/// Texture and mesh caches and script cache that only log what was asked of them.
struct FakeCaches : IGraphicsAssetCaches, IScriptCacheLink {
    Log& log;
    explicit FakeCaches(Log& l) : log(l) {}
    CTextureAsset* GetTexture(int id, const std::string&) override {
        return log.push_back("texture " + std::to_string(id)), nullptr;
    }
    void ReleaseTexture(std::intptr_t) override {}
    std::uint8_t GetTextureFlag(const CTexture*, int i) const override {
        return static_cast<std::uint8_t>(i + 1);
    }
    CMeshAsset* GetMesh(int, const std::string& path) override {
        return log.push_back("mesh " + path), nullptr;
    }
    bool IsMeshCached(int) const override { return false; }
    CVornMesh* CloneCachedMesh(int) override { return nullptr; }
    CTexture* EngineTextureCallback(const char*) override { return nullptr; }
    void Init() override { log.push_back("script init"); }
    void Clear() override { log.push_back("script clear"); }
    void GetResourceScript(int id) override { log.push_back("script " + std::to_string(id)); }
};

/// Sounds valid when they got bytes, music when it got a MIDI file; counts live sounds and loads.
struct FakeAudio : IAudioAssetFactory {
    int liveSounds = 0, loads = 0;
    struct Sound : ISoundAsset {
        FakeAudio& audio;
        int owner = 0;
        bool valid = false;
        explicit Sound(FakeAudio& a) : audio(a) { ++audio.liveSounds; }
        ~Sound() override { --audio.liveSounds; }
        void Load(int, std::vector<std::uint8_t> bytes, int ownerIn) override {
            ++audio.loads;
            valid = !bytes.empty();
            owner = ownerIn;
        }
        bool IsValid() const override { return valid; }
        int GetOwner() const override { return owner; }
    };
    struct Music : IMusicAsset {
        bool loaded = false;
        void Load(int, std::vector<std::uint8_t> bytes) override {
            loaded = bytes.size() > 4 && bytes[0] == 'M';
        }
        bool IsLoaded() const override { return loaded; }
    };
    std::unique_ptr<ISoundAsset> NewSound() override { return std::make_unique<Sound>(*this); }
    std::unique_ptr<IMusicAsset> NewMusic() override { return std::make_unique<Music>(); }
};

/// A copy of the generated sample set in a temporary folder that is the current directory while the
/// object lives, with an asset manager (not started) wired to the doubles above; "Path" is its
/// "Settings" folder.
class SampleWorld {
public:
    SampleWorld();
    ~SampleWorld();

    testsupport::TempFolder folder;
    FakeServices services;
    plat::text::RecordingFontLibrary fonts;
    FakeAudio audio;
    Log log;
    plat::settings::MemoryStore store;
    CAppSettings settings{store};
    plat::gfx2d::MemorySurfaceFactory surfaceFactory;
    CSurfaceMan surfaces{surfaceFactory};
    CSurfacePictures pictures{&surfaces};
    std::unique_ptr<CAssetMan> assets;

private:
    std::filesystem::path m_previous;
};

} // namespace assettest
