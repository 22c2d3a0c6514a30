#pragma once

#include "engine/Texture.h"
#include "render/RenderAssets.h"

#include <map>
#include <memory>
#include <tuple>

using namespace zentrix;

/// Asset records and textures held in memory for sprite and shadow tests.
class FakeRenderAssets final : public IRenderAssets {
public:
    using Key = std::tuple<int, int, int>; // asset, data id, element

    std::map<Key, int> ints;
    std::map<Key, float> floats;
    std::map<Key, CVector> vectors;
    std::map<int, std::unique_ptr<CTexture>> textures;
    int theme = 0;

    /// Makes a texture for the asset id (flags 0) and returns it.
    CTexture* AddTexture(int id) {
        textures[id] = std::make_unique<CTexture>();
        return textures[id].get();
    }

    bool GetInt(int assetId, int dataId, int& out, int element = 0) override {
        return Find(ints, assetId, dataId, element, out);
    }
    bool GetFloat(int assetId, int dataId, float& out, int element = 0) override {
        return Find(floats, assetId, dataId, element, out);
    }
    bool GetVector(int assetId, int dataId, CVector& out, int element = 0) override {
        return Find(vectors, assetId, dataId, element, out);
    }
    CTexture* GetTexture(int textureId) override {
        auto it = textures.find(textureId);
        return it == textures.end() ? nullptr : it->second.get();
    }
    int GetWorldTheme() const override { return theme; }

private:
    template <typename T>
    static bool Find(const std::map<Key, T>& values, int asset, int dataId, int element, T& out) {
        auto it = values.find(Key{asset, dataId, element});
        if (it == values.end())
            return false;
        out = it->second;
        return true;
    }
};
