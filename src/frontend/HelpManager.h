#pragma once

#include "foundation/base/ManagerInterface.h"

namespace zentrix {

class CAppSettings;
class CHelpPanel;
class IHelpSound;

/// Spoken help: the rules of when help items play. While help is on, a control under the pointer for
/// more than 1300 ms of updates plays its help item once; panels, the editor and printing play their
/// own. One item plays at a time on the help channel: a playing item is cut only by an item of a smaller
/// priority number, or by any item while the help character prompts. Left alone, the help character
/// listens, and after three minutes prompts the player for another quarter of a minute; with help off
/// for three minutes it offers a hint, once. Updated twice a frame with the frame's milliseconds, so its
/// timers run at twice the clock's pace.
class CHelpManager : public CManagerInterface {
public:
    /// Help states.
    enum State : int { kOff = -1, kSpeaking = 0, kListening = 1, kPrompting = 2 };

    /// Help items of its own.
    static constexpr int kHelpIdle = 57108;
    static constexpr int kHelpSwitchedOff = 57109;
    static constexpr int kHelpPrompt = 57118;
    static constexpr int kHelpSwitchedOn = 57119;
    /// A hover is played once it has lasted this long.
    static constexpr int kHoverMs = 1301;
    /// Updates after which a hovered item that is no longer reported may be offered again.
    static constexpr int kHoverForgetUpdates = 40;
    static constexpr int kIdleHintMs = 180000;
    static constexpr int kPromptMs = 180000;
    static constexpr int kPromptEndMs = 195000;
    /// The setting that keeps the help mode over a restart.
    static constexpr const char* kRestartSetting = "HelpOnBeforeRestart";

    /// A help manager playing on `sound` and keeping its restart setting in `settings` (either may be
    /// null: no sound, no setting); both outlive it.
    CHelpManager(IHelpSound* sound, CAppSettings* settings);
    ~CHelpManager() override;
    CHelpManager(const CHelpManager&) = delete;
    CHelpManager& operator=(const CHelpManager&) = delete;

    /// Help on, listening, every timer and flag cleared; 0.
    int StartManager() override;
    /// Help on, timers cleared; 0.
    int StopManager() override;

    /// The help panel whose character this manager drives (null: none); it outlives the manager's use.
    void SetHelpPanel(CHelpPanel* panel) { m_panel = panel; }

    /// One update: the hover memory, the help panel, the help state and the pending hover, the idle hint.
    void Update(int ms);
    /// A control (or the help button, or an edit mode) reports help item `id` under the pointer.
    void OnHover(int id);
    /// The pointer left the item: a pending hover of `id` is dropped.
    void OnHoverEnd(int id);
    /// Drops the pending hover.
    void CancelHover();
    /// Plays help item `id` with `priority` (1 from every caller); false when it is no asset id, help is
    /// off, or an item of a priority number not above it is still playing outside the prompting state.
    bool PlayHelp(int id, int priority);
    /// Switches help on or off, stopping the item playing; `announce` says so aloud (not while the idle
    /// hint is showing).
    void SetHelpMode(bool on, bool announce);
    bool IsHelpOn() const { return m_helpOn; }
    /// Keeps the help mode as "HelpOnBeforeRestart" for the next run.
    void SaveBeforeRestart();
    /// Switches help off, unannounced, when "HelpOnBeforeRestart" is 0 or absent.
    void RestoreAfterRestart();

    int GetState() const { return m_state; }
    int GetPendingHover() const { return m_pendingHover; }
    int GetLastHovered() const { return m_lastHovered; }

private:
    void StateStep();
    bool IsHelpSoundPlaying() const;
    void PlayOnChannel(int id, bool loop);
    void StopHelpSound();

    IHelpSound* m_sound;
    CAppSettings* m_settings;
    CHelpPanel* m_panel = nullptr;
    bool m_helpOn = true;
    int m_pendingHover = -1;
    int m_hoverTime = 0;
    bool m_hoverPlayed = false;
    int m_lastPriority = 0;
    int m_idleTime = 0;
    int m_helpTime = 0;
    bool m_idleHintShown = false;
    int m_idleHintCount = 0;
    int m_lastHovered = -1;
    int m_state = kListening;
    bool m_hoverReported = false;
    int m_updateCounter = 0;
};

} // namespace zentrix
