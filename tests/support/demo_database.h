#pragma once

#include <string>

#include "generator/demo_options.h"
#include "support/test_db.h"

namespace velmora::test {

// The demo plant in a database of its own on either engine: a file at `file`, or a new database
// on the test server (made from a copy kept for the whole run, and dropped when the object goes).
class DemoDatabase {
 public:
  DemoDatabase(Engine engine, std::string file);
  ~DemoDatabase();
  DemoDatabase(const DemoDatabase&) = delete;
  DemoDatabase& operator=(const DemoDatabase&) = delete;

  // What the settings file names: the file path or the server address.
  const std::string& target() const { return target_; }
  Engine engine() const { return engine_; }
  // The database's name on the test server.
  const std::string& serverName() const { return name_; }
  // Makes it the untouched demo plant again.
  void Reset();

 private:
  Engine engine_;
  std::string file_;
  std::string name_;  // the server database
  std::string target_;
};

// A new database `name` on the test server, a copy of `templateName`; gives its address.
std::string CopyPgDatabase(const std::string& templateName, const std::string& name);

}  // namespace velmora::test
