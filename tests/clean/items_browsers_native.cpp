#include <gtest/gtest.h>

#include "browsers_fixture.h"

namespace cv::test {
namespace {

using Urls = std::vector<std::pair<std::string, std::string>>;

class OtherBrowsersTest : public ::testing::Test, public BrowsersFixture {
 protected:
  OtherBrowsersTest() { AddBrowserProfiles(); }

  static std::string Chrome(std::string_view name) {
    return Local("Google\\Chrome\\User Data\\Default\\" + std::string(name));
  }
  std::string ConfigIni() { return Maxthon("SharedAccount\\Config\\Config.ini"); }
  std::string ReadHostFile(const std::string& path) {
    std::string text;
    env.files.ReadFile(path, text);
    return text;
  }
};

TEST_F(OtherBrowsersTest, AolExplorerRepeatsTheInternetExplorerSteps) {
  WriteKeepFile("\\keepurl.dat", "http://one.example/\r\nhttp://two.example/\r\n");
  WriteKeepFile("\\keepcook.dat", Cookies("tester@kept[1].txt") + "\r\n");
  history.AddUrl("http://seen.example/", "", 0);
  for (const char* key : {"Address", "cookies", "cache", "history"}) Select("AOL", key);
  const auto before = Snapshot();
  const std::set<std::string> gone = {Cookies("tester@alpha[1].txt"),
                                      Cookies("tester@case[1].txt"),
                                      Cookies("index.dat"),
                                      Local("TIF\\Content.IE5\\index.dat"),
                                      Local("TIF\\Content.IE5\\AB12\\logo[1].png"),
                                      Local("TIF\\desktop.ini")};

  const RunResult preview = RunBrowsers(EraseMode::Preview);
  ExpectOnlyRemoved(before, {});
  EXPECT_EQ(history.entries.size(), 1u);

  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_EQ(TypedUrls(), (Urls{{"url1", "http://one.example/"}, {"url2", "http://two.example/"}}));
  EXPECT_TRUE(history.entries.empty()) << "cleared on Windows 6 too";
  EXPECT_EQ(result.registryKeysCleaned, 13 + 15);
  EXPECT_EQ(result.bytesReleased, SizeOf(before, gone) + 500000);
  EXPECT_EQ(preview.bytesReleased, result.bytesReleased);
  EXPECT_EQ(Started(), (std::vector<std::string>{"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ",
                                                 "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 1"}));
}

TEST_F(OtherBrowsersTest, MsnExplorerErasesOnlyItsUserList) {
  for (const char* key : {"Location", "cookies", "cache", "history"}) Select("MSN", key);
  const auto before = Snapshot();
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, {});
  EXPECT_FALSE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\MSN6\\Users"));
  EXPECT_TRUE(KeyExists(kHkeyCurrentUser, "Software\\Microsoft\\MSN6\\Settings"));
  EXPECT_EQ(result.registryKeysCleaned, 3);
  EXPECT_EQ(result.bytesReleased, 500000);
  EXPECT_EQ(recorder.ItemRows().size(), 4u);
}

TEST_F(OtherBrowsersTest, MaxthonItemsUnderTheRegisteredInstallFolder) {
  for (const char* key : {"keywords", "groups", "folder"}) Set("Maxthon", key, "1");
  Set("Maxthon", "pages", "01");  // compared as a number
  Set("Maxthon", "settings", " 1");
  const auto before = Snapshot();
  const std::set<std::string> gone = {
      Maxthon("SharedAccount\\Data\\Dynamic.ini"),     ConfigIni(),
      Maxthon("SharedAccount\\Data\\history2.dat"),    Maxthon("SharedAccount\\Data\\LastSession.ini"),
      Maxthon("SharedAccount\\Data\\TmpSession.ini"),  Maxthon("SharedAccount\\Downloads\\d.zip"),
      Maxthon("SharedAccount\\Downloads\\more\\e.zip")};

  const RunResult preview = RunBrowsers(EraseMode::Preview);
  ExpectOnlyRemoved(before, {});
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_TRUE(Exists(Maxthon("SharedAccount\\Downloads")));
  EXPECT_FALSE(Exists(Maxthon("SharedAccount\\Downloads\\more")));
  // Config.ini (edited by item 47 first, then deleted by item 48) counts once.
  const double configAfterEdit =
      static_cast<double>(std::string("[General]\r\nHome=about:blank\r\n[Window]\r\nMax=1\r\n").size());
  std::set<std::string> counted = gone;
  counted.erase(ConfigIni());
  EXPECT_EQ(result.bytesReleased, SizeOf(before, counted) + configAfterEdit);
  EXPECT_EQ(recorder.ItemRows().size(), 5u);
  EXPECT_EQ(recorder.ItemRows()[1].item, recorder.ItemRows()[4].item);
}

TEST_F(OtherBrowsersTest, MaxthonTypedUrlsRemovesOnlyThatSection) {
  Set("Maxthon", "keywords", "1");
  const auto before = Snapshot();
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, {}, {ConfigIni()});
  EXPECT_EQ(ReadHostFile(ConfigIni()), "[General]\r\nHome=about:blank\r\n[Window]\r\nMax=1\r\n");
  EXPECT_EQ(result.bytesReleased, 0);
  EXPECT_EQ(result.registryKeysCleaned, 0);
}

