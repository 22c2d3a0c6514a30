#include "platform/text/TtfFontLibrary.h"

#include "platform/fs/FileSystem.h"
#include "platform/system/DebugOutput.h"
#include "platform/text/TtfFont.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace plat::text {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// A game path in one spelling: any letter case, either separator.
std::string PathKey(std::string_view path) {
    std::string key(path);
    for (char& c : key)
        c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::shared_ptr<const std::vector<std::uint8_t>> ReadGameFile(std::string_view path) {
    fs::ReadResult read = fs::ReadWholeFile(path);
    if (read.error != fs::Error::kNone)
        return nullptr;
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(read.bytes));
}

} // namespace

TtfFontLibrary::TtfFontLibrary(std::string fallbackPath) : m_fallbackPath(std::move(fallbackPath)) {}

bool TtfFontLibrary::AddFontFile(std::string_view path) {
    auto bytes = ReadGameFile(path);
    if (!bytes) {
        system::DebugOutput("text: cannot read font file " + std::string(path));
        return false;
    }
    // Opened once to learn its names (and that it is a font at all).
    auto font = TtfFont::Open(bytes, 12);
    if (!font)
        return false;
    m_added.push_back({fs::Resolve(path).native, PathKey(path), font->FaceName(),
                       font->FaceName() + " " + font->StyleName(), std::move(bytes)});
    return true;
}

bool TtfFontLibrary::RemoveFontFile(std::string_view path) {
    // Found by the file it named when added, or, once that file is gone, by the same path text.
    const std::string native = fs::Resolve(path).native;
    const std::string key = PathKey(path);
    auto it = std::find_if(m_added.rbegin(), m_added.rend(), [&](const AddedFile& file) {
        return file.nativePath == native || file.pathKey == key;
    });
    if (it == m_added.rend())
        return false;
    m_added.erase(std::next(it).base());
    return true;
}

std::unique_ptr<Font> TtfFontLibrary::CreateFont(std::string_view face, int height) {
    for (auto it = m_added.rbegin(); it != m_added.rend(); ++it) {
        if (SameName(face, it->family) || SameName(face, it->fullName)) {
            if (auto font = TtfFont::Open(it->bytes, height))
                return font;
        }
    }
    system::DebugOutput("text: no font \"" + std::string(face) + "\"; using the fallback face");
    return OpenFallback(height);
}

std::unique_ptr<Font> TtfFontLibrary::OpenFont(std::span<const std::uint8_t> bytes, int height) {
    return TtfFont::Open(std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end()),
                         height);
}

std::unique_ptr<Font> TtfFontLibrary::OpenFontFile(std::string_view path, int height) {
    if (auto bytes = ReadGameFile(path))
        return TtfFont::Open(std::move(bytes), height);
    system::DebugOutput("text: font file " + std::string(path) + " is missing; using the fallback face");
    return OpenFallback(height);
}

std::unique_ptr<Font> TtfFontLibrary::OpenFallback(int height) {
    if (!m_fallbackBytes)
        m_fallbackBytes = ReadGameFile(m_fallbackPath);
    if (!m_fallbackBytes) {
        system::DebugOutput("text: the fallback font " + m_fallbackPath + " is missing");
        return nullptr;
    }
    return TtfFont::Open(m_fallbackBytes, height);
}

} // namespace plat::text
