#include <gtest/gtest.h>

#include "browsers_fixture.h"

namespace cv::test {
namespace {

using Urls = std::vector<std::pair<std::string, std::string>>;

class IeItemsTest : public ::testing::Test, public BrowsersFixture {
 protected:
  IeItemsTest() { AddBrowserProfiles(); }
};

TEST_F(IeItemsTest, TypedUrlsHoldExactlyTheKeptUrlsInKeepListOrder) {
  WriteKeepFile("\\keepurl.dat", "http://c.example/\r\nhttp://a.example/   \r\nhttp://b.example/\r\n");
  Select("EXPLORER", "location");

  RunBrowsers(EraseMode::Preview);
  EXPECT_EQ(TypedUrls().size(), 3u) << "preview writes nothing";
  EXPECT_EQ(TypedUrls()[2].second, "http://old-five.example/");

  const RunResult result = RunBrowsers();
  EXPECT_EQ(TypedUrls(),
            (Urls{{"url1", "http://c.example/"}, {"url2", "http://a.example/"}, {"url3", "http://b.example/"}}));
  EXPECT_EQ(result.registryKeysCleaned, 3);
  EXPECT_EQ(result.bytesReleased, 0);
}

TEST_F(IeItemsTest, EmptyOrMissingKeepListLeavesAnEmptyTypedUrlsKey) {
  Select("EXPLORER", "location");
  RunBrowsers();
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\TypedURLs"));
  EXPECT_TRUE(TypedUrls().empty());

  WriteKeepFile("\\keepurl.dat", "");
  ImportRegText(env.registry,
                "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs]\r\n"
                "\"url1\"=\"http://again.example/\"\r\n");
  RunBrowsers();
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\TypedURLs"));
  EXPECT_TRUE(TypedUrls().empty());
}

TEST_F(IeItemsTest, CookiesSparedOnlyByExactFullPath) {
  WriteKeepFile("\\keepcook.dat",
                Cookies("tester@kept[1].txt") + "\r\n" + Roaming("COOKIES\\tester@case[1].txt") + "\r\n");
  env.files.SetAttributes(Cookies("tester@alpha[1].txt"), kAttrHidden | kAttrReadOnly);
  Select("EXPLORER", "cookies");
  const auto before = Snapshot();
  const std::set<std::string> gone = {Cookies("tester@alpha[1].txt"), Cookies("tester@case[1].txt"),
                                      Cookies("index.dat")};

  const RunResult preview = RunBrowsers(EraseMode::Preview);
  ExpectOnlyRemoved(before, {});
  EXPECT_EQ(env.files.Stat(Cookies("tester@alpha[1].txt"))->attributes & kAttrHidden, kAttrHidden)
      << "preview changes no attribute";

  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_EQ(result.bytesReleased, SizeOf(before, gone));
  EXPECT_EQ(preview.bytesReleased, result.bytesReleased);
}

TEST_F(IeItemsTest, HistoryClearsTheStoreBeforeWindows6AndStartsTheCommandOn6) {
  history.AddUrl("http://seen.example/", "Seen", 0);
  Select("EXPLORER", "history");
  values.WindowsVersion = "6.1";
  RunResult result = RunBrowsers();
  EXPECT_EQ(history.entries.size(), 1u);
  EXPECT_EQ(Started(), std::vector<std::string>{"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 1"});
  EXPECT_EQ(env.shell.started.at(0).show, ShowMode::Minimized);
  EXPECT_EQ(result.registryKeysCleaned, 15);
  EXPECT_EQ(result.bytesReleased, 500000);

  values.WindowsVersion = "5.1";
  RunBrowsers(EraseMode::Preview);
  EXPECT_EQ(history.entries.size(), 1u) << "preview leaves the store";
  result = RunBrowsers();
  EXPECT_TRUE(history.entries.empty());
  EXPECT_EQ(Started().size(), 1u);
  result = RunBrowsers();  // already empty: still counted
  EXPECT_EQ(result.registryKeysCleaned, 15);
  EXPECT_EQ(result.bytesReleased, 500000);
}

TEST_F(IeItemsTest, DownloadItemsOnlyOnIe9) {
  Select("EXPLORER", "downloaded");
  Select("EXPLORER", "downloadedhistory");
  const auto before = Snapshot();
  RunBrowsers();
  ASSERT_EQ(recorder.ItemRows().size(), 2u);
  EXPECT_EQ(recorder.ItemRows()[0].status, "Only Support IE9.");
  EXPECT_EQ(recorder.ItemRows()[1].status, "Only Support IE9.");
  ExpectOnlyRemoved(before, {});

  values.IeMajorVersion = 9;
  const RunResult result = RunBrowsers();
  EXPECT_EQ(recorder.ItemRows()[0].status, "Done");
  EXPECT_EQ(recorder.ItemRows()[1].status, "Done");
  ExpectOnlyRemoved(before, {Profile("Downloads\\setup.exe")});
  EXPECT_TRUE(Exists(Profile("Downloads")));
  EXPECT_EQ(result.bytesReleased, 900);
}

TEST_F(IeItemsTest, IndexFilesGoAtRestartWithTheirOwnStatus) {
  Select("EXPLORER", "index");
  const auto before = Snapshot();
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, {});
  EXPECT_EQ(env.files.PendingRebootDeletes(),
            (std::vector<std::string>{Local("TIF\\Content.IE5\\index.dat"), Local("History\\History.IE5\\index.dat"),
                                      Cookies("index.dat")}));
  ASSERT_EQ(recorder.ItemRows().size(), 1u);
  EXPECT_EQ(recorder.ItemRows()[0].status, "Need to reboot your computer!");
  EXPECT_EQ(result.bytesReleased, 3500000);
}

TEST_F(IeItemsTest, CacheFavoritesInprivateAndAddons) {
  for (const char* key : {"cache", "favorites", "inprivate", "addons"}) Select("EXPLORER", key);
  const auto before = Snapshot();
  const std::set<std::string> gone = {Local("TIF\\Content.IE5\\index.dat"),
                                      Local("TIF\\Content.IE5\\AB12\\logo[1].png"),
                                      Local("TIF\\desktop.ini"),
                                      Profile("Favorites\\Links\\Web.url"),
                                      Profile("Favorites\\News.url"),
                                      Profile("PrivacIE\\index.dat")};
  const RunResult preview = RunBrowsers(EraseMode::Preview);
  ExpectOnlyRemoved(before, {});
  EXPECT_TRUE(Started().empty()) << "preview starts nothing";

  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_TRUE(Exists(Profile("Favorites")));
  EXPECT_FALSE(Exists(Profile("Favorites\\Links")));
  EXPECT_TRUE(Exists(Local("TIF\\Content.IE5\\AB12"))) << "the cache keeps its folders";
  EXPECT_EQ(result.bytesReleased, SizeOf(before, gone) + 500000);
  EXPECT_EQ(preview.bytesReleased, result.bytesReleased);
  EXPECT_EQ(result.registryKeysCleaned, 15);
  EXPECT_EQ(Started(), (std::vector<std::string>{"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ",
                                                 "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351"}));

  values.IeMajorVersion = 6;  // no commands, no InPrivate folder, no add-on counts
  env.shell.started.clear();
  Put(Profile("PrivacIE\\index.dat"), 50);
  const RunResult old = RunBrowsers();
  EXPECT_TRUE(Started().empty());
  EXPECT_TRUE(Exists(Profile("PrivacIE\\index.dat")));
  EXPECT_EQ(old.registryKeysCleaned, 0);
}

TEST_F(IeItemsTest, AutocompleteByCommandsOnIe7AndLater) {
  Select("EXPLORER", "autocomplete");
  const RunResult result = RunBrowsers();
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\Other"));
  EXPECT_FALSE(KeyExists(kHkeyUsers, ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms"));
  EXPECT_EQ(result.registryKeysCleaned, 9);
  EXPECT_EQ(Started(), (std::vector<std::string>{"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 16",
                                                 "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 32"}));
  EXPECT_TRUE(keys.sent.empty());
  EXPECT_EQ(keys.focusReturned, 1);
}

TEST_F(IeItemsTest, AutocompleteOnIe6DrivesOnlyTheDialogItOpened) {
  values.IeMajorVersion = 6;
  Select("EXPLORER", "autocomplete");
  RunBrowsers(EraseMode::Preview);
  EXPECT_TRUE(keys.sent.empty()) << "preview sends no keys";

  RunBrowsers();
  ASSERT_EQ(env.shell.started.size(), 1u);
  EXPECT_EQ(env.shell.started[0].commandLine, "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,3");
  EXPECT_EQ(env.shell.started[0].show, ShowMode::Hidden);
  std::vector<std::string> sent;
  for (const auto& key : keys.sent) sent.push_back(key.key);
  EXPECT_EQ(sent, (std::vector<std::string>{"{U}", "{C}", "{ENTER}", "{ESC}", "{ESC}"}));

  keys.sent.clear();
  keys.foregroundProcess = 1;  // some other program's window is in front
  RunBrowsers();
  EXPECT_TRUE(keys.sent.empty());

  env.shell.failingPrograms.push_back("rundll32.exe");
  keys.foregroundProcess = 0;
  RunBrowsers();
  EXPECT_TRUE(keys.sent.empty()) << "no dialog, no keys";
}

TEST_F(IeItemsTest, HostileShellFoldersEraseNothingOutsideTheirFolders) {
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Cookies",
            "%USERPROFILE%");
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
            "Favorites", "C:\\");
  SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Cache",
            "%USERPROFILE%\\..");
  Put(Profile("ntuser.txt"), 10);
  Put(Profile("NTUSER.DAT"), 10);
  for (const char* key : {"cookies", "favorites", "cache"}) Select("EXPLORER", key);
  Select("AOL", "cookies");
  const auto before = Snapshot();
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, {});
  EXPECT_EQ(result.bytesReleased, 0);
  EXPECT_TRUE(recorder.HasRefused("Tester"));
}

}  // namespace
}  // namespace cv::test
