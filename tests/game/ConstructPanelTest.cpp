// The editor's panels on the sample set, driven through their commands and updates as the player's
// clicks reach them: the palette's pages, the cells, the eraser and test drive, the start piece in hand,
// the track-length gauge, the campaign's locks, the new-track panel; golden pictures of the panel; and
// a track built with the mouse from the main screen on, test-driven, left with Escape and left by the test
// drive's own end, and found again each time.

#include "EditorFixture.h"

#include "app/GameStateMan.h"
#include "construct/AddItemMode.h"
#include "construct/ConstCamHelper.h"
#include "construct/ConstSlideOut.h"
#include "construct/ConstrNewSlideOut.h"
#include "construct/ConstructPrinter.h"
#include "construct/PiecePalette.h"
#include "construct/TrackLengthMeter.h"
#include "engine/DisplayDevice.h"
#include "engine/Mesh.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/MainScreenSlideOut.h"
#include "platform/gfx2d/Surface.h"
#include "platform/window/ScriptedWindow.h"
#include "race/RouteNodeMan.h"
#include "race/WorldRaceMan.h"
#include "render/CameraController.h"
#include "render/EngineMan.h"
#include "render/VornMesh.h"
#include "ui/PushButton.h"
#include "ui/SlideOutMan.h"
#include "ui/ToggleButton.h"
#include "world/TrackEdit.h"
#include "world/WorldGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace zentrix;
using gametest::EditorFixture;

namespace {

/// The new-track panel's slide-out index.
constexpr int kNewTrackPanel = 2;

class ConstructPanel : public EditorFixture {
protected:
    explicit ConstructPanel(gametest::GameSetup setup = {"", 50, false}) : EditorFixture(std::move(setup)) {}

    CConstSlideOut& Panel() {
        return dynamic_cast<CConstSlideOut&>(*game.App().GetSlideOutMan()->FindSlideOut(0));
    }
    CToggleButton& EraseToggle() {
        return dynamic_cast<CToggleButton&>(*Panel().FindControl(CConstSlideOut::kEraseToggle));
    }
    int State() { return game.App().GetGameStateMan()->GetState(); }
    /// The start piece of a new track (on (4, 4), turned 1) taken into the hand by the pick-up mode or
    /// the eraser.
    void CarryStartPiece(bool erase) {
        NewTrack(0);
        if (erase) {
            game.App().GetEventMan()->PostMessage(CWorldConstructMan::kMsgEraseMode);
            game.Frames(1);
        }
        Aim(4, 4);
        Click();
        ASSERT_TRUE(Editor().IsCarryingStartPiece());
    }
    void Reenter() {
        game.App().GetGameStateMan()->SetState(GAMESTATE_MAIN);
        game.Frames(1);
        game.App().GetGameStateMan()->SetState(GAMESTATE_CONSTRUCT);
        ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    }
};

TEST_F(ConstructPanel, ThePalettePagesThroughTheJungleListsAndLeavesTheStartPieceOff) {
    CPiecePalette& palette = Panel().GetPalette();
    const struct {
        int group;
        int page;
        int cell;
        int item;
        int icon;
        int arrow;
    } rows[] = {
        {0, 0, 0, 15201, 15401, 1},  {0, 0, 13, 15202, 15402, 1}, {0, 0, 14, -1, 38454, 1},
        {0, 1, 0, 15227, 15427, 0},  {0, 1, 13, 15229, 15429, 0}, {0, 1, 14, -1, 38453, 0},
        {1, 0, 0, 15246, 15446, 2},  {1, 0, 14, 15277, 15477, 2}, {2, 0, 9, 15272, 15472, 2},
        {2, 0, 14, 15260, 15460, 2}, {0, 0, 15, -1, -1, 1},       {0, 0, -1, -1, -1, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.group) + "/" + std::to_string(row.page) + "/" +
                     std::to_string(row.cell));
        palette.SetGroup(row.group);
        ASSERT_TRUE(palette.SetPage(row.page));
        EXPECT_EQ(palette.GetItemId(row.cell), row.item);
        EXPECT_EQ(palette.GetIconId(row.cell), row.icon);
        EXPECT_EQ(palette.GetArrowKind(), row.arrow);
    }
    // Group 0's last entry, the start piece, is on no page; there is no third page.
    palette.SetGroup(0);
    for (int page : {0, 1}) {
        ASSERT_TRUE(palette.SetPage(page));
        for (int cell = 0; cell < CPiecePalette::kCellCount; ++cell)
            EXPECT_NE(palette.GetItemId(cell), 15205);
    }
    EXPECT_FALSE(palette.SetPage(2));
    EXPECT_FALSE(palette.SetPage(-1));
    EXPECT_EQ(palette.GetPage(), 1);
    palette.SetGroup(0);
    EXPECT_EQ(palette.GetPage(), 1) << "the same group keeps its page";
    palette.SetGroup(2);
    EXPECT_EQ(palette.GetPage(), 0);
    EXPECT_FALSE(palette.SetPage(1));

