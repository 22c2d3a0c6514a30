// The track editor's world and its edit modes, driven as the player does: clicks on the 3D view, the
// panels' messages, leaving and coming back through "AutoSaved.trk".

#include "EditorFixture.h"

#include "app/GameStateMan.h"
#include "construct/AddItemMode.h"
#include "construct/AppConstructServices.h"
#include "construct/ConstructRoute.h"
#include "construct/EraserMode.h"
#include "construct/PickupMode.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/HelpManager.h"
#include "frontend/MainScreenSlideOut.h"
#include "platform/fs/FileSystem.h"
#include "platform/settings/MemoryStore.h"
#include "race/RouteNodeMan.h"
#include "render/EngineMan.h"
#include "ui/SlideOutMan.h"
#include "ui/VornMessageBox.h"
#include "world/TrackEdit.h"
#include "world/WorldGrid.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace zentrix;
using gametest::EditorFixture;

namespace {

std::vector<char> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ConstructWorld : public EditorFixture {
protected:
    CGameStateMan& States() { return *game.App().GetGameStateMan(); }
    void Leave(int state = GAMESTATE_MAIN) {
        States().SetState(state);
        game.Frames(1);
    }
    void Enter() {
        States().SetState(GAMESTATE_CONSTRUCT);
        ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    }
    std::filesystem::path AutoSave() const { return game.savedTracks / "AutoSaved.trk"; }
    /// Takes `id` into the hand in add mode.
    void Hold(int id) {
        Editor().SetCurrentPiece(id, false);
        Editor().SetMode(CWorldConstructMan::kModeAdd);
    }
    float Height(int x, int z) {
        return CWorldMan::GetWorldGrid()->GetCellHeight(static_cast<std::uint32_t>(x),
                                                        static_cast<std::uint32_t>(z));
    }
};

TEST_F(ConstructWorld, TheTrackNameAndModeComeBackThroughTheAutoSave) {
    // Without an auto-save the editor starts on a flat grid without a start piece, under the default name.
    EXPECT_EQ(PieceAt(4, 4), "15270/0");
    EXPECT_EQ(Editor().GetTrackName(), "My track");
    NewTrack(0);
    ASSERT_NE(Place(kStraight, 4, 5, 1), nullptr);
    ASSERT_NE(Place(kCorner, 3, 3, 2), nullptr);
    ASSERT_NE(SetTileHeight(6, 6, 16.0f), nullptr);
    Editor().SetTrackName("Ring road");
    Hold(kCorner);
    Leave();
    const std::vector<char> first = ReadFile(AutoSave());
    ASSERT_EQ(first.size(), 65576u);
    std::string stored;
    EXPECT_TRUE(game.App().GetAppSettings()->GetString("AutoSave_Track_Name", stored));
    EXPECT_EQ(stored, "Ring road");

    Enter();
    EXPECT_EQ(PieceAt(4, 4), "15205/1");
    EXPECT_EQ(PieceAt(4, 5), "15201/1");
    EXPECT_EQ(PieceAt(3, 3), "15203/2");
    EXPECT_EQ(Height(6, 6), 16.0f);
    EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    EXPECT_EQ(Editor().GetCurrentPiece(), -1);
    EXPECT_EQ(Editor().GetAddMode()->GetPreview(), nullptr);
    EXPECT_EQ(Editor().GetTrackName(), "Ring road");
    Leave(GAMESTATE_OPTIONS);
    EXPECT_EQ(ReadFile(AutoSave()), first) << "the same track, byte for byte";

    // The main screen's editor button takes the player in with the track loaded.
    Leave(GAMESTATE_MAIN);
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    ASSERT_TRUE(game.ClickControl(CMainScreenSlideOut::kEditorButton));
    ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kConstruct);
    EXPECT_EQ(PieceAt(4, 5), "15201/1");
    EXPECT_EQ(game.App().GetEngineMan()->GetBackgroundImageId(), -1);

    // A missing auto-save and an empty stored name: a flat grid and the default name.
    Leave();
    std::filesystem::remove(AutoSave());
    game.App().GetAppSettings()->SetString("AutoSave_Track_Name", "");
    Enter();
    EXPECT_EQ(PieceAt(4, 4), "15270/0");
    EXPECT_EQ(PieceAt(4, 5), "15270/0");
    EXPECT_EQ(Height(6, 6), 0.0f);
    EXPECT_EQ(Editor().GetTrackName(), "My track");
}

