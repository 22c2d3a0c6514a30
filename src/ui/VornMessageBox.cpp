#include "ui/VornMessageBox.h"

#include "foundation/base/GameStates.h"
#include "ui/MessageBoxSlideOut.h"
#include "ui/SlideOutMan.h"
#include "ui/TextBoxControl.h"

namespace zentrix {

CVornMessageBox::CVornMessageBox(int textId, int titleId, int mode, IGameStateSwitch& states,
                                 CSlideOutMan& panels)
    : m_mode(mode), m_titleId(titleId), m_textId(textId), m_states(states), m_panels(panels) {
    ++s_liveCount;
}

CVornMessageBox::~CVornMessageBox() {
    --s_liveCount;
    m_open = false;
}

bool CVornMessageBox::Show() {
    CSlideOut* panel = m_panels.FindSlideOut(CSlideOutMan::kMessageBox);
    if (!panel)
        return false;
    s_boxOpen = true;
    m_open = true;
    m_states.SetState(GAMESTATE_MESSAGE_BOX);

    // A layout without one of the controls simply shows less.
    auto* title = dynamic_cast<CTextBoxControl*>(panel->FindControl(CMessageBoxSlideOut::kTitleBox));
    auto* text = dynamic_cast<CTextBoxControl*>(panel->FindControl(CMessageBoxSlideOut::kTextBox));
    if (title)
        title->Draw(true);
    if (text)
        text->Draw(true);
    if (title)
        title->SetTextFromResource(m_titleId);
    if (text)
        text->SetTextFromResource(m_textId);

    CControl* first = panel->FindControl(CMessageBoxSlideOut::kFirstButton);
    CControl* second = panel->FindControl(CMessageBoxSlideOut::kSecondButton);
    auto enable = [](CControl* button) {
        if (button)
            button->Enable();
    };
    auto disable = [](CControl* button) {
        if (button)
            button->Disable();
    };
    switch (m_mode) {
    case kFirstOnly:
        enable(first);
        disable(second);
        break;
    case kSecondOnly:
        disable(first);
        enable(second);
        break;
    case kBoth:
        enable(first);
        enable(second);
        break;
    default:
        break;
    }
    return true;
}

int CVornMessageBox::GetResult() {
    if (!IsOpen())
        return -1;
    auto* panel = dynamic_cast<CMessageBoxSlideOut*>(m_panels.FindSlideOut(CSlideOutMan::kMessageBox));
    if (!panel)
        return -1;
    switch (panel->GetResult()) {
    case CMessageBoxSlideOut::kNoAnswer:
        return 0;
    case CMessageBoxSlideOut::kFirstAnswer:
        m_open = false;
        s_boxOpen = false;
        return 1;
    default:
        m_open = false;
        s_boxOpen = false;
        return 2;
    }
}

bool CVornMessageBox::Close() {
    if (!IsOpen())
        return false;
    m_open = false;
    s_boxOpen = false;
    if (m_panels.GetCurrentSlideOutId() == CSlideOutMan::kMessageBox)
        m_panels.SwitchTo(m_panels.GetPreviousSlideOutId());
    return true;
}

} // namespace zentrix
