#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "clean/browser_db.h"
#include "clean/browser_profiles.h"
#include "clean/items_modern_browsers.h"
#include "platform/json.h"
#include "clean/run_items.h"
#include "keep/domain_keep_list.h"
#include "modern_browsers_fixture.h"
#include "platform/text.h"

namespace cv::test {
namespace {

class ModernBrowsersTest : public ::testing::Test, public ModernBrowsersFixture {
 protected:
  // The snapshot key of a path below the user profile folder.
  static std::string Key(std::string_view windowsPath) {
    std::string key(windowsPath.substr(std::string_view(EmulatedPlatformFixture::kUserProfile).size() + 1));
    std::replace(key.begin(), key.end(), '\\', '/');
    return key;
  }
  // Every entry of the snapshot at or below one of the given paths.
  static std::set<std::string> Under(const TreeSnapshot& tree, const std::vector<std::string>& paths) {
    std::set<std::string> found;
    for (const std::string& path : paths) {
      const std::string key = Key(path);
      for (const auto& [entry, content] : tree)
        if (entry == key || entry == key + "/" || entry.rfind(key + "/", 0) == 0) found.insert(entry);
    }
    return found;
  }
  static std::string ChromeProfile(std::string_view name, std::string_view relative) {
    return Local("Google\\Chrome\\User Data\\" + std::string(name) + "\\" + std::string(relative));
  }
  static std::string FirefoxProfile(std::string_view relative, bool local = false) {
    return (local ? Local("Mozilla\\Firefox\\Profiles\\abcd.default-release\\")
                  : Roaming("Mozilla\\Firefox\\Profiles\\abcd.default-release\\")) +
           std::string(relative);
  }
};

// Each kind removes exactly its own files and folders, in both profiles and,
// for the cache, in the user-data folder; databases change only where the
// kind edits rows. Preview changes nothing.
TEST_F(ModernBrowsersTest, ChromiumKindsRemoveExactlyTheirTraces) {
  struct Case {
    TraceKind kind;
    std::vector<std::string> gone;  // in each profile
    std::vector<std::string> changed;
  };
  const Case cases[] = {
      {TraceKind::kCache,
       {"Cache", "Code Cache", "GPUCache", "Service Worker\\CacheStorage", "Service Worker\\ScriptCache"},
       {}},
      {TraceKind::kHistory, {"History", "Visited Links", "Top Sites", "Top Sites-journal"}, {}},
      {TraceKind::kSessions, {"Current Session", "Sessions"}, {}},
      {TraceKind::kSiteStorage, {"Local Storage", "IndexedDB"}, {}},
      {TraceKind::kCookies, {}, {"Network\\Cookies"}},
      {TraceKind::kDownloads, {}, {"History"}},
      {TraceKind::kFormData, {}, {"Web Data"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(InfoOf(c.kind).name));
    std::filesystem::remove_all(env.files.HostPath(Local("Google")));
    AddChrome();
    const TreeSnapshot before = Snapshot();
    std::vector<std::string> gonePaths, changedPaths;
    for (const char* profile : {"Default", "Profile 1"}) {
      for (const std::string& g : c.gone) gonePaths.push_back(ChromeProfile(profile, g));
      for (const std::string& g : c.changed) changedPaths.push_back(ChromeProfile(profile, g));
    }
    if (c.kind == TraceKind::kCache)
      for (const char* shared : {"ShaderCache", "GrShaderCache"})
        gonePaths.push_back(Local("Google\\Chrome\\User Data\\" + std::string(shared)));

    EXPECT_EQ(CleanItem("Google Chrome", c.kind, EraseMode::Preview), "Done");
    ExpectOnlyRemoved(before, Snapshot(), {}, {}, true);

    EXPECT_EQ(CleanItem("Google Chrome", c.kind), "Done");
    const std::set<std::string> changed = Under(before, changedPaths);
    ExpectOnlyRemoved(before, Snapshot(), Under(before, gonePaths), changed, true);
    for (const std::string& db : changedPaths) EXPECT_EQ(IntegrityCheck(db), "ok") << db;
    if (c.kind == TraceKind::kDownloads) {
      const std::string history = ChromeProfile("Default", "History");
      EXPECT_EQ(Rows(history, "SELECT count(*) FROM urls"), std::vector<std::string>{"1"});
      EXPECT_EQ(Rows(history, "SELECT count(*) FROM downloads_url_chains"), std::vector<std::string>{"0"});
    }
  }
  // Form data leaves the rest of Web Data; no kind reaches the passwords.
  const std::string p = ChromeProfile("Default", "");
  EXPECT_EQ(Rows(p + "Web Data", "SELECT name_on_card FROM credit_cards"), std::vector<std::string>{"Me"});
  EXPECT_EQ(Rows(p + "Web Data", "SELECT count(*) FROM autofill"), std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(p + "Login Data", "SELECT origin_url FROM logins"), std::vector<std::string>{"https://a.example/"});
}

// Every browser finds its profiles where it keeps them on Windows and cleans
// their caches there.
TEST_F(ModernBrowsersTest, EachBrowserCleansTheCacheOfAProfileInItsOwnFolders) {
  struct Case {
    const char* browser;
    std::string profile;  // the folder holding the profile's marker
    std::string cache;    // a cache file of that profile
  };
  const std::string gx = "Opera Software\\Opera GX Stable";
  const Case cases[] = {
      {"Google Chrome", Local("Google\\Chrome\\User Data\\Default"), ""},
      {"Microsoft Edge", Local("Microsoft\\Edge\\User Data\\Profile 2"), ""},
      {"Brave", Local("BraveSoftware\\Brave-Browser\\User Data\\Default"), ""},
      {"Vivaldi", Local("Vivaldi\\User Data\\Default"), ""},
      {"Chromium", Local("Chromium\\User Data\\Default"), ""},
      {"Opera GX", Roaming(gx), Local(gx + "\\Cache\\Cache_Data\\f_1")},
      {"Mozilla Firefox", Roaming("Mozilla\\Firefox\\Profiles\\p.default"),
       Local("Mozilla\\Firefox\\Profiles\\p.default\\cache2\\entries\\E")},
      {"Waterfox", Roaming("Waterfox\\Profiles\\p.default"),
       Local("Waterfox\\Profiles\\p.default\\cache2\\entries\\E")},
      {"LibreWolf", Roaming("librewolf\\Profiles\\p.default"),
       Local("librewolf\\Profiles\\p.default\\cache2\\entries\\E")},
      {"Floorp", Roaming("Floorp\\Profiles\\p.default"), Local("Floorp\\Profiles\\p.default\\cache2\\entries\\E")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.browser);
    const bool firefox = !c.cache.empty() && c.cache.find("cache2") != std::string::npos;
    std::string cache = c.cache.empty() ? c.profile + "\\Cache\\Cache_Data\\f_1" : c.cache;
    WriteFile(c.profile + (firefox ? "\\prefs.js" : "\\Preferences"), "{}");
    if (firefox) {
      const std::string root = c.profile.substr(0, c.profile.rfind("\\Profiles\\"));
      WriteFile(root + "\\profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/p.default\r\n");
    }
    WriteFile(cache, "cached");
    EXPECT_EQ(CleanItem(c.browser, TraceKind::kCache), "Done");
    EXPECT_FALSE(Exists(cache));
    EXPECT_TRUE(Exists(c.profile + (firefox ? "\\prefs.js" : "\\Preferences")));
  }
}

// The cache item reaches every cache folder of today's layouts in every
// profile, listed or only on disk, and leaves bookmarks, passwords,
// preferences, cookies, history and site data as they were.
TEST_F(ModernBrowsersTest, CacheReachesEveryCacheOfEveryProfileInTodaysLayouts) {
  const std::string edge = Local("Microsoft\\Edge\\User Data");
  struct Case {
    const char* browser;
    std::function<void()> make;
    std::vector<std::string> gone;
  };
  std::vector<std::string> edgeGone = {edge + "\\ShaderCache", edge + "\\GrShaderCache"};
  for (const char* profile : {"Default", "Profile 1"})
    for (const char* cache :
         {"Cache", "Code Cache", "GPUCache", "Service Worker\\CacheStorage", "Service Worker\\ScriptCache"})
      edgeGone.push_back(edge + "\\" + profile + "\\" + cache);
  std::vector<std::string> firefoxGone;
  for (const char* profile : {"abcd.default-release", "efgh.work"})
    for (const char* cache : {"cache2", "startupCache", "shader-cache", "jumpListCache", "thumbnails"})
      firefoxGone.push_back(Local("Mozilla\\Firefox\\Profiles\\") + profile + "\\" + cache);
  const Case cases[] = {
      {"Microsoft Edge",
       [&] {
         // "Local State" lists only the first profile; the second is found on disk.
         WriteFile(edge + "\\Local State", R"({"profile": {"info_cache": {"Default": {"name": "Personal"}}}})");
         AddChromiumProfile(edge, "Default");
         AddChromiumProfile(edge, "Profile 1");
         WriteFile(edge + "\\ShaderCache\\data_0", "shader");
         WriteFile(edge + "\\GrShaderCache\\data_0", "gr");
         WriteFile(edge + "\\Crashpad\\settings.dat", "settings");
       },
       edgeGone},
      {"Mozilla Firefox", [&] { AddFirefox(); }, firefoxGone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.browser);
    c.make();
    const TreeSnapshot before = Snapshot();
    EXPECT_EQ(CleanItem(c.browser, TraceKind::kCache), "Done");
    ExpectOnlyRemoved(before, Snapshot(), Under(before, c.gone), {}, true);
    for (const std::string& cache : c.gone) EXPECT_FALSE(Under(before, {cache}).empty()) << cache << " not made";
  }
}

TEST_F(ModernBrowsersTest, OperaKeepsItsProfileInTheRoamingRootAndItsCacheInTheLocalOne) {
  const std::string roaming = Roaming("Opera Software\\Opera Stable");
  WriteFile(roaming + "\\Preferences", "{}");
  WriteFile(roaming + "\\History", "h");
  WriteFile(roaming + "\\Bookmarks", "{}");
  WriteFile(Local("Opera Software\\Opera Stable\\Cache\\Cache_Data\\f_1"), "cache");
  const TreeSnapshot before = Snapshot();
  EXPECT_EQ(CleanItem("Opera", TraceKind::kHistory), "Done");
  EXPECT_EQ(CleanItem("Opera", TraceKind::kCache), "Done");
  ExpectOnlyRemoved(before, Snapshot(),
                    Under(before, {roaming + "\\History", Local("Opera Software\\Opera Stable\\Cache")}), {}, true);
}

TEST_F(ModernBrowsersTest, FirefoxHistoryGoesAndBookmarkedPagesStayRowForRow) {
  AddFirefox();
  const std::string places = FirefoxProfile("places.sqlite");
  const auto bookmarks = Rows(places, "SELECT * FROM moz_bookmarks");
  const auto keywords = Rows(places, "SELECT * FROM moz_keywords");
  const auto annos = Rows(places, "SELECT * FROM moz_annos");
  const TreeSnapshot before = Snapshot();

  EXPECT_EQ(CleanItem("Mozilla Firefox", TraceKind::kHistory, EraseMode::Preview), "Done");
  ExpectOnlyRemoved(before, Snapshot(), {}, {}, true);
  EXPECT_EQ(RowsReported("[moz_historyvisits]"), 12) << "six visits in each of two profiles";
  EXPECT_EQ(RowsReported("[moz_places]"), 2) << "one page only history knew, in each profile";

  EXPECT_EQ(CleanItem("Mozilla Firefox", TraceKind::kHistory), "Done");
  const std::set<std::string> changed =
      Under(before, {places, Roaming("Mozilla\\Firefox\\Profiles\\efgh.work\\places.sqlite")});
  ExpectOnlyRemoved(before, Snapshot(), {}, changed, true);
  EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_inputhistory"), std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(places, "SELECT id, visit_count, last_visit_date FROM moz_places ORDER BY id"),
            (std::vector<std::string>{"1|0|NULL", "3|0|NULL", "4|0|NULL", "5|0|NULL"}));
  EXPECT_EQ(Rows(places, "SELECT * FROM moz_bookmarks"), bookmarks);
  EXPECT_EQ(Rows(places, "SELECT * FROM moz_keywords"), keywords);
  EXPECT_EQ(Rows(places, "SELECT * FROM moz_annos"), annos);
  EXPECT_EQ(IntegrityCheck(places), "ok");
  EXPECT_EQ(RowsReported("[moz_historyvisits]"), 12);
}

// The classic Firefox items on a profile of today's Firefox: history goes as
// rows, bookmarks and keywords stay; only the bookmarks item takes the file.
TEST_F(ModernBrowsersTest, ClassicFirefoxItemsKeepTheBookmarksUnlessAskedForThem) {
  const struct {
    std::vector<const char*> keys;
    bool fileGone;
  } cases[] = {{{"Address"}, false},
               {{"History"}, false},
               {{"Address", "History"}, false},
               {{"bookmarks"}, true},
               {{"History", "bookmarks"}, true}};
  const auto freshProfiles = [this] {
    std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kAppData));
    std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kLocalAppData));
    AddFirefox();
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys.front() + std::string(c.keys.size() > 1 ? " and more" : ""));
    ResetSelection();
    freshProfiles();
    const std::string places = FirefoxProfile("places.sqlite");
    const auto bookmarks = Rows(places, "SELECT * FROM moz_bookmarks");
    const auto keywords = Rows(places, "SELECT * FROM moz_keywords");
    // Enough visits to fill pages of their own, which the clean gives back inside the file.
    Sql(places,
        "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO moz_historyvisits SELECT i, 0, 2, i, 1, 0 FROM n");
    for (const char* key : c.keys) Select("FIREFOX", key);
    const RunResult result = DoRun();
    for (const auto& row : recorder.ItemRows()) EXPECT_EQ(row.status, "Done") << row.item;
    EXPECT_EQ(Exists(places), !c.fileGone);
    if (c.fileGone) continue;
    EXPECT_GE(result.bytesReleased, 3 * 4096) << "the pages the visits held";
    EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"0"});
    EXPECT_EQ(Rows(places, "SELECT * FROM moz_bookmarks"), bookmarks);
    EXPECT_EQ(Rows(places, "SELECT * FROM moz_keywords"), keywords);
    EXPECT_EQ(IntegrityCheck(places), "ok");
  }

  // A running Firefox is skipped; a database another program holds is left whole.
  freshProfiles();
  ResetSelection();
  Select("FIREFOX", "History");
  {
    auto held = env.files.LockFile(FirefoxProfile("parent.lock"));
    auto other = env.files.LockFile(Roaming("Mozilla\\Firefox\\Profiles\\efgh.work\\parent.lock"));
    DoRun();
    EXPECT_EQ(recorder.ItemRows().at(0).status, "Skipped: Mozilla Firefox is running");
  }
  const std::string places = FirefoxProfile("places.sqlite");
  const std::string visits = Rows(places, "SELECT count(*) FROM moz_historyvisits").at(0);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(env.files.HostPath(places).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  DoRun();
  EXPECT_NE(recorder.ItemRows().at(0).status.find("places.sqlite is locked, left untouched"), std::string::npos)
      << recorder.ItemRows().at(0).status;
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits").at(0), visits);
}

