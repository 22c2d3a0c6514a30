#pragma once

#include <cstdint>
#include <memory>

namespace zentrix {

class CTexture;

/// One vertex of a geometry buffer: a particle or sprite centre, its size, its texture and its colour.
struct DecalVertex {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float size = 0.0f;
    CTexture* texture = nullptr;
    std::uint32_t colour = 0; ///< 0xAARRGGBB
};

/// The part of a texture one vertex shows, in texture coordinates.
struct TexRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

/// A function giving the texture rectangle of a vertex in place of the rectangle array.
using TexCoordFunction = void (*)(void* argument, std::uint32_t vertex, TexRect& out);

/// A resizable array of vertices that sprites and particle systems hand to the renderer as one decal
/// item, with an optional texture rectangle per vertex.
class CGeometryBuffer {
public:
    /// Vertices drawn as sprites of fixed pixel size.
    static constexpr std::uint32_t kModeScreenSprites = 1;
    /// Vertices drawn as world-space billboards (the mode buffers start with).
    static constexpr std::uint32_t kModeBillboards = 2;

    CGeometryBuffer();
    CGeometryBuffer(const CGeometryBuffer&) = delete;
    CGeometryBuffer& operator=(const CGeometryBuffer&) = delete;

    /// Makes room for exactly n vertices, keeping as many old ones as fit; shrinking sets the count to n.
    /// The rectangle array is made anew (when enabled) and its contents are not kept.
    void Resize(std::uint32_t n);
    /// Frees both arrays; count and capacity become 0.
    void Clear() { Resize(0); }

    /// Sets how many vertices are in use, at most the capacity.
    void SetCount(std::uint32_t n);
    std::uint32_t GetCount() const { return m_count; }
    std::uint32_t GetCapacity() const { return m_capacity; }

    /// The vertex array (null when the capacity is 0).
    DecalVertex* GetVertices() const { return m_vertices.get(); }
    /// The texture rectangle array (null unless enabled and the capacity is above 0).
    TexRect* GetTexRects() const { return m_texRects.get(); }
    /// Whether the next Resize makes a texture rectangle array.
    void SetTexRectsEnabled(bool enabled) { m_texRectsEnabled = enabled; }
    bool AreTexRectsEnabled() const { return m_texRectsEnabled; }

    /// The drawing mode (kModeScreenSprites or kModeBillboards).
    std::uint32_t GetMode() const { return m_mode; }
    void SetMode(std::uint32_t mode) { m_mode = mode; }

    /// The optional function that gives texture rectangles, with its argument.
    void SetTexCoordFunction(TexCoordFunction function, void* argument) {
        m_texCoordFunction = function;
        m_texCoordArgument = argument;
    }
    TexCoordFunction GetTexCoordFunction() const { return m_texCoordFunction; }
    void* GetTexCoordArgument() const { return m_texCoordArgument; }

private:
    struct AlignedDelete {
        void operator()(DecalVertex* p) const;
    };

    TexCoordFunction m_texCoordFunction = nullptr;
    void* m_texCoordArgument = nullptr;
    std::uint32_t m_mode = kModeBillboards;
    std::uint32_t m_count = 0;
    std::uint32_t m_capacity = 0;
    std::unique_ptr<DecalVertex[], AlignedDelete> m_vertices;
    std::unique_ptr<TexRect[]> m_texRects;
    bool m_texRectsEnabled = false;
};

} // namespace zentrix
