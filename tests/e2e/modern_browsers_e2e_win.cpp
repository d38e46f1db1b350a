// End to end under Wine: today's browsers previewed and cleaned through
// clearvane-cli.exe on a sandbox profile: three Chromium browsers with two
// profiles each and Firefox with two profiles, one of them in use (its
// "parent.lock" held open by this test, as a running Firefox holds it). The
// databases are made here with the built-in SQLite; after the clean exactly
// the named traces are gone, kept domains' cookies, bookmarks and passwords
// remain row for row, and every changed database passes its integrity check.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "clean/browser_model.h"
#include "clean/run_items.h"
#include "e2e_support_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"
#include "tree_compare.h"

namespace cv {
namespace {

using e2e::Captured;
using e2e::RunCapturing;
using Snapshot = std::map<std::string, std::string>;

constexpr const char* kChromiumBrowsers[] = {"Google\\Chrome", "Microsoft\\Edge", "BraveSoftware\\Brave-Browser"};
constexpr const char* kChromiumSections[] = {"ModernChrome", "ModernEdge", "ModernBrave"};
constexpr const char* kSelectedKinds[] = {"cache", "cookies", "history"};

// Every one of the 140 switches "0"; cache, cookies and history of the four
// browsers "1".
std::string SelectionFile() {
  std::string text = e2e::BuiltInItemsOff();
  std::vector<std::string> selected(std::begin(kChromiumSections), std::end(kChromiumSections));
  selected.push_back("ModernFirefox");
  for (const std::string& section : selected) {
    text += "[" + section + "]\r\n";
    for (const char* kind : kSelectedKinds) text += std::string(kind) + "=1\r\n";
  }
  return text;
}

class ModernBrowsersEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    disk_ = test::MakeFileSystemFixture();
    root_ = disk_->Root();
    program_ = disk_->Path("Clearvane");
    roaming_ = disk_->Path("Profile\\AppData\\Roaming");
    local_ = disk_->Path("Profile\\AppData\\Local");
    ASSERT_NO_FATAL_FAILURE(e2e::InstallProgram(*disk_, program_, SelectionFile()));
    ASSERT_TRUE(disk_->WriteFile(program_ + "\\keepdomains.dat", "kept.example\r\n"));
    ASSERT_NO_FATAL_FAILURE(e2e::RedirectUserFolders(*disk_, roaming_, local_, backup_));
    for (const char* browser : kChromiumBrowsers) {
      const std::string userData = local_ + "\\" + browser + "\\User Data";
      Put(userData + "\\Local State", R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
      for (const char* profile : {"Default", "Profile 1"})
        ASSERT_NO_FATAL_FAILURE(AddChromiumProfile(userData + "\\" + profile));
    }
    Put(roaming_ + "\\Mozilla\\Firefox\\profiles.ini",
        "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/"
        "abc.default\r\n\r\n"
        "[Profile1]\r\nName=busy\r\nIsRelative=1\r\nPath=Profiles/"
        "xyz.busy\r\n");
    for (const char* profile : {"abc.default", "xyz.busy"}) ASSERT_NO_FATAL_FAILURE(AddFirefoxProfile(profile));
    // The busy profile's lock, held as a running Firefox holds it: open, shared
    // with no one.
    lock_.reset(::CreateFileW(win32::Widen(FirefoxProfile("xyz.busy", "parent.lock")).c_str(),
                              GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    ASSERT_TRUE(lock_) << ::GetLastError();
  }

  void TearDown() override {
    lock_.reset();
    backup_.reset();
  }

  void Put(const std::string& path, const std::string& text) {
    for (size_t cut = path.find('\\', root_.size() + 1); cut != std::string::npos; cut = path.find('\\', cut + 1))
      if (!e2e::Exists(path.substr(0, cut))) {
        ASSERT_TRUE(disk_->MakeFolder(path.substr(0, cut)));
      }
    ASSERT_TRUE(disk_->WriteFile(path, text));
  }
  void Sql(const std::string& path, const std::string& sql) {
    ASSERT_NO_FATAL_FAILURE(Put(path, ""));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK) << path;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << path << sqlite3_errmsg(db);
    sqlite3_close(db);
  }
  std::vector<std::string> Rows(const std::string& path, const std::string& sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK)
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        rows.push_back(text ? text : "NULL");
      }
    else
      ADD_FAILURE() << path << ": " << sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
  }

