#pragma once

#include "frontend/MVDPlayer.h"
#include "race/TauntVideoPlayer.h"

namespace zentrix {

/// A raw-video player for the taunt monitor's faces.
class CMVDTauntPlayer : public ITauntVideoPlayer {
public:
    /// A player at (x, y) paced by the application's frame factor.
    CMVDTauntPlayer(int x, int y) : m_player(x, y) {}

    bool Open(const char* fileName, plat::gfx2d::Surface* surface) override {
        return m_player.Open(fileName, surface);
    }
    bool Play(int first, int last, bool loop) override { return m_player.Play(first, last, loop); }
    bool UpdateFrame(int ms) override { return m_player.UpdateFrame(ms); }
    int GetCurrentFrame() const override { return m_player.GetCurrentFrame(); }

    /// Makes one, for the race world.
    static std::unique_ptr<ITauntVideoPlayer> Make(int x, int y) {
        return std::make_unique<CMVDTauntPlayer>(x, y);
    }

private:
    CMVDPlayer m_player;
};

} // namespace zentrix
