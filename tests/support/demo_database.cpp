#include "support/demo_database.h"

#include <filesystem>

#include "generator/demo_generator.h"
#include "support/pg_test_server.h"

namespace velmora::test {
namespace {

// The fixed demo on the server: the one ctest puts there for the whole run, or else one
// generated for this test program.
struct ServerTemplate {
  ServerTemplate() {
    PgConnectionPtr admin = ConnectPg(PgAdminUri());
    const PgResultPtr shared =
        ExecPg(admin.get(), "SELECT 1 FROM pg_database WHERE datname = 'velmora_demo_plant'");
    if (PQntuples(shared.get()) == 1) {
      name = "velmora_demo_plant";
      return;
    }
    name = UniquePgDatabaseName("demo");
    own = true;
    demo::GenerateDemoDatabase(FreshPgDatabase(name), demo::DemoOptions{});
  }
  ~ServerTemplate() {
    if (!own) return;
    try {
      DropPgDatabase(name);
    } catch (...) {
      // The server goes after the run anyway.
    }
  }
  std::string name;
  bool own = false;
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
