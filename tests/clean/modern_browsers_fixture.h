#pragma once
// Sandbox profiles of today's browsers for the native tests: Chromium-family
// user-data folders and Firefox-family profile folders with real SQLite
// databases made here with the built-in SQLite, and one item of the run
// performed on them as the run frame performs it. Native builds only.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "clean/allerase.h"
#include "clean/browser_clean.h"
#include "clean/browser_model.h"
#include "clean/run_context.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "items_run_fixture.h"
#include "tree_compare.h"

namespace cv::test {

// The tables of a Firefox "places.sqlite" that the history items read, with
// the columns they use.
inline constexpr const char* kPlacesSchema = R"(
CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT, host TEXT, frecency INTEGER);
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER DEFAULT 0,
  last_visit_date INTEGER, foreign_count INTEGER NOT NULL DEFAULT 0, origin_id INTEGER REFERENCES moz_origins(id));
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,
  visit_type INTEGER, session INTEGER);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
  position INTEGER, title LONGVARCHAR);
CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER, post_data TEXT);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content LONGVARCHAR);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
  PRIMARY KEY (place_id, input));
)";

class ModernBrowsersFixture : public ItemRunFixture {
 public:
  static std::string Roaming(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kAppData) + "\\" + std::string(relative);
  }
  static std::string Local(std::string_view relative) {
    return std::string(EmulatedPlatformFixture::kLocalAppData) + "\\" + std::string(relative);
  }

  // Runs SQL on a database file, creating it (and the folders above it).
  void Sql(std::string_view path, std::string_view sql) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(env.files.HostPath(path).c_str(), &db), SQLITE_OK) << path;
    sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, std::string(sql).c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << path << ": " << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }

  // Every row of a query, columns joined by "|".
  std::vector<std::string> Rows(std::string_view path, std::string_view sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(env.files.HostPath(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      ADD_FAILURE() << "cannot open " << path;
      return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, std::string(sql).c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::string row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
          const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
          row += (c ? "|" : "") + std::string(text ? text : "NULL");
        }
        rows.push_back(row);
      }
    } else {
      ADD_FAILURE() << path << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
  }

  std::string IntegrityCheck(std::string_view path) {
    const auto rows = Rows(path, "PRAGMA integrity_check");
    return rows.empty() ? "no answer" : rows.front();
  }

  // A Chromium profile: preferences, cookies (one kept host among them),
  // history, a password store, bookmarks, form data, caches and storage.
  void AddChromiumProfile(std::string_view userData, std::string_view name) {
    const std::string p = std::string(userData) + "\\" + std::string(name) + "\\";
    WriteFile(p + "Preferences", "{}");
    Sql(p + "Network\\Cookies",
        "CREATE TABLE cookies (creation_utc INTEGER, host_key TEXT, name TEXT, value TEXT);"
        "INSERT INTO cookies VALUES (1, '.kept.example', 'a', '1'), (2, 'www.kept.example', 'b', '2'),"
        " (3, '.tracker.example', 'c', '3'), (4, 'notkept.example', 'd', '4');");
    Sql(p + "History",
        "CREATE TABLE urls (id INTEGER PRIMARY KEY, url TEXT); INSERT INTO urls VALUES (1, 'https://a.example/');"
        "CREATE TABLE downloads (id INTEGER PRIMARY KEY, target_path TEXT); INSERT INTO downloads VALUES (1, 'x');"
        "CREATE TABLE downloads_url_chains (id INTEGER, chain_index INTEGER, url TEXT);"
        "INSERT INTO downloads_url_chains VALUES (1, 0, 'https://a.example/x');");
    Sql(p + "Web Data",
        "CREATE TABLE autofill (name TEXT, value TEXT); INSERT INTO autofill VALUES ('email', 'me@example');"
        "CREATE TABLE credit_cards (guid TEXT, name_on_card TEXT); INSERT INTO credit_cards VALUES ('g', 'Me');");
    Sql(p + "Login Data",
        "CREATE TABLE logins (origin_url TEXT, password_value BLOB);"
        "INSERT INTO logins VALUES ('https://a.example/', x'0102');");
    WriteFile(p + "Bookmarks", "{\"roots\": {}}");
    WriteFile(p + "Visited Links", "links");
    WriteFile(p + "Top Sites", "top");
    WriteFile(p + "Top Sites-journal", "j");
    WriteFile(p + "Current Session", "session");
    WriteFile(p + "Sessions\\Session_1", "session");
    WriteFile(p + "Cache\\Cache_Data\\f_000001", std::string(1000, 'c'));
    WriteFile(p + "Code Cache\\js\\index", "code");
    WriteFile(p + "GPUCache\\data_0", "gpu");
    WriteFile(p + "Service Worker\\CacheStorage\\9f2c\\index", "sw");
    WriteFile(p + "Service Worker\\ScriptCache\\index", "sc");
    WriteFile(p + "Service Worker\\Database\\MANIFEST-000001", "registrations");
    WriteFile(p + "Local Storage\\leveldb\\000003.log", "storage");
    WriteFile(p + "IndexedDB\\https_a.example_0.indexeddb.leveldb\\LOG", "idb");
  }

  // A Firefox profile below `root` (relative path `relative`), its caches below `localRoot`.
  void AddFirefoxProfile(std::string_view root, std::string_view localRoot, std::string_view relative) {
    const std::string p = std::string(root) + "\\" + std::string(relative) + "\\";
    const std::string l = std::string(localRoot) + "\\" + std::string(relative) + "\\";
    WriteFile(p + "prefs.js", "// prefs");
    WriteFile(p + "parent.lock", "");
    Sql(p + "places.sqlite", std::string(kPlacesSchema) + R"(
      INSERT INTO moz_origins VALUES (1, 'https://', 'bookmarked.example', 1), (2, 'https://', 'visited.example', 1);
      INSERT INTO moz_places VALUES
        (1, 'https://bookmarked.example/', 'Bookmarked', 3, 100, 1, 1),
        (2, 'https://visited.example/a', 'Visited', 2, 200, 0, 2),
        (3, 'https://visited.example/b', 'Keyword', 1, 300, 1, 2),
        (4, 'https://visited.example/c', 'Annotated', 1, 400, 0, 2),
        (5, 'https://visited.example/file.zip', 'Download', 1, 500, 0, 2);
      INSERT INTO moz_historyvisits VALUES (1, 0, 1, 100, 1, 0), (2, 0, 2, 150, 1, 0), (3, 2, 2, 200, 1, 0),
        (4, 0, 3, 300, 2, 0), (5, 0, 4, 400, 1, 0), (6, 0, 5, 500, 7, 0);
      INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, 'root'), (2, 1, 1, 1, 0, 'My bookmark');
      INSERT INTO moz_keywords VALUES (1, 'kw', 3, NULL);
      INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI'), (2, 'page/note');
      INSERT INTO moz_annos VALUES (1, 5, 1, 'file:///C:/file.zip'), (2, 4, 2, 'note');
      INSERT INTO moz_inputhistory VALUES (2, 'vis', 1);
    )");
    Sql(p + "cookies.sqlite",
        "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, host TEXT, name TEXT, value TEXT);"
        "INSERT INTO moz_cookies VALUES (1, '.kept.example', 'a', '1'), (2, 'sub.kept.example', 'b', '2'),"
        " (3, '.tracker.example', 'c', '3'), (4, 'kept.example.evil', 'd', '4');");
    Sql(p + "formhistory.sqlite",
        "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT, value TEXT);"
        "INSERT INTO moz_formhistory VALUES (1, 'q', 'search');");
    WriteFile(p + "logins.json", "{\"logins\": []}");
    WriteFile(p + "key4.db", "keys");
    WriteFile(p + "sessionstore.jsonlz4", "mozLz40");
    WriteFile(p + "sessionstore-backups\\recovery.jsonlz4", "mozLz40");
    WriteFile(p + "storage\\default\\https+++a.example\\ls\\data.sqlite", "ls");
    WriteFile(p + "storage\\permanent\\chrome\\idb\\x.sqlite", "extension data");
    WriteFile(l + "cache2\\entries\\ABCDEF", std::string(2000, 'e'));
    WriteFile(l + "startupCache\\startupCache.8.little", "sc");
    WriteFile(l + "shader-cache\\0a1b2c", "shader");
    WriteFile(l + "jumpListCache\\Pq1w.ico", "icon");
    WriteFile(l + "thumbnails\\9f1e.png", "png");
    WriteFile(l + "safebrowsing\\google4\\goog-phish-proto.vlpset", "lists");
  }

  // Chrome with "Default" and "Profile 1" listed in "Local State".
  void AddChrome() {
    const std::string root = Local("Google\\Chrome\\User Data");
    WriteFile(root + "\\Local State",
              R"({"profile": {"info_cache": {"Default": {"name": "Me"}, "Profile 1": {"name": "Work"}}}})");
    AddChromiumProfile(root, "Default");
    AddChromiumProfile(root, "Profile 1");
    WriteFile(root + "\\ShaderCache\\data_1", "shader");
    WriteFile(root + "\\GrShaderCache\\data_1", "gr");
  }

  // Firefox with two profiles named in "profiles.ini", caches in %LOCALAPPDATA%.
  void AddFirefox() {
    WriteFile(Roaming("Mozilla\\Firefox\\profiles.ini"),
              "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
              "Path=Profiles/abcd.default-release\r\nDefault=1\r\n\r\n[Profile1]\r\nName=work\r\nIsRelative=1\r\n"
              "Path=Profiles/efgh.work\r\n");
    for (const char* relative : {"Profiles\\abcd.default-release", "Profiles\\efgh.work"})
      AddFirefoxProfile(Roaming("Mozilla\\Firefox"), Local("Mozilla\\Firefox"), relative);
  }

  void KeepDomains(std::string_view lines) { WriteFile(ProgramFile("\\keepdomains.dat"), lines); }

  // The whole user profile folder, path -> bytes (a size for files over 1 MB).
  TreeSnapshot Snapshot() {
    TreeSnapshot tree;
    const std::filesystem::path base = env.files.HostPath(EmulatedPlatformFixture::kUserProfile);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(base)) {
      const std::string relative = entry.path().lexically_relative(base).string();
      if (entry.is_directory()) {
        tree[relative + "/"] = "";
        continue;
      }
      if (entry.file_size() > (1u << 20)) {
        tree[relative] = "size " + std::to_string(entry.file_size());
        continue;
      }
      std::ifstream in(entry.path(), std::ios::binary);
      tree[relative] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return tree;
  }

  // One browser item as the run performs it; returns the row's final status.
  std::string CleanItem(std::string_view browserName, TraceKind kind, EraseMode mode = EraseMode::Clean) {
    recorder = RunRecorder();
    const BrowserSpec* browser = nullptr;
    for (const BrowserSpec& b : Browsers())
      if (b.name == browserName) browser = &b;
    if (!browser) {
      ADD_FAILURE() << "no browser " << browserName;
      return {};
    }
    Platform services = platform();
    Inifun ini(services.files);
    regfun reg(services.registry, services.messages);
    const PathGuard guard = PathGuard::ForSystem(services.shell, services.files);
    allerase erase(services, guard, mode, &recorder, {});
    RunContext run(services, values, ini, reg, erase, recorder, &recorder);
    run.BeginItem();
    run.showstatus(std::string(browserName) + " " + std::string(InfoOf(kind).name));
    CleanBrowserTraces(run, *browser, kind);
    const std::string status = run.TakeFinalStatus();
    run.SetRowStatus(status);
    bytes = run.BytesReleased;
    return status;
  }

  long long RowsReported(std::string_view pathPart) const {
    long long total = 0;
    for (const EraseEntry& entry : recorder.entries)
      if (entry.kind == EntryKind::Rows && entry.path.find(pathPart) != std::string::npos) total += entry.rows;
    return total;
  }

  double bytes = 0;
};

}  // namespace cv::test
