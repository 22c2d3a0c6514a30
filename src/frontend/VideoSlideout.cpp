#include "frontend/VideoSlideout.h"

#include "world/WorldMan.h"

namespace zentrix {

namespace {

CVideoSlideout::SVideo g_video; // one video panel per run, as the video is named before it shows

} // namespace

CVideoSlideout::CVideoSlideout(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {
    g_video = SVideo(); // made as the run starts: no video named yet
}

void CVideoSlideout::SetVideo(int videoId, int nextState, bool firstFlag, bool secondFlag, int durationMs,
                              int firstExtra, int secondExtra) {
    g_video.videoId = videoId;
    g_video.nextState = nextState;
    g_video.flags[0] = firstFlag;
    g_video.flags[1] = secondFlag;
    g_video.durationMs = durationMs;
    g_video.extra[0] = firstExtra;
    g_video.extra[1] = secondExtra;
}

const CVideoSlideout::SVideo& CVideoSlideout::GetVideo() {
    return g_video;
}

void CVideoSlideout::AttachWorld() {
    m_world = CWorldMan::GetWorld(CWorldMan::kVideoPlay);
}

} // namespace zentrix