TEST_F(ConstructWorld, AnAutoSaveThatCannotBeWrittenOrTakenIsReportedAndKeptWhole) {
    NewTrack(0);
    ASSERT_NE(Place(kStraight, 4, 5, 1), nullptr);
    Leave();
    const std::vector<char> saved = ReadFile(AutoSave());
    ASSERT_EQ(saved.size(), 65576u);

    // A full disk: the old auto-save stays whole, and the player is told which file and why.
    Enter();
    ASSERT_NE(Place(kCorner, 3, 3, 2), nullptr);
    testing::internal::CaptureStderr();
    {
        plat::fs::ScopedWriteFailure diskFull(1000);
        Leave();
    }
    std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find(AutoSave().string() + " cannot be written (No space left on device)"),
              std::string::npos)
        << told;
    EXPECT_EQ(ReadFile(AutoSave()), saved);
    Enter();
    EXPECT_EQ(PieceAt(3, 3), "15270/0") << "the next visit finds the track as it was last saved";
    EXPECT_EQ(PieceAt(4, 5), "15201/1");

    // A file the reader refuses is kept beside it under the first free name, and never written over.
    Leave();
    const std::vector<char> refused(saved.begin(), saved.begin() + 1000);
    std::filesystem::path older = AutoSave();
    older += ".refused";
    std::filesystem::path kept = AutoSave();
    kept += ".refused.2";
    std::ofstream(older, std::ios::binary) << "an older one";
    std::ofstream(AutoSave(), std::ios::binary)
        .write(refused.data(), static_cast<std::streamsize>(refused.size()));
    testing::internal::CaptureStderr();
    Enter();
    told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("kept as " + kept.string()), std::string::npos) << told;
    EXPECT_EQ(PieceAt(4, 5), "15270/0");
    EXPECT_EQ(PieceAt(4, 4), "15270/0") << "an empty track, without a start piece";
    EXPECT_FALSE(std::filesystem::exists(AutoSave()));
    Leave();
    EXPECT_EQ(ReadFile(AutoSave()).size(), 65576u);
    EXPECT_EQ(ReadFile(kept), refused);
    const std::vector<char> olderText = ReadFile(older);
    EXPECT_EQ(std::string(olderText.begin(), olderText.end()), "an older one");
}

TEST_F(ConstructWorld, ANewTrackHasTheStartPieceInTheMiddleOfItsGrid) {
    const struct {
        int sizeIndex;
        int cell;
        std::uint32_t size;
    } rows[] = {{0, 4, 8}, {1, 8, 16}, {0, 4, 8}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.sizeIndex);
        ASSERT_NE(Place(kStraight, 2, 2, 0), nullptr);
        Editor().SetMode(CWorldConstructMan::kModeErase);
        game.log.clear();
        NewTrack(row.sizeIndex);
        EXPECT_EQ(CWorldMan::GetWorldGrid()->GetSizeX(), row.size);
        EXPECT_EQ(PieceAt(row.cell, row.cell), "15205/1");
        EXPECT_EQ(PieceAt(2, 2), "15270/0");
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
        EXPECT_EQ(gametest::Count(game.log, "ui 49909"), 1);
    }
}

TEST_F(ConstructWorld, EachModeIsEnteredAloneWithItsPointer) {
    CWorldConstructMan& editor = Editor();
    const struct {
        int mode;
        bool add;
        bool erase;
        bool pickup;
        int pointer;
    } rows[] = {
        {0, true, false, false, 28001}, {1, false, true, false, 28000}, {4, false, false, true, 28001},
        {2, false, false, false, 0},    {0, true, false, false, 28001}, {3, false, false, false, 0},
        {1, false, true, false, 28000}, {5, false, false, false, 0},    {4, false, false, true, 28001},
        {7, false, false, true, 0}, // only stored: the pick-up mode stays on, but is no longer called
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        editor.SetMode(row.mode);
        EXPECT_EQ(editor.GetMode(), row.mode);
        EXPECT_EQ(editor.GetAddMode()->IsActive(), row.add);
        EXPECT_EQ(editor.GetEraserMode()->IsActive(), row.erase);
        EXPECT_EQ(editor.GetPickupMode()->IsActive(), row.pickup);
        EXPECT_EQ(editor.GetPointerId(), row.pointer);
        game.Frames(1);
        if (row.pointer != 0)
            EXPECT_EQ(game.App().GetEngineMan()->GetPointerImageId(), row.pointer);
    }

    // In mode 7 no mode takes a click; messages 49 and 50 bring the modes back.
    NewTrack(0);
    ASSERT_NE(Place(kStraight, 3, 3, 0), nullptr);
    editor.SetMode(7);
    Aim(3, 3);
    Click();
    EXPECT_EQ(PieceAt(3, 3), "15201/0");
    game.App().GetEventMan()->PostMessage(CWorldConstructMan::kMsgEraseMode);
    game.Frames(1);
    EXPECT_EQ(editor.GetMode(), CWorldConstructMan::kModeErase);
    game.App().GetEventMan()->PostMessage(CWorldConstructMan::kMsgAddMode);
    game.Frames(1);
    EXPECT_EQ(editor.GetMode(), CWorldConstructMan::kModeAdd);

    // Outside the editor nothing changes, not even the stored mode (left as 5).
    Leave();
    editor.SetMode(CWorldConstructMan::kModeErase);
    EXPECT_EQ(editor.GetMode(), CWorldConstructMan::kModeLeaving);
    EXPECT_FALSE(editor.GetEraserMode()->IsActive());
}

