#include "frontend/OptionsSlideOut.h"

#include "app/App.h"
#include "app/CommandLineParser.h"
#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "app/ScreenSupport.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/base/GameStates.h"
#include "render/CompoundOverlay.h"
#include "ui/PanelServices.h"
#include "ui/PushButton.h"
#include "ui/SlideOutMan.h"
#include "ui/SliderBar.h"
#include "ui/ToggleButton.h"
#include "ui/VornMessageBox.h"
#include "world/WorldMan.h"

#include <algorithm>

namespace zentrix {

namespace {

constexpr int kFirstOnly = CVornMessageBox::kFirstOnly;

CGameOptions* Options() {
    return g_pApp ? g_pApp->GetGameOptions() : nullptr;
}

CIOManager* Input() {
    return g_pApp ? g_pApp->GetIOManager() : nullptr;
}

int ReadOption(int key) {
    CGameOptions* options = Options();
    return options ? options->GetOption(key) : CGameOptions::GetOptionDefault(key);
}

void WriteOption(int key, int value) {
    if (CGameOptions* options = Options())
        options->SetOption(key, value);
}

/// The answer of an open box: 1 or 2 once answered, else 0 or -1.
bool Answered(CVornMessageBox* box) {
    if (!box)
        return false;
    const int result = box->GetResult();
    return result == 1 || result == 2;
}

} // namespace

COptionsSlideOut::COptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {
    m_storedVolume = ReadOption(CGameOptions::OPTION_VOLUME);
    m_storedBalance = ReadOption(CGameOptions::OPTION_BALANCE);
    m_conflictMark = Services().GetBitmap(kConflictMark);
    m_conflictMarkHighlighted = Services().GetBitmap(kConflictMarkHighlighted);
    m_highlightMark = Services().GetBitmap(kHighlightMark);
}

COptionsSlideOut::~COptionsSlideOut() = default;

void COptionsSlideOut::AttachWorld() {
    m_world = CWorldMan::GetWorld(CWorldMan::kOptions);
}

bool COptionsSlideOut::IsMarked(int controller) const {
    return controller >= 0 && controller < kControllers && m_marks[static_cast<std::size_t>(controller)];
}

CPushButton* COptionsSlideOut::DeviceButton(int controller) const {
    return dynamic_cast<CPushButton*>(FindControl(kFirstDeviceButton + controller));
}

bool COptionsSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    for (int id = kBackButton; id <= kFirstEffectsToggle + kEffectsLevels - 1; ++id)
        SetControlSound(id, 0, 0);
    for (int i = 0; i < kControllers; ++i)
        SetControlSound(kFirstDeviceButton + i, 0, 0);
    SetSound(0, 0);
    m_volumeChanged = true;
    m_balanceChanged = true;
    CSlideOut::Activate(immediate);
    ActivateControls();
    DrawControls(true);

    if (auto* volume = dynamic_cast<CSliderBar*>(FindControl(kVolumeSlider)))
        volume->SetValue(m_storedVolume);
    if (auto* balance = dynamic_cast<CSliderBar*>(FindControl(kBalanceSlider)))
        balance->SetValue(m_storedBalance);

    const int level = ReadOption(CGameOptions::OPTION_EFFECTS_LEVEL);
    if (level >= 0 && level < kEffectsLevels)
        SelectEffectsLevel(level);
    // The game runs at 640 x 480 only: that toggle is the chosen one, the other can be pressed.
    if (auto* small = dynamic_cast<CToggleButton*>(FindControl(kSmallScreenToggle))) {
        small->SetChecked(true);
        small->Disable();
    }
    RefreshToggleSounds();
    if (auto* large = dynamic_cast<CToggleButton*>(FindControl(kLargeScreenToggle))) {
        large->SetChecked(false);
        large->Enable();
    }

    SetUpDeviceButtons();

    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    if (CGameStateMan* states = ScreenStates()) {
        m_fallBackBox = std::make_unique<CVornMessageBox>(kFallBackText, kFallBackTitle, kFirstOnly, *states,
                                                          *GetManager());
        m_conflictBox = std::make_unique<CVornMessageBox>(kConflictText, kConflictTitle, kFirstOnly, *states,
                                                          *GetManager());
    }
    m_fallBackBoxOpen = false;
    m_conflictBoxOpen = false;

