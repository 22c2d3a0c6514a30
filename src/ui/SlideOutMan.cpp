#include "ui/SlideOutMan.h"

#include "foundation/base/Message.h"
#include "ui/Control.h"
#include "ui/MessageBoxSlideOut.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

namespace {

struct SPanelEntry {
    int idMode0;
    int idMode1;
    bool created;
    bool usesHelpPanel;
};

// Resource ids by video mode, whether a panel is made for the index, and whether it shows the help panel.
constexpr SPanelEntry kPanels[CSlideOutMan::kIndexCount] = {
    {38400, 38200, true, true},   {37626, 37526, false, false}, {34820, 34800, true, false},
    {39500, 39600, true, false},  {34860, 34840, true, false},  {39751, 39701, true, false},
    {31000, 37300, false, false}, {34600, 34500, true, true},   {34750, 34700, true, true},
    {32300, 32200, false, false}, {32100, 32000, false, false}, {37600, 37500, false, false},
    {32400, 32450, false, false}, {33200, 33000, false, false}, {39560, 34519, true, false},
    {24540, 24040, true, true},   {39750, 39700, true, false},  {39870, 39871, true, false},
    {39874, 39875, true, false},
};

bool IsIndex(int index) {
    return index >= 0 && index < CSlideOutMan::kIndexCount;
}

} // namespace

CSlideOutMan::CSlideOutMan(IPanelServices& services, PanelFactory panels)
    : m_Services(services), m_PanelFactory(std::move(panels)) {}

CSlideOutMan::~CSlideOutMan() {
    StopManager();
}

int CSlideOutMan::StartManager() {
    m_bStarted = true;
    for (int i = 0; i < kIndexCount; ++i)
        CreateSlideOut(i);
    return 0;
}

int CSlideOutMan::StopManager() {
    m_pFront = nullptr;
    for (auto& panel : m_Panels) {
        panel->Shutdown();
        panel.reset();
    }
    m_Panels.clear();
    m_bStarted = false;
    return 0;
}

int CSlideOutMan::GetResourceId(int index) const {
    if (!IsIndex(index))
        return -1;
    switch (m_Services.GetVideoMode()) {
    case 0:
        return kPanels[index].idMode0;
    case 1:
        return kPanels[index].idMode1;
    default:
        return -1;
    }
}

std::unique_ptr<CSlideOut> CSlideOutMan::NewSlideOut(int index, int resourceId, bool usesHelpPanel) {
    if (index == kMessageBox)
        return std::make_unique<CMessageBoxSlideOut>(resourceId, this);
    if (!m_PanelFactory)
        return nullptr;
    return m_PanelFactory(index, resourceId, usesHelpPanel, this);
}

bool CSlideOutMan::CreateSlideOut(int index) {
    if (index >= kIndexCount)
        return false;
    if (index < 0 || !kPanels[index].created)
        return true;
    std::unique_ptr<CSlideOut> panel = NewSlideOut(index, GetResourceId(index), kPanels[index].usesHelpPanel);
    if (!panel)
        return true;
    panel->Init();
    m_Panels.push_back(std::move(panel));
    return true;
}

CSlideOut* CSlideOutMan::FindSlideOut(int index) const {
    // Outside the table there is no resource id, so no panel: an index of -1 finds nothing.
    int id = GetResourceId(index);
    if (id == -1)
        return nullptr;
    for (const auto& panel : m_Panels)
        if (panel->GetId() == id)
            return panel.get();
    return nullptr;
}

CSlideOut* CSlideOutMan::GetSlideOutByIndex(int index) const {
    return IsIndex(index) ? FindSlideOut(index) : nullptr;
}

bool CSlideOutMan::SetActive(int index) {
    CSlideOut* panel = FindSlideOut(index);
    if (!panel)
        return false;
    m_pFront = panel;
    return true;
}

bool CSlideOutMan::ActivateSlideOut(int index) {
    CSlideOut* panel = FindSlideOut(index);
    if (!panel)
        return false;
    panel->Activate(false);
    return true;
}

bool CSlideOutMan::DeactivateSlideOut(int index) {
    CSlideOut* panel = FindSlideOut(index);
    if (!panel)
        return false;
    panel->Deactivate(false);
    if (m_pFront == panel)
        m_pFront = nullptr;
    return true;
}

void CSlideOutMan::DeactivateAll(bool immediate) {
    for (const auto& panel : m_Panels)
        panel->Deactivate(immediate);
    m_pFront = nullptr;
}

