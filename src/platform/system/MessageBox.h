#pragma once

#include <cstdio>
#include <string_view>

namespace plat::system {

/// The buttons a message box offers.
enum class Buttons { Ok, YesNo };

/// Answers of a message box, numbered as the game compares them.
enum Answer : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

/// Shows a warning message box and waits for the player's answer; caption and text also go to standard
/// error. Without a display the default button (OK, or Yes) answers.
int ShowMessageBox(std::string_view caption, std::string_view text, Buttons buttons);

/// The console form of a message box: writes caption and text to `out` and gives the default answer.
int AnswerOnConsole(std::FILE* out, std::string_view caption, std::string_view text, Buttons buttons);

} // namespace plat::system
