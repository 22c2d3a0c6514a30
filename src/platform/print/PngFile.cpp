#include "platform/print/PngFile.h"

#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <system_error>

namespace plat::print {

namespace {

// libpng reports errors by a long jump back into the writer; the jump skips no destructors because
// everything it leaves is plain C state, released after the jump.
bool WriteRows(std::FILE* file, const RgbPicture& picture, int dotsPerInch) {
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
    // PNG keeps the resolution in pixels per metre; without it a print system guesses its own.
    const auto perMetre = static_cast<png_uint_32>(std::lround(dotsPerInch / 0.0254));
    png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
        png_write_row(png, const_cast<png_bytep>(picture.At(0, y)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool WritePng(const std::filesystem::path& path, const RgbPicture& picture, int dotsPerInch) {
    // Far above any printer's, and the number of pixels per metre still fits PNG's 31 bits.
    constexpr int kMaxDotsPerInch = 1000000;
    if (!picture.IsValid() || dotsPerInch < 1 || dotsPerInch > kMaxDotsPerInch)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = WriteRows(file, picture, dotsPerInch);
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return true;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}

} // namespace plat::print