TEST_F(ConstructWorld, OnlyClicksOnTheViewReachTheMode) {
    NewTrack(0);
    // The panel covers the bottom right corner; the message box lies over everything.
    const struct {
        const char* what;
        int px;
        int py;
        int button;
        bool messageBox;
        bool lifted;
    } rows[] = {
        {"left click on the view", 320, 240, 0, false, true},
        {"left click on the panel", 560, 468, 0, false, false},
        {"right click on the view", 320, 240, 2, false, false},
        {"left click with the message box up", 320, 240, 0, true, false},
        {"left click beside the panel", 470, 468, 0, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Editor().SetMode(CWorldConstructMan::kModePickup);
        ASSERT_NE(Place(kStraight, 3, 3, 0), nullptr);
        Aim(3, 3, row.px, row.py);
        std::unique_ptr<CVornMessageBox> box;
        if (row.messageBox) {
            box = std::make_unique<CVornMessageBox>(7703, 7702, 1, States(), *game.App().GetSlideOutMan());
            ASSERT_TRUE(box->Show());
            game.Frames(2);
        }
        ClickAt(row.px, row.py, row.button);
        EXPECT_EQ(Editor().GetMode(),
                  row.lifted ? CWorldConstructMan::kModeAdd : CWorldConstructMan::kModePickup);
        EXPECT_EQ(PieceAt(3, 3), row.lifted ? "15270/0" : "15201/0");
        if (box) {
            box->Close();
            box.reset();
            game.Frames(2);
        }
        Editor().SetCurrentPiece(-1, false);
    }
}

TEST_F(ConstructWorld, TheAddModePlacesRaisesAndRefusesTheStartPiecesCells) {
    NewTrack(0); // the start piece on (4, 4)
    // A piece that fails the check is still placed: the check only colours the preview.
    ASSERT_NE(Place(kStraight, 2, 2, 0), nullptr);
    ASSERT_NE(Place(kStraight, 2, 4, 0), nullptr);
    Editor().SetPreviewRotation(1);
    Hold(kStraight);
    Aim(2, 3);
    EXPECT_FALSE(Editor().GetAddMode()->IsPlaceable());
    EXPECT_EQ(Editor().GetAddMode()->GetPreview()->GetHighlightMode(), 2u);
    game.log.clear();
    Click();
    EXPECT_EQ(PieceAt(2, 3), "15201/1");
    EXPECT_EQ(gametest::Count(game.log, "ui 49908"), 1);
    EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    EXPECT_EQ(Editor().GetCurrentPiece(), -1);

    // Whatever would cover a cell of the start piece is refused with its help item.
    const struct {
        int id;
        int x;
        int z;
        int rotation;
    } blocked[] = {{kStraight, 4, 4, 0}, {kLongStraight, 4, 3, 0}, {kCorner, 4, 4, 1}};
    for (const auto& b : blocked) {
        SCOPED_TRACE(b.id);
        Editor().SetPreviewRotation(b.rotation);
        Hold(b.id);
        Aim(b.x, b.z);
        EXPECT_TRUE(Editor().GetAddMode()->IsStartPieceInTheWay());
        const int helps = Helps(57015);
        Click();
        EXPECT_EQ(Helps(57015), helps + 1);
        EXPECT_EQ(PieceAt(4, 4), "15205/1");
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
    }

    // The height block raises a cell a step at a time up to 24; the eraser and the pick-up lower it.
    const float raised[] = {8.0f, 16.0f, 24.0f, 24.0f};
    for (float height : raised) {
        Hold(kHeightBlock);
        Aim(1, 1);
        Click();
        EXPECT_EQ(Height(1, 1), height);
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    }
    EXPECT_EQ(Helps(57231), 1);
    EXPECT_EQ(CWorldMan::GetWorldGrid()->GetCellObject(1, 1)->GetTypeId(), 15295);
    Editor().SetMode(CWorldConstructMan::kModeErase);
    Aim(1, 1);
    Click();
    EXPECT_EQ(Height(1, 1), 16.0f);
    Editor().SetMode(CWorldConstructMan::kModePickup);
    Aim(1, 2);
    Aim(1, 1);
    Click();
    EXPECT_EQ(Height(1, 1), 8.0f);
    EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
    EXPECT_EQ(Editor().GetCurrentPiece(), kHeightBlock);
    Editor().SetMode(CWorldConstructMan::kModeErase);
    Aim(1, 2);
    Aim(1, 1);
    Click();
    EXPECT_EQ(Height(1, 1), 0.0f);
    EXPECT_EQ(PieceAt(1, 1), "15270/0");
}

class ConstructTurning : public EditorFixture {
protected:
    ConstructTurning() : EditorFixture(gametest::GameSetup{"", 50, false}) {}
};

TEST_F(ConstructTurning, AQuarterTurnTakes250MsAndMayNotLeaveTheGrid) {
    NewTrack(0);
    CWorldConstructMan::CAddItemMode& add = *Editor().GetAddMode();
    Editor().SetPreviewRotation(0);
    Editor().SetCurrentPiece(kLongStraight, false);
    Editor().SetMode(CWorldConstructMan::kModeAdd);
    Aim(2, 2);
    ClickAt(320, 240, 2);
    EXPECT_EQ(Editor().GetPreviewRotation(), 1);
    EXPECT_GT(add.GetTurnTimer(), 0.0f);
    ClickAt(320, 240, 2); // under way: ignored
    EXPECT_EQ(Editor().GetPreviewRotation(), 1);
    game.Frames(5);
    EXPECT_EQ(add.GetTurnTimer(), 0.0f);
    EXPECT_EQ(add.GetPreview()->GetRotation(), 1);
    EXPECT_EQ(add.GetPreview()->Direction(), CVector(-1.0f, 0.0f, 0.0f));

    // The long straight's second cell turned a further quarter must stay on the grid, at each border.
    const struct {
        int x;
        int z;
        int rotation;
        bool turns;
    } rows[] = {{7, 3, 0, false}, {3, 0, 1, false}, {0, 3, 2, false}, {3, 7, 3, false},
                {6, 3, 0, true},  {3, 1, 1, true},  {1, 3, 2, true},  {3, 6, 3, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + "," + std::to_string(row.z) + " r" +
                     std::to_string(row.rotation));
        Editor().SetCurrentPiece(-1, false);
        Editor().SetPreviewRotation(row.rotation);
        Editor().SetCurrentPiece(kLongStraight, false);
        Editor().SetMode(CWorldConstructMan::kModeAdd);
        Aim(row.x, row.z);
        EXPECT_EQ(add.CanTurn(), row.turns);
        ClickAt(320, 240, 2);
        EXPECT_EQ(Editor().GetPreviewRotation(), row.turns ? (row.rotation + 1) % 4 : row.rotation);
        game.Frames(6);
    }
}

TEST_F(ConstructWorld, TheStartPieceErasedOrLiftedGoesIntoTheHandAndBack) {
    const struct {
        int mode;
        int helps; ///< 57015 played
        int sound; ///< 49910 played
    } rows[] = {{CWorldConstructMan::kModeErase, 1, 1}, {CWorldConstructMan::kModePickup, 0, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        NewTrack(0);
        Editor().SetMode(row.mode);
        Editor().SetPreviewRotation(0);
        game.log.clear();
        Aim(4, 4);
        Click();
        EXPECT_EQ(PieceAt(4, 4), "15270/0");
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
        EXPECT_EQ(Editor().GetCurrentPiece(), kStart);
        EXPECT_TRUE(Editor().IsCarryingStartPiece());
        EXPECT_EQ(Editor().GetPreviewRotation(), 1);
        const CWorldConstructMan::SLiftedPiece& lifted = Editor().GetLiftedPiece();
        EXPECT_EQ(lifted.assetId, kStart);
        EXPECT_EQ(lifted.x, 4);
        EXPECT_EQ(lifted.z, 4);
        EXPECT_EQ(lifted.rotation, 1);
        EXPECT_EQ(Helps(57015), row.helps);
        EXPECT_EQ(gametest::Count(game.log, "ui 49910"), row.sound);
        // Its cells are free now: another piece may go there; the start piece goes elsewhere.
        Aim(2, 5);
        Click();
        EXPECT_EQ(PieceAt(2, 5), "15205/1");
        EXPECT_FALSE(Editor().IsCarryingStartPiece());
    }

    // Leaving the editor with the start piece in hand puts it back into the kept track.
    NewTrack(0);
    Editor().SetMode(CWorldConstructMan::kModePickup);
    Aim(4, 4);
    Click();
    ASSERT_TRUE(Editor().IsCarryingStartPiece());
    Leave(GAMESTATE_STARTUP);
    Enter();
    EXPECT_EQ(PieceAt(4, 4), "15205/1");
}

TEST_F(ConstructWorld, ThePointerFindsTheCellItIsOverRaisedCellsFirst) {
    NewTrack(0);
    ASSERT_NE(SetTileHeight(3, 3, 16.0f), nullptr);
    // From 100 units over cell (3, 3): the pointer's place on the screen, and where the ray ends.
    // Pointers that reach 10 units into either half of the raised cell at its height find the cell.
    const struct {
        int px;
        int py;
        int cellX;
        int cellZ;
        float height;
    } rows[] = {
        {320, 240, 3, 3, 16.0f}, {320, 359, 3, 3, 16.0f}, {320, 121, 3, 3, 16.0f}, {437, 240, 3, 3, 16.0f},
        {203, 240, 3, 3, 16.0f}, {320, 440, 2, 3, 0.0f},  {320, 40, 4, 3, 0.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.px) + "," + std::to_string(row.py));
        Aim(3, 3);
        game.MoveTo(row.px, row.py);
        const CVector point = Editor().GetAddMode()->GetPointUnderMouse();
        const CVector cell = CWorldGrid::WorldToGrid(point);
        EXPECT_EQ(static_cast<int>(cell.x), row.cellX);
        EXPECT_EQ(static_cast<int>(cell.z), row.cellZ);
        EXPECT_NEAR(point.y, row.height, 1e-3f);
    }
}

} // namespace

