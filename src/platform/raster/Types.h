#pragma once

#include <array>
#include <bit>
#include <cstdint>

// Value types and state names of the 3D device. The numbering is our own; the display device's state
// caches index their tables by these values, so every enumeration ends with a Count.
namespace plat::raster {

/// A 4 x 4 matrix of floats stored row by row for row vectors: a point p becomes p x M.
struct Matrix4 {
    std::array<float, 16> m{};

    /// The identity matrix.
    static Matrix4 Identity() {
        Matrix4 r;
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
        return r;
    }
    /// Element at row r, column c (both 0-based).
    float& At(int r, int c) { return m[static_cast<std::size_t>(r * 4 + c)]; }
    float At(int r, int c) const { return m[static_cast<std::size_t>(r * 4 + c)]; }
    /// A x B: applies A first, then B.
    friend Matrix4 operator*(const Matrix4& a, const Matrix4& b) {
        Matrix4 r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                float s = 0.0f;
                for (int k = 0; k < 4; ++k)
                    s += a.At(i, k) * b.At(k, j);
                r.At(i, j) = s;
            }
        return r;
    }
    friend bool operator==(const Matrix4&, const Matrix4&) = default;
};

/// Which of the device's three transforms a matrix replaces.
enum class TransformKind : std::uint32_t { World, View, Projection, Count };

/// A rectangle of the render target in pixels with the depth range it maps to.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    float minZ = 0.0f;
    float maxZ = 1.0f;
    friend bool operator==(const Viewport&, const Viewport&) = default;
};

/// Render states the engine sets. Fog, specular and normalisation states are stored but have no effect.
enum class RenderState : std::uint32_t {
    ShadeMode,
    SpecularEnable,
    DitherEnable,
    TexturePerspective,
    Lighting,
    FogEnable,
    SrcBlend,
    DestBlend,
    ZEnable,
    ZWriteEnable,
    ZFunc,
    AlphaTestEnable,
    AlphaFunc,
    AlphaRef,
    AlphaBlendEnable,
    Ambient,
    CullMode,
    SpecularMaterialSource,
    NormalizeNormals,
    LocalViewer,
    FogStart,
    FogEnd,
    FogColour,
    FogTableMode,
    FogVertexMode,
    RangeFogEnable,
    FogDensity,
    Count
};

/// Per-stage texture states.
enum class StageState : std::uint32_t {
    ColourOp,
    ColourArg1,
    ColourArg2,
    AlphaOp,
    AlphaArg1,
    AlphaArg2,
    TexCoordIndex,
    Address,
    MagFilter,
    MinFilter,
    Count
};

constexpr int kStageCount = 8;

enum class ShadeMode : std::uint32_t { Flat = 1, Gouraud = 2 };
enum class Compare : std::uint32_t { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
enum class BlendFactor : std::uint32_t { Zero, One, SrcColour, InvSrcColour, SrcAlpha, InvSrcAlpha };
/// Triangles wound this way on screen are dropped.
enum class CullMode : std::uint32_t { None, Clockwise, CounterClockwise };
enum class TextureOp : std::uint32_t { Disable, SelectArg1, SelectArg2, Modulate, BlendTextureAlpha };
enum class TextureArg : std::uint32_t { Current, Diffuse, Texture };
enum class TextureAddress : std::uint32_t { Wrap, Clamp };
enum class TextureFilter : std::uint32_t { Point, Linear };
enum class FogMode : std::uint32_t { None, Exp, Exp2, Linear };

/// Encodes a float as the 32-bit word a render state carries (fog distances and densities).
inline std::uint32_t FloatState(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

/// Parts of the target that `Clear` resets.
enum ClearFlags : std::uint32_t { kClearTarget = 1, kClearDepth = 2, kClearStencil = 4 };

/// Vertex layout bits; a layout is their OR. Position is either untransformed or already on screen.
enum VertexLayoutBits : std::uint32_t {
    kPosition = 0x002,
    kScreenPosition = 0x004,
    kNormal = 0x010,
    kReserved = 0x020,
    kDiffuse = 0x040,
    kSpecular = 0x080,
    kTexCount1 = 0x100,
    kTexCount2 = 0x200,
    kTexCountMask = 0xF00,
};

/// The three layouts the engine draws and the two it transforms into.
constexpr std::uint32_t kLayoutUnlit = kPosition | kNormal | kTexCount1;                        // 32 bytes
constexpr std::uint32_t kLayoutPrelit = kPosition | kDiffuse | kTexCount1;                      // 24 bytes
constexpr std::uint32_t kLayoutLit = kPosition | kReserved | kDiffuse | kSpecular | kTexCount1; // 32 bytes
constexpr std::uint32_t kLayoutScreen = kScreenPosition | kDiffuse | kSpecular | kTexCount1;    // 32 bytes

/// Options of `ProcessVertices`.
enum ProcessFlags : std::uint32_t { kProcessTransform = 1, kProcessClip = 4 };

/// A colour of four floats, 0 to 1 per channel.
struct ColourF {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
    friend bool operator==(const ColourF&, const ColourF&) = default;
};

/// The material that lit vertices take their colour from.
struct Material {
    ColourF diffuse;
    ColourF ambient;
    ColourF specular;
    ColourF emissive;
    float power = 0.0f;
    friend bool operator==(const Material&, const Material&) = default;
};

enum class LightType : std::uint32_t { Point = 1, Spot = 2, Directional = 3 };

/// A light as the engine describes it; stored by the device, not modelled.
struct Light {
    LightType type = LightType::Directional;
    ColourF diffuse;
    ColourF specular;
    ColourF ambient;
    std::array<float, 3> position{};
    std::array<float, 3> direction{};
    float range = 0.0f;
    float falloff = 0.0f;
    float attenuation0 = 0.0f;
    float attenuation1 = 0.0f;
    float attenuation2 = 0.0f;
    float theta = 0.0f;
    float phi = 0.0f;
    friend bool operator==(const Light&, const Light&) = default;
};

/// What a device reports about itself.
struct DeviceCaps {
    bool hardwareRasterization = true;
    bool hardwareTransformAndLight = false;
    bool separateTextureMemories = false;
    bool bilinearFilter = true;
    int blendStages = 2;
    int simultaneousTextures = 2;
    int depthBits = 16;
};

} // namespace plat::raster
