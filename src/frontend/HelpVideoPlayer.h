#pragma once

#include "platform/gfx2d/Surface.h"

#include <array>
#include <memory>

namespace zentrix {

class CMVDPlayer;
class COverlay;
class IHelpPanelServices;

/// The animated help character: clips of the help video, picked at random by what the help is doing
/// (listening, prompting, speaking), drawn into the help panel's picture behind a frame picture whose
/// yellow window shows the video.
class CHelpVideoPlayer {
public:
    /// Clip groups.
    enum Group : int { kListening = 0, kPrompting = 1, kSpeaking = 2 };
    /// One clip: frames first up to (not including) last, its group, its pick weight and whether it may
    /// follow itself.
    struct SClip {
        int first;
        int last;
        int group;
        int weight;
        bool mayRepeat;
    };
    static constexpr int kClipCount = 14;
    /// The clips of the help video.
    static const std::array<SClip, kClipCount> kClips;

    static constexpr int kVideoAsset = 30010;
    static constexpr int kFramePicture = 34010;
    /// Where the character stands in the help picture; the video and its frame are drawn 7 lower.
    static constexpr int kX = 23;
    static constexpr int kY = 0;
    static constexpr int kDrawOffsetY = 7;
    /// Video frames per frame-factor unit.
    static constexpr float kSpeed = 0.2f;
    /// The frame picture's colour key: yellow, in 5-6-5.
    static constexpr std::uint32_t kYellowKey = 0xFFE0;

    explicit CHelpVideoPlayer(IHelpPanelServices& services);
    virtual ~CHelpVideoPlayer();
    CHelpVideoPlayer(const CHelpVideoPlayer&) = delete;
    CHelpVideoPlayer& operator=(const CHelpVideoPlayer&) = delete;

    /// Draws into `target` from now on: makes the video surface (the frame picture's size, black; a
    /// failure logged) and the player; the character is active.
    void Attach(COverlay* target);
    /// Deletes the player and the surfaces; inactive.
    void Detach();
    /// Starts a clip of `group` when one is due: a speaking clip when the video has stopped or shows no
    /// speaking clip, a listening or prompting clip when the video has stopped.
    void PlayGroup(int group);
    /// Plays the rest pose (frames 0 to 1).
    void ShowRestPose();
    /// Plays frames `first` up to `last` once, opening the help video on the first call.
    void PlayClip(int first, int last);
    /// Stops the character where it stands.
    void Stop();
    /// Advances the video and draws it, then the frame picture over it, into the target; nothing until
    /// the main screen has been reached.
    void Draw();

    bool IsActive() const { return m_active; }
    bool IsPlaying() const { return m_playing; }
    /// The clip on show (-1: the rest pose or none).
    int GetClip() const { return m_clip; }
    CMVDPlayer* GetPlayer() const { return m_player.get(); }

    /// A clip of `group` drawn by weight from the game's random numbers, never `previous` again when that
    /// clip may not repeat; -1 for a group without clips.
    static int PickClip(int group, int previous);

private:
    IHelpPanelServices& m_services;
    std::unique_ptr<CMVDPlayer> m_player;
    COverlay* m_target = nullptr;
    std::unique_ptr<plat::gfx2d::Surface> m_videoSurface;
    std::unique_ptr<COverlay> m_framePicture;
    bool m_playing = false;
    int m_clip = -1;
    int m_lastPick = -1;
    bool m_active = false;
    bool m_opened = false;
};

} // namespace zentrix
