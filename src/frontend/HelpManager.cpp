#include "frontend/HelpManager.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "frontend/HelpPanel.h"
#include "frontend/HelpSound.h"
#include "frontend/HelpVideoPlayer.h"

namespace zentrix {

CHelpManager::CHelpManager(IHelpSound* sound, CAppSettings* settings)
    : m_sound(sound), m_settings(settings) {}

CHelpManager::~CHelpManager() {
    CHelpManager::StopManager();
}

int CHelpManager::StartManager() {
    m_helpOn = true;
    m_state = kListening;
    m_pendingHover = -1;
    m_lastHovered = -1;
    m_hoverTime = 0;
    m_hoverPlayed = false;
    m_lastPriority = 0;
    m_idleTime = 0;
    m_helpTime = 0;
    m_idleHintShown = false;
    m_idleHintCount = 0;
    m_hoverReported = false;
    m_updateCounter = 0;
    m_started = true;
    return 0;
}

int CHelpManager::StopManager() {
    m_helpOn = true;
    m_hoverTime = 0;
    m_idleTime = 0;
    m_helpTime = 0;
    m_started = false;
    return 0;
}

bool CHelpManager::IsHelpSoundPlaying() const {
    return m_sound && m_sound->IsHelpSoundPlaying();
}

void CHelpManager::PlayOnChannel(int id, bool loop) {
    if (m_sound)
        m_sound->PlayHelpSound(id, loop);
}

void CHelpManager::StopHelpSound() {
    if (m_sound)
        m_sound->StopHelpSound();
}

void CHelpManager::Update(int ms) {
    if (++m_updateCounter > kHoverForgetUpdates) {
        if (!m_hoverReported)
            m_lastHovered = -1;
        m_updateCounter = 0;
        m_hoverReported = false;
    }
    if (m_panel)
        m_panel->Update(ms);
    if (m_helpOn) {
        StateStep();
        if (m_pendingHover != -1) {
            m_hoverTime += ms;
            if (!m_hoverPlayed && m_hoverTime >= kHoverMs) {
                m_hoverPlayed = true;
                PlayHelp(m_pendingHover, 1);
                m_lastHovered = m_pendingHover;
                m_pendingHover = -1;
            }
        }
    }
    if (!m_helpOn) {
        m_idleTime += ms;
        if (m_panel && m_panel->IsOpen() && m_idleTime > kIdleHintMs && m_idleHintCount == 0) {
            // The flag is set first, so switching help on does not announce it over the hint.
            m_idleHintShown = true;
            ++m_idleHintCount;
            SetHelpMode(true, true);
            PlayHelp(kHelpIdle, 1);
            m_state = kSpeaking;
        }
    } else {
        m_helpTime += ms;
    }
}

void CHelpManager::StateStep() {
    if (!m_panel || !m_panel->IsOpen())
        return;
    switch (m_state) {
    case kSpeaking:
        if (!IsHelpSoundPlaying()) {
            m_state = kListening;
            m_helpTime = 0;
            m_lastPriority = 0;
            if (m_idleHintShown) {
                SetHelpMode(false, false);
                m_idleHintShown = false;
                m_state = kOff;
            }
        } else {
            m_panel->DriveCharacter(CHelpVideoPlayer::kSpeaking);
        }
        break;
    case kListening:
        m_panel->DriveCharacter(CHelpVideoPlayer::kListening);
        if (m_helpTime > kPromptMs) {
            m_state = kPrompting;
            PlayOnChannel(kHelpPrompt, true);
        }
        break;
    case kPrompting:
        m_panel->DriveCharacter(CHelpVideoPlayer::kPrompting);
        if (m_helpTime > kPromptEndMs) {
            m_state = kListening;
            m_helpTime = 0;
            StopHelpSound();
        }
        break;
    default:
        break;
    }
}

void CHelpManager::OnHover(int id) {
    m_hoverReported = true;
    if (id == m_lastHovered || !m_helpOn)
        return;
    if (m_state != kPrompting && IsHelpSoundPlaying())
        return;
    if (id != m_pendingHover) {
        m_pendingHover = id;
        m_hoverTime = 0;
        m_hoverPlayed = false;
    }
}

void CHelpManager::OnHoverEnd(int id) {
    if (m_helpOn && id == m_pendingHover)
        CancelHover();
}

void CHelpManager::CancelHover() {
    m_pendingHover = -1;
    m_hoverTime = 0;
    m_hoverPlayed = false;
}

bool CHelpManager::PlayHelp(int id, int priority) {
    if (!CAssetMan::IsValidAssetId(id) || !m_helpOn)
        return false;
    if (m_state != kPrompting && IsHelpSoundPlaying() && m_lastPriority <= priority)
        return false;
    PlayOnChannel(id, false);
    m_lastPriority = priority;
    m_state = kSpeaking;
    return true;
}

void CHelpManager::SetHelpMode(bool on, bool announce) {
    m_helpOn = on;
    m_idleTime = 0;
    m_helpTime = 0;
    StopHelpSound();
    if (on) {
        m_state = kListening;
        if (announce && !m_idleHintShown)
            PlayHelp(kHelpSwitchedOn, 1);
        return;
    }
    if (announce && !m_idleHintShown)
        PlayOnChannel(kHelpSwitchedOff, false);
    m_state = kOff;
    CancelHover();
}

void CHelpManager::SaveBeforeRestart() {
    if (m_settings)
        m_settings->SetInt(kRestartSetting, m_helpOn ? 1 : 0);
}

void CHelpManager::RestoreAfterRestart() {
    int on = 0;
    if (m_settings && !m_settings->GetInt(kRestartSetting, on))
        on = 0;
    if (on == 0)
        SetHelpMode(false, false);
}

} // namespace zentrix
