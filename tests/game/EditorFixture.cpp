#include "EditorFixture.h"

#include "app/GameStateMan.h"
#include "construct/ConstructCamera.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "platform/window/ScriptedWindow.h"
#include "render/CameraController.h"
#include "render/EngineMan.h"
#include "world/TrackEdit.h"
#include "world/WorldGrid.h"

using namespace zentrix;

namespace gametest {

void EditorFixture::SetUp() {
    ASSERT_TRUE(game.Start());
    // The player's way, by the main screen: the help character shows only once it has been reached.
    game.App().GetGameStateMan()->SetState(GAMESTATE_MAIN);
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    game.App().GetGameStateMan()->SetState(GAMESTATE_CONSTRUCT);
    ASSERT_TRUE(game.ReachPanel(CWorldConstructMan::kPanel));
    ASSERT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kConstruct);
    game.MoveTo(320, 240);
}

void EditorFixture::NewTrack(int sizeIndex) {
    CWorldMan::SetGridSize(sizeIndex);
    game.App().GetEventMan()->PostMessage(CWorldConstructMan::kMsgNewTrack);
    game.Frames(1);
}

void EditorFixture::Aim(int x, int z, int px, int py) {
    // Looking down with the up vector along +x, a pointer left of the middle lies towards +z and one
    // above it towards +x, 33 and 24 units at the screen's edges from 100 units up.
    const float a = (320.0f - static_cast<float>(px)) * 33.0f / 320.0f;
    const float b = (240.0f - static_cast<float>(py)) * 24.0f / 240.0f;
    // The editor's own camera would move the engine's camera back over its view.
    Editor().SetCamera(nullptr);
    CCameraController* camera = game.App().GetEngineMan()->GetCameraController();
    // A move it started on entry would land on its target over ours.
    camera->StopMove();
    camera->SetPosition(CVector(CWorldGrid::IndexToWorldX(static_cast<std::uint32_t>(x)) - b, 100.0f,
                                CWorldGrid::IndexToWorldZ(static_cast<std::uint32_t>(z)) - a));
    camera->SetOrientation(CVector(0.0f, -1.0f, 0.0f), CVector(1.0f, 0.0f, 0.0f));
    game.MoveTo(px, py);
}

void EditorFixture::ClickAt(int x, int y, int button) {
    plat::window::Event move{plat::window::EventKind::MouseMove, x, y};
    plat::window::Event down = move;
    down.kind = plat::window::EventKind::ButtonDown;
    down.button = button;
    plat::window::Event up = down;
    up.kind = plat::window::EventKind::ButtonUp;
    game.window->Push(move);
    game.window->Push(down);
    game.window->Push(up);
    game.Frames(1);
}

CTrackObject* EditorFixture::Place(int id, int x, int z, int rotation) {
    return PlaceTrackPiece(id, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z),
                           static_cast<std::uint32_t>(rotation));
}

std::string EditorFixture::PieceAt(int x, int z) {
    const CTrackObject* piece =
        CWorldMan::GetWorldGrid()->GetPieceAt(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z));
    if (!piece)
        return "-";
    return std::to_string(piece->GetTypeId()) + "/" + std::to_string(piece->GetRotation());
}

} // namespace gametest
