#pragma once

#include "foundation/base/DiskFile.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zentrix {

/// A raw video file: a 36-byte header ("VORN_VIDEO 1", frame count, width, height, 16 bits per pixel)
/// followed by the frames, each height rows of width 5-6-5 pixels, top row first. It is either read
/// whole (preload) or kept open and read one frame at a time (stream), and hands single frames out
/// converted to the destination's pixel layout.
class CVideoFile {
public:
    static constexpr int kHeaderSize = 36;
    static constexpr int kMagicSize = 20;
    static constexpr int kBitsPerPixel = 16;
    /// Widths and heights above this are refused.
    static constexpr int kMaxSide = 4096;
    /// A preload larger than this is refused rather than held in memory.
    static constexpr std::int64_t kMaxPreloadBytes = std::int64_t(256) << 20;
    /// The pixel mode of a 5-6-5 destination; any other is written as 5-5-5.
    static constexpr int kPixelMode565 = 1;

    enum LoadMode : int { kPreload = 0, kStream = 1 };

    /// The header image as the file stores it.
    struct SHeader {
        char magic[kMagicSize] = {};
        std::uint32_t frameCount = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t bitsPerPixel = 0;
    };

    /// A video of `frames` frames of `width` x `height` without a file; its frames are held in memory
    /// (all zero) when the three numbers are nonzero and within the limits.
    CVideoFile(int frames, int width, int height);
    virtual ~CVideoFile();
    CVideoFile(const CVideoFile&) = delete;
    CVideoFile& operator=(const CVideoFile&) = delete;

    /// Opens the game path `fileName` and reads its header, then the whole video (kPreload) or keeps the
    /// file open (kStream). False, with the reason logged, a zero header and no file open, when the file
    /// cannot be opened or read, its header is not a 16-bit video of 1..4096 a side, the file is shorter
    /// than its frames, a preload finds no frames, or the mode is neither.
    bool Load(int mode, const char* fileName);

    /// Writes frame `index` into the top-left of a destination of `width` x `height` pixels whose rows lie
    /// `pitch` bytes apart: as it is for pixel mode 1 (5-6-5), converted to 5-5-5 otherwise; the rest
    /// of the destination is untouched. False, writing nothing, for an index outside the video, a missing
    /// destination, a frame wider or higher than the destination, a pitch shorter than its rows, or a
    /// frame that cannot be read.
    bool GetFrame(int index, void* destination, int width, int height, int pitch, int pixelMode);

    int GetFrameCount() const { return static_cast<int>(m_header.frameCount); }
    /// Bytes of one frame: width x height x 2.
    std::int64_t GetFrameSize() const;
    int GetWidth() const { return m_header.width; }
    int GetHeight() const { return m_header.height; }
    const SHeader& GetHeader() const { return m_header; }
    const std::string& GetFileName() const { return m_fileName; }

    /// How many raw video files exist.
    static int LiveCount() { return s_liveCount; }

    /// Reads a header from the first 36 bytes and checks it against a file of `fileLength` bytes; false
    /// when it is not a 16-bit "VORN_VIDEO 1" header of 1..4096 a side whose frames fit the file.
    static bool ParseHeader(const std::uint8_t* bytes, std::int64_t fileLength, SHeader& out);

private:
    bool InitPreload();
    bool InitStream();
    bool Fail(const char* why);

    static inline int s_liveCount = 0;

    SHeader m_header;
    std::unique_ptr<std::uint8_t[]> m_buffer;
    CDiskFile m_file;
    std::string m_fileName;
    int m_mode = kPreload;
};

} // namespace zentrix
