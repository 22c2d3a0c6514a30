#pragma once

namespace zentrix {

class CEngineMan;
class CEventMan;
class CGameStateMan;

/// What the screens take from the one application object: each is null (and each call does nothing)
/// while the application or that manager is missing.
CEngineMan* ScreenEngine();
CEventMan* ScreenEvents();
CGameStateMan* ScreenStates();

/// Shows picture asset `id` behind the 3D view (-1: none). A picture that cannot be had leaves the
/// screen without one.
void SetScreenBackground(int id);
/// Posts application message `type` with no parameters.
void PostScreenMessage(int type);
/// Moves the game to `state`.
void SetScreenState(int state);
/// The game mode of the game-state manager; -1 without one.
int ScreenGameMode();
/// Plays interface sound `soundId` the way the panels play theirs (through the application's parts).
void PlayScreenSound(int soundId);

} // namespace zentrix
