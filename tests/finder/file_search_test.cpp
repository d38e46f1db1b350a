// The finder's search and deletion on the platform's file system: natively
// the emulated one, on Windows a sandbox folder on the real disk.
#include "finder/file_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "finder/file_deletion.h"
#include "test_filesystem.h"

namespace cv::finder {
namespace {

using Names = std::vector<std::string>;

// 500 suffix patterns, "*.tmp" last.
const std::string& ManyPatterns() {
  static const std::string patterns = [] {
    std::string text;
    for (int i = 0; i < 500; ++i) text += "*.x" + std::to_string(i) + ";";
    return text + "*.tmp";
  }();
  return patterns;
}

class FileSearchTest : public ::testing::Test {
 protected:
  FileSearchTest() : fixture(test::MakeFileSystemFixture()) { fixture->MakeFolder(Root()); }

  // Files below the searched folder "root" (or, with "..\", beside it).
  void Make(const Names& files, std::string_view bytes = "x") {
    for (const std::string& file : files) {
      const size_t slash = file.rfind('\\');
      if (slash != std::string::npos) MakeFolders(file.substr(0, slash));
      ASSERT_TRUE(fixture->WriteFile(Path(file), bytes));
    }
  }
  std::string Root() const { return fixture->Path("root"); }
  std::string Path(std::string_view relative) const {
    if (relative.starts_with("..\\")) return fixture->Path(relative.substr(3));
    return fixture->Path("root\\" + std::string(relative));
  }
  void MakeFolders(const std::string& relative) {
    for (size_t end = relative.find('\\', relative.starts_with("..\\") ? 3 : 0);; end = relative.find('\\', end + 1)) {
      const std::string path = Path(relative.substr(0, end));
      if (!fixture->fs().Stat(path)) fixture->MakeFolder(path);
      if (end == std::string::npos) break;
    }
  }
  // The rows found, as paths relative to the sandbox root.
  Names Relative() const {
    Names names;
    const std::string root = Root() + "\\";
    for (size_t i = 0; i < found.Count(); ++i) names.push_back(found.Path(i).substr(root.size()));
    return names;
  }
  SearchOutcome Search(std::string_view searchString, bool subFolders = true) {
    found.Clear();
    SearchControl control;
    control.includeSubFolders = [subFolders] { return subFolders; };
    return FindFiles(fixture->fs(), Root(), searchString, found, control);
  }

