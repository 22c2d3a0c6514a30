#pragma once

#include "ui/TextBoxControl.h"

namespace zentrix {

/// An invisible clickable area of a panel: a text box that draws nothing.
class CDummyControl : public CTextBoxControl {
public:
    CDummyControl(CSlideOut* parent, int controlId) : CTextBoxControl(parent, controlId) {}

    bool Draw(bool) override { return true; }
};

} // namespace zentrix
