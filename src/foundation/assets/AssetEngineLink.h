#pragma once

#include <functional>

namespace zentrix {

class CTexture;

/// What the asset manager asks of the engine manager: the world theme's background and lights, and the
/// loader the engine calls for every texture a mesh file names.
class IAssetEngineLink {
public:
    /// Answers the engine's request for a texture by file name; null when there is none.
    using TextureLoadFunction = std::function<CTexture*(const char* fileName)>;

    virtual ~IAssetEngineLink() = default;
    /// Sets the background colour of a world theme (0..3).
    virtual void SetBackgroundColour(int world) = 0;
    /// Sets up the lights for the engine's current lighting mode.
    virtual void SetupLighting() = 0;
    /// Installs the loader of textures named inside mesh files.
    virtual void SetUserTextureLoadFunction(TextureLoadFunction load) = 0;
};

} // namespace zentrix
