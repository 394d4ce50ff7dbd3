#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "db/connection_text.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace velmora::db {

class StatementCache;

// The one connection to the database file. Opening never creates a file: a path that does not
// exist or does not hold a database is an error (DatabaseError naming the file).
class Connection {
 public:
  // Milliseconds a statement waits for another program's lock before failing.
  static constexpr int kBusyTimeoutMs = 10000;

  struct Options {
    bool readOnly = false;  // open read-only even when the file could be written
    int busyTimeoutMs = kBusyTimeoutMs;
  };

  Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&&) noexcept;
  Connection& operator=(Connection&&) noexcept;
  ~Connection();

  // Opens the file named by the connection text's "Data Source"; user and password are unused.
  void Open(std::string_view connectionString, std::string_view user = "",
            std::string_view password = "", int options = -1);
  // Opens the file at `path` exactly as written. A file or folder this program may not write is
  // opened read-only (reading and exports work, writes are refused); a file locked by another
  // program is reported as such.
  void OpenFile(const std::string& path) { OpenFile(path, Options{}); }
  void OpenFile(const std::string& path, const Options& options);
  bool IsOpen() const { return db_ != nullptr; }
  // True when the database was opened read-only; a save must not start then.
  bool ReadOnly() const { return readOnly_; }
  const std::string& Path() const { return path_; }
  // True when the path no longer names the file this connection opened: it was deleted,
  // renamed or replaced since. Writing then would go into a file nobody will read again.
  bool FileMoved() const;
  sqlite3* Handle() const;
  // The connection's prepared statements for repeated writes.
  StatementCache& Statements() const;

  // Runs a statement that returns no rows (schema creation, pragmas, test fixtures).
  void ExecuteScript(std::string_view sql);

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> db_;
  // Declared after db_ so that its statements are finalised before the handle closes.
  std::unique_ptr<StatementCache> statements_;
  std::string path_;
  bool readOnly_ = false;
};

// Creates a new, empty database file (the demo generator and tests); fails if it exists.
Connection CreateDatabase(const std::string& path);

// Throws DatabaseError with the engine's message when `rc` is an error code.
void Check(sqlite3* db, int rc, std::string_view what);

struct StatementDeleter {
  void operator()(sqlite3_stmt* stmt) const;
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;
StatementPtr Prepare(sqlite3* db, std::string_view sql);

}  // namespace velmora::db