    // A world whose lists are short (world 4: three pieces in group 0) has one page and no arrow.
    CAssetMan& assets = *game.App().GetAssetMan();
    assets.SetWorld(4, true);
    palette.SetGroup(0);
    EXPECT_EQ(palette.GetItemId(2), 19203);
    EXPECT_EQ(palette.GetItemId(3), -1);
    EXPECT_EQ(palette.GetIconId(3), -1);
    EXPECT_EQ(palette.GetItemId(14), -1);
    EXPECT_EQ(palette.GetIconId(14), -1);
    EXPECT_EQ(palette.GetArrowKind(), CPiecePalette::kNoArrow);
    assets.SetWorld(0, true);
}

TEST_F(ConstructPanel, CellsChooseThePieceAndASecondPressOnTheChosenCellPutsItBack) {
    const struct {
        int control;
        int mode;
        int piece;
        int highlighted;
    } rows[] = {
        {12, CWorldConstructMan::kModeAdd, 15201, 0},  {14, CWorldConstructMan::kModeAdd, 15203, 2},
        {14, CWorldConstructMan::kModePickup, -1, -1}, {25, CWorldConstructMan::kModeAdd, 15202, 13},
        {4, CWorldConstructMan::kModePickup, -1, -1},  {24, CWorldConstructMan::kModeAdd, 15207, 12},
        {24, CWorldConstructMan::kModePickup, -1, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        Panel().OnControl(row.control);
        game.Frames(1);
        EXPECT_EQ(Editor().GetMode(), row.mode);
        EXPECT_EQ(Editor().GetCurrentPiece(), row.piece);
        EXPECT_EQ(Panel().GetHighlightedCell(), row.highlighted);
        EXPECT_EQ(Panel().GetToolState(),
                  row.piece == -1 ? CConstSlideOut::kToolNone : CConstSlideOut::kToolAdd);
        EXPECT_EQ(Editor().GetAddMode()->GetPreview() != nullptr,
                  row.piece != -1 && row.piece != 15207) // 15207 has no record in the sample set
            << "the preview follows the piece in hand";
    }
    // The arrow turns the page and back, leaving the cell chosen on the other page unframed.
    Panel().OnControl(CConstSlideOut::kArrowButton);
    EXPECT_EQ(Panel().GetPalette().GetPage(), 1);
    Panel().OnControl(CConstSlideOut::kArrowButton);
    EXPECT_EQ(Panel().GetPalette().GetPage(), 0);
}

TEST_F(ConstructPanel, TestDriveWaitsFiveUpdatesForTheEraserAndNeedsTheStartPieceOnTheGrid) {
    // Without a start piece nothing happens.
    Panel().OnControl(CConstSlideOut::kTestDriveButton);
    EXPECT_EQ(State(), GAMESTATE_CONSTRUCT);

    NewTrack(0);
    EraseToggle().SetChecked(true);
    Panel().OnControl(CConstSlideOut::kTestDriveButton);
    EXPECT_FALSE(EraseToggle().IsChecked()) << "the eraser is put away at once";
    EXPECT_TRUE(Panel().IsTestDriveArmed());
    for (int update = 1; update <= 4; ++update) {
        Panel().Update(0);
        EXPECT_EQ(State(), GAMESTATE_CONSTRUCT) << update;
    }
    Panel().Update(0);
    EXPECT_EQ(State(), GAMESTATE_RACE);
}

TEST_F(ConstructPanel, TheStartPieceInHandRefusesTheTestDriveAndTheEraserAndGoesBackHome) {
    // Out through the panel's main-screen button, or by the game state alone (the world puts it back).
    const struct {
        bool erased;
        bool staleRecord;
        bool byButton;
    } rows[] = {{false, false, true},
                {true, false, true},
                {false, true, true},
                {true, false, false},
                {false, true, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.erased) + std::to_string(row.staleRecord) +
                     std::to_string(row.byButton));
        CarryStartPiece(row.erased);
        game.log.clear();
        Panel().OnControl(CConstSlideOut::kTestDriveButton);
        EXPECT_EQ(Helps(CConstSlideOut::kStartCarriedHelp), 1);
        EXPECT_EQ(State(), GAMESTATE_CONSTRUCT);
        EraseToggle().SetChecked(true);
        Panel().OnControl(CConstSlideOut::kEraseToggle);
        EXPECT_FALSE(EraseToggle().IsChecked());
        EXPECT_TRUE(Editor().IsCarryingStartPiece());
        if (row.staleRecord)
            Editor().SetLiftedPiece({kStraight, 2, 2, 0});
        if (row.byButton)
            Panel().OnControl(CConstSlideOut::kMainScreenButton);
        else
            game.App().GetGameStateMan()->SetState(GAMESTATE_MAIN);
        EXPECT_EQ(State(), GAMESTATE_MAIN);
        game.App().GetGameStateMan()->SetState(GAMESTATE_CONSTRUCT);
        ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
        EXPECT_EQ(PieceAt(4, 4), row.staleRecord ? "15270/0" : "15205/1");
        EXPECT_EQ(PieceAt(2, 2), "15270/0") << "a stale record puts no other piece down";
    }
}

