#include "RecordedControls.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

std::string ControlsPath(const std::string& name) {
    return std::string(ZENTRIX_SOURCE_DIR) + "/tests/golden/" + name + "_controls.txt";
}

} // namespace

bool RecordingControlsAsked() {
    const char* record = std::getenv("ZENTRIX_RECORD_DRIVE");
    return record && std::string(record) == "1";
}

std::vector<zentrix::CDriverControls> ReadControls(const std::string& name) {
    std::vector<zentrix::CDriverControls> frames;
    std::ifstream file(ControlsPath(name));
    std::string text;
    while (std::getline(file, text)) {
        if (text.empty() || text[0] == '#')
            continue;
        std::istringstream words(text);
        int b0 = 0, b1 = 0;
        zentrix::CDriverControls c;
        if (!(words >> b0 >> b1 >> c.steering >> c.axis1 >> c.axis2))
            break;
        c.button1 = static_cast<std::uint8_t>(b0);
        c.button2 = static_cast<std::uint8_t>(b1);
        frames.push_back(c);
    }
    return frames;
}

void WriteControls(const std::string& name, const std::vector<zentrix::CDriverControls>& frames) {
    std::ofstream file(ControlsPath(name));
    file << "# One frame of 40 ms a line: button 0, button 1, steering, throttle, brake (-127 released)\n";
    for (const zentrix::CDriverControls& c : frames)
        file << int{c.button1} << ' ' << int{c.button2} << ' ' << c.steering << ' ' << c.axis1 << ' '
             << c.axis2 << '\n';
}

std::vector<zentrix::CDriverControls>
ReadOrRecordControls(const std::string& name,
                     const std::function<std::vector<zentrix::CDriverControls>()>& record) {
    if (RecordingControlsAsked())
        WriteControls(name, record());
    return ReadControls(name);
}

} // namespace testsupport
