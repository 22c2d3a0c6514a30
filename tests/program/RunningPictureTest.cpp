// The application object on the sample set, in this process: what the running game presents.

#include "app/App.h"
#include "app/AppParts.h"
#include "app/Win.h"
#include "engine/DisplayDevice.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/EventMan.h"
#include "platform/clock/Clock.h"
#include "platform/input/ScriptedInput.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "render/CameraController.h"
#include "render/CompoundOverlay.h"
#include "render/EngineMan.h"
#include "render/VornMesh.h"
#include "render/assets/MeshAsset.h"
#include "support/GoldenImage.h"
#include "support/TempFolder.h"
#include "ui/SlideOutMan.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace zentrix;

namespace {

/// The real parts with a scripted window and input, settings in memory and no splash.
class HeadlessParts final : public CAppParts {
public:
    HeadlessParts()
        : CAppParts(std::make_unique<plat::settings::MemoryStore>(),
                    std::make_unique<plat::clock::SystemClock>()) {}
    std::unique_ptr<CSplash> CreateSplash() override { return nullptr; }
    std::unique_ptr<CWin> CreateWin(int, int) override {
        auto scripted = std::make_unique<plat::window::ScriptedWindow>();
        window = scripted.get();
        return std::make_unique<CWin>(std::move(scripted));
    }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window*) override {
        return std::make_unique<plat::input::ScriptedInput>();
    }
    plat::window::ScriptedWindow* window = nullptr;
};

TEST(RunningPicture, BackgroundLitMeshPanelAndPointer) {
    testsupport::TempFolder folder;
    const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                folder.Native() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    {
        auto parts = std::make_unique<HeadlessParts>();
        HeadlessParts* headless = parts.get();
        CApp app("", std::move(parts));
        g_pApp = &app; // as the program's entry makes it the one application
        ASSERT_EQ(app.StartManager(), 0);
        CEngineMan* engine = app.GetEngineMan();
        ASSERT_NE(engine, nullptr);

        CMeshAsset* car = app.GetAssetMan()->GetMesh(62000);
        ASSERT_TRUE(car && car->GetMesh());
        // The start-up picture covers the whole screen: it goes, so the scene and the test's panel show.
        app.GetSlideOutMan()->DeactivateAll(true);
        CVornMesh* shown = car->GetMesh()->Clone(engine->GetSceneRoot());
        shown->SetPosition(0.0f, 0.0f, 0.0f);
        engine->GetCameraController()->SetPosition(4.0f, 6.0f, 14.0f);
        engine->GetCameraController()->LookAt(0.0f, 0.5f, 0.0f);
        engine->PlaceDefaultLights(false);
        engine->SetupLighting(1);
        EXPECT_TRUE(engine->SetBackgroundImage(28100));
        CCompoundOverlay* panel = engine->CreateCompoundOverlay(28200, 0);
        panel->SetPosition(460, 40);
        panel->SetSlideFraction(1.0f);

        app.GetEventMan()->PostMessage(VORNMSG_SHOW_POINTER);
        headless->window->Push({plat::window::EventKind::MouseMove, 320, 300});
        app.Run(false);
        for (int i = 0; i < 3; ++i)
            app.Update();

        plat::gfx2d::Surface* shownPicture = engine->GetDisplayDevice()->GetPrimarySurface();
        plat::gfx2d::SurfaceView view;
        ASSERT_EQ(shownPicture->Lock(view), plat::gfx2d::Result::Ok);
        const auto image = testsupport::FromRgb565(view.Row16(0), view.pitch, 640, 480);
        shownPicture->Unlock();
        // Every second pixel of every second row keeps the golden small and every element in it.
        testsupport::RgbImage half{320, 240, {}};
        for (int y = 0; y < 480; y += 2)
            for (int x = 0; x < 640; x += 2)
                for (int c = 0; c < 3; ++c)
                    half.rgb.push_back(static_cast<std::uint8_t>(image.At(x, y, c)));
        EXPECT_TRUE(testsupport::MatchesGolden("running_program", half));
        app.StopManager();
        g_pApp = nullptr;
    }
    std::filesystem::current_path(previous);
}

} // namespace
