#include "app/ErrorMan.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace zentrix;

namespace {

std::set<std::string> FilesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(ErrorMan, StartRemovesStaleLogsButKeepsTheInputLogs) {
    testsupport::TempFolder dir;
    for (const char* name : {"app.log", "Cache.log", "IO1.log", "IO4.log", "tex.log", "notes.txt"})
        testsupport::WriteTextFile(dir / name, "old");
    {
        CErrorMan errors(dir.Path());
        // Reports are accepted and go nowhere.
        errors.Log(0, 1, "frame %d at %f", 3, 1.5);
        errors.Print(0, "text");
        errors.WriteText(16, "start-up");
        errors.WriteError(4, "file", 2);
        errors.LogMixerError(18);
        char buffer[16];
        for (int channel : {-1, 0, 11, 20, 21})
            EXPECT_FALSE(errors.ReadLog(channel, buffer, sizeof buffer));
    }
    EXPECT_EQ(FilesIn(dir.Path()), (std::set<std::string>{"IO1.log", "IO4.log", "notes.txt"}));
}

TEST(ErrorMan, MissingLogFilesAreSkippedAndNoneIsWritten) {
    testsupport::TempFolder dir;
    {
        CErrorMan errors(dir.Path());
        errors.Log(2, 0, "nothing");
    }
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

} // namespace
