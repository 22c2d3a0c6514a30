#include "foundation/assets/FileSaver.h"
#include "platform/fs/FileSystem.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testsupport::TempFolder;

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

bool Save(CFileSaver& saver, const std::string& name, int slot, const std::string& text) {
    return saver.SaveFile(name, slot, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

/// The slots as the asset manager sets them, under a temporary working directory.
struct FileSaver : ::testing::Test {
    TempFolder temp;
    CFileSaver saver;
    void SetUp() override {
        const std::string work = temp.Game() + "\\";
        saver.SetSlot(work, CFileSaver::kWorking);
        saver.SetSlot(work + "CampaignTracks", CFileSaver::kCampaignTracks);
        saver.SetSlot(work + "GameTracks", CFileSaver::kGameTracks);
        saver.SetSlot(work + "GameTracks\\Images", CFileSaver::kGameImages);
        saver.SetSlot(work + "SavedTracks", CFileSaver::kSavedTracks);
        saver.SetSlot(work + "SavedTracks\\Images", CFileSaver::kSavedImages);
        saver.SetSlot("a:\\", CFileSaver::kFloppy);
    }
};

TEST_F(FileSaver, SavesIntoMissingFoldersAndReadsBack) {
    ASSERT_TRUE(Save(saver, "Track1.trk", CFileSaver::kSavedImages, "picture"));
    EXPECT_EQ(temp.Read("SavedTracks/Images/Track1.trk"), "picture");
    EXPECT_EQ(saver.GetFullPath(CFileSaver::kSavedTracks, "x.trk"), temp.Game() + "\\SavedTracks\\x.trk");

    ASSERT_TRUE(Save(saver, "Track1.trk", CFileSaver::kSavedTracks, "first"));
    ASSERT_TRUE(Save(saver, "Track1.trk", CFileSaver::kSavedTracks, "second"));
    std::vector<std::uint8_t> out{1, 2};
    ASSERT_TRUE(saver.LoadFile(CFileSaver::kSavedTracks, "TRACK1.TRK", out));
    EXPECT_EQ(out, Bytes("second"));
    EXPECT_FALSE(saver.LoadFile(CFileSaver::kSavedTracks, "Missing.trk", out));
    EXPECT_TRUE(out.empty());

    ASSERT_TRUE(saver.DeleteFile(CFileSaver::kSavedTracks, "Track1.trk"));
    EXPECT_FALSE(saver.DeleteFile(CFileSaver::kSavedTracks, "Track1.trk"));
    EXPECT_FALSE(Save(saver, "x.trk", CFileSaver::kSlotCount, "x"));
}

TEST_F(FileSaver, FailedSaveKeepsThePreviousFile) {
    ASSERT_TRUE(Save(saver, "AutoSaved.trk", CFileSaver::kWorking, "old track"));
    {
        plat::fs::ScopedWriteFailure diskFull(3);
        EXPECT_FALSE(Save(saver, "AutoSaved.trk", CFileSaver::kWorking, "new track, longer"));
    }
    EXPECT_EQ(temp.Read("AutoSaved.trk"), "old track");

    // A folder that cannot be written to.
    temp.MakeFolder("GameTracks");
    ASSERT_TRUE(Save(saver, "Game.trk", CFileSaver::kGameTracks, "kept"));
    std::filesystem::permissions(temp / "GameTracks", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    if (::access(temp.Native("GameTracks").c_str(), W_OK) != 0) // root writes anyway
        EXPECT_FALSE(Save(saver, "Game.trk", CFileSaver::kGameTracks, "lost"));
    EXPECT_EQ(temp.Read("GameTracks/Game.trk"), "kept");
}

TEST_F(FileSaver, CopyOverwritesAndLeavesTargetWritable) {
    ASSERT_TRUE(Save(saver, "Source.trk", CFileSaver::kCampaignTracks, "campaign"));
    ASSERT_TRUE(Save(saver, "Target.trk", CFileSaver::kSavedTracks, "older"));
    namespace fs = std::filesystem;
    const auto readOnly = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(temp / "CampaignTracks/Source.trk", readOnly, fs::perm_options::remove);
    fs::permissions(temp / "SavedTracks/Target.trk", readOnly, fs::perm_options::remove);

    ASSERT_TRUE(
        saver.CopyFile(CFileSaver::kCampaignTracks, "Source.trk", CFileSaver::kSavedTracks, "Target.trk"));
    EXPECT_EQ(temp.Read("SavedTracks/Target.trk"), "campaign");
    EXPECT_NE(fs::status(temp / "SavedTracks/Target.trk").permissions() & fs::perms::owner_write,
              fs::perms::none);
    EXPECT_FALSE(
        saver.CopyFile(CFileSaver::kCampaignTracks, "None.trk", CFileSaver::kSavedTracks, "Target.trk"));

    {
        plat::fs::ScopedWriteFailure diskFull(2);
        EXPECT_FALSE(
            saver.CopyFile(CFileSaver::kCampaignTracks, "Source.trk", CFileSaver::kWorking, "New.trk"));
    }
    EXPECT_EQ(temp.Read("New.trk"), "<missing>");
}

TEST_F(FileSaver, ScanListsMatchesOnly) {
    ASSERT_TRUE(Save(saver, "b.trk", CFileSaver::kGameTracks, "1"));
    ASSERT_TRUE(Save(saver, "a.TRK", CFileSaver::kGameTracks, "2"));
    ASSERT_TRUE(Save(saver, "notes.txt", CFileSaver::kGameTracks, "3"));

    std::vector<std::string> names{"kept"};
    ASSERT_TRUE(saver.ScanDirectory(names, CFileSaver::kGameTracks, "*.trk"));
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "a.TRK", "b.trk"}));
    names.clear();
    ASSERT_TRUE(saver.ScanDirectory(names, CFileSaver::kGameTracks));
    EXPECT_EQ(names.size(), 3u);

    names.clear();
    EXPECT_FALSE(saver.ScanDirectory(names, CFileSaver::kGameTracks, "*.bmp"));
    EXPECT_FALSE(saver.ScanDirectory(names, CFileSaver::kCampaignTracks)); // folder missing
    EXPECT_TRUE(names.empty());
}

