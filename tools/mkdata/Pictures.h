#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Pictures with readable words on them: screens, panels and buttons, drawn with the sample font.
namespace mkdata {

/// One thing drawn on a picture, in the order given: "fill <x> <y> <w> <h> <r,g,b>" or
/// "text <x> <y> <w> <h> <r,g,b> <cell height> <left|centre> <text>". `args` holds the words from the
/// kind on, `text` the text of a text step, `line` the manifest line it came from.
struct DrawStep {
    std::vector<std::string> args;
    std::string text;
    int line = 0;
};

/// Most rows of text a step may have.
inline constexpr int kMaxTextHeight = 200;

/// A 24-bit TGA of one colour with the steps drawn on it in order: args = width, height, "r,g,b". Text
/// lies on one line, centred vertically in its rectangle and cut at its edges. False with the reason
/// (naming the step's line) in error.
bool MakePicture(const std::vector<std::string>& args, const std::vector<DrawStep>& steps,
                 std::vector<std::uint8_t>& out, std::string& error);

/// A 24-bit TGA of a button: the face colour inside a 2-pixel border of the ink colour, the label
/// centred in the ink: args = width, height, face "r,g,b", ink "r,g,b", cell height.
bool MakeButton(const std::vector<std::string>& args, const std::string& label,
                std::vector<std::uint8_t>& out, std::string& error);

} // namespace mkdata
