#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>

/// The sample set as mkdata writes it, once per program, in a folder of its own (named after `tag`) that
/// goes when the program ends. Benchmarks that use it are compiled with ZENTRIX_BINARY_DIR and
/// ZENTRIX_SOURCE_DIR.
inline std::filesystem::path BenchSampleSet(const char* tag) {
    struct SFolder {
        std::filesystem::path path;
        ~SFolder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const SFolder folder{std::filesystem::temp_directory_path() /
                                (std::string("zentrix-bench-") + tag + "-" + std::to_string(::getpid()))};
    static const bool made = [] {
        const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                    folder.path.string() + "' >/dev/null";
        return std::system(command.c_str()) == 0;
    }();
    if (!made)
        throw std::runtime_error("mkdata failed");
    return folder.path;
}