TEST_F(FileSaver, DriveOfASlot) {
    int error = -1;
    EXPECT_TRUE(saver.FileExists(CFileSaver::kSavedTracks, &error));
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(saver.FileExists(CFileSaver::kFloppy, &error));
    EXPECT_NE(error, 0);
    EXPECT_FALSE(CFileSaver().FileExists(CFileSaver::kWorking));
}

TEST_F(FileSaver, NamesThatLeaveTheirFolderAreRefused) {
    ASSERT_TRUE(Save(saver, "Inside.trk", CFileSaver::kSavedTracks, "inside"));
    ASSERT_TRUE(Save(saver, "Outside.trk", CFileSaver::kWorking, "outside"));
    const char* refused[] = {"",        "..",      "..\\Outside.trk", "Images\\x.trk", "Images/x.trk",
                             "c:x.trk", "a..b.trk"};
    for (const char* name : refused) {
        SCOPED_TRACE(name);
        std::vector<std::uint8_t> out;
        std::vector<std::string> names;
        EXPECT_FALSE(Save(saver, name, CFileSaver::kSavedTracks, "x"));
        EXPECT_FALSE(saver.LoadFile(CFileSaver::kSavedTracks, name, out));
        EXPECT_FALSE(saver.DeleteFile(CFileSaver::kSavedTracks, name));
        EXPECT_FALSE(saver.CopyFile(CFileSaver::kSavedTracks, "Inside.trk", CFileSaver::kSavedTracks, name));
        EXPECT_FALSE(saver.CopyFile(CFileSaver::kSavedTracks, name, CFileSaver::kSavedTracks, "Inside.trk"));
        if (*name)
            EXPECT_FALSE(saver.ScanDirectory(names, CFileSaver::kSavedTracks, name));
    }
    EXPECT_EQ(temp.Read("Outside.trk"), "outside");
    EXPECT_EQ(temp.Read("SavedTracks/Inside.trk"), "inside");
    EXPECT_EQ(temp.List("SavedTracks"), "Inside.trk"); // nothing written beside it, no Images folder
    EXPECT_EQ(temp.List(), "Outside.trk SavedTracks");
}

} // namespace
