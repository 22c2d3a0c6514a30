#pragma once

#include "frontend/VideoPlayer.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace zentrix {

class CVideoFile;

/// Plays raw video files into a 16-bit surface at a speed in video frames per frame-factor unit, so
/// that a clip runs at the same pace whatever the frame rate (0.5 gives 15 video frames a second). The
/// files it opens stay open, read a frame at a time, for the player's life; a name opened again is
/// taken from them.
class CMVDPlayer : public CVideoPlayer {
public:
    /// The frame factor (30 / frames per second) that paces the player.
    using FrameFactor = std::function<float()>;
    /// Speed after construction.
    static constexpr float kDefaultSpeed = 0.5f;
    /// How the surface's pixels are laid out.
    enum PixelMode : int { kPixels555 = 0, kPixels565 = 1, kPixelsOther = 2 };

    /// A player at (x, y) paced by `frameFactor` (the application's when empty).
    CMVDPlayer(int x, int y, FrameFactor frameFactor = {});
    ~CMVDPlayer() override;

    /// Makes the cached file of that exact name current (the surface given now is then not taken);
    /// otherwise takes `surface`, reads its pixel layout and opens the file in stream mode. False, and
    /// nothing cached, when the surface or the file cannot be used.
    bool Open(const char* fileName, plat::gfx2d::Surface* surface) override;
    /// False without a current video or when it has no frames; else starts at `first` (the base's Play).
    bool Play(int first, int last, bool loop) override;
    /// Advances by frame factor x speed (a step that is not a finite number of at least 0 counts as 0);
    /// at or past the last frame a looping clip starts again at its first and another ends (false). A
    /// frame that differs from the one on show is written into the surface's top-left.
    bool UpdateFrame(int ms) override;
    /// Video frames per frame-factor unit.
    void SetSpeed(float speed) { m_speed = speed; }
    float GetSpeed() const { return m_speed; }
    float GetPosition() const { return m_position; }
    int GetPixelMode() const { return m_pixelMode; }
    /// How many files the player holds open.
    std::size_t CachedFileCount() const { return m_files.size(); }

private:
    void ShowFrame(int frame);

    FrameFactor m_frameFactor;
    plat::gfx2d::Surface* m_surface = nullptr;
    std::map<std::string, std::unique_ptr<CVideoFile>> m_files;
    CVideoFile* m_current = nullptr;
    float m_position = 0.0f;
    float m_speed = kDefaultSpeed;
    int m_pixelMode = kPixels565;
};

} // namespace zentrix
