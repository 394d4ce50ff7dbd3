#include "pg_server.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "generator/demo_generator.h"

namespace velmora::bench::pg {

namespace {

constexpr const char* kHowToStart =
    " Run the benchmarks with `make bench`, which starts one, or start one with "
    "`scripts/pg-test-server start DIR` and set VELMORA_PG_STATE=DIR.";

void IgnoreNotice(void*, const char*) {}

bool failed = false;

}  // namespace

std::string AdminUri() {
  const char* state = std::getenv("VELMORA_PG_STATE");
  if (state == nullptr || *state == '\0') {
    throw std::runtime_error(
        std::string("no PostgreSQL server for the benchmarks: VELMORA_PG_STATE is not set.") +
        kHowToStart);
  }
  const std::string file = std::string(state) + "/uri";
  std::ifstream in(file);
  std::string uri;
  if (!in || !std::getline(in, uri) || uri.empty()) {
    throw std::runtime_error("no PostgreSQL server for the benchmarks: " + file +
                             " is missing or empty." + kHowToStart);
  }
  return uri;
}

std::string DatabaseUri(const std::string& name) {
  std::string uri = AdminUri();
  const std::string admin = "/postgres?";
  const std::size_t at = uri.find(admin);
  if (at == std::string::npos) throw std::runtime_error("unexpected server URI " + uri);
  return uri.replace(at, admin.size(), "/" + name + "?");
}

ConnectionPtr Connect(const std::string& uri) {
  ConnectionPtr connection(PQconnectdb(uri.c_str()));
  if (connection == nullptr) throw std::bad_alloc();
  if (PQstatus(connection.get()) != CONNECTION_OK) {
    throw std::runtime_error("cannot connect to " + uri + ": " + PQerrorMessage(connection.get()));
  }
  PQsetNoticeProcessor(connection.get(), IgnoreNotice, nullptr);
  return connection;
}

void Check(PGconn* connection, const PGresult* result, const std::string& what) {
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    throw std::runtime_error("PostgreSQL: " + what + ": " + PQerrorMessage(connection));
}

ResultPtr Exec(PGconn* connection, const std::string& sql) {
  ResultPtr result(PQexec(connection, sql.c_str()));
  Check(connection, result.get(), sql);
  return result;
}

std::string ScratchName(const std::string& what) {
  return "velmora_bench_" + what + "_" + std::to_string(getpid());
}

std::string CreateDatabase(const std::string& name, const std::string& from) {
  ConnectionPtr admin = Connect(AdminUri());
  Exec(admin.get(), "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
  // A file copy of the template is much faster than writing it through the log, and the server
  // is thrown away after the run.
  Exec(admin.get(), from.empty()
                        ? "CREATE DATABASE " + name +
                              " TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' "
                              "LC_CTYPE 'C'"
                        : "CREATE DATABASE " + name + " TEMPLATE " + from + " STRATEGY FILE_COPY");
  return DatabaseUri(name);
}

void DropDatabase(const std::string& name) {
  ConnectionPtr admin = Connect(AdminUri());
  Exec(admin.get(), "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
}

demo::DemoOptions LargePlantOptions() {
  demo::DemoOptions options;
  options.machines = 100;
  options.arrangements = 40000;  // about 20,000 of them are molding steps
  return options;
}

std::string GenerateLargePlant(const std::string& name) {
  const std::string uri = CreateDatabase(name);
  demo::GenerateDemoDatabase(uri, LargePlantOptions());
  Exec(Connect(uri).get(), "VACUUM ANALYZE");
  return uri;
}

void Fail(benchmark::State& state, const std::string& why) {
  failed = true;
  std::cerr << why << std::endl;
  state.SkipWithError(why.c_str());
}

int RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  try {
    Connect(AdminUri());
  } catch (const std::exception& e) {
    std::cerr << argv[0] << ": " << e.what() << std::endl;
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return failed ? 1 : 0;
}

std::map<std::string, std::vector<double>>& Runs() {
  static std::map<std::string, std::vector<double>> runs;
  return runs;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace velmora::bench::pg
