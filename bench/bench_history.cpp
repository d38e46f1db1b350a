// Times the Firefox history clean (rows of places.sqlite removed through
// SQLite, bookmarks kept, integrity checked before and after) on a generated
// places.sqlite against SQLite's own command-line shell, built from the same
// release, running the plain deletes on an identical copy. Each side runs in
// its own child process; the sides take turns for --rounds rounds and the
// median time is reported with the peak memory of each side.
//
// usage: bench_history SHELL [--visits N] [--rounds N] [--dir HOSTFOLDER]
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_process.h"
#include "clean/browser_db.h"
#include "platform/emulated/emulated_filesystem.h"

namespace {

namespace fs = std::filesystem;
using bench::InChild;
using bench::Measure;

bool Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return true;
  std::fprintf(stderr, "%s\n", error ? error : "error");
  sqlite3_free(error);
  return false;
}

// A profile-sized history: `visits` visits over visits/4 pages on 2,000
// sites, one page in fifty bookmarked, a few keywords and annotations.
bool MakePlaces(const fs::path& file, long visits) {
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) return false;
  const long places = std::max(1L, visits / 4);
  const std::string n = std::to_string(places), v = std::to_string(visits);
  const bool ok = Exec(db, R"(
    PRAGMA journal_mode = WAL; PRAGMA synchronous = OFF; BEGIN;
    CREATE TABLE moz_origins (id INTEGER PRIMARY KEY, prefix TEXT, host TEXT, frecency INTEGER);
    CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR,
      visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0, typed INTEGER DEFAULT 0, frecency INTEGER DEFAULT -1,
      last_visit_date INTEGER, guid TEXT, foreign_count INTEGER NOT NULL DEFAULT 0, url_hash INTEGER DEFAULT 0,
      description TEXT, preview_image_url TEXT, origin_id INTEGER REFERENCES moz_origins(id));
    CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid);
    CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash);
    CREATE INDEX moz_places_originidindex ON moz_places (origin_id);
    CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date INTEGER,
      visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0, triggeringPlaceId INTEGER);
    CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
    CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date);
    CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER,
      position INTEGER, title LONGVARCHAR, dateAdded INTEGER, lastModified INTEGER, guid TEXT);
    CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
    CREATE TABLE moz_keywords (id INTEGER PRIMARY KEY AUTOINCREMENT, keyword TEXT UNIQUE, place_id INTEGER, post_data TEXT);
    CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
    CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER,
      content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
      dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
    CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER,
      PRIMARY KEY (place_id, input));
    WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 2000)
      INSERT INTO moz_origins SELECT i, 'https://', 'site' || i || '.example', 100 FROM s;
    WITH RECURSIVE p(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM p WHERE i < )" +
                               n + R"()
      INSERT INTO moz_places (id, url, title, rev_host, visit_count, last_visit_date, guid, foreign_count, url_hash, origin_id)
      SELECT i, 'https://site' || (i % 2000 + 1) || '.example/page/' || i || '?q=' || hex(randomblob(8)),
        'Page ' || i, 'elpmaxe.' || (i % 2000 + 1) || 'etis.', 4, 1700000000000000 + i, hex(randomblob(6)),
        CASE WHEN i % 50 = 0 THEN 1 ELSE 0 END, abs(random()) % 1000000000, i % 2000 + 1 FROM p;
    WITH RECURSIVE h(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM h WHERE i < )" +
                               v + R"()
      INSERT INTO moz_historyvisits (id, from_visit, place_id, visit_date, visit_type, session)
      SELECT i, CASE WHEN i % 3 = 0 THEN i - 1 ELSE 0 END, (i * 7919) % )" +
                               n + R"( + 1, 1700000000000000 + i * 1000, 1, 0 FROM h;
    INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid)
      SELECT 1, id, 2, id, title, guid FROM moz_places WHERE foreign_count = 1;
    INSERT INTO moz_anno_attributes VALUES (1, 'downloads/destinationFileURI');
    INSERT INTO moz_annos (place_id, anno_attribute_id, content) SELECT id, 1, 'file:///x' FROM moz_places WHERE id % 997 = 0;
    INSERT INTO moz_inputhistory SELECT id, 'site', 1 FROM moz_places WHERE id % 13 = 0;
    COMMIT; PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode = WAL;)");
  sqlite3_close(db);
  return ok;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_history SHELL [--visits N] [--rounds N] [--dir HOSTFOLDER]\n");
    return 2;
  }
  const std::string shell = argv[1];
  long visits = 200000;
  int rounds = 3;
  fs::path dir = fs::temp_directory_path() / ("cv-bench-history-" + std::to_string(::getpid()));
  for (int i = 2; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--visits"))
      visits = std::atol(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--rounds"))
      rounds = std::atoi(argv[i + 1]);
    else if (!std::strcmp(argv[i], "--dir"))
      dir = argv[i + 1];
  }
  fs::remove_all(dir);
  fs::create_directories(dir / "c" / "p");
  const fs::path model = dir / "model.sqlite";
  if (!MakePlaces(model, visits)) return 1;
  std::printf("places.sqlite: %ld visits, %ld pages, %.1f MB\n", visits, std::max(1L, visits / 4),
              fs::file_size(model) / 1048576.0);

  // The shell's side: the same rows go, in one transaction, with no checks.
  const std::string script =
      "PRAGMA secure_delete = ON; BEGIN IMMEDIATE; DELETE FROM moz_historyvisits; DELETE FROM moz_inputhistory; "
      "DELETE FROM moz_places WHERE id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL) AND id NOT IN "
      "(SELECT place_id FROM moz_keywords) AND id NOT IN (SELECT place_id FROM moz_annos) AND foreign_count = 0; "
      "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id NOT NULL); "
      "UPDATE moz_places SET visit_count = 0, last_visit_date = NULL; COMMIT;";
  std::vector<double> ours, theirs, oursCpu, theirsCpu;
  long oursPeak = 0, theirsPeak = 0;
  for (int round = 0; round < rounds; ++round) {
    const fs::path a = dir / "c" / "p" / "places.sqlite", b = dir / "shell.sqlite";
    fs::copy_file(model, a, fs::copy_options::overwrite_existing);
    fs::copy_file(model, b, fs::copy_options::overwrite_existing);
    const auto runOurs = [&] {
      return InChild([&] {
        cv::emulated::EmulatedFileSystem files(dir);
        const auto result = cv::CleanDatabaseRows(files, "C:\\p\\places.sqlite", cv::BrowserFamily::kFirefox,
                                                  cv::TraceAction::kHistoryRows, {}, false, {});
        return result.untouchedBecause.empty() && result.checkedAfter && !result.removed.empty() &&
                       result.removed.front().rows == visits
                   ? 0
                   : 1;
      });
    };
    const auto runShell = [&] {
      return InChild([&] {
        if (std::freopen("/dev/null", "w", stdout) == nullptr) return 126;
        ::execl(shell.c_str(), shell.c_str(), "-batch", b.c_str(), script.c_str(), static_cast<char*>(nullptr));
        return 127;
      });
    };
    const bool oursFirst = round % 2 == 0;
    const Measure first = oursFirst ? runOurs() : runShell();
    const Measure second = oursFirst ? runShell() : runOurs();
    const Measure& o = oursFirst ? first : second;
    const Measure& t = oursFirst ? second : first;
    if (!o.ok || !t.ok) {
      std::fprintf(stderr, "round %d failed (ours %d, shell %d)\n", round + 1, o.ok, t.ok);
      return 1;
    }
    ours.push_back(o.seconds);
    theirs.push_back(t.seconds);
    oursCpu.push_back(o.cpuSeconds);
    theirsCpu.push_back(t.cpuSeconds);
    oursPeak = std::max(oursPeak, o.peakKb);
    theirsPeak = std::max(theirsPeak, t.peakKb);
    std::printf("round %d: ours %.3f s (cpu %.3f s), sqlite3 shell %.3f s (cpu %.3f s)\n", round + 1, o.seconds,
                o.cpuSeconds, t.seconds, t.cpuSeconds);
  }
  const double o = Median(ours), t = Median(theirs);
  const double oc = Median(oursCpu), tc = Median(theirsCpu);
  std::printf(
      "| Firefox history clean, %ld visits | %.2f s (cpu %.2f s) | %.2f s (cpu %.2f s) | %.2fx | %.1f MB | %.1f MB |\n",
      visits, o, oc, t, tc, t > 0 ? o / t : 0, oursPeak / 1024.0, theirsPeak / 1024.0);
  fs::remove_all(dir);
  return 0;
}
