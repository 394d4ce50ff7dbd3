#pragma once

#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::db {

// "Data Source=<path>;": the form of the connection text built at start-up.
std::string MakeConnectionString(std::string_view databasePath);

// The one connection to the database file. Opening never creates a file: a path that does not
// exist or does not hold a database is an error (DatabaseError naming the file).
class Connection {
 public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Connection(Connection&&) noexcept = default;
  Connection& operator=(Connection&&) noexcept = default;
  ~Connection();

  // Opens the file named by the connection text's "Data Source"; user and password are unused.
  void Open(std::string_view connectionString, std::string_view user = "",
            std::string_view password = "", int options = -1);
  void OpenFile(const std::string& path);
  bool IsOpen() const { return db_ != nullptr; }
  const std::string& Path() const { return path_; }
  sqlite3* Handle() const;

  // Runs a statement that returns no rows (schema creation, pragmas, test fixtures).
  void ExecuteScript(std::string_view sql);

  // Milliseconds a statement waits for another program's lock before failing.
  static constexpr int kBusyTimeoutMs = 10000;

 private:
  struct Closer {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Closer> db_;
  std::string path_;
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
