#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/gfx2d/Surface.h"

#include <memory>
#include <optional>

namespace plat::gfx2d {

/// Where a surface is asked to live. Every surface lives in memory here; the request is kept so that a
/// factory may refuse one kind, as display memory could run out.
enum class MemoryKind { System, Video };

/// What a new surface should be: its size, its pixel format (the screen's 5-6-5 when none is given)
/// and the memory it is asked for in.
struct SurfaceRequest {
    Size size;
    std::optional<PixelFormat> format;
    MemoryKind memory = MemoryKind::System;
};

/// Makes off-screen surfaces; the game's 2D code reaches it through the engine.
class SurfaceFactory {
public:
    virtual ~SurfaceFactory() = default;

    /// A new zero-filled surface, or null when the request cannot be met.
    virtual std::unique_ptr<Surface> CreateSurface(const SurfaceRequest& request) = 0;
};

/// The factory of surfaces in ordinary memory, whatever memory kind is asked for.
class MemorySurfaceFactory final : public SurfaceFactory {
public:
    std::unique_ptr<Surface> CreateSurface(const SurfaceRequest& request) override;
};

} // namespace plat::gfx2d
