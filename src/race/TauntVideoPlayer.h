#pragma once

#include <functional>
#include <memory>

namespace plat::gfx2d {
class Surface;
}

namespace zentrix {

/// What the taunt monitor asks of the player of the drivers' face videos. The raw-video player lives
/// above the race layer; the program hands the race world a maker of players that answer this.
class ITauntVideoPlayer {
public:
    virtual ~ITauntVideoPlayer() = default;
    /// Opens the video at game path `fileName` to be written into `surface` (a name opened before is
    /// taken from the player's own files); false when it cannot.
    virtual bool Open(const char* fileName, plat::gfx2d::Surface* surface) = 0;
    /// Plays frames `first` up to (not including) `last`; false without an open video.
    virtual bool Play(int first, int last, bool loop) = 0;
    /// One frame of the monitor's update; false once a clip that does not loop has ended.
    virtual bool UpdateFrame(int ms) = 0;
    /// The frame on show (-1: none yet).
    virtual int GetCurrentFrame() const = 0;
};

/// Makes a player at (x, y); null when none can be had.
using TauntPlayerMaker = std::function<std::unique_ptr<ITauntVideoPlayer>(int x, int y)>;

} // namespace zentrix
