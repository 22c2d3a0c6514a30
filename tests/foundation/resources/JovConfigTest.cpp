#include "ScratchFolder.h"

#include "foundation/resources/JovConfigEditor.h"
#include "foundation/resources/ResourceTableWriter.h"
#include "platform/fs/FileSystem.h"
#include "platform/system/HostInfo.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

/// A table "VORN.rtb" in a scratch folder and an editor on it that records every reported error.
class JovConfigTest : public testing::Test {
protected:
    void SetUp() override {
        CResourceTableWriter table;
        ASSERT_TRUE(table.Create({"x:\\Working\\", "", "\\release\\", "x:\\archive\\"}));
        ASSERT_TRUE(table.AddRecord(100, "meshes\\car.kmb"));
        ASSERT_TRUE(table.AddRecord(200, "Textures\\Sky.tga"));
        ASSERT_TRUE(table.Write(TablePath(), 0, nullptr));
        config.SetErrorCallback([this](const std::string& text) { errors.push_back(text); });
        ASSERT_TRUE(config.SetDataFile(TablePath().c_str()));
    }

    std::string TablePath() const { return scratch.Game() + "VORN.rtb"; }

    plat::system::ScopedComputerName computer{"BUILDBOX"};
    ScratchFolder scratch;
    CJovConfigEditor config;
    std::vector<std::string> errors;
};

