#include "frontend/HelpButton.h"

#include "frontend/HelpManager.h"
#include "frontend/HelpPanelServices.h"
#include "render/Overlay.h"
#include "ui/SlideOut.h"

#include <algorithm>
#include <array>

namespace zentrix {

namespace {

constexpr std::array<int, 20> kPanelsWithButton = {24040, 24540, 31000, 32000, 32100, 32200, 32300,
                                                   32400, 32450, 33000, 33200, 34500, 34600, 34700,
                                                   34750, 37300, 37500, 37600, 38200, 38400};

std::unique_ptr<COverlay> LoadImage(int id) {
    auto image = std::make_unique<COverlay>(id);
    // A missing picture leaves that image out.
    return image->GetSurface() ? std::move(image) : nullptr;
}

} // namespace

CHelpButton::CHelpButton(IHelpPanelServices& services, COverlay* overlay)
    : m_services(services), m_overlay(overlay), m_normal(LoadImage(kNormalImage)),
      m_pressed(LoadImage(kPressedImage)), m_highlight(LoadImage(kHighlightImage)),
      m_erase(LoadImage(kEraseImage)) {
    if (m_normal) {
        m_width = m_normal->GetWidth();
        m_height = m_normal->GetHeight();
    }
}

CHelpButton::~CHelpButton() = default;

bool CHelpButton::ShowsHelpButton(int panelId) {
    return std::find(kPanelsWithButton.begin(), kPanelsWithButton.end(), panelId) != kPanelsWithButton.end();
}

bool CHelpButton::FrontShowsButton() const {
    CSlideOut* front = m_services.GetFrontPanel();
    return front && ShowsHelpButton(front->GetId());
}

void CHelpButton::Reset() {
    m_state = kNormal;
    m_previousState = kNormal;
    m_pressTimer = 0;
    m_drawn = false;
    m_cornerHover = false;
}

bool CHelpButton::HitTest(int x, int y) const {
    const int left = (m_overlay ? m_overlay->GetX() : 0) + m_x;
    const int top = (m_overlay ? m_overlay->GetY() : 0) + m_y;
    return x >= left && y >= top && x <= left + m_width && y <= top + m_height;
}

bool CHelpButton::Press(int x, int y) {
    if (!HitTest(x, y) || m_state == kPressed)
        return false;
    m_previousState = m_state;
    m_state = kPressed;
    m_pressTimer = kPressMs;
    Draw(false);
    return true;
}

void CHelpButton::Update(int ms) {
    if (!FrontShowsButton())
        return;
    CHelpManager* help = m_services.GetHelpManager();
    if (m_state == kPressed) {
        m_pressTimer -= ms;
        if (m_pressTimer <= 0) {
            m_pressTimer = 0;
            m_state = m_previousState;
        }
    } else if (m_state == kHighlighted && help) {
        help->OnHover(kHelpButton);
    }
    if (help && m_services.GetUnlockStage() != kCornerHelpEndStage) {
        if (m_cornerHover)
            help->OnHover(kHelpCorner);
        else
            help->OnHoverEnd(kHelpCorner);
    }
}

void CHelpButton::OnMouseMove(int x, int y) {
    m_cornerHover = m_state != kHighlighted && x < kCornerRight && y > kCornerTop;
}

bool CHelpButton::OnHoverEnter() {
    if (m_state != kNormal)
        return false;
    m_state = kHighlighted;
    Draw(false);
    return true;
}

void CHelpButton::OnHoverLeave() {
    if (m_state == kPressed)
        m_previousState = kNormal;
    if (m_state != kHighlighted)
        return;
    m_state = kNormal;
    Draw(false);
    if (CHelpManager* help = m_services.GetHelpManager())
        help->OnHoverEnd(kHelpButton);
}

void CHelpButton::Draw(bool noErase) {
    CSlideOut* front = m_services.GetFrontPanel();
    if (!m_visible || !m_overlay || !front || !ShowsHelpButton(front->GetId()) || !front->IsActive())
        return;
    COverlay* image = m_normal.get();
    if (m_state == kPressed && m_pressed)
        image = m_pressed.get();
    else if (m_state == kHighlighted && m_highlight)
        image = m_highlight.get();
    if (m_erase) {
        if (!m_drawn)
            m_overlay->BlitFrom(m_x, m_y, m_erase->GetSurface(), true, nullptr);
        else if (!noErase)
            m_overlay->BlitFrom(m_lastX, m_lastY, m_erase->GetSurface(), true, nullptr);
    }
    if (image)
        m_overlay->BlitFrom(m_x, m_y, image->GetSurface(), true, nullptr);
    m_lastX = m_x;
    m_lastY = m_y;
    m_drawn = true;
}

} // namespace zentrix
