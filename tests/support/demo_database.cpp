#include "support/demo_database.h"

#include <filesystem>

#include "generator/demo_generator.h"
#include "support/pg_test_server.h"

namespace velmora::test {
namespace {

// The fixed demo, generated once per test program on the server; each database is a copy.
struct ServerTemplate {
  ServerTemplate() : name(UniquePgDatabaseName("demo")) {
    demo::GenerateDemoDatabase(FreshPgDatabase(name), demo::DemoOptions{});
  }
  ~ServerTemplate() {
    try {
      DropPgDatabase(name);
    } catch (...) {
      // The server goes after the run anyway.
    }
  }
  std::string name;
};

const std::string& TemplateName() {
  static ServerTemplate kept;
  return kept.name;
}

}  // namespace

std::string CopyPgDatabase(const std::string& templateName, const std::string& name) {
  const std::string uri = FreshPgDatabase(name);  // checks the name, drops an old one
  PgConnectionPtr admin = ConnectPg(PgAdminUri());
  ExecPg(admin.get(), "DROP DATABASE \"" + name + "\"");
  ExecPg(admin.get(), "CREATE DATABASE \"" + name + "\" TEMPLATE \"" + templateName + "\"");
  return uri;
}

DemoDatabase::DemoDatabase(Engine engine, std::string file)
    : engine_(engine), file_(std::move(file)) {
  if (engine_ == Engine::Server) name_ = UniquePgDatabaseName("plant");
  Reset();
}

DemoDatabase::~DemoDatabase() {
  if (name_.empty()) return;
  try {
    DropPgDatabase(name_);
  } catch (...) {
  }
}

void DemoDatabase::Reset() {
  if (engine_ == Engine::Server) {
    target_ = CopyPgDatabase(TemplateName(), name_);
    return;
  }
  for (const char* suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(file_ + suffix);
  demo::GenerateDemoDatabase(file_, demo::DemoOptions{});
  target_ = file_;
}

}  // namespace velmora::test
