#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Pure text operations on paths in the game's form: "\" or "/" as separator, any letter case,
/// absolute when it begins with a separator. Nothing here touches the file system.
namespace plat::fs {

/// True for the two separators the game's paths may use.
constexpr bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

/// True when the path begins with a drive letter and ":" ("a:\x"); such paths resolve to nothing.
bool HasDriveLetter(std::string_view path);

/// The path's components with "." dropped and ".." folded lexically (never above the start).
/// Empty components from doubled separators are dropped.
std::vector<std::string> FoldComponents(std::string_view path);

/// The absolute game form of a path: relative paths are taken from `currentDir` (itself absolute,
/// game form); "." and ".." folded; separators become "\"; a trailing separator is kept. A path with a
/// drive letter is folded but stays on its drive.
std::string FoldFullPath(std::string_view path, std::string_view currentDir);

/// A native Linux path ("/home/u/x") in the game's form ("\home\u\x").
std::string ToGameForm(std::string_view nativePath);

/// Windows wildcard match, ignoring ASCII letter case: "*" matches any run, "?" exactly one character,
/// and a final ".*" also matches the end of the name ("*.*" matches every name, "save.*" matches "save").
bool MatchesWildcard(std::string_view pattern, std::string_view name);

/// ASCII case-insensitive equality, as the game's file names compare.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace plat::fs
