#include "platform/fs/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace plat::fs {

namespace {

// A text-mode stream reads through this: CR LF arrives as LF, every other byte as it stands.
struct TextCookie {
    std::FILE* raw;
};

ssize_t TextRead(void* cookie, char* buffer, size_t size) {
    std::FILE* raw = static_cast<TextCookie*>(cookie)->raw;
    size_t n = 0;
    while (n < size) {
        int c = std::getc(raw);
        if (c == EOF)
            break;
        if (c == '\r') {
            int next = std::getc(raw);
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                std::ungetc(next, raw);
        }
        buffer[n++] = static_cast<char>(c);
    }
    if (n == 0 && std::ferror(raw))
        return -1;
    return static_cast<ssize_t>(n);
}

ssize_t TextWrite(void* cookie, const char* buffer, size_t size) {
    std::FILE* raw = static_cast<TextCookie*>(cookie)->raw;
    size_t n = std::fwrite(buffer, 1, size, raw);
    if (std::fflush(raw) != 0 && n == 0)
        return -1;
    return static_cast<ssize_t>(n);
}

int TextSeek(void* cookie, off64_t* position, int whence) {
    std::FILE* raw = static_cast<TextCookie*>(cookie)->raw;
    if (fseeko(raw, *position, whence) != 0)
        return -1;
    *position = ftello(raw);
    return 0;
}

int TextClose(void* cookie) {
    auto* text = static_cast<TextCookie*>(cookie);
    int result = std::fclose(text->raw);
    delete text;
    return result;
}

void SetError(Error* out, Error value) {
    if (out)
        *out = value;
}

} // namespace

std::FILE* OpenStream(std::string_view path, std::string_view mode, Error* error) {
    SetError(error, Error::kNone);
    if (mode.empty() || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) {
        SetError(error, Error::kOther);
        return nullptr;
    }
    const bool update = mode.find('+') != std::string_view::npos;
    const bool binary = mode.find('b') != std::string_view::npos;
    const bool reading = mode[0] == 'r';

    Resolved r = Resolve(path);
    if (r.error != Error::kNone && (reading || r.error != Error::kNotFound)) {
        SetError(error, r.error);
        return nullptr;
    }
    std::string cmode(1, mode[0]);
    if (update)
        cmode += '+';
    std::FILE* raw = std::fopen(r.native.c_str(), cmode.c_str());
    if (!raw) {
        SetError(error, errno == ENOENT    ? Error::kNotFound
                        : errno == ENOTDIR ? Error::kPathNotFound
                                           : Error::kOther);
        return nullptr;
    }
    struct stat st {};
    if (fstat(fileno(raw), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(raw); // a folder is not a file, as the game's platform saw it
        SetError(error, Error::kOther);
        return nullptr;
    }
    if (binary || !(reading || update))
        return raw;

    auto* cookie = new TextCookie{raw};
    cookie_io_functions_t io{TextRead, TextWrite, TextSeek, TextClose};
    std::FILE* text = fopencookie(cookie, cmode.c_str(), io);
    if (!text) {
        std::fclose(raw);
        delete cookie;
        SetError(error, Error::kOther);
    }
    return text;
}

} // namespace plat::fs
