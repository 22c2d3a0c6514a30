#include "UiFixtures.h"

#include "platform/text/Font.h"
#include "ui/DummyControl.h"
#include "ui/TextBoxControl.h"
#include "ui/TextEditControl.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zentrix;

using namespace uitest;

namespace {

using plat::gfx2d::Rect;
using plat::text::BackgroundMode;
using plat::text::RecordedDraw;

constexpr int kPanel = 600;
constexpr int kPicture = 5000;
constexpr std::uint32_t kText = 0x000080FF, kBackground = 0x00204001, kShadow = 0x0010607F;
constexpr testsupport::Rgb kPictureColour{0x30, 0x60, 0x90};

/// An active panel at (0, 0) whose picture is two pieces side by side: (0, 0, 200, 100), (200, 0, 400, 100).
struct TextPanel {
    TextPanel() {
        services.AddPicture(kPicture, 400, 100, kPictureColour);
        services.SetInt(kPanel, CSlideOut::kFieldPicture, kPicture);
        services.SetPieces(kPanel, {{0, 0, 200, 100}, {200, 0, 400, 100}});
        panel.Init();
        panel.Activate(true);
        services.log.clear();
    }
    /// Layout of control `id`: a box at (x, y) of w x h.
    void Place(int id, int x, int y, int w, int h) {
        services.SetInt(kPanel, CControl::kFieldActiveX, x, id);
        services.SetInt(kPanel, CControl::kFieldActiveY, y, id);
        services.SetInt(kPanel, CControl::kFieldWidth, w, id);
        services.SetInt(kPanel, CControl::kFieldHeight, h, id);
        services.SetInt(kPanel, CTextBoxControl::kFieldTextColour, static_cast<int>(kText), id);
        services.SetInt(kPanel, CTextBoxControl::kFieldBackgroundColour, static_cast<int>(kBackground), id);
    }
    const std::vector<RecordedDraw>& Draws() const { return services.fontLibrary.Draws(); }

    testsupport::RecordingPanelServices services;
    Log log;
    CSlideOutMan manager{services, testsupport::PlainPanels()};
    TestPanel panel{kPanel, &manager, log};
};

TEST(TextBox, DrawsFillShadowsAndTextIntoThePieceThatHoldsIt) {
    TextPanel t;
    t.Place(0, 210, 20, 100, 30); // on the second piece only
    t.services.SetInt(kPanel, CTextBoxControl::kFieldFontType, 3);
    t.services.SetInt(kPanel, CTextBoxControl::kFieldWrapWidth, 10);
    t.services.SetInt(kPanel, CTextBoxControl::kFieldTextId, 7000);
    t.services.texts[7000] = "aaa bbb ccc";
    CTextBoxControl box(&t.panel, 0);
    ASSERT_STREQ(box.GetText(), "aaa bbb\rccc");

    ASSERT_TRUE(box.Draw(true));
    const Rect local{10, 20, 110, 50};
    ASSERT_EQ(t.Draws().size(), 3u);
    const struct {
        int dx;
        std::uint32_t colour;
        BackgroundMode mode;
    } passes[] = {{-1, kShadow, BackgroundMode::kOpaque},
                  {1, kShadow, BackgroundMode::kTransparent},
                  {0, kText, BackgroundMode::kTransparent}};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const RecordedDraw& draw = t.Draws()[i];
        EXPECT_EQ(draw.face, "font1");
        EXPECT_EQ(draw.text, "aaa bbb\rccc");
        EXPECT_EQ(draw.rect, local.Offset({passes[i].dx, 0}));
        EXPECT_EQ(draw.format, plat::text::kFormatVCenter);
        EXPECT_EQ(draw.style.textColour, passes[i].colour);
        EXPECT_EQ(draw.style.backgroundColour, kBackground);
        EXPECT_EQ(draw.style.background, passes[i].mode);
    }
    const auto fill =
        static_cast<std::uint16_t>(plat::text::PixelFromColour(kBackground, plat::gfx2d::kFormat565));
    EXPECT_EQ(t.services.Pixel(309, 49), fill);
    EXPECT_EQ(t.services.Pixel(310, 49), Pixel565(kPictureColour));
    EXPECT_EQ(t.services.Pixel(50, 30), Pixel565(kPictureColour));

