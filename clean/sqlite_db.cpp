#include "clean/sqlite_db.h"

#include <sqlite3.h>

namespace cv {

namespace {

// A browser that holds its database for a moment (a checkpoint) is waited
// for briefly; one that keeps it locked is reported, not waited out.
constexpr int kBusyWaitMs = 250;

}  // namespace

std::string_view DbProblemText(DbProblem problem) {
  switch (problem) {
    case DbProblem::None:
      return "is fine";
    case DbProblem::Missing:
      return "could not be opened";
    case DbProblem::Locked:
      return "is locked";
    case DbProblem::NotADatabase:
      return "is not a database";
    case DbProblem::Damaged:
      return "is damaged";
    case DbProblem::Failed:
      return "could not be changed";
  }
  return "could not be changed";
}

DbProblem ProblemOf(int code) {
  switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
      return DbProblem::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DbProblem::Locked;
    case SQLITE_NOTADB:
      return DbProblem::NotADatabase;
    case SQLITE_CORRUPT:
      return DbProblem::Damaged;
    case SQLITE_CANTOPEN:
      return DbProblem::Missing;
    default:
      return DbProblem::Failed;
  }
}

void SqliteDb::Closer::operator()(sqlite3* db) const { sqlite3_close_v2(db); }
void SqliteStatement::Finalizer::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

SqliteDb SqliteDb::Open(const std::string& nativePath, Access access, DbProblem& problem) {
  problem = DbProblem::None;
  SqliteDb result;
  if (nativePath.empty()) {
    problem = DbProblem::Missing;
    return result;
  }
  const int flags = (access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX |
                    SQLITE_OPEN_PRIVATECACHE | SQLITE_OPEN_EXRESCODE;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(nativePath.c_str(), &raw, flags, nullptr);
  result.db_.reset(raw);
  if (rc != SQLITE_OK) {
    problem = ProblemOf(rc);
    if (problem == DbProblem::None) problem = DbProblem::Failed;
    result.db_.reset();
    return result;
  }
  sqlite3_busy_timeout(raw, kBusyWaitMs);
  // No trigger stored in a file runs in this connection, nor does a view's
  // or trigger's SQL reach functions with side effects.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  // The open itself reads nothing: reading the schema tells a database from
  // any other file, and a locked one from a free one.
  if (const DbProblem first = result.Exec("SELECT count(*) FROM sqlite_master"); first != DbProblem::None) {
    problem = first;
    result.db_.reset();
  }
  return result;
}

DbProblem SqliteDb::Exec(std::string_view sql) {
  if (!db_) return DbProblem::Failed;
  const std::string text(sql);
  return ProblemOf(sqlite3_exec(db_.get(), text.c_str(), nullptr, nullptr, nullptr));
}

DbProblem SqliteDb::LastProblem() const {
  return db_ ? ProblemOf(sqlite3_extended_errcode(db_.get())) : DbProblem::Failed;
}

std::int64_t SqliteDb::Changes() const { return db_ ? sqlite3_changes64(db_.get()) : 0; }

bool SqliteDb::DefineKeptHost(const std::function<bool(std::string_view)>* keeps) {
  if (!db_) return false;
  auto call = [](sqlite3_context* context, int, sqlite3_value** args) {
    const auto* keeps = static_cast<const std::function<bool(std::string_view)>*>(sqlite3_user_data(context));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const std::string_view host = text ? std::string_view(text, sqlite3_value_bytes(args[0])) : std::string_view();
    sqlite3_result_int(context, (*keeps)(host) ? 1 : 0);
  };
  return sqlite3_create_function_v2(db_.get(), "kept_host", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                    const_cast<std::function<bool(std::string_view)>*>(keeps), call, nullptr, nullptr,
                                    nullptr) == SQLITE_OK;
}

void SqliteDb::SetProgress(const std::function<void()>* tick) {
  if (!db_) return;
  constexpr int kStepsPerTick = 20000;
  sqlite3_progress_handler(
      db_.get(), kStepsPerTick,
      [](void* data) {
        // Nothing may unwind through the library, and a statement is never
        // cut short here: a cancel the tick raises waits for the run's next
        // pump, after this database's transaction has ended.
        try {
          (*static_cast<const std::function<void()>*>(data))();
        } catch (...) {
        }
        return 0;
      },
      const_cast<std::function<void()>*>(tick));
}

std::optional<std::int64_t> SqliteDb::QueryInt(std::string_view sql) {
  SqliteStatement statement(*this, sql);
  if (!statement || !statement.Step()) return std::nullopt;
  return statement.ColumnInt(0);
}

bool SqliteDb::HasTable(std::string_view table) {
  SqliteStatement statement(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  statement.BindText(1, table);
  return statement && statement.Step();
}

bool SqliteDb::HasColumn(std::string_view table, std::string_view column) {
  SqliteStatement statement(*this, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2");
  statement.BindText(1, table);
  statement.BindText(2, column);
  return statement && statement.Step();
}

bool SqliteDb::IntegrityOk(bool quick) {
  SqliteStatement statement(*this, quick ? "PRAGMA quick_check" : "PRAGMA integrity_check");
  if (!statement || !statement.Step()) return false;
  return statement.ColumnText(0) == "ok" && !statement.Step() && !statement.Failed();
}

SqliteStatement::SqliteStatement(SqliteDb& db, std::string_view sql) {
  sqlite3_stmt* raw = nullptr;
  if (db.get() && sqlite3_prepare_v2(db.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr) == SQLITE_OK)
    stmt_.reset(raw);
  failed_ = stmt_ == nullptr;
}

void SqliteStatement::BindText(int index, std::string_view text) {
  if (stmt_) sqlite3_bind_text(stmt_.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

bool SqliteStatement::Step() {
  if (!stmt_) return false;
  const int rc = sqlite3_step(stmt_.get());
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) failed_ = true;
  return false;
}

std::int64_t SqliteStatement::ColumnInt(int column) const {
  return stmt_ ? sqlite3_column_int64(stmt_.get(), column) : 0;
}

std::string_view SqliteStatement::ColumnText(int column) const {
  if (!stmt_) return {};
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
  if (!text) return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

}  // namespace cv