TEST_F(ConstructPanel, TheEraserThenATurnLeavesTheAddModeWithNothingInHand) {
    EraseToggle().SetChecked(true);
    Panel().OnControl(CConstSlideOut::kEraseToggle);
    game.Frames(1);
    EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModeErase);
    const int view = CConstCamHelper::GetViewIndex();
    Panel().OnControl(CConstSlideOut::kTurnButton);
    EXPECT_FALSE(EraseToggle().IsChecked());
    EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    game.Frames(1);
    // The queued add-mode message comes after the direct pick-up mode.
    EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
    EXPECT_EQ(Editor().GetCurrentPiece(), -1);
    EXPECT_EQ(Editor().GetAddMode()->GetPreview(), nullptr);
    EXPECT_EQ(CConstCamHelper::GetViewIndex(), (view + 4) % 5);
}

TEST(ConstructGauge, KeepsTheLastLengthWithinTheLimitAndAMissingLimitIsNone) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float limit;
        std::vector<float> lengths;
        float value;
        bool over;
        float fill;
    } rows[] = {
        {600.0f, {150.0f}, 150.0f, false, 0.25f},
        {600.0f, {150.0f, 700.0f}, 150.0f, true, 1.0f},
        {600.0f, {150.0f, 700.0f, 300.0f}, 300.0f, false, 0.5f},
        {600.0f, {600.0f}, 600.0f, false, 1.0f},
        {0.0f, {5000.0f}, 5000.0f, false, 0.0f},
        {-5.0f, {10.0f}, 10.0f, false, 0.0f},
        {nan, {10.0f}, 10.0f, false, 0.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.limit);
        CTrackLengthMeter meter(480, 70, nullptr, nullptr);
        EXPECT_EQ(meter.SetLimit(row.limit), row.limit > 0.0f);
        for (float length : row.lengths)
            meter.TakeLength(length);
        EXPECT_EQ(meter.GetValue(), row.value);
        EXPECT_EQ(meter.IsOverLimit(), row.over);
        EXPECT_FLOAT_EQ(meter.GetFill(), row.fill);
    }
    const struct {
        float fill;
        int cut;
    } cuts[] = {{0.0f, 200},   {1.0f, 0}, {0.5f, 100},  {0.999f, 0},
                {0.001f, 199}, {2.0f, 0}, {-1.0f, 200}, {nan, 200}};
    for (const auto& row : cuts)
        EXPECT_EQ(CTrackLengthMeter::CutRows(row.fill, 200), row.cut) << row.fill;
}

