#pragma once

#include <cstddef>
#include <filesystem>

namespace zentrix {

/// The game's log and error-report service. Its reports are accepted and go nowhere; what it does do is
/// clear away the log files of earlier runs, and refuse reads from the log channels.
class CErrorMan {
public:
    /// Number of log channels.
    static constexpr int kChannelCount = 21;
    /// The channels the game writes to, named by their files (GetLogFileName).
    static constexpr int kEngineLog = 1;     ///< "3dman.log"
    static constexpr int kFileAccessLog = 4; ///< "fileaccess.log"
    static constexpr int kStartUpLog = 16;   ///< "StartUp.log"
    static constexpr int kSoundLog = 18;     ///< "Sound.log"

    /// Deletes the stale log files in `startFolder` (the folder the game was started in), except the
    /// four input logs.
    explicit CErrorMan(const std::filesystem::path& startFolder = ".");
    virtual ~CErrorMan();
    CErrorMan(const CErrorMan&) = delete;
    CErrorMan& operator=(const CErrorMan&) = delete;

    /// The file name of log channel `channel`, or null for an unknown channel.
    static const char* GetLogFileName(int channel);

    /// Reads from a log channel; no channel is ever open, so it always fails.
    bool ReadLog(int channel, void* buffer, std::size_t byteCount);
    /// A log line; accepted and not written.
    void Log(int level, int category, const char* format, ...);
    /// Text for a channel; accepted and not written.
    void Print(int channel, const char* text);
    /// Text for a channel; accepted and not written.
    void WriteText(int channel, const char* text);
    /// An error text with its code for a channel; accepted and not written.
    void WriteError(int channel, const char* text, long errorCode);
    /// The sound mixer's last error; accepted and not written.
    void LogMixerError(int category);

private:
    void CloseAll();

    int m_handles[kChannelCount];
};

} // namespace zentrix
