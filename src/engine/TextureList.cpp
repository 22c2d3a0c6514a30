#include "engine/TextureList.h"

#include "engine/DisplayDevice.h"
#include "engine/EngineLog.h"
#include "engine/Texture.h"
#include "engine/TextureSurface.h"
#include "foundation/base/FatalError.h"

#include <algorithm>
#include <cctype>
#include <list>
#include <memory>
#include <string>

namespace zentrix {

namespace {

// The engine's texture list, newest first; it owns the textures.
std::list<std::unique_ptr<CTexture>>& Textures() {
    static std::list<std::unique_ptr<CTexture>> list;
    return list;
}

UserTextureLoadFunction g_userLoad = nullptr;

} // namespace

CTexture* NewTexture() {
    Textures().push_front(std::make_unique<CTexture>());
    return Textures().front().get();
}

CTexture* NewTextureFromFile(const char* fileName) {
    CTexture* texture = NewTexture();
    texture->LoadTGA(fileName);
    return texture;
}

CTexture* NewTextureFromMemory(const std::uint8_t* data, std::size_t size, const char* name) {
    CTexture* texture = NewTexture();
    texture->LoadFromMemory(data, size, name);
    return texture;
}

void DeleteTexture(CTexture* texture) {
    auto& list = Textures();
    auto it = std::find_if(list.begin(), list.end(), [&](const auto& t) { return t.get() == texture; });
    if (it == list.end())
        return;
    for (CDisplayDevice* device : GetDisplayDevices())
        ReleaseTextureSurfaces(*device, *texture);
    list.erase(it);
}

void DeleteAllTextures() {
    for (CDisplayDevice* device : GetDisplayDevices())
        ReleaseAllTextureSurfaces(*device);
    auto& list = Textures();
    while (!list.empty())
        list.pop_front();
}

std::size_t TextureCount() {
    return Textures().size();
}

void SetUserTextureLoadFunction(UserTextureLoadFunction function) {
    g_userLoad = function;
}

CTexture* OMBRELLoadTexture(const char* name) {
    const std::string path = name && *name ? name : "MISSING";
    CTexture* texture = nullptr;
    if (g_userLoad) {
        texture = g_userLoad(path.c_str());
        if (texture == nullptr || texture->GetWidth() == 0) {
            // Nothing found: the faces that name it stay untextured.
            EngineLog("LoadTexture", "User load function failed to find texture %s", path.c_str());
            return nullptr;
        }
    } else {
        const std::size_t dot = path.rfind('.');
        std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1, 3);
        for (char& c : extension)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (extension != "TGA")
            FatalError("Unsupported texture file %s", path.c_str());
        texture = NewTexture();
        texture->LoadTGA(path.c_str());
    }
    if (texture->GetName() == nullptr)
        texture->SetName(path.c_str());
    return texture;
}

} // namespace zentrix
