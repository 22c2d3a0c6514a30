#include "platform/fs/FileSystem.h"

#include "platform/fs/GamePath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace plat::fs {

namespace {

// Bytes a write may still put on disk before the injected failure strikes; none = no failure.
std::optional<std::size_t> g_writeBudget;

Error ErrorFromErrno(int err) {
    switch (err) {
    case ENOENT:
        return Error::kNotFound;
    case ENOTDIR:
        return Error::kPathNotFound;
    default:
        return Error::kOther;
    }
}

std::string Join(const std::string& folder, const std::string& name) {
    return (folder == "/" ? folder : folder + "/") + name;
}

// The name in `folder` equal to `part` ignoring case; the first in byte order when several are.
std::optional<std::string> FindIgnoringCase(const std::string& folder, const std::string& part) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (EqualsIgnoringCase(name, part) && (!best || name < *best))
            best = std::string(name);
    }
    closedir(dir);
    return best;
}

std::string ParentOf(const std::string& native) {
    std::size_t slash = native.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : native.substr(0, slash);
}

// Writes every byte or fails; honours the injected failure.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t chunk = bytes.size() - done;
        if (g_writeBudget) {
            if (*g_writeBudget == 0) {
                errno = ENOSPC;
                return false;
            }
            chunk = std::min(chunk, *g_writeBudget);
        }
        ssize_t n = write(fd, bytes.data() + done, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (g_writeBudget)
            *g_writeBudget -= static_cast<std::size_t>(n);
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::int32_t ClampTime(time_t t) {
    if (t > INT32_MAX)
        return INT32_MAX;
    if (t < INT32_MIN)
        return INT32_MIN;
    return static_cast<std::int32_t>(t);
}

// Opens a path for writing as the game names it; kNone and the descriptor, or the error.
Error OpenForWrite(std::string_view path, int flags, mode_t mode, int& fd, std::string& native) {
    Resolved r = Resolve(path);
    if (r.error != Error::kNone && r.error != Error::kNotFound)
        return r.error;
    native = r.native;
    fd = open(native.c_str(), flags | O_CLOEXEC, mode);
    return fd < 0 ? ErrorFromErrno(errno) : Error::kNone;
}

} // namespace

