#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Small pictures, tones and tunes made from a few numbers, so the sample set needs no binary sources.
namespace mkdata {

/// Reads a whole word as a number within low..high.
bool Number(const std::string& word, int low, int high, int& out);
/// Reads "r,g,b" or "r,g,b,a", each 0..255; alpha is 255 when left out.
bool Colour(const std::string& word, std::uint8_t (&rgba)[4]);

/// An uncompressed TGA (24 or 32 bits) of width x height in 8-pixel squares of two colours:
/// args = width, height, bits, "r,g,b[,a]", "r,g,b[,a]". False with the reason in error.
bool MakeTga(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// A 24-bit TGA of a mouse pointer: an upward arrow of the colour, outlined in black, its tip at the
/// given pixel, on the magenta that 2D pictures leave out: args = width, height, tip x, tip y, "r,g,b".
bool MakePointer(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// A 24-bit TGA of one colour with a rectangle of another: args = width, height, "r,g,b", then the
/// rectangle's x, y, width and height and its "r,g,b" (a framed window, as the help character's frame).
bool MakeFramed(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// Hides a video frame's number in the frame (5-6-5 pixels, low byte first, top row first, `width` to a
/// row, at least 4 x 4): bit i of the number becomes the lowest green bit of pixel (i % 4, i / 4), so the
/// top-left 4 x 4 pixels keep their colour to the eye and a reader can still tell which frame is on show.
void StampFrameNumber(std::uint8_t* frame, int width, int number);

/// A raw video ("VORN_VIDEO 1", 5-6-5 frames): args = width, height, frames. Each frame shows stripes
/// that move from frame to frame and carries its number (`StampFrameNumber`).
bool MakeRawVideo(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// A WAV file of a sine tone, mono, with short fades: args = frequency in Hz, length in milliseconds,
/// then optionally "rate" and a sampling rate (22050 by default), "bits" and 8 or 16 (16 by default),
/// and "extra" for a chunk of 4 bytes before "fmt ".
bool MakeWav(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// A Standard MIDI File (format 0, 96 ticks a beat, one tempo event and a program change) playing the
/// notes one after the other, a beat each, on channel 1, and drum notes alongside on channel 10:
/// args = beats per minute, optionally "program" and a General MIDI program (0 by default), the note
/// numbers, then optionally "drums" and drum note numbers (repeated to the last note).
bool MakeMidi(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// A SoundFont 2 bank with a preset for each General MIDI program given (bank 0; a looped tone of 1 to 4
/// harmonics by the program's number) and, for "drums", a drum kit (bank 128, preset 0: a short falling
/// thump on every key): args = programs and "drums".
bool MakeSoundFont(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

/// Little-endian binary values in order, each word "<type>:<value>" with type u8, i16, u32, i32 or f32
/// (parameter blocks and tables that the game reads as raw bytes).
bool MakeBinary(const std::vector<std::string>& args, std::vector<std::uint8_t>& out, std::string& error);

} // namespace mkdata
