#include "frontend/MVDPlayer.h"

#include "app/App.h"
#include "frontend/VideoFile.h"
#include "platform/gfx2d/Surface.h"

#include <cmath>

namespace zentrix {

namespace {

int PixelModeOf(const plat::gfx2d::PixelFormat& format) {
    const int red = plat::gfx2d::MaskBitCount(format.redMask);
    const int green = plat::gfx2d::MaskBitCount(format.greenMask);
    const int blue = plat::gfx2d::MaskBitCount(format.blueMask);
    if (red == 5 && blue == 5 && green == 5)
        return CMVDPlayer::kPixels555;
    if (red == 5 && blue == 5 && green == 6)
        return CMVDPlayer::kPixels565;
    return CMVDPlayer::kPixelsOther;
}

} // namespace

CMVDPlayer::CMVDPlayer(int x, int y, FrameFactor frameFactor)
    : CVideoPlayer(x, y), m_frameFactor(std::move(frameFactor)) {
    if (!m_frameFactor)
        m_frameFactor = [] { return g_pApp ? g_pApp->GetFrameFactor() : 1.0f; };
}

CMVDPlayer::~CMVDPlayer() = default;

bool CMVDPlayer::Open(const char* fileName, plat::gfx2d::Surface* surface) {
    SetPlaying(false);
    if (fileName == nullptr)
        return false;
    if (auto cached = m_files.find(fileName); cached != m_files.end()) {
        m_current = cached->second.get();
        SetFrameCount(m_current->GetFrameCount());
        return true;
    }
    m_surface = surface;
    if (surface == nullptr)
        return false;
    m_pixelMode = PixelModeOf(surface->Format());
    auto file = std::make_unique<CVideoFile>(0, 0, 0);
    if (!file->Load(CVideoFile::kStream, fileName))
        return false;
    m_current = file.get();
    SetFrameCount(m_current->GetFrameCount());
    m_files[fileName] = std::move(file);
    return true;
}

bool CMVDPlayer::Play(int first, int last, bool loop) {
    if (m_current == nullptr || m_current->GetFrameCount() == 0)
        return false;
    m_position = static_cast<float>(first);
    return CVideoPlayer::Play(first, last, loop);
}

bool CMVDPlayer::UpdateFrame(int /*ms*/) {
    float step = m_frameFactor() * m_speed;
    // A first frame may measure no frames per second; it moves nothing rather than jumping to the end.
    if (!std::isfinite(step) || step < 0.0f)
        step = 0.0f;
    m_position += step;
    if (static_cast<float>(GetLastFrame()) <= m_position) {
        if (!IsLooping()) {
            SetPlaying(false);
            return false;
        }
        m_position = static_cast<float>(GetFirstFrame());
    }
    const int frame = static_cast<int>(m_position);
    if (frame != GetCurrentFrame()) {
        SetCurrentFrame(frame);
        ShowFrame(frame);
    }
    return true;
}

void CMVDPlayer::ShowFrame(int frame) {
    if (m_surface == nullptr || m_current == nullptr)
        return;
    plat::gfx2d::SurfaceView view;
    if (m_surface->Lock(view, plat::gfx2d::kLockNoWait) != plat::gfx2d::Result::Ok)
        return;
    m_current->GetFrame(frame, view.pixels, view.size.width, view.size.height, view.pitch, m_pixelMode);
    m_surface->Unlock();
}

} // namespace zentrix