class ConstructSession : public EditorFixture {
protected:
    ConstructSession() : EditorFixture(gametest::GameSetup{"", 50, false}) {}

    /// What the panel does when a palette cell is chosen, then right clicks until the piece in hand
    /// faces `rotation`, and the pointer on cell (x, z): whether the editor would accept it there.
    bool Carry(int id, int rotation, int x, int z) {
        Editor().SetCurrentPiece(id, true);
        game.App().GetEventMan()->PostMessage(CWorldConstructMan::kMsgAddMode);
        Aim(x, z);
        for (int turns = 0; turns < 4 && Editor().GetPreviewRotation() != rotation; ++turns) {
            ClickAt(320, 240, 2);
            game.Frames(6);
        }
        return Editor().GetAddMode()->IsPlaceable();
    }
};

TEST_F(ConstructSession, ARingIsBuiltBrokenMendedAndFoundAgain) {
    NewTrack(0); // the start piece on (4, 4), open to -x and +x
    const struct {
        int id;
        int rotation;
        int x;
        int z;
    } ring[] = {
        {kCorner, 0, 3, 4}, {kStraight, 0, 3, 5}, {kCorner, 1, 3, 6}, {kStraight, 1, 4, 6},
        {kCorner, 2, 5, 6}, {kStraight, 0, 5, 5}, {kCorner, 3, 5, 4},
    };
    for (const auto& p : ring) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.z));
        EXPECT_TRUE(Carry(p.id, p.rotation, p.x, p.z));
        Click();
        EXPECT_EQ(PieceAt(p.x, p.z), std::to_string(p.id) + "/" + std::to_string(p.rotation));
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModePickup);
    }
    const std::string built = PieceAt(3, 4) + PieceAt(4, 6) + PieceAt(5, 4);
    CRouteNodeMan& route = *game.App().GetRouteNodeMan();
    EXPECT_EQ(route.GetRouteStatus(), CRouteNodeMan::kRouteOk);
    EXPECT_FALSE(route.IsRouteBroken());

    // Broken: the eraser takes the top straight; a corner there does not join its neighbours.
    game.App().GetEventMan()->PostMessage(CWorldConstructMan::kMsgEraseMode);
    Aim(4, 6);
    Click();
    EXPECT_EQ(PieceAt(4, 6), "15270/0");
    EXPECT_TRUE(route.IsRouteBroken());
    EXPECT_EQ(route.GetRouteStatus(), CRouteNodeMan::kErrorNoPiece);
    CWorldObject* gap = route.GetRouteErrorPiece();
    ASSERT_NE(gap, nullptr);
    game.Frames(1);
    EXPECT_NE(gap->GetTypeId(), kGround);
    EXPECT_EQ(gap->GetHighlightMode(), 1u) << "a gap flashes in the first colour";
    EXPECT_FALSE(Carry(kCorner, 0, 4, 6));
    EXPECT_EQ(Editor().GetAddMode()->GetPreview()->GetHighlightMode(), 2u);
    // Mended with the straight.
    Editor().SetCurrentPiece(-1, false);
    EXPECT_TRUE(Carry(kStraight, 1, 4, 6));
    Click();
    EXPECT_EQ(PieceAt(3, 4) + PieceAt(4, 6) + PieceAt(5, 4), built);
    EXPECT_EQ(route.GetRouteStatus(), CRouteNodeMan::kRouteOk);

    // Found again after leaving the editor.
    game.App().GetGameStateMan()->SetState(GAMESTATE_MAIN);
    game.Frames(1);
    game.App().GetGameStateMan()->SetState(GAMESTATE_CONSTRUCT);
    ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    for (const auto& p : ring)
        EXPECT_EQ(PieceAt(p.x, p.z), std::to_string(p.id) + "/" + std::to_string(p.rotation));
    EXPECT_EQ(PieceAt(4, 4), "15205/1");
}

