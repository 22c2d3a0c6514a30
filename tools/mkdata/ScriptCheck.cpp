#include "ScriptCheck.h"

#include "events/ScriptParser.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>

using namespace zentrix;

namespace mkdata {

bool MakeScript(const Sources& sources, const Asset& asset, std::vector<std::uint8_t>& out,
                std::string& error) {
    const std::string path = sources.folder + "/" + asset.args[0];
    plat::fs::ReadResult read = plat::fs::ReadWholeFile(path);
    if (read.error != plat::fs::Error::kNone || read.bytes.empty()) {
        error = path + ": cannot be read";
        return false;
    }
    // Script resources are read up to their first NUL.
    if (std::find(read.bytes.begin(), read.bytes.end(), 0) != read.bytes.end()) {
        error = path + ": holds a NUL byte, where the game stops reading";
        return false;
    }
    zentrix::CScriptParser::BuildKeywordTables("");
    zentrix::CScriptParser parser;
    if (!parser.Parse(std::string(read.bytes.begin(), read.bytes.end()))) {
        error = path + ": " + parser.GetError();
        return false;
    }
    out = std::move(read.bytes);
    return true;
}

} // namespace mkdata
