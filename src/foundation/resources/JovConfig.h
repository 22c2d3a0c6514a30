#pragma once

#include "foundation/resources/JovUserList.h"
#include "foundation/resources/ResourceTableFile.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zentrix {

/// The resource table as a service: where the file of a resource id lies, and which id a file has. Its
/// errors go to an error callback (or the debugger output) and to a rolling log beside the table.
class CJovConfig {
public:
    /// Directory numbers: four kept in the table, the local one kept here, and none.
    enum EDirectory { kWorking = 0, kTest = 1, kRelease = 2, kArchive = 3, kLocal = 4, kNone = 5 };
    /// Longest path kept for the data file and the local directory, NUL included.
    static constexpr std::size_t kPathCapacity = 260;
    /// The log keeps at most this many of its newest bytes.
    static constexpr std::size_t kLogLimit = 100000;

    using ErrorCallback = std::function<void(const std::string& text)>;

    /// A library for the table file at dataFile (none when null); the table is loaded on first need.
    explicit CJovConfig(const char* dataFile = nullptr);
    virtual ~CJovConfig();
    CJovConfig(const CJovConfig&) = delete;
    CJovConfig& operator=(const CJovConfig&) = delete;

    /// Every field to its default: local directory current, no data file, no callback, no table or users.
    virtual void Reset();
    /// Reset without touching the table and the user list.
    virtual void Clear();
    /// Replaces the table by a fresh load of the data file; false (reported) when it fails.
    virtual bool Load();

    /// Takes path as the table file and loads it; "string invalid" for an empty or over-long path.
    bool SetDataFile(const char* path);
    /// The path of id's file in the current directory (with the directory's prefix when full) into out;
    /// false with out empty for an id outside 1-65535 or without a record (no message), or when the path
    /// does not fit capacity (NUL included).
    bool GetPath(std::uint32_t id, char* out, std::size_t capacity, bool full);
    /// GetPath into a string.
    bool GetPath(std::uint32_t id, std::string& out, bool full);
    /// The id of the file called name in [firstId, endId): a full path under the working, test, release or
    /// local directory is taken relative to it; -1 when none.
    int GetResID(std::string_view name, bool wholeName, int firstId = 0, int endId = 65536);
    /// The table's record count; -1 when it cannot be loaded.
    int GetNumItems();

    /// Where errors go instead of the debugger output (they reach the log either way).
    void SetErrorCallback(ErrorCallback callback) { m_errorCallback = std::move(callback); }
    /// The data file's path; empty when not set.
    const std::string& GetDataFile() const { return m_dataFile; }
    /// The local directory (directory 4).
    const std::string& GetLocalDirectory() const { return m_localDirectory; }
    /// The log file beside the table: "<folder><base name>[<computer>].log".
    std::string GetLogPath() const;
    /// The user list beside the table: its path with the extension ".usr".
    std::string GetUserListPath() const;

protected:
    /// Loads the data file into table and keeps it (also when the load fails, as an empty table).
    bool LoadTable(std::unique_ptr<CResourceTableFile> table);
    /// Loads the table when it is not loaded; false when it could not be loaded.
    bool EnsureTable();
    /// Checks that a data file is set, reporting operation otherwise.
    bool RequireDataFile(const char* operation);
    /// "JovConfig Error: <operation>: <what>" to the reporter.
    void ReportFailure(const char* operation, const char* what);
    /// Hands text to the callback (or the debugger output) and appends it to the log.
    void Report(const std::string& text);
    /// Appends one entry to the log, keeping its newest kLogLimit bytes.
    void AppendToLog(const std::string& text) const;

    std::string m_dataFile;
    std::unique_ptr<CResourceTableFile> m_table;
    std::string m_localDirectory;
    ErrorCallback m_errorCallback;
    int m_currentDirectory = kLocal;
    std::unique_ptr<CJovUserList> m_users;
};

} // namespace zentrix
