#pragma once

namespace zentrix {

struct CRaceSetup;

/// What the game-state machine asks of the rest of the game: the panels, the world registry, the input
/// and music managers, the asset manager's world theme and the campaign.
class IGameStateServices {
public:
    virtual ~IGameStateServices() = default;

    /// Whether the slide-out manager exists; without it no state can be entered.
    virtual bool HasSlideOutMan() const = 0;
    /// Shows panel `slideOutIndex` (-1 puts every panel away).
    virtual void SwitchPanel(int slideOutIndex) = 0;
    /// Gives the video panel video `videoId` to play and state `nextState` to follow it.
    virtual void SetVideo(int videoId, int nextState) = 0;
    /// Makes world `worldId` the current world.
    virtual void SetCurrentWorld(int worldId) = 0;
    /// Lets the construction world take up its auto-saved track again.
    virtual void ResumeAutoSavedTrack() = 0;
    /// Stops and starts the input manager again.
    virtual void RestartIOManager() = 0;
    /// Switches the music off.
    virtual void MusicOff() = 0;
    /// Posts the quit that ends the frame loop.
    virtual void PostQuit() = 0;
    /// The asset manager's current world theme.
    virtual int GetCurrentWorldTheme() const = 0;
    /// Index of the campaign node being played (-1 none).
    virtual int GetCurrentCampaignNode() const = 0;
    /// Copies the race set-up of campaign set-up `index` into `setup`.
    virtual void CopyCampaignSetup(int index, CRaceSetup& setup) = 0;
};

} // namespace zentrix
