#include "platform/system/MessageBox.h"

#include "platform/system/TerminationSignals.h"

#include <SDL.h>

#include <string>

namespace plat::system {

int AnswerOnConsole(std::FILE* out, std::string_view caption, std::string_view text, Buttons buttons) {
    std::fprintf(out, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
    return buttons == Buttons::YesNo ? kAnswerYes : kAnswerOk;
}

int ShowMessageBox(std::string_view caption, std::string_view text, Buttons buttons) {
    // What a box says also goes to standard error, where it outlasts the box; without a display that is
    // all there is, and the default button answers.
    const int byDefault = AnswerOnConsole(stderr, caption, text, buttons);
    // A headless run (the offscreen driver of the tests) has no display to show a box on.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    bool headless = (driver && SDL_strcmp(driver, "offscreen") == 0) ||
                    (wanted && (SDL_strcmp(wanted, "offscreen") == 0 || SDL_strcmp(wanted, "dummy") == 0));
    if (!headless) {
        std::string captionText(caption);
        std::string messageText(text);
        SDL_MessageBoxButtonData okButton = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerOk, "OK"};
        SDL_MessageBoxButtonData yesNo[2] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kAnswerYes, "Yes"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kAnswerNo, "No"},
        };
        SDL_MessageBoxData data{};
        data.flags = SDL_MESSAGEBOX_WARNING;
        data.title = captionText.c_str();
        data.message = messageText.c_str();
        data.numbuttons = buttons == Buttons::YesNo ? 2 : 1;
        data.buttons = buttons == Buttons::YesNo ? yesNo : &okButton;
        int answer = 0;
        // The box blocks the frame loop: a termination signal while it waits ends the game at once.
        ScopedTerminationAtOnce atOnce;
        if (SDL_ShowMessageBox(&data, &answer) == 0)
            return answer < 0 ? (buttons == Buttons::YesNo ? kAnswerNo : kAnswerOk) : answer;
    }
    return byDefault;
}

} // namespace plat::system