bool CSlideOutMan::SwitchTo(int index) {
    if (index == m_nCurrent)
        return false;
    int panelIndex = IsIndex(index) ? index : -1;

    if (m_nCurrent == kMessageBox) {
        // The box slides away; the panel under it comes to the front as it stands.
        DeactivateSlideOut(kMessageBox);
        SetActive(panelIndex);
        m_nPrevious = kMessageBox;
        m_nCurrent = index;
        return true;
    }

    m_Services.StopHelpSound();
    switch (index) {
    case -1:
        DeactivateAll(false);
        break;
    case kConstruction:
        DeactivateAll(false);
        ActivateSlideOut(kConstruction);
        break;
    case 1:
    case 2:
        // The construction panel's sub-panels slide in over it.
        if (m_nCurrent != kConstruction) {
            DeactivateAll(false);
            ActivateSlideOut(kConstruction);
        }
        ActivateSlideOut(index);
        break;
    case kRaceOptions:
    case kMessageBox:
        ActivateSlideOut(index);
        break;
    default:
        // The video panel comes and goes at once, with everything else hidden at once.
        DeactivateAll(m_nCurrent == kVideo || index == kVideo);
        ActivateSlideOut(index);
        break;
    }
    if (index != -1)
        SetActive(panelIndex);
    m_Services.CancelHover();
    m_nPrevious = m_nCurrent;
    m_nCurrent = index;
    return true;
}

bool CSlideOutMan::IsFrontShown() const {
    return m_pFront && m_pFront->GetState() == CSlideOut::kShown;
}

void CSlideOutMan::Update(int ms) {
    CMessage message;
    if (m_Services.GetLatestMessage(VORNMSG_SLIDEOUT_CLICK, message)) {
        int x = static_cast<int>(message.GetParam(0));
        int y = static_cast<int>(message.GetParam(1));
        int button = static_cast<int>(message.GetParam(2));
        if (IsFrontShown() && m_pFront->HitsOverlay(x, y))
            m_pFront->MouseClick(x - m_pFront->GetX(), y - m_pFront->GetY(), button);
    }
    if (m_Services.GetLatestMessage(VORNMSG_SLIDEOUT_MOUSE_MOVE, message)) {
        int x = static_cast<int>(message.GetParam(0));
        int y = static_cast<int>(message.GetParam(1));
        if (IsFrontShown() && m_pFront->HitsOverlay(x, y))
            m_pFront->MouseMove(x - m_pFront->GetX(), y - m_pFront->GetY());
    }
    for (const auto& panel : m_Panels)
        if (panel->GetState() != CSlideOut::kHiddenState)
            panel->Update(ms);

    if ((m_nHeldButton == 0 || m_nHeldButton == 2) && m_Services.IsMouseButtonDown(m_nHeldButton)) {
        if (++m_nHeldFrames >= kHeldFrames) {
            if (m_pFront) {
                plat::gfx2d::Point mouse = m_Services.GetWindowMousePosition();
                m_pFront->OnMouseHeld(mouse.x, mouse.y, m_nHeldButton);
            }
            m_nHeldFrames = 0;
            m_nHeldButton = kNoButton;
        }
    }
}

void CSlideOutMan::OnButtonDown(int x, int y, int button) {
    m_nHeldFrames = 0;
    m_nHeldButton = button;
    if (button == 0 && m_pFront)
        for (const auto& control : m_pFront->GetControlList())
            control->OnMouseDown(x, y);
}

void CSlideOutMan::OnButtonUp(int x, int y, int /*button*/) {
    if (m_pFront)
        for (const auto& control : m_pFront->GetControlList())
            control->OnMouseUp(x, y);
    m_nHeldFrames = 0;
    m_nHeldButton = kNoButton;
}

void CSlideOutMan::OnChar(int ch) {
    if (IsFrontShown())
        m_pFront->OnChar(ch);
}

void CSlideOutMan::OnMouseWheel(int delta) {
    if (IsFrontShown())
        m_pFront->OnMouseWheel(delta);
}

void CSlideOutMan::Reactivate() {
    DeactivateAll(false);
    switch (m_nCurrent) {
    case -1:
        return;
    case 0:
        ActivateSlideOut(0);
        break;
    case 1:
    case 2:
        ActivateSlideOut(0);
        ActivateSlideOut(m_nCurrent);
        break;
    case kRaceOptions:
        ActivateSlideOut(kRace);
        ActivateSlideOut(kRaceOptions);
        break;
    default:
        ActivateSlideOut(m_nCurrent);
        break;
    }
    SetActive(m_nCurrent);
}

const std::vector<std::unique_ptr<CControl>>& CSlideOutMan::GetControlList(const CSlideOut& panel) const {
    return panel.GetControlList();
}