TEST_F(ModernBrowsersTest, FirefoxDownloadHistoryTakesOnlyDownloadedPages) {
  AddFirefox();
  const std::string places = FirefoxProfile("places.sqlite");
  EXPECT_EQ(CleanItem("Mozilla Firefox", TraceKind::kDownloads), "Done");
  EXPECT_EQ(Rows(places, "SELECT id FROM moz_places ORDER BY id"), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(Rows(places, "SELECT id FROM moz_annos"), std::vector<std::string>{"2"});
  EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"5"});
  EXPECT_EQ(IntegrityCheck(places), "ok");
}

TEST_F(ModernBrowsersTest, CookiesOfKeptDomainsAndTheirSubdomainsStay) {
  struct Case {
    std::string_view browser;
    std::string db;
    std::string query;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {"Google Chrome",
       ChromeProfile("Default", "Network\\Cookies"),
       "SELECT host_key FROM cookies ORDER BY rowid",
       {".kept.example", "www.kept.example"}},
      {"Mozilla Firefox",
       FirefoxProfile("cookies.sqlite"),
       "SELECT host FROM moz_cookies ORDER BY id",
       {".kept.example", "sub.kept.example"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.browser));
    for (const bool withList : {false, true}) {
      std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kAppData));
      std::filesystem::remove_all(env.files.HostPath(Local("Google")));
      AddChrome();
      AddFirefox();
      env.files.DeleteFile(ProgramFile("\\keepdomains.dat"), true);
      if (withList) KeepDomains("  Kept.Example \r\n\r\nhttps://other.example/path\r\n");
      EXPECT_EQ(CleanItem(c.browser, TraceKind::kCookies), "Done");
      EXPECT_EQ(Rows(c.db, c.query), withList ? c.kept : std::vector<std::string>{});
      EXPECT_EQ(IntegrityCheck(c.db), "ok");
    }
  }
}

