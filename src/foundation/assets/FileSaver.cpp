#include "foundation/assets/FileSaver.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/GamePath.h"

#include <span>

namespace zentrix {

namespace {

const std::string kNoPath;

/// Windows error numbers the callers of FileExists compare against.
int SystemErrorNumber(plat::fs::Error error) {
    switch (error) {
    case plat::fs::Error::kNone:
        return 0;
    case plat::fs::Error::kNotFound:
        return 2;
    case plat::fs::Error::kPathNotFound:
        return 3;
    default:
        return 5;
    }
}

} // namespace

CFileSaver::CFileSaver() : m_slots(kSlotCount) {}

void CFileSaver::SetSlot(std::string_view path, int slot) {
    if (!InRange(slot))
        return;
    std::string stored(path);
    if (stored.empty() || !plat::fs::IsSeparator(stored.back()))
        stored += '\\';
    m_slots[static_cast<std::size_t>(slot)] = std::move(stored);
}

const std::string& CFileSaver::GetSlot(int slot) const {
    return InRange(slot) ? m_slots[static_cast<std::size_t>(slot)] : kNoPath;
}

std::string CFileSaver::GetFullPath(int slot, std::string_view name) const {
    return GetSlot(slot) + std::string(name);
}

bool CFileSaver::IsPlainName(std::string_view name) {
    return !name.empty() && name.find("..") == std::string_view::npos &&
           name.find_first_of("\\/:") == std::string_view::npos;
}

bool CFileSaver::CreateFolders(std::string_view path) {
    bool all = true;
    for (std::size_t i = 1; i < path.size(); ++i)
        if (plat::fs::IsSeparator(path[i]))
            all = plat::fs::CreateFolder(path.substr(0, i)) && all;
    return all;
}

bool CFileSaver::SaveFile(std::string_view name, int slot, const std::uint8_t* bytes, std::size_t size) {
    if (!ValidSlot(slot) || !IsPlainName(name) || (bytes == nullptr && size != 0))
        return false;
    const std::string path = GetFullPath(slot, name);
    CreateFolders(path); // folders that exist report failure, so the result says nothing
    return plat::fs::ReplaceFile(path, std::span<const std::uint8_t>(bytes, size)) == plat::fs::Error::kNone;
}

bool CFileSaver::LoadFile(int slot, std::string_view name, std::vector<std::uint8_t>& out) const {
    out.clear();
    if (!ValidSlot(slot) || !IsPlainName(name))
        return false;
    plat::fs::ReadResult read = plat::fs::ReadWholeFile(GetFullPath(slot, name));
    if (read.error != plat::fs::Error::kNone)
        return false;
    out = std::move(read.bytes);
    return true;
}

bool CFileSaver::DeleteFile(int slot, std::string_view name) const {
    return ValidSlot(slot) && IsPlainName(name) && plat::fs::DeleteFile(GetFullPath(slot, name));
}

bool CFileSaver::CopyFile(int sourceSlot, std::string_view sourceName, int targetSlot,
                          std::string_view targetName) const {
    if (!ValidSlot(sourceSlot) || !ValidSlot(targetSlot) || !IsPlainName(sourceName) ||
        !IsPlainName(targetName))
        return false;
    plat::fs::ReadResult source = plat::fs::ReadWholeFile(GetFullPath(sourceSlot, sourceName));
    if (source.error != plat::fs::Error::kNone)
        return false;
    const std::string target = GetFullPath(targetSlot, targetName);
    if (plat::fs::ReplaceFile(target, source.bytes) != plat::fs::Error::kNone)
        return false;
    // The replacement keeps the old target's permissions; a copy is never read-only.
    return plat::fs::ClearReadOnly(target);
}

bool CFileSaver::ScanDirectory(std::vector<std::string>& out, int slot, const char* pattern) const {
    const std::string_view wanted = pattern ? std::string_view(pattern) : std::string_view("*.*");
    if (!ValidSlot(slot) || wanted.empty() || wanted.find("..") != std::string_view::npos ||
        wanted.find_first_of("\\/:") != std::string_view::npos)
        return false;
    plat::fs::ListResult list = plat::fs::ListFolder(GetSlot(slot), wanted);
    if (list.error != plat::fs::Error::kNone || list.entries.empty())
        return false;
    for (plat::fs::FolderEntry& entry : list.entries)
        out.push_back(std::move(entry.name));
    return true;
}

bool CFileSaver::FileExists(int slot, int* error) const {
    const std::string& path = GetSlot(slot);
    const std::size_t separator = path.find_first_of("\\/");
    plat::fs::Error result = plat::fs::Error::kPathNotFound;
    if (separator != std::string::npos)
        result = plat::fs::Resolve(std::string_view(path).substr(0, separator + 1)).error;
    if (error)
        *error = SystemErrorNumber(result);
    return result == plat::fs::Error::kNone;
}

} // namespace zentrix
