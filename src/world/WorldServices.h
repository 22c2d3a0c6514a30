#pragma once

#include <string>

namespace zentrix {

class CAssetMan;
class CEngineMan;
class CSlideOut;
class IAnimTextures;
class IRenderAssets;
class IWorldSounds;
struct CRaceSetup;

/// What the worlds and their objects take from the managers below them: the asset and engine
/// managers, what sprites, shadows and animations read of the assets, and the shell's message queue,
/// game states, input recording, panels, command line and logs. `CAppWorldServices` fills it from the
/// application object; tests serve the sample set and record the rest.
class IWorldServices {
public:
    virtual ~IWorldServices() = default;

    /// The asset manager (null while there is none).
    virtual CAssetMan* GetAssetMan() = 0;
    /// The engine manager (null while there is none): scene root, scene, highlight colours.
    virtual CEngineMan* GetEngineMan() = 0;
    /// Record fields and textures for sprite sets and shadows (null: objects get neither).
    virtual IRenderAssets* GetRenderAssets() = 0;
    /// Textures for the animators' texture animations (null: textures do not change).
    virtual IAnimTextures* GetAnimTextures() = 0;
    /// 30 / frames per second of the last frame; animators advance by it.
    virtual float GetFrameFactor() const = 0;

    /// Empties the application message queue and its latest messages.
    virtual void ClearMessages() = 0;
    /// The game state before the current one.
    virtual int GetPreviousGameState() const = 0;
    /// Fills a race set-up from the current game state.
    virtual void BuildRaceSetup(CRaceSetup& setup) = 0;
    /// Switches the recording of the input devices on or off.
    virtual void SetInputRecording(bool on) = 0;
    /// Switches the playback of recorded input on or off.
    virtual void SetInputPlayback(bool on) = 0;
    /// The panel with slide-out index `index`, or null.
    virtual CSlideOut* FindSlideOut(int index) = 0;
    /// Whether a periodic timer drives the world ticks instead of the frame.
    virtual bool UseGameTimer() const = 0;
    /// A line for one of the error manager's log channels.
    virtual void Log(int channel, const std::string& text) = 0;
    /// A trace line of the error manager at `level` (1: figures, 2: the decisions taken on them).
    virtual void Trace(int /*level*/, const std::string& /*text*/) {}

    // Cars.
    /// The sounds of the world's objects (null: they are silent).
    virtual IWorldSounds* GetSounds() { return nullptr; }
    /// The current game state (15: a race); -1 while there is none.
    virtual int GetGameState() const { return -1; }
};

} // namespace zentrix
