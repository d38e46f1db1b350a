#include <gtest/gtest.h>

#include "items_run_fixture.h"

namespace cv::test {
namespace {

constexpr const char* kMessengerKeys[] = {"msnchat",   "msnfiles",    "yahoopage", "yahooprofiles", "yahoofiles",
                                          "yahoologs", "aolsettings", "aolnames",  "aolpassword",   "aolbuddy",
                                          "aollogs",   "icqsign",     "icquser",   "icqcontact",    "icqaccount",
                                          "icqfiles",  "icqsearch"};

class MessengerItemsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  std::string Docs(std::string_view relative) { return std::string(kDocuments) + "\\" + std::string(relative); }
  std::string AppData(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kAppData) + "\\" + std::string(relative);
  }
  std::string LocalAppData(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kLocalAppData) + "\\" + std::string(relative);
  }
};

TEST_F(MessengerItemsTest, AllSelectedOnAnEmptySystemCountTen) {
  for (const char* key : kMessengerKeys) Select("Messenger", key);
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 10);
  EXPECT_EQ(result.bytesReleased, 0);
  ASSERT_EQ(recorder.ItemRows().size(), 17u);
  EXPECT_EQ(recorder.ItemRows().front().item, "Windows Live Messenger chat log folder");
  EXPECT_EQ(recorder.ItemRows().back().item, "ICQ Toolbar search history");
  for (const auto& row : recorder.ItemRows()) EXPECT_EQ(row.status, "Done") << row.item;
}

TEST_F(MessengerItemsTest, DocumentsFolderItemsEraseFilesAndKeepFolders) {
  SetDocumentsFolder("%USERPROFILE%\\Documents");
  WriteFile(Docs("my chat logs\\alice.xml"), "12345");
  WriteFile(Docs("my chat logs\\2009\\bob.xml"), "123");
  WriteFile(Docs("AIMLogger\\log.html"), "1234567");
  WriteFile(Docs("kept.txt"), "x");
  Select("Messenger", "msnchat");
  Select("Messenger", "aollogs");

  const RunResult preview = DoRun(EraseMode::Preview);
  EXPECT_EQ(preview.bytesReleased, 15);
  EXPECT_TRUE(Exists(Docs("my chat logs\\alice.xml")));

  const RunResult result = DoRun();
  EXPECT_EQ(result.bytesReleased, 15);
  EXPECT_FALSE(Exists(Docs("my chat logs\\alice.xml")));
  EXPECT_FALSE(Exists(Docs("my chat logs\\2009\\bob.xml")));
  EXPECT_TRUE(Exists(Docs("my chat logs\\2009")));
  EXPECT_FALSE(Exists(Docs("AIMLogger\\log.html")));
  EXPECT_TRUE(Exists(Docs("kept.txt")));
}

TEST_F(MessengerItemsTest, UnreadableDocumentsLocationErasesNothing) {
  // A failed read is the text "Error"; as a relative path it would resolve
  // against the current folder, where these files lie.
  WriteFile("C:\\Error\\my chat logs\\a.txt", "abc");
  WriteFile("C:\\my chat logs\\b.txt", "abc");
  Select("Messenger", "msnchat");
  EXPECT_EQ(DoRun().bytesReleased, 0);
  SetDocumentsFolder("");
  EXPECT_EQ(DoRun().bytesReleased, 0);
  SetDocumentsFolder("   ");
  EXPECT_EQ(DoRun().bytesReleased, 0);
  EXPECT_TRUE(Exists("C:\\Error\\my chat logs\\a.txt"));
  EXPECT_TRUE(Exists("C:\\my chat logs\\b.txt"));
}

TEST_F(MessengerItemsTest, IcqReceivedFilesInAnyCaseAndDepthAreRemoved) {
  SetDocumentsFolder("%USERPROFILE%\\Documents");
  WriteFile(Docs("ICQ\\12345\\ReceivedFiles\\photo.jpg"), "1234");
  WriteFile(Docs("ICQ\\67890\\deep\\RECEIVEDFILES\\song.mp3"), "123456");
  WriteFile(Docs("ICQ\\67890\\other\\keep.txt"), "1");
  Select("Messenger", "icqfiles");
  EXPECT_EQ(DoRun().bytesReleased, 10);
  EXPECT_FALSE(Exists(Docs("ICQ\\12345\\ReceivedFiles")));
  EXPECT_FALSE(Exists(Docs("ICQ\\67890\\deep\\RECEIVEDFILES")));
  EXPECT_TRUE(Exists(Docs("ICQ\\67890\\other\\keep.txt")));
}

