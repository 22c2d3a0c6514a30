#include "support/GoldenImage.h"

#include "support/Tga.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

bool WritePpm(const std::string& path, const RgbImage& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.rgb.data()),
              static_cast<std::streamsize>(image.rgb.size()));
    return static_cast<bool>(out);
}

bool ReadPpm(const std::string& path, RgbImage& image) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, maxval = 0;
    if (!(in >> magic >> w >> h >> maxval) || magic != "P6" || maxval != 255 || w <= 0 || h <= 0 ||
        w > 4096 || h > 4096)
        return false;
    in.get(); // the single whitespace before the pixels
    image.width = w;
    image.height = h;
    image.rgb.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 0);
    in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
    return in.gcount() == static_cast<std::streamsize>(image.rgb.size());
}

RgbImage FromRgb565(const std::uint16_t* pixels, int pitchBytes, int width, int height) {
    RgbImage img{width, height, {}};
    img.rgb.reserve(static_cast<std::size_t>(width * height * 3));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(
            reinterpret_cast<const std::uint8_t*>(pixels) + static_cast<std::ptrdiff_t>(y) * pitchBytes);
        for (int x = 0; x < width; ++x) {
            const unsigned p = row[x], r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
            img.rgb.push_back(static_cast<std::uint8_t>(r << 3 | r >> 2));
            img.rgb.push_back(static_cast<std::uint8_t>(g << 2 | g >> 4));
            img.rgb.push_back(static_cast<std::uint8_t>(b << 3 | b >> 2));
        }
    }
    return img;
}

namespace {

RgbImage FromTga(const Image& image) {
    RgbImage rgb{image.width, image.height, {}};
    rgb.rgb.reserve(image.pixels.size() * 3);
    for (const Rgb& p : image.pixels) {
        rgb.rgb.push_back(static_cast<std::uint8_t>(p.r));
        rgb.rgb.push_back(static_cast<std::uint8_t>(p.g));
        rgb.rgb.push_back(static_cast<std::uint8_t>(p.b));
    }
    return rgb;
}

Image ToTga(const RgbImage& rgb) {
    Image image;
    image.width = rgb.width;
    image.height = rgb.height;
    for (std::size_t i = 0; i + 2 < rgb.rgb.size(); i += 3)
        image.pixels.push_back({rgb.rgb[i], rgb.rgb[i + 1], rgb.rgb[i + 2]});
    return image;
}

} // namespace

::testing::AssertionResult MatchesGolden(const std::string& name, const RgbImage& actual) {
    constexpr int tolerance = kGoldenTolerance;
    const std::string base = std::string(ZENTRIX_SOURCE_DIR) + "/tests/golden/" + name;
    const bool keptAsTga = std::filesystem::exists(base + ".tga");
    const std::string goldenPath = base + (keptAsTga ? ".tga" : ".ppm");
    const char* update = std::getenv("ZENTRIX_UPDATE_GOLDENS");
    if (update != nullptr && std::string(update) == "1") {
        bool written = false;
        if (keptAsTga) {
            const std::vector<std::uint8_t> bytes = MakeTga24Rle(ToTga(actual));
            std::ofstream out(goldenPath, std::ios::binary);
            written = static_cast<bool>(out.write(reinterpret_cast<const char*>(bytes.data()),
                                                  static_cast<std::streamsize>(bytes.size())));
        } else {
            written = WritePpm(goldenPath, actual);
        }
        if (!written)
            return ::testing::AssertionFailure() << "cannot write " << goldenPath;
        return ::testing::AssertionSuccess();
    }
    RgbImage golden;
    Image tga;
    const bool read = keptAsTga ? ReadTga24(goldenPath, tga) : ReadPpm(goldenPath, golden);
    if (keptAsTga && read)
        golden = FromTga(tga);
    if (!read)
        return ::testing::AssertionFailure()
               << "no readable golden " << goldenPath << " (ZENTRIX_UPDATE_GOLDENS=1 writes it)";
    if (golden.width != actual.width || golden.height != actual.height)
        return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height
                                             << ", golden " << golden.width << "x" << golden.height;

    struct Miss {
        int x, y, diff;
    };
    std::vector<Miss> misses;
    RgbImage diff{actual.width, actual.height, std::vector<std::uint8_t>(actual.rgb.size(), 0)};
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(actual.At(x, y, c) - golden.At(x, y, c)));
            if (worst > tolerance) {
                misses.push_back({x, y, worst});
                diff.rgb[static_cast<std::size_t>((y * actual.width + x) * 3)] = 255;
            }
        }
    if (misses.empty())
        return ::testing::AssertionSuccess();

    const std::string outDir = std::string(ZENTRIX_BINARY_DIR) + "/golden-failures";
    std::filesystem::create_directories(outDir);
    WritePpm(outDir + "/" + name + ".actual.ppm", actual);
    WritePpm(outDir + "/" + name + ".diff.ppm", diff);
    std::sort(misses.begin(), misses.end(), [](const Miss& a, const Miss& b) { return a.diff > b.diff; });
    std::ostringstream msg;
    msg << name << ": " << misses.size() << " pixels differ by more than " << tolerance << " (worst "
        << misses.front().diff << "); actual and difference written to " << outDir << "\n";
    for (std::size_t i = 0; i < std::min<std::size_t>(misses.size(), 8); ++i) {
        const Miss& m = misses[i];
        msg << "  (" << m.x << "," << m.y << ") actual " << actual.At(m.x, m.y, 0) << ","
            << actual.At(m.x, m.y, 1) << "," << actual.At(m.x, m.y, 2) << " golden " << golden.At(m.x, m.y, 0)
            << "," << golden.At(m.x, m.y, 1) << "," << golden.At(m.x, m.y, 2) << "\n";
    }
    return ::testing::AssertionFailure() << msg.str();
}

} // namespace testsupport