TEST_F(ModernBrowsersTest, RunningBrowsersAreSkipped) {
  AddChrome();
  AddFirefox();
  WriteFile(Local("Google\\Chrome\\User Data\\lockfile"), "");
  const TreeSnapshot before = Snapshot();
  EXPECT_EQ(CleanItem("Google Chrome", TraceKind::kCache), "Skipped: Google Chrome is running");
  ExpectOnlyRemoved(before, Snapshot(), {}, {}, true);

  // A Firefox profile is in use while its lock file is held open; an idle
  // profile's lock file is just a file.
  auto held = env.files.LockFile(FirefoxProfile("parent.lock"));
  ASSERT_TRUE(held);
  EXPECT_EQ(CleanItem("Mozilla Firefox", TraceKind::kCache), "Done; 1 profile skipped: Mozilla Firefox is running");
  const TreeSnapshot after = Snapshot();
  EXPECT_TRUE(after.count(Key(FirefoxProfile("cache2\\entries\\ABCDEF", true))));
  EXPECT_FALSE(after.count(Key(Local("Mozilla\\Firefox\\Profiles\\efgh.work\\cache2\\entries\\ABCDEF"))));

  auto second = env.files.LockFile(Roaming("Mozilla\\Firefox\\Profiles\\efgh.work\\parent.lock"));
  EXPECT_EQ(CleanItem("Mozilla Firefox", TraceKind::kHistory), "Skipped: Mozilla Firefox is running");
}

