#include "db/pg_engine.h"

#include <libpq-fe.h>

#include <unordered_map>

#include "db/pg_errors.h"
#include "db/pg_sql_text.h"

namespace velmora::db {

std::vector<PgResult> PgEngine::Send(std::vector<PgStatement> requests, bool reads) {
  ThrowIfBroken();
  EnsureConnected();
  std::vector<PgStatement> statements = held_.Take();
  const std::size_t held = statements.size();
  for (PgStatement& request : requests) statements.push_back(std::move(request));
  ++roundTrips_;
  std::vector<PgResult> results = Pipeline(statements);
  // Reads outside a transaction that met a connection the server had just ended (its notice not
  // yet arrived when the socket was looked at) are asked again on a new connection: nothing was
  // done that could be done twice.
  if (reads && !transaction_ && held == 0 && !results.empty() &&
      (!results[0] || PgConnectionLost(conn_.get(), results[0].get())) &&
      PQresultStatus(results[0].get()) != PGRES_TUPLES_OK) {
    Reconnect();
    ++roundTrips_;
    results = Pipeline(statements);
  }

  // The held writes were the transaction's own: one that failed ends the transaction's use.
  for (std::size_t i = 0; i < held; ++i) {
    const PgResult& result = results[i];
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
      if (statements[i].attempt && result && !PgConnectionLost(conn_.get(), result.get())) {
        broken_ = std::make_exception_ptr(HeldAttemptFailed(
            "an attempt sent with other statements failed: " + statements[i].sql));
        ThrowIfBroken();
      }
      try {
        Check(result, statements[i].sql);
      } catch (...) {
        broken_ = std::current_exception();
      }
      ThrowIfBroken();
    }
    if (statements[i].RowUpdate()) {
      // A write that found no row (or more than one) stored nothing of what was meant for it.
      if (PQntuples(result.get()) != 1) {
        broken_ =
            std::make_exception_ptr(RowNotWritten(statements[i].table, PQntuples(result.get())));
        ThrowIfBroken();
      }
      held_.Moved(statements[i].table, statements[i].ctid, PQgetvalue(result.get(), 0, 0));
    }
  }
  results.erase(results.begin(), results.begin() + static_cast<std::ptrdiff_t>(held));
  return results;
}

namespace {

// Reads what is left of the answers up to the pipeline's end, unless the connection went.
void DrainToSync(PGconn* conn) {
  for (int nothing = 0; nothing < 3 && PQstatus(conn) == CONNECTION_OK;) {
    PgResult end(PQgetResult(conn));
    if (!end) {
      ++nothing;
    } else if (PQresultStatus(end.get()) == PGRES_PIPELINE_SYNC) {
      break;
    }
  }
}

}  // namespace

std::vector<PgResult> PgEngine::Pipeline(const std::vector<PgStatement>& statements) {
  PGconn* conn = conn_.get();
  std::vector<PipelineCommand> commands;
  std::unordered_map<std::string, std::string> preparing;
  bool sent = PQenterPipelineMode(conn) == 1;
  for (std::size_t i = 0; sent && i < statements.size(); ++i)
    sent = SendPipelined(statements, i, preparing, commands);
  sent = sent && PQpipelineSync(conn) == 1;
  std::vector<PgResult> results(statements.size());
  if (sent) {
    results = ReadPipelined(statements, commands);
    DrainToSync(conn);
  }
  PQexitPipelineMode(conn);
  return results;
}

bool PgEngine::SendPipelined(const std::vector<PgStatement>& statements, std::size_t i,
                             std::unordered_map<std::string, std::string>& preparing,
                             std::vector<PipelineCommand>& commands) {
  PGconn* conn = conn_.get();
  const PgStatement& statement = statements[i];
  std::vector<const char*> values;
  for (const auto& parameter : statement.parameters)
    values.push_back(parameter ? parameter->c_str() : nullptr);
  const int n = static_cast<int>(values.size());
  bool sent = true;
  if (!statement.keep) {
    sent = PQsendQueryParams(conn, NumberedParameters(statement.sql).c_str(), n, nullptr,
                             values.data(), nullptr, nullptr, 0) == 1;
  } else {
    std::string name;
    if (const auto kept = kept_.find(statement.sql); kept != kept_.end()) {
      name = kept->second.name;
    } else if (const auto made = preparing.find(statement.sql); made != preparing.end()) {
      name = made->second;
    } else {
      name = "velmora_" + std::to_string(++keptNames_);
      sent = PQsendPrepare(conn, name.c_str(), NumberedParameters(statement.sql).c_str(), 0,
                           nullptr) == 1;
      preparing.emplace(statement.sql, name);
      commands.push_back({i, name});
    }
    sent =
        sent && PQsendQueryPrepared(conn, name.c_str(), n, values.data(), nullptr, nullptr, 0) == 1;
  }
  commands.push_back({i, {}});
  return sent;
}

std::vector<PgResult> PgEngine::ReadPipelined(const std::vector<PgStatement>& statements,
                                              const std::vector<PipelineCommand>& commands) {
  PGconn* conn = conn_.get();
  // Each command answers with one result and a null; after a failure the rest answer that the
  // pipeline was given up. A statement left without a result lost its connection.
  std::vector<PgResult> results(statements.size());
  for (const PipelineCommand& command : commands) {
    PgResult result(PQgetResult(conn));
    if (!result) break;
    while (PGresult* more = PQgetResult(conn)) PQclear(more);
    const bool ok = PQresultStatus(result.get()) == PGRES_COMMAND_OK;
    if (command.prepared.empty()) {
      // A statement whose preparation failed keeps the preparation's error.
      if (!results[command.statement]) results[command.statement] = std::move(result);
    } else if (ok) {
      kept_.emplace(statements[command.statement].sql, Kept{command.prepared, nullptr});
    } else {
      results[command.statement] = std::move(result);
    }
  }
  return results;
}

}  // namespace velmora::db
