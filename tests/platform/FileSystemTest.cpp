#include "platform/fs/FileSystem.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using plat::fs::Error;
using testsupport::TempFolder;

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string AsText(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

class FileSystem : public testing::Test {
protected:
    TempFolder dir;
};

TEST_F(FileSystem, ResolvesGamePathsOnACaseSensitiveDisk) {
    dir.MakeFolder("data");
    dir.Write("data/Game0001.RFH", "index");
    dir.Write("data/save.txt", "lower");
    dir.Write("data/Save.txt", "mixed");
    dir.Write("data/SAVE.txt", "upper");
    struct Case {
        const char* path;
        const char* native; // relative to the folder; "" when there is none
        Error error;
    };
    const Case cases[] = {
        {"Data\\GAME0001.rfh", "data/Game0001.RFH", Error::kNone},
        {"data/Game0001.RFH", "data/Game0001.RFH", Error::kNone},
        {"DATA\\.\\x\\..\\game0001.rfh", "data/Game0001.RFH", Error::kNone},
        {"data\\save.txt", "data/save.txt", Error::kNone}, // the exact name wins
        {"data\\Save.txt", "data/Save.txt", Error::kNone},
        {"data\\sAVE.TXT", "data/SAVE.txt", Error::kNone}, // else the first in byte order
        {"Data\\NewFile.Dat", "data/NewFile.Dat", Error::kNotFound},
        {"Data\\NewDir\\NewFile.Dat", "data/NewDir/NewFile.Dat", Error::kPathNotFound},
        {"data\\save.txt\\inner", "data/save.txt/inner", Error::kPathNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        plat::fs::Resolved r = plat::fs::Resolve(dir.Game(c.path));
        EXPECT_EQ(r.native, dir.Native(c.native));
        EXPECT_EQ(r.error, c.error);
    }
}

TEST_F(FileSystem, DrivesAndEmptyPathsNameNothing) {
    for (const char* path : {"a:\\", "a:\\track.trk", "C:\\Windows", ""}) {
        SCOPED_TRACE(path);
        plat::fs::Resolved r = plat::fs::Resolve(path);
        EXPECT_EQ(r.error, Error::kPathNotFound);
        EXPECT_EQ(r.native, "");
        EXPECT_FALSE(plat::fs::Exists(path));
    }
}

TEST_F(FileSystem, ReadsWholeFilesAndTellsErrorsApart) {
    dir.MakeFolder("Tracks");
    dir.Write("Tracks/one.trk", std::string("a\r\nb\0c", 6));
    dir.Write("Tracks/empty.trk", "");
    struct Case {
        const char* path;
        Error error;
        std::string content;
    };
    const Case cases[] = {
        {"tracks\\ONE.TRK", Error::kNone, std::string("a\r\nb\0c", 6)}, // binary: every byte kept
        {"tracks\\empty.trk", Error::kNone, ""},
        {"tracks\\missing.trk", Error::kNotFound, ""},
        {"nowhere\\one.trk", Error::kPathNotFound, ""},
        {"Tracks", Error::kOther, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        plat::fs::ReadResult read = plat::fs::ReadWholeFile(dir.Game(c.path));
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(AsText(read.bytes), c.content);
    }
    EXPECT_EQ(plat::fs::FileSize(dir.Game("TRACKS\\one.trk")).size, 6u);
    plat::fs::SizeResult empty = plat::fs::FileSize(dir.Game("Tracks\\empty.trk"));
    EXPECT_EQ(empty.error, Error::kNone); // an empty file is there, with 0 bytes
    EXPECT_EQ(empty.size, 0u);
    EXPECT_EQ(plat::fs::FileSize(dir.Game("Tracks\\none")).error, Error::kNotFound);

    // 4 GB or more is refused without reading (a sparse file costs no disk).
    dir.Write("huge.rtb", "");
    ASSERT_EQ(truncate(dir.Native("huge.rtb").c_str(), 1ll << 32), 0);
    EXPECT_EQ(plat::fs::FileSize(dir.Game("huge.rtb")).size, 1ull << 32);
    EXPECT_EQ(plat::fs::ReadWholeFile(dir.Game("huge.rtb")).error, Error::kTooLarge);
}

TEST_F(FileSystem, WritesCreateAlwaysUnderTheGamesSpelling) {
    dir.MakeFolder("saved");
    ASSERT_EQ(plat::fs::WriteWholeFile(dir.Game("Saved\\MyTrack.TRK"), Bytes("first")), Error::kNone);
    ASSERT_EQ(plat::fs::WriteWholeFile(dir.Game("SAVED\\mytrack.trk"), Bytes("2")), Error::kNone);
    EXPECT_EQ(dir.List("saved"), "MyTrack.TRK"); // the second write found the first file
    EXPECT_EQ(dir.Read("saved/MyTrack.TRK"), "2");
    EXPECT_EQ(plat::fs::WriteWholeFile(dir.Game("Missing\\x"), Bytes("x")), Error::kPathNotFound);
}

TEST_F(FileSystem, ReplaceIsAtomic) {
    dir.Write("table.rtb", "old content");
    const std::string path = dir.Game("TABLE.RTB");

    {
        plat::fs::ScopedWriteFailure diskFull(4);
        EXPECT_EQ(plat::fs::ReplaceFile(path, Bytes("new content that does not fit")), Error::kOther);
        EXPECT_EQ(plat::fs::WriteWholeFile(dir.Game("other"), Bytes("xyz")), Error::kOther);
    }
    EXPECT_EQ(dir.Read("table.rtb"), "old content");
    EXPECT_EQ(dir.List(), "other table.rtb"); // no temporary left; a create-always write leaves its part
    EXPECT_EQ(dir.Read("other"), "");

    EXPECT_EQ(plat::fs::ReplaceFile(path, Bytes("new")), Error::kNone);
    EXPECT_EQ(dir.Read("table.rtb"), "new");
    EXPECT_EQ(plat::fs::ReplaceFile(dir.Game("fresh.usr"), Bytes("n")), Error::kNone);
    EXPECT_EQ(dir.List(), "fresh.usr other table.rtb");

    // A rename that fails (the target is a folder holding something) also leaves no temporary.
    dir.MakeFolder("busy/inner");
    EXPECT_EQ(plat::fs::ReplaceFile(dir.Game("busy"), Bytes("x")), Error::kOther);
    EXPECT_EQ(dir.List(), "busy fresh.usr other table.rtb");
    EXPECT_EQ(plat::fs::ReplaceFile(dir.Game("none\\x"), Bytes("x")), Error::kPathNotFound);
}

TEST_F(FileSystem, ReplaceKeepsPermissions) {
    dir.Write("settings", "a");
    chmod(dir.Native("settings").c_str(), 0640);
    ASSERT_EQ(plat::fs::ReplaceFile(dir.Game("settings"), Bytes("b")), Error::kNone);
    struct stat st {};
    ASSERT_EQ(stat(dir.Native("settings").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(FileSystem, ListsOneFolderWithWildcards) {
    dir.Write("b.trk", "12345");
    dir.Write("A.TRK", "1");
    dir.Write("readme", "");
    dir.MakeFolder("Images");
    const std::int32_t stamp = 1000000000;
    struct timespec times[2] = {{stamp, 0}, {stamp, 0}};
    utimensat(AT_FDCWD, dir.Native("b.trk").c_str(), times, 0);
    struct timespec late[2] = {{1ll << 33, 0}, {1ll << 33, 0}}; // long after 2038
    utimensat(AT_FDCWD, dir.Native("readme").c_str(), late, 0);

    struct Case {
        const char* pattern;
        const char* names;
        Error error;
    };
    const Case cases[] = {
        {"*.*", "A.TRK Images b.trk readme", Error::kNone}, // sorted by bytes, "." and ".." left out
        {"*.trk", "A.TRK b.trk", Error::kNone},
        {"?.trk", "A.TRK b.trk", Error::kNone},
        {"images", "Images", Error::kNone},
        {"*.tga", "", Error::kNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        plat::fs::ListResult list = plat::fs::ListFolder(dir.Game(), c.pattern);
        std::string names;
        for (const auto& e : list.entries)
            names += (names.empty() ? "" : " ") + e.name;
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(list.error, c.error);
    }

    plat::fs::ListResult all = plat::fs::ListMatching(dir.Game("*.*"));
    ASSERT_EQ(all.entries.size(), 4u);
    EXPECT_TRUE(all.entries[1].isFolder);
    EXPECT_EQ(all.entries[1].size, 0u);
    EXPECT_FALSE(all.entries[2].isFolder);
    EXPECT_EQ(all.entries[2].size, 5u);
    EXPECT_EQ(all.entries[2].modified, stamp);
    EXPECT_EQ(all.entries[3].modified, INT32_MAX); // the 32-bit stamp saturates instead of wrapping
    EXPECT_EQ(plat::fs::ListFolder(dir.Game("nowhere"), "*.*").error, Error::kPathNotFound);
}

TEST_F(FileSystem, LinksToFoldersAreNotFoldersSoScansEnd) {
    dir.MakeFolder("Data/Sub");
    dir.Write("Data/Sub/file.kmb", "mesh");
    ASSERT_EQ(symlink(dir.Native("Data").c_str(), dir.Native("Data/Sub/loop").c_str()), 0);

    // A recursive scan as the resource library makes it; it must come to an end.
    std::vector<std::string> files;
    std::function<void(const std::string&)> scan = [&](const std::string& folder) {
        for (const auto& e : plat::fs::ListFolder(folder, "*.*").entries) {
            ASSERT_LT(files.size(), 100u);
            if (e.isFolder)
                scan(folder + "\\" + e.name);
            else
                files.push_back(e.name);
        }
    };
    scan(dir.Game("data"));
    EXPECT_EQ(files, (std::vector<std::string>{"file.kmb", "loop"}));
}

TEST_F(FileSystem, SmallOperations) {
    dir.Write("src.trk", "track");
    EXPECT_TRUE(plat::fs::Exists(dir.Game("SRC.trk")));
    EXPECT_FALSE(plat::fs::IsFolder(dir.Game("src.trk")));
    EXPECT_TRUE(plat::fs::IsFolder(dir.Game()));

    EXPECT_TRUE(plat::fs::CreateFolder(dir.Game("SavedTracks")));
    EXPECT_FALSE(plat::fs::CreateFolder(dir.Game("savedtracks"))); // exists already
    EXPECT_FALSE(plat::fs::CreateFolder(dir.Game("a\\b")));        // parent missing
    EXPECT_TRUE(plat::fs::IsFolder(dir.Game("SAVEDTRACKS")));

    chmod(dir.Native("src.trk").c_str(), 0444);
    EXPECT_TRUE(plat::fs::CopyFile(dir.Game("Src.Trk"), dir.Game("savedtracks\\Copy.trk")));
    EXPECT_EQ(dir.Read("SavedTracks/Copy.trk"), "track");
    struct stat st {};
    ASSERT_EQ(stat(dir.Native("SavedTracks/Copy.trk").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR); // the copy of a read-only file is writable
    dir.Write("SavedTracks/Other.trk", "longer old content");
    EXPECT_TRUE(plat::fs::CopyFile(dir.Game("src.trk"), dir.Game("SavedTracks\\other.TRK")));
    EXPECT_EQ(dir.Read("SavedTracks/Other.trk"), "track");
    EXPECT_FALSE(plat::fs::CopyFile(dir.Game("none"), dir.Game("x")));
    EXPECT_FALSE(plat::fs::CopyFile(dir.Game("src.trk"), dir.Game("no\\x")));

    EXPECT_FALSE(plat::fs::DeleteFile(dir.Game("savedtracks"))); // never a folder
    EXPECT_TRUE(plat::fs::DeleteFile(dir.Game("SavedTracks\\COPY.TRK")));
    EXPECT_FALSE(plat::fs::DeleteFile(dir.Game("SavedTracks\\COPY.TRK")));
    EXPECT_EQ(dir.List("SavedTracks"), "Other.trk");
}

TEST_F(FileSystem, CurrentDirectoryInGameForm) {
    const std::string before = plat::fs::CurrentDirectory();
    dir.MakeFolder("Game");
    ASSERT_TRUE(plat::fs::SetCurrentDirectory(dir.Game("GAME")));
    EXPECT_EQ(plat::fs::CurrentDirectory(), dir.Game("Game")); // no trailing "\"
    EXPECT_EQ(plat::fs::FullPath("..\\x\\.\\y"), dir.Game("x\\y"));
    dir.Write("Game/resource.cfg", "cfg");
    EXPECT_EQ(AsText(plat::fs::ReadWholeFile("RESOURCE.CFG").bytes), "cfg");
    EXPECT_FALSE(plat::fs::SetCurrentDirectory("nowhere"));
    EXPECT_FALSE(plat::fs::SetCurrentDirectory("resource.cfg"));
    ASSERT_TRUE(plat::fs::SetCurrentDirectory(before));
}

std::string ReadStream(std::FILE* f) {
    std::string out;
    for (int c; (c = std::fgetc(f)) != EOF;)
        out += static_cast<char>(c);
    return out;
}

TEST_F(FileSystem, TextModeReadsCrLfAsLf) {
    dir.Write("lines.txt", "a\r\nb\rc\r\n\r\nd\r");
    struct Case {
        const char* mode;
        std::string expected;
    };
    const Case cases[] = {
        {"r", "a\nb\rc\n\nd\r"},  {"rt", "a\nb\rc\n\nd\r"},        {"rb", "a\r\nb\rc\r\n\r\nd\r"},
        {"r+", "a\nb\rc\n\nd\r"}, {"r+b", "a\r\nb\rc\r\n\r\nd\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::FILE* f = plat::fs::OpenStream(dir.Game("LINES.TXT"), c.mode);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(ReadStream(f), c.expected);
        std::fclose(f);
    }

    // Text writes go out as LF; appending adds to the end.
    std::FILE* w = plat::fs::OpenStream(dir.Game("Out.txt"), "w");
    ASSERT_NE(w, nullptr);
    std::fputs("x\ny\n", w);
    std::fclose(w);
    std::FILE* a = plat::fs::OpenStream(dir.Game("out.TXT"), "a+");
    ASSERT_NE(a, nullptr);
    std::fputs("z\n", a);
    std::fclose(a);
    EXPECT_EQ(dir.Read("Out.txt"), "x\ny\nz\n");
}

TEST_F(FileSystem, StreamsReportWhyTheyDidNotOpen) {
    dir.MakeFolder("folder");
    struct Case {
        const char* path;
        const char* mode;
        Error error;
    };
    const Case cases[] = {
        {"missing.txt", "r", Error::kNotFound},
        {"no\\missing.txt", "r", Error::kPathNotFound},
        {"no\\missing.txt", "w", Error::kPathNotFound},
        {"folder", "r", Error::kOther},
        {"x.txt", "", Error::kOther},
        {"x.txt", "q", Error::kOther},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.mode);
        Error error = Error::kNone;
        EXPECT_EQ(plat::fs::OpenStream(dir.Game(c.path), c.mode, &error), nullptr);
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