TEST_F(ConstructPanel, TheGaugeFollowsTheTrackAndTheGridSizeReachesIt) {
    CTrackLengthMeter& meter = *Panel().GetMeter();
    const struct {
        int size;
        float limit;
    } sizes[] = {{1, 2400.0f}, {0, 600.0f}};
    for (const auto& row : sizes) {
        EXPECT_TRUE(CWorldMan::SetGridSizeIndex(row.size));
        EXPECT_EQ(meter.GetLimit(), row.limit);
    }
    NewTrack(0);
    ASSERT_NE(Place(kCorner, 3, 4, 0), nullptr);
    ASSERT_NE(Place(kStraight, 3, 5, 0), nullptr);
    game.Frames(1);
    const float ring = CWorldMan::GetWorldGrid()->GetTrackLength();
    EXPECT_GT(ring, 0.0f);
    EXPECT_EQ(meter.GetValue(), ring);
    EXPECT_FALSE(Editor().IsTrackTooLong());
    // Long straights down the grid until the track is too long: the gauge keeps the last length within.
    float within = ring;
    for (int x = 0; x < 8 && !Editor().IsTrackTooLong(); ++x)
        for (int z : {0, 2, 6}) {
            ASSERT_NE(Place(kLongStraight, x, z, 0), nullptr);
            game.Frames(1);
            const float length = CWorldMan::GetWorldGrid()->GetTrackLength();
            if (length <= 600.0f)
                within = length;
        }
    EXPECT_TRUE(Editor().IsTrackTooLong());
    EXPECT_EQ(meter.GetValue(), within);
    EXPECT_EQ(meter.GetFill(), 1.0f);
}

TEST_F(ConstructPanel, CellsTheCampaignKeepsBackAreLockedWithTheirHelp) {
    const struct {
        int group;
        int cell;
        bool locked;
        int help;
    } rows[] = {
        {1, 5, true, 57207},  {1, 0, false, 57230}, {1, 1, true, 57207},
        {2, 10, true, 57207}, {2, 9, false, 57230}, {0, 0, false, 57213},
        {0, 1, true, 57207},  {0, 2, false, 57227}, {0, 14, false, 57021},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.group) + "/" + std::to_string(row.cell));
        Panel().OnControl(CConstSlideOut::kFirstGroupButton + row.group);
        EXPECT_EQ(Panel().IsCellLocked(row.cell), row.locked);
        CControl* cell = Panel().FindControl(CConstSlideOut::kFirstCell + row.cell);
        EXPECT_EQ(cell->GetState(), row.locked ? CControl::kInactive : CControl::kActive);
        EXPECT_EQ(cell->GetHelpId(), row.help);
        EXPECT_EQ(Panel().FindControl(CConstSlideOut::kFirstGroupButton + row.group)->GetState(),
                  CControl::kInactive)
            << "the open group's button";
    }
}