/// The route as the editor meets it: the break and its help item as set, every build and reset counted.
class ScriptedRoute : public IConstructRoute {
public:
    void Rebuild() override { ++builds; }
    CWorldObject* GetErrorPiece() override { return errorPiece; }
    int GetStatus() override { return status; }
    int GetErrorHelpId() override { return helpId; }
    void ResetError() override {
        ++resets;
        status = 1;
        errorPiece = nullptr;
    }

    CWorldObject* errorPiece = nullptr;
    int status = 1;
    int helpId = -1;
    int builds = 0;
    int resets = 0;
};

class ConstructRoute : public ConstructWorld {
protected:
    void SetUp() override {
        ConstructWorld::SetUp();
        static_cast<CAppConstructServices&>(Editor().GetConstructServices()).SetRoute(&route);
    }
    ScriptedRoute route;
};

TEST_F(ConstructRoute, ThePieceThatBreaksTheRouteFlashesByStatusAndIsLiftedWithItsHelp) {
    NewTrack(0);
    CTrackObject* broken = Place(kStraight, 2, 2, 1);
    ASSERT_NE(broken, nullptr);
    route.errorPiece = broken;
    Editor().SetMode(CWorldConstructMan::kModeNone);
    const struct {
        int status;
        std::uint32_t highlight;
    } rows[] = {{2, 1}, {3, 1}, {4, 2}, {12, 2}, {13, 3}, {1, 3}, {0, 3}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.status);
        broken->SetHighlight(3);
        route.status = row.status;
        game.Frames(1);
        EXPECT_EQ(broken->GetHighlightMode(), row.highlight);
    }
    // The pick-up mode pointing at it shows it steady, whatever the status.
    route.status = 4;
    Editor().SetMode(CWorldConstructMan::kModePickup);
    Aim(2, 2);
    game.Frames(2);
    EXPECT_EQ(broken->GetHighlightMode(), 0u);
    // Lifting it forgets the break.
    route.helpId = 57003;
    const int builds = route.builds;
    Click();
    EXPECT_EQ(route.resets, 1);
    EXPECT_EQ(Editor().GetCurrentPiece(), kStraight);
    EXPECT_GT(route.builds, builds) << "the preview is judged against a fresh route";

    // After a placement the route's help item plays when the route is closed or the piece breaks it,
    // unless it is the quiet one.
    const struct {
        int status;
        int helpId;
        int played;
    } helps[] = {{1, 57001, 1}, {1, 57230, 0}, {1, -1, 0}, {4, 57002, 0}};
    int x = 1;
    for (const auto& h : helps) {
        SCOPED_TRACE(h.helpId);
        route.status = h.status;
        route.helpId = h.helpId;
        Editor().SetCurrentPiece(kStraight, false);
        Editor().SetMode(CWorldConstructMan::kModeAdd);
        Aim(x++, 6);
        const int before = h.helpId == -1 ? 0 : Helps(h.helpId);
        Click();
        EXPECT_EQ((h.helpId == -1 ? 0 : Helps(h.helpId)) - before, h.played);
    }
}

