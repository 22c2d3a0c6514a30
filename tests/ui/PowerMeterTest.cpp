#include "ui/PowerMeter.h"
#include "UiFixtures.h"

#include "foundation/assets/Bitmap.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace uitest;

namespace {

using testsupport::Rgb;

constexpr int kPanel = 700;
constexpr int kPicture = 5000;
constexpr Rgb kBackground{0, 0, 0xF8};

/// A colour of its own for each picture id below 2048, none of them the panel's.
Rgb ColourOf(int id) {
    return {static_cast<std::uint8_t>(id % 32 * 8), static_cast<std::uint8_t>(id / 32 % 64 * 4), 0x80};
}

/// An active panel whose picture is one colour, with a meter at (30, 40) over pictures 0..999.
struct MeterPanel {
    MeterPanel(int count, int first) {
        for (int id = 0; id < 1000; ++id)
            services.AddPicture(id, 8, 8, ColourOf(id));
        services.AddPicture(kPicture, 64, 64, kBackground);
        services.SetInt(kPanel, CSlideOut::kFieldPicture, kPicture);
        services.SetInt(kPanel, CControl::kFieldActiveX, 30);
        services.SetInt(kPanel, CControl::kFieldActiveY, 40);
        services.SetInt(kPanel, CPowerMeter::kFieldImageCount, count);
        services.SetInt(kPanel, CPowerMeter::kFieldFirstImage, first);
        panel.Activate(true);
    }
    /// The colour at the meter's place.
    std::uint16_t Shown() const { return services.Pixel(33, 43); }

    testsupport::RecordingPanelServices services;
    Log log;
    CSlideOutMan manager{services, testsupport::PlainPanels()};
    TestPanel panel{kPanel, &manager, log};
};

TEST(PowerMeter, ShowsThePictureOfItsIndexFromTheSeries) {
    const struct {
        int count, first;
        int index; // -1: the starting index
        int imageCount;
        int shown; // picture id drawn; -1: nothing
    } cases[] = {
        {5, 200, -1, 5, 203}, {5, 200, 0, 5, 200},
        {3, 200, -1, 3, -1}, // the starting index lies past a short series
        {5, 200, 5, 5, -1},   {5, 200, -2, 5, -1},
        {5, 0, 0, 5, -1}, // id 0 is never asked for, though a picture 0 exists here
        {5, 0, 2, 5, 2},      {300, 200, -1, CPowerMeter::kMaxImages, 203},
        {-4, 200, -1, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " from " << c.first << " at " << c.index);
        MeterPanel m(c.count, c.first);
        CPowerMeter meter(&m.panel, 0);
        EXPECT_EQ(meter.GetImageCount(), c.imageCount);
        EXPECT_EQ(meter.GetImageIndex(), CPowerMeter::kStartIndex);
        if (c.index == -1)
            meter.Draw(false);
        else
            meter.SetImageIndex(c.index);
        EXPECT_EQ(m.Shown(), Pixel565(c.shown == -1 ? kBackground : ColourOf(c.shown)));
    }
}

TEST(PowerMeter, DrawsNothingOnAnInactivePanel) {
    MeterPanel m(4, 200);
    m.services.pictures.erase(200);
    CPowerMeter meter(&m.panel, 0);
    EXPECT_EQ(meter.GetImage(0), nullptr);
    ASSERT_NE(meter.GetImage(3), nullptr);
    m.panel.Deactivate(true);
    meter.Draw(true);
    EXPECT_EQ(m.Shown(), Pixel565(kBackground));
}

} // namespace