  void AddChromiumProfile(const std::string& p) {
    Put(p + "\\Preferences", "{}");
    Put(p + "\\Bookmarks", "{\"roots\": {}}");
    Put(p + "\\Cache\\Cache_Data\\f_000001", std::string(3000, 'c'));
    Put(p + "\\Code Cache\\js\\index", "code");
    Put(p + "\\History", "history of " + p);
    Put(p + "\\Top Sites", "top sites");
    Sql(p + "\\Network\\Cookies",
        "CREATE TABLE cookies (host_key TEXT, name TEXT);"
        "INSERT INTO cookies VALUES ('.kept.example', 'a'), "
        "('www.kept.example', 'b'),"
        " ('.tracker.example', 'c');");
    Sql(p + "\\Login Data",
        "CREATE TABLE logins (origin_url TEXT); INSERT "
        "INTO logins VALUES ('https://a.example/');");
  }

  std::string FirefoxProfile(const std::string& profile, const std::string& name) const {
    return roaming_ + "\\Mozilla\\Firefox\\Profiles\\" + profile + "\\" + name;
  }
  std::string FirefoxCache(const std::string& profile) const {
    return local_ + "\\Mozilla\\Firefox\\Profiles\\" + profile + "\\cache2";
  }

  void AddFirefoxProfile(const std::string& profile) {
    Put(FirefoxProfile(profile, "prefs.js"), "// prefs");
    Put(FirefoxProfile(profile, "logins.json"), "{\"logins\": []}");
    Put(FirefoxCache(profile) + "\\entries\\ABC", std::string(2000, 'e'));
    Sql(FirefoxProfile(profile, "places.sqlite"),
        "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT, "
        "visit_count INTEGER, last_visit_date INTEGER,"
        " foreign_count INTEGER NOT NULL DEFAULT 0);"
        "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, place_id "
        "INTEGER, visit_date INTEGER, visit_type INTEGER);"
        "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk "
        "INTEGER, parent INTEGER, title TEXT);"
        "INSERT INTO moz_places VALUES (1, 'https://bookmarked.example/', 2, "
        "10, 1), (2, 'https://seen.example/', 1, 20, 0);"
        "INSERT INTO moz_historyvisits VALUES (1, 1, 5, 1), (2, 1, 10, 1), (3, "
        "2, 20, 1);"
        "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 'root'), (2, 1, 1, "
        "1, 'Bookmarked');");
    Sql(FirefoxProfile(profile, "cookies.sqlite"),
        "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT);"
        "INSERT INTO moz_cookies VALUES (1, '.kept.example'), (2, "
        "'tracker.example');");
  }

  Captured Cli(const std::string& arguments) {
    return RunCapturing("\"" + program_ + "\\clearvane-cli.exe\" " + arguments);
  }
  std::string Relative(const std::string& path) const { return path.substr(root_.size() + 1); }
  // The snapshot keys at or below each path.
  std::set<std::string> Under(const Snapshot& tree, const std::vector<std::string>& paths) const {
    std::set<std::string> keys;
    for (const std::string& path : paths)
      for (const auto& [key, content] : tree)
        if (key == Relative(path) || key.rfind(Relative(path) + "\\", 0) == 0) keys.insert(key);
    return keys;
  }

  std::unique_ptr<test::FileSystemFixture> disk_;
  std::unique_ptr<e2e::RegistryKeyBackup> backup_;
  win32::UniqueFileHandle lock_;
  std::string root_, program_, roaming_, local_;
};

using e2e::Occurrences;