/// The faces of a mesh and of every mesh below it (0 without a mesh).
std::uint32_t Faces(const CEntity* node) {
    std::uint32_t faces = 0;
    if (const auto* mesh = dynamic_cast<const CMesh*>(node))
        faces += mesh->GetFaceCount(0) + mesh->GetFaceCount(1);
    for (const CEntity* child = node ? node->GetFirstChild() : nullptr; child;
         child = child->GetNextSibling())
        faces += Faces(child);
    return faces;
}

// In the jungle, where the editor opens, every cell a player can press places a piece they see: one with
// a record and a mesh. The sample set builds no honest piece for the others, so the campaign keeps them.
TEST_F(ConstructPanel, EveryOpenJungleCellPlacesAPieceWithAMeshAndTheOthersAreLocked) {
    CPiecePalette& palette = Panel().GetPalette();
    int open = 0, locked = 0;
    for (int group = 0; group < 3; ++group) {
        Panel().OnControl(CConstSlideOut::kFirstGroupButton + group);
        for (int page = 0; palette.SetPage(page); ++page)
            for (int cell = 0; cell < CPiecePalette::kCellCount; ++cell) {
                const int piece = palette.GetItemId(cell);
                if (piece == -1)
                    continue;
                SCOPED_TRACE(piece);
                if (Panel().IsCellLocked(cell)) {
                    ++locked;
                    continue;
                }
                ++open;
                Panel().OnControl(CConstSlideOut::kFirstCell + cell);
                game.Frames(1);
                ASSERT_EQ(Editor().GetCurrentPiece(), piece);
                const CTrackObject* preview = Editor().GetAddMode()->GetPreview();
                ASSERT_NE(preview, nullptr) << "a record that makes a track piece";
                EXPECT_GT(Faces(preview->GetMesh()), 0u) << "a mesh with something in it";
                Panel().OnControl(CConstSlideOut::kFirstCell + cell);
            }
    }
    EXPECT_EQ(open + locked, 58) << "every entry but the start piece is on a page";
    EXPECT_EQ(locked, 30);
}

TEST_F(ConstructPanel, TheNewTrackPanelMakesATrackOfTheChosenSizeOrGoesBackWithNothingChanged) {
    const struct {
        int control;
        int size;
        int posted;
        const char* name;
        int startCell;
    } rows[] = {{1, 1, 1, "My track", 8}, {0, 0, 1, "My track", 4}, {2, 0, 0, "Kept", 4}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        Editor().SetTrackName("Kept");
        game.App().GetGameStateMan()->SetState(GAMESTATE_CONSTRUCT_NEW);
        ASSERT_TRUE(game.ReachPanel(kNewTrackPanel));
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kConstruct);
        auto& panel = dynamic_cast<CConstrNewSlideOut&>(*game.App().GetSlideOutMan()->GetActiveSlideOut());
        panel.OnControl(row.control);
        EXPECT_EQ(State(), GAMESTATE_CONSTRUCT);
        EXPECT_EQ(game.App().GetEventMan()->GetPendingCount(CConstrNewSlideOut::kMsgNewTrack),
                  static_cast<std::uint32_t>(row.posted));
        EXPECT_EQ(CWorldMan::GetGridSizeIndex(), row.size);
        EXPECT_EQ(Editor().GetTrackName(), row.name);
        game.Frames(1);
        EXPECT_EQ(PieceAt(row.startCell, row.startCell), "15205/1");
    }
}

/// A printer that is always there and keeps a copy of each picture it is given.
class CopyingPrinter : public IConstructPrinter {
public:
    bool IsPrintingAvailable() override { return true; }
    bool PrintLandscape(const plat::gfx2d::Surface* surface, const plat::gfx2d::Rect& rect) override {
        copy = plat::gfx2d::Surface::Create({rect.Width(), rect.Height()}, surface->Format());
        printed = rect;
        return copy && copy->Blt(nullptr, surface, &rect, plat::gfx2d::kBltWait) == plat::gfx2d::Result::Ok;
    }
    std::unique_ptr<plat::gfx2d::Surface> copy;
    plat::gfx2d::Rect printed;
};

