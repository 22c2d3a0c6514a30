#include "support/FakeMeshTextures.h"

using namespace zentrix;

namespace testsupport {

FakeMeshTextures::FakeMeshTextures() {
    auto fake = [](const CTexture* t) { return reinterpret_cast<const Texture*>(t); };
    SetMeshTextureAccess({[this](const char* name) { return Load(name ? name : ""); },
                          [fake](const CTexture* t) { return fake(t)->name.c_str(); },
                          [fake](const CTexture* t) { return fake(t)->flags; },
                          [fake](const CTexture* t) { return fake(t)->order; }});
}

FakeMeshTextures::~FakeMeshTextures() {
    SetMeshTextureAccess({});
}

CTexture* FakeMeshTextures::Make(const std::string& name, std::uint32_t flags) {
    if (name.find('!') != std::string::npos)
        flags |= 0x4;
    m_textures.push_back({name, flags, static_cast<std::uint32_t>(m_textures.size() + 1)});
    return reinterpret_cast<CTexture*>(&m_textures.back());
}

CTexture* FakeMeshTextures::Load(const std::string& name) {
    m_requests.push_back(name);
    for (Texture& texture : m_textures)
        if (texture.name == name)
            return reinterpret_cast<CTexture*>(&texture);
    return Make(name);
}

} // namespace testsupport
