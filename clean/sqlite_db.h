#pragma once
// A small owner of SQLite connections and statements for the browser items.
// Databases are opened only when they exist (never created), with a short
// busy wait, and every failure is sorted into one of a few reasons a results
// row can name.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace cv {

enum class DbProblem { None, Missing, Locked, NotADatabase, Damaged, Failed };

// "is locked", "is not a database", "is damaged", ... for "places.sqlite <reason>".
std::string_view DbProblemText(DbProblem problem);

class SqliteStatement;

class SqliteDb {
 public:
  enum class Access { ReadOnly, ReadWrite };

  // Opens an existing database file by its native name. On failure the
  // returned connection is closed and `problem` says why.
  static SqliteDb Open(const std::string& nativePath, Access access, DbProblem& problem);

  SqliteDb() = default;
  SqliteDb(SqliteDb&&) noexcept = default;
  SqliteDb& operator=(SqliteDb&&) noexcept = default;

  explicit operator bool() const { return db_ != nullptr; }
  sqlite3* get() const { return db_.get(); }

  // Runs one or more statements; the problem of the first failure.
  DbProblem Exec(std::string_view sql);
  // The first column of the first row; nullopt on failure or no row.
  std::optional<std::int64_t> QueryInt(std::string_view sql);
  bool HasTable(std::string_view table);
  bool HasColumn(std::string_view table, std::string_view column);
  // "ok" answered by PRAGMA integrity_check (or quick_check when `quick`).
  bool IntegrityOk(bool quick);
  // The problem SQLite's last error code stands for.
  DbProblem LastProblem() const;
  // Rows changed by the last statement.
  std::int64_t Changes() const;

  // Defines the SQL function kept_host(host) on this connection: 1 where
  // `keeps` says so. `keeps` must outlive the connection.
  bool DefineKeptHost(const std::function<bool(std::string_view)>* keeps);
  // Calls `tick` every few thousand steps of a long statement, so a window
  // stays responsive. `tick` must outlive the connection.
  void SetProgress(const std::function<void()>* tick);

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> db_;
};

class SqliteStatement {
 public:
  SqliteStatement(SqliteDb& db, std::string_view sql);
  explicit operator bool() const { return stmt_ != nullptr; }

  void BindText(int index, std::string_view text);
  // SQLITE_ROW: true; done or error: false (see Failed()).
  bool Step();
  bool Failed() const { return failed_; }
  std::int64_t ColumnInt(int column) const;
  std::string_view ColumnText(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const;
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
  bool failed_ = false;
};

// The problem an SQLite result code stands for.
DbProblem ProblemOf(int sqliteCode);

}  // namespace cv
