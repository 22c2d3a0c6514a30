#pragma once

#include <string_view>

namespace zentrix {

/// Turns the program's command line into the switches the rest of the game asks for.
class CCommandLineParser {
public:
    CCommandLineParser() = default;
    virtual ~CCommandLineParser() = default;

    /// Looks for the switch words anywhere in `commandLine` (letter case counts).
    void Parse(std::string_view commandLine);
    /// Whether "/FREEFORM" was given.
    bool IsFreeForm() const { return m_freeForm; }
    /// Whether "RESTART" was given: this run follows a restart the game asked for.
    bool IsRestart() const { return m_restart; }
    /// Whether a timer, not the frame, drives the world; no switch turns it on.
    bool UseGameTimer() const { return false; }

private:
    bool m_freeForm = false;
    bool m_restart = false;
};

} // namespace zentrix
