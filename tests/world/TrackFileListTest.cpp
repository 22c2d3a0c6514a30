// The track file list: the track files of the file service's folders, read by their size, sorted and
// filtered by a mask.

#include "WorldDoubles.h"

#include "foundation/assets/FileSaver.h"
#include "support/TempFolder.h"
#include "world/TrackFileList.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

/// A file of a track image's size whose header says a grid size index and theme and whose route flag
/// is set or not; nothing else is read.
std::string Track(std::uint32_t index, std::uint32_t theme, bool route) {
    std::string bytes(65576, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[20 + static_cast<std::size_t>(i)] = static_cast<char>(index >> (8 * i));
        bytes[24 + static_cast<std::size_t>(i)] = static_cast<char>(theme >> (8 * i));
    }
    bytes[65572] = route ? 1 : 0;
    return bytes;
}

class TrackFileList : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        SWorldLinks links = Links();
        links.unlockStage = [this] { return stage; };
        CWorldMan::SetLinks(links);
        // Slots 1, 4 and 5 in folders of the test's own.
        for (int slot : {1, 4, 5}) {
            const std::string name = "slot" + std::to_string(slot);
            folder.MakeFolder(name);
            assets->GetFileSaver()->SetSlot(folder.Game(name), slot);
        }
    }
    std::string Names(const CTrackFileList& list) {
        std::string out;
        for (int i = 0; i < list.GetCount(); ++i)
            out += (i ? " " : "") + list.GetEntry(i)->name;
        return out;
    }

    testsupport::TempFolder folder;
    int stage = 0;
};

TEST_F(TrackFileList, ListsTrackFilesOfATrackImagesSizeInNameOrder) {
    folder.Write("slot5/b.trk", Track(0, 2, true));
    folder.Write("slot5/A.trk", Track(1, 3, true));
    folder.Write("slot5/AutoSaved.trk", Track(0, 0, true));
    folder.Write("slot5/c.TRK", Track(0, 0, true));
    folder.Write("slot5/notes.txt", Track(0, 0, true));
    folder.Write("slot5/x.trk", std::string(100, '\1'));
    folder.Write("slot5/y.trk", Track(0, 0, true) + "!");
    folder.MakeFolder("slot5/dir.trk");
    CTrackFileList list;
    EXPECT_FALSE(list.IsReady());
    list.Rebuild(5, 7);
    EXPECT_TRUE(list.IsReady());
    ASSERT_EQ(Names(list), "A b");
    const TrackFileEntry& a = *list.GetEntry(0);
    EXPECT_EQ(a.fileName, "A.trk");
    EXPECT_EQ(a.gridSizeIndex, 1);
    EXPECT_EQ(a.theme, 3);
    EXPECT_EQ(a.routeFlag, 1);
    EXPECT_EQ(a.folder, 5u);
    EXPECT_EQ(list.GetEntry(2), nullptr);
    EXPECT_EQ(list.GetEntry(-1), nullptr);

    // A second folder is appended; Find takes the last entry of a name, case aside.
    folder.Write("slot1/a.trk", Track(0, 1, true));
    list.Build(1, 7);
    EXPECT_EQ(Names(list), "A b a");
    EXPECT_EQ(list.Find("a"), 2);
    EXPECT_EQ(list.Find("B"), 1);
    EXPECT_EQ(list.Find("c"), -1);
    list.Clear();
    EXPECT_FALSE(list.IsReady());
    EXPECT_EQ(list.GetCount(), 0);

    // The editor's auto-saved track is read on its own.
    folder.Write("slot1/AutoSaved.trk", Track(1, 2, false));
    TrackFileEntry autoSaved;
    ASSERT_TRUE(CTrackFileList::ReadAutoSaveInfo(autoSaved));
    EXPECT_EQ(autoSaved.name, "AutoSaved");
    EXPECT_EQ(autoSaved.theme, 2);
    TrackFileEntry missing;
    EXPECT_FALSE(CTrackFileList::ReadEntry("x.trk", 5, missing));
    EXPECT_EQ(missing.gridSizeIndex, -1);
    EXPECT_EQ(missing.theme, -1);
}

