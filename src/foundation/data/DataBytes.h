#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

/// Little-endian fields of the data blocks (dictionary, format table, data files), read and written
/// byte by byte so that neither the host's byte order nor the block's alignment matters.
namespace DataBytes {

/// The signed 16-bit value at p.
inline std::int16_t ReadI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

/// The unsigned 32-bit value at p.
inline std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

/// The signed 32-bit value at p.
inline std::int32_t ReadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(ReadU32(p));
}

/// The IEEE float at p.
inline float ReadF32(const std::uint8_t* p) {
    const std::uint32_t bits = ReadU32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// Stores v at p.
inline void WriteU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

/// Stores v at p.
inline void WriteF32(std::uint8_t* p, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteU32(p, bits);
}

/// Appends the low 16 bits of v.
inline void Append16(std::vector<std::uint8_t>& out, std::int32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

/// Appends v.
inline void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.resize(out.size() + 4);
    WriteU32(out.data() + out.size() - 4, v);
}

} // namespace DataBytes