    // Centred text; without a fill the background stays as drawn.
    t.services.fontLibrary.ClearDraws();
    box.SetCentred(true);
    box.Draw(false);
    ASSERT_EQ(t.Draws().size(), 3u);
    EXPECT_EQ(t.Draws()[2].format, plat::text::kFormatVCenter | plat::text::kFormatCenter);

    // The new text shows at the next draw; clearing fills the box.
    t.services.fontLibrary.ClearDraws();
    EXPECT_TRUE(box.SetText("  x  "));
    EXPECT_TRUE(t.Draws().empty());
    box.Draw(false);
    EXPECT_EQ(t.Draws().back().text, "x");
    EXPECT_FALSE(box.SetText("   "));
    EXPECT_EQ(box.GetText(), nullptr);
    t.services.fontLibrary.ClearDraws();
    EXPECT_TRUE(box.Draw(true));
    EXPECT_TRUE(t.Draws().empty());
}

TEST(TextBox, IsDrawnOnlyWhereOnePieceHoldsItWholly) {
    const struct {
        Rect box;
        bool drawn;
    } cases[] = {
        {{0, 0, 200, 100}, true},  {{200, 0, 400, 100}, true}, {{150, 10, 250, 40}, false},
        {{-1, 10, 50, 40}, false}, {{10, 70, 50, 101}, false}, {{390, 10, 401, 40}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box.left << "," << c.box.top);
        TextPanel t;
        t.Place(0, c.box.left, c.box.top, c.box.Width(), c.box.Height());
        t.services.SetInt(kPanel, CTextBoxControl::kFieldWrapWidth, 10);
        CTextBoxControl box(&t.panel, 0);
        box.SetText("text");
        EXPECT_EQ(box.Draw(true), c.drawn);
        EXPECT_EQ(t.Draws().size(), c.drawn ? 3u : 0u);
    }
    // No picture: nothing to draw on.
    TextPanel t;
    CTextBoxControl box(&t.panel, 0);
    t.panel.Deactivate(true);
    EXPECT_FALSE(box.Draw(true));
}

TEST(TextBox, ClicksInsideIncludingTheEdgesGoToThePanelAndHoverReportsHelp) {
    TextPanel t;
    t.Place(0, 10, 20, 30, 40);
    t.Place(1, 10, 20, 30, 40);
    t.services.SetInt(kPanel, CControl::kFieldHelpId, 55);
    // A click area in the data does not matter to text boxes.
    t.services.SetInt(kPanel, CControl::kFieldHotRight, 2);
    CTextBoxControl box(&t.panel, 0);
    CDummyControl dummy(&t.panel, 1);
    const struct {
        int x, y;
        bool inside;
    } clicks[] = {{10, 20, true}, {40, 60, true},  {25, 40, true},
                  {9, 20, false}, {41, 30, false}, {20, 61, false}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        t.log.clear();
        EXPECT_EQ(box.HandleMouse(c.x, c.y, 0), c.inside);
        EXPECT_EQ(dummy.HandleMouse(c.x, c.y, 0), c.inside);
        EXPECT_EQ(t.log, c.inside ? (Log{"command 0", "command 1"}) : Log{});
    }

    // The dummy draws nothing at all, the text box its background.
    dummy.SetText("abc");
    EXPECT_TRUE(dummy.Draw(true));
    EXPECT_TRUE(t.Draws().empty());
    EXPECT_EQ(t.services.Pixel(10, 20), Pixel565(kPictureColour));
    EXPECT_EQ(box.GetState(), CControl::kHidden);

    EXPECT_TRUE(box.OnEnter());
    EXPECT_FALSE(box.OnEnter());
    box.UpdateControl();
    EXPECT_TRUE(box.OnLeave());
    EXPECT_FALSE(box.OnLeave());
    box.UpdateControl();
    EXPECT_EQ(t.services.log, (Log{"hover 55", "hover end 55", "hover end 55"}));
}

