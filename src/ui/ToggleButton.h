#pragma once

#include "ui/PushButton.h"

namespace zentrix {

/// A button that each click checks or unchecks. Its button state is 0 unchecked, 1 checked or 2 under
/// the pointer, in which case it remembers which of the two it was.
class CToggleButton : public CPushButton {
public:
    /// Toggle `controlId` of `parent`, unchecked.
    CToggleButton(CSlideOut* parent, int controlId);

    /// Checks or unchecks the button and redraws it.
    virtual void SetChecked(bool checked);
    /// Whether the button is checked (false while the pointer is over it).
    bool IsChecked() const { return m_buttonState == kPressed; }

    /// A click flips the button in every display state.
    bool HandleMouse(int x, int y, int buttons) override;
    bool OnEnter() override;
    bool OnLeave() override;
    void UpdateControl() override;

private:
    int m_stateUnderHighlight = kNormal;
};

} // namespace zentrix
