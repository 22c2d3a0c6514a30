// Game paths and search patterns come from data files and typed text: the resolver, the folding and
// the wildcard matcher must take any bytes without crashing, hanging or leaving their rules.
#include "platform/fs/FileSystem.h"
#include "platform/fs/GamePath.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// A small tree to resolve against, made once per run and removed at exit.
struct TempRoot {
    std::string path;
    TempRoot() {
        path = (std::filesystem::temp_directory_path() / "zentrix-fuzz-XXXXXX").string();
        if (!mkdtemp(path.data()))
            std::abort();
        std::filesystem::create_directories(path + "/Data/Sub");
        std::filesystem::create_directories(path + "/data");
        if (std::FILE* f = std::fopen((path + "/Data/Game0001.RFH").c_str(), "wb"))
            std::fclose(f);
    }
    ~TempRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& Root() {
    static const TempRoot root;
    return root.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096)
        return 0;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t split = input.find('\n');
    std::string_view pattern = input.substr(0, split);
    std::string_view name = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    // Matcher: "*" matches everything; a name without wildcards matches itself.
    if (!plat::fs::MatchesWildcard("*", name))
        std::abort();
    if (name.find_first_of("*?") == std::string_view::npos && !plat::fs::MatchesWildcard(name, name))
        std::abort();
    plat::fs::MatchesWildcard(pattern, name);

    // Folding is idempotent and always gives an absolute game form.
    std::string full = plat::fs::FoldFullPath(pattern, "\\base\\dir");
    if (full.empty() || plat::fs::FoldFullPath(full, "\\other") != full)
        std::abort();

    // Resolution inside the small tree only (never wandering the real disk).
    if (pattern.find('\0') == std::string_view::npos && name.find('\0') == std::string_view::npos) {
        std::string game = plat::fs::ToGameForm(Root()) + "\\" + std::string(pattern);
        std::string folded = plat::fs::FoldFullPath(game, "\\");
        if (folded.rfind(plat::fs::ToGameForm(Root()), 0) == 0) {
            plat::fs::Resolved r = plat::fs::Resolve(game);
            if (r.error == plat::fs::Error::kNone && !plat::fs::Exists(game))
                std::abort();
        }
    }
    return 0;
}