    // After a relaunch the player has heard the options already: no help at the first showing.
    if (m_activations == 0) {
        CCommandLineParser* commandLine = g_pApp ? g_pApp->GetCommandLineParser() : nullptr;
        if (commandLine && commandLine->IsRestart())
            SetHelpId(-1);
    } else {
        SetHelpId(kHelpItem);
    }
    ++m_activations;
    return true;
}

void COptionsSlideOut::SetUpDeviceButtons() {
    CIOManager* input = Input();
    const int devices = input ? input->GetNumInputDevices() : 0;
    m_controllerCount = static_cast<std::uint8_t>(std::clamp(devices, 0, kControllers));
    for (int i = 0; i < kControllers; ++i) {
        CPushButton* button = DeviceButton(i);
        if (!button)
            continue;
        if (i < m_controllerCount) {
            const int device = input->GetControllerDevice(i);
            button->SetImage(kDeviceImageBase + 2 + device);
            button->SetDisabledImage(kDeviceImageBase + 2 + device);
            button->SetHighlightImage(kDeviceHighlightBase + 2 + device);
            button->Enable();
        } else {
            button->SetImage(kDeviceImageBase);
            button->SetDisabledImage(kDeviceImageBase);
            button->SetHighlightImage(kDeviceImageBase);
            button->Disable();
        }
    }
    // Drawn with their new pictures at the next update.
    m_redrawDevices = true;
}

void COptionsSlideOut::Deactivate(bool immediate) {
    if (GetState() == kHiddenState)
        return;
    CSlideOut::Deactivate(immediate);
    m_fallBackBox.reset();
    m_conflictBox.reset();
}

void COptionsSlideOut::Update(int ms) {
    CSlideOut::Update(ms);
    ReadSliders();
    if (GetOverlay()) {
        if (m_redrawDevices) {
            for (int i = 0; i < kControllers; ++i)
                if (CPushButton* button = DeviceButton(i))
                    button->Draw(false);
            m_redrawDevices = false;
        }
        CheckConflicts();
        DrawMarks();
    }
    TakeAnswers();
    ShowFallBackNotice();
    m_previousSlideState = GetState();
}

void COptionsSlideOut::ReadSliders() {
    auto take = [this](int id, int& stored, bool& changed) {
        auto* slider = dynamic_cast<CSliderBar*>(FindControl(id));
        if (!slider || slider->IsDragging() || slider->GetValue() == stored)
            return;
        stored = slider->GetValue();
        changed = true;
        m_playSliderSound = true;
    };
    take(kVolumeSlider, m_storedVolume, m_volumeChanged);
    take(kBalanceSlider, m_storedBalance, m_balanceChanged);
    if (m_volumeChanged) {
        WriteOption(CGameOptions::OPTION_VOLUME, m_storedVolume);
        m_volumeChanged = false;
    }
    if (m_balanceChanged) {
        WriteOption(CGameOptions::OPTION_BALANCE, m_storedBalance);
        m_balanceChanged = false;
    }
    if (m_playSliderSound) {
        Services().PlayUiSound(kSliderSound);
        m_playSliderSound = false;
    }
}

void COptionsSlideOut::CheckConflicts() {
    m_marks.fill(false);
    m_conflict = false;
    CIOManager* input = Input();
    if (!input)
        return;
    for (int i = 0; i < m_controllerCount; ++i)
        for (int j = 0; j < m_controllerCount; ++j)
            if (i != j && input->GetControllerDevice(i) == input->GetControllerDevice(j)) {
                m_marks[static_cast<std::size_t>(i)] = true;
                m_marks[static_cast<std::size_t>(j)] = true;
                m_conflict = true;
            }
}

void COptionsSlideOut::DrawMarks() {
    CCompoundOverlay* overlay = GetOverlay();
    for (int i = 0; i < kControllers; ++i) {
        CPushButton* button = DeviceButton(i);
        if (!button)
            continue;
        const bool highlighted = button->GetButtonState() == CPushButton::kHighlighted;
        CBitmap* mark = nullptr;
        if (m_marks[static_cast<std::size_t>(i)])
            mark = highlighted ? m_conflictMarkHighlighted.get() : m_conflictMark.get();
        else if (highlighted)
            mark = m_highlightMark.get();
        if (mark)
            overlay->BlitFrom(button->GetX(), button->GetY(), mark->GetSurface(), true, nullptr);
    }
}