TEST_F(ModernBrowsersTest, DatabasesThatCannotBeCleanedSafelyAreLeftUntouched) {
  struct Case {
    const char* name;
    std::function<void(ModernBrowsersTest&, const std::string&)> spoil;
    const char* why;
  };
  const Case cases[] = {
      {"not a database", [](ModernBrowsersTest& t, const std::string& db) { t.WriteFile(db, std::string(5000, 'x')); },
       "is not a database"},
      {"damaged",
       [](ModernBrowsersTest& t, const std::string& db) {
         t.Sql(db,
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
               "INSERT INTO moz_historyvisits (place_id, visit_date) SELECT 1, i FROM n");
         std::fstream file(t.env.files.HostPath(db), std::ios::in | std::ios::out | std::ios::binary);
         file.seekp(4096 * 3);
         const std::string junk(8192, '\xA5');
         file.write(junk.data(), junk.size());
       },
       "is damaged"},
      {"another schema",
       [](ModernBrowsersTest& t, const std::string& db) {
         t.env.files.DeleteFile(db, true);
         t.Sql(db, "CREATE TABLE notes (x TEXT); INSERT INTO notes VALUES ('keep me');");
       },
       "is not a history database"},
      {"pending journal",
       [](ModernBrowsersTest& t, const std::string& db) { t.WriteFile(db + "-journal", std::string(512, 'j')); },
       "has a pending journal"},
      {"link",
       [](ModernBrowsersTest& t, const std::string& db) {
         t.Sql("C:\\Outside\\places.sqlite", kPlacesSchema);
         t.Sql("C:\\Outside\\places.sqlite", "INSERT INTO moz_historyvisits (place_id) VALUES (1)");
         t.env.files.DeleteFile(db, true);
         std::filesystem::create_symlink(t.env.files.HostPath("C:\\Outside\\places.sqlite"), t.env.files.HostPath(db));
       },
       "is a link"},
      {"hard-linked database",
       [](ModernBrowsersTest& t, const std::string& db) {
         std::filesystem::create_hard_link(t.env.files.HostPath(db), t.env.files.HostPath("C:\\Outside\\copy"));
       },
       "has another name (a hard link)"},
      {"hard-linked write-ahead log",
       [](ModernBrowsersTest& t, const std::string& db) {
         t.WriteFile("C:\\Outside\\thesis.docx", "chapter one");
         std::filesystem::create_hard_link(t.env.files.HostPath("C:\\Outside\\thesis.docx"),
                                           t.env.files.HostPath(db + "-wal"));
       },
       "has a wal file that is not its own"},
      {"linked shared memory",
       [](ModernBrowsersTest& t, const std::string& db) {
         t.WriteFile("C:\\Outside\\thesis.docx", "chapter one");
         std::filesystem::create_symlink(t.env.files.HostPath("C:\\Outside\\thesis.docx"),
                                         t.env.files.HostPath(db + "-shm"));
       },
       "has a shm file that is not its own"},
      {"stored trigger",
       [](ModernBrowsersTest& t, const std::string& db) {
         t.Sql(db, "CREATE TRIGGER wipe AFTER DELETE ON moz_historyvisits BEGIN DELETE FROM moz_bookmarks; END");
       },
       "has unexpected triggers"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kAppData));
    AddFirefox();
    const std::string db = FirefoxProfile("places.sqlite");
    c.spoil(*this, db);
    const TreeSnapshot before = Snapshot();
    const std::string status = CleanItem("Mozilla Firefox", TraceKind::kHistory);
    EXPECT_NE(status.find(std::string("places.sqlite ") + c.why + ", left untouched"), std::string::npos) << status;
    const std::set<std::string> otherProfile =
        Under(before, {Roaming("Mozilla\\Firefox\\Profiles\\efgh.work\\places.sqlite")});
    ExpectOnlyRemoved(before, Snapshot(), {}, otherProfile, true);
  }
  EXPECT_EQ(Rows("C:\\Outside\\places.sqlite", "SELECT count(*) FROM moz_historyvisits"),
            std::vector<std::string>{"1"});
  std::string thesis;
  env.files.ReadFile("C:\\Outside\\thesis.docx", thesis);
  EXPECT_EQ(thesis, "chapter one");

  // Locked by another program's open transaction.
  std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kAppData));
  AddFirefox();
  const std::string db = FirefoxProfile("places.sqlite");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(env.files.HostPath(db).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  const std::string status = CleanItem("Mozilla Firefox", TraceKind::kHistory);
  EXPECT_NE(status.find("places.sqlite is locked, left untouched"), std::string::npos) << status;
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(Rows(db, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"6"});
}

