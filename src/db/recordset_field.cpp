#include "db/recordset.h"

#include "common/numeric.h"

namespace velmora::db {

// A field reads and writes through its recordset's current row.

bool Field::IsNull() const {
  return rs_->IsNullAt(index_);
}
Value Field::Get() const {
  return rs_->ValueAt(index_);
}
std::string Field::Text() const {
  return rs_->TextAt(index_);
}
double Field::Number() const {
  return rs_->NumberAt(index_);
}
std::int16_t Field::Int16() const {
  return ToInt16(Number());
}
std::int32_t Field::Int32() const {
  return ToInt32(Number());
}
const std::string& Field::Name() const {
  return rs_->NameAt(index_);
}

Field& Field::operator=(const Value& value) {
  rs_->SetAt(index_, value);
  return *this;
}

}  // namespace velmora::db
