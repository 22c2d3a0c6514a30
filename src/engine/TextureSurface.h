#pragma once

#include "engine/TextureFormat.h"

#include <cstdint>
#include <vector>

namespace zentrix {

class CDisplayDevice;
class CTexture;

/// Device compression capabilities (bits of CDisplayDevice::GetCompressionCaps).
enum CompressionCaps : std::uint32_t { kDxt1 = 1, kDxt2 = 2, kDxt3 = 4, kDxt4 = 8, kDxt5 = 16 };

/// The layout of `records` closest to an engine format: exact first, else the smallest shortfall, else
/// the smallest difference; alpha is required for alpha formats, translucent (as many alpha bits as the
/// widest colour) and keyed (1 bit) textures. No records, an unknown format or no match end the program.
const TextureFormatRecord& GetBestTextureFormat(const std::vector<TextureFormatRecord>& records,
                                                std::uint32_t format, bool keyed, bool translucent);
/// The same over the device's layouts.
const TextureFormatRecord& GetBestTextureFormat(const CDisplayDevice& device, std::uint32_t format,
                                                bool keyed, bool translucent);
/// The layout for a texture, from its format and its keyed and translucent flags.
const TextureFormatRecord& PickTextureFormat(const CDisplayDevice& device, const CTexture& texture);

/// True when the texture's pixels can be copied into the layout as they stand.
bool IsStraightCopy(const TextureFormatRecord& record, const CTexture& texture);
/// Converts the texture's pixels into a locked surface of the layout (rows `pitch` bytes apart). Keyed
/// pixels take the average colour of their non-keyed neighbours with alpha 0; translucent textures of a
/// format without alpha take alpha from their colour (or their alpha level).
void FillTextureSurface(const TextureFormatRecord& record, std::uint8_t* bits, int pitch,
                        const CTexture& texture);
/// The compression a texture gets on a device with these capabilities: kDxt1 for opaque formats, kDxt5
/// for alpha formats, or 0 (never for translucent or dynamic textures or sides not a multiple of 4).
std::uint32_t ChooseTextureCompression(std::uint32_t deviceCaps, const CTexture& texture);

/// Makes the device surface of a texture (listing the texture on the device); nothing when it has one.
void CreateTextureSurface(CDisplayDevice& device, CTexture& texture);
/// Releases a texture's surfaces, takes it off the device's list and unbinds every stage.
void ReleaseTextureSurfaces(CDisplayDevice& device, CTexture& texture);
/// Releases every listed texture's surfaces, empties the list and unbinds every stage.
void ReleaseAllTextureSurfaces(CDisplayDevice& device);
/// Binds a texture (or none) to a stage: addressing clamps for flag 0x100, else wraps; with
/// `setAlphaTest`, the alpha test goes on for keyed textures and off otherwise.
void BindTexture(CDisplayDevice& device, CTexture* texture, int stage, bool setAlphaTest = true);
/// A colour in the device's 16-bit screen format (5-5-5 or 5-6-5).
std::uint32_t PackColour16(const CDisplayDevice& device, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue);

} // namespace zentrix
