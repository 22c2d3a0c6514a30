#include "app/CommandLineParser.h"

namespace zentrix {

void CCommandLineParser::Parse(std::string_view commandLine) {
    if (commandLine.find("/FREEFORM") != std::string_view::npos)
        m_freeForm = true;
    if (commandLine.find("RESTART") != std::string_view::npos)
        m_restart = true;
}

} // namespace zentrix
