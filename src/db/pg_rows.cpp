#include "db/pg_rows.h"

#include <libpq-fe.h>

#include <cstdlib>
#include <cstring>

#include "common/numeric.h"

namespace velmora::db {
namespace {

// Object ids of the server's built-in types that read as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

// The rows of one result, which the server sent whole.
class PgRows final : public Rows {
 public:
  PgRows(PgResult result, std::shared_ptr<const ResultColumns> columns, bool forUpdate)
      : result_(std::move(result)),
        columns_(std::move(columns)),
        first_(forUpdate ? 1 : 0),
        count_(PQntuples(result_.get())) {
    const int fields = PQnfields(result_.get());
    for (int c = first_; c < fields; ++c) types_.push_back(PQftype(result_.get(), c));
  }

  const std::shared_ptr<const ResultColumns>& Columns() const override { return columns_; }

  bool Next() override { return ++row_ < count_; }

  bool IsNull(int column) const override {
    return PQgetisnull(result_.get(), row_, column + first_) != 0;
  }

  Value Get(int column) const override {
    if (IsNull(column)) return Value();
    const char* text = PQgetvalue(result_.get(), row_, column + first_);
    switch (types_[static_cast<std::size_t>(column)]) {
      case kBool:
        return Value(static_cast<std::int64_t>(text[0] == 't' ? 1 : 0));
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
        return Value(static_cast<std::int64_t>(std::strtoll(text, nullptr, 10)));
      case kFloat4:
      case kFloat8:
        return Value(std::strtod(text, nullptr));
      case kNumeric:
        // A sum of whole numbers comes as numeric: whole, it reads as the integer it is.
        if (std::strpbrk(text, ".eEN") == nullptr && std::strlen(text) < 19) {
          return Value(static_cast<std::int64_t>(std::strtoll(text, nullptr, 10)));
        }
        return Value(std::strtod(text, nullptr));
      default:
        return Value(std::string(
            text, static_cast<std::size_t>(PQgetlength(result_.get(), row_, column + first_))));
    }
  }

  std::string Text(int column) const override {
    if (IsText(column)) {
      return std::string(
          PQgetvalue(result_.get(), row_, column + first_),
          static_cast<std::size_t>(PQgetlength(result_.get(), row_, column + first_)));
    }
    return Get(column).Text();
  }

  double Number(int column) const override {
    if (IsNull(column)) return 0.0;
    if (IsText(column)) return Val(PQgetvalue(result_.get(), row_, column + first_));
    return Get(column).Number();
  }

  // A text column is printed from the result's own bytes: the load prints every column of every
  // row it takes, and a string made for each would cost it a fifth of its time.
  void Print(Fingerprint& print, int column) const override {
    if (IsNull(column)) {
      print.Null();
    } else if (IsText(column)) {
      print.Text(std::string_view(
          PQgetvalue(result_.get(), row_, column + first_),
          static_cast<std::size_t>(PQgetlength(result_.get(), row_, column + first_))));
    } else {
      PrintValue(print, Get(column));
    }
  }

  Value RowId() const override { return Value(std::string(PQgetvalue(result_.get(), row_, 0))); }

 private:
  bool IsText(int column) const {
    switch (types_[static_cast<std::size_t>(column)]) {
      case kBool:
      case kInt2:
      case kInt4:
      case kInt8:
      case kOid:
      case kFloat4:
      case kFloat8:
      case kNumeric:
        return false;
      default:
        return true;
    }
  }

  PgResult result_;
  std::shared_ptr<const ResultColumns> columns_;
  int first_;
  int count_;
  int row_ = -1;
  std::vector<Oid> types_;
};

}  // namespace

void PgResultDeleter::operator()(pg_result* result) const {
  PQclear(result);
}

std::unique_ptr<Rows> MakePgRows(PgResult result, std::shared_ptr<const ResultColumns> columns,
                                 bool forUpdate) {
  return std::make_unique<PgRows>(std::move(result), std::move(columns), forUpdate);
}

}  // namespace velmora::db
