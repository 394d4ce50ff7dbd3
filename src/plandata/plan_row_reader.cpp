#include "plandata/plan_row_reader.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "common/date_text.h"
#include "common/numeric.h"
#include "common/text.h"
#include "plandata/db_names.h"
#include "plandata/plan_loader.h"
#include "plandata/unreadable_value.h"

namespace velmora {

namespace n = dbname;

PlanColumnPositions::PlanColumnPositions(db::Recordset& rs) {
  for (const PlanField& field : PlanFields()) {
    int position = -1;
    if (field.column.name) {
      position = rs.FieldIndex(field.column.name);
      if (position < 0) {
        throw DatabaseError(std::string("plan query has no column ") + field.column.name);
      }
    }
    positions_.push_back(position);
  }
}

int PlanColumnPositions::Of(const char* name) const {
  const auto fields = PlanFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].column.name && std::strcmp(fields[i].column.name, name) == 0) return At(i);
  }
  throw std::logic_error(std::string("the field table has no column ") + name);
}

const PlanField* PlanColumnPositions::FieldAt(int position) const {
  for (std::size_t i = 0; i < positions_.size(); ++i) {
    if (positions_[i] == position) return &PlanFields()[i];
  }
  return nullptr;
}

double PlanRowReader::Number(int column) const {
  const db::Value value = rs_.ValueAt(column);
  if (const std::string problem = NumberProblem(value); !problem.empty()) Fail(column, problem);
  return value.Number();
}

std::int32_t PlanRowReader::Int32(int column) const {
  const double value = Number(column);
  return Checked([&] { return ToInt32(value); }, column);
}

std::int16_t PlanRowReader::Int16(int column) const {
  const double value = Number(column);
  return Checked([&] { return ToInt16(value); }, column);
}

double PlanRowReader::Cycle(int column) const {
  const double value = Number(column);
  if (std::fabs(value) > std::numeric_limits<float>::max()) Fail(column, OutOfRangeText(column));
  return value;
}

std::int32_t PlanRowReader::Required(int column) const {
  if (IsNull(column)) Fail(column, kEmptyValue);
  return Int32(column);
}

std::string PlanRowReader::Flag(int column, std::span<const std::string_view> known) const {
  if (IsNull(column)) Fail(column, kEmptyValue);
  std::string text = Text(column);
  for (std::string_view value : known) {
    if (text == value) return text;
  }
  Fail(column, UnknownFlag(text, known));
}

DateTime PlanRowReader::Date(int column) const {
  if (IsNull(column)) Fail(column, kEmptyValue);
  return DateOf(column, Text(column));
}

DateTime PlanRowReader::DateOf(int column, const std::string& text) const {
  if (auto date = ParseStoredDate(text)) return *date;
  Fail(column, NotADate(text));
}

DateTime PlanRowReader::Time(int column) const {
  return TimeOfStoredValue(Text(column));
}

void PlanRowReader::Fail(int column, std::string_view problem) const {
  const PlanField* field = columns_.FieldAt(column);
  if (!field) RefuseStoredValue(Where(Home::Arrangement), rs_.NameAt(column), problem);
  RefuseStoredValue(Where(field->column.home), field->column.StoredName(), problem);
}

std::string PlanRowReader::OutOfRangeText(int column) const {
  return OutOfRange(Text(column));
}

std::string PlanRowReader::Key(const char* column) const {
  return Trim(Text(columns_.Of(column)));
}

std::string PlanRowReader::Where(Home home) const {
  const std::string item = std::string(n::kItemCode) + " " + Key(n::kItemCode) + "、" + n::kSeq +
                           " " + Key(n::kSeq) + "、";
  switch (home) {
    case Home::Item:
      return std::string(n::kItems) + "の" + n::kItemCode + " " + Key(n::kItemCode);
    case Home::ProductionPlan:
      return std::string(n::kProductionPlans) + "の" + n::kPlanNo + " " + Key(n::kPlanNo);
    case Home::Routing:
    case Home::ProcessContent:
      return std::string(TableOf(home)) + "の" + item + n::kPlantCode + " " + Key(n::kPlantCode);
    case Home::MoldedProduct:
      return std::string(n::kMoldedProducts) + "の" + item + n::kDepartmentCode + " " +
             Key(n::kPlantCode);
    case Home::MachineCycle:
      return std::string(n::kMachineCycles) + "の" + item + n::kMachineCode + " " +
             Key(n::kMachineCode);
    case Home::Arrangement:
      break;
  }
  const int orderNo = columns_.Of(n::kOrderNo);
  const std::string key = IsNull(orderNo) ? "(空)" : Trim(Text(orderNo));
  return std::string(n::kArrangements) + "の" + n::kOrderNo + " " + key;
}

}  // namespace velmora