TEST_F(OtherBrowsersTest, MaxthonNotInstalledOrHostileLocationErasesNothingElse) {
  for (const char* key : {"keywords", "pages", "settings", "groups", "folder"}) Set("Maxthon", key, "1");
  ImportRegText(env.registry,
                "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                "Uninstall\\Maxthon2]\r\n\"InstallLocation\"=-\r\n");
  // What a relative "Error\..." path would reach if it were resolved against the current folder.
  Put("C:\\Error\\SharedAccount\\Data\\Dynamic.ini", 5);
  Put("C:\\Error\\SharedAccount\\Downloads\\x.zip", 5);
  auto before = Snapshot();
  RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, {});
  EXPECT_EQ(result.bytesReleased, 0);
  ASSERT_EQ(recorder.ItemRows().size(), 5u);
  for (const auto& row : recorder.ItemRows()) EXPECT_EQ(row.status, "Done");

  SetString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Maxthon2", "InstallLocation",
            "C:\\");
  Put("C:\\config.ini", 7);
  Put("C:\\Dynamic.ini", 7);
  Put("C:\\SharedAccount\\Data\\Dynamic.ini", 8);
  Put("C:\\SharedAccount\\Data\\notes.txt", 9);
  before = Snapshot();
  result = RunBrowsers();
  ExpectOnlyRemoved(before, {"C:\\SharedAccount\\Data\\Dynamic.ini"});
  EXPECT_EQ(result.bytesReleased, 8);
}

TEST_F(OtherBrowsersTest, ChromeItemsAndTheirSharedHistoryFiles) {
  for (const char* key : {"download", "Cookies", "Cache", "History", "Forms", "Session"}) Select("Chrome", key);
  const auto before = Snapshot();
  const std::set<std::string> gone = {Chrome("History"),
                                      Chrome("Extensions\\ext1\\History"),
                                      Chrome("Cookies"),
                                      Chrome("Cache\\data_1"),
                                      Chrome("Cache\\Nested\\f_000001"),
                                      Chrome("Last Session"),
                                      Chrome("Current Session"),
                                      Chrome("Top Sites")};  // "Web Data" loses rows only
  const RunResult preview = RunBrowsers(EraseMode::Preview);
  ExpectOnlyRemoved(before, {});
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_TRUE(Exists(Chrome("Cache\\Nested")));
  EXPECT_EQ(result.bytesReleased, SizeOf(before, gone));
  EXPECT_EQ(preview.bytesReleased, result.bytesReleased);
}

TEST_F(OtherBrowsersTest, ChromeDownloadAndFormItemsNeverTakeTheirWholeDatabases) {
  for (const char* key : {"download", "Forms"}) Select("Chrome", key);
  const auto before = Snapshot();
  RunBrowsers();
  ExpectOnlyRemoved(before, {});  // the history and the saved cards, addresses and search engines stay
  EXPECT_TRUE(Exists(Chrome("History")) && Exists(Chrome("Web Data")));
}

TEST_F(OtherBrowsersTest, SafariItemsRemoveTheirNamedFiles) {
  for (const char* key :
       {"History", "pages", "Cache", "Cookies", "download", "Autocomplete", "Images", "RecentSearches"})
    Select("Safari", key);
  const auto before = Snapshot();
  std::set<std::string> gone = {Local("Apple Computer\\Safari\\History\\h1.dat"),
                                Local("Apple Computer\\Safari\\Cache.db"),
                                Local("Apple Computer\\Safari\\WebpageIcons.db"),
                                Local("Apple Computer\\Safari\\Webpage Previews\\p1.png"),
                                Roaming("Apple Computer\\Safari\\Cookies\\Cookies.plist"),
                                Roaming("Apple Computer\\Safari\\Preferences\\keychain.plist"),
                                Roaming("Apple Computer\\Preferences\\com.apple.Safari.plist")};
  for (const char* name :
       {"History.plist", "LastSession.plist", "TopSites.plist", "Downloads.plist", "Form Values.plist"})
    gone.insert(Roaming(std::string("Apple Computer\\Safari\\") + name));
  const RunResult result = RunBrowsers();
  ExpectOnlyRemoved(before, gone);
  EXPECT_TRUE(Exists(Local("Apple Computer\\Safari\\History\\sub\\h2.dat"))) << "only the folder's own files";
  EXPECT_EQ(result.bytesReleased, SizeOf(before, gone));
}

}  // namespace
}  // namespace cv::test
