#pragma once

#include "FakeDataRecords.h"
#include "engine/Texture.h"
#include "render/RenderAssets.h"

#include <map>
#include <memory>

using namespace zentrix;

/// Asset records and textures held in memory for sprite and shadow tests; the records answer as data
/// files do (FakeDataRecords), with the dictionary's defaults of the sprite fields.
class FakeRenderAssets final : public IRenderAssets, public FakeDataRecords {
public:
    std::map<int, std::unique_ptr<CTexture>> textures;
    int theme = 0;

    FakeRenderAssets() {
        intDefaults[231] = -1; // a sprite's texture
        floatDefaults[232] = 1.0f;
        vectorDefaults[234] = CVector(1, 1, 1);
    }

    /// Makes a texture for the asset id (flags 0) and returns it.
    CTexture* AddTexture(int id) {
        textures[id] = std::make_unique<CTexture>();
        return textures[id].get();
    }

    bool GetInt(int assetId, int dataId, int& out, int element = 0) override {
        return Int(assetId, dataId, out, element);
    }
    bool GetFloat(int assetId, int dataId, float& out, int element = 0) override {
        return Float(assetId, dataId, out, element);
    }
    bool GetVector(int assetId, int dataId, CVector& out, int element = 0) override {
        return Vector(assetId, dataId, out, element);
    }
    int GetFieldCount(int assetId, int dataId) override { return Count(assetId, dataId); }
    CTexture* GetTexture(int textureId) override {
        auto it = textures.find(textureId);
        return it == textures.end() ? nullptr : it->second.get();
    }
    int GetWorldTheme() const override { return theme; }
};