  std::unique_ptr<test::FileSystemFixture> fixture;
  FoundFiles found;
};

TEST_F(FileSearchTest, PatternKindsMatchNamesWithoutRegardToCase) {
  struct Case {
    const char* searchString;
    Names files;
    Names listed;  // sorted
  };
  const Case cases[] = {
      {"*.tmp;*.gid;*.swp;*.chk",
       {"a.tmp", "b\\a.TMP", "a.tmpx", "a.tmp.txt", ".tmp", "c.GID"},
       {"a.tmp", "b\\a.TMP", "c.GID"}},
      {"~*", {"~a.doc", "a~", "~"}, {"~a.doc"}},
      {"*cache*", {"xCACHEy.dat", "Cache1", "cach.e", "cache"}, {"Cache1", "xCACHEy.dat"}},
      // A pattern longer than the name does not keep later patterns from matching.
      {"*.verylongext;*.tmp", {"a.tmp"}, {"a.tmp"}},
      {";;", {"a.tmp"}, {}},
      {"*", {"a.tmp", "b"}, {"a.tmp", "b"}},
      {"**", {"a.tmp"}, {"a.tmp"}},
      {"*a\\b*;*:*;..\\a.tmp;c:\\a.tmp", {"a.tmp"}, {}},
      {"", {"a.tmp"}, {}},
      {ManyPatterns().c_str(), {"a.tmp", "b.x499"}, {"a.tmp", "b.x499"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.searchString);
    fixture = test::MakeFileSystemFixture();
    fixture->MakeFolder(Root());
    Make(c.files);
    Search(c.searchString);
    Names listed = Relative();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, c.listed);
  }
}

TEST_F(FileSearchTest, ExactNameIsListedOnceAsItsBarePathInTheFirstFolderOfTheScan) {
  Make({"sub\\thumbs.db", "sub\\deeper\\thumbs.db", "other.txt", "thumbs.db"});
  const SearchOutcome outcome = Search("THUMBS.DB;*.db");
  ASSERT_TRUE(outcome.completed);
  // The exact name is reported once, at the root's first file; "*.db"
  // still lists every such file, the root's included.
  ASSERT_EQ(found.Count(), 4u);
  EXPECT_EQ(found.Line(0, nullptr), Path("THUMBS.DB"));
  EXPECT_EQ(outcome.counts[0].count, 1u);
  EXPECT_EQ(outcome.counts[1].count, 3u);
  EXPECT_EQ(outcome.totalBytes, 3u);  // the bare row adds no size
}

TEST_F(FileSearchTest, BreadthFirstOrderAndWithoutSubFoldersOnlyTheStartFolder) {
  Make({"a\\deep\\x.tmp", "b\\y.tmp", "z.tmp"});
  Search("*.tmp");
  EXPECT_EQ(Relative(), (Names{"z.tmp", "b\\y.tmp", "a\\deep\\x.tmp"}));
  Search("*.tmp", false);
  EXPECT_EQ(Relative(), (Names{"z.tmp"}));
}

TEST_F(FileSearchTest, RecycledFoldersInExactCaseAndWin386SwapFilesAreNeverListed) {
  Make({"x\\Recycled\\a.tmp", "y\\RECYCLED\\b.tmp", "z\\MyRecycled.tmp", "WIN386.SWP", "d\\win386.swp\\c.tmp"});
  Search("*.tmp;*.swp");
  EXPECT_EQ(Relative(), (Names{"y\\RECYCLED\\b.tmp"}));
}

TEST_F(FileSearchTest, SummaryCountsPerPatternAndTotalInThousands) {
  Make({"a.tmp", "b.tmp", "c.tmp"}, std::string(1500, 'x'));
  const SearchOutcome outcome = Search("*.tmp;*.gid;;x");
  EXPECT_EQ(SummaryText(outcome, '.'),
            "3  Files Found      .tmp - 3    .gid - 0     - 0    x - 0\r\nTotal size: 4.5kb");
  EXPECT_EQ(FindFiles(fixture->fs(), Root(), "", found, {}).completed, false);
}

TEST(SummaryText, TotalIsNotCappedAndUsesTheLocaleSeparator) {
  struct Case {
    std::uint64_t bytes;
    char separator;
    const char* total;
  };
  const Case cases[] = {{0, '.', "0kb"},
                        {999, ',', "0,999"},
                        {1000, '.', "1kb"},
                        {1050, ',', "1,05kb"},
                        {3'000'000'000'123ull, '.', "3000000000.123kb"}};
  for (const Case& c : cases) {
    SearchOutcome outcome;
    outcome.totalBytes = c.bytes;
    const std::string text = SummaryText(outcome, c.separator);
    EXPECT_NE(text.find("Total size: " + std::string(c.total)), std::string::npos) << text;
  }
}

TEST_F(FileSearchTest, StopEndsTheSearchWithTheLinesFoundSoFar) {
  Make({"a.tmp", "s1\\b.tmp", "s2\\c.tmp", "s3\\d.tmp"});
  std::atomic<bool> stop{false};
  int folders = 0;
  SearchControl control;
  control.stop = &stop;
  control.folderStarted = [&](const std::string&) {
    if (++folders == 2) stop = true;
  };
  const SearchOutcome outcome = FindFiles(fixture->fs(), Root(), "*.tmp", found, control);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(Relative(), (Names{"a.tmp"}));
}

TEST_F(FileSearchTest, AQueuedFolderThatVanishesBeforeItsTurnIsPassedOver) {
  Make({"a\\deep\\z.tmp", "a\\x.tmp", "y.tmp"});
  SearchControl control;
  control.folderStarted = [&](const std::string& folder) {
    if (folder != Path("a\\deep\\")) return;
    fixture->fs().DeleteFile(Path("a\\deep\\z.tmp"), false);
    fixture->fs().RemoveFolder(Path("a\\deep"), false);
  };
  const SearchOutcome outcome = FindFiles(fixture->fs(), Root(), "*.tmp", found, control);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(Relative(), (Names{"y.tmp", "a\\x.tmp"}));
}

TEST_F(FileSearchTest, FolderLinksAreNeitherFollowedNorListed) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "no folder links here";
  Make({"in\\a.tmp", "..\\outside\\out.tmp"});
  ASSERT_TRUE(fixture->MakeFolderLink(Path("loop"), Root()));
  ASSERT_TRUE(fixture->MakeFolderLink(Path("in\\away"), fixture->Path("outside")));
  Search("*.tmp");
  EXPECT_EQ(Relative(), (Names{"in\\a.tmp"}));
}

TEST_F(FileSearchTest, NamesBeyondTheOldPathLimitAreFound) {
  const std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\" + std::string(60, 'f');
  Make({deep + "\\long.tmp"});
  Search("*.tmp");
  EXPECT_EQ(Relative(), (Names{deep + "\\long.tmp"}));
}

TEST_F(FileSearchTest, DeletionTakesExactlyTheRowsFileAndNothingOutsideOrChanged) {
  Make({"a", "a  b.tmp", "keep.tmp", "became-folder.tmp", "sub\\c.tmp", "..\\outside\\elsewhere.tmp"});
  Search("*.tmp");
  std::vector<std::string> paths;
  for (size_t i = 0; i < found.Count(); ++i)
    if (found.Path(i).find("keep.tmp") == std::string::npos) paths.push_back(found.Path(i));
  ASSERT_TRUE(fixture->fs().DeleteFile(Path("became-folder.tmp"), false) == kOk);
  ASSERT_TRUE(fixture->MakeFolder(Path("became-folder.tmp")));
  const std::string outside = fixture->Path("outside\\elsewhere.tmp");
  paths.push_back(outside);
  paths.push_back(Path("sub\\..\\keep.tmp"));
  paths.push_back(Path("vanished.tmp"));

  const DeletionOutcome outcome = DeleteFoundFiles(fixture->fs(), nullptr, Root(), paths);
  EXPECT_EQ(outcome.deleted, 2u);
  EXPECT_FALSE(fixture->fs().Stat(Path("a  b.tmp")));
  EXPECT_FALSE(fixture->fs().Stat(Path("sub\\c.tmp")));
  for (const char* stays : {"a", "keep.tmp", "became-folder.tmp", "..\\outside\\elsewhere.tmp"})
    EXPECT_TRUE(fixture->fs().Stat(Path(stays))) << stays;
  EXPECT_EQ(outcome.kept, (Names{Path("became-folder.tmp"), outside, Path("sub\\..\\keep.tmp")}));
  EXPECT_EQ(KeptFilesLine(outcome).rfind("3 files could not be deleted: ", 0), 0u);

  // The rescan after a deletion searches the start folder alone.
  Search("*.tmp", false);
  EXPECT_EQ(Relative(), (Names{"keep.tmp"}));
}

TEST_F(FileSearchTest, DeletionNeverGoesThroughAFolderThatBecameALink) {
  if (!fixture->SupportsFolderLinks()) GTEST_SKIP() << "no folder links here";
  Make({"sub\\x.tmp", "..\\outside\\x.tmp"});
  Search("*.tmp");
  ASSERT_EQ(fixture->fs().DeleteFile(Path("sub\\x.tmp"), false), kOk);
  ASSERT_EQ(fixture->fs().RemoveFolder(Path("sub"), false), kOk);
  ASSERT_TRUE(fixture->MakeFolderLink(Path("sub"), fixture->Path("outside")));
  const DeletionOutcome outcome = DeleteFoundFiles(fixture->fs(), nullptr, Root(), {found.Path(0)});
  EXPECT_EQ(outcome.deleted, 0u);
  EXPECT_TRUE(fixture->fs().Stat(fixture->Path("outside\\x.tmp")));
}

}  // namespace
}  // namespace cv::finder
