#include "platform/fs/GamePath.h"

namespace plat::fs {

namespace {

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Greedy match with one backtrack point per "*": linear in practice, never exponential.
bool MatchPlain(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

std::vector<std::string> FoldComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsSeparator(path[i]))
            ++i;
        std::size_t start = i;
        while (i < path.size() && !IsSeparator(path[i]))
            ++i;
        std::string_view part = path.substr(start, i - start);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.emplace_back(part);
    }
    return parts;
}

std::string FoldFullPath(std::string_view path, std::string_view currentDir) {
    std::string prefix;
    std::string whole;
    if (HasDriveLetter(path)) {
        prefix = std::string(path.substr(0, 2)) + "\\";
        whole = std::string(path.substr(2));
    } else if (!path.empty() && IsSeparator(path[0])) {
        prefix = "\\";
        whole = std::string(path);
    } else {
        prefix = "\\";
        whole = std::string(currentDir) + "\\" + std::string(path);
    }
    std::string out = prefix;
    for (const std::string& part : FoldComponents(whole)) {
        if (out.size() > prefix.size())
            out += '\\';
        out += part;
    }
    if (!path.empty() && IsSeparator(path.back()) && out.back() != '\\')
        out += '\\';
    return out;
}

std::string ToGameForm(std::string_view nativePath) {
    std::string out(nativePath);
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    if (MatchPlain(pattern, name))
        return true;
    // A final ".*" stands for "any extension, or none": "save.*" matches "save" as well.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*")
        return MatchPlain(pattern.substr(0, pattern.size() - 2), name);
    return false;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

} // namespace plat::fs