TEST_F(ConstructPanel, ThePrintedViewCarriesTheTrackNameWithinTheTitleWhateverItsLength) {
    const struct {
        std::string name;
        bool ink; // black letters in the title
    } rows[] = {{"Ring road", true}, {std::string(3000, 'W'), true}, {"", false}};
    plat::gfx2d::Surface* back = game.App().GetEngineMan()->GetDisplayDevice()->GetDeviceBackBuffer();
    ASSERT_NE(back, nullptr);
    const std::uint16_t grey = 0x4208;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.size());
        auto printer = std::make_unique<CopyingPrinter>();
        CopyingPrinter& copying = *printer;
        Panel().SetPrinter(std::move(printer));
        Editor().SetTrackName(row.name);
        plat::gfx2d::SurfaceView view;
        ASSERT_EQ(back->Lock(view), plat::gfx2d::Result::Ok);
        for (int y = 0; y < 480; ++y)
            std::fill(view.Row16(y), view.Row16(y) + 640, grey);
        back->Unlock();
        Panel().OnControl(CConstSlideOut::kPrintButton);
        ASSERT_NE(copying.copy, nullptr);
        EXPECT_EQ(copying.printed.Width(), 640);
        EXPECT_EQ(copying.printed.Height(), 480);
        ASSERT_EQ(copying.copy->Lock(view), plat::gfx2d::Result::Ok);
        int white = 0, black = 0, outside = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const std::uint16_t pixel = view.Row16(y)[x];
                if (y < 10 || y >= 60)
                    outside += pixel != grey;
                else {
                    white += pixel == 0xFFFF;
                    black += pixel == 0;
                }
            }
        copying.copy->Unlock();
        EXPECT_EQ(outside, 0) << "nothing is drawn outside the title";
        EXPECT_GT(white, 0);
        EXPECT_EQ(black > 0, row.ink);
    }
}

TEST_F(ConstructPanel, TheAddModesPointerShowsThePiecesIconOverThePanel) {
    Panel().OnControl(CConstSlideOut::kFirstCell + 2);
    game.Frames(1);
    ASSERT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
    const struct {
        int x;
        int y;
        int pointer;
    } rows[] = {{600, 100, 15403}, {320, 240, 28001}, {501, 300, 15403}, {500, 300, 28001}};
    for (const auto& row : rows) {
        Panel().MouseMove(row.x, row.y);
        EXPECT_EQ(Editor().GetPointerId(), row.pointer) << row.x;
    }
}

TEST_F(ConstructPanel, TheLightingToggleSwitchesTheLightingModeBothWays) {
    CEngineMan& engine = *game.App().GetEngineMan();
    const int first = engine.GetLightingMode();
    for (int press : {1, 2}) {
        Panel().OnControl(CConstSlideOut::kLightingToggle);
        EXPECT_EQ(engine.GetLightingMode(), press == 1 ? (first == 0 ? 1 : 0) : first);
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    }
}

/// The panel as the player sees it over a new small track with a few pieces, from the editor's far
/// view 0.
class ConstructPanelPicture : public ConstructPanel {
protected:
    void SetUp() override {
        ConstructPanel::SetUp();
        NewTrack(0);
        ASSERT_NE(Place(kCorner, 3, 4, 0), nullptr);
        ASSERT_NE(Place(kStraight, 3, 5, 0), nullptr);
        ASSERT_NE(Place(kCorner, 3, 6, 1), nullptr);
        CConstCamHelper::SetViewIndex(0);
        CConstCamHelper::SetZoomIndex(1);
        CCameraController* camera = game.App().GetEngineMan()->GetCameraController();
        camera->SetOrientation(CConstCamHelper::GetViewDirection(0), CConstCamHelper::GetViewUp(0));
        camera->SetPosition(CVector(12.0f, 0.0f, 12.0f) - CConstCamHelper::GetViewDirection(0) * 675.0f);
        Editor().GetCamera()->Reset();
        game.MoveTo(100, 470);
        game.Frames(30);
    }
};

