#include "frontend/VideoFile.h"

#include "app/App.h"
#include "app/ErrorMan.h"
#include "platform/fs/FileSystem.h"
#include "platform/system/DebugOutput.h"

#include <cstdio>
#include <cstring>

namespace zentrix {

namespace {

constexpr char kMagic[] = "VORN_VIDEO 1"; // followed by a zero byte in the file

std::uint32_t ReadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::int32_t ReadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadU32(p));
}

std::uint16_t ToRgb555(std::uint16_t p) {
    return static_cast<std::uint16_t>(((p >> 1) & 0x7FE0) | (p & 0x1F));
}

} // namespace

CVideoFile::CVideoFile(int frames, int width, int height) {
    ++s_liveCount;
    std::memcpy(m_header.magic, kMagic, sizeof(kMagic));
    m_header.frameCount = frames > 0 ? static_cast<std::uint32_t>(frames) : 0;
    m_header.width = width;
    m_header.height = height;
    m_header.bitsPerPixel = kBitsPerPixel;
    const std::int64_t total = std::int64_t(m_header.frameCount) * GetFrameSize();
    if (frames > 0 && width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
        total <= kMaxPreloadBytes)
        m_buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(total));
}

CVideoFile::~CVideoFile() {
    m_file.Close();
    --s_liveCount;
}

std::int64_t CVideoFile::GetFrameSize() const {
    return std::int64_t(m_header.width) * m_header.height * 2;
}

bool CVideoFile::ParseHeader(const std::uint8_t* bytes, std::int64_t fileLength, SHeader& out) {
    if (bytes == nullptr || fileLength < kHeaderSize || std::memcmp(bytes, kMagic, sizeof(kMagic)) != 0)
        return false;
    SHeader header;
    std::memcpy(header.magic, bytes, kMagicSize);
    header.frameCount = ReadU32(bytes + 20);
    header.width = ReadI32(bytes + 24);
    header.height = ReadI32(bytes + 28);
    header.bitsPerPixel = ReadI32(bytes + 32);
    if (header.bitsPerPixel != kBitsPerPixel || header.width < 1 || header.width > kMaxSide ||
        header.height < 1 || header.height > kMaxSide)
        return false;
    // 64-bit throughout: at most 2^32 frames of 32 MB each.
    const std::int64_t frameSize = std::int64_t(header.width) * header.height * 2;
    if (std::int64_t(header.frameCount) > (fileLength - kHeaderSize) / frameSize)
        return false;
    out = header;
    return true;
}

bool CVideoFile::Fail(const char* why) {
    const std::string text = std::string(why) + " " + m_fileName;
    plat::system::DebugOutput("raw video: " + text);
    if (g_pApp && g_pApp->GetErrorMan())
        g_pApp->GetErrorMan()->WriteText(CErrorMan::kFileAccessLog, text.c_str());
    m_file.Close();
    m_buffer.reset();
    m_header = SHeader();
    return false;
}

bool CVideoFile::Load(int mode, const char* fileName) {
    m_fileName = fileName ? fileName : "";
    m_file.Close();
    m_buffer.reset();
    m_header = SHeader();
    if (fileName == nullptr || !m_file.Open(fileName, "rb"))
        return Fail("CreateFile failure");
    const plat::fs::SizeResult size = plat::fs::FileSize(fileName);
    std::uint8_t bytes[kHeaderSize];
    if (size.error != plat::fs::Error::kNone || m_file.Read(bytes, kHeaderSize) != kHeaderSize)
        return Fail("Error: ReadFile failure");
    if (!ParseHeader(bytes, static_cast<std::int64_t>(size.size), m_header))
        return Fail("Error: not a raw video of 16-bit frames that the file holds");
    switch (mode) {
    case kPreload:
        return InitPreload() || Fail("InitPreload failure");
    case kStream:
        return InitStream() || Fail("InitStream failure");
    default:
        return Fail("Invalid Load Mode");
    }
}

bool CVideoFile::InitPreload() {
    m_mode = kPreload;
    const std::int64_t total = std::int64_t(m_header.frameCount) * GetFrameSize();
    if (total == 0 || total > kMaxPreloadBytes)
        return false;
    m_buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(total));
    const bool read =
        m_file.Read(m_buffer.get(), static_cast<std::size_t>(total)) == static_cast<std::size_t>(total);
    m_file.Close();
    return read;
}

bool CVideoFile::InitStream() {
    m_mode = kStream;
    m_buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(GetFrameSize()));
    return m_file.IsOpen();
}

bool CVideoFile::GetFrame(int index, void* destination, int width, int height, int pitch, int pixelMode) {
    const int frameWidth = m_header.width;
    const int frameHeight = m_header.height;
    if (index < 0 || std::uint32_t(index) >= m_header.frameCount || destination == nullptr || !m_buffer ||
        frameWidth > width || frameHeight > height || pitch < frameWidth * 2)
        return false;
    const std::int64_t frameSize = GetFrameSize();
    const std::uint8_t* source = nullptr;
    if (m_mode == kStream) {
        // A frame that cannot be read is refused rather than shown with the last frame's pixels.
        if (m_file.Seek(static_cast<long>(kHeaderSize + index * frameSize), SEEK_SET) != 0 ||
            m_file.Read(m_buffer.get(), static_cast<std::size_t>(frameSize)) !=
                static_cast<std::size_t>(frameSize))
            return false;
        source = m_buffer.get();
    } else {
        source = m_buffer.get() + index * frameSize;
    }
    auto* out = static_cast<std::uint8_t*>(destination);
    const std::size_t rowBytes = static_cast<std::size_t>(frameWidth) * 2;
    for (int y = 0; y < frameHeight; ++y) {
        const std::uint8_t* in = source + y * rowBytes;
        std::uint8_t* row = out + static_cast<std::ptrdiff_t>(y) * pitch;
        if (pixelMode == kPixelMode565) {
            std::memcpy(row, in, rowBytes);
            continue;
        }
        for (int x = 0; x < frameWidth; ++x) {
            const std::uint16_t p = ToRgb555(static_cast<std::uint16_t>(in[x * 2] | in[x * 2 + 1] << 8));
            row[x * 2] = static_cast<std::uint8_t>(p);
            row[x * 2 + 1] = static_cast<std::uint8_t>(p >> 8);
        }
    }
    return true;
}

} // namespace zentrix
