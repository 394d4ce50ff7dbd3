#pragma once

#include <string>
#include <string_view>

#include "common/errors.h"

struct pg_conn;
struct pg_result;

namespace velmora::db {

extern const std::string kPgBusy;
extern const std::string kPgLost;

// Throws when `address` is not a server address libpq can read, naming what is wrong with it:
// an option it does not know, or the part that is malformed. `shown` is the address without its
// password.
void CheckPgAddress(const std::string& address, const std::string& shown);

// Why a connection could not be made, in the words a user can act on, with libpq's own words in
// brackets.
DatabaseError PgConnectError(pg_conn* conn, const std::string& shown);

// Whether a failed statement's result says the connection is gone (dropped, or ended by the
// server), rather than that the statement itself failed.
bool PgConnectionLost(pg_conn* conn, const pg_result* result);

// Throws the failure `result` reports (a null result: the connection's own error) in the words a
// user can act on, with the server's text in brackets. `what` is the statement or step that
// failed; `name` the server address for the message.
[[noreturn]] void ThrowPgFailure(pg_conn* conn, const pg_result* result, std::string_view what,
                                 const std::string& name);

}  // namespace velmora::db
