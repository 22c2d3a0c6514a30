// Sample tracks read into the race world by the program's own parts, then drawn headless from a camera
// above the grid looking down at it at an angle: the scene alone, without the screens' pictures.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "engine/DisplayDevice.h"
#include "engine/Mesh.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/base/GameStates.h"
#include "render/CameraController.h"
#include "render/EngineMan.h"
#include "render/VornMesh.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace zentrix;

namespace {

/// The faces of every mesh in the tree.
std::uint32_t FaceCount(CEntity* node) {
    std::uint32_t faces =
        node->GetType() == CEntity::kKindMesh ? static_cast<CMesh*>(node)->GetFaceCount(0) : 0;
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        faces += FaceCount(child);
    return faces;
}

/// "" when every cell's piece and ground object and the base plate have a mesh with faces, else the first
/// cell (or the plate) without.
std::string FirstBareObject() {
    const CWorldGrid& grid = *CWorldMan::GetWorldGrid();
    auto bare = [](const CWorldObject* object) {
        return object && (!object->GetMesh() || FaceCount(object->GetMesh()) == 0);
    };
    for (std::uint32_t x = 0; x < grid.GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid.GetSizeZ(); ++z)
            if (bare(grid.GetPieceAt(x, z)) || bare(grid.GetCellObject(x, z)))
                return "cell " + std::to_string(x) + ", " + std::to_string(z);
    return bare(CWorldMan::GetBasePlate()) || !CWorldMan::GetBasePlate() ? "the base plate" : "";
}

/// The picture the scene was drawn on, halved both ways (each pixel the mean of four) so that the
/// golden stays small.
testsupport::RgbImage DrawnScene(CEngineMan& engine) {
    plat::gfx2d::Surface* drawn = engine.GetDisplayDevice()->GetDeviceBackBuffer();
    plat::gfx2d::SurfaceView view;
    if (!drawn || drawn->Lock(view) != plat::gfx2d::Result::Ok)
        return {};
    const testsupport::RgbImage full = testsupport::FromRgb565(view.Row16(0), view.pitch, 640, 480);
    drawn->Unlock();
    testsupport::RgbImage half{320, 240, std::vector<std::uint8_t>(320 * 240 * 3)};
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x)
            for (int c = 0; c < 3; ++c)
                half.rgb[static_cast<std::size_t>((y * half.width + x) * 3 + c)] = static_cast<std::uint8_t>(
                    (full.At(2 * x, 2 * y, c) + full.At(2 * x + 1, 2 * y, c) + full.At(2 * x, 2 * y + 1, c) +
                     full.At(2 * x + 1, 2 * y + 1, c) + 2) /
                    4);
    return half;
}

// The city circuit at night (its lighting flag), the desert circuit by day, and the large jungle track
// with pieces of two and three cells on raised ground, supports and height blocks. Every track is seen
// from the same angle, the camera back and up from the grid's middle by its size.
TEST(TrackRender, SampleTracksAreDrawnWithTheirPiecesGroundAndBasePlate) {
    const struct {
        const char* file;
        int slot;
        int theme;
        float centre; // of the grid, on x and z
        float scale;  // of the camera's distance
    } tracks[] = {
        {"demo", CFileSaver::kGameTracks, 3, 12.0f, 1.0f},
        {"desert", CFileSaver::kGameTracks, 2, 12.0f, 1.0f},
        {"hills", CFileSaver::kSavedTracks, 0, 140.0f, 2.0f},
    };
    gametest::HeadlessGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    game.App().GetGameStateMan()->SetState(GAMESTATE_RACE);
    ASSERT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kRace);
    CEngineMan& engine = *game.App().GetEngineMan();
    engine.SetBackgroundImage(-1);
    for (const auto& track : tracks) {
        SCOPED_TRACE(track.file);
        ASSERT_TRUE(CWorldMan::LoadTrack(std::string(track.file) + ".trk", track.slot));
        ASSERT_EQ(game.App().GetAssetMan()->GetWorld(), track.theme);
        EXPECT_EQ(FirstBareObject(), "");

        CCameraController& camera = *engine.GetCameraController();
        camera.SetPosition(track.centre, 300.0f * track.scale, track.centre + 360.0f * track.scale);
        camera.LookAt(track.centre, 0.0f, track.centre + 20.0f * track.scale);
        engine.RenderFrame();
        EXPECT_TRUE(testsupport::MatchesGolden(std::string("track_") + track.file, DrawnScene(engine)));
    }
    // Every theme has meshes for what the tracks are made of: the large jungle track and the small one
    // with raised cells, each turned into the other themes in turn (start pieces, both base plates,
    // supports and height blocks among them).
    for (const auto& [file, slot] : {std::pair{"hills.trk", CFileSaver::kSavedTracks},
                                     std::pair{"jungle.trk", CFileSaver::kGameTracks}}) {
        ASSERT_TRUE(CWorldMan::LoadTrack(file, slot));
        for (int theme : {1, 2, 3}) {
            SCOPED_TRACE(std::string(file) + " in theme " + std::to_string(theme));
            CWorldMan::GetWorld(CWorldMan::kRace)->SetTheme(theme);
            ASSERT_EQ(game.App().GetAssetMan()->GetWorld(), theme);
            EXPECT_EQ(FirstBareObject(), "");
        }
    }
}

} // namespace
