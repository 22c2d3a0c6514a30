#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Files and folders for a game that names them the Windows way. Every path here is in the game's form:
/// "\" (or "/") separators, any letter case, absolute when it begins with a separator, relative to the
/// current directory otherwise. A path with a drive letter ("a:\x") names nothing.
///
/// Resolution: each component is taken by its exact name when that exists, else by a case-insensitive
/// match (the first such name in byte order when there are several). A component that does not exist
/// keeps its spelling, so files and folders are created as the game names them.
namespace plat::fs {

/// What went wrong, in the kinds the game tells apart.
enum class Error {
    kNone,
    kNotFound,     ///< the last component is missing (Windows error 2)
    kPathNotFound, ///< a folder on the way is missing, or the path has a drive letter (Windows error 3)
    kTooLarge,     ///< a file of 4 GB or more
    kOther,        ///< anything else: no permission, a folder where a file was expected, an I/O error
};

/// A game path resolved onto the file system.
struct Resolved {
    std::string native; ///< the Linux path; empty when the path has a drive letter
    Error error;        ///< kNone when the whole path exists, else why it does not
};

/// Resolves a game path to the Linux path it names.
Resolved Resolve(std::string_view path);

/// Size in bytes of an existing file, or the error. A folder is kOther.
struct SizeResult {
    std::uint64_t size = 0;
    Error error = Error::kNone;
};
SizeResult FileSize(std::string_view path);

/// The whole content of a file, or the error (files of 4 GB or more are refused; a short read is kOther).
struct ReadResult {
    std::vector<std::uint8_t> bytes;
    Error error = Error::kNone;
};
ReadResult ReadWholeFile(std::string_view path);

/// Creates (or truncates) the file and writes all bytes. A partial write is kOther.
Error WriteWholeFile(std::string_view path, std::span<const std::uint8_t> bytes);

/// Replaces the file atomically: writes a temporary file in the same folder, flushes it to disk and
/// renames it over the target. On any failure the old file stays as it was and the temporary is removed.
/// errno then tells why.
Error ReplaceFile(std::string_view path, std::span<const std::uint8_t> bytes);

/// One entry of a folder listing.
struct FolderEntry {
    std::string name;          ///< as stored on disk
    bool isFolder = false;     ///< the entry itself is a folder (a link to a folder is not)
    std::uint64_t size = 0;    ///< bytes; 0 for folders
    std::int32_t modified = 0; ///< last modification, seconds since 1970, clamped to 32 bits
};

/// Where MoveAside put a file.
struct MovedAside {
    std::string native; ///< the Linux path it has now; empty when it was not moved
    Error error = Error::kNone;
    std::string why; ///< the system's reason when it was not moved
};

/// Moves a file the game will not use aside, whole, under the first free name of `path` + `suffix`,
/// then `path` + `suffix` + ".2" up to ".100", never over an existing name, so the game can start anew
/// under the old name and the player still finds the old file. kNotFound when there is nothing to move.
MovedAside MoveAside(std::string_view path, std::string_view suffix);

/// The entries of one folder ("" = the current directory) whose names match a Windows wildcard pattern,
/// sorted by the bytes of their names, without "." and "..". Error: kPathNotFound when the folder is missing,
/// kNotFound when nothing matches (the list is then empty).
struct ListResult {
    std::vector<FolderEntry> entries;
    Error error = Error::kNone;
};
ListResult ListFolder(std::string_view folder, std::string_view pattern);

/// ListFolder with folder and pattern in one search path ("Tracks\*.trk"); the pattern is what follows
/// the last separator.
ListResult ListMatching(std::string_view searchPath);

/// True when the path names an existing file or folder.
bool Exists(std::string_view path);

/// True when the path names an existing folder (following links).
bool IsFolder(std::string_view path);

/// Creates one folder; false when it exists already or its parent is missing.
bool CreateFolder(std::string_view path);

/// Deletes a file (never a folder); false when that fails.
bool DeleteFile(std::string_view path);

/// Copies a file over any existing target, then clears a read-only mark on the target (owner write).
bool CopyFile(std::string_view from, std::string_view to);

/// Gives the owner write permission on an existing file (clears a read-only mark); false when it fails.
bool ClearReadOnly(std::string_view path);

/// The current directory in the game's form, without a trailing "\" ("\home\u\game"); the root is "\".
std::string CurrentDirectory();

/// Makes the path the current directory; false when it is not an existing folder.
bool SetCurrentDirectory(std::string_view path);

/// The absolute game form of a path: taken from the current directory when relative, "." and ".."
/// folded, separators made "\"; the file system is not consulted.
std::string FullPath(std::string_view path);

/// Opens a buffered stream with a C open mode ("r", "rb", "w", "wb", "a", "r+", "rt", ...). In text mode
/// (no "b") CR LF reads as LF; writes are written as they stand. The caller closes it with fclose.
/// Null when the file cannot be opened;
/// `error` (optional) receives why.
std::FILE* OpenStream(std::string_view path, std::string_view mode, Error* error = nullptr);

/// Makes the writes of WriteWholeFile, ReplaceFile and CopyFile fail as a full disk would, after the
/// given number of bytes, while the object lives. For tests of what a failed write leaves behind.
class ScopedWriteFailure {
public:
    explicit ScopedWriteFailure(std::size_t afterBytes);
    ~ScopedWriteFailure();
    ScopedWriteFailure(const ScopedWriteFailure&) = delete;
    ScopedWriteFailure& operator=(const ScopedWriteFailure&) = delete;
};

} // namespace plat::fs