// Hostile profile lists: folders outside the browser's own, protected ones
// and links are never cleaned, and the real profiles still are.
TEST_F(ModernBrowsersTest, HostileProfileListsCleanOnlyRealProfiles) {
  const std::string decoys[] = {"C:\\", EmulatedPlatformFixture::kUserProfile, EmulatedPlatformFixture::kAppData,
                                "C:\\Outside\\Linked", "C:\\Users\\Tester\\Documents"};
  struct Case {
    const char* name;
    std::string profilesIni;
  };
  const std::string legit = "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/abcd.default-release\r\n";
  const Case cases[] = {
      {"drive root", legit + "[Profile1]\r\nIsRelative=0\r\nPath=C:\\\r\n"},
      {"user profile", legit + "[Profile1]\r\nIsRelative=0\r\nPath=C:\\Users\\Tester\r\n"},
      {"documents", legit + "[Profile1]\r\nIsRelative=0\r\nPath=C:\\Users\\Tester\\Documents\r\n"},
      {"parent folders",
       legit + "[Profile1]\r\nIsRelative=1\r\nPath=..\\..\r\n[Profile2]\r\nPath=Profiles/../../..\r\n"},
      {"absolute as relative", legit + "[Profile1]\r\nIsRelative=1\r\nPath=C:\\Users\\Tester\\AppData\\Roaming\r\n"},
      {"a link", legit + "[Profile1]\r\nIsRelative=1\r\nPath=Profiles/linked\r\n"},
      {"garbage", legit + std::string("[Profile1]\r\nPath=\x01\xff\r\n=\r\n[[[\r\n", 24)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(env.files.HostPath("C:\\Outside"));
    std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kAppData));
    std::filesystem::remove_all(env.files.HostPath(EmulatedPlatformFixture::kLocalAppData));
    AddFirefox();
    WriteFile(Roaming("Mozilla\\Firefox\\profiles.ini"), c.profilesIni);
    for (const std::string& decoy : decoys) {
      WriteFile(decoy + (decoy.back() == '\\' ? "" : "\\") + "prefs.js", "//");
      WriteFile(decoy + (decoy.back() == '\\' ? "" : "\\") + "sessionstore.jsonlz4", "decoy");
    }
    std::filesystem::create_directory_symlink(env.files.HostPath("C:\\Outside\\Linked"),
                                              env.files.HostPath(Roaming("Mozilla\\Firefox\\Profiles\\linked")));
    const TreeSnapshot before = Snapshot();
    CleanItem("Mozilla Firefox", TraceKind::kSessions);
    // The unlisted "efgh.work" in Profiles is a profile all the same.
    const std::string unlisted = Roaming("Mozilla\\Firefox\\Profiles\\efgh.work\\");
    ExpectOnlyRemoved(before, Snapshot(),
                      Under(before, {FirefoxProfile("sessionstore.jsonlz4"), FirefoxProfile("sessionstore-backups"),
                                     unlisted + "sessionstore.jsonlz4", unlisted + "sessionstore-backups"}),
                      {}, true);
    EXPECT_TRUE(Exists("C:\\sessionstore.jsonlz4"));
    EXPECT_TRUE(Exists("C:\\Outside\\Linked\\sessionstore.jsonlz4"));
    EXPECT_TRUE(Exists("C:\\Users\\Tester\\Documents\\sessionstore.jsonlz4"));
  }
  // No profile list at all: the folders in Profiles are still found, a link among them is not followed.
  env.files.DeleteFile(Roaming("Mozilla\\Firefox\\profiles.ini"), true);
  EXPECT_EQ(CleanItem("Mozilla Firefox", TraceKind::kSessions),
            "Done; " + Roaming("Mozilla\\Firefox\\Profiles\\linked") + " is a link, not cleaned");
  EXPECT_TRUE(Exists("C:\\Outside\\Linked\\sessionstore.jsonlz4"));
}

