#include "foundation/resources/JovConfigEditor.h"

#include "foundation/resources/AsciiCase.h"
#include "platform/system/HostInfo.h"

#include <cstring>

namespace zentrix {

namespace {

/// The path to store for a directory: the mapped share in place of a network drive letter, else the path
/// as given; with a trailing "\" either way.
std::string NormalisedDirectory(const std::string& path) {
    std::string result = path;
    if (path.size() >= 2 && path[1] == ':') {
        if (auto remote = plat::system::MappedDriveRemoteName(AsciiCase::Lower(path[0]))) {
            // The folder part, with a last level that does not end in "\" taken as a folder too.
            std::string directory = path.substr(2);
            const std::size_t nameStart = directory.find_last_of("\\/") + 1;
            std::string name = directory.substr(nameStart);
            directory.resize(nameStart);
            if (!name.empty())
                directory += name.substr(0, name.find_last_of('.')) + "\\";
            const bool joined = (!remote->empty() && remote->back() == '\\') ||
                                (!directory.empty() && directory.front() == '\\');
            result = *remote + (joined ? "" : "\\") + directory;
        }
    }
    if (result.empty() || result.back() != '\\')
        result += '\\';
    return result;
}

} // namespace

bool CJovConfigEditor::Load() {
    return LoadTable(std::make_unique<CResourceTableWriter>());
}

bool CJovConfigEditor::SetDirectoryPath(int n, const char* path) {
    if (!RequireDataFile("SetDirectoryPath"))
        return false;
    if (n < 0 || n >= kNone) {
        ReportFailure("SetDirectoryPath", "invalid directory no.");
        return false;
    }
    if (path == nullptr || *path == '\0') {
        ReportFailure("SetDirectoryPath", "string invalid");
        return false;
    }
    if (!EnsureTable())
        return false;
    const std::string directory = NormalisedDirectory(path);
    if (directory.size() >= kPathCapacity) {
        ReportFailure("SetDirectoryPath", "string invalid");
        return false;
    }
    if (n == kLocal) {
        m_localDirectory = directory;
    } else if (!m_table->SetDirectoryField(n, directory)) {
        ReportFailure("SetDirectoryPath", "string invalid");
        return false;
    }
    const bool saved = Save();
    m_table.reset();
    return saved;
}

bool CJovConfigEditor::Save() {
    if (!RequireDataFile("Save") || !EnsureTable())
        return false;
    const int user = GetLocalUserID();
    std::string error;
    // This class loads every table as a writer.
    auto* writer = dynamic_cast<CResourceTableWriter*>(m_table.get());
    if (writer != nullptr && writer->Write(m_dataFile, static_cast<std::uint32_t>(user), &error))
        return true;
    Report(writer != nullptr ? error : "JovConfig Error: Save: table cannot be written");
    return false;
}

int CJovConfigEditor::GetLocalUserID() {
    if (!RequireDataFile("GetLocalUserID"))
        return -1;
    m_users = std::make_unique<CJovUserList>(GetUserListPath());
    m_users->Load();
    const std::string name = plat::system::ComputerName();
    int id = m_users->Find(name);
    if (id < 0) {
        id = m_users->Add(name);
        m_users->Save();
    }
    return id;
}

} // namespace zentrix
