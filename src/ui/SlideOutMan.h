#pragma once

#include "foundation/base/ManagerInterface.h"

#include <functional>
#include <memory>
#include <vector>

namespace zentrix {

class CControl;
class CSlideOut;
class IPanelServices;

/// Owns every screen panel. At its start it makes the panels of the fixed table of slide-out indices
/// 0 to 18; afterwards it keeps one index current and one panel in front, switches panels with fixed
/// stacking rules when the game state changes or the message box closes, feeds clicks, moves,
/// characters, wheel turns and held buttons to the front panel, and updates every panel on screen.
class CSlideOutMan : public CManagerInterface {
public:
    /// Number of slide-out indices.
    static constexpr int kIndexCount = 19;
    /// Indices with a meaning of their own in the stacking rules.
    static constexpr int kConstruction = 0;
    static constexpr int kRace = 3;
    static constexpr int kRaceOptions = 4;
    static constexpr int kMessageBox = 16;
    static constexpr int kVideo = 17;
    /// Frames a mouse button must stay down before the front panel's OnMouseHeld.
    static constexpr int kHeldFrames = 35;
    /// Held button: none.
    static constexpr int kNoButton = 3;

    /// Makes the panel of table index `index` (resource `resourceId`) for `manager`; null: no panel there.
    using PanelFactory = std::function<std::unique_ptr<CSlideOut>(int index, int resourceId,
                                                                  bool usesHelpPanel, CSlideOutMan* manager)>;

    /// A manager over `services`, which outlive it; `panels` makes the screens' panels (all but the
    /// message box, which the manager makes itself; none without a factory).
    explicit CSlideOutMan(IPanelServices& services, PanelFactory panels = {});
    ~CSlideOutMan() override;
    CSlideOutMan(const CSlideOutMan&) = delete;
    CSlideOutMan& operator=(const CSlideOutMan&) = delete;

    /// Makes and initialises the panels of indices 0 to 18, all hidden; 0.
    int StartManager() override;
    /// Shuts down and deletes every panel; 0.
    int StopManager() override;

    /// The resource id of panel `index` in the current video mode; -1 outside 0..18 or another mode.
    int GetResourceId(int index) const;
    /// Makes panel `index` of the table; false above 18, true without a panel where the table has none.
    bool CreateSlideOut(int index);
    /// The panel of `index`, or null.
    CSlideOut* FindSlideOut(int index) const;
    /// The panel of `index` (0..18), or null.
    CSlideOut* GetSlideOutByIndex(int index) const;
    /// Makes `index` (-1: none) current with the stacking rules; false when it already is.
    virtual bool SwitchTo(int index);
    /// Puts panel `index` in front; false without one.
    bool SetActive(int index);
    /// Slides panel `index` in; false without one.
    bool ActivateSlideOut(int index);
    /// Slides panel `index` out (no front panel when it was in front); false without one.
    bool DeactivateSlideOut(int index);
    /// Takes every panel off screen, at once or sliding; no front panel.
    void DeactivateAll(bool immediate);
    /// One frame: the latest click and move to the front panel, every panel on screen, held buttons.
    virtual void Update(int ms);

    /// A mouse button went down at window point (x, y) (0 left, 2 right).
    virtual void OnButtonDown(int x, int y, int button);
    /// A mouse button came up at window point (x, y).
    virtual void OnButtonUp(int x, int y, int button);
    /// A character was typed.
    virtual void OnChar(int ch);
    /// The wheel turned by `delta`.
    virtual void OnMouseWheel(int delta);
    /// The game was switched back to: the panels of the current index slide in again.
    virtual void Reactivate();

    CSlideOut* GetActiveSlideOut() const { return m_front; }
    int GetCurrentSlideOutId() const { return m_current; }
    int GetPreviousSlideOutId() const { return m_previous; }
    /// The controls of `panel`.
    const std::vector<std::unique_ptr<CControl>>& GetControlList(const CSlideOut& panel) const;
    /// The panels in creation order.
    const std::vector<std::unique_ptr<CSlideOut>>& GetSlideOuts() const { return m_panels; }
    IPanelServices& GetServices() const { return m_services; }

protected:
    /// The panel class of `index` with its record and help flag; null where the table has none.
    virtual std::unique_ptr<CSlideOut> NewSlideOut(int index, int resourceId, bool usesHelpPanel);

private:
    bool IsFrontShown() const;

    IPanelServices& m_services;
    PanelFactory m_panelFactory;
    std::vector<std::unique_ptr<CSlideOut>> m_panels;
    CSlideOut* m_front = nullptr;
    int m_heldButton = kNoButton;
    int m_heldFrames = 0;
    int m_current = -1;
    int m_previous = -1;
};

} // namespace zentrix
