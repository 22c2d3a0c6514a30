#include "platform/print/PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <system_error>

namespace plat::print {

namespace {

// libpng reports errors by a long jump back into the writer; the jump skips no destructors because
// everything it leaves is plain C state, released after the jump.
bool WriteRows(std::FILE* file, const RgbPicture& picture) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, const_cast<png_bytep>(picture.At(0, y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePng(const std::filesystem::path& path, const RgbPicture& picture) {
    if (!picture.IsValid())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = WriteRows(file, picture);
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return true;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}

} // namespace plat::print