TEST_F(ModernBrowsersTest, BadLocalStateFallsBackToTheProfileFolders) {
  const std::string root = Local("Google\\Chrome\\User Data");
  struct Case {
    const char* name;
    std::function<void()> write;
  };
  const Case cases[] = {
      {"not JSON", [&] { WriteFile(root + "\\Local State", "{\"profile\": {\"info_cache\": {\"Default\": "); }},
      {"100 MB",
       [&] {
         WriteFile(root + "\\Local State", "{");
         std::filesystem::resize_file(env.files.HostPath(root + "\\Local State"), 100u << 20);
       }},
      {"hostile names",
       [&] {
         WriteFile(root + "\\Local State",
                   R"({"profile": {"info_cache": {"..\\..": {}, "C:\\": {}, "..": {}, "Default": {}}}})");
       }},
      {"deep nesting", [&] { WriteFile(root + "\\Local State", std::string(200000, '[')); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(env.files.HostPath(Local("Google")));
    AddChrome();
    WriteFile(Local("Preferences"), "{}");
    WriteFile(Local("Cache\\decoy"), "decoy");
    c.write();
    const TreeSnapshot before = Snapshot();
    CleanItem("Google Chrome", TraceKind::kCache);
    const TreeSnapshot after = Snapshot();
    EXPECT_TRUE(after.count(Key(Local("Cache\\decoy"))));
    for (const char* profile : {"Default", "Profile 1"})
      EXPECT_FALSE(after.count(Key(ChromeProfile(profile, "Cache\\Cache_Data\\f_000001")))) << profile;
  }
}

TEST_F(ModernBrowsersTest, ProfilesFoundByListAndByNameAndNotThroughLinks) {
  const std::string root = Local("Vivaldi\\User Data");
  std::string list = "{\"profile\": {\"info_cache\": {";
  for (int i = 1; i <= 200; ++i) {
    const std::string name = i == 7 ? "Custom Seven" : "Profile " + std::to_string(i);
    list += (i > 1 ? ", \"" : "\"") + name + "\": {\"name\": \"n\\u00e9\"}";
    WriteFile(root + "\\" + name + "\\Preferences", "{}");
    WriteFile(root + "\\" + name + "\\Current Session", "s");
  }
  WriteFile(root + "\\Local State", list + "}}}");
  WriteFile(root + "\\Default\\Preferences", "{}");
  WriteFile(root + "\\Default\\Current Session", "s");
  WriteFile(root + "\\Not A Profile\\Preferences", "{}");
  WriteFile(root + "\\Not A Profile\\Current Session", "s");
  WriteFile("C:\\Outside\\Elsewhere\\Preferences", "{}");
  WriteFile("C:\\Outside\\Elsewhere\\Current Session", "s");
  std::filesystem::create_directory_symlink(env.files.HostPath("C:\\Outside\\Elsewhere"),
                                            env.files.HostPath(root + "\\Profile 201"));

  const std::string status = CleanItem("Vivaldi", TraceKind::kSessions);
  EXPECT_NE(status.find("Profile 201 is a link, not cleaned"), std::string::npos) << status;
  for (int i = 1; i <= 200; ++i)
    EXPECT_FALSE(Exists(root + "\\Profile " + std::to_string(i) + "\\Current Session")) << i;
  EXPECT_FALSE(Exists(root + "\\Custom Seven\\Current Session"));
  EXPECT_FALSE(Exists(root + "\\Default\\Current Session"));
  EXPECT_TRUE(Exists(root + "\\Not A Profile\\Current Session"));
  EXPECT_TRUE(Exists("C:\\Outside\\Elsewhere\\Current Session"));
}

TEST(JsonObjectKeysTest, ReadsOneObjectsMemberNamesAndRefusesAnythingElse) {
  using Keys = std::optional<std::vector<std::string>>;
  struct Case {
    std::string json;
    Keys keys;
  };
  const Case cases[] = {
      {R"({"profile": {"info_cache": {"Default": {}, "Profile 1": [1, 2.5e3, -0, true, null]}}})",
       std::vector<std::string>{"Default", "Profile 1"}},
      {"\xEF\xBB\xBF{\"profile\":{\"info_cache\":{\"\\u00e9\\ud83d\\ude00\\\"x\":1}}}",
       std::vector<std::string>{"\xC3\xA9\xF0\x9F\x98\x80\"x"}},
      {R"({"profile": {"info_cache": {}}})", std::vector<std::string>{}},
      {R"({"profile": {"info_cache": []}})", std::nullopt},
      {R"({"profile": {}})", std::nullopt},
      {R"({"profile": {"info_cache": {"a": 1}}} x)", std::nullopt},
      {R"({"profile": {"info_cache": {"a": 01}}})", std::nullopt},
      {R"({"profile": {"info_cache": {"a": "x	y"}}})", std::nullopt},
      {"", std::nullopt},
      {std::string(100000, '[') + std::string(100000, ']'), std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JsonObjectKeys(c.json, {"profile", "info_cache"}), c.keys) << c.json.substr(0, 80);
}

TEST(DomainKeepListTest, ADomainKeepsItselfAndItsSubdomainsOnly) {
  const DomainKeepList list(
      {"Example.COM", " *.bank.example. ", "https://mail.example.org/inbox", "", "bad entry", "*"});
  EXPECT_EQ(list.Domains(), (std::vector<std::string>{"example.com", "bank.example", "mail.example.org"}));
  const std::pair<const char*, bool> hosts[] = {
      {"example.com", true},     {".example.com", true},      {"WWW.Example.com", true},
      {"badexample.com", false}, {"example.com.evil", false}, {"a.b.bank.example", true},
      {"example.org", false},    {"mail.example.org", true},  {"", false},
  };
  for (const auto& [host, kept] : hosts) EXPECT_EQ(list.Keeps(host), kept) << host;
  EXPECT_FALSE(DomainKeepList().Keeps("example.com"));
}

// A cancel raised by the tick inside a long statement never unwinds through
// SQLite: the transaction ends whole and the stop waits for the run's next pump.
TEST_F(ModernBrowsersTest, ATickThatStopsTheRunLeavesTheDatabaseTransactionWhole) {
  AddFirefox();
  const std::string places = FirefoxProfile("places.sqlite");
  std::string visits = "BEGIN;";
  for (int i = 0; i < 5000; ++i)
    visits += "INSERT INTO moz_historyvisits (place_id, visit_date) VALUES (2, " + std::to_string(i) + ");";
  Sql(places, visits + "COMMIT;");
  struct Stop {};
  int ticks = 0;
  const std::function<void()> tick = [&ticks] {
    ++ticks;
    throw Stop{};
  };
  DatabaseCleanResult result;
  ASSERT_NO_THROW(result = CleanDatabaseRows(env.files, places, BrowserFamily::kFirefox, TraceAction::kHistoryRows,
                                             DomainKeepList{}, false, tick));
  EXPECT_GT(ticks, 0) << "the statements were too short to tick";
  EXPECT_EQ(result.untouchedBecause, "");
  EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"0"});
  EXPECT_EQ(IntegrityCheck(places), "ok");
}

TEST_F(ModernBrowsersTest, DomainKeepListWindowWritesEachChangeAtOnce) {
  const std::string file = ProgramFile("\\keepdomains.dat");
  DomainKeepListModel model(env.files, file);
  model.Load();
  using enum DomainKeepListModel::AddResult;
  EXPECT_EQ(model.Add(" https://Example.COM/login "), kAdded);
  EXPECT_EQ(model.Add("www.example.com"), kAlreadyListed);
  EXPECT_EQ(model.Add("no domain"), kNotADomain);
  EXPECT_EQ(model.Add("bank.example"), kAdded);
  std::string text;
  ASSERT_EQ(env.files.ReadFile(file, text), kOk);
  EXPECT_EQ(text, "example.com\r\nbank.example\r\n");
  EXPECT_TRUE(model.Remove({0, 7}));
  DomainKeepListModel reloaded(env.files, file);
  reloaded.Load();
  EXPECT_EQ(reloaded.Entries(), std::vector<std::string>{"bank.example"});
  ASSERT_EQ(env.files.SetAttributes(file, kAttrReadOnly), kOk);
  EXPECT_EQ(reloaded.Add("other.example"), kNotSaved);
  EXPECT_EQ(reloaded.Entries(), std::vector<std::string>{"bank.example"}) << "unchanged when the file was not written";
}

TEST(BrowserProfilesTest, JoinInsideStaysInsideItsBase) {
  const std::pair<const char*, const char*> cases[] = {
      {"Profiles/abc.default", "C:\\Root\\Profiles\\abc.default"},
      {"Profiles\\\\abc\\", "C:\\Root\\Profiles\\abc"},
      {"..\\..", ""},
      {"Profiles/../../x", ""},
      {".", ""},
      {"", ""},
      {"\\x", ""},
      {"C:\\x", ""},
      {"a:b", ""},
  };
  for (const auto& [relative, joined] : cases) EXPECT_EQ(JoinInside("C:\\Root", relative), joined) << relative;
}

}  // namespace
}  // namespace cv::test

