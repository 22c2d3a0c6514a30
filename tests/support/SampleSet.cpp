#include "support/SampleSet.h"

#include "support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace testsupport {

const std::filesystem::path& GeneratedSampleSet() {
    static TempFolder output;
    static const std::filesystem::path set = [] {
        const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                    output.Native("set") + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("mkdata failed");
        return output.Path() / "set";
    }();
    return set;
}

} // namespace testsupport