Resolved Resolve(std::string_view path) {
    if (path.empty() || HasDriveLetter(path))
        return {"", Error::kPathNotFound};
    std::vector<std::string> parts = FoldComponents(FullPath(path));
    std::string native = "/";
    Error error = Error::kNone;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        std::string exact = Join(native, parts[i]);
        if (error != Error::kNone) {
            native = exact; // below a missing component every name keeps its spelling
            continue;
        }
        struct stat st {};
        if (lstat(exact.c_str(), &st) == 0) {
            native = exact;
        } else if (errno != ENOENT) {
            native = exact;
            error = ErrorFromErrno(errno) == Error::kPathNotFound ? Error::kPathNotFound : Error::kOther;
            continue;
        } else if (std::optional<std::string> match = FindIgnoringCase(native, parts[i])) {
            native = Join(native, *match);
        } else {
            native = exact;
            error = last ? Error::kNotFound : Error::kPathNotFound;
            continue;
        }
        if (!last && (stat(native.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
            error = Error::kPathNotFound;
    }
    return {native, error};
}

SizeResult FileSize(std::string_view path) {
    Resolved r = Resolve(path);
    if (r.error != Error::kNone)
        return {0, r.error};
    struct stat st {};
    if (stat(r.native.c_str(), &st) != 0)
        return {0, ErrorFromErrno(errno)};
    if (!S_ISREG(st.st_mode))
        return {0, Error::kOther};
    return {static_cast<std::uint64_t>(st.st_size), Error::kNone};
}

ReadResult ReadWholeFile(std::string_view path) {
    ReadResult result;
    Resolved r = Resolve(path);
    if (r.error != Error::kNone) {
        result.error = r.error;
        return result;
    }
    // Non-blocking so that a named pipe cannot stall the game; it is refused below anyway.
    int fd = open(r.native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        result.error = ErrorFromErrno(errno);
        return result;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        result.error = Error::kOther;
    } else if (static_cast<std::uint64_t>(st.st_size) >= (std::uint64_t{1} << 32)) {
        result.error = Error::kTooLarge;
    } else {
        result.bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t done = 0;
        while (done < result.bytes.size()) {
            ssize_t n = read(fd, result.bytes.data() + done, result.bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        if (done != result.bytes.size()) {
            result.bytes.clear();
            result.error = Error::kOther;
        }
    }
    close(fd);
    return result;
}

Error WriteWholeFile(std::string_view path, std::span<const std::uint8_t> bytes) {
    int fd = -1;
    std::string native;
    Error error = OpenForWrite(path, O_WRONLY | O_CREAT | O_TRUNC, 0666, fd, native);
    if (error != Error::kNone)
        return error == Error::kNotFound ? Error::kPathNotFound : error;
    bool ok = WriteAll(fd, bytes);
    ok = close(fd) == 0 && ok;
    return ok ? Error::kNone : Error::kOther;
}

Error ReplaceFile(std::string_view path, std::span<const std::uint8_t> bytes) {
    Resolved r = Resolve(path);
    if (r.error == Error::kPathNotFound)
        errno = ENOENT;
    if (r.error != Error::kNone && r.error != Error::kNotFound)
        return r.error;
    const std::string folder = ParentOf(r.native);
    const std::string base = r.native.substr(r.native.find_last_of('/') + 1);

    // A name of our own in the same folder, so the rename stays on one file system.
    std::string temp;
    int fd = -1;
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = Join(folder,
                    "." + base + "." + std::to_string(getpid()) + "." + std::to_string(++counter) + ".tmp");
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return ErrorFromErrno(errno) == Error::kNotFound ? Error::kPathNotFound : Error::kOther;
    }
    if (fd < 0) {
        errno = EEXIST;
        return Error::kOther;
    }

    struct stat old {};
    if (stat(r.native.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        fchmod(fd, old.st_mode & 07777); // the new content keeps the old file's permissions

    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), r.native.c_str()) == 0;
    if (!ok) {
        const int why = errno; // the failed step's reason outlives the clean-up
        unlink(temp.c_str());
        errno = why;
        return Error::kOther;
    }
    // Make the rename itself durable; the content is already safe, so a failure here is not reported.
    int dirFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return Error::kNone;
}

MovedAside MoveAside(std::string_view path, std::string_view suffix) {
    MovedAside result;
    const Resolved r = Resolve(path);
    if (r.error != Error::kNone) {
        result.error = r.error;
        result.why = "it is not there";
        return result;
    }
    for (int n = 1; n <= 100; ++n) {
        std::string aside = r.native + std::string(suffix);
        if (n > 1)
            aside += "." + std::to_string(n);
        struct stat st {};
        if (lstat(aside.c_str(), &st) == 0)
            continue;
        if (errno != ENOENT || rename(r.native.c_str(), aside.c_str()) != 0) {
            result.error = ErrorFromErrno(errno) == Error::kNotFound ? Error::kNotFound : Error::kOther;
            result.why = std::strerror(errno);
            return result;
        }
        result.native = std::move(aside);
        return result;
    }
    result.error = Error::kOther;
    result.why = "every name it could be kept under is taken";
    return result;
}

ListResult ListFolder(std::string_view folder, std::string_view pattern) {
    ListResult result;
    Resolved r = Resolve(folder.empty() ? std::string_view(".") : folder);
    DIR* dir = r.error == Error::kNone ? opendir(r.native.c_str()) : nullptr;
    if (!dir) {
        result.error = Error::kPathNotFound;
        return result;
    }
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !MatchesWildcard(pattern, name))
            continue;
        struct stat own {};
        if (fstatat(dirFd, entry->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // vanished while we looked
        FolderEntry item;
        item.name = std::string(name);
        item.isFolder = S_ISDIR(own.st_mode);
        struct stat target = own;
        if (S_ISLNK(own.st_mode) &&
            (fstatat(dirFd, entry->d_name, &target, 0) != 0 || S_ISDIR(target.st_mode)))
            target = own; // a link reports what it points at only when that is a file
        item.size = item.isFolder ? 0 : static_cast<std::uint64_t>(target.st_size);
        item.modified = ClampTime(target.st_mtime);
        result.entries.push_back(std::move(item));
    }
    closedir(dir);
    std::sort(result.entries.begin(), result.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    if (result.entries.empty())
        result.error = Error::kNotFound;
    return result;
}

ListResult ListMatching(std::string_view searchPath) {
    std::size_t sep = searchPath.find_last_of("\\/");
    if (sep == std::string_view::npos)
        return ListFolder("", searchPath);
    return ListFolder(searchPath.substr(0, sep + 1), searchPath.substr(sep + 1));
}

bool Exists(std::string_view path) {
    return Resolve(path).error == Error::kNone;
}

bool IsFolder(std::string_view path) {
    Resolved r = Resolve(path);
    struct stat st {};
    return r.error == Error::kNone && stat(r.native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(std::string_view path) {
    Resolved r = Resolve(path);
    return r.error == Error::kNotFound && mkdir(r.native.c_str(), 0777) == 0;
}

bool DeleteFile(std::string_view path) {
    Resolved r = Resolve(path);
    struct stat st {};
    return r.error == Error::kNone && lstat(r.native.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
           unlink(r.native.c_str()) == 0;
}

bool CopyFile(std::string_view from, std::string_view to) {
    ReadResult source = ReadWholeFile(from);
    if (source.error != Error::kNone)
        return false;
    struct stat st {};
    mode_t mode = stat(Resolve(from).native.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0666;
    int fd = -1;
    std::string native;
    if (OpenForWrite(to, O_WRONLY | O_CREAT | O_TRUNC, 0666, fd, native) != Error::kNone)
        return false;
    bool ok = WriteAll(fd, source.bytes);
    ok = fchmod(fd, mode | S_IWUSR) == 0 && ok; // the copy is never read-only
    ok = close(fd) == 0 && ok;
    return ok;
}

bool ClearReadOnly(std::string_view path) {
    Resolved r = Resolve(path);
    struct stat st {};
    return r.error == Error::kNone && stat(r.native.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           chmod(r.native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return "\\";
        buffer.resize(buffer.size() * 2);
    }
    return ToGameForm(buffer.data());
}

bool SetCurrentDirectory(std::string_view path) {
    Resolved r = Resolve(path);
    return r.error == Error::kNone && chdir(r.native.c_str()) == 0;
}

std::string FullPath(std::string_view path) {
    return FoldFullPath(path, CurrentDirectory());
}

ScopedWriteFailure::ScopedWriteFailure(std::size_t afterBytes) {
    g_writeBudget = afterBytes;
}

ScopedWriteFailure::~ScopedWriteFailure() {
    g_writeBudget.reset();
}

} // namespace plat::fs
