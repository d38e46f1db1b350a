#include <gtest/gtest.h>

#include "items_run_fixture.h"

namespace cv::test {
namespace {

class CustomItemsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  CustomItemsTest() { Select("Custom", "Custom"); }
  void WriteList(std::string_view text) { WriteFile(ProgramFile("\\cusd.dat"), text); }
  std::string Status() {
    const auto rows = recorder.ItemRows();
    return rows.size() == 1 && rows[0].item == "Custom Item" ? rows[0].status : "(no single Custom Item row)";
  }
};

TEST_F(CustomItemsTest, MissingListFailsAndErasesNothing) {
  WriteFile("C:\\Data\\a.txt", "123");
  const RunResult result = DoRun();
  EXPECT_EQ(Status(), "Fail, Can't find file!");
  EXPECT_EQ(result.bytesReleased, 0);
  EXPECT_TRUE(Exists("C:\\Data\\a.txt"));
}

// A list that exists but cannot be read erased nothing, and its row says why.
TEST_F(CustomItemsTest, UnreadableListSaysSoAndErasesNothing) {
  WriteFile("C:\\Data\\a.txt", "123");
  const std::string line = "C:\\Data\\a.txt\tFile\r\n";
  for (const bool locked : {true, false}) {
    SCOPED_TRACE(locked ? "locked" : "too large");
    std::string list = line;
    if (!locked) list.resize(16u << 20 | 1, ' ');
    WriteList(list);
    const auto lock = locked ? env.fileFixture->LockFile(ProgramFile("\\cusd.dat")) : nullptr;
    const RunResult result = DoRun();
    EXPECT_EQ(Status(), locked ? "Fail, Can't read file!" : "Fail, File too large!");
    EXPECT_EQ(result.bytesReleased, 0);
    EXPECT_TRUE(Exists("C:\\Data\\a.txt"));
  }
}

// A path saved in the ANSI code page names the same file as its UTF-8 form.
TEST_F(CustomItemsTest, AnsiPathsNameTheFileTheyMean) {
  WriteFile("C:\\Data\\J\xC3\xB6rg.txt", "123");
  WriteList("C:\\Data\\J\xF6rg.txt\tFile\r\n");
  EXPECT_EQ(DoRun().bytesReleased, 3);
  EXPECT_FALSE(Exists("C:\\Data\\J\xC3\xB6rg.txt"));
}

TEST_F(CustomItemsTest, EmptyListIsDoneWithZeroCounts) {
  WriteList("");
  const RunResult result = DoRun();
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(result.bytesReleased, 0);
  EXPECT_EQ(result.registryKeysCleaned, 0);
}

TEST_F(CustomItemsTest, FilesAndFoldersAreCountedThenDeleted) {
  WriteFile("C:\\Data\\old.log", "12345");
  WriteFile("C:\\Data\\Tree\\a.bin", "123");
  WriteFile("C:\\Data\\Tree\\sub\\b.bin", "1234567");
  WriteFile("C:\\Data\\keep.txt", "1");
  WriteList("C:\\Data\\old.log\tFile\r\nC:\\Data\\Tree\tFolder\r\n");

  const RunResult preview = DoRun(EraseMode::Preview);
  EXPECT_EQ(preview.bytesReleased, 15);
  EXPECT_TRUE(Exists("C:\\Data\\old.log"));
  EXPECT_TRUE(Exists("C:\\Data\\Tree\\sub\\b.bin"));

  const RunResult result = DoRun();
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(result.bytesReleased, 15);
  EXPECT_FALSE(Exists("C:\\Data\\old.log"));
  EXPECT_FALSE(Exists("C:\\Data\\Tree"));
  EXPECT_TRUE(Exists("C:\\Data\\keep.txt"));
}

TEST_F(CustomItemsTest, LinesWithOtherKindsWrongKindsOrNoTabAreIgnored) {
  WriteFile("C:\\Data\\a.txt", "123");
  WriteFile("C:\\Data\\Folder\\b.txt", "1234");
  WriteList(
      "C:\\Data\\a.txt\tfile\r\n"    // kinds are case-sensitive
      "C:\\Data\\a.txt\tFolder\r\n"  // not a folder
      "C:\\Data\\Folder\tFile\r\n"   // not a file
      "C:\\Data\\Folder\tFOLDER\r\n"
      "C:\\Data\\a.txt File\r\n"  // no TAB
      "\r\n"
      "\tFile\r\n"
      "C:\\Data\\missing.txt\tFile\r\n");
  const RunResult result = DoRun();
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(result.bytesReleased, 0);
  EXPECT_TRUE(Exists("C:\\Data\\a.txt"));
  EXPECT_TRUE(Exists("C:\\Data\\Folder\\b.txt"));
}

TEST_F(CustomItemsTest, FolderWithReadOnlyFileIsCountedAndBothRemain) {
  WriteFile("C:\\Data\\Locked\\readonly.txt", "1234567890");
  WriteFile("C:\\Data\\Locked\\plain.txt", "12");
  env.fileFixture->SetReadOnly("C:\\Data\\Locked\\readonly.txt");
  WriteList("C:\\Data\\Locked\tFolder\r\n");
  const RunResult result = DoRun();
  EXPECT_EQ(result.bytesReleased, 12);
  EXPECT_TRUE(Exists("C:\\Data\\Locked\\readonly.txt"));
  EXPECT_TRUE(Exists("C:\\Data\\Locked"));
}

TEST_F(CustomItemsTest, ProtectedFoldersAreRefusedAndLfLinesAreRead) {
  WriteFile(std::string(EmulatedPlatformFixture::kUserProfile) + "\\Documents\\thesis.doc", "123");
  WriteFile("C:\\Data\\x.tmp", "12");
  WriteList("C:\\\tFolder\nC:\\Users\\Tester\tFolder\nC:\\WINDOWS\tFolder\nC:\\Data\\x.tmp\tFile");
  const RunResult result = DoRun();
  EXPECT_EQ(Status(), "Done");
  EXPECT_EQ(result.bytesReleased, 2);
  EXPECT_TRUE(Exists(std::string(EmulatedPlatformFixture::kUserProfile) + "\\Documents\\thesis.doc"));
  EXPECT_FALSE(Exists("C:\\Data\\x.tmp"));
  EXPECT_TRUE(recorder.HasRefused("Tester"));
}

// Another name of the profile (a folder link as "C:\Documents and Settings")
// is refused like the profile; a listed folder that is a link goes as the
// link, releasing nothing of what it leads to.
TEST_F(CustomItemsTest, LinksToTheProfileAreRefusedAndOtherLinksGoAsLinks) {
  const std::string profile = EmulatedPlatformFixture::kUserProfile;
  WriteFile(profile + "\\Documents\\thesis.doc", "123");
  WriteFile("C:\\Data\\Real\\big.bin", "1234567890");
  ASSERT_TRUE(env.fileFixture->MakeFolderLink("C:\\Documents and Settings", "C:\\Users"));
  ASSERT_TRUE(env.fileFixture->MakeFolderLink("C:\\Data\\Alias", "C:\\Data\\Real"));
  WriteList(
      "C:\\Documents and Settings\\Tester\\.\tFolder\r\nC:\\Documents and Settings\tFolder\r\n"
      "C:\\Data\\Alias\tFolder\r\n");
  for (EraseMode mode : {EraseMode::Preview, EraseMode::Clean}) {
    EXPECT_EQ(DoRun(mode).bytesReleased, 0);
    EXPECT_TRUE(recorder.HasRefused("Documents and Settings"));
  }
  EXPECT_TRUE(Exists(profile + "\\Documents\\thesis.doc"));
  EXPECT_TRUE(Exists("C:\\Data\\Real\\big.bin"));
  EXPECT_FALSE(Exists("C:\\Data\\Alias"));
}

}  // namespace
}  // namespace cv::test
