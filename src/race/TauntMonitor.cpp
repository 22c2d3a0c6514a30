#include "race/TauntMonitor.h"

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/GameStates.h"
#include "platform/system/DebugOutput.h"
#include "race/RaceOverlay.h"
#include "render/ClippedBlt.h"
#include "render/Overlay.h"

#include <algorithm>
#include <string>

namespace zentrix {

namespace {

constexpr int kFirstSound = 54000;
constexpr int kLastSound = 55000;

/// The computer drivers' taunt sounds: tags 23, 24, 25 and 26 by driver index 0..8.
constexpr int kComputerSounds[4][9] = {
    {54101, 54121, 54181, 54151, 54171, 54111, 54161, 54131, 54141},
    {54102, 54122, 54182, 54152, 54172, 54112, 54162, 54132, 54142},
    {54100, 54120, 54180, 54150, 54170, 54110, 54160, 54130, 54140},
    {54103, 54123, 54183, 54153, 54173, 54113, 54163, 54133, 54143},
};

/// The player characters' sounds: tags 0..22 by driver index 9..12.
constexpr int kPlayerSounds[4][23] = {
    {-1,    -1,    -1,    54025, -1,    -1,    54026, 54027, 54028, 54029, 54030, 54031,
     54032, 54033, 54034, 54035, 54036, 54037, 54038, -1,    54040, 54341, 54042},
    {-1,    -1,    -1,    54000, -1,    -1,    54001, 54002, 54003, 54004, 54005, 54006,
     54007, 54008, 54009, 54010, 54011, 54012, 54013, -1,    54015, 54016, 54017},
    {-1,    -1,    -1,    54050, -1,    -1,    54051, 54052, 54053, 54054, 54055, 54056,
     54057, 54058, 54059, 54060, 54061, 54062, 54063, -1,    54065, 54066, 54067},
    {-1,    -1,    -1,    54075, -1,    -1,    54076, 54077, 54078, 54079, 54093, 54081,
     54082, 54083, 54084, 54085, 54086, 54087, 54088, -1,    54090, 54391, 54092},
};

CAssetMan* Assets() {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

std::unique_ptr<COverlay> LoadFrame(int id) {
    std::unique_ptr<COverlay> frame = LoadRacePicture(id);
    if (!frame || !frame->GetSurface()) {
        plat::system::DebugOutput("taunt monitor: frame picture " + std::to_string(id) + " is missing");
        return nullptr;
    }
    frame->GetSurface()->SetSourceColorKey(frame->ColourToPixel(CTauntMonitor::kFrameKey));
    return frame;
}

} // namespace

CTauntMonitor::CTauntMonitor(TauntPlayerMaker makePlayer) : m_makePlayer(std::move(makePlayer)) {
    m_frame = LoadFrame(kFramePicture);
    m_honourFrame = LoadFrame(kHonourFramePicture);
    CAssetMan* assets = Assets();
    for (int driver = 0; driver < kDriverCount; ++driver) {
        std::string text;
        const int id = kFirstScript + driver;
        if (assets && assets->LoadAssetIntoString(id, text))
            m_scripts[static_cast<std::size_t>(driver)].Read(text, "taunt script " + std::to_string(id));
    }
}

CTauntMonitor::~CTauntMonitor() {
    // The player writes into the video surface: it goes first.
    m_player.reset();
    m_videoSurface.reset();
}

int CTauntMonitor::TauntSound(int driver, int tag) {
    int sound = -1;
    if (driver >= 0 && driver <= 8 && tag >= 23 && tag <= 26)
        sound = kComputerSounds[tag - 23][driver];
    else if (driver >= 9 && driver <= 12 && tag >= 0 && tag <= 22)
        sound = kPlayerSounds[driver - 9][tag];
    return sound >= kFirstSound && sound <= kLastSound ? sound : -1;
}

int CTauntMonitor::HoldFrames(int tag) {
    switch (tag) {
    case 4:
    case 5:
    case 16:
        return 2;
    case 8:
        return 1;
    case 20:
        return 10;
    default:
        return 0;
    }
}

void CTauntMonitor::Attach(COverlay* target) {
    // Every race start and every panel rebuild attaches again: the old player and surface go first.
    m_player.reset();
    m_videoSurface.reset();
    if (m_frame && target) {
        m_videoSurface = target->CreateSurface(m_frame->GetWidth(), m_frame->GetHeight());
        if (!m_videoSurface)
            plat::system::DebugOutput("taunt monitor: createsurface");
        else if (m_videoSurface->Fill(nullptr, 0) != plat::gfx2d::Result::Ok)
            plat::system::DebugOutput("taunt monitor: Blt (colourfill)");
    }
    if (m_makePlayer)
        m_player = m_makePlayer(m_x, m_y);
    m_target = target;
    m_busy = false;
    m_driver = -2;
    m_tag = CTauntScript::kNoTag;
    m_attached = true;
}

void CTauntMonitor::Detach() {
    m_target = nullptr;
    m_attached = false;
    m_busy = false;
}

bool CTauntMonitor::PlayTaunt(int tag, int driver, bool loop, bool hold) {
    m_busy = true;
    if ((loop && hold) || (hold && tag == m_tag))
        return false;
    m_hold = hold;
    if (driver < 0 || driver >= kDriverCount)
        return false;
    const CTauntScript& script = m_scripts[static_cast<std::size_t>(driver)];
    if (!script.HasTag(tag) || !m_player)
        return false;
    if (driver != m_driver) {
        std::string path;
        CAssetMan* assets = Assets();
        if (!assets || !assets->GetAssetPath(kFirstFaceVideo + driver, path))
            return false;
        // A video that does not open would leave the last driver's face current.
        if (!m_player->Open(path.c_str(), m_videoSurface.get())) {
            plat::system::DebugOutput("taunt monitor: face video " + path + " does not open");
            return false;
        }
    }
    m_player->Play(script.GetFirst(tag), script.GetLast(tag), loop);
    m_driver = driver;
    m_tag = tag;
    if (const int sound = TauntSound(driver, tag); sound != -1)
        PlayScreenSound(sound);
    return true;
}

void CTauntMonitor::Update() {
    if (!m_busy || !m_attached)
        return;
    m_busy = m_player && m_player->UpdateFrame(0);
    Draw();
    if (m_hold && !m_busy && m_player) {
        const int frame = m_player->GetCurrentFrame();
        m_player->Play(frame, frame + HoldFrames(m_tag), true);
    }
}

void CTauntMonitor::Draw() {
    plat::gfx2d::Surface* target = m_target ? m_target->GetSurface() : nullptr;
    if (!m_frame || !target || target->IsLost())
        return;
    const plat::gfx2d::Rect frame{m_x, m_y, m_x + m_frame->GetWidth(), m_y + m_frame->GetHeight()};
    if (m_videoSurface) {
        // The video's corner, no larger than the surface, stretched into the frame's window.
        const plat::gfx2d::Size size = m_videoSurface->GetSize();
        const plat::gfx2d::Rect source{0, 0, std::min(kVideoSource, size.width),
                                       std::min(kVideoSource, size.height)};
        const plat::gfx2d::Rect window{frame.left + kVideoX, frame.top + kVideoY,
                                       frame.right + kVideoX - kVideoInset,
                                       frame.bottom + kVideoY - kVideoInset};
        if (window.right > window.left && window.bottom > window.top)
            ClippedBlt(target, &window, m_videoSurface.get(), &source, 0);
    }
    COverlay* picture = m_frame.get();
    const CGameStateMan* states = ScreenStates();
    if (states && states->GetState() == GAMESTATE_LAP_OF_HONOUR && m_honourFrame)
        picture = m_honourFrame.get();
    m_target->BlitFrom(frame.left, frame.top, picture->GetSurface(), true, nullptr);
}

} // namespace zentrix
