#include "render/WorldLighting.h"

namespace zentrix {

namespace world_lighting {

namespace {

bool ValidTheme(int theme) {
    return theme >= 0 && theme < 4;
}

int ModeIndex(int mode) {
    return mode == 1 ? 0 : 1;
}

// [mode 1, mode 0][theme]: ambient of light 0, then the diffuse colours of lights 0-3.
constexpr CVector kLights[2][4][5] = {
    {
        {{0.5f, 0.5f, 0.5f},
         {1.0f, 1.0f, 1.0f},
         {0.6f, 1.0f, 0.85f},
         {0.8f, 1.0f, 0.75f},
         {0.9f, 1.0f, 0.85f}},
        {{0.6f, 0.7f, 0.8f}, {1.0f, 1.0f, 1.0f}, {0.3f, 0.3f, 0.8f}, {0.3f, 0.3f, 0.8f}, {0.9f, 0.95f, 1.0f}},
        {{0.8f, 0.8f, 0.8f}, {1.0f, 1.0f, 1.0f}, {0.8f, 0.6f, 0.4f}, {0.8f, 0.8f, 0.8f}, {0.9f, 0.9f, 0.9f}},
        {{0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.5f, 0.7f, 0.9f}, {0.6f, 0.7f, 0.8f}, {0.9f, 0.9f, 0.8f}},
    },
    {
        {{0.18f, 0.33f, 0.34f}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {{0.19f, 0.24f, 0.35f},
         {0.09f, 0.06f, 0.12f},
         {0.3f, 0.55f, 0.46f},
         {0.15f, 0.27f, 0.27f},
         {0.08f, 0.08f, 0.12f}},
        {{0.27f, 0.13f, 0.13f},
         {1.0f, 0.6f, 0.1f},
         {0.5f, 0.3f, 0.9f},
         {0.5f, 0.3f, 0.9f},
         {1.0f, 0.6f, 0.1f}},
        {{0.25f, 0.267f, 0.3f},
         {0.18f, 0.23f, 0.3f},
         {0.1f, 0.15f, 0.12f},
         {0.14f, 0.19f, 0.16f},
         {0.1f, 0.15f, 0.12f}},
    },
};

constexpr ClearColour kClear[2][4] = {
    {{14, 80, 9}, {198, 255, 253}, {233, 207, 125}, {29, 111, 0}},
    {{4, 32, 4}, {62, 81, 111}, {124, 59, 42}, {15, 49, 0}},
};

constexpr CVector kCarTint[2][4] = {
    {{0.8f, 0.8f, 0.8f}, {0.8f, 0.9f, 1.0f}, {1, 1, 1}, {1, 1, 1}},
    {{0.5f, 0.7f, 0.7f}, {0.4f, 0.4f, 0.7f}, {0.7f, 0.6f, 0.6f}, {0.5f, 0.5f, 0.5f}},
};

constexpr CVector kHighlightSteady[2][4] = {
    {{0.4f, 0.4f, 0.4f}, {0.5f, 0.5f, 0.5f}, {0.6f, 0.6f, 0.6f}, {0.4f, 0.4f, 0.4f}},
    {{1, 1, 1}, {0.8f, 0.8f, 0.8f}, {0.8f, 0.8f, 0.8f}, {0.8f, 0.8f, 0.8f}},
};

} // namespace

LightColours MainLight(int mode, int theme, int light) {
    if (!ValidTheme(theme) || light < 0 || light > 3)
        return {};
    const CVector(&row)[5] = kLights[ModeIndex(mode)][theme];
    return {row[1 + light], light == 0 ? row[0] : CVector()};
}

ClearColour Clear(int mode, int theme) {
    return ValidTheme(theme) ? kClear[ModeIndex(mode)][theme] : ClearColour{};
}

CVector Object(ObjectColour which, int mode, int theme) {
    if (!ValidTheme(theme))
        return {};
    switch (which) {
    case ObjectColour::CarTint:
        return kCarTint[ModeIndex(mode)][theme];
    case ObjectColour::HighlightSteady:
        return kHighlightSteady[ModeIndex(mode)][theme];
    case ObjectColour::HighlightFlash1:
        return {0.0f, 1.0f, 0.0f};
    case ObjectColour::HighlightFlash2:
        return {1.0f, 0.0f, 0.0f};
    }
    return {};
}

} // namespace world_lighting

} // namespace zentrix
