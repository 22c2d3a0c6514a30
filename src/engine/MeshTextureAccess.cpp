#include "engine/MeshTextureAccess.h"

#include <utility>

namespace {
MeshTextureAccess g_access;
}

void SetMeshTextureAccess(MeshTextureAccess access) {
    g_access = std::move(access);
}

CTexture* LoadMeshTexture(const char* name) {
    return g_access.load ? g_access.load(name) : nullptr;
}

const char* MeshTextureName(const CTexture* texture) {
    return texture && g_access.name ? g_access.name(texture) : nullptr;
}

std::uint32_t MeshTextureFlags(const CTexture* texture) {
    return texture && g_access.flags ? g_access.flags(texture) : 0;
}

std::uint32_t MeshTextureOrder(const CTexture* texture) {
    return texture && g_access.order ? g_access.order(texture) : 0;
}
