#include "audio/MusicManager.h"

#include "app/App.h"
#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "audio/MusicWrapper.h"
#include "audio/RaceMusicLink.h"
#include "foundation/assets/AssetMan.h"

#include <algorithm>

namespace zentrix {

namespace {

/// The test drive from the track editor, whose race music plays at once.
constexpr int kTestDriveMode = 1;
constexpr int kThemes = 4;

struct Piece {
    int segment;
    int tempo;
};

// By theme: jungle, ice, desert, city.
constexpr Piece kFrontEnd[kThemes] = {{49936, 140}, {49936, 140}, {49936, 140}, {49936, 140}};
constexpr Piece kRace[kThemes] = {{49934, 170}, {49932, 160}, {49928, 160}, {49923, 177}};
constexpr Piece kRaceLastLap[kThemes] = {{49933, 190}, {49931, 180}, {49927, 180}, {49922, 197}};
constexpr Piece kEditor[kThemes] = {{49933, 153}, {49931, 160}, {49927, 160}, {49922, 177}};

const Piece* PieceFor(int category, int theme, bool lastLap) {
    if (theme < 0 || theme >= kThemes)
        return nullptr;
    switch (category) {
    case CMusicManager::kCategoryFrontEnd:
        return &kFrontEnd[theme];
    case CMusicManager::kCategoryRace:
        return lastLap ? &kRaceLastLap[theme] : &kRace[theme];
    case CMusicManager::kCategoryEditor:
        return &kEditor[theme];
    default:
        return nullptr;
    }
}

} // namespace

CMusicManager::CMusicManager(IRaceMusicLink* race) : m_race(race) {}

CMusicManager::~CMusicManager() = default;

int CMusicManager::CategoryForState(int state) {
    switch (state) {
    case 0:
    case 1:
    case 2:
    case 13:
    case 19:
        return kCategoryFrontEnd;
    case 15:
    case 16:
    case 18:
        return kCategoryRace;
    case 3:
    case 5:
        return kCategoryEditor;
    default:
        return kCategoryNone;
    }
}

int CMusicManager::SegmentFor(int category, int theme, bool lastLap) {
    const Piece* piece = PieceFor(category, theme, lastLap);
    return piece ? piece->segment : -1;
}

int CMusicManager::TempoFor(int category, int theme, bool lastLap) {
    const Piece* piece = PieceFor(category, theme, lastLap);
    return piece ? piece->tempo : -1;
}

int CMusicManager::StartManager() {
    m_wrapper = CreateWrapper();
    // A wrapper that did not start stays in place and plays nothing.
    m_wrapper->StartManager();
    if (CGameOptions* options = GetGameOptions())
        options->SetOption(CGameOptions::OPTION_BALANCE, options->GetOption(CGameOptions::OPTION_BALANCE));
    m_wrapper->LoadCollection(kCollectionId);
    m_started = true;
    return 0;
}

int CMusicManager::StopManager() {
    if (m_wrapper) {
        m_wrapper->StopManager();
        m_wrapper.reset();
    }
    m_started = false;
    return 0;
}

void CMusicManager::Update(int /*elapsedMs*/) {
    if (!m_wrapper)
        return;
    const int category = CategoryForState(GetGameState());
    if (category == m_category) {
        Refresh();
        return;
    }
    m_category = category;
    m_wrapper->SetPaused(false);
    PlayCategory(category);
}

void CMusicManager::PlayCategory(int category) {
    if (!m_enabled || !m_wrapper)
        return;
    const int theme = GetWorldTheme();
    const int segment = SegmentFor(category, theme, m_lastLap);
    m_wrapper->Stop();
    if (segment != -1) {
        m_wrapper->PlaySegment(segment);
        m_wrapper->SendTempo(TempoFor(category, theme, m_lastLap));
        // A race from the second main screen waits for the race world to resume the music; a test
        // drive from the editor plays at once.
        if (category == kCategoryRace && GetGameMode() != kTestDriveMode)
            m_wrapper->SetPaused(true);
    }
    m_theme = theme;
}

void CMusicManager::Refresh() {
    if (m_category == kCategoryRace) {
        const bool lastLap = m_race && m_race->IsLastLap();
        if (lastLap != m_lastLap) {
            m_lastLap = lastLap;
            m_wrapper->SendTempo(TempoFor(kCategoryRace, m_theme, lastLap));
        }
    }
    if (m_category == kCategoryEditor && GetWorldTheme() != m_theme)
        PlayCategory(kCategoryEditor);
    if (m_category != kCategoryRace)
        m_lastLap = false;
}

void CMusicManager::SetVolume(int percent) {
    if (!m_wrapper)
        return;
    // The option comes from the settings file unchecked; above 100 the gain would pass unity and clip.
    percent = std::clamp(percent, 0, 100);
    if (percent > 10) {
        m_enabled = true;
    } else {
        m_enabled = false;
        m_wrapper->Stop();
    }
    if (percent != m_wrapper->GetVolume())
        PlayCategory(m_category);
    m_wrapper->SetVolume(percent);
}

void CMusicManager::SetEnabled(bool enabled) {
    if (enabled) {
        m_enabled = true;
        return;
    }
    if (m_enabled && m_wrapper)
        m_wrapper->Stop();
    m_enabled = false;
}

void CMusicManager::Pause(bool paused) {
    if (m_wrapper)
        m_wrapper->SetPaused(paused);
}

plat::midi::MusicPlayer* CMusicManager::GetLoader() const {
    return m_wrapper ? m_wrapper->GetLoader() : nullptr;
}

std::unique_ptr<CMusicWrapper> CMusicManager::CreateWrapper() {
    return std::make_unique<CMusicWrapper>();
}

int CMusicManager::GetGameState() const {
    CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetState() : -1;
}

int CMusicManager::GetGameMode() const {
    CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetGameMode() : -1;
}

int CMusicManager::GetWorldTheme() const {
    CAssetMan* assets = g_pApp ? g_pApp->GetAssetMan() : nullptr;
    return assets ? assets->GetWorld() : 0;
}

CGameOptions* CMusicManager::GetGameOptions() const {
    return g_pApp ? g_pApp->GetGameOptions() : nullptr;
}

} // namespace zentrix
