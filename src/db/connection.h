#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "db/connection_text.h"
#include "db/engine.h"

struct sqlite3;

namespace velmora::db {

// The one connection to the plan's database: a file opened with SQLite, or a database on a
// PostgreSQL server named by a "postgresql://" address. Opening never creates a database.
class Connection {
 public:
  // Milliseconds a statement waits for another program's lock before failing.
  static constexpr int kBusyTimeoutMs = 10000;

  struct Options {
    bool readOnly = false;  // never write, even when the database could be written
    int busyTimeoutMs = kBusyTimeoutMs;
    // On a server: how long a commit whose answer was lost is asked about before its outcome
    // counts as unknown.
    int commitOutcomeWaitMs = 10000;
  };

  Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&&) noexcept;
  Connection& operator=(Connection&&) noexcept;
  ~Connection();

  // Opens what the connection text's "Data Source" names; user and password are unused.
  void Open(std::string_view connectionString, std::string_view user = "",
            std::string_view password = "", int options = -1);
  // Opens `target` as the settings file names it: a server address, else a file path.
  void OpenTarget(const std::string& target) { OpenTarget(target, Options{}); }
  void OpenTarget(const std::string& target, const Options& options);
  // Opens the file at `path` exactly as written. A file or folder this program may not write is
  // opened read-only (reading and exports work, writes are refused); a file locked by another
  // program is reported as such.
  void OpenFile(const std::string& path) { OpenFile(path, Options{}); }
  void OpenFile(const std::string& path, const Options& options);
  // Connects to the database a "postgresql://" or "postgres://" address names.
  void OpenServer(const std::string& address) { OpenServer(address, Options{}); }
  void OpenServer(const std::string& address, const Options& options);
  bool IsOpen() const { return engine_ != nullptr; }
  // True when the database was opened read-only; a save must not start then.
  bool ReadOnly() const { return Engine().ReadOnly(); }
  // The file path or the server address without its password.
  const std::string& Path() const { return Engine().Name(); }
  // True when the path no longer names the file this connection opened: it was deleted,
  // renamed or replaced since. Writing then would go into a file nobody will read again.
  bool FileMoved() const { return Engine().Moved(); }
  db::Engine& Engine() const;
  // The SQLite handle of a file connection (raw baselines in benchmarks and tests).
  sqlite3* Handle() const;
  std::size_t KeptStatements() const { return Engine().KeptStatements(); }
  std::size_t RoundTrips() const { return Engine().RoundTrips(); }

  // Runs statements that return no rows (schema creation, test fixtures).
  void ExecuteScript(std::string_view sql);
  // Runs one statement with `?` marks that returns no rows; prepared once per text. Gives the
  // number of rows it changed.
  std::int64_t Run(std::string_view sql, std::initializer_list<Value> parameters) {
    return Engine().Run(sql, parameters.begin(), parameters.size());
  }
  std::int64_t Run(std::string_view sql, const std::vector<Value>& parameters) {
    return Engine().Run(sql, parameters.data(), parameters.size());
  }

 private:
  std::unique_ptr<db::Engine> engine_;
};

// Whether a settings field names a database server rather than a file.
bool IsServerAddress(std::string_view target);

// Creates a new, empty database file (the demo generator and tests); fails if it exists.
Connection CreateDatabase(const std::string& path);

}  // namespace velmora::db
