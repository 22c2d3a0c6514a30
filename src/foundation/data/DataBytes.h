#pragma once

#include "foundation/resources/LittleEndian.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace zentrix {

/// The signed and floating-point fields of the data blocks (dictionary, format table, data files), on top
/// of the little-endian integers of the resource files.
namespace DataBytes {

using LittleEndian::ReadU32;
using LittleEndian::WriteU32;

/// The signed 16-bit value at p.
inline std::int16_t ReadI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(LittleEndian::ReadU16(p));
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
inline void WriteF32(std::uint8_t* p, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteU32(p, bits);
}

/// Appends the low 16 bits of v.
inline void Append16(std::vector<std::uint8_t>& out, std::int32_t v) {
    out.resize(out.size() + 2);
    LittleEndian::WriteU16(out.data() + out.size() - 2, static_cast<std::uint16_t>(v));
}

/// Appends v.
inline void Append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    LittleEndian::AppendU32(out, v);
}

} // namespace DataBytes

} // namespace zentrix
