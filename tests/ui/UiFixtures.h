#pragma once

#include "app/GameStateServices.h"
#include "support/PanelDoubles.h"
#include "ui/Control.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"

#include <memory>
#include <string>
#include <vector>

using namespace zentrix;

namespace uitest {

using Log = std::vector<std::string>;

/// The 5-6-5 pixel of a picture colour.
inline std::uint16_t Pixel565(testsupport::Rgb c) {
    return static_cast<std::uint16_t>((c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3);
}

/// Layout type that makes a ProbeControl.
constexpr int kProbeType = 9;

/// A control that writes what happens to it to a log, named by its index.
class ProbeControl : public CControl {
public:
    ProbeControl(CSlideOut* parent, int id, Log& log) : CControl(parent, id), m_log(log) {}
    bool HandleMouse(int x, int y, int) override { return Note("click", x, y), takesClick; }
    bool OnMouseDown(int x, int y) override { return Note("down", x, y), false; }
    bool OnMouseUp(int x, int y) override { return Note("up", x, y), false; }
    bool OnMouseMove(int x, int y) override { return Note("move", x, y), false; }
    bool OnEnter() override { return Note("enter"), acceptsHover; }
    bool OnLeave() override { return Note("leave"), true; }
    bool OnChar(int) override { return false; }
    bool EnableIfDisabled() override { return false; }
    bool DisableIfEnabled() override { return false; }
    bool Disable() override { return false; }
    bool Enable() override { return false; }
    bool Hide() override { return false; }
    bool Show() override { return false; }
    bool Draw(bool flag) override { return Note(flag ? "draw+" : "draw"), true; }
    void UpdateControl() override { Note("update"); }

    bool acceptsHover = true;
    bool takesClick = false;

private:
    void Note(const char* what) { m_log.push_back(std::string(what) + " " + std::to_string(GetId())); }
    void Note(const char* what, int x, int y) {
        m_log.push_back(std::string(what) + " " + std::to_string(GetId()) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    }
    Log& m_log;
};

/// A panel that logs its commands, its activation and its input, and makes probes for kProbeType.
class TestPanel : public CSlideOut {
public:
    TestPanel(int resourceId, CSlideOutMan* manager, Log& log, std::string name = "")
        : CSlideOut(resourceId, manager, false), m_log(log), m_name(std::move(name)) {}
    ~TestPanel() override { Shutdown(); }

    void OnControl(int id) override { m_log.push_back("command " + std::to_string(id)); }
    void AttachWorld() override { m_log.push_back("attach"); }
    bool Activate(bool immediate) override {
        if (!IsActive())
            m_log.push_back("A" + m_name + (immediate ? " at once" : ""));
        return CSlideOut::Activate(immediate);
    }
    void Deactivate(bool immediate) override {
        if (GetState() != kHiddenState)
            m_log.push_back("D" + m_name + (immediate ? " at once" : ""));
        CSlideOut::Deactivate(immediate);
    }
    void OnChar(int ch) override { m_log.push_back("char " + std::to_string(ch)); }
    void OnMouseWheel(int delta) override { m_log.push_back("wheel " + std::to_string(delta)); }
    void OnMouseHeld(int x, int y, int b) override {
        m_log.push_back("held " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(b));
    }
    ProbeControl* Probe(int id) const { return dynamic_cast<ProbeControl*>(FindControl(id)); }

    std::vector<std::string> sliders; ///< "index:ordinal" of every slider the layout asked for

protected:
    std::unique_ptr<CControl> CreateControl(int type, int index, int ordinal) override {
        if (type == 5)
            sliders.push_back(std::to_string(index) + ":" + std::to_string(ordinal));
        if (type == kProbeType)
            return std::make_unique<ProbeControl>(this, index, m_log);
        return CSlideOut::CreateControl(type, index, ordinal);
    }

private:
    Log& m_log;
    std::string m_name;
};

/// A manager whose panels are TestPanels named by their index.
class TestManager : public CSlideOutMan {
public:
    TestManager(IPanelServices& services, Log& log) : CSlideOutMan(services), m_log(log) {}
    ~TestManager() override { StopManager(); }

protected:
    std::unique_ptr<CSlideOut> NewSlideOut(int index, int resourceId, bool) override {
        return std::make_unique<TestPanel>(resourceId, this, m_log, std::to_string(index));
    }

private:
    Log& m_log;
};

/// Services, a manager that is not started, and one test panel of record kPanel.
struct PanelFixture {
    static constexpr int kPanel = 5000;

    testsupport::RecordingPanelServices services;
    Log log;
    CSlideOutMan manager{services, testsupport::PlainPanels()};
    std::unique_ptr<TestPanel> panel;

    /// Control `index` of type `type` in the panel's record.
    void Layout(int index, int type) {
        services.SetInt(kPanel, CSlideOut::kFieldControlType, type, index);
        int count = 0;
        services.GetInt(kPanel, CSlideOut::kFieldControlCount, count, 0);
        if (index + 1 > count)
            services.SetInt(kPanel, CSlideOut::kFieldControlCount, index + 1);
    }
    /// Field `dataId` of control `index`.
    void Field(int index, int dataId, int value) { services.SetInt(kPanel, dataId, value, index); }
    /// Makes and initialises the panel.
    TestPanel& Make() {
        panel = std::make_unique<TestPanel>(kPanel, &manager, log);
        panel->Init();
        log.clear();
        return *panel;
    }
    /// Activates the panel at once with the pointer far away; clears the logs.
    void ShowPanel() {
        panel->Activate(true);
        log.clear();
        services.log.clear();
    }
};

/// Game-state links that show panels through a slide-out manager and do nothing else.
class PanelStates : public IGameStateServices {
public:
    explicit PanelStates(CSlideOutMan& panels) : m_panels(panels) {}
    bool HasSlideOutMan() const override { return true; }
    void SwitchPanel(int slideOutIndex) override { m_panels.SwitchTo(slideOutIndex); }
    void SetVideo(int, int) override {}
    void SetCurrentWorld(int) override {}
    void ResumeAutoSavedTrack() override {}
    void RestartIOManager() override {}
    void MusicOff() override {}
    void PostQuit() override {}
    int GetCurrentWorldTheme() const override { return 0; }
    int GetCurrentCampaignNode() const override { return -1; }
    void CopyCampaignSetup(int, CRaceSetup&) override {}

private:
    CSlideOutMan& m_panels;
};

} // namespace uitest