TEST_F(ConstructWorld, TheEraserAndThePickUpOfferTheirHintsForWhatTheyPointAt) {
    NewTrack(0);
    ASSERT_NE(Place(kStraight, 2, 2, 0), nullptr); // its hint is 57213
    ASSERT_NE(Place(kCorner, 2, 4, 0), nullptr);   // no hint
    ASSERT_NE(SetTileHeight(5, 5, 8.0f), nullptr);
    CHelpManager& help = *game.App().GetHelpManager();
    const struct {
        int mode;
        int x;
        int z;
        int hover;
        std::uint32_t highlight; ///< of what is pointed at
    } rows[] = {
        {CWorldConstructMan::kModeErase, 2, 2, 57211, 0}, {CWorldConstructMan::kModeErase, 3, 3, -1, 3},
        {CWorldConstructMan::kModeErase, 5, 5, 57211, 0}, {CWorldConstructMan::kModePickup, 2, 2, 57213, 0},
        {CWorldConstructMan::kModePickup, 2, 4, -1, 0},   {CWorldConstructMan::kModePickup, 5, 5, -1, 0},
        {CWorldConstructMan::kModePickup, 3, 3, -1, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.mode) + " " + std::to_string(row.x) + "," + std::to_string(row.z));
        Editor().SetMode(row.mode);
        Aim(7, 7);
        help.CancelHover();
        Aim(row.x, row.z);
        EXPECT_EQ(help.GetPendingHover(), row.hover);
        CWorldGrid& grid = *CWorldMan::GetWorldGrid();
        CWorldObject* object =
            grid.GetPieceAt(static_cast<std::uint32_t>(row.x), static_cast<std::uint32_t>(row.z));
        if (!object || object->GetTypeId() == kGround)
            object = grid.GetCellObject(static_cast<std::uint32_t>(row.x), static_cast<std::uint32_t>(row.z));
        if (!object)
            object = grid.GetPieceAt(static_cast<std::uint32_t>(row.x), static_cast<std::uint32_t>(row.z));
        EXPECT_EQ(object->GetHighlightMode(), row.highlight);
        // Moving on ends the hint and the highlight.
        Aim(7, 7);
        EXPECT_EQ(help.GetPendingHover(), -1);
        EXPECT_EQ(object->GetHighlightMode(), 3u);
    }
}

