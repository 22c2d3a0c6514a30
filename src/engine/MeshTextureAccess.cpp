#include "engine/MeshTextureAccess.h"

#include "engine/Texture.h"
#include "engine/TextureList.h"

#include <utility>

namespace zentrix {

namespace {
MeshTextureAccess g_access;
}

void SetMeshTextureAccess(MeshTextureAccess access) {
    g_access = std::move(access);
}

CTexture* LoadMeshTexture(const char* name) {
    return g_access.load ? g_access.load(name) : OMBRELLoadTexture(name);
}

const char* MeshTextureName(const CTexture* texture) {
    if (!texture)
        return nullptr;
    return g_access.name ? g_access.name(texture) : texture->GetName();
}

std::uint32_t MeshTextureFlags(const CTexture* texture) {
    if (!texture)
        return 0;
    return g_access.flags ? g_access.flags(texture) : texture->GetFlags();
}

std::uint32_t MeshTextureOrder(const CTexture* texture) {
    if (!texture)
        return 0;
    return g_access.order ? g_access.order(texture) : texture->GetOrder();
}

} // namespace zentrix
