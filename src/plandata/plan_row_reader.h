#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/datetime.h"
#include "common/errors.h"
#include "db/recordset.h"
#include "plandata/plan_fields.h"

namespace velmora {

// Where the field table's columns sit in the plan query's result, found once per load.
class PlanColumnPositions {
 public:
  // Throws DatabaseError when the result lacks one of the table's columns.
  explicit PlanColumnPositions(db::Recordset& rs);
  // The position of the column of field `field` (an index into PlanFields()); -1 when it has none.
  int At(std::size_t field) const { return positions_[field]; }
  // The position of a column by the name the query gives it.
  int Of(const char* name) const;
  // The field whose column sits at `position`, or nullptr.
  const PlanField* FieldAt(int position) const;

 private:
  std::vector<int> positions_;
};

// Reading one row of the plan query. A value the load cannot take stops it, naming the table,
// the row's key and the column; nothing is guessed (see unreadable_value.h).
class PlanRowReader {
 public:
  PlanRowReader(db::Recordset& rs, const PlanColumnPositions& columns)
      : rs_(rs), columns_(columns) {}

  // A conversion of a value already read; its failure names that value.
  template <typename F>
  auto Checked(F convert, int column) const {
    try {
      return convert();
    } catch (const ConversionError&) {
      Fail(column, OutOfRangeText(column));
    }
  }

  // Positions come from the query's own columns, so the reads skip the by-name checks.
  std::string Text(int column) const { return rs_.TextAt(column); }
  bool IsNull(int column) const { return rs_.IsNullAt(column); }
  // A number column: Null reads as 0 (a master without the row gives Null in all its columns).
  double Number(int column) const;
  std::int32_t Int32(int column) const;
  std::int16_t Int16(int column) const;
  // A cycle in seconds, which the plan keeps as a single.
  double Cycle(int column) const;
  // A number that must be present: a key, or a value a 0 would stand in for wrongly (a Null
  // quantity read as 0 is a deleted lot to the next save).
  std::int32_t Required(int column) const;
  // A flag: present and one of the values the program knows.
  std::string Flag(int column, std::span<const std::string_view> known) const;
  // Whether a stored time column holds anything but zero (read leniently, as Time reads it).
  bool TimeIsSet(int column) const { return rs_.NumberAt(column) != 0; }
  // A stored date text.
  DateTime Date(int column) const;
  DateTime DateOf(int column, const std::string& text) const;
  // A stored time: its "00:00:00" form when that is a time of day, else a number of seconds,
  // whose time of day is taken (a value of a day or more wraps around the clock), so one odd
  // row never stops the load of a whole category.
  DateTime Time(int column) const;

  [[noreturn]] void Fail(int column, std::string_view problem) const;

 private:
  std::string OutOfRangeText(int column) const;
  std::string Key(const char* column) const;
  // The table and the key of the row a value is stored in; a master's key is the arrangement's
  // columns it is joined by.
  std::string Where(Home home) const;

  db::Recordset& rs_;
  const PlanColumnPositions& columns_;
};

}  // namespace velmora
