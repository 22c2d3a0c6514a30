#include "ui/SlideOutMan.h"

#include "foundation/base/Message.h"
#include "ui/Control.h"
#include "ui/MessageBoxSlideOut.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

namespace zentrix {

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
    : m_services(services), m_panelFactory(std::move(panels)) {}

CSlideOutMan::~CSlideOutMan() {
    StopManager();
}

int CSlideOutMan::StartManager() {
    m_started = true;
    for (int i = 0; i < kIndexCount; ++i)
        CreateSlideOut(i);
    return 0;
}

int CSlideOutMan::StopManager() {
    m_front = nullptr;
    for (auto& panel : m_panels) {
        panel->Shutdown();
        panel.reset();
    }
    m_panels.clear();
    m_started = false;
    return 0;
}

int CSlideOutMan::GetResourceId(int index) const {
    if (!IsIndex(index))
        return -1;
    switch (m_services.GetVideoMode()) {
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
    if (!m_panelFactory)
        return nullptr;
    return m_panelFactory(index, resourceId, usesHelpPanel, this);
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
    m_panels.push_back(std::move(panel));
    return true;
}

CSlideOut* CSlideOutMan::FindSlideOut(int index) const {
    // Outside the table there is no resource id, so no panel: an index of -1 finds nothing.
    int id = GetResourceId(index);
    if (id == -1)
        return nullptr;
    for (const auto& panel : m_panels)
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
    m_front = panel;
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
    if (m_front == panel)
        m_front = nullptr;
    return true;
}

void CSlideOutMan::DeactivateAll(bool immediate) {
    for (const auto& panel : m_panels)
        panel->Deactivate(immediate);
    m_front = nullptr;
}

bool CSlideOutMan::SwitchTo(int index) {
    if (index == m_current)
        return false;
    int panelIndex = IsIndex(index) ? index : -1;

    if (m_current == kMessageBox) {
        // The box slides away; the panel under it comes to the front as it stands.
        DeactivateSlideOut(kMessageBox);
        SetActive(panelIndex);
        m_previous = kMessageBox;
        m_current = index;
        return true;
    }

    m_services.StopHelpSound();
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
        if (m_current != kConstruction) {
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
        DeactivateAll(m_current == kVideo || index == kVideo);
        ActivateSlideOut(index);
        break;
    }
    if (index != -1)
        SetActive(panelIndex);
    m_services.CancelHover();
    m_previous = m_current;
    m_current = index;
    return true;
}

bool CSlideOutMan::IsFrontShown() const {
    return m_front && m_front->GetState() == CSlideOut::kShown;
}

void CSlideOutMan::Update(int ms) {
    CMessage message;
    if (m_services.GetLatestMessage(VORNMSG_SLIDEOUT_CLICK, message)) {
        int x = static_cast<int>(message.GetParam(0));
        int y = static_cast<int>(message.GetParam(1));
        int button = static_cast<int>(message.GetParam(2));
        if (IsFrontShown() && m_front->HitsOverlay(x, y))
            m_front->MouseClick(x - m_front->GetX(), y - m_front->GetY(), button);
    }
    if (m_services.GetLatestMessage(VORNMSG_SLIDEOUT_MOUSE_MOVE, message)) {
        int x = static_cast<int>(message.GetParam(0));
        int y = static_cast<int>(message.GetParam(1));
        if (IsFrontShown() && m_front->HitsOverlay(x, y))
            m_front->MouseMove(x - m_front->GetX(), y - m_front->GetY());
    }
    for (const auto& panel : m_panels)
        if (panel->GetState() != CSlideOut::kHiddenState)
            panel->Update(ms);

    if ((m_heldButton == 0 || m_heldButton == 2) && m_services.IsMouseButtonDown(m_heldButton)) {
        if (++m_heldFrames >= kHeldFrames) {
            if (m_front) {
                plat::gfx2d::Point mouse = m_services.GetWindowMousePosition();
                m_front->OnMouseHeld(mouse.x, mouse.y, m_heldButton);
            }
            m_heldFrames = 0;
            m_heldButton = kNoButton;
        }
    }
}

void CSlideOutMan::OnButtonDown(int x, int y, int button) {
    m_heldFrames = 0;
    m_heldButton = button;
    if (button == 0 && m_front)
        for (const auto& control : m_front->GetControlList())
            control->OnMouseDown(x, y);
}

void CSlideOutMan::OnButtonUp(int x, int y, int /*button*/) {
    if (m_front)
        for (const auto& control : m_front->GetControlList())
            control->OnMouseUp(x, y);
    m_heldFrames = 0;
    m_heldButton = kNoButton;
}

void CSlideOutMan::OnChar(int ch) {
    if (IsFrontShown())
        m_front->OnChar(ch);
}

void CSlideOutMan::OnMouseWheel(int delta) {
    if (IsFrontShown())
        m_front->OnMouseWheel(delta);
}

void CSlideOutMan::Reactivate() {
    DeactivateAll(false);
    switch (m_current) {
    case -1:
        return;
    case 0:
        ActivateSlideOut(0);
        break;
    case 1:
    case 2:
        ActivateSlideOut(0);
        ActivateSlideOut(m_current);
        break;
    case kRaceOptions:
        ActivateSlideOut(kRace);
        ActivateSlideOut(kRaceOptions);
        break;
    default:
        ActivateSlideOut(m_current);
        break;
    }
    SetActive(m_current);
}

const std::vector<std::unique_ptr<CControl>>& CSlideOutMan::GetControlList(const CSlideOut& panel) const {
    return panel.GetControlList();
}

} // namespace zentrix
