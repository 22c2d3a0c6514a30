#include "foundation/assets/FileSaver.h"
#include "platform/fs/FileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace zentrix;

namespace {

namespace fs = std::filesystem;

/// The slots as the asset manager sets them, under a temporary working directory.
struct FileSaver : ::testing::Test {
    testsupport::TempFolder temp;
    CFileSaver saver;
    void SetUp() override {
        const std::string work = temp.Game() + "\\";
        saver.SetSlot(work, CFileSaver::kWorking);
        saver.SetSlot(work + "CampaignTracks", CFileSaver::kCampaignTracks);
        saver.SetSlot(work + "GameTracks", CFileSaver::kGameTracks);
        saver.SetSlot(work + "SavedTracks", CFileSaver::kSavedTracks);
        saver.SetSlot(work + "SavedTracks\\Images", CFileSaver::kSavedImages);
        saver.SetSlot("a:\\", CFileSaver::kFloppy);
    }
    bool Save(const std::string& name, int slot, const std::string& text) {
        return saver.SaveFile(name, slot, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
};

TEST_F(FileSaver, SavesIntoMissingFoldersReadsBackAndDeletes) {
    ASSERT_TRUE(Save("Track1.trk", CFileSaver::kSavedImages, "picture")); // creates SavedTracks\Images
    EXPECT_EQ(temp.Read("SavedTracks/Images/Track1.trk"), "picture");
    ASSERT_TRUE(Save("Track1.trk", CFileSaver::kSavedTracks, "first"));
    ASSERT_TRUE(Save("Track1.trk", CFileSaver::kSavedTracks, "second"));
    std::vector<std::uint8_t> out{1, 2};
    ASSERT_TRUE(saver.LoadFile(CFileSaver::kSavedTracks, "TRACK1.TRK", out));
    EXPECT_EQ(std::string(out.begin(), out.end()), "second");
    EXPECT_FALSE(saver.LoadFile(CFileSaver::kSavedTracks, "Missing.trk", out));
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(saver.DeleteFile(CFileSaver::kSavedTracks, "Track1.trk"));
    EXPECT_FALSE(saver.DeleteFile(CFileSaver::kSavedTracks, "Track1.trk"));
    EXPECT_FALSE(Save("x.trk", CFileSaver::kGameImages, "x")); // a slot never set
}

TEST_F(FileSaver, FailedSaveOrCopyKeepsThePreviousFile) {
    ASSERT_TRUE(Save("AutoSaved.trk", CFileSaver::kWorking, "old track"));
    ASSERT_TRUE(Save("Game.trk", CFileSaver::kGameTracks, "game track"));
    {
        plat::fs::ScopedWriteFailure diskFull(3);
        EXPECT_FALSE(Save("AutoSaved.trk", CFileSaver::kWorking, "new track, longer"));
        EXPECT_FALSE(
            saver.CopyFile(CFileSaver::kGameTracks, "Game.trk", CFileSaver::kWorking, "AutoSaved.trk"));
    }
    EXPECT_EQ(temp.Read("AutoSaved.trk"), "old track");
    EXPECT_EQ(temp.List(), "AutoSaved.trk GameTracks");

    fs::permissions(temp / "GameTracks", fs::perms::owner_write, fs::perm_options::remove);
    if (::access(temp.Native("GameTracks").c_str(), W_OK) != 0) // root writes anyway
        EXPECT_FALSE(Save("Game.trk", CFileSaver::kGameTracks, "lost"));
    EXPECT_EQ(temp.Read("GameTracks/Game.trk"), "game track");
}

TEST_F(FileSaver, CopyOverwritesAndLeavesTheTargetWritable) {
    ASSERT_TRUE(Save("Source.trk", CFileSaver::kCampaignTracks, "campaign"));
    ASSERT_TRUE(Save("Target.trk", CFileSaver::kSavedTracks, "older"));
    const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(temp / "CampaignTracks/Source.trk", write, fs::perm_options::remove);
    fs::permissions(temp / "SavedTracks/Target.trk", write, fs::perm_options::remove);
    ASSERT_TRUE(
        saver.CopyFile(CFileSaver::kCampaignTracks, "Source.trk", CFileSaver::kSavedTracks, "Target.trk"));
    EXPECT_EQ(temp.Read("SavedTracks/Target.trk"), "campaign");
    EXPECT_NE(fs::status(temp / "SavedTracks/Target.trk").permissions() & fs::perms::owner_write,
              fs::perms::none);
    EXPECT_FALSE(
        saver.CopyFile(CFileSaver::kCampaignTracks, "None.trk", CFileSaver::kSavedTracks, "Target.trk"));
}

TEST_F(FileSaver, ScanAndDrive) {
    for (const char* name : {"b.trk", "a.TRK", "notes.txt"})
        ASSERT_TRUE(Save(name, CFileSaver::kGameTracks, "x"));
    std::vector<std::string> names{"kept"};
    ASSERT_TRUE(saver.ScanDirectory(names, CFileSaver::kGameTracks, "*.trk"));
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "a.TRK", "b.trk"}));
    ASSERT_TRUE(saver.ScanDirectory(names, CFileSaver::kGameTracks));
    EXPECT_EQ(names.size(), 6u);
    names.clear();
    EXPECT_FALSE(saver.ScanDirectory(names, CFileSaver::kGameTracks, "*.bmp"));
    EXPECT_FALSE(saver.ScanDirectory(names, CFileSaver::kCampaignTracks)); // folder missing
    EXPECT_TRUE(names.empty());

    int error = -1;
    EXPECT_TRUE(saver.FileExists(CFileSaver::kSavedTracks, &error));
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(saver.FileExists(CFileSaver::kFloppy, &error));
    EXPECT_NE(error, 0);
}

TEST_F(FileSaver, NamesThatLeaveTheirFolderAreRefused) {
    ASSERT_TRUE(Save("Inside.trk", CFileSaver::kSavedTracks, "inside"));
    ASSERT_TRUE(Save("Outside.trk", CFileSaver::kWorking, "outside"));
    for (const char* name :
         {"", "..", "..\\Outside.trk", "Images\\x.trk", "Images/x.trk", "c:x.trk", "a..b.trk"}) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> out;
        std::vector<std::string> names;
        EXPECT_FALSE(Save(name, CFileSaver::kSavedTracks, "x"));
        EXPECT_FALSE(saver.LoadFile(CFileSaver::kSavedTracks, name, out));
        EXPECT_FALSE(saver.DeleteFile(CFileSaver::kSavedTracks, name));
        EXPECT_FALSE(saver.CopyFile(CFileSaver::kSavedTracks, "Inside.trk", CFileSaver::kSavedTracks, name));
        EXPECT_FALSE(saver.CopyFile(CFileSaver::kSavedTracks, name, CFileSaver::kSavedTracks, "Inside.trk"));
        EXPECT_FALSE(*name && saver.ScanDirectory(names, CFileSaver::kSavedTracks, name));
    }
    EXPECT_EQ(temp.Read("Outside.trk"), "outside");
    EXPECT_EQ(temp.List("SavedTracks"), "Inside.trk");
    EXPECT_EQ(temp.List(), "Outside.trk SavedTracks");
}

} // namespace
