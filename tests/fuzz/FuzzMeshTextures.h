#pragma once

#include "engine/MeshTextureAccess.h"

#include <deque>
#include <string>

using namespace zentrix;

/// Textures for the mesh fuzz targets: a name per texture, no pixels, so that no name a file gives
/// reaches the engine's loader (which ends the program for a name that is not a TGA).
class FuzzMeshTextures {
public:
    FuzzMeshTextures() {
        SetMeshTextureAccess(
            {[this](const char* name) {
                 m_names.emplace_back(name);
                 return reinterpret_cast<CTexture*>(&m_names.back());
             },
             [](const CTexture* t) { return reinterpret_cast<const std::string*>(t)->c_str(); },
             [](const CTexture* t) {
                 return static_cast<std::uint32_t>(reinterpret_cast<const std::string*>(t)->size());
             },
             [](const CTexture*) { return std::uint32_t{1}; }});
    }
    ~FuzzMeshTextures() { SetMeshTextureAccess({}); }

private:
    std::deque<std::string> m_names;
};