void COptionsSlideOut::TakeAnswers() {
    CSlideOut* messageBox = GetManager()->GetSlideOutByIndex(CSlideOutMan::kMessageBox);
    auto take = [messageBox](CVornMessageBox* box, bool& open) {
        if (!Answered(box))
            return;
        if (messageBox)
            messageBox->SetSoundId(-1);
        open = false;
    };
    take(m_fallBackBox.get(), m_fallBackBoxOpen);
    take(m_conflictBox.get(), m_conflictBoxOpen);
}

void COptionsSlideOut::ShowFallBackNotice() {
    if (m_fallBackBoxOpen || m_fallBackNoticeShown || !m_fallBackBox)
        return;
    if (GetState() != kShown || m_previousSlideState != kSlidingIn)
        return;
    if (!g_pApp || !g_pApp->HasVideoModeFallenBack())
        return;
    m_fallBackBox->Show();
    m_fallBackBoxOpen = true;
    m_fallBackNoticeShown = true;
}

void COptionsSlideOut::SelectEffectsLevel(int level) {
    m_effectsLevel = level;
    for (int i = 0; i < kEffectsLevels; ++i) {
        auto* toggle = dynamic_cast<CToggleButton*>(FindControl(kFirstEffectsToggle + i));
        if (!toggle)
            continue;
        toggle->SetChecked(i == level);
        if (i == level)
            toggle->Disable();
        else
            toggle->Enable();
    }
    RefreshToggleSounds();
}

void COptionsSlideOut::RefreshToggleSounds() {
    for (int i = 0; i < kEffectsLevels; ++i)
        if (CControl* toggle = FindControl(kFirstEffectsToggle + i)) {
            if (i == m_effectsLevel)
                toggle->SetSoundId(-1);
            else
                toggle->SetSound(0, 0);
        }
    if (CControl* small = FindControl(kSmallScreenToggle))
        small->SetSoundId(-1);
    if (CControl* large = FindControl(kLargeScreenToggle))
        large->SetSound(0, 0);
}

void COptionsSlideOut::OnControl(int controlId) {
    switch (controlId) {
    case kBackButton:
        if (!m_conflict) {
            SetScreenState(GAMESTATE_MAIN);
            return;
        }
        if (CSlideOut* messageBox = GetManager()->GetSlideOutByIndex(CSlideOutMan::kMessageBox))
            messageBox->SetSoundId(-1);
        if (!m_conflictBoxOpen && m_conflictBox) {
            m_conflictBox->Show();
            m_conflictBoxOpen = true;
        }
        return;
    case kFirstEffectsToggle:
    case kFirstEffectsToggle + 1:
    case kFirstEffectsToggle + 2:
        WriteOption(CGameOptions::OPTION_EFFECTS_LEVEL, controlId - kFirstEffectsToggle);
        SelectEffectsLevel(controlId - kFirstEffectsToggle);
        return;
    case kLargeScreenToggle:
        // Only 640 x 480 can be had: the toggle springs back.
        if (auto* large = dynamic_cast<CToggleButton*>(FindControl(kLargeScreenToggle)))
            large->SetChecked(false);
        return;
    default:
        if (controlId >= kFirstDeviceButton && controlId < kFirstDeviceButton + kControllers)
            NextDevice(controlId - kFirstDeviceButton);
        return;
    }
}

void COptionsSlideOut::NextDevice(int controller) {
    CIOManager* input = Input();
    if (!input)
        return;
    int device = input->GetControllerDevice(controller) + 1;
    if (device >= input->GetNumInputDevices())
        device = 0;
    input->SetControllerDevice(controller, device);
    m_redrawDevices = true;
    WriteOption(CGameOptions::OPTION_CONTROLLER1 + controller, device);
    if (CPushButton* button = DeviceButton(controller)) {
        button->SetImage(kDeviceImageBase + 2 + device);
        button->SetDisabledImage(kDeviceImageBase + 2 + device);
        button->SetHighlightImage(kDeviceImageBase + 2 + device);
    }
}

} // namespace zentrix
