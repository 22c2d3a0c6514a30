#pragma once

#include "FakeDataRecords.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "render/ParticleServices.h"

#include <cstring>
#include <initializer_list>
#include <string>

using namespace zentrix;

/// Particle kinds held in memory, answered as data files answer them (FakeDataRecords), one texture
/// (asset 1510) and a scene of its own.
struct FakeParticleServices : IParticleServices, FakeDataRecords {
    /// A steady kind: one straight-up particle of life 200 per emission every 5 units, 8 slots, a
    /// lifetime of 1000, size 1 to 3, colour (0.5, 0, 0.25) to (1, 0, 0.25), speed 2, no wobble or drift.
    void AddKind(int id) {
        for (int d = 250; d <= 263; ++d)
            for (int e = 0; e < 2; ++e)
                vectors[{id, d, e}] = d == 251 || d == 252 ? CVector{0, 1, 0} : CVector{};
        SetFloats(id, 257, {1, 3});
        SetFloats(id, 258, {0.5f, 0.5f, 1, 1});
        SetFloats(id, 259, {0, 0, 0, 0});
        SetFloats(id, 260, {0.25f, 0.25f, 0.25f, 0.25f});
        SetFloats(id, 261, {2, 2});
        SetFloats(id, 262, {2, 2});
        SetFloats(id, 264, {0});
        SetFloats(id, 265, {200, 200});
        SetFloats(id, 267, {5, 5});
        SetFloats(id, 270, {0, 0});
        SetFloats(id, 271, {1000});
        ints[{id, 266, 0}] = 8;
        ints[{id, 268, 0}] = ints[{id, 268, 1}] = 0;
        ints[{id, 269, 0}] = 1510;
        strings[{id, 272, 0}] = strings[{id, 273, 0}] = "";
    }
    void SetFloats(int id, int dataId, std::initializer_list<float> values) {
        int e = 0;
        for (float v : values)
            floats[{id, dataId, e++}] = v;
    }

    bool GetInt(int a, int d, int& out, int e) override { return ++reads, Int(a, d, out, e); }
    bool GetFloat(int a, int d, float& out, int e) override { return Float(a, d, out, e); }
    bool GetVector(int a, int d, CVector& out, int e) override { return Vector(a, d, out, e); }
    bool GetString(int a, int d, char* buffer, std::size_t size) override {
        std::string text;
        if (!Text(a, d, text))
            return false;
        std::strncpy(buffer, text.c_str(), size - 1);
        buffer[size - 1] = '\0';
        return true;
    }
    CTexture* GetTexture(int assetId) override { return assetId == 1510 ? &texture : nullptr; }
    CScene* GetScene() override { return &scene; }

    CTexture texture;
    CScene scene;
    int reads = 0;
};
