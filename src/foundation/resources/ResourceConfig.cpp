#include "foundation/resources/ResourceConfig.h"

#include "foundation/resources/AsciiCase.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>

namespace zentrix {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

/// The next token from pos, cut to the token limit with the rest of it skipped; nullopt at the end.
std::optional<std::string> NextToken(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    if (pos == text.size())
        return std::nullopt;
    const std::size_t start = pos;
    while (pos < text.size() && !IsSpace(text[pos]))
        ++pos;
    return std::string(text.substr(start, std::min(pos - start, CResourceConfig::kMaxTokenLength)));
}

} // namespace

std::vector<std::pair<std::string, std::string>> CResourceConfig::ParseText(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t pos = 0;
    while (auto name = NextToken(text, pos)) {
        auto value = NextToken(text, pos);
        pairs.emplace_back(*name, value ? *value : *name);
    }
    return pairs;
}

CResourceConfig::CResourceConfig(const std::string& path) {
    auto read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone)
        return;
    auto pairs =
        ParseText(std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
    m_pairs.assign(std::make_move_iterator(pairs.rbegin()), std::make_move_iterator(pairs.rend()));
}

CResourceConfig::~CResourceConfig() = default;

CResourceLibrary* CResourceConfig::OpenLibrary(const std::string& name, const char* key, bool writable) {
    for (auto& node : m_libraries) {
        const bool sameKey = key == nullptr ? !node.key.has_value() : (node.key && *node.key == key);
        if (node.name == name && sameKey)
            return node.library.get();
    }
    auto pair = std::find_if(m_pairs.begin(), m_pairs.end(), [&](const auto& p) { return p.first == name; });
    if (pair == m_pairs.end())
        return nullptr;
    auto library = std::make_unique<CResourceLibrary>();
    library->Open(pair->second, writable, false);
    SOpenLibrary node{name, key ? std::optional<std::string>(key) : std::nullopt, std::move(library)};
    m_libraries.insert(m_libraries.begin(), std::move(node));
    return m_libraries.front().library.get();
}

void CResourceConfig::CloseLibrary(CResourceLibrary* library) {
    auto node = std::find_if(m_libraries.begin(), m_libraries.end(),
                             [&](const SOpenLibrary& n) { return n.library.get() == library; });
    if (node == m_libraries.end())
        return;
    node->library->CloseDataParts();
    m_libraries.erase(node);
}

const char* CResourceConfig::GetValue(std::string_view name) const {
    for (const auto& [pairName, value] : m_pairs)
        if (AsciiCase::Equal(pairName, name))
            return value.c_str();
    return nullptr;
}

} // namespace zentrix
