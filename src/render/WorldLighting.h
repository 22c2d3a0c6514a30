#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// The fixed colours of the four worlds (theme 0 jungle, 1 ice, 2 desert, 3 city) in the two lighting
/// modes (1 bright, 0 dark): the main lights, the clear colour behind the scene and the colours world
/// objects take. A theme outside 0..3 gives black everywhere.
namespace world_lighting {

/// Diffuse and ambient colour of one main light.
struct LightColours {
    CVector diffuse;
    CVector ambient;
};

/// The colours of main light `light` (0-3); only light 0 has an ambient part.
LightColours MainLight(int mode, int theme, int light);

/// The viewport's clear colour as bytes.
struct ClearColour {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const ClearColour&, const ClearColour&) = default;
};
ClearColour Clear(int mode, int theme);

/// The colours world objects take.
enum class ObjectColour { CarTint, HighlightSteady, HighlightFlash1, HighlightFlash2 };
CVector Object(ObjectColour which, int mode, int theme);

} // namespace world_lighting

} // namespace zentrix
