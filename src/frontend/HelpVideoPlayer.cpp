#include "frontend/HelpVideoPlayer.h"

#include "foundation/math/RandomNumbers.h"
#include "frontend/HelpPanelServices.h"
#include "frontend/MVDPlayer.h"
#include "render/Overlay.h"

#include <string>

namespace zentrix {

const std::array<CHelpVideoPlayer::SClip, CHelpVideoPlayer::kClipCount> CHelpVideoPlayer::kClips = {{
    {0, 20, kListening, 40, true},
    {20, 40, kListening, 10, false},
    {40, 60, kListening, 10, false},
    {60, 80, kListening, 10, false},
    {80, 110, kListening, 10, false},
    {310, 340, kListening, 5, false},
    {140, 170, kListening, 0, false},
    {110, 140, kPrompting, 10, false},
    {240, 260, kPrompting, 0, false},
    {292, 308, kPrompting, 90, true},
    {260, 290, kSpeaking, 10, false},
    {170, 190, kSpeaking, 95, true},
    {190, 220, kSpeaking, 10, false},
    {220, 240, kSpeaking, 0, false},
}};

namespace {

// Draws rarely fail to give a clip (a draw of the whole weight, or the clip just shown); this many in a
// row cannot happen with the clips above, but no draw is left to loop for ever.
constexpr int kMaxDraws = 1000;

} // namespace

CHelpVideoPlayer::CHelpVideoPlayer(IHelpPanelServices& services) : m_services(services) {}

CHelpVideoPlayer::~CHelpVideoPlayer() {
    Detach();
}

int CHelpVideoPlayer::PickClip(int group, int previous) {
    int total = 0;
    int fallback = -1;
    for (int i = 0; i < kClipCount; ++i) {
        if (kClips[i].group != group)
            continue;
        total += kClips[i].weight;
        if (fallback == -1 && kClips[i].weight > 0 && (kClips[i].mayRepeat || i != previous))
            fallback = i;
    }
    if (fallback == -1)
        return -1;
    for (int draw = 0; draw < kMaxDraws; ++draw) {
        const int r = RandomIntInRange(0, total);
        int sum = 0;
        int pick = -1;
        for (int i = 0; i < kClipCount && pick == -1; ++i) {
            if (kClips[i].group != group)
                continue;
            sum += kClips[i].weight;
            if (sum > r)
                pick = i;
        }
        if (pick != -1 && !(pick == previous && !kClips[pick].mayRepeat))
            return pick;
    }
    return fallback;
}

void CHelpVideoPlayer::Attach(COverlay* target) {
    Detach();
    m_target = target;
    m_framePicture = std::make_unique<COverlay>(kFramePicture);
    if (plat::gfx2d::Surface* frame = m_framePicture->GetSurface()) {
        frame->SetSourceColorKey(kYellowKey);
        m_videoSurface = m_services.CreateSurface(m_framePicture->GetWidth(), m_framePicture->GetHeight());
        if (!m_videoSurface)
            m_services.LogError("createsurface");
        else if (m_videoSurface->Fill(nullptr, 0) != plat::gfx2d::Result::Ok)
            m_services.LogError("Blt (colourfill)");
    }
    m_player = std::make_unique<CMVDPlayer>(kX, kY, [this] { return m_services.GetFrameFactor(); });
    m_player->SetSpeed(kSpeed);
    m_active = true;
}

void CHelpVideoPlayer::Detach() {
    m_player.reset();
    m_videoSurface.reset();
    m_framePicture.reset();
    m_target = nullptr;
    m_playing = false;
    m_clip = -1;
    m_active = false;
    m_opened = false;
}

void CHelpVideoPlayer::PlayGroup(int group) {
    if (!m_active)
        return;
    const bool due =
        group == kSpeaking ? !m_playing || m_clip == -1 || kClips[m_clip].group != kSpeaking : !m_playing;
    if (!due)
        return;
    const int clip = PickClip(group, m_lastPick);
    if (clip == -1)
        return;
    m_lastPick = clip;
    m_clip = clip;
    PlayClip(kClips[clip].first, kClips[clip].last);
}

void CHelpVideoPlayer::ShowRestPose() {
    m_clip = -1;
    PlayClip(0, 1);
}

void CHelpVideoPlayer::PlayClip(int first, int last) {
    if (!m_player)
        return;
    if (!m_opened) {
        m_opened = true; // once: a missing video leaves the character empty, without a retry each frame
        std::string path;
        if (m_services.GetAssetPath(kVideoAsset, path))
            m_player->Open(path.c_str(), m_videoSurface.get());
    }
    m_playing = m_player->Play(first, last, false);
}

void CHelpVideoPlayer::Stop() {
    if (m_player)
        m_player->Stop();
    m_playing = false;
}

void CHelpVideoPlayer::Draw() {
    // The character first appears once the main screen has been shown, even when the game was started
    // again straight into another screen.
    if (!m_active || !m_player || !m_target || !m_services.HasMainScreenBeenReached())
        return;
    m_playing = m_player->UpdateFrame(0);
    if (m_videoSurface)
        m_target->BlitFrom(kX, kY + kDrawOffsetY, m_videoSurface.get(), false, nullptr);
    if (m_framePicture && m_framePicture->GetSurface())
        m_target->BlitFrom(kX, kY + kDrawOffsetY, m_framePicture->GetSurface(), true, nullptr);
}

} // namespace zentrix