TEST_F(JovConfigTest, GetPathAnswersOnlyForRecordsThatFit) {
    ASSERT_TRUE(config.SetDirectoryPath(CJovConfig::kLocal, (scratch.Game() + "Res").c_str()));
    const std::string local = scratch.Game() + "Res\\";
    EXPECT_EQ(config.GetLocalDirectory(), local);
    struct Case {
        const char* name;
        std::uint32_t id;
        std::size_t capacity;
        bool full;
        bool found;
        std::string path;
    };
    const Case cases[] = {
        {"full path", 100, 1024, true, true, local + "meshes\\car.kmb"},
        {"relative path", 200, 1024, false, true, "Textures\\Sky.tga"},
        {"exactly fits", 100, local.size() + 15, true, true, local + "meshes\\car.kmb"},
        {"one short", 100, local.size() + 14, true, false, ""},
        {"id without a record", 150, 1024, true, false, ""},
        {"id 0", 0, 1024, true, false, ""},
        {"id 65536", 65536, 1024, true, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> buffer(c.capacity, 'Q');
        EXPECT_EQ(config.GetPath(c.id, buffer.data(), buffer.size(), c.full), c.found);
        EXPECT_EQ(std::string(buffer.data()), c.path);
    }
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(JovConfigTest, GetResIdTakesFullPathsRelativeToTheirDirectory) {
    ASSERT_TRUE(config.SetDirectoryPath(CJovConfig::kLocal, (scratch.Game() + "Res").c_str()));
    std::string upperLocal = scratch.Game() + "RES\\";
    struct Case {
        const char* name;
        std::string path;
        bool whole;
        int expect;
    };
    const Case cases[] = {
        {"relative", "meshes\\car.kmb", true, 100},
        {"under the working directory", "X:\\WORKING\\Meshes\\Car.kmb", true, 100},
        {"under the release directory", "\\release\\textures\\sky.tga", true, 200},
        {"under the local directory in other case", upperLocal + "textures\\SKY.TGA", true, 200},
        {"directory in the middle is no prefix", "y\\x:\\working\\meshes\\car.kmb", true, -1},
        {"substring of a record", "car.kmb", false, 100},
        {"unknown", "meshes\\bus.kmb", true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(config.GetResID(c.path, c.whole), c.expect);
    }
}

TEST_F(JovConfigTest, SettingADirectoryRewritesTheTableAndRegistersTheComputer) {
    const std::string usr = scratch.Game() + "VORN.usr";
    ASSERT_TRUE(config.SetDirectoryPath(0, "\\new\\work"));
    CResourceTableFile reread;
    ASSERT_TRUE(reread.Load(TablePath(), nullptr));
    std::string field;
    reread.GetDirectoryField(field, 0);
    EXPECT_EQ(field, "\\new\\work\\");
    EXPECT_EQ(reread.GetRecord(100)->name, "meshes\\car.kmb");
    EXPECT_EQ(scratch.Read("VORN.usr"), (Bytes{'B', 'U', 'I', 'L', 'D', 'B', 'O', 'X', 0}));

    EXPECT_EQ(config.GetLocalUserID(), 0);
    {
        plat::system::ScopedComputerName other("pc2");
        EXPECT_EQ(config.GetLocalUserID(), 1);
        EXPECT_EQ(config.GetLocalUserID(), 1);
    }
    EXPECT_EQ(scratch.Read("VORN.usr"), (Bytes{'B', 'U', 'I', 'L', 'D', 'B', 'O', 'X', 0, 'p', 'c', '2', 0}));

    // A last name without its end is still a name, and keeps its place when another is added.
    scratch.Write("VORN.usr", Bytes{'a', 0, 'p', 'c', '9'});
    {
        plat::system::ScopedComputerName other("pc9");
        EXPECT_EQ(config.GetLocalUserID(), 1);
    }
    EXPECT_EQ(config.GetLocalUserID(), 2);
    EXPECT_EQ(scratch.Read("VORN.usr"),
              (Bytes{'a', 0, 'p', 'c', '9', 0, 'B', 'U', 'I', 'L', 'D', 'B', 'O', 'X', 0}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(JovConfigTest, RefusedArgumentsAreReportedWithTheOperation) {
    struct Case {
        const char* name;
        int directory;
        std::string path;
        const char* message;
    };
    const Case cases[] = {
        {"directory 5", 5, "x", "JovConfig Error: SetDirectoryPath: invalid directory no."},
        {"negative directory", -1, "x", "JovConfig Error: SetDirectoryPath: invalid directory no."},
        {"empty path", 4, "", "JovConfig Error: SetDirectoryPath: string invalid"},
        {"259 characters and the added \\", 4, std::string(259, 'p'),
         "JovConfig Error: SetDirectoryPath: string invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        EXPECT_FALSE(config.SetDirectoryPath(c.directory, c.path.c_str()));
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0], c.message);
    }
    EXPECT_TRUE(config.SetDirectoryPath(4, std::string(258, 'p').c_str()));

    CJovConfigEditor unset;
    unset.SetErrorCallback([this](const std::string& text) { errors.push_back(text); });
    errors.clear();
    EXPECT_EQ(unset.GetResID("a", true), -1);
    EXPECT_FALSE(unset.SetDataFile(""));
    EXPECT_EQ(errors, (std::vector<std::string>{"JovConfig Error: GetResID: Must set data file name first",
                                                "JovConfig Error: SetDataFile: string invalid"}));
}

TEST_F(JovConfigTest, ErrorsGoToARollingLogBesideTheTable) {
    const std::string logName = "VORN[BUILDBOX].log";
    EXPECT_EQ(config.GetLogPath(), scratch.Game() + logName);
    scratch.Write(logName, std::string(150000, 'o'));
    CJovConfigEditor missing;
    missing.SetErrorCallback([this](const std::string& text) { errors.push_back(text); });
    const std::string missingTable = scratch.Game() + "VORN2.rtb";
    EXPECT_FALSE(missing.SetDataFile(missingTable.c_str()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "file not found:" + missingTable);
    EXPECT_EQ(scratch.Read("VORN2[BUILDBOX].log").size(),
              plat::system::ProgramFileName().size() + 3 + 25 + 2 + errors[0].size() + 2);

    errors.clear();
    EXPECT_FALSE(config.SetDirectoryPath(7, "x"));
    const Bytes log = scratch.Read(logName);
    ASSERT_EQ(log.size(), CJovConfig::kLogLimit);
    const std::string text(log.begin(), log.end());
    const std::string tail = ": " + errors[0] + "\n\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    const std::size_t entryStart = text.rfind(plat::system::ProgramFileName() + " - ");
    ASSERT_NE(entryStart, std::string::npos);
    EXPECT_EQ(text.find_first_not_of('o'), entryStart);
    EXPECT_EQ(text[entryStart + plat::system::ProgramFileName().size() + 3 + 24], '\n');
}

TEST_F(JovConfigTest, FailedSaveLeavesTheTableIntactAndLookupsWorking) {
    const Bytes before = scratch.Read("VORN.rtb");
    {
        plat::fs::ScopedWriteFailure diskFull(100);
        EXPECT_FALSE(config.SetDirectoryPath(CJovConfig::kLocal, "\\game\\res"));
    }
    EXPECT_EQ(scratch.Read("VORN.rtb"), before);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back(), "WriteFile failure");
    std::string path;
    EXPECT_TRUE(config.GetPath(200, path, true));
    EXPECT_EQ(path, "\\game\\res\\Textures\\Sky.tga");
}

} // namespace
