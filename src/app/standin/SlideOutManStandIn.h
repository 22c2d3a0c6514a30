#pragma once

#include "app/ManagerInterface.h"

class CApp;

/// Stands in for the slide-out manager until the panels are built. It keeps the current panel index,
/// takes the window's input calls, and plays the part of the start-up and exit picture panel (index 18):
/// the start-up picture gives way to the main screen after 3000 ms, and the exit pictures, three of
/// 15000 ms each, end the game.
class CSlideOutManStandIn : public CManagerInterface {
public:
    /// Panel index of the start-up and exit pictures.
    static constexpr int kPicturePanel = 18;

    /// A manager that reads the exit flag and sets game states through `app`, which outlives it.
    explicit CSlideOutManStandIn(CApp& app) : m_App(app) {}
    ~CSlideOutManStandIn() override = default;

    int StartManager() override;
    int StopManager() override;

    /// Makes `index` (-1 none) the current panel; false when it already is.
    virtual bool SwitchTo(int index);
    /// The per-frame call: times the start-up or exit pictures while they are shown.
    virtual void Update(int ms);
    /// A mouse button went down at (x, y) (button 0 left, 2 right).
    virtual void OnButtonDown(int /*x*/, int /*y*/, int /*button*/) {}
    /// A mouse button came up at (x, y).
    virtual void OnButtonUp(int /*x*/, int /*y*/, int /*button*/) {}
    /// A character was typed.
    virtual void OnChar(int /*character*/) {}
    /// The wheel turned by `delta` (120 per notch).
    virtual void OnMouseWheel(int /*delta*/) {}
    /// The game was switched back to: the panels on screen are shown again.
    virtual void Reactivate() {}

    /// The current panel index (-1 none).
    int GetCurrentSlideOutId() const { return m_nCurrent; }
    /// The panel index before the current one (-1 none).
    int GetPreviousSlideOutId() const { return m_nPrevious; }

private:
    void EndPictures(int nextState);

    CApp& m_App;
    int m_nCurrent = -1;
    int m_nPrevious = -1;
    bool m_bPicturesShown = false;
    int m_nElapsed = 0;
    int m_nPicture = -1;
};
