#include "support/Tga.h"

#include <fstream>
#include <iterator>

namespace testsupport {

std::vector<std::uint8_t> MakeTgaHeader(int width, int height, int depth) {
    std::vector<std::uint8_t> tga(18, 0);
    tga[2] = 2;
    tga[12] = static_cast<std::uint8_t>(width);
    tga[13] = static_cast<std::uint8_t>(width >> 8);
    tga[14] = static_cast<std::uint8_t>(height);
    tga[15] = static_cast<std::uint8_t>(height >> 8);
    tga[16] = static_cast<std::uint8_t>(depth);
    return tga;
}

std::vector<std::uint8_t> MakeTga24(const Image& image) {
    std::vector<std::uint8_t> tga = MakeTgaHeader(image.width, image.height, 24);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            const Rgb& c = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            tga.insert(tga.end(), {c.b, c.g, c.r});
        }
    return tga;
}

std::vector<std::uint8_t> MakeTga24Rle(const Image& image) {
    std::vector<std::uint8_t> tga = MakeTgaHeader(image.width, image.height, 24);
    tga[2] = 10;
    for (int y = image.height - 1; y >= 0; --y) {
        const Rgb* row = &image.pixels[static_cast<std::size_t>(y * image.width)];
        int x = 0;
        while (x < image.width) {
            int run = 1;
            while (x + run < image.width && run < 128 && row[x + run] == row[x])
                ++run;
            if (run > 1) {
                tga.insert(tga.end(),
                           {static_cast<std::uint8_t>(0x80 | (run - 1)), row[x].b, row[x].g, row[x].r});
                x += run;
                continue;
            }
            // Raw pixels up to the next pair of equal ones.
            int raw = 1;
            while (x + raw < image.width && raw < 128 &&
                   (x + raw + 1 >= image.width || row[x + raw] != row[x + raw + 1]))
                ++raw;
            tga.push_back(static_cast<std::uint8_t>(raw - 1));
            for (int i = 0; i < raw; ++i)
                tga.insert(tga.end(), {row[x + i].b, row[x + i].g, row[x + i].r});
            x += raw;
        }
    }
    return tga;
}

bool ReadTga24(const std::string& path, Image& out) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> d((std::istreambuf_iterator<char>(file)),
                                      std::istreambuf_iterator<char>());
    if (d.size() < 18 || d[16] != 24 || (d[2] != 2 && d[2] != 10))
        return false;
    out.width = d[12] | (d[13] << 8);
    out.height = d[14] | (d[15] << 8);
    const std::size_t count = static_cast<std::size_t>(out.width) * out.height;
    std::vector<Rgb> bottomUp;
    std::size_t p = 18 + d[0];
    auto take = [&](Rgb& c) {
        if (p + 3 > d.size())
            return false;
        c = {d[p + 2], d[p + 1], d[p]};
        p += 3;
        return true;
    };
    while (bottomUp.size() < count) {
        Rgb c;
        if (d[2] == 2) {
            if (!take(c))
                return false;
            bottomUp.push_back(c);
            continue;
        }
        if (p >= d.size())
            return false;
        const int header = d[p++];
        const int run = (header & 0x7F) + 1;
        for (int i = 0; i < run; ++i) {
            if ((header & 0x80) == 0 || i == 0)
                if (!take(c))
                    return false;
            bottomUp.push_back(c);
        }
    }
    if (bottomUp.size() != count)
        return false;
    out.pixels.clear();
    for (int y = out.height - 1; y >= 0; --y)
        out.pixels.insert(out.pixels.end(), bottomUp.begin() + static_cast<std::ptrdiff_t>(y) * out.width,
                          bottomUp.begin() + static_cast<std::ptrdiff_t>(y + 1) * out.width);
    return true;
}

} // namespace testsupport