TEST_F(ModernBrowsersEndToEnd, PreviewThenCleanTakeExactlyTheSelectedTraces) {
  const Snapshot before = e2e::SnapshotTree(root_);
  const Captured preview = Cli("--preview --json");
  ASSERT_EQ(preview.exitCode, 0u) << preview.out;
  test::ExpectOnlyRemoved(before, e2e::SnapshotTree(root_), {}, {}, true);
  // Twelve rows, the Firefox ones noting the profile in use.
  EXPECT_EQ(Occurrences(preview.out, "\"status\": \"Done\""), 9u) << preview.out;
  EXPECT_EQ(Occurrences(preview.out,
                        "\"status\": \"Done; 1 profile skipped: Mozilla "
                        "Firefox is running\""),
            3u)
      << preview.out;
  EXPECT_NE(preview.out.find("{\"item\": \"Google Chrome Cookies\""), std::string::npos) << preview.out;
  EXPECT_NE(preview.out.find(JsonString(FirefoxProfile("abc.default", "places.sqlite") + " [moz_historyvisits]") +
                             ", \"bytes\": 0, \"rows\": 3"),
            std::string::npos)
      << preview.out;
  EXPECT_EQ(preview.out.find("xyz.busy\\\\places.sqlite"), std::string::npos) << preview.out;

  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  std::vector<std::string> gone = {FirefoxCache("abc.default")}, changed = {program_ + "\\vanesd.dat"};
  for (const char* browser : kChromiumBrowsers)
    for (const char* profile : {"Default", "Profile 1"}) {
      const std::string p = local_ + "\\" + browser + "\\User Data\\" + profile + "\\";
      for (const char* name : {"Cache", "Code Cache", "History", "Top Sites"}) gone.push_back(p + name);
      changed.push_back(p + "Network\\Cookies");
      EXPECT_EQ(Rows(p + "Network\\Cookies", "SELECT host_key FROM cookies"),
                (std::vector<std::string>{".kept.example", "www.kept.example"}));
      EXPECT_EQ(Rows(p + "Network\\Cookies", "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
      EXPECT_EQ(Rows(p + "Login Data", "SELECT origin_url FROM logins"),
                std::vector<std::string>{"https://a.example/"});
    }
  for (const char* db : {"places.sqlite", "cookies.sqlite"}) changed.push_back(FirefoxProfile("abc.default", db));
  test::ExpectOnlyRemoved(before, e2e::SnapshotTree(root_), Under(before, gone), Under(before, changed), true);

  const std::string places = FirefoxProfile("abc.default", "places.sqlite");
  EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(places, "SELECT url FROM moz_places"), std::vector<std::string>{"https://bookmarked.example/"});
  EXPECT_EQ(Rows(places, "SELECT title FROM moz_bookmarks ORDER BY id"),
            (std::vector<std::string>{"root", "Bookmarked"}));
  EXPECT_EQ(Rows(places, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  EXPECT_EQ(Rows(FirefoxProfile("abc.default", "cookies.sqlite"), "SELECT host FROM moz_cookies"),
            std::vector<std::string>{".kept.example"});
  EXPECT_EQ(Occurrences(clean.out,
                        "\"status\": \"Done; 1 profile skipped: Mozilla "
                        "Firefox is running\""),
            3u)
      << clean.out;

  // Once the busy Firefox is closed, its profile is cleaned too.
  lock_.reset();
  const Captured again = Cli("--clean --json");
  ASSERT_EQ(again.exitCode, 0u) << again.out;
  EXPECT_EQ(Rows(FirefoxProfile("xyz.busy", "places.sqlite"), "SELECT count(*) FROM moz_historyvisits"),
            std::vector<std::string>{"0"});
  EXPECT_FALSE(e2e::Exists(FirefoxCache("xyz.busy")));
  EXPECT_EQ(Occurrences(again.out, "\"status\": \"Done\""), 12u) << again.out;
}

// A first run with the selection file the release ships: history and caches
// go, while bookmarks, passwords, preferences, the cookies (which would sign
// the user out everywhere) and the user's documents stay.
TEST_F(ModernBrowsersEndToEnd, AFirstRunWithTheShippedSelectionKeepsWhatUsersKeep) {
  std::string shipped;
  ASSERT_EQ(disk_->fs().ReadFile(e2e::ExeFolder() + "\\..\\vanesd.dat", shipped), kOk);
  ASSERT_TRUE(disk_->WriteFile(program_ + "\\vanesd.dat", shipped));
  // Internet Explorer's own clearing routine is not there under Wine: the
  // items that start it stay off here (the other tests leave them out too).
  const std::wstring selection = win32::Widen(program_ + "\\vanesd.dat");
  for (const auto& [section, key] : {std::pair{L"EXPLORER", L"history"}, std::pair{L"EXPLORER", L"cache"},
                                     std::pair{L"AOL", L"Cache"}, std::pair{L"AOL", L"History"}})
    ASSERT_TRUE(::WritePrivateProfileStringW(section, key, L"0", selection.c_str()));
  lock_.reset();
  Put(disk_->Path("Profile\\Documents\\thesis.docx"), "chapter one");
  std::vector<std::string> kept = {disk_->Path("Profile\\Documents\\thesis.docx")};
  for (const char* browser : kChromiumBrowsers)
    for (const char* profile : {"Default", "Profile 1"})
      for (const char* name : {"Bookmarks", "Login Data", "Preferences", "Network\\Cookies"})
        kept.push_back(local_ + "\\" + browser + "\\User Data\\" + profile + "\\" + name);
  for (const char* profile : {"abc.default", "xyz.busy"})
    for (const char* name : {"logins.json", "prefs.js", "cookies.sqlite"})
      kept.push_back(FirefoxProfile(profile, name));
  const Snapshot before = e2e::SnapshotTree(root_);

  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  const Snapshot after = e2e::SnapshotTree(root_);
  for (const std::string& path : kept) {
    const std::string key = Relative(path);
    ASSERT_TRUE(before.count(key)) << key;
    EXPECT_EQ(after.count(key) ? after.at(key) : "<gone>", before.at(key)) << key;
  }
  for (const char* profile : {"abc.default", "xyz.busy"}) {
    const std::string places = FirefoxProfile(profile, "places.sqlite");
    EXPECT_EQ(Rows(places, "SELECT title FROM moz_bookmarks ORDER BY id"),
              (std::vector<std::string>{"root", "Bookmarked"}));
    EXPECT_EQ(Rows(places, "SELECT count(*) FROM moz_historyvisits"), std::vector<std::string>{"0"});
    EXPECT_EQ(Rows(places, "PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  }
  EXPECT_FALSE(e2e::Exists(local_ + "\\Google\\Chrome\\User Data\\Default\\History")) << "Chrome History ticked";
  EXPECT_EQ(clean.out.find("\"status\": \"Fail"), std::string::npos) << clean.out;
}

TEST_F(ModernBrowsersEndToEnd, ARunningChromiumBrowserIsSkippedWhole) {
  const std::string userData = local_ + "\\Microsoft\\Edge\\User Data";
  win32::UniqueFileHandle edgeLock(::CreateFileW(win32::Widen(userData + "\\lockfile").c_str(), GENERIC_WRITE,
                                                 FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE,
                                                 nullptr));
  ASSERT_TRUE(edgeLock);
  const Snapshot before = e2e::SnapshotTree(root_);
  const Captured clean = Cli("--clean --json");
  ASSERT_EQ(clean.exitCode, 0u) << clean.out;
  EXPECT_EQ(Occurrences(clean.out, "\"status\": \"Skipped: Microsoft Edge is running\""), 3u) << clean.out;
  const Snapshot after = e2e::SnapshotTree(root_);
  for (const auto& [key, content] : before)
    if (key.rfind(Relative(userData), 0) == 0) {
      EXPECT_EQ(after.count(key) ? after.at(key) : "<gone>", content) << key;
    }
}

}  // namespace
}  // namespace cv