namespace cv::test {
namespace {

class ModernBrowsersRunTest : public ::testing::Test, public ModernBrowsersFixture {};

// One item per browser and kind, each on a switch of its own that no
// built-in switch shares (sections match without regard to case).
TEST_F(ModernBrowsersRunTest, EveryBrowserAndKindIsAnItemWithItsOwnSwitch) {
  Platform services = platform();
  const std::vector<Item> items = ModernBrowserItems(services);
  EXPECT_EQ(items.size(), Browsers().size() * TraceKinds().size());
  std::set<std::string> switches, builtInSections;
  for (const RunItem& item : RunItems()) builtInSections.insert(AsciiLower(item.section));
  for (const Item& item : items) {
    EXPECT_TRUE(switches.insert(AsciiLower(item.section + "\\" + item.key)).second) << item.section << item.key;
    EXPECT_FALSE(builtInSections.count(AsciiLower(item.section))) << item.section;
    EXPECT_EQ(item.source, "browser");
    EXPECT_TRUE(item.action);
  }
}

TEST_F(ModernBrowsersRunTest, SelectedItemsRunInTheRunWithTheirOwnRows) {
  AddChrome();
  AddFirefox();
  Select("ModernChrome", "cache");
  Select("ModernFirefox", "history");
  const TreeSnapshot before = Snapshot();
  DoRun(EraseMode::Preview);
  std::vector<std::string> rows;
  for (const auto& row : recorder.ItemRows()) rows.push_back(row.item + "|" + row.status + "|" + row.source);
  EXPECT_EQ(rows,
            (std::vector<std::string>{"Google Chrome Cache|Done|browser", "Mozilla Firefox History|Done|browser"}));
  ExpectOnlyRemoved(before, Snapshot(), {}, {}, true);
  const RunResult result = DoRun();
  EXPECT_FALSE(Exists(Local("Google\\Chrome\\User Data\\Default\\Cache")));
  EXPECT_EQ(result.bytesReleased, 2 * (1000 + 4 + 3 + 2 + 2) + 6 + 2)
      << "the cache files of two profiles and the shader caches";
}

}  // namespace
}  // namespace cv::test
