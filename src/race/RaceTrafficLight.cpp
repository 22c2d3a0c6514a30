#include "race/RaceTrafficLight.h"

#include "app/ScreenSupport.h"
#include "render/Overlay.h"

#include <algorithm>

namespace zentrix {

namespace {

constexpr plat::gfx2d::Point kLightPositions[3] = {{9, 19}, {9, 99}, {9, 179}};

int Slide(int from, int to, int timer) {
    return from + static_cast<int>(static_cast<long long>(to - from) * timer / 1000);
}

} // namespace

CRaceTrafficLight::CRaceTrafficLight() {
    Init();
}

bool CRaceTrafficLight::Init() {
    auto overlay = std::make_unique<COverlay>(kPicture);
    m_loaded = overlay->GetWidth() > 0;
    overlay->SetPosition(kHiddenX, kHiddenY);
    m_overlay = std::make_unique<CRaceOverlay>(std::move(overlay));
    m_background = LoadRacePicture(kPicture);
    for (int i = 0; i < 3; ++i) {
        m_lights[i] = LoadRacePicture(kLightPictures[i]);
        m_loaded = m_loaded && m_lights[i];
    }
    m_loaded = m_loaded && m_background;
    m_x = kHiddenX;
    m_y = kHiddenY;
    m_timer = 0;
    m_state = kSlidingIn;
    return m_loaded;
}

void CRaceTrafficLight::Start() {
    if (m_state != kSlidingIn)
        return;
    PlayScreenSound(kSounds[0]);
    m_timer = 0;
    m_state = kFirst;
}

void CRaceTrafficLight::Advance(int ms) {
    m_timer += ms;
    if (m_state == kFirst && m_timer > kFirstMs) {
        m_state = kSecond;
        m_timer = 0;
        PlayScreenSound(kSounds[1]);
    }
    if (m_state == kSecond && m_timer > kSecondMs) {
        m_state = kGreen;
        m_timer = 0;
        PlayScreenSound(kSounds[2]);
    }
    switch (m_state) {
    case kSlidingIn:
        m_x = std::max(Slide(kHiddenX, kShownX, m_timer), kShownX);
        m_y = std::min(Slide(kHiddenY, kShownY, m_timer), kShownY);
        break;
    case kFirst:
    case kSecond:
        m_x = kShownX;
        m_y = kShownY;
        break;
    case kGreen:
        // No limit: the light goes on off the screen's right edge.
        m_x = Slide(kShownX, kHiddenX, m_timer);
        m_y = Slide(kShownY, kHiddenY, m_timer);
        break;
    default:
        m_x = kHiddenX;
        m_y = kHiddenY;
        break;
    }
    if (m_overlay && m_overlay->Get())
        (*m_overlay)->SetPosition(m_x, m_y);
    m_previousState = m_state;
    Draw();
}

void CRaceTrafficLight::Draw() {
    COverlay* target = m_overlay ? m_overlay->Get() : nullptr;
    if (!target)
        return;
    auto blit = [target](const std::unique_ptr<COverlay>& picture, plat::gfx2d::Point at) {
        if (picture && picture->GetSurface())
            target->BlitFrom(at.x, at.y, picture->GetSurface(), true, nullptr);
    };
    if (m_state == kFirst || m_state == kSecond)
        blit(m_lights[0], kLightPositions[0]);
    if (m_state == kSecond)
        blit(m_lights[1], kLightPositions[1]);
    if (m_state == kGreen) {
        blit(m_background, {0, 0});
        blit(m_lights[2], kLightPositions[2]);
    }
}

} // namespace zentrix
