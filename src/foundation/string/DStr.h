#pragma once

#include <string>

/// The game's string class. The game allocates from the ordinary heap, so its string is the standard
/// string with the standard allocator: texts handed out as std::string and as CDStr are the same object.
using CDStr = std::string;
