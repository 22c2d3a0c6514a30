#pragma once

namespace zentrix {

class IGameStateSwitch;
class CSlideOutMan;

/// A question put to the player over whatever is on screen: a title and a text from the text assets
/// with one or two buttons. The screen that owns it shows it and polls for the answer each frame.
/// Every box shares one open flag, so only the latest box shown answers.
class CVornMessageBox {
public:
    /// Which buttons can be pressed.
    enum Mode : int { kFirstOnly = 0, kSecondOnly = 1, kBoth = 2 };

    /// A closed box of text asset `textId` under title asset `titleId`; it opens through `states` (the
    /// message-box state) onto the panel of `panels`. Both outlive the box.
    CVornMessageBox(int textId, int titleId, int mode, IGameStateSwitch& states, CSlideOutMan& panels);
    ~CVornMessageBox();
    CVornMessageBox(const CVornMessageBox&) = delete;
    CVornMessageBox& operator=(const CVornMessageBox&) = delete;

    /// Opens the box over the current screen with its texts and buttons; false (nothing opened) when
    /// there is no message-box panel.
    bool Show();
    /// -1 when the box is not open, 0 while unanswered; 1 or 2 for the first or second button, which
    /// closes the box.
    int GetResult();
    /// Closes an open box without an answer, sliding it away when it is up; false when it is not open.
    bool Close();
    bool IsOpen() const { return m_open && s_boxOpen; }

    /// How many boxes exist.
    static int LiveCount() { return s_liveCount; }

private:
    static inline bool s_boxOpen = false;
    static inline int s_liveCount = 0;

    int m_mode;
    int m_titleId;
    int m_textId;
    bool m_open = false;
    IGameStateSwitch& m_states;
    CSlideOutMan& m_panels;
};

} // namespace zentrix
