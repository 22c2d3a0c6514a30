#include "foundation/resources/JovConfig.h"

#include "foundation/base/Messages.h"
#include "foundation/resources/AsciiCase.h"
#include "platform/fs/FileSystem.h"
#include "platform/system/HostInfo.h"

#include <algorithm>
#include <cstring>

namespace zentrix {

namespace {

/// Position just past the folder part of a game path.
std::size_t NameStart(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? 0 : slash + 1;
}

/// The path with its extension (from the last dot of its file name) replaced by extension.
std::string WithExtension(const std::string& path, const std::string& extension) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t stem = dot == std::string::npos || dot < NameStart(path) ? path.size() : dot;
    return path.substr(0, stem) + extension;
}

} // namespace

CJovConfig::CJovConfig(const char* dataFile) {
    if (dataFile != nullptr && std::strlen(dataFile) < kPathCapacity)
        m_dataFile = dataFile;
}

CJovConfig::~CJovConfig() = default;

void CJovConfig::Reset() {
    Clear();
    m_table.reset();
    m_users.reset();
}

void CJovConfig::Clear() {
    m_currentDirectory = kLocal;
    m_dataFile.clear();
    m_localDirectory.clear();
    m_errorCallback = nullptr;
}

bool CJovConfig::Load() {
    return LoadTable(std::make_unique<CResourceTableFile>());
}

bool CJovConfig::LoadTable(std::unique_ptr<CResourceTableFile> table) {
    m_table.reset();
    m_users.reset();
    m_table = std::move(table);
    std::string error;
    if (m_table->Load(m_dataFile, &error))
        return true;
    Report(error);
    return false;
}

bool CJovConfig::EnsureTable() {
    // A table that failed to load stays as an empty one, so the failure is reported once.
    if (!m_table)
        Load();
    return m_table != nullptr && m_table->HasTable();
}

bool CJovConfig::RequireDataFile(const char* operation) {
    if (!m_dataFile.empty())
        return true;
    ReportFailure(operation, "Must set data file name first");
    return false;
}

void CJovConfig::ReportFailure(const char* operation, const char* what) {
    Report(std::string("JovConfig Error: ") + operation + ": " + what);
}

void CJovConfig::Report(const std::string& text) {
    if (m_errorCallback)
        m_errorCallback(text);
    else
        DebugOutput((text + "\n").c_str());
    AppendToLog(text);
}

std::string CJovConfig::GetLogPath() const {
    const std::size_t nameStart = NameStart(m_dataFile);
    const std::string stem = WithExtension(m_dataFile, "").substr(nameStart);
    return m_dataFile.substr(0, nameStart) + stem + "[" + plat::system::ComputerName() + "].log";
}

std::string CJovConfig::GetUserListPath() const {
    return WithExtension(m_dataFile, ".usr");
}

void CJovConfig::AppendToLog(const std::string& text) const {
    if (m_dataFile.empty())
        return;
    const std::string entry =
        plat::system::ProgramFileName() + " - " + plat::system::LocalTimeText() + ": " + text + "\n\n";
    const std::string path = GetLogPath();
    auto read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone && read.error != plat::fs::Error::kNotFound) {
        DebugOutput("JovConfig: couldn't open log\n");
        return;
    }
    std::vector<std::uint8_t>& log = read.bytes;
    if (log.size() > kLogLimit) {
        const std::size_t keep = entry.size() < kLogLimit ? kLogLimit - entry.size() : 0;
        log.erase(log.begin(), log.end() - static_cast<long>(keep));
    }
    log.insert(log.end(), entry.begin(), entry.end());
    if (plat::fs::ReplaceFile(path, log) != plat::fs::Error::kNone)
        DebugOutput("JovConfig: couldn't write log\n");
}

bool CJovConfig::SetDataFile(const char* path) {
    if (path == nullptr || *path == '\0' || std::strlen(path) >= kPathCapacity) {
        ReportFailure("SetDataFile", "string invalid");
        return false;
    }
    m_dataFile = path;
    return Load();
}

bool CJovConfig::GetPath(std::uint32_t id, std::string& out, bool full) {
    out.clear();
    if (id == 0 || id >= CResourceTableFile::kIdCount)
        return false;
    if (!RequireDataFile("GetPath") || !EnsureTable())
        return false;
    const auto record = m_table->GetRecord(id);
    if (!record)
        return false;
    std::string prefix;
    if (full) {
        if (m_currentDirectory == kLocal)
            prefix = m_localDirectory;
        else if (m_currentDirectory != kNone)
            m_table->GetDirectoryField(prefix, m_currentDirectory);
    }
    out = prefix + std::string(record->name);
    return true;
}

bool CJovConfig::GetPath(std::uint32_t id, char* out, std::size_t capacity, bool full) {
    if (out != nullptr && capacity != 0)
        out[0] = '\0';
    if (id == 0 || id >= CResourceTableFile::kIdCount)
        return false;
    if (out == nullptr) {
        ReportFailure("GetPath", "string invalid");
        return false;
    }
    std::string path;
    const bool found = GetPath(id, path, full);
    // A path that does not fit is no path: a cut one would name another file.
    if (!found || path.size() >= capacity)
        return false;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return true;
}

int CJovConfig::GetResID(std::string_view name, bool wholeName, int firstId, int endId) {
    if (name.empty()) {
        ReportFailure("GetResID", "string invalid");
        return -1;
    }
    if (!RequireDataFile("GetResID") || !EnsureTable())
        return -1;
    // A full path under one of the directories is looked up by the part after it. An empty directory is
    // no prefix, and the directory must begin the name.
    std::string_view rest = name;
    std::string directory;
    bool matched = false;
    for (int n : {kWorking, kTest, kRelease}) {
        m_table->GetDirectoryField(directory, n);
        if (!directory.empty() && AsciiCase::StartsWith(name, directory)) {
            rest = name.substr(directory.size());
            matched = true;
            break;
        }
    }
    if (!matched && !m_localDirectory.empty() && AsciiCase::StartsWith(name, m_localDirectory))
        rest = name.substr(m_localDirectory.size());
    return m_table->FindByName(rest, wholeName, firstId, endId);
}

int CJovConfig::GetNumItems() {
    if (!RequireDataFile("GetNumItems") || !EnsureTable())
        return -1;
    return m_table->GetNumRecords();
}

} // namespace zentrix
