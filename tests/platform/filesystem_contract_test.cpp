// What every FileSystem promises, checked on the platform's own one: the
// emulated one natively, the real disk under Wine or Windows.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <vector>

#include "support/test_filesystem.h"

namespace cv {
namespace {

class FileSystemContract : public ::testing::Test {
 protected:
  std::unique_ptr<test::FileSystemFixture> fixture = test::MakeFileSystemFixture();
  FileSystem& fs = fixture->fs();
  std::string Path(std::string_view relative) { return fixture->Path(relative); }

  std::map<std::string, FileEntry> List(const std::string& folder) {
    std::map<std::string, FileEntry> entries;
    EXPECT_TRUE(fs.ListFolder(folder, [&](const FileEntry& e) { entries.emplace(e.name, e); }));
    return entries;
  }
  std::string Read(const std::string& path) {
    std::string data = "<unread>";
    EXPECT_EQ(fs.ReadFile(path, data), kOk) << path;
    return data;
  }
};

constexpr std::uint32_t kSetBits = kAttrReadOnly | kAttrHidden | kAttrSystem;

TEST_F(FileSystemContract, ListsFilesAndFoldersWithPathsAndSizes) {
  ASSERT_TRUE(fixture->WriteFile(Path("a.txt"), "abc"));
  ASSERT_TRUE(fixture->WriteFile(Path("empty.bin"), ""));
  ASSERT_TRUE(fixture->MakeFolder(Path("sub")));
  ASSERT_TRUE(fixture->WriteFile(Path("sub\\inner.txt"), "12345"));

  auto entries = List(fixture->Root());
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries["a.txt"].path, Path("a.txt"));
  EXPECT_EQ(entries["a.txt"].size, 3u);
  EXPECT_FALSE(entries["a.txt"].IsFolder());
  EXPECT_EQ(entries["empty.bin"].size, 0u);
  EXPECT_TRUE(entries["sub"].IsFolder());
  EXPECT_EQ(entries["sub"].size, 0u);
  EXPECT_EQ(entries["sub"].path, Path("sub"));

