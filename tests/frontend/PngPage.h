#pragma once

#include "platform/print/Printer.h"

#include <png.h>

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

} // namespace printtest
