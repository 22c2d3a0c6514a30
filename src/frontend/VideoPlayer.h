#pragma once

namespace plat::gfx2d {
class Surface;
}

namespace zentrix {

/// The base of the video players: a player writes the frames of one video into a surface that its user
/// blits where it wants, driven from the user's per-frame update. It keeps the play range, whether it
/// loops and plays, and the frame on show.
class CVideoPlayer {
public:
    /// A player at (x, y) (kept for its user), reset.
    CVideoPlayer(int x, int y);
    virtual ~CVideoPlayer();
    CVideoPlayer(const CVideoPlayer&) = delete;
    CVideoPlayer& operator=(const CVideoPlayer&) = delete;

    /// Opens video `fileName` to play into `surface`; false when it cannot.
    virtual bool Open(const char* fileName, plat::gfx2d::Surface* surface) = 0;
    /// Plays frames `first` up to (not including) `last`, looping or not: the player plays from now on,
    /// showing no frame yet; true when `last` lies within the video.
    virtual bool Play(int first, int last, bool loop);
    /// One frame of the user's update; false when the clip has ended.
    virtual bool UpdateFrame(int ms) = 0;
    /// Stops playing.
    virtual void Stop() { m_playing = false; }
    virtual int GetCurrentFrame() const { return m_currentFrame; }
    virtual int GetFrameCount() const { return m_frameCount; }
    virtual bool IsPlaying() const { return m_playing; }
    /// No range, no frame shown, not looping or playing.
    virtual void Reset();

    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetFirstFrame() const { return m_firstFrame; }
    int GetLastFrame() const { return m_lastFrame; }
    bool IsLooping() const { return m_loop; }

    /// How many players exist.
    static int LiveCount() { return s_liveCount; }

protected:
    void SetCurrentFrame(int frame) { m_currentFrame = frame; }
    void SetFrameCount(int count) { m_frameCount = count; }
    void SetPlaying(bool playing) { m_playing = playing; }

private:
    static inline int s_liveCount = 0;

    int m_x;
    int m_y;
    int m_currentFrame = -1;
    int m_frameCount = 0;
    int m_firstFrame = -1;
    int m_lastFrame = -1;
    bool m_loop = false;
    bool m_playing = false;
};

} // namespace zentrix
