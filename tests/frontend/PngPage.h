#pragma once

#include "platform/print/Printer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>

namespace printtest {

/// Reads a PNG file written by the printer's file back-end as 8-bit RGB; false when it cannot.
inline bool ReadPng(const std::filesystem::path& path, plat::print::RgbPicture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

/// The resolution written into a PNG file, in pixels per metre across and down; false when it has none
/// or gives it in no unit.
inline bool ReadPixelsPerMetre(const std::filesystem::path& path, png_uint_32& x, png_uint_32& y) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool found = false;
    if (info != nullptr && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_read_info(png, info);
        int unit = PNG_RESOLUTION_UNKNOWN;
        found = png_get_pHYs(png, info, &x, &y, &unit) != 0 && unit == PNG_RESOLUTION_METER;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return found;
}

} // namespace printtest
