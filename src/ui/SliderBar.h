#pragma once

#include "platform/gfx2d/Geometry.h"
#include "ui/Control.h"

#include <memory>

namespace zentrix {

class CBitmap;

/// A horizontal slider: a track picture and a knob (another while the pointer is over the slider), an
/// integer value in a range, set by a click on the track or by dragging the knob. The panel reads the
/// value; the slider sends no command. Its range and starting value come from field 99 at the slider's
/// ordinal among the panel's sliders, its pictures from fields 108 (track), 110 (knob) and 111 (knob
/// under the pointer); it is as large as its track.
class CSliderBar : public CControl {
public:
    static constexpr int kFieldUnused = 98;
    static constexpr int kFieldRange = 99;
    static constexpr int kFieldTrackImage = 108;
    static constexpr int kFieldKnobImage = 110;
    static constexpr int kFieldHoverKnobImage = 111;

    /// Slider `controlId` of `parent`, the `ordinal`-th slider of the panel.
    CSliderBar(CSlideOut* parent, int controlId, int ordinal);
    ~CSliderBar() override;

    int GetValue() const { return m_value; }
    /// Stores the value held within the range and moves the knob there.
    void SetValue(int value);
    bool IsDragging() const { return m_dragging; }
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    /// The pixels the knob can move: track width less knob width (0 when the knob is as wide or wider).
    int GetTravel() const;
    /// Where the knob is drawn for the current value, in panel coordinates.
    int GetKnobX() const;

    /// A click on the slider sets the value from its x; false whatever happened.
    bool HandleMouse(int x, int y, int buttons) override;
    /// A press on the slider (window coordinates) starts a drag there.
    bool OnMouseDown(int x, int y) override;
    /// Any release ends a drag.
    bool OnMouseUp(int x, int y) override;
    /// While dragging, the value follows x, held at the ends of the track.
    bool OnMouseMove(int x, int y) override;
    bool OnEnter() override { return false; }
    bool OnLeave() override { return false; }
    bool OnChar(int) override { return false; }
    bool EnableIfDisabled() override { return true; }
    bool DisableIfEnabled() override { return true; }
    bool Disable() override { return true; }
    bool Enable() override { return true; }
    bool Hide() override { return true; }
    bool Show() override { return true; }
    /// Draws the track and the knob (the hover knob under the pointer) while the panel is active.
    bool Draw(bool flag) override;
    /// Reports the help item while the pointer is over the slider.
    void UpdateControl() override;

private:
    /// The value a panel x gives; with `clampToTrack` the offset is first held within the travel.
    int ValueAt(int x, bool clampToTrack) const;
    /// Whether the window's pointer lies on the slider.
    bool PointerOver() const;

    int m_minimum = 0;
    int m_maximum = 0;
    int m_value = 0;
    std::unique_ptr<CBitmap> m_track;
    std::unique_ptr<CBitmap> m_knob;
    std::unique_ptr<CBitmap> m_hoverKnob;
    plat::gfx2d::Rect m_bounds;
    bool m_dragging = false;
};

} // namespace zentrix