  int visited = 0;
  EXPECT_FALSE(fs.ListFolder(Path("missing"), [&](const FileEntry&) { ++visited; }));
  EXPECT_FALSE(fs.ListFolder(Path("a.txt"), [&](const FileEntry&) { ++visited; }));
  EXPECT_EQ(visited, 0);
}

TEST_F(FileSystemContract, StatFindsEntriesWithoutRegardToCase) {
  ASSERT_TRUE(fixture->WriteFile(Path("Data.txt"), "xy"));
  ASSERT_TRUE(fixture->MakeFolder(Path("Folder")));

  auto file = fs.Stat(Path("DATA.TXT"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size, 2u);
  EXPECT_FALSE(file->IsFolder());
  auto folder = fs.Stat(Path("folder"));
  ASSERT_TRUE(folder);
  EXPECT_TRUE(folder->IsFolder());
  EXPECT_FALSE(folder->IsReparsePoint());
  EXPECT_FALSE(fs.Stat(Path("nothing")));
  EXPECT_FALSE(fs.Stat(Path("nothing\\deeper")));
}

TEST_F(FileSystemContract, AttributesAreSetReadAndListed) {
  const std::string file = Path("f.txt");
  ASSERT_TRUE(fixture->WriteFile(file, "x"));

  ASSERT_EQ(fs.SetAttributes(file, kAttrHidden), kOk);
  EXPECT_EQ(fs.Stat(file)->attributes & kSetBits, kAttrHidden);
  EXPECT_EQ(List(fixture->Root())["f.txt"].attributes & kSetBits, kAttrHidden);

  ASSERT_EQ(fs.SetAttributes(file, kAttrReadOnly | kAttrHidden), kOk);
  EXPECT_EQ(fs.Stat(file)->attributes & kSetBits, kAttrReadOnly | kAttrHidden);

  // 0 is "normal": no read-only, hidden or system bit remains.
  ASSERT_EQ(fs.SetAttributes(file, 0), kOk);
  EXPECT_EQ(fs.Stat(file)->attributes & kSetBits, 0u);
  EXPECT_NE(fs.SetAttributes(Path("missing"), 0), kOk);
}

TEST_F(FileSystemContract, DeleteKeepsReadOnlyFilesUnlessForced) {
  const std::string file = Path("ro.txt");
  ASSERT_TRUE(fixture->WriteFile(file, "x"));
  ASSERT_TRUE(fixture->SetReadOnly(file));

  EXPECT_EQ(fs.DeleteFile(file, false), kErrAccessDenied);
  EXPECT_TRUE(fs.Stat(file));
  EXPECT_EQ(fs.DeleteFile(file, true), kOk);
  EXPECT_FALSE(fs.Stat(file));
  EXPECT_EQ(fs.DeleteFile(file, false), kErrFileNotFound);
}

TEST_F(FileSystemContract, FilesInUseCannotBeDeletedOrReplaced) {
  const std::string file = Path("busy.txt");
  ASSERT_TRUE(fixture->WriteFile(file, "old"));
  {
    auto lock = fixture->LockFile(file);
    ASSERT_TRUE(lock);
    EXPECT_NE(fs.DeleteFile(file, true), kOk);
    EXPECT_NE(fs.WriteFileAtomic(file, "new"), kOk);
    EXPECT_TRUE(fs.Stat(file));
  }
  EXPECT_EQ(Read(file), "old");
  EXPECT_EQ(List(fixture->Root()).size(), 1u) << "no temporary file left behind";
  EXPECT_EQ(fs.DeleteFile(file, false), kOk);
}

TEST_F(FileSystemContract, AtomicWriteReplacesContentAndKeepsAttributes) {
  const std::string file = Path("settings.ini");
  ASSERT_EQ(fs.WriteFileAtomic(file, "first"), kOk);
  EXPECT_EQ(Read(file), "first");

  ASSERT_EQ(fs.SetAttributes(file, kAttrHidden), kOk);
  ASSERT_EQ(fs.WriteFileAtomic(file, std::string(100000, 'z')), kOk);
  EXPECT_EQ(Read(file), std::string(100000, 'z'));
  EXPECT_EQ(fs.Stat(file)->attributes & kSetBits, kAttrHidden);
  EXPECT_EQ(List(fixture->Root()).size(), 1u) << "no temporary file left behind";

  ASSERT_EQ(fs.WriteFileAtomic(file, ""), kOk);
  EXPECT_EQ(Read(file), "");
}

TEST_F(FileSystemContract, AtomicWriteRefusesReadOnlyTargetsFoldersAndMissingFolders) {
  const std::string file = Path("locked.ini");
  ASSERT_TRUE(fixture->WriteFile(file, "keep me"));
  ASSERT_TRUE(fixture->SetReadOnly(file));
  EXPECT_NE(fs.WriteFileAtomic(file, "lost"), kOk);
  EXPECT_EQ(Read(file), "keep me");

  ASSERT_TRUE(fixture->MakeFolder(Path("dir")));
  EXPECT_NE(fs.WriteFileAtomic(Path("dir"), "x"), kOk);
  EXPECT_TRUE(fs.Stat(Path("dir"))->IsFolder());
  EXPECT_NE(fs.WriteFileAtomic(Path("no\\such\\file.ini"), "x"), kOk);
  EXPECT_EQ(List(fixture->Root()).size(), 2u) << "no temporary file left behind";
}

TEST_F(FileSystemContract, ReadFailureLeavesOutputAlone) {
  std::string out = "unchanged";
  EXPECT_NE(fs.ReadFile(Path("missing.txt"), out), kOk);
  EXPECT_EQ(out, "unchanged");
  ASSERT_TRUE(fixture->MakeFolder(Path("folder")));
  EXPECT_NE(fs.ReadFile(Path("folder"), out), kOk);
  EXPECT_EQ(out, "unchanged");
  // A file over the limit is refused as too large, one at the limit is read.
  ASSERT_TRUE(fixture->WriteFile(Path("ten.txt"), "0123456789"));
  EXPECT_EQ(fs.ReadFile(Path("ten.txt"), out, 9), kErrFileTooLarge);
  EXPECT_EQ(out, "unchanged");
  EXPECT_EQ(fs.ReadFile(Path("ten.txt"), out, 10), kOk);
  EXPECT_EQ(out, "0123456789");
}

TEST_F(FileSystemContract, FoldersAreCreatedOnceAndRemovedWhenEmpty) {
  const std::string folder = Path("made");
  EXPECT_EQ(fs.CreateFolder(folder), kOk);
  EXPECT_TRUE(fs.Stat(folder)->IsFolder());
  EXPECT_EQ(fs.CreateFolder(folder), kErrAlreadyExists);
  ASSERT_TRUE(fixture->WriteFile(Path("file"), "x"));
  EXPECT_EQ(fs.CreateFolder(Path("file")), kErrAlreadyExists);
  EXPECT_EQ(fs.CreateFolder(Path("a\\b")), kErrPathNotFound);

  ASSERT_TRUE(fixture->WriteFile(Path("made\\x"), "x"));
  EXPECT_EQ(fs.RemoveFolder(folder, false), kErrDirNotEmpty);
  EXPECT_NE(fs.DeleteFile(folder, true), kOk);  // a folder is not a file
  ASSERT_EQ(fs.DeleteFile(Path("made\\x"), false), kOk);
  EXPECT_EQ(fs.RemoveFolder(folder, false), kOk);
  EXPECT_FALSE(fs.Stat(folder));
}

TEST_F(FileSystemContract, ModifiedTimeIsRecent) {
  const std::string file = Path("now.txt");
  ASSERT_TRUE(fixture->WriteFile(file, "x"));
  using namespace std::chrono;
  const std::int64_t now =
      duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() * 10 + 116444736000000000LL;
  const std::int64_t tenMinutes = 10LL * 60 * 10000000;
  const auto entry = fs.Stat(file);
  ASSERT_TRUE(entry);
  EXPECT_LT(std::llabs(entry->modified - now), tenMinutes);
  EXPECT_EQ(List(fixture->Root())["now.txt"].modified, entry->modified);
}

TEST_F(FileSystemContract, FolderLinksAreReparsePointsAndRemovedAsLinks) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "folder links cannot be created on this system";
  ASSERT_TRUE(fixture->MakeFolder(Path("target")));
  ASSERT_TRUE(fixture->WriteFile(Path("target\\precious.txt"), "data"));
  ASSERT_TRUE(fixture->MakeFolderLink(Path("link"), Path("target")));

  const auto link = fs.Stat(Path("link"));
  ASSERT_TRUE(link);
  EXPECT_TRUE(link->IsReparsePoint());
  EXPECT_TRUE(link->IsFolder());
  auto listed = List(fixture->Root());
  EXPECT_TRUE(listed["link"].IsReparsePoint());
  EXPECT_FALSE(listed["target"].IsReparsePoint());

  // Opened as itself, only a plain folder opens; OpenFolder follows the link.
  EXPECT_EQ(fs.OpenFolderItself(Path("link")), nullptr);
  EXPECT_EQ(fs.OpenFolderItself(Path("target\\precious.txt")), nullptr);
  EXPECT_EQ(fs.OpenFolderItself(Path("missing")), nullptr);
  const auto itself = fs.OpenFolderItself(Path("target"));
  const auto through = fs.OpenFolder(Path("link"));
  ASSERT_TRUE(itself && through);
  const auto a = itself->Identity(), b = through->Identity();
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->SameFile(*b));

