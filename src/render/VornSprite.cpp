#include "render/VornSprite.h"

#include "engine/GeometryBuffer.h"
#include "engine/Scene.h"

namespace zentrix {

namespace {
int g_live = 0;
}

CVornSprite::CVornSprite(CScene& scene, float size, CVector position, CTexture* texture, std::uint32_t colour)
    : m_scene(scene), m_buffer(std::make_unique<CGeometryBuffer>()) {
    ++g_live;
    m_buffer->Resize(1);
    DecalVertex& v = m_buffer->GetVertices()[0];
    v.x = position.x;
    v.y = position.y;
    v.z = position.z;
    v.size = size;
    v.texture = texture;
    v.colour = colour;
    m_buffer->SetCount(1);
    m_scene.AddToDecalList(m_buffer.get(), kDecalList);
}

CVornSprite::~CVornSprite() {
    --g_live;
    m_scene.RemoveFromDecalList(m_buffer.get(), kDecalList);
}

void CVornSprite::GetPosition(CVector& out) const {
    const DecalVertex& v = m_buffer->GetVertices()[0];
    out = CVector(v.x, v.y, v.z);
}

void CVornSprite::SetPosition(CVector position) {
    DecalVertex& v = m_buffer->GetVertices()[0];
    v.x = position.x;
    v.y = position.y;
    v.z = position.z;
}

float CVornSprite::GetSize() const {
    return m_buffer->GetVertices()[0].size;
}

void CVornSprite::SetSize(float size) {
    m_buffer->GetVertices()[0].size = size;
}

void CVornSprite::SetColour(std::uint32_t colour) {
    m_buffer->GetVertices()[0].colour = colour;
}

void CVornSprite::SetColourRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    SetColour((std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue);
}

std::uint32_t CVornSprite::GetColour() const {
    return m_buffer->GetVertices()[0].colour;
}

CTexture* CVornSprite::GetTexture() const {
    return m_buffer->GetVertices()[0].texture;
}

int CVornSprite::LiveCount() {
    return g_live;
}

} // namespace zentrix
