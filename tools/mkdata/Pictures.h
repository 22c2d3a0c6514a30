#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Pictures with readable words on them: screens, panels and buttons, drawn with the sample font.
namespace mkdata {

/// One thing drawn on a picture, in the order given: "fill <x> <y> <w> <h> <r,g,b>",
/// "text <x> <y> <w> <h> <r,g,b> <cell height> <left|centre> <text>", or a shape cut at the picture's edges:
/// "oval <x> <y> <rx> <ry> <r,g,b> [soft]", "arc <x> <y> <radius> <width> <from> <to> <r,g,b>" (degrees
/// from +x towards +y), "tri <x1> <y1> <x2> <y2> <x3> <y3> <r,g,b>" or "line <x1> <y1> <x2> <y2> <width>
/// <r,g,b>". Colours may carry an alpha. `args` holds the words from the kind on, `text` the text of a
/// text step, `line` the manifest line it came from, `frames` the frames of a video that show it (empty:
/// all).
struct DrawStep {
    std::vector<std::string> args;
    std::string text;
    int line = 0;
    std::string frames;
};

/// Most rows of text a step may have.
inline constexpr int kMaxTextHeight = 200;

/// A TGA of one colour with the steps drawn on it in order: args = width, height, "r,g,b[,a]"; 32 bits
/// when the colour gives an alpha, else 24. A step mixes its colour, alpha included, into each pixel it
/// covers (a soft oval less towards its rim). Text lies on one line, centred vertically in its rectangle
/// and cut at its edges. False with the reason (naming the step's line) in error.
bool MakePicture(const std::vector<std::string>& args, const std::vector<DrawStep>& steps,
                 std::vector<std::uint8_t>& out, std::string& error);

/// A raw video ("VORN_VIDEO 1", 5-6-5 frames) of drawn frames: args = width, height, frames, ground
/// "r,g,b". Each frame is the ground with the steps drawn on it whose frames hold it, and carries its
/// number unseen in its top-left 4 x 4 pixels (`StampFrameNumber`).
bool MakeDrawnVideo(const std::vector<std::string>& args, const std::vector<DrawStep>& steps,
                    std::vector<std::uint8_t>& out, std::string& error);

/// A 24-bit TGA of a button: the face colour inside a 2-pixel border of the ink colour, the label
/// centred in the ink: args = width, height, face "r,g,b", ink "r,g,b", cell height.
bool MakeButton(const std::vector<std::string>& args, const std::string& label,
                std::vector<std::uint8_t>& out, std::string& error);

} // namespace mkdata
