#pragma once

#include "platform/gfx2d/Surface.h"
#include "race/TauntDisplay.h"
#include "race/TauntScript.h"
#include "race/TauntVideoPlayer.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zentrix {

class COverlay;

/// The small framed window in the race panel that shows a taunting driver's face: a clip of the
/// driver's face video, chosen by the driver's animation script for the expression, stretched into the
/// window of a frame picture, with the expression's spoken sound.
class CTauntMonitor : public ITauntDisplay {
public:
    static constexpr int kDriverCount = 13;
    /// The frame pictures: the race's, and the one shown during the lap of honour.
    static constexpr int kFramePicture = 39666;
    static constexpr int kHonourFramePicture = 39665;
    /// The frames' colour key, 0x00BBGGRR: yellow.
    static constexpr std::uint32_t kFrameKey = 0x0000FFFF;
    /// Face video and animation script of driver d: these ids + d.
    static constexpr int kFirstFaceVideo = 39900;
    static constexpr int kFirstScript = 39950;
    /// The video is drawn this far into the frame, its size the frame's less kVideoInset each way, from
    /// at most kVideoSource x kVideoSource pixels of the video.
    static constexpr int kVideoX = 12;
    static constexpr int kVideoY = 7;
    static constexpr int kVideoInset = 20;
    static constexpr int kVideoSource = 100;

    /// Loads the frame pictures and the thirteen scripts; players come from `makePlayer` at each Attach.
    explicit CTauntMonitor(TauntPlayerMaker makePlayer);
    ~CTauntMonitor() override;
    CTauntMonitor(const CTauntMonitor&) = delete;
    CTauntMonitor& operator=(const CTauntMonitor&) = delete;

    /// Draws into `target` from now on: the old player and video surface go, a new video surface (the
    /// frame picture's size, black) is made through the target and a new player; nothing is shown.
    void Attach(COverlay* target);
    /// Draws nowhere until the next Attach (the target is going away).
    void Detach();

    bool PlayTaunt(int tag, int driver, bool loop, bool hold) override;
    /// The frame's work while a taunt is on show: the clip advances and is drawn with the frame over it;
    /// a hold clip that ended loops its last frames.
    void Update();

    bool IsBusy() const override { return m_busy; }
    int GetTag() const override { return m_tag; }
    bool IsHolding() const override { return m_hold; }
    void EndHold() override { m_busy = false; }
    bool IsAttached() const { return m_attached; }
    COverlay* GetTarget() const { return m_target; }
    int GetDriver() const { return m_driver; }
    const ITauntVideoPlayer* GetPlayer() const { return m_player.get(); }
    plat::gfx2d::Surface* GetVideoSurface() const { return m_videoSurface.get(); }
    bool HasFramePicture() const { return m_frame != nullptr; }
    /// Driver `driver`'s script (0..12).
    const CTauntScript& GetScript(int driver) const { return m_scripts[static_cast<std::size_t>(driver)]; }

    /// The sound of expression `tag` of driver `driver`, -1 for none: the computer drivers (0..8) speak
    /// their four taunts (23..26), the player characters (9..12) tags 0..22.
    static int TauntSound(int driver, int tag);
    /// Frames a hold expression keeps looping at its end (0: not a hold expression).
    static int HoldFrames(int tag);
    static bool IsHoldTag(int tag) { return HoldFrames(tag) != 0; }

private:
    void Draw();

    TauntPlayerMaker m_makePlayer;
    std::unique_ptr<ITauntVideoPlayer> m_player;
    COverlay* m_target = nullptr;
    std::unique_ptr<plat::gfx2d::Surface> m_videoSurface;
    std::unique_ptr<COverlay> m_frame;
    std::unique_ptr<COverlay> m_honourFrame;
    bool m_busy = false;
    int m_x = 0;
    int m_y = 0;
    std::array<CTauntScript, kDriverCount> m_scripts;
    int m_driver = -2;
    int m_tag = CTauntScript::kNoTag;
    bool m_attached = false;
    bool m_hold = false;
};

} // namespace zentrix
