#include "clean/browser_db.h"

#include "platform/text.h"

namespace cv {

namespace {

// One table's rows to go: how many would go, and the statement that removes them.
struct RowStep {
  std::string table;
  std::string countSql;
  std::string deleteSql;
};

// The steps of one action, or none when the database lacks the tables the
// action needs (then it is not the database the action expects).
struct Plan {
  std::string_view expected;  // "a history database" ...
  std::vector<RowStep> steps;
  std::vector<std::string> afterwards;  // statements that change, not delete (clean only)
};

RowStep AllRows(std::string table) { return {table, "SELECT count(*) FROM " + table, "DELETE FROM " + table}; }

RowStep RowsWhere(std::string table, const std::string& where) {
  return {table, "SELECT count(*) FROM " + table + " WHERE " + where, "DELETE FROM " + table + " WHERE " + where};
}

// The pages nothing but history refers to: no bookmark, keyword or
// annotation (other than a download's, when `downloadAnnosCount` is false),
// whatever the page's own reference counter says.
std::string UnreferencedPlaces(SqliteDb& db, bool downloadAnnosCount) {
  std::string where = "1";
  if (db.HasTable("moz_bookmarks")) where += " AND id NOT IN (SELECT fk FROM moz_bookmarks WHERE fk NOT NULL)";
  if (db.HasTable("moz_keywords"))
    where += " AND id NOT IN (SELECT place_id FROM moz_keywords WHERE place_id NOT NULL)";
  if (db.HasTable("moz_annos")) {
    where += " AND id NOT IN (SELECT place_id FROM moz_annos WHERE place_id NOT NULL";
    if (!downloadAnnosCount && db.HasTable("moz_anno_attributes"))
      where += " AND anno_attribute_id NOT IN (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
    where += ")";
  }
  if (db.HasColumn("moz_places", "foreign_count")) where += " AND coalesce(foreign_count, 0) = 0";
  return where;
}

Plan FirefoxHistory(SqliteDb& db) {
  Plan plan{"a history database", {}, {}};
  if (!db.HasTable("moz_places") || !db.HasTable("moz_historyvisits")) return plan;
  const std::string unreferenced = UnreferencedPlaces(db, true);
  plan.steps.push_back(AllRows("moz_historyvisits"));
  for (const char* table : {"moz_inputhistory", "moz_places_metadata_search_queries", "moz_places_metadata"})
    if (db.HasTable(table)) plan.steps.push_back(AllRows(table));
  plan.steps.push_back(RowsWhere("moz_places", unreferenced));
  if (db.HasTable("moz_origins") && db.HasColumn("moz_places", "origin_id")) {
    // Origins no remaining page uses; counted against the pages that stay.
    plan.steps.push_back({"moz_origins",
                          "SELECT count(*) FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places "
                          "WHERE origin_id NOT NULL AND NOT (" +
                              unreferenced + "))",
                          "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE "
                          "origin_id NOT NULL)"});
  }
  // The bookmarked pages that stay no longer carry visit figures.
  std::string reset;
  if (db.HasColumn("moz_places", "visit_count")) reset += "visit_count = 0";
  if (db.HasColumn("moz_places", "last_visit_date"))
    reset += std::string(reset.empty() ? "" : ", ") + "last_visit_date = NULL";
  if (!reset.empty()) plan.afterwards.push_back("UPDATE moz_places SET " + reset);
  return plan;
}

Plan FirefoxDownloads(SqliteDb& db) {
  Plan plan{"a history database", {}, {}};
  if (!db.HasTable("moz_places")) return plan;
  const bool annos = db.HasTable("moz_annos") && db.HasTable("moz_anno_attributes");
  const bool visits = db.HasTable("moz_historyvisits");
  if (!annos && !visits) return plan;
  const std::string downloadAnno =
      "anno_attribute_id IN (SELECT id FROM moz_anno_attributes WHERE name LIKE 'downloads/%')";
  constexpr std::string_view kDownloadVisit = "visit_type = 7";  // a visit made by a download
  // First the pages known only as downloads, while their annotations and visits still tell them.
  std::string downloaded = "0";
  if (annos) downloaded += " OR id IN (SELECT place_id FROM moz_annos WHERE " + downloadAnno + ")";
  if (visits)
    downloaded += " OR id IN (SELECT place_id FROM moz_historyvisits WHERE " + std::string(kDownloadVisit) + ")";
  std::string onlyDownloaded = "(" + downloaded + ") AND " + UnreferencedPlaces(db, false);
  if (visits)
    onlyDownloaded +=
        " AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE NOT " + std::string(kDownloadVisit) + ")";
  plan.steps.push_back(RowsWhere("moz_places", onlyDownloaded));
  if (annos) plan.steps.push_back(RowsWhere("moz_annos", downloadAnno));
  if (visits) plan.steps.push_back(RowsWhere("moz_historyvisits", std::string(kDownloadVisit)));
  return plan;
}

Plan Cookies(SqliteDb& db, BrowserFamily family) {
  const bool chromium = family == BrowserFamily::kChromium;
  const std::string table = chromium ? "cookies" : "moz_cookies";
  const std::string column = chromium ? "host_key" : "host";
  Plan plan{"a cookie database", {}, {}};
  if (db.HasTable(table) && db.HasColumn(table, column))
    plan.steps.push_back(RowsWhere(table, "NOT kept_host(" + column + ")"));
  return plan;
}

Plan ChromiumDownloads(SqliteDb& db) {
  Plan plan{"a history database", {}, {}};
  if (!db.HasTable("downloads")) return plan;
  plan.steps.push_back(AllRows("downloads"));
  for (const char* table : {"downloads_url_chains", "downloads_slices"})
    if (db.HasTable(table)) plan.steps.push_back(AllRows(table));
  return plan;
}

Plan FormEntries(SqliteDb& db, BrowserFamily family) {
  Plan plan{"a form database", {}, {}};
  if (family == BrowserFamily::kFirefox) {
    if (db.HasTable("moz_formhistory")) plan.steps.push_back(AllRows("moz_formhistory"));
    return plan;
  }
  // Chromium's "Web Data": the typed form entries only; saved addresses,
  // payment cards and search engines stay.
  for (const char* table : {"autofill", "autofill_entries"})
    if (db.HasTable(table)) plan.steps.push_back(AllRows(table));
  return plan;
}

Plan PlanFor(SqliteDb& db, BrowserFamily family, TraceAction action) {
  switch (action) {
    case TraceAction::kCookieRows:
      return Cookies(db, family);
    case TraceAction::kHistoryRows:
      return family == BrowserFamily::kFirefox ? FirefoxHistory(db) : Plan{"a history database", {}, {}};
    case TraceAction::kDownloadRows:
      return family == BrowserFamily::kFirefox ? FirefoxDownloads(db) : ChromiumDownloads(db);
    case TraceAction::kFormRows:
      return FormEntries(db, family);
    default:
      return {};
  }
}

std::string_view Untouched(DbProblem problem) { return DbProblemText(problem); }

// A rollback journal with content means a change was cut short: the browser
// itself rolls it back when it next opens the file; until then the file is
// not ours to change (and a database in WAL mode should have none at all).
bool HasPendingJournal(FileSystem& files, std::string_view path) {
  const auto journal = files.Stat(std::string(path) + "-journal");
  return journal && !journal->IsFolder() && journal->size > 0;
}

std::string_view FolderOf(std::string_view path) {
  const std::size_t cut = path.find_last_of('\\');
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

// SQLite opens the companions of a database by name and follows links when it
// does: the database and each companion present must be a plain file with no
// other name, in the database's own folder, or a write meant for them could
// land in another file. Empty when they are; else why not.
std::string CompanionProblem(FileSystem& files, std::string_view path) {
  const auto database = files.Identify(path, false);
  if (database && database->links != 1) return "has another name (a hard link)";
  for (std::string_view companion : kDatabaseCompanions) {
    const std::string name = std::string(path) + std::string(companion);
    const auto entry = files.Stat(name);
    if (!entry) continue;
    const auto identity = files.Identify(name, false);
    if (entry->IsFolder() || entry->IsReparsePoint() || (identity && identity->links != 1) ||
        (identity && database && !EqualsNoCase(FolderOf(identity->finalPath), FolderOf(database->finalPath))))
      return "has a " + std::string(companion.substr(1)) + " file that is not its own";
  }
  return {};
}

// A trigger stored in the file on a table the cleaning changes could make a
// delete reach other rows (the bookmarks); browsers keep theirs in memory.
bool HasStoredTriggers(SqliteDb& db, const Plan& plan) {
  std::string tables = "'moz_places'";
  for (const RowStep& step : plan.steps) tables += ", '" + AsciiLower(step.table) + "'";
  const auto count =
      db.QueryInt("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND lower(tbl_name) IN (" + tables + ")");
  return !count || *count != 0;
}

}  // namespace

DatabaseCleanResult CleanDatabaseRows(FileSystem& files, std::string_view path, BrowserFamily family,
                                      TraceAction action, const DomainKeepList& keep, bool preview,
                                      const std::function<void()>& tick) {
  DatabaseCleanResult result;
  const auto entry = files.Stat(path);
  if (!entry || entry->IsFolder()) return result;
  result.present = true;
  if (entry->IsReparsePoint()) {
    result.untouchedBecause = "is a link";
    return result;
  }
  if (std::string problem = CompanionProblem(files, path); !problem.empty()) {
    result.untouchedBecause = std::move(problem);
    return result;
  }
  if (HasPendingJournal(files, path)) {
    result.untouchedBecause = "has a pending journal";
    return result;
  }
  // A file the file system cannot name for the library (or may not let it
  // change) is left alone: an empty name would open a temporary database.
  const std::string native = files.NativePath(path);
  if (native.empty()) return result;
  DbProblem problem = DbProblem::None;
  SqliteDb db = SqliteDb::Open(native, preview ? SqliteDb::Access::ReadOnly : SqliteDb::Access::ReadWrite, problem);
  if (!db) {
    result.untouchedBecause = Untouched(problem);
    return result;
  }
  const std::function<bool(std::string_view)> keeps = [&keep](std::string_view host) { return keep.Keeps(host); };
  db.DefineKeptHost(&keeps);
  if (tick) db.SetProgress(&tick);

  const Plan plan = PlanFor(db, family, action);
  if (plan.steps.empty()) {
    result.untouchedBecause = "is not " + std::string(plan.expected);
    return result;
  }
  if (HasStoredTriggers(db, plan)) {
    result.untouchedBecause = "has unexpected triggers";
    return result;
  }
  if (!db.IntegrityOk(true)) {
    result.untouchedBecause = Untouched(db.LastProblem() == DbProblem::Locked ? DbProblem::Locked : DbProblem::Damaged);
    return result;
  }
  for (const RowStep& step : plan.steps) {
    const auto count = db.QueryInt(step.countSql);
    if (!count) {
      result.untouchedBecause = Untouched(db.LastProblem());
      result.removed.clear();
      return result;
    }
    result.removed.push_back({step.table, *count});
  }
  if (preview) return result;

  const auto freePagesBefore = db.QueryInt("PRAGMA freelist_count");
  if (const DbProblem begin = db.Exec("PRAGMA secure_delete = ON; BEGIN IMMEDIATE"); begin != DbProblem::None) {
    result.untouchedBecause = Untouched(begin);
    result.removed.clear();
    return result;
  }
  auto fail = [&](DbProblem why) {
    db.Exec("ROLLBACK");
    result.untouchedBecause = Untouched(why);
    result.removed.clear();
    return result;
  };
  for (std::size_t i = 0; i < plan.steps.size(); ++i) {
    if (const DbProblem p = db.Exec(plan.steps[i].deleteSql); p != DbProblem::None) return fail(p);
    result.removed[i].rows = db.Changes();
  }
  for (const std::string& statement : plan.afterwards)
    if (const DbProblem p = db.Exec(statement); p != DbProblem::None) return fail(p);
  if (const DbProblem p = db.Exec("COMMIT"); p != DbProblem::None) return fail(p);
  result.checkedAfter = db.IntegrityOk(false);
  const auto freePagesAfter = db.QueryInt("PRAGMA freelist_count");
  const auto pageSize = db.QueryInt("PRAGMA page_size");
  if (freePagesBefore && freePagesAfter && pageSize && *freePagesAfter > *freePagesBefore && *pageSize > 0)
    result.bytesFreed =
        static_cast<std::uint64_t>(*freePagesAfter - *freePagesBefore) * static_cast<std::uint64_t>(*pageSize);
  return result;
}

}  // namespace cv
