// Raw video files: the header checks, a preload and a stream of every frame the file claims, into a
// destination of fixed size.
#include "frontend/VideoFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/zentrix-fuzz-raw-video-" + std::to_string(getpid()) + ".mvd";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    static std::uint16_t destination[64 * 64];
    for (int mode : {CVideoFile::kPreload, CVideoFile::kStream}) {
        CVideoFile video(0, 0, 0);
        if (!video.Load(mode, path.c_str()))
            continue;
        const int count = video.GetFrameCount();
        for (int i = -1; i <= count && i < 64; ++i)
            video.GetFrame(i, destination, 64, 64, 128, i % 2);
    }
    std::remove(path.c_str());
    return 0;
}
