#pragma once

#include "engine/MeshTextureAccess.h"

#include <cstdint>
#include <deque>
#include <string>

using namespace zentrix;

namespace testsupport {

/// Textures for mesh tests, handed to meshes as opaque pointers: each has a name, flags and an order
/// number (1, 2, ... in order of making). Installs itself as the meshes' texture access while it lives.
class FakeMeshTextures {
public:
    FakeMeshTextures();
    ~FakeMeshTextures();
    FakeMeshTextures(const FakeMeshTextures&) = delete;
    FakeMeshTextures& operator=(const FakeMeshTextures&) = delete;

    /// A new texture; a name with "!" is translucent (0x4) as the engine's are.
    CTexture* Make(const std::string& name, std::uint32_t flags = 0);
    /// The texture of a name, made on first request (what mesh files load).
    CTexture* Load(const std::string& name);
    /// Names asked for by the readers, in order.
    const std::deque<std::string>& Requests() const { return m_requests; }

private:
    struct Texture {
        std::string name;
        std::uint32_t flags;
        std::uint32_t order;
    };
    std::deque<Texture> m_textures;
    std::deque<std::string> m_requests;
};

} // namespace testsupport