TEST_F(ConstructPanelPicture, EachGroupAndPageWithTheLocksTheFrameAndTheGauge) {
    const struct {
        std::vector<int> controls;
        const char* golden;
    } rows[] = {
        {{14}, "construct_panel_road"},
        {{CConstSlideOut::kArrowButton}, "construct_panel_road_page2"},
        {{10}, "construct_panel_stunt"},
        {{11}, "construct_panel_scenery"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.golden);
        for (int control : row.controls)
            Panel().OnControl(control);
        game.Frames(4);
        EXPECT_TRUE(testsupport::MatchesGolden(row.golden, game.Screen()));
    }
    game.App().GetGameStateMan()->SetState(GAMESTATE_CONSTRUCT_NEW);
    ASSERT_TRUE(game.ReachPanel(kNewTrackPanel));
    game.Frames(2);
    EXPECT_TRUE(testsupport::MatchesGolden("construct_new_track", game.Screen()));
}

/// The player's way: the editor from the main screen, a new small track, a ring built with the mouse
/// from the palette in the top view, and the test drive.
class ConstructPlaySlow : public ConstructPanel {
protected:
    // No picture is looked at: the scene stays undrawn, so the test drive's minute and a half runs fast.
    ConstructPlaySlow() : ConstructPanel(gametest::GameSetup{"", 50, false, false}) {}
    void SetUp() override {
        ASSERT_TRUE(game.Start());
        game.App().GetGameStateMan()->SetState(GAMESTATE_MAIN);
        ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    }
    /// The keyboard's accelerator (the up arrow's key code).
    static constexpr int kAccelerator = 200;

    /// Every cell of the 8 x 8 grid, as PieceAt gives it.
    std::string Track() {
        std::string track;
        for (int x = 0; x < 8; ++x)
            for (int z = 0; z < 8; ++z)
                track += PieceAt(x, z) + " ";
        return track;
    }
    /// Where the middle of cell (x, z) lies on the screen, the camera looking straight down.
    void CellOnScreen(int x, int z, int& px, int& py) {
        CVector p;
        game.App().GetEngineMan()->GetCameraController()->GetPosition(p);
        const float dz = CWorldGrid::IndexToWorldZ(static_cast<std::uint32_t>(z)) - p.z;
        const float dx = CWorldGrid::IndexToWorldX(static_cast<std::uint32_t>(x)) - p.x;
        px = static_cast<int>(std::lround(320.0f - dz * 320.0f / (0.33f * p.y)));
        py = static_cast<int>(std::lround(240.0f - dx * 240.0f / (0.24f * p.y)));
    }
};

