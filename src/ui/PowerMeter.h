#pragma once

#include "ui/Control.h"

#include <memory>
#include <vector>

namespace zentrix {

class CBitmap;

/// A meter drawn as one picture of a numbered series, chosen by an index; it takes no input. The series
/// is field 129 pictures long, starting at the asset id in field 136 (an id of 0 leaves its place empty).
class CPowerMeter : public CControl {
public:
    static constexpr int kFieldImageCount = 129;
    static constexpr int kFieldFirstImage = 136;
    /// No data field holds more elements than this, so no series is longer.
    static constexpr int kMaxImages = 256;
    /// The picture shown from the start.
    static constexpr int kStartIndex = 3;

    /// Power meter `controlId` of `parent` with its pictures loaded.
    CPowerMeter(CSlideOut* parent, int controlId);
    ~CPowerMeter() override;

    /// Reads the series and loads its pictures; the index goes back to the start.
    void ReadLayout();
    /// Shows picture `index` of the series (nothing for an index outside it or an empty place).
    void SetImageIndex(int index);
    int GetImageIndex() const { return m_imageIndex; }
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    /// Picture `index` of the series, or null.
    CBitmap* GetImage(int index) const;

    bool HandleMouse(int, int, int) override { return false; }
    bool OnMouseMove(int, int) override { return false; }
    bool OnEnter() override { return false; }
    bool OnLeave() override { return false; }
    bool OnChar(int) override { return false; }
    bool EnableIfDisabled() override { return true; }
    bool DisableIfEnabled() override { return true; }
    bool Disable() override { return true; }
    bool Enable() override { return true; }
    bool Hide() override { return true; }
    bool Show() override { return true; }
    /// Draws the current picture, keyed, while the panel is active.
    bool Draw(bool flag) override;
    void UpdateControl() override {}

private:
    std::vector<std::unique_ptr<CBitmap>> m_images;
    int m_imageIndex = kStartIndex;
};

} // namespace zentrix