/// A text edit at (20, 10), 100 x 20, of a text panel, with the given maximum length in its layout.
struct EditPanel : TextPanel {
    explicit EditPanel(int maxLength, int cursor = 0) {
        Place(0, 20, 10, 100, 20);
        services.SetInt(kPanel, CTextEditControl::kFieldMaxLength, maxLength);
        services.SetInt(kPanel, CTextEditControl::kFieldCursor, cursor);
        services.SetInt(kPanel, CTextEditControl::kFieldHighlightTextColour, 0x111111);
        services.SetInt(kPanel, CTextEditControl::kFieldHighlightBackgroundColour, 0x222222);
        services.SetInt(kPanel, CTextEditControl::kFieldFontType, 2);
        edit = std::make_unique<CTextEditControl>(&panel, 0);
        edit->SetSound(0, 0);
    }
    std::unique_ptr<CTextEditControl> edit;
};

TEST(TextEdit, TypedTextKeepsToTheMaximumLength) {
    const struct {
        int maxLength;
        bool enabled;
        std::string typed; // '\b' is backspace
        std::string text;
        int clicks;
        bool taken;
    } cases[] = {
        {3, false, "a", "", 0, false},
        {3, true, "abcd", "abc", 3, true},
        {3, true, "abcd\bx", "abx", 5, true},
        {3, true, "\b\b", "", 0, true},
        {0, true, "0123456789ab", "0123456789", 10, true},
        {-4, true, "0123456789ab", "0123456789", 10, true},
        {3, true, std::string("a\0\xff", 3), std::string("a\0\xff", 3), 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "max " << c.maxLength << " typed " << c.typed);
        EditPanel e(c.maxLength);
        if (c.enabled)
            EXPECT_TRUE(e.edit->EnableIfDisabled());
        bool taken = true;
        for (char ch : c.typed)
            taken =
                e.edit->OnChar(ch == '\b' ? CTextEditControl::kBackspace : static_cast<unsigned char>(ch));
        EXPECT_EQ(taken, c.taken);
        EXPECT_EQ(e.edit->GetText(), c.text);
        EXPECT_EQ(e.edit->IsChanged(), c.taken);
        EXPECT_EQ(std::count(e.services.log.begin(), e.services.log.end(), "sound 50102"), c.clicks);
    }
}

TEST(TextEdit, SetTextCutsToTheMaximumLengthBeforeAndAfterEnabling) {
    EditPanel e(3);
    e.edit->SetText("abcdefghijkl");
    EXPECT_EQ(e.edit->GetText(), "abcdefghij");
    EXPECT_FALSE(e.edit->OnChar('x'));
    e.edit->EnableIfDisabled();
    EXPECT_FALSE(e.edit->EnableIfDisabled());
    EXPECT_EQ(e.edit->GetMaxLength(), 3);
    e.edit->SetText("abcdef");
    EXPECT_EQ(e.edit->GetText(), "abc");
    EXPECT_TRUE(e.edit->DisableIfEnabled());
    EXPECT_FALSE(e.edit->OnChar('x'));
}

TEST(TextEdit, DrawsItsLineWithABlinkingCursorInTheCurrentColours) {
    EditPanel e(8, 1);
    e.edit->EnableIfDisabled();
    e.edit->SetText("ab");
    e.edit->Draw(true);
    e.edit->SetHighlighted(true);
    e.edit->SetHighlighted(true); // no change, no drawing
    e.edit->SetHighlighted(false);
    ASSERT_EQ(e.Draws().size(), 12u);
    const struct {
        std::string text;
        std::uint32_t colour;
    } draws[] = {{"ab_", kText}, {"ab", kText}, {"ab_", 0x111111}, {"ab", kText}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const RecordedDraw& draw = e.Draws()[i * 3 + 2];
        EXPECT_EQ(draw.text, draws[i].text);
        EXPECT_EQ(draw.style.textColour, draws[i].colour);
        EXPECT_EQ(draw.face, "font2");
        EXPECT_EQ(draw.rect, (Rect{24, 8, 120, 28}));
        EXPECT_EQ(draw.format, plat::text::kFormatSingleLine | plat::text::kFormatVCenter);
    }

    // Each update redraws while the cursor blinks or the text changed.
    e.services.fontLibrary.ClearDraws();
    e.edit->OnChar('c');
    EXPECT_TRUE(e.edit->IsChanged());
    e.edit->UpdateControl();
    EXPECT_FALSE(e.edit->IsChanged());
    EXPECT_EQ(e.Draws().back().text, "abc_");
}

} // namespace
