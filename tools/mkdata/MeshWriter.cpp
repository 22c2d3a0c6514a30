#include "MeshWriter.h"

#include "engine/KmbFile.h"
#include "engine/KmtReader.h"
#include "engine/Mesh.h"
#include "engine/MeshTextureAccess.h"
#include "foundation/resources/AsciiCase.h"
#include "platform/fs/FileSystem.h"

#include <deque>

using namespace zentrix;

namespace mkdata {

namespace {

/// A texture as the tool knows it: the name the mesh gives. Its order number follows first use, so
/// the faces and the texture list come out the same in every run.
struct NamedTexture {
    std::string name;
    std::uint32_t order;
};

bool HasAsset(const Sources& sources, const std::string& path) {
    for (const Asset& other : sources.assets)
        if (AsciiCase::Equal(other.path, path))
            return true;
    return false;
}

} // namespace

bool MakeKmb(const Sources& sources, const Asset& asset, std::vector<std::uint8_t>& out, std::string& error) {
    const std::string source = sources.folder + "/" + asset.args[0];
    const plat::fs::ReadResult text = plat::fs::ReadWholeFile(source);
    if (text.error != plat::fs::Error::kNone) {
        error = source + ": cannot be read";
        return false;
    }
    const std::string meshFolder = asset.path.substr(0, asset.path.rfind('\\') + 1);
    std::deque<NamedTexture> textures;
    std::string missing;
    auto named = [](const CTexture* t) { return reinterpret_cast<const NamedTexture*>(t); };
    SetMeshTextureAccess({[&](const char* name) {
                              for (NamedTexture& t : textures)
                                  if (t.name == name)
                                      return reinterpret_cast<CTexture*>(&t);
                              if (!HasAsset(sources, kJungleTextures + std::string(name)) &&
                                  !HasAsset(sources, meshFolder + name) && missing.empty())
                                  missing = name;
                              textures.push_back({name, static_cast<std::uint32_t>(textures.size() + 1)});
                              return reinterpret_cast<CTexture*>(&textures.back());
                          },
                          [named](const CTexture* t) { return named(t)->name.c_str(); },
                          [](const CTexture*) { return std::uint32_t{0}; },
                          [named](const CTexture* t) { return named(t)->order; }});
    CMesh root;
    // The game reads on past what does not match; a sample source must follow the format throughout.
    std::string drift;
    const bool loaded =
        KMTLoadFromMemory(text.bytes.data(), text.bytes.size(), source.c_str(), &root, true, &drift);
    if (loaded && drift.empty() && missing.empty())
        out = SaveKMBImage(&root, nullptr);
    SetMeshTextureAccess({});
    if (!loaded || !drift.empty()) {
        error = source + ": not a readable KMT mesh (" + (drift.empty() ? "see ombrel.log" : drift) + ")";
        return false;
    }
    if (!missing.empty()) {
        error = source + ": texture \"" + missing + "\" is neither in " + kJungleTextures + " nor in " +
                meshFolder;
        return false;
    }
    return true;
}

} // namespace mkdata