TEST_F(TrackFileList, TheMaskAdmitsBySizeRouteAndTheme) {
    folder.Write("slot5/j8.trk", Track(0, 0, true));
    folder.Write("slot5/i16.trk", Track(1, 1, true));
    folder.Write("slot5/d8open.trk", Track(0, 2, false));
    folder.Write("slot5/c16open.trk", Track(1, 3, false));
    folder.Write("slot5/i8.trk", Track(0, 1, true));
    folder.Write("slot5/seven.trk", Track(7, 3, true));
    // Offset 20 of any file of the size is taken as its grid size index: only 0 to 7 have a bit.
    folder.Write("slot5/eight.trk", Track(8, 3, true));
    folder.Write("slot5/forty.trk", Track(40, 3, true));
    folder.Write("slot5/minus.trk", Track(0xFFFFFFFFu, 3, true));
    const struct {
        std::uint32_t mask;
        const char* names;
    } cases[] = {
        {3, "i16 i8 j8"},
        {1, "i8 j8"},
        {7, "c16open d8open i16 i8 j8"},
        {0x103, "i16 i8"},
        {0x307, "c16open d8open"},
        {0x84, "seven"},
        {0xFF | 4, "c16open d8open i16 i8 j8 seven"},
        {0x400 | 3, "i16 i8 j8"},
        {0, ""},
    };
    CTrackFileList list;
    for (const auto& c : cases) {
        list.Rebuild(5, c.mask);
        EXPECT_EQ(Names(list), c.names) << std::hex << c.mask;
    }
}

TEST_F(TrackFileList, TheLastCampaignTrackWaitsForItsStage) {
    folder.Write("slot4/camp20.trk", Track(0, 0, true));
    folder.Write("slot4/CAMP21.trk", Track(0, 0, true));
    folder.Write("slot5/camp21.trk", Track(0, 0, true));
    CTrackFileList list;
    for (const int s : {0, 20, 22}) {
        stage = s;
        list.Rebuild(4, 3);
        EXPECT_EQ(Names(list), "camp20") << s;
    }
    stage = 21;
    list.Rebuild(4, 3);
    EXPECT_EQ(Names(list), "camp20 CAMP21");
    // Only the campaign folder's, and only when the list is rebuilt.
    stage = 0;
    list.Rebuild(5, 3);
    EXPECT_EQ(Names(list), "camp21");
    list.Build(4, 3);
    EXPECT_EQ(Names(list), "camp21 camp20 CAMP21");
}

TEST_F(TrackFileList, NamesOfTrackFiles) {
    const struct {
        const char* name;
        bool track;
        const char* base; ///< null: no base name
    } cases[] = {
        {"a.trk", true, "a"},
        {".trk", false, nullptr},
        {"x.TRK", false, nullptr},
        {"AUTOSAVED.TRK", false, nullptr},
        {"autosaved.trk", false, "autosaved"},
        {".", false, nullptr},
        {"..", false, nullptr},
        {"dir\\b.trk", true, "b"},
        {"c:d.trk", true, "d"},
        {"e/.trk", true, ""},
        {"f.trk.bak", false, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTrackFileList::IsTrackFileName(c.name), c.track) << c.name;
        std::string base = "unchanged";
        EXPECT_EQ(CTrackFileList::GetBaseName(c.name, base), c.base != nullptr) << c.name;
        EXPECT_EQ(base, c.base ? c.base : "unchanged") << c.name;
    }
    std::string base;
    EXPECT_TRUE(CTrackFileList::GetBaseName(std::string(258, 'n') + ".trk", base));
    EXPECT_FALSE(CTrackFileList::GetBaseName(std::string(259, 'n') + ".trk", base));

    std::vector<std::string> names = {"b", "B2", "a", "A", "b1", "_"};
    CTrackFileList::SortNames(names);
    // Compared in lower case, as the system's own comparison does: "_" comes before the letters.
    EXPECT_EQ(names, (std::vector<std::string>{"_", "a", "A", "b", "b1", "B2"}));
}

} // namespace
