#pragma once

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "generator/demo_options.h"

// The benchmarks' PostgreSQL server: scripts/bench starts a throwaway one and VELMORA_PG_STATE
// names its state folder. Each program makes its own databases on it and drops them at the end.
namespace velmora::bench::pg {

struct ConnectionClose {
  void operator()(PGconn* connection) const { PQfinish(connection); }
};
struct ResultClear {
  void operator()(PGresult* result) const { PQclear(result); }
};
using ConnectionPtr = std::unique_ptr<PGconn, ConnectionClose>;
using ResultPtr = std::unique_ptr<PGresult, ResultClear>;

// The admin database's URI. Throws, saying how to start a server, when none is running.
std::string AdminUri();
// The URI of database `name` on the same server.
std::string DatabaseUri(const std::string& name);

// Plain libpq, independent of the code measured; both throw with the server's message.
ConnectionPtr Connect(const std::string& uri);
ResultPtr Exec(PGconn* connection, const std::string& sql);
// Throws unless `result` succeeded.
void Check(PGconn* connection, const PGresult* result, const std::string& what);

// A database name of this program's own: `what` and the process id, so two runs never meet.
std::string ScratchName(const std::string& what);
// Creates database `name` (dropped first if it exists): empty, or a copy of `from`, which
// must have no connections. Returns its URI.
std::string CreateDatabase(const std::string& name, const std::string& from = "");
void DropDatabase(const std::string& name);

// The large plant the SQLite benchmarks use (100 machines, 40,000 arrangements) generated into
// a new database `name`, its statistics gathered so the planner sees it as a server that ran for
// a while would. Returns its URI.
std::string GenerateLargePlant(const std::string& name);
demo::DemoOptions LargePlantOptions();

// Stops a benchmark with `why`; the program then ends in failure, so `make bench` reports it.
void Fail(benchmark::State& state, const std::string& why);

// Runs the benchmarks given on the command line; without a server it says so and fails.
int RunBenchmarks(int argc, char** argv);

// Milliseconds of each repetition so far, by benchmark and case, to compare one writer or
// reader with its plain counterpart.
std::map<std::string, std::vector<double>>& Runs();
double Median(std::vector<double> values);

}  // namespace velmora::bench::pg
