#pragma once

#include <string_view>

namespace zentrix {

/// What the asset manager asks of the application around it: message boxes, the quit request, the
/// video mode, the game mode, the campaign's current node and the world registry's current world.
class IAssetHost {
public:
    virtual ~IAssetHost() = default;
    /// A message box with an exclamation icon and an OK button; the answer is not read.
    virtual void ShowMessage(std::string_view caption, std::string_view text) = 0;
    /// Asks the frame loop to end at its next pump.
    virtual void PostQuit() = 0;
    /// The video mode the game started in (0, 1 or 2).
    virtual int GetVideoMode() const = 0;
    /// The game mode (0 campaign).
    virtual int GetGameMode() const = 0;
    /// The campaign node being played (-1 none).
    virtual int GetCurrentCampaignNode() const = 0;
    /// The world registry's current world (0 workshop, 1 race, ...).
    virtual int GetCurrentWorldId() const = 0;
};

} // namespace zentrix
