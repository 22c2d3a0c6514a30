#include "ui/SliderBar.h"
#include "UiFixtures.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace uitest;

namespace {

using testsupport::Rgb;

constexpr int kPanel = 500;
constexpr int kTrack = 1, kKnob = 2, kHoverKnob = 3, kPicture = 4;
constexpr Rgb kTrackColour{0x80, 0x80, 0x80}, kKnobColour{0xF8, 0, 0}, kHoverColour{0, 0xFC, 0};

/// A slider at (20, 10) of a panel shown at (30, 40): track 100 wide, knob 20, so the knob travels 80.
struct SliderPanel {
    explicit SliderPanel(CVector range = CVector(0, 100, 50), int trackWidth = 100, int knobWidth = 20) {
        services.SetVector(kPanel, CSlideOut::kFieldShownPosition, CVector(30, 40, 0));
        services.SetInt(kPanel, CControl::kFieldActiveX, 20);
        services.SetInt(kPanel, CControl::kFieldActiveY, 10);
        services.SetInt(kPanel, CSliderBar::kFieldTrackImage, kTrack);
        services.SetInt(kPanel, CSliderBar::kFieldKnobImage, kKnob);
        services.SetInt(kPanel, CSliderBar::kFieldHoverKnobImage, kHoverKnob);
        services.SetInt(kPanel, CControl::kFieldHelpId, 77);
        services.SetVector(kPanel, CSliderBar::kFieldRange, CVector(-1, -1, -1), 0); // another slider's
        services.SetVector(kPanel, CSliderBar::kFieldRange, range, 1);
        if (trackWidth > 0)
            services.AddPicture(kTrack, trackWidth, 10, kTrackColour);
        services.AddPicture(kKnob, knobWidth, 10, kKnobColour);
        services.AddPicture(kHoverKnob, knobWidth, 10, kHoverColour);
        services.AddPicture(kPicture, 200, 100, {0, 0, 0x80});
        services.SetInt(kPanel, CSlideOut::kFieldPicture, kPicture);
        panel.Init();
        panel.Activate(true);
        slider = std::make_unique<CSliderBar>(&panel, 0, 1);
    }
    /// Window coordinates of panel point (x, y).
    int WindowX(int x) const { return x + 30; }
    int WindowY(int y) const { return y + 40; }

    /// The colour of the panel picture at panel point (x, y).
    std::uint16_t Pixel(int x, int y) const { return services.Pixel(x, y); }

    testsupport::RecordingPanelServices services;
    Log log;
    CSlideOutMan manager{services, testsupport::PlainPanels()};
    TestPanel panel{kPanel, &manager, log};
    std::unique_ptr<CSliderBar> slider;
};

TEST(SliderBar, ClicksAndDragsSetTheValueWithinTheRange) {
    SliderPanel s;
    // A click area reaching 10 pixels either side of the track: clicks off the track's ends count.
    s.services.SetInt(kPanel, CControl::kFieldHotLeft, -10);
    s.services.SetInt(kPanel, CControl::kFieldHotRight, 110);
    s.services.SetInt(kPanel, CControl::kFieldHotBottom, 10);
    CSliderBar slider(&s.panel, 0, 1);
    EXPECT_EQ(slider.GetValue(), 50);
    EXPECT_EQ(slider.GetWidth(), 100);
    EXPECT_EQ(slider.GetTravel(), 80);

    const struct {
        int x, value;
    } clicks[] = {{12, 0}, {20, 0}, {28, 10}, {60, 50}, {100, 100}, {125, 100}, {131, 100}, {9, 100}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.x);
        EXPECT_FALSE(slider.HandleMouse(c.x, 15, 0)); // the panel hears nothing of a slider
        EXPECT_EQ(slider.GetValue(), c.value);
    }

    // A drag starts only on the slider, holds the value at the ends and ends at any release.
    EXPECT_FALSE(slider.OnMouseDown(s.WindowX(60), s.WindowY(30)));
    EXPECT_FALSE(slider.OnMouseMove(20, 15));
    EXPECT_EQ(slider.GetValue(), 100);
    const struct { int x, value; } drag[] = {{-500, 0}, {40, 25}, {500, 100}, {110, 100}, {60, 50}};
    ASSERT_TRUE(slider.OnMouseDown(s.WindowX(100), s.WindowY(12)));
    EXPECT_TRUE(slider.IsDragging());
    EXPECT_EQ(slider.GetValue(), 100);
    for (const auto& d : drag) {
        SCOPED_TRACE(d.x);
        EXPECT_FALSE(slider.OnMouseMove(d.x, 300));
        EXPECT_EQ(slider.GetValue(), d.value);
    }
    EXPECT_TRUE(slider.OnMouseUp(-1000, -1000));
    EXPECT_FALSE(slider.IsDragging());
    slider.OnMouseMove(20, 15);
    EXPECT_EQ(slider.GetValue(), 50);
}

TEST(SliderBar, KnobStandsWhereAClickGivesItsValue) {
    const struct {
        CVector range;
        int trackWidth, knobWidth;
        int clickX, value, knobX;
    } cases[] = {
        {CVector(0, 100, 0), 100, 20, 60, 50, 60},
        {CVector(-50, 50, 0), 100, 20, 60, 0, 60},            // a range away from 0
        {CVector(10, 10, 10), 100, 20, 60, 10, 20},           // an empty range: the knob stays at the start
        {CVector(0, 100, 0), 20, 20, 30, 0, 20},              // no travel: every click gives the minimum
        {CVector(0, 100, 0), 0, 20, 20, 0, 20},               // no track: no size and no travel
        {CVector(0, 100, 0), 10, 20, 25, 0, 20},              // a knob wider than the track
        {CVector(0, 3e9f, 0), 100, 20, 100, 2147483647, 100}, // beyond an int: held at its end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.range.x << ".." << c.range.y << " track " << c.trackWidth);
        SliderPanel s(c.range, c.trackWidth, c.knobWidth);
        s.slider->HandleMouse(c.clickX, 15, 0);
        EXPECT_EQ(s.slider->GetValue(), c.value);
        EXPECT_EQ(s.slider->GetKnobX(), c.knobX);
    }
}

TEST(SliderBar, SetValueHoldsTheRangeAndDrawsTheKnobUnderThePointer) {
    SliderPanel s;
    s.slider->SetValue(150);
    EXPECT_EQ(s.slider->GetValue(), 100);
    EXPECT_EQ(s.Pixel(105, 15), Pixel565(kKnobColour));
    EXPECT_EQ(s.Pixel(25, 15), Pixel565(kTrackColour));
    s.services.windowMouse = {s.WindowX(25), s.WindowY(12)};
    s.slider->SetValue(-3);
    EXPECT_EQ(s.slider->GetValue(), 0);
    // The track is drawn again under the knob's old place, the knob under the pointer is the hover one.
    EXPECT_EQ(s.Pixel(105, 15), Pixel565(kTrackColour));
    EXPECT_EQ(s.Pixel(25, 15), Pixel565(kHoverColour));

    s.services.log.clear();
    s.slider->UpdateControl();
    EXPECT_EQ(s.services.log, Log{"hover 77"});

    // Nothing is drawn on a panel that is not active.
    s.panel.Deactivate(true);
    s.services.windowMouse = {-1000, -1000};
    s.slider->SetValue(40);
    EXPECT_EQ(s.slider->GetValue(), 40);
    EXPECT_EQ(s.Pixel(25, 15), Pixel565(kHoverColour));
    EXPECT_EQ(s.Pixel(55, 15), Pixel565(kTrackColour));
}

} // namespace
