#pragma once

#include <cstdint>
#include <functional>

namespace zentrix {

class CTexture;

/// What meshes ask of the engine's textures: a texture by the name a mesh file gives, and of a texture
/// its name, its flags and its order number (given at creation, so faces group the same way in every
/// run). Unless others are installed (the tools, tests), these are the engine's own texture functions.
struct MeshTextureAccess {
    std::function<CTexture*(const char* name)> load;
    std::function<const char*(const CTexture* texture)> name;
    std::function<std::uint32_t(const CTexture* texture)> flags;
    std::function<std::uint32_t(const CTexture* texture)> order;
};

/// Installs the texture functions meshes use; an empty member leaves the engine's own in place.
void SetMeshTextureAccess(MeshTextureAccess access);

/// The texture of a name inside a mesh file; null when there is none.
CTexture* LoadMeshTexture(const char* name);
/// The texture's name; null for a null texture or one without a name.
const char* MeshTextureName(const CTexture* texture);
/// The texture's flags (0x4 translucent, 0x10 colour-keyed pixels, ...); 0 for a null texture.
std::uint32_t MeshTextureFlags(const CTexture* texture);
/// The texture's order number; 0 for a null texture.
std::uint32_t MeshTextureOrder(const CTexture* texture);

} // namespace zentrix