TEST_F(ConstructWorld, APieceInHandThatMakesNoTrackPieceLeavesTheAddModeInert) {
    NewTrack(0);
    const std::size_t objects = CWorldMan::GetObjectList().size();
    // A plain world object of the sample set, and an id with no asset at all.
    for (int id : {15299, 12345}) {
        SCOPED_TRACE(id);
        Editor().SetCurrentPiece(id, false);
        Editor().SetMode(CWorldConstructMan::kModeAdd);
        Aim(2, 2);
        EXPECT_EQ(Editor().GetAddMode()->GetPreview(), nullptr);
        EXPECT_EQ(CWorldMan::GetObjectList().size(), objects);
        Click();
        EXPECT_EQ(PieceAt(2, 2), "15270/0");
        EXPECT_EQ(Editor().GetMode(), CWorldConstructMan::kModeAdd);
        Editor().SetCurrentPiece(-1, false);
    }

    // An erased piece takes its hint with it.
    ASSERT_NE(Place(kStraight, 2, 2, 0), nullptr);
    Editor().SetMode(CWorldConstructMan::kModeErase);
    Aim(2, 2);
    EXPECT_EQ(game.App().GetHelpManager()->GetPendingHover(), 57211);
    Click();
    EXPECT_EQ(PieceAt(2, 2), "15270/0");
    EXPECT_EQ(game.App().GetHelpManager()->GetPendingHover(), -1);
}
