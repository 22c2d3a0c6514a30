#pragma once

#include "foundation/resources/ResourceLibrary.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zentrix {

/// "resource.cfg": whitespace-separated name/value pairs naming the resource libraries ("[Library]" to
/// "[Library7]", each a base path) and the folder of loose resources ("[ResourcePath]"). Keeps the libraries
/// it opened.
class CResourceConfig {
public:
    /// The longest token; the rest of a longer one is skipped.
    static constexpr std::size_t kMaxTokenLength = 399;

    /// Reads the configuration file (game form); a missing file leaves no pairs.
    explicit CResourceConfig(const std::string& path = "resource.cfg");
    ~CResourceConfig();
    CResourceConfig(const CResourceConfig&) = delete;
    CResourceConfig& operator=(const CResourceConfig&) = delete;

    /// The pairs of a configuration text in file order; an odd last token is its own value.
    static std::vector<std::pair<std::string, std::string>> ParseText(std::string_view text);

    /// The library opened under name and key (case-sensitive; no key equals no key), else opens the
    /// library at the value of the newest pair of that name; null when the name is missing.
    CResourceLibrary* OpenLibrary(const std::string& name, const char* key = nullptr, bool writable = false);
    /// Closes and destroys a library this configuration opened; nothing happens for any other.
    void CloseLibrary(CResourceLibrary* library);
    /// The value of the newest pair whose name equals name ignoring case; null when there is none.
    const char* GetValue(std::string_view name) const;

private:
    struct SOpenLibrary {
        std::string name;
        std::optional<std::string> key;
        std::unique_ptr<CResourceLibrary> library;
    };

    /// Newest pair first, as lookups want them.
    std::vector<std::pair<std::string, std::string>> m_pairs;
    /// Newest first.
    std::vector<SOpenLibrary> m_libraries;
};

} // namespace zentrix
