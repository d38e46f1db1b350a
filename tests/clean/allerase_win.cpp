// The erasure primitives on the real Win32 file system (under Wine in CI):
// attributes, files held open by another handle, long paths and junctions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/allerase.h"
#include "platform/win32/registry_win.h"
#include "platform/win32/shell_win.h"
#include "test_filesystem.h"

namespace cv {
namespace {

struct RecordingSink : EraseSink {
  void Erased(const EraseEntry& entry) override { entries.push_back(entry); }
  std::vector<EraseEntry> entries;
};

class EraseOnDisk : public ::testing::Test {
 protected:
  EraseOnDisk()
      : fixture(test::MakeFileSystemFixture()),
        platform{registry, fixture->fs(), shell, messages, clock},
        guard(PathGuard::ForSystem(shell, fixture->fs())) {}

  void Write(std::string_view relative, size_t bytes, std::uint32_t attributes = 0) {
    const std::string path = fixture->Path(relative);
    for (size_t cut = path.find('\\', fixture->Root().size() + 1); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
      fixture->fs().CreateFolder(path.substr(0, cut));
    ASSERT_TRUE(fixture->WriteFile(path, std::string(bytes, 'x')));
    if (attributes) {
      ASSERT_EQ(fixture->fs().SetAttributes(path, attributes), kOk);
    }
  }
  bool Exists(std::string_view relative) { return fixture->fs().Stat(fixture->Path(relative)).has_value(); }

  // Preview first (nothing may change), then clean; both must agree.
  template <typename Primitive>
  void PreviewThenClean(Primitive primitive, double expectedBytes, size_t expectedEntries) {
    RecordingSink previewSink;
    allerase preview(platform, guard, EraseMode::Preview, &previewSink, {});
    EXPECT_EQ(primitive(preview), expectedBytes);
    RecordingSink cleanSink;
    allerase clean(platform, guard, EraseMode::Clean, &cleanSink, {});
    EXPECT_EQ(primitive(clean), expectedBytes);
    ASSERT_EQ(previewSink.entries.size(), expectedEntries);
    ASSERT_EQ(cleanSink.entries.size(), expectedEntries);
    for (size_t i = 0; i < expectedEntries; ++i) {
      EXPECT_EQ(previewSink.entries[i].path, cleanSink.entries[i].path);
      EXPECT_EQ(previewSink.entries[i].bytes, cleanSink.entries[i].bytes);
    }
  }

  std::unique_ptr<test::FileSystemFixture> fixture;
  win32::Win32Registry registry;
  win32::Win32Shell shell;
  win32::Win32MessageBoxes messages;
  win32::Win32Clock clock;
  Platform platform;
  PathGuard guard;
};

TEST_F(EraseOnDisk, HiddenFilesAreMadeNormalAndPlainReadOnlyFilesStay) {
  Write("t\\hidden-ro.dat", 20, kAttrHidden | kAttrReadOnly);
  Write("t\\ro.dat", 30, kAttrReadOnly);
  Write("t\\s\\plain.dat", 40);
  Write("t\\s\\PLACES.SQLITE", 5, kAttrHidden);

  PreviewThenClean([&](allerase& e) { return e.DeleteAllFilesInTree(fixture->Path("t\\s")); }, 45, 2);
  PreviewThenClean([&](allerase& e) { return e.DeleteNamedFilesInTree(fixture->Path("t"), "places.sqlite"); }, 0, 0);
  PreviewThenClean([&](allerase& e) { return e.DeleteFilesInFolder(fixture->Path("t")); }, 50, 1);
  EXPECT_FALSE(Exists("t\\hidden-ro.dat"));
  ASSERT_TRUE(Exists("t\\ro.dat"));
  EXPECT_TRUE(fixture->fs().Stat(fixture->Path("t\\ro.dat"))->attributes & kAttrReadOnly);
  EXPECT_TRUE(Exists("t\\s"));
}

TEST_F(EraseOnDisk, AFileInUseStaysAndIsStillCounted) {
  Write("e\\in-use.dat", 100);
  Write("e\\free.dat", 20);
  Write("e\\s\\ro.dat", 3, kAttrReadOnly);
  auto lock = fixture->LockFile(fixture->Path("e\\in-use.dat"));
  ASSERT_TRUE(lock);

  RecordingSink sink;
  allerase clean(platform, guard, EraseMode::Clean, &sink, {});
  EXPECT_EQ(clean.EmptyFolder(fixture->Path("e")), 123);
  EXPECT_TRUE(Exists("e\\in-use.dat"));
  EXPECT_FALSE(Exists("e\\free.dat"));
  EXPECT_FALSE(Exists("e\\s\\ro.dat"));
  EXPECT_EQ(clean.DeleteAllFilesInTree(fixture->Path("e")), 100);
  EXPECT_TRUE(Exists("e\\in-use.dat"));
}

TEST_F(EraseOnDisk, EmptyFolderEmptiesTheFolderInPlace) {
  Write("e\\a.dat", 5);
  Write("e\\s\\b.dat", 6, kAttrHidden);
  const auto before = fixture->fs().Identify(fixture->Path("e"), false);
  ASSERT_TRUE(before);
  PreviewThenClean([&](allerase& e) { return e.EmptyFolder(fixture->Path("e")); }, 11, 1);
  const auto after = fixture->fs().Identify(fixture->Path("e"), false);
  EXPECT_TRUE(after && after->SameFile(*before));  // the same folder, not a new one
  EXPECT_FALSE(Exists("e\\s"));
}

TEST_F(EraseOnDisk, PathsLongerThan260Characters) {
  std::string deep = "long";
  for (int i = 0; i < 6; ++i) deep += "\\" + std::string(60, static_cast<char>('a' + i));
  Write(deep + "\\Cache\\x.bin", 12);
  Write(deep + "\\keep\\y.tmp", 13);
  ASSERT_GT(fixture->Path(deep).size(), 300u);
  PreviewThenClean([&](allerase& e) { return e.DeleteNamedFoldersInTree(fixture->Path("long"), "cache"); }, 12, 1);
  PreviewThenClean([&](allerase& e) { return e.DeleteFilesByExtensionInTree(fixture->Path("long"), "tmp"); }, 13, 1);
  EXPECT_FALSE(Exists(deep + "\\Cache"));
  EXPECT_FALSE(Exists(deep + "\\keep\\y.tmp"));
  EXPECT_TRUE(Exists(deep + "\\keep"));
}

TEST_F(EraseOnDisk, AJunctionInsideATargetIsNeverFollowed) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "folder links cannot be created on this system";
  Write("sentinel\\precious.doc", 1000);
  Write("sentinel\\cache\\keep.bin", 1000);
  Write("target\\own.tmp", 1);
  ASSERT_TRUE(fixture->MakeFolderLink(fixture->Path("target\\link"), fixture->Path("sentinel")));
  ASSERT_TRUE(fixture->MakeFolderLink(fixture->Path("target\\cache"), fixture->Path("sentinel")));

  RecordingSink sink;
  allerase clean(platform, guard, EraseMode::Clean, &sink, {});
  EXPECT_EQ(clean.DeleteNamedFoldersInTree(fixture->Path("target"), "cache"), 0);
  EXPECT_EQ(clean.DeleteAllFilesInTree(fixture->Path("target")), 1);
  EXPECT_EQ(clean.EmptyFolder(fixture->Path("target")), 0);
  EXPECT_TRUE(Exists("sentinel\\precious.doc"));
  EXPECT_TRUE(Exists("sentinel\\cache\\keep.bin"));
  EXPECT_FALSE(Exists("target\\link"));
  EXPECT_TRUE(Exists("target"));
}

}  // namespace
}  // namespace cv
