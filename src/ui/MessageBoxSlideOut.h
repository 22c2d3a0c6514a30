#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

/// The panel of the in-game message box: a title box (control 0), a text box (3) and two buttons (1 and
/// 2). It slides in over whatever is on screen, drawn above the other panels, and keeps which button was
/// pressed; a press slides it away again.
class CMessageBoxSlideOut : public CSlideOut {
public:
    /// Control ids of the box's layout.
    static constexpr int kTitleBox = 0;
    static constexpr int kFirstButton = 1;
    static constexpr int kSecondButton = 2;
    static constexpr int kTextBox = 3;
    /// Results: no answer yet, first button, second button.
    static constexpr int kNoAnswer = -1;
    static constexpr int kFirstAnswer = 1;
    static constexpr int kSecondAnswer = 0;

    CMessageBoxSlideOut(int resourceId, CSlideOutMan* manager) : CSlideOut(resourceId, manager, false) {}

    /// Slides in over the other panels with no answer yet and its controls enabled; true.
    bool Activate(bool immediate) override;
    /// Disables the controls of an active box and takes it off screen.
    void Deactivate(bool immediate) override;
    /// A button stores its answer and the panels go back to the one under the box.
    void OnControl(int controlId) override;
    void AttachWorld() override {}

    /// -1 while unanswered, 1 for the first button, 0 for the second.
    int GetResult() const { return m_result; }

private:
    int m_result = kNoAnswer;
};

} // namespace zentrix
