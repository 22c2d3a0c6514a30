// Reads a world object's sprite and shadow records made of arbitrary field values, then moves the
// object and lays its shadow and skid marks on arbitrary ground: no crash, no unbounded work, no
// position that is not a number.
#include "engine/Entity.h"
#include "engine/Frame.h"
#include "engine/Mesh.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "render/RenderAssets.h"
#include "render/ShadowMan.h"
#include "render/ShadowOwner.h"
#include "render/ShadowWorld.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "render/VornSprite.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace zentrix;

namespace {

// Every field read takes the next four bytes (an int or a float), or is absent when a taken byte says so.
class ByteAssets final : public IRenderAssets {
public:
    ByteAssets(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool GetInt(int, int, int& out, int) override { return Take(out); }
    bool GetFloat(int, int, float& out, int) override { return Take(out); }
    bool GetVector(int, int, CVector& out, int) override { return Take(out.x) && Take(out.y) && Take(out.z); }
    int GetFieldCount(int, int) override {
        int count = 0;
        return Take(count) ? count : 0;
    }
    CTexture* GetTexture(int id) override { return id % 4 == 0 ? nullptr : &m_texture; }
    int GetWorldTheme() const override { return static_cast<int>(m_size % 6) - 1; }

    template <typename T> bool Take(T& out) {
        if (m_pos + 5 > m_size || m_data[m_pos] == 0xFF)
            return false;
        std::memcpy(&out, m_data + m_pos + 1, 4);
        m_pos += 5;
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    CTexture m_texture;
};

class ByteWorld final : public IShadowWorld {
public:
    explicit ByteWorld(ByteAssets& bytes) : m_bytes(bytes) {}
    CFrame root{nullptr};
    CEntity* GetWorldFrame() override { return &root; }
    int GetCurrentWorldId() const override { return kRaceWorld; }
    float GetGroundHeight(float, float, CGroundHint&) override {
        float h = 0.0f;
        m_bytes.Take(h);
        return h;
    }

private:
    ByteAssets& m_bytes;
};

class Owner final : public IShadowOwner {
public:
    int GetTypeId() const override { return 7; }
    void GetWorldMatrix(float* out) const override {
        for (int i = 0; i < 16; ++i)
            out[i] = i % 5 == 0 ? 1.0f : 0.0f;
        out[12] = x;
    }
    float x = 3.0f;
};

void CheckFinite(float v) {
    if (std::isnan(v))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    ByteAssets assets(data, size);
    CScene scene;
    CVornMesh mesh;
    auto set = CSpriteSet::Create(1, mesh, assets, scene);
    if (set) {
        set->Update();
        for (std::size_t i = 0; i < set->GetCount(); ++i) {
            CVector p;
            set->GetSprite(i)->GetPosition(p);
            CheckFinite(p.x + p.y + p.z + set->GetSprite(i)->GetSize());
        }
    }
    ByteWorld world(assets);
    CShadowMan shadows(assets, world);
    int count = 0;
    if (assets.Take(count))
        shadows.SetSkidMarkCount(count);
    Owner owner;
    shadows.CreateShadowFor(&owner);
    for (int frame = 0; frame < 4; ++frame) {
        shadows.UpdateShadows();
        shadows.AddSkidMark(&owner);
        owner.x += 1.0f;
    }
    for (const auto& shadow : shadows.GetShadows())
        if (CVornMesh* quad = shadow->GetMesh())
            for (std::uint32_t v = 0; v < quad->GetVertexCount(); ++v)
                CheckFinite(quad->GetVertices()[v].y);
    return 0;
}
