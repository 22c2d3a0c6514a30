#pragma once

// The engine manager's links to the program, in memory: screen, pointer, messages, pictures and data.

#include "foundation/assets/Bitmap.h"
#include "foundation/base/EventMan.h"
#include "render/EngineServices.h"
#include "render/SurfaceMan.h"

#include <map>
#include <memory>
#include <vector>

using namespace zentrix;

/// Pictures are 640 x 480 at most and made with the engine's surface manager once it exists.
class FakeEngineServices final : public IEngineServices {
public:
    int GetScreenWidth() const override { return 640; }
    int GetScreenHeight() const override { return 480; }
    int GetMouseX() const override { return mouseX; }
    int GetMouseY() const override { return mouseY; }
    CEventMan* GetEventMan() override { return &events; }
    int GetWorldTheme() const override { return theme; }
    float GetFrameFactor() const override { return frameFactor; }
    std::unique_ptr<CBitmap> GetBitmap(int id) override {
        auto it = assets.find(id);
        if (it == assets.end() || !surfaces)
            return nullptr;
        auto surface = surfaces->CreateDDSurface(640, 480, nullptr, true, false);
        surfaces->LoadTGAToSurface(it->second, surface.get());
        return std::make_unique<CBitmap>(std::move(surface));
    }
    bool GetAssetData(int id, std::vector<std::uint8_t>& out) override {
        auto it = assets.find(id);
        if (it == assets.end())
            return false;
        out = it->second;
        return true;
    }
    bool GetInt(int, int, int& out, int) override {
        out = 0;
        return true;
    }

    int mouseX = 0, mouseY = 0, theme = 0;
    float frameFactor = 1.0f;
    CEventMan events;
    CSurfaceMan* surfaces = nullptr;
    std::map<int, std::vector<std::uint8_t>> assets;
};
