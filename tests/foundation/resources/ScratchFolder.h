#pragma once

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

/// A temporary folder with what the resource tests need on top: binary files in new sub-folders, and
/// modification times set to the second.
class ScratchFolder {
public:
    /// The folder in the game's form with a trailing "\".
    std::string Game() const { return m_folder.Game() + "\\"; }
    /// A native path inside the folder ("a/b.txt").
    std::filesystem::path Native(const std::string& relative) const { return m_folder.Native(relative); }

    /// Writes bytes to a file inside the folder (folders made as needed), with the modification time
    /// stamp (seconds since 1970) when given.
    void Write(const std::string& relative, const std::vector<std::uint8_t>& bytes,
               std::int64_t stamp = -1) const {
        auto path = Native(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (stamp >= 0)
            SetStamp(relative, stamp);
    }
    void Write(const std::string& relative, const std::string& text, std::int64_t stamp = -1) const {
        Write(relative, std::vector<std::uint8_t>(text.begin(), text.end()), stamp);
    }
    /// Sets a file's modification time.
    void SetStamp(const std::string& relative, std::int64_t stamp) const {
        timespec times[2] = {{static_cast<time_t>(stamp), 0}, {static_cast<time_t>(stamp), 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, Native(relative).c_str(), times, 0), 0);
    }
    /// A file's bytes; empty when it is missing.
    std::vector<std::uint8_t> Read(const std::string& relative) const {
        std::ifstream in(Native(relative), std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

private:
    testsupport::TempFolder m_folder;
};
