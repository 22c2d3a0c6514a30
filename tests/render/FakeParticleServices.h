#pragma once

#include "engine/Scene.h"
#include "engine/Texture.h"
#include "render/ParticleServices.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>

/// Particle kinds held in memory, with textures by asset id and a scene of its own.
struct FakeParticleServices : IParticleServices {
    using Key = std::tuple<int, int, int>; // asset, data id, element

    static constexpr int kTextureId = 1510;

    FakeParticleServices() { textures[kTextureId] = std::make_unique<CTexture>(); }

    /// A steady kind: one straight-up particle of life 200 per emission every 5 units, 8 slots, a
    /// lifetime of 1000, size 1 to 3, colour (0.5, 0, 0.25) to (1, 0, 0.25), speed 2, no wobble or drift.
    void AddKind(int id) {
        for (int d = 250; d <= 256; ++d)
            for (int e = 0; e < 2; ++e)
                vectors[{id, d, e}] = {};
        vectors[{id, 251, 0}] = vectors[{id, 252, 0}] = {0, 1, 0};
        vectors[{id, 263, 0}] = {};
        SetFloats(id, 257, {1, 3});
        SetFloats(id, 258, {0.5f, 0.5f, 1, 1});
        SetFloats(id, 259, {0, 0, 0, 0});
        SetFloats(id, 260, {0.25f, 0.25f, 0.25f, 0.25f});
        SetFloats(id, 261, {2, 2});
        SetFloats(id, 262, {2, 2});
        SetFloats(id, 264, {0});
        SetFloats(id, 265, {200, 200});
        ints[{id, 266, 0}] = 8;
        SetFloats(id, 267, {5, 5});
        ints[{id, 268, 0}] = ints[{id, 268, 1}] = 0;
        ints[{id, 269, 0}] = kTextureId;
        SetFloats(id, 270, {0, 0});
        SetFloats(id, 271, {1000});
        strings[{id, 272, 0}] = "";
        strings[{id, 273, 0}] = "";
    }
    void SetFloats(int id, int dataId, std::initializer_list<float> values) {
        int e = 0;
        for (float v : values)
            floats[{id, dataId, e++}] = v;
    }

    bool GetInt(int assetId, int dataId, int& out, int element) override {
        ++reads;
        return Find(ints, {assetId, dataId, element}, out);
    }
    bool GetFloat(int assetId, int dataId, float& out, int element) override {
        return Find(floats, {assetId, dataId, element}, out);
    }
    bool GetVector(int assetId, int dataId, CVector& out, int element) override {
        return Find(vectors, {assetId, dataId, element}, out);
    }
    bool GetString(int assetId, int dataId, char* buffer, std::size_t size) override {
        std::string text;
        if (!Find(strings, {assetId, dataId, 0}, text))
            return false;
        std::strncpy(buffer, text.c_str(), size - 1);
        buffer[size - 1] = '\0';
        return true;
    }
    CTexture* GetTexture(int assetId) override {
        auto it = textures.find(assetId);
        return it == textures.end() ? nullptr : it->second.get();
    }
    CScene* GetScene() override { return &scene; }

    template <typename T> static bool Find(const std::map<Key, T>& map, Key key, T& out) {
        auto it = map.find(key);
        if (it == map.end())
            return false;
        out = it->second;
        return true;
    }

    std::map<Key, int> ints;
    std::map<Key, float> floats;
    std::map<Key, CVector> vectors;
    std::map<Key, std::string> strings;
    std::map<int, std::unique_ptr<CTexture>> textures;
    CScene scene;
    int reads = 0;
};
