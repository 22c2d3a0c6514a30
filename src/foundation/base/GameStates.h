#pragma once

namespace zentrix {

/// Game states: each selects one panel and one world.
enum EGameState : int {
    GAMESTATE_MAIN = 0,
    GAMESTATE_MAIN2 = 1,
    GAMESTATE_OPTIONS = 2,
    GAMESTATE_CONSTRUCT = 3,
    GAMESTATE_CONSTRUCT_LOADSAVE = 4,
    GAMESTATE_CONSTRUCT_NEW = 5,
    GAMESTATE_TRACK_SELECT = 6,
    GAMESTATE_MULTIPLAYER = 7,
    GAMESTATE_MAP = 8,
    GAMESTATE_PRERACE = 9,
    GAMESTATE_DRIVER_INFO = 10,
    GAMESTATE_WORKSHOP = 11,
    GAMESTATE_NONE12 = 12,
    GAMESTATE_QUIT = 13,
    GAMESTATE_NONE14 = 14,
    GAMESTATE_RACE = 15,
    GAMESTATE_RACE_OPTIONS = 16,
    GAMESTATE_RACE_END = 17,
    GAMESTATE_LAP_OF_HONOUR = 18,
    GAMESTATE_MESSAGE_BOX = 19,
    GAMESTATE_VIDEO = 20,
    GAMESTATE_STARTUP = 21,
    GAMESTATE_VIDEO_THEN_MAIN = 22,
    GAMESTATE_NONE = 23,
};

/// What a panel needs of the game-state machine: a switch to another state.
class IGameStateSwitch {
public:
    virtual ~IGameStateSwitch() = default;
    /// Switches to `state`; false when the switch is refused.
    virtual bool SetState(int state) = 0;
};

} // namespace zentrix
