#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace plat::settings {

/// Replaces `file` with `data` through a temporary file in the same folder and a rename, so the old
/// file stays whole until the new one is complete. `beforeRename`, when given, runs once the temporary
/// file is written; returning false abandons the replace there (tests use it to cut a save short).
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view data,
                           const std::function<bool()>& beforeRename = {});

} // namespace plat::settings
