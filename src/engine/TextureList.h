#pragma once

#include <cstddef>
#include <cstdint>

namespace zentrix {

class CTexture;

/// The function the engine asks first for a texture by file name (the asset manager installs one).
using UserTextureLoadFunction = CTexture* (*)(const char* fileName);

/// A new empty texture, listed in the engine's texture list (which owns it).
CTexture* NewTexture();
/// A listed texture loaded from a TGA file.
CTexture* NewTextureFromFile(const char* fileName);
/// A listed texture decoded from a TGA image of `size` bytes held in memory.
CTexture* NewTextureFromMemory(const std::uint8_t* data, std::size_t size, const char* name);
/// Unlists and destroys a texture after every display device has released its surfaces; a texture not
/// in the list is ignored.
void DeleteTexture(CTexture* texture);
/// Every device releases all texture surfaces, then every texture is destroyed, newest first.
void DeleteAllTextures();
/// Number of listed textures.
std::size_t TextureCount();

/// Installs (or, with null, removes) the loader asked first by OMBRELLoadTexture.
void SetUserTextureLoadFunction(UserTextureLoadFunction function);
/// A texture by file name: through the installed loader when there is one (null when it finds none),
/// else from the TGA file of that name. An empty name loads "MISSING". A file that is not a TGA ends the
/// program.
CTexture* OMBRELLoadTexture(const char* name);

} // namespace zentrix