TEST_F(MessengerItemsTest, ItemsSharingATargetEraseItOnce) {
  WriteFile(AppData("ICQ\\user1\\Application.qdb"), "12345678");
  WriteFile(AppData("ICQ\\user1\\Messages.qdb"), "123");
  WriteFile(LocalAppData("AIM\\aimx.bin"), "1234");
  WriteFile(LocalAppData("AIM\\sub\\aimx.bin"), "1234");  // only directly in the folder
  for (const char* key : {"icqsign", "icqaccount", "aolnames", "aolpassword"}) Select("Messenger", key);

  const RunResult result = DoRun();
  EXPECT_EQ(result.bytesReleased, 12);
  ASSERT_EQ(recorder.ItemRows().size(), 4u);
  EXPECT_FALSE(Exists(AppData("ICQ\\user1\\Application.qdb")));
  EXPECT_TRUE(Exists(AppData("ICQ\\user1\\Messages.qdb")));
  EXPECT_FALSE(Exists(LocalAppData("AIM\\aimx.bin")));
  EXPECT_TRUE(Exists(LocalAppData("AIM\\sub\\aimx.bin")));
}

TEST_F(MessengerItemsTest, YahooSettingsProfilesAndInstallFolder) {
  SetString("HKEY_CURRENT_USER\\Software\\Yahoo\\pager", "Yahoo! User ID", "someone");
  SetString("HKEY_CURRENT_USER\\Software\\Yahoo\\pager", "Auto Login", "1");
  SetString("HKEY_CURRENT_USER\\Software\\Yahoo\\pager", "Other", "kept");
  SetString("HKEY_CURRENT_USER\\Software\\Yahoo\\pager\\profiles\\someone", "x", "y");
  SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\TypeLib\\{2B323CCC-50E3-11D3-9466-00A0C9700498}\\1.0\\HELPDIR", "",
            "  C:\\Yahoo\\Messenger\\ ");
  WriteFile("C:\\Yahoo\\Messenger\\Profiles\\someone\\archive.dat", "123456");
  WriteFile("C:\\Yahoo\\Messenger\\keep.dll", "1");
  WriteFile("C:\\Program Files\\Yahoo!\\Messenger\\Cache\\a.gif", "12");
  WriteFile("C:\\Program Files\\Yahoo!\\Messenger\\logs\\b.log", "123");
  for (const char* key : {"yahoopage", "yahooprofiles", "yahoofiles", "yahoologs"}) Select("Messenger", key);

  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 7);
  EXPECT_EQ(result.bytesReleased, 11);
  EXPECT_FALSE(ValueExists(kHkeyCurrentUser, "Software\\Yahoo\\pager", "Yahoo! User ID"));
  EXPECT_FALSE(ValueExists(kHkeyCurrentUser, "Software\\Yahoo\\pager", "Auto Login"));
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, "Software\\Yahoo\\pager", "Other"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Yahoo\\pager\\profiles"));
  EXPECT_FALSE(Exists("C:\\Yahoo\\Messenger\\Profiles\\someone\\archive.dat"));
  EXPECT_TRUE(Exists("C:\\Yahoo\\Messenger\\keep.dll"));
}

TEST_F(MessengerItemsTest, MissingYahooHelpFolderErasesNoFiles) {
  WriteFile("C:\\ErrorProfiles\\x.dat", "123");
  WriteFile("C:\\Profiles\\y.dat", "123");
  Select("Messenger", "yahooprofiles");
  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 5);
  EXPECT_EQ(result.bytesReleased, 0);
  EXPECT_TRUE(Exists("C:\\ErrorProfiles\\x.dat"));
  EXPECT_TRUE(Exists("C:\\Profiles\\y.dat"));
}

}  // namespace
}  // namespace cv::test
