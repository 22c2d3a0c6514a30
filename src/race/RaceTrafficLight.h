#pragma once

#include "race/RaceOverlay.h"

#include <array>
#include <memory>

namespace zentrix {

/// The start light: it slides in at the right of the screen, shows its first and second light with a
/// sound each, turns green with a third, and slides away off the screen's right edge.
class CRaceTrafficLight {
public:
    /// Light states: sliding in, first light, second light, green (sliding out); none before Init.
    enum ELightState : int { kNone = -1, kSlidingIn = 0, kFirst = 1, kSecond = 2, kGreen = 3 };
    static constexpr int kPicture = 39660;
    static constexpr int kLightPictures[3] = {39661, 39662, 39663};
    static constexpr int kShownX = 503;
    static constexpr int kShownY = 75;
    static constexpr int kHiddenX = 640;
    static constexpr int kHiddenY = 75;
    static constexpr int kSounds[3] = {50032, 50033, 50034};
    /// Milliseconds in the first and second light before the next one.
    static constexpr int kFirstMs = 1000;
    static constexpr int kSecondMs = 1300;

    CRaceTrafficLight();

    /// The pictures are loaded and the light starts sliding in; false when a picture is missing.
    bool Init();
    /// The first light, with its sound; only while sliding in.
    void Start();
    /// The timer, the state change it brings, the position and the drawing.
    void Advance(int ms);
    bool IsGreen() const { return m_state == kGreen; }
    int GetState() const { return m_state; }
    bool IsLoaded() const { return m_loaded; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }

private:
    void Draw();

    bool m_loaded = false;
    std::unique_ptr<CRaceOverlay> m_overlay;
    std::array<std::unique_ptr<COverlay>, 3> m_lights;
    std::unique_ptr<COverlay> m_background;
    int m_timer = 0;
    int m_x = kHiddenX;
    int m_y = kHiddenY;
    int m_previousState = kNone;
    int m_state = kNone;
};

} // namespace zentrix
