#pragma once

#include <cstdint>

namespace plat::system {

/// What the query of the installed graphics runtime found: whether its set-up library and its version
/// function exist, the function's result and the version and revision it reported (major in the high
/// 16 bits, minor in the low 16).
struct RuntimeVersion {
    bool libraryFound = false;
    bool functionFound = false;
    int result = 0;
    std::uint32_t version = 0;
    std::uint32_t revision = 0;
};

/// Asks for the graphics runtime's version. The game renders through its own layer, which is always
/// present and always the version the game was made for: 4.07, revision 0.
RuntimeVersion QueryRuntimeVersion();

} // namespace plat::system
