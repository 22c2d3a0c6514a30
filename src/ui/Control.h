#pragma once

namespace zentrix {

class CSlideOut;
class IPanelServices;

/// The base of every widget on a panel. A control belongs to one panel, is numbered by its place in the
/// panel's layout record and reads its own fields of that record at that index: position when active
/// (106, 107) and inactive (127, 128), size (112, 113), click area (114-117) and help item (139). It draws
/// into the panel's picture and reports clicks to the panel's command handler.
///
/// A subclass sets its type with SetType, its starting display state, and supplies the virtual
/// operations below. Positions are in the panel's coordinates; OnMouseDown and OnMouseUp alone take
/// window coordinates.
class CControl {
public:
    /// Control types as the layout record's field 105 numbers them (the dummy control counts as a text box).
    enum Type : int {
        kTypeNone = -1,
        kTypePushButton = 0,
        kTypeToggleButton = 1,
        kTypeTextEdit = 2,
        kTypePowerMeter = 3,
        kTypeTextBox = 4,
        kTypeSliderBar = 5,
    };
    /// Display states.
    enum State : int { kHidden = 0, kInactive = 1, kActive = 2 };

    /// Layout fields every control reads at its index.
    static constexpr int kFieldActiveX = 106;
    static constexpr int kFieldActiveY = 107;
    static constexpr int kFieldWidth = 112;
    static constexpr int kFieldHeight = 113;
    static constexpr int kFieldHotLeft = 114;
    static constexpr int kFieldHotTop = 115;
    static constexpr int kFieldHotRight = 116;
    static constexpr int kFieldHotBottom = 117;
    static constexpr int kFieldInactiveX = 127;
    static constexpr int kFieldInactiveY = 128;
    static constexpr int kFieldHelpId = 139;

    /// Click sounds chosen by SetSound.
    static constexpr int kSoundPushButton = 50100;
    static constexpr int kSoundToggleButton = 50101;
    static constexpr int kSoundText = 50102;

    /// Control `controlId` of `parent` (which owns it), its layout read from the panel's record.
    CControl(CSlideOut* parent, int controlId);
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    /// Reads position, size, click area and help item from the layout record; hidden afterwards.
    void ReadLayout();
    /// Whether panel point (x, y) lies on the control: in its click area when it has one, else in its
    /// rectangle, both counted with their right and bottom edges.
    bool HitTest(int x, int y) const;
    /// Chooses the click sound by type (both arguments are ignored); false for a slider bar or power
    /// meter, which keep theirs.
    bool SetSound(int sound, int name);
    /// Sets the click sound as given (0 or -1: none).
    void SetSoundId(int sound) { m_sound = sound; }

    int GetHelpId() const { return m_helpId; }
    CControl* SetHelpId(int id) {
        m_helpId = id;
        return this;
    }
    int GetId() const { return m_id; }
    CSlideOut* GetParent() const { return m_parent; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    void SetPosition(int x, int y) {
        m_x = x;
        m_y = y;
    }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    void SetWidth(int width) { m_width = width; }
    void SetHeight(int height) { m_height = height; }
    int GetActiveX() const { return m_activeX; }
    int GetActiveY() const { return m_activeY; }
    int GetInactiveX() const { return m_inactiveX; }
    int GetInactiveY() const { return m_inactiveY; }
    int GetState() const { return m_state; }
    /// Stores the display state without drawing.
    void SetState(int state) { m_state = state; }
    int GetSound() const { return m_sound; }
    int GetType() const { return m_type; }
    CControl* SetType(int type) {
        m_type = type;
        return this;
    }

    /// A click at panel point (x, y); true when the control took it.
    virtual bool HandleMouse(int x, int y, int buttons) = 0;
    /// The left button went down at window point (x, y).
    virtual bool OnMouseDown(int /*x*/, int /*y*/) { return false; }
    /// A button came up at window point (x, y).
    virtual bool OnMouseUp(int /*x*/, int /*y*/) { return false; }
    /// The pointer moved to panel point (x, y).
    virtual bool OnMouseMove(int x, int y) = 0;
    /// The pointer came over the control; false refuses the hover.
    virtual bool OnEnter() = 0;
    /// The pointer left the control.
    virtual bool OnLeave() = 0;
    /// A typed character.
    virtual bool OnChar(int ch) = 0;
    virtual bool EnableIfDisabled() = 0;
    virtual bool DisableIfEnabled() = 0;
    virtual bool Disable() = 0;
    virtual bool Enable() = 0;
    virtual bool Hide() = 0;
    virtual bool Show() = 0;
    /// Draws into the panel's picture; the flag's meaning is the subclass's.
    virtual bool Draw(bool flag) = 0;
    /// The control's share of the panel's update (one control per update).
    virtual void UpdateControl() = 0;

    /// How many controls exist.
    static int LiveCount() { return s_liveCount; }

protected:
    /// The services of the panel's manager.
    IPanelServices& Services() const;
    /// Field `dataId` of the panel's record at this control's index; `fallback` when it cannot be read.
    int ReadInt(int dataId, int fallback) const;

    int m_width = 0;
    int m_height = 0;
    int m_x = 0;
    int m_y = 0;
    int m_activeX = 0;
    int m_activeY = 0;
    int m_inactiveX = -1;
    int m_inactiveY = -1;
    int m_hotLeft = -1;
    int m_hotTop = -1;
    int m_hotRight = -1;
    int m_hotBottom = -1;
    int m_type = kTypeNone;
    int m_id;
    CSlideOut* m_parent;
    int m_state = kHidden;
    int m_sound = 0;
    int m_helpId = -1;

private:
    static inline int s_liveCount = 0;
};

} // namespace zentrix
