#include <gtest/gtest.h>

#include "items_run_fixture.h"

namespace cv::test {
namespace {

constexpr const char* kOutlookKeys[] = {"address", "accounts", "deleted",   "sent",      "outbox",
                                        "blocked", "created",  "mailrules", "newsrules", "signatures"};
constexpr const char* kMailKeys[] = {"Recently", "Signatures", "Block", "Safe", "mailrules", "newsrules", "accounts"};
constexpr const char* kIdentity =
    "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook Express\\5.0";

class MailItemsTest : public ::testing::Test, public ItemRunFixture {
 protected:
  std::string LocalAppData(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kLocalAppData) + "\\" + std::string(relative);
  }
};

TEST_F(MailItemsTest, SectionTotalsOnAnEmptySystem) {
  for (const char* key : kOutlookKeys) Select("outlook", key);
  RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 25);
  EXPECT_EQ(recorder.ItemRows().size(), 10u);

  ResetSelection();
  for (const char* key : kMailKeys) Select("mail", key);
  result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 50);
  ASSERT_EQ(recorder.ItemRows().size(), 7u);
  EXPECT_EQ(recorder.ItemRows()[1].item, "Windows Mail Signatures");
  EXPECT_EQ(result.bytesReleased, 0);
}

TEST_F(MailItemsTest, OutlookExpressRulesSignaturesAndMailboxes) {
  CreateKey(kHkeyCurrentUser, std::string(kIdentity) + "\\Rules\\Mail\\000");
  CreateKey(kHkeyCurrentUser, std::string(kIdentity) + "\\Rules\\News");
  CreateKey(kHkeyCurrentUser, std::string(kIdentity) + "\\signatures\\00000000");
  CreateKey(kHkeyCurrentUser, std::string(kIdentity) + "\\Mail");
  WriteFile(LocalAppData("Identities\\{ABC}\\Microsoft\\Outlook Express\\Sent Items.dbx"), "1234");
  WriteFile(LocalAppData("Identities\\{ABC}\\Microsoft\\Outlook Express\\Inbox.dbx"), "99");
  WriteFile(std::string(EmulatedPlatformFixture::kAppData) + "\\Microsoft\\Address Book\\Tester.WAB", "12345");
  for (const char* key : {"mailrules", "signatures", "sent", "address"}) Select("outlook", key);

  const RunResult result = DoRun();
  EXPECT_EQ(result.registryKeysCleaned, 10);
  EXPECT_EQ(result.bytesReleased, 9);
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, std::string(kIdentity) + "\\Rules\\Mail"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, std::string(kIdentity) + "\\Rules\\News"))
      << "the news rules belong to another item";
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, std::string(kIdentity) + "\\signatures"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, std::string(kIdentity) + "\\Mail"));
  EXPECT_TRUE(Exists(LocalAppData("Identities\\{ABC}\\Microsoft\\Outlook Express\\Inbox.dbx")));
}

TEST_F(MailItemsTest, WindowsMailSignaturesAndJunkLists) {
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail\\signatures\\00000000");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail\\Junk Mail\\Block Senders List");
  CreateKey(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail\\Junk Mail\\Safe Senders List");
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail", "Store Root", "C:\\Mail Store");
  Select("mail", "Signatures");
  Select("mail", "Block");
  DoRun();
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail\\signatures"));
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail\\Junk Mail\\Block Senders List"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail\\Junk Mail\\Safe Senders List"));
  EXPECT_TRUE(ValueExists(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail", "Store Root"));
}

TEST_F(MailItemsTest, AccountFilesInTheStoreFolderTree) {
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail", "Store Root", "  C:\\Mail Store  ");
  WriteFile("C:\\Mail Store\\Local Folders\\account{1}.oeaccount", "123");
  WriteFile("C:\\Mail Store\\deep\\er\\account{2}.OEACCOUNT", "1234");
  WriteFile("C:\\Mail Store\\Local Folders\\Inbox\\message.eml", "12345");
  Select("mail", "accounts");
  const RunResult result = DoRun();
  EXPECT_EQ(result.bytesReleased, 7);
  EXPECT_EQ(result.registryKeysCleaned, 0);
  EXPECT_FALSE(Exists("C:\\Mail Store\\Local Folders\\account{1}.oeaccount"));
  EXPECT_FALSE(Exists("C:\\Mail Store\\deep\\er\\account{2}.OEACCOUNT"));
  EXPECT_TRUE(Exists("C:\\Mail Store\\Local Folders\\Inbox\\message.eml"));
}

TEST_F(MailItemsTest, StoreRootIsExpandedAndAMissingOneErasesNothing) {
  // Relative paths resolve against the current folder (C:\).
  WriteFile("C:\\Error\\a.oeaccount", "1");
  WriteFile("C:\\%USERPROFILE%\\Mail\\b.oeaccount", "1");
  WriteFile("C:\\x.oeaccount", "1");
  WriteFile("C:\\Users\\Tester\\Mail\\c.oeaccount", "12");
  Select("mail", "accounts");
  EXPECT_EQ(DoRun().bytesReleased, 0);
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail", "Store Root", "%USERPROFILE%\\Mail");
  EXPECT_EQ(DoRun().bytesReleased, 2);
  EXPECT_FALSE(Exists("C:\\Users\\Tester\\Mail\\c.oeaccount"));
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail", "Store Root", "");
  EXPECT_EQ(DoRun().bytesReleased, 0);
  EXPECT_TRUE(Exists("C:\\Error\\a.oeaccount"));
  EXPECT_TRUE(Exists("C:\\%USERPROFILE%\\Mail\\b.oeaccount"));
  EXPECT_TRUE(Exists("C:\\x.oeaccount"));
}

}  // namespace
}  // namespace cv::test
