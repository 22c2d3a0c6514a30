#include "app/CommandLineParser.h"

void CCommandLineParser::Parse(std::string_view commandLine) {
    if (commandLine.find("/FREEFORM") != std::string_view::npos)
        m_freeForm = true;
    if (commandLine.find("RESTART") != std::string_view::npos)
        m_restart = true;
}
