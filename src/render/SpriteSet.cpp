#include "render/SpriteSet.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/Texture.h"
#include "render/RenderAssets.h"
#include "render/VornMesh.h"
#include "render/VornSprite.h"

namespace zentrix {

namespace {

// Texture flag that has the device blend the picture by its brightness.
constexpr std::uint32_t kTextureTranslucent = 0x4;

bool IsFinite(CVector v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

std::uint32_t ChannelByte(float c) {
    // A record's colour is untrusted: NaN and values outside 0..1 would make the conversion undefined.
    if (!(c > 0.0f))
        return 0;
    if (c > 1.0f)
        return 255;
    return static_cast<std::uint32_t>(c * 255.0f);
}

} // namespace

std::unique_ptr<CSpriteSet> CSpriteSet::Create(int assetId, CVornMesh& mesh, IRenderAssets& assets,
                                               CScene& scene) {
    auto set = std::make_unique<CSpriteSet>(mesh, assets, scene);
    set->m_loaded = set->Load(assetId);
    if (!set->m_loaded)
        return nullptr;
    return set;
}

CSpriteSet::CSpriteSet(CVornMesh& mesh, IRenderAssets& assets, CScene& scene)
    : m_mesh(mesh), m_assets(assets), m_scene(scene) {}

CSpriteSet::~CSpriteSet() {
    m_sprites.clear();
    m_local.clear();
}

bool CSpriteSet::Load(int assetId) {
    int count = 0;
    if (!m_assets.GetInt(assetId, kFieldCount, count))
        return false;
    // The count comes from data: past the textures the record stores, a field answers its default
    // (texture -1), so there are no more sprites than stored textures.
    count = std::min(count, m_assets.GetFieldCount(assetId, kFieldTexture));
    for (int i = 0; i < count; ++i) {
        int texture = 0;
        float size = 0.0f;
        CVector position;
        CVector colour;
        if (!m_assets.GetInt(assetId, kFieldTexture, texture, i) ||
            !m_assets.GetFloat(assetId, kFieldSize, size, i) ||
            !m_assets.GetVector(assetId, kFieldPosition, position, i) ||
            !m_assets.GetVector(assetId, kFieldColour, colour, i))
            return false;
        if (!std::isfinite(size) || !IsFinite(position))
            return false;
        if (!AddSprite(size, texture, position, colour.x, colour.y, colour.z))
            return false;
    }
    return true;
}

CVornSprite* CSpriteSet::AddSprite(float size, int textureId, CVector local, float red, float green,
                                   float blue) {
    CTexture* texture = textureId > 0 ? m_assets.GetTexture(textureId) : nullptr;
    if (!texture)
        return nullptr;
    texture->SetFlags(texture->GetFlags() | kTextureTranslucent);
    CVector world;
    m_mesh.LocalToWorld(world, local);
    m_sprites.push_back(
        std::make_unique<CVornSprite>(m_scene, size, world, texture, PackColour(red, green, blue)));
    m_local.push_back(local);
    return m_sprites.back().get();
}

void CSpriteSet::Update() {
    for (std::size_t i = 0; i < m_sprites.size(); ++i) {
        CVector world;
        m_mesh.LocalToWorld(world, m_local[i]);
        m_sprites[i]->SetPosition(world);
    }
}

void CSpriteSet::RemoveSprite(CVornSprite* sprite) {
    for (std::size_t i = 0; i < m_sprites.size(); ++i) {
        if (m_sprites[i].get() == sprite) {
            m_sprites.erase(m_sprites.begin() + static_cast<std::ptrdiff_t>(i));
            m_local.erase(m_local.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

std::uint32_t CSpriteSet::PackColour(float red, float green, float blue) {
    return 0xFF000000u + (ChannelByte(red) << 16) + (ChannelByte(green) << 8) + ChannelByte(blue);
}

} // namespace zentrix