TEST_F(ConstructPlaySlow, ATrackBuiltWithTheMouseIsTestDrivenAndFoundAgainAfterEscapeAndAfter90Seconds) {
    CConstCamHelper::SetViewIndex(0);
    CConstCamHelper::SetZoomIndex(1);
    ASSERT_TRUE(game.ClickControl(CMainScreenSlideOut::kEditorButton));
    ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    // The panel's controls come alive at its first update fully shown.
    game.Frames(1);
    ASSERT_TRUE(game.ClickControl(CConstSlideOut::kNewTrackButton));
    ASSERT_TRUE(game.ReachPanel(kNewTrackPanel));
    ASSERT_TRUE(game.ClickControl(CConstrNewSlideOut::kSmallGrid));
    ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    game.Frames(2);
    ASSERT_EQ(PieceAt(4, 4), "15205/1");
    // The top view.
    ASSERT_TRUE(game.ClickControl(CConstSlideOut::kTurnButton));
    CCameraController* camera = game.App().GetEngineMan()->GetCameraController();
    ASSERT_TRUE(game.RunUntil([&] { return !camera->IsMoving(); }, 60));
    ASSERT_EQ(CConstCamHelper::GetViewIndex(), CConstCamHelper::kTopView);

    const struct {
        int cell; // palette cell: 0 the straight, 2 the corner
        int rotation;
        int x;
        int z;
    } ring[] = {
        {2, 0, 3, 4}, {0, 0, 3, 5}, {2, 1, 3, 6}, {0, 1, 4, 6}, {2, 2, 5, 6}, {0, 0, 5, 5}, {2, 3, 5, 4},
    };
    for (const auto& p : ring) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.z));
        if (Panel().GetHighlightedCell() != p.cell)
            ASSERT_TRUE(game.ClickControl(CConstSlideOut::kFirstCell + p.cell));
        int px = 0, py = 0;
        CellOnScreen(p.x, p.z, px, py);
        game.MoveTo(px, py);
        ASSERT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
        for (int turns = 0; turns < 4 && Editor().GetPreviewRotation() != p.rotation; ++turns) {
            ClickAt(px, py, 2);
            game.Frames(6);
        }
        ClickAt(px, py, 0);
        EXPECT_EQ(PieceAt(p.x, p.z), (p.cell == 0 ? "15201/" : "15203/") + std::to_string(p.rotation));
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    }
    EXPECT_FALSE(game.App().GetRouteNodeMan()->IsRouteBroken());
    const std::string built = Track();

    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    // Escape, once the test drive runs, leaves it for the editor; then the test drive ends by itself
    // 90000 ms after its start signal, the player's car driven all the while.
    for (const bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "90 s");
        // The button pressed for the last test drive comes up again as the panel updates its controls.
        auto* button = dynamic_cast<CPushButton*>(Panel().FindControl(CConstSlideOut::kTestDriveButton));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(game.RunUntil([&] { return button->GetButtonState() != CPushButton::kPressed; }, 100));
        ASSERT_TRUE(game.ClickControl(CConstSlideOut::kTestDriveButton));
        EXPECT_EQ(State(), GAMESTATE_RACE);
        ASSERT_TRUE(game.RunUntil([&] { return race->GetState() == CWorldRaceMan::kRacing; }, 200));
        EXPECT_EQ(game.App().GetGameStateMan()->GetGameMode(), 1);
        CWorldObject* car = CWorldMan::GetCar(0);
        ASSERT_NE(car, nullptr);
        ASSERT_NE(CWorldMan::GetCar(1), nullptr) << "a closed route: a computer driver comes along";
        if (escape) {
            game.Frames(10);
            plat::window::Event key{plat::window::EventKind::Key};
            key.key = 27;
            game.window->Push(key);
        } else {
            game.input.SetKey(kAccelerator, true);
        }
        const CVector start = car->Position();
        float farthest = 0.0f;
        int lastTime = 0;
        ASSERT_TRUE(game.RunUntil(
            [&] {
                if (State() != GAMESTATE_RACE)
                    return true;
                if (CWorldMan::GetCar(0) == car)
                    farthest = std::max(farthest, (car->Position() - start).Length());
                lastTime = race->GetTestDriveTime();
                return false;
            },
            escape ? 20 : 2000));
        game.input.SetKey(kAccelerator, false);
        if (!escape) {
            // Left at the first frame past 90000 ms (it counted up to the frame before).
            EXPECT_GT(lastTime, 90000 - 50);
            EXPECT_LE(lastTime, 90000);
            EXPECT_GT(farthest, 40.0f) << "the car was driven";
        }
        EXPECT_EQ(State(), GAMESTATE_CONSTRUCT);
        ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kConstruct);
        EXPECT_EQ(Track(), built);
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
        EXPECT_FALSE(game.App().GetRouteNodeMan()->IsRouteBroken());
        game.Frames(1);
    }
}

} // namespace
