#pragma once

#include <cstdint>
#include <memory>

#include "foundation/math/Vector.h"

namespace zentrix {

class CGeometryBuffer;
class CScene;
class CTexture;

/// A camera-facing textured square drawn with the scene's decals for as long as it lives.
class CVornSprite {
public:
    /// The decal list sprites are drawn from.
    static constexpr int kDecalList = 0;

    /// A sprite of `size` at a world position, registered with the scene's decal list (not owned; it
    /// must outlive the sprite).
    CVornSprite(CScene& scene, float size, CVector position, CTexture* texture, std::uint32_t colour);
    CVornSprite(const CVornSprite&) = delete;
    CVornSprite& operator=(const CVornSprite&) = delete;
    /// Leaves the decal list.
    virtual ~CVornSprite();

    /// The world position of the centre.
    void GetPosition(CVector& out) const;
    void SetPosition(CVector position);
    float GetSize() const;
    void SetSize(float size);
    /// Tint and alpha as 0xAARRGGBB.
    void SetColour(std::uint32_t colour);
    /// Tint as 0x00RRGGBB: the alpha becomes 0.
    void SetColourRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    std::uint32_t GetColour() const;
    CTexture* GetTexture() const;
    /// The buffer the scene draws.
    CGeometryBuffer* GetBuffer() const { return m_buffer.get(); }

    /// Number of live sprites.
    static int LiveCount();

private:
    CScene& m_scene;
    std::unique_ptr<CGeometryBuffer> m_buffer;
};

} // namespace zentrix
