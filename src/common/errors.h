#pragma once

#include <stdexcept>
#include <string>

namespace velmora {

// A value that cannot be converted (bad date text, integer overflow, ...).
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure of the database engine or of a query the program issued.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The engine gave up a transaction that met another one's (a serialization failure or a
// deadlock) and rolled it back: nothing of it is kept, and the same work may simply run again.
class TransactionConflict : public DatabaseError {
 public:
  using DatabaseError::DatabaseError;
};

// The connection was lost after the commit was sent and the server could not tell whether it
// took the transaction: the stored rows may hold all of it or none of it. Only a fresh load shows
// which; until then nothing may be written on the assumption of either.
class CommitOutcomeUnknown : public DatabaseError {
 public:
  using DatabaseError::DatabaseError;
};

// Ends the program in an orderly way: thrown where the program must stop (after the user has
// been told why) and caught by the entry point, which exits with `status`. Tests observe it.
struct ProgramEnd {
  int status = 0;
};

}  // namespace velmora
