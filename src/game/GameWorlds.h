#pragma once

#include <memory>

namespace zentrix {

class CWorldMan;

/// The world manager of each game screen by world id (0..14; 3 has none of its own): the race world,
/// the track editor's world and the screen worlds, which sit in the layers above the world registry.
std::unique_ptr<CWorldMan> MakeGameWorld(int worldId);

} // namespace zentrix