  EXPECT_EQ(fs.RemoveFolder(Path("link"), false), kOk);
  EXPECT_FALSE(fs.Stat(Path("link")));
  EXPECT_EQ(Read(Path("target\\precious.txt")), "data");
}

TEST_F(FileSystemContract, NamesWithAccentsAndCjkRoundTrip) {
  const std::string folder = Path("caf\xC3\xA9");                      // café
  const std::string file = folder + "\\\xE6\x96\x87\xE4\xBB\xB6.txt";  // 文件.txt
  ASSERT_EQ(fs.CreateFolder(folder), kOk);
  ASSERT_EQ(fs.WriteFileAtomic(file, "unicode"), kOk);

  auto entries = List(folder);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.begin()->first, "\xE6\x96\x87\xE4\xBB\xB6.txt");
  EXPECT_EQ(entries.begin()->second.path, file);
  EXPECT_EQ(Read(file), "unicode");
  EXPECT_TRUE(List(fixture->Root()).count("caf\xC3\xA9"));
}

TEST_F(FileSystemContract, PathsLongerThanMaxPathWork) {
  std::string folder = fixture->Root();
  while (folder.size() < 400) {
    folder += "\\" + std::string(40, 'L');
    ASSERT_EQ(fs.CreateFolder(folder), kOk) << folder.size();
  }
  const std::string file = folder + "\\long.txt";
  ASSERT_EQ(fs.WriteFileAtomic(file, "far"), kOk);
  EXPECT_EQ(Read(file), "far");
  EXPECT_EQ(fs.Stat(file)->size, 3u);
  EXPECT_EQ(List(folder).count("long.txt"), 1u);
  ASSERT_EQ(fs.SetAttributes(file, kAttrReadOnly), kOk);
  EXPECT_EQ(fs.DeleteFile(file, true), kOk);
  EXPECT_EQ(fs.RemoveFolder(folder, false), kOk);
}

TEST_F(FileSystemContract, DotsAndForwardSlashesAreNormalised) {
  ASSERT_TRUE(fixture->MakeFolder(Path("a")));
  ASSERT_TRUE(fixture->WriteFile(Path("a\\x.txt"), "dots"));
  EXPECT_EQ(Read(Path("a\\.\\..\\a\\x.txt")), "dots");
  std::string slashed = Path("a/x.txt");
  EXPECT_EQ(Read(slashed), "dots");
}

}  // namespace
}  // namespace cv
