#include "frontend/VideoPlayer.h"

namespace zentrix {

CVideoPlayer::CVideoPlayer(int x, int y) : m_x(x), m_y(y) {
    ++s_liveCount;
}

CVideoPlayer::~CVideoPlayer() {
    CVideoPlayer::Reset();
    --s_liveCount;
}

bool CVideoPlayer::Play(int first, int last, bool loop) {
    m_firstFrame = first;
    m_lastFrame = last;
    m_loop = loop;
    m_playing = true;
    m_currentFrame = -1;
    return last < m_frameCount;
}

void CVideoPlayer::Reset() {
    m_currentFrame = -1;
    m_firstFrame = -1;
    m_lastFrame = -1;
    m_loop = false;
    m_playing = false;
}

} // namespace zentrix
