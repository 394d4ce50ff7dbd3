#include "plandata/plan_loader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/date_text.h"
#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"
#include "db/recordset.h"
#include "plandata/back_schedule.h"
#include "plandata/db_names.h"
#include "plandata/queries.h"
#include "plandata/unreadable_value.h"

namespace velmora {
namespace {

namespace n = dbname;

// Positions of the columns the loader reads, looked up once per load rather than per row.
struct Columns {
  explicit Columns(db::Recordset& rs) : rs_(rs) {}
  int operator()(const char* name) const {
    const int index = rs_.FieldIndex(name);
    if (index < 0) throw DatabaseError(std::string("plan query has no column ") + name);
    found.emplace_back(index, name);
    return index;
  }
  db::Recordset& rs_;
  // The names as the program spells them (a server gives its own folded spelling).
  mutable std::vector<std::pair<int, const char*>> found;
};

// The tables the plan query joins: a value it cannot take is named where it is stored.
enum class Home { Arrangement, Item, ProductionPlan, Routing, MoldedProduct, MachineCycle };

struct Origin {
  Home home = Home::Arrangement;
  const char* column = nullptr;  // as stored there; nullptr: the query's own name
};

struct PlanColumns {
  explicit PlanColumns(const Columns& c)
      : orderNo(c(n::kOrderNo)),
        planNo(c(n::kPlanNo)),
        itemCode(c(n::kItemCode)),
        seq(c(n::kSeq)),
        plantCode(c(n::kPlantCode)),
        machineCode(c(n::kMachineCode)),
        destinationCode(c(n::kDestinationCode)),
        startDay(c(n::kStartDay)),
        dueDay(c(n::kDueDay)),
        startTime(c(n::kGanttStartTime)),
        endTime(c(n::kGanttEndTime)),
        initialDue(c(n::kGanttInitialDue)),
        minutes(c(n::kGanttMinutes)),
        setupTime(c(n::kSetupTime)),
        orderQty(c(n::kOrderQty)),
        receivedQty(c(n::kReceivedQty)),
        lastResultDay(c(n::kLastResultDay)),
        sheetIssueDay(c(n::kSheetIssueDay)),
        workers(c(n::kWorkers)),
        resultTime(c(n::kResultTime)),
        moldNo(c(n::kMoldNo)),
        confirmClass(c(n::kConfirmClass)),
        completionClass(c(n::kCompletionClass)),
        fixedClass(c(n::kSchedulerFixedClass)),
        deleteFlag(c(n::kDeleteFlag)),
        modelName(c(n::kModelName)),
        packQty(c(n::kPackQty)),
        processName(c(n::kProcessName)),
        planQty(c(n::kPlanQty)),
        planItemCode(c(n::kPlanItemCode)),
        preferredCycle(c(n::kPreferredCycle)),
        productivity(c(n::kProductivity)),
        moldCycle(c(n::kMoldCycle)),
        cavities(c(n::kCavities)),
        shotWeight(c(n::kShotWeight)),
        setupBefore(c(n::kSetupBefore)),
        setupAfter(c(n::kSetupAfter)),
        names(c.found) {}

  // Where the value of a column comes from (only numbers of the masters can fail to read).
  Origin OriginOf(int column) const {
    if (column == packQty) return {Home::Item, n::kPackQty};
    if (column == planQty) return {Home::ProductionPlan, n::kPlanQty};
    if (column == productivity) return {Home::Routing, n::kStoredProductivity};
    if (column == preferredCycle) return {Home::MachineCycle, n::kStoredCycle};
    for (const auto& [index, name] : {std::pair{moldCycle, n::kMoldCycle},
                                      {cavities, n::kCavities},
                                      {shotWeight, n::kShotWeight},
                                      {setupBefore, n::kSetupBefore},
                                      {setupAfter, n::kSetupAfter}}) {
      if (column == index) return {Home::MoldedProduct, name};
    }
    for (const auto& [index, name] : names) {
      if (column == index) return {Home::Arrangement, name};
    }
    return {};
  }

  int orderNo, planNo, itemCode, seq, plantCode, machineCode, destinationCode, startDay, dueDay,
      startTime, endTime, initialDue, minutes, setupTime, orderQty, receivedQty, lastResultDay,
      sheetIssueDay, workers, resultTime, moldNo, confirmClass, completionClass, fixedClass,
      deleteFlag, modelName, packQty, processName, planQty, planItemCode, preferredCycle,
      productivity, moldCycle, cavities, shotWeight, setupBefore, setupAfter;
  std::vector<std::pair<int, const char*>> names;
};

// The values the flags may take.
constexpr std::string_view kDeleteFlags[] = {"0", "1"};
constexpr std::string_view kConfirmClasses[] = {"1", "2"};
constexpr std::string_view kCompletionClasses[] = {"0", "1", "2"};
constexpr std::string_view kFixedClasses[] = {"0", "1", "2"};

// Reading one row. A value the load cannot take stops it, naming the table, the row's key and
// the column; nothing is guessed (see unreadable_value.h).
class RowReader {
 public:
  RowReader(db::Recordset& rs, const PlanColumns& col) : rs_(rs), col_(col) {}

  // A conversion of a value already read; its failure names that value.
  template <typename F>
  auto Checked(F convert, int column) const {
    try {
      return convert();
    } catch (const ConversionError&) {
      Fail(column, OutOfRange(Text(column)));
    }
  }

  // Positions come from the query's own columns, so the reads skip the by-name checks.
  std::string Text(int column) const { return rs_.TextAt(column); }
  bool IsNull(int column) const { return rs_.IsNullAt(column); }
  // A number column: Null reads as 0 (a master without the row gives Null in all its columns).
  double Number(int column) const {
    const db::Value value = rs_.ValueAt(column);
    if (const std::string problem = NumberProblem(value); !problem.empty()) Fail(column, problem);
    return value.Number();
  }
  std::int32_t Int32(int column) const {
    const double value = Number(column);
    return Checked([&] { return ToInt32(value); }, column);
  }
  std::int16_t Int16(int column) const {
    const double value = Number(column);
    return Checked([&] { return ToInt16(value); }, column);
  }
  // A cycle in seconds, which the plan keeps as a single.
  double Cycle(int column) const {
    const double value = Number(column);
    if (std::fabs(value) > std::numeric_limits<float>::max())
      Fail(column, OutOfRange(Text(column)));
    return value;
  }

  // A number that must be present: a key, or a value a 0 would stand in for wrongly (a Null
  // quantity read as 0 is a deleted lot to the next save).
  std::int32_t Required(int column) const {
    if (IsNull(column)) Fail(column, kEmptyValue);
    return Int32(column);
  }

  // A flag: present and one of the values the program knows.
  std::string Flag(int column, std::span<const std::string_view> known) const {
    if (IsNull(column)) Fail(column, kEmptyValue);
    std::string text = Text(column);
    for (std::string_view value : known) {
      if (text == value) return text;
    }
    Fail(column, UnknownFlag(text, known));
  }

  // Whether a stored time column holds anything but zero (read leniently, as Time reads it).
  bool TimeIsSet(int column) const { return rs_.NumberAt(column) != 0; }

  // A stored date text.
  DateTime Date(int column) const {
    if (IsNull(column)) Fail(column, kEmptyValue);
    return DateOf(column, Text(column));
  }
  DateTime DateOf(int column, const std::string& text) const {
    if (auto date = ParseStoredDate(text)) return *date;
    Fail(column, NotADate(text));
  }

  // A stored time: its "00:00:00" form when that is a time of day, else a number of seconds,
  // whose time of day is taken (a value of a day or more wraps around the clock), so one odd
  // row never stops the load of a whole category.
  DateTime Time(int column) const { return TimeOfStoredValue(Text(column)); }

  [[noreturn]] void Fail(int column, std::string_view problem) const {
    const Origin origin = col_.OriginOf(column);
    RefuseStoredValue(Where(origin.home), origin.column ? origin.column : rs_.NameAt(column),
                      problem);
  }

 private:
  std::string Key(int column) const { return Trim(Text(column)); }

  // The table and the key of the row a value is stored in; a master's key is the arrangement's
  // columns it is joined by.
  std::string Where(Home home) const {
    const std::string item = std::string(n::kItemCode) + " " + Key(col_.itemCode) + "、" + n::kSeq +
                             " " + Key(col_.seq) + "、";
    switch (home) {
      case Home::Item:
        return std::string(n::kItems) + "の" + n::kItemCode + " " + Key(col_.itemCode);
      case Home::ProductionPlan:
        return std::string(n::kProductionPlans) + "の" + n::kPlanNo + " " + Key(col_.planNo);
      case Home::Routing:
        return std::string(n::kRoutings) + "の" + item + n::kPlantCode + " " + Key(col_.plantCode);
      case Home::MoldedProduct:
        return std::string(n::kMoldedProducts) + "の" + item + n::kDepartmentCode + " " +
               Key(col_.plantCode);
      case Home::MachineCycle:
        return std::string(n::kMachineCycles) + "の" + item + n::kMachineCode + " " +
               Key(col_.machineCode);
      case Home::Arrangement:
        break;
    }
    const std::string orderNo = IsNull(col_.orderNo) ? "(空)" : Key(col_.orderNo);
    return std::string(n::kArrangements) + "の" + n::kOrderNo + " " + orderNo;
  }

  db::Recordset& rs_;
  const PlanColumns& col_;
};

// What the row says before the entry takes any of it: where the arrangement is placed, and the
// keys and dates the rest is read against.
struct RowHead {
  DateTime dueDay;
  std::string confirm;
  std::string machine = "        ";
  std::string fixed = "0";
  std::string destination;
  DateTime startDay;
  DateTime startTime;
  std::string itemCode;
  std::string itemKind;
  std::int32_t planNo = 0;
  std::int32_t orderNo = 0;
};

RowHead ReadHead(const RowReader& row, const PlanColumns& col) {
  RowHead head;
  head.dueDay = row.Date(col.dueDay);
  head.confirm = row.Flag(col.confirmClass, kConfirmClasses);

  // Placement: only confirmed arrangements with times (or completed ones) keep their machine.
  // A Null completion flag is not completed.
  const bool placed =
      head.confirm == "2" && (row.TimeIsSet(col.startTime) || row.TimeIsSet(col.endTime) ||
                              (!row.IsNull(col.completionClass) &&
                               row.Flag(col.completionClass, kCompletionClasses) != "0"));
  if (placed) {
    head.machine = row.Text(col.machineCode);
    head.fixed = row.Flag(col.fixedClass, kFixedClasses);
  } else {
    head.confirm = "1";
  }

  head.destination = row.Text(col.destinationCode);
  head.startDay = row.Date(col.startDay);
  head.startTime = row.Time(col.startTime);
  head.itemCode = row.Text(col.itemCode);
  head.itemKind = Mid(head.itemCode, 9, 1);
  head.planNo = row.Required(col.planNo);
  head.orderNo = row.Required(col.orderNo);
  return head;
}

// The values the cycle is later computed from.
struct CycleBasis {
  double cavities = 0;
  double preferredCycle = 0;
};

// Quantities, people and the mold, as stored.
CycleBasis FillLotValues(PlanEntry& e, const RowReader& row, const PlanColumns& col) {
  e.PlanQty = row.Int32(col.planQty);
  e.PackQty = row.Int32(col.packQty);
  const double cavities = row.Number(col.cavities);
  e.Cavities = row.Checked([&] { return ToInt32(cavities); }, col.cavities);
  e.Workers = row.Int32(col.workers);
  e.ResultMinutes = row.Int32(col.resultTime);
  const double shotWeight = row.Number(col.shotWeight);
  e.PieceWeight = cavities == 0
                      ? 0
                      : row.Checked([&] { return ToInt32(shotWeight / cavities); }, col.shotWeight);
  const double preferredCycle = row.Cycle(col.preferredCycle);
  e.MoldCycle = static_cast<float>(preferredCycle != 0 ? preferredCycle : row.Cycle(col.moldCycle));
  e.MoldNo = row.Text(col.moldNo);  // Null reads as ""
  return {cavities, preferredCycle};
}

// The row's own arrangement: the first member of the group its item kind belongs to.
Member& FillFirstMember(PlanEntry& e, const RowReader& row, const PlanColumns& col,
                        const RowHead& head) {
  Member& member = (head.itemKind == "4" || head.itemKind == "2") ? e.B.Slot(1) : e.A.Slot(1);
  member.OrderNo = head.orderNo;
  member.ProcessName = row.Text(col.processName);
  member.ModelName = row.Text(col.modelName);
  member.ItemCode = head.itemCode;
  member.Seq = row.Int16(col.seq);
  member.PlanNo = head.planNo;
  member.OrderQty = row.Required(col.orderQty);
  member.ReceivedQty = row.Int32(col.receivedQty);
  return member;
}

// Setup minutes, from the setup before and after when the arrangement has none of its own, and
// the cycle per piece.
void FillSetupAndCycle(PlanEntry& e, const RowReader& row, const PlanColumns& col,
                       const CycleBasis& basis) {
  const std::int16_t setup = row.Int16(col.setupTime);
  if (setup != 0) {
    e.SetupMinutes = setup;
  } else if (!row.IsNull(col.setupBefore)) {
    const double minutes = row.Number(col.setupBefore) + row.Number(col.setupAfter);
    e.SetupMinutes = row.Checked([&] { return ToInt16(minutes); }, col.setupBefore);
  }

  const double cavities = basis.cavities;
  const double cycle = basis.preferredCycle == 0
                           ? row.Cycle(col.productivity)
                           : basis.preferredCycle / (cavities == 0 ? 1 : cavities);
  e.CycleSeconds = cycle > 0 ? static_cast<float>(cycle) : 0.0f;
}

void FillEntry(PlanEntry& e, const RowReader& row, const PlanColumns& col, DateTime periodStart) {
  RowHead head = ReadHead(row, col);
  e.MachineCode = std::move(head.machine);
  e.ConfirmFlag = head.confirm;
  e.FixedFlag = std::move(head.fixed);
  e.DestinationCode = std::move(head.destination);
  e.OrderNo = head.orderNo;

  const CycleBasis basis = FillLotValues(e, row, col);
  const Member& member = FillFirstMember(e, row, col, head);

  e.InUse = 1;
  if (head.confirm == "2" || head.startDay >= periodStart) {
    e.StartDate = head.startDay;
    e.EndDate = head.dueDay;
  } else {
    // An unconfirmed arrangement that starts before the period is shown from the period start.
    e.StartDate = periodStart;
    e.EndDate = periodStart.AddDays(1);
  }
  e.StartTime = head.startTime;
  e.EndTime = row.Time(col.endTime);

  const bool noPlanItem = row.IsNull(col.planItemCode);
  e.PlanItemCode = noPlanItem ? head.itemCode : row.Text(col.planItemCode);
  e.ProcessName = member.ProcessName;
  e.FirstProcessName = member.ProcessName;
  e.ModelName = member.ModelName;
  e.SheetIssueDate = row.Text(col.sheetIssueDay);
  e.ItemKind = head.itemKind;

  e.OrderQty = member.OrderQty;
  e.ReceivedQty = member.ReceivedQty;
  if (!row.IsNull(col.lastResultDay)) {
    const std::string lastResult = row.Text(col.lastResultDay);
    if (lastResult != "00000000") e.LastResultDate = row.DateOf(col.lastResultDay, lastResult);
  }
  e.Changed = 0;

  e.InitialDueDate = head.dueDay;
  if (!row.IsNull(col.initialDue)) {
    if (auto initial = ParseStoredDate(row.Text(col.initialDue))) e.InitialDueDate = *initial;
  }
  e.PlanNoText = noPlanItem ? "" : std::to_string(head.planNo);

  FillSetupAndCycle(e, row, col, basis);
  e.ItemCode = head.itemCode;
  e.Seq = member.Seq;

  e.DurationMinutes = row.Required(col.minutes);
  if (e.DurationMinutes == 0) BackSchedule(e);
}

}  // namespace

DateTime TimeOfStoredValue(std::string_view text) {
  if (auto time = ParseStoredTime(text)) return *time;
  const double seconds = Val(text);
  if (!std::isfinite(seconds)) return DateTime{};
  const double wrapped = std::fmod(std::floor(seconds), DateTime::kSecondsPerDay);
  const auto s =
      static_cast<std::int64_t>(wrapped < 0 ? wrapped + DateTime::kSecondsPerDay : wrapped);
  return DateTime::FromTime(static_cast<int>(s / 3600), static_cast<int>(s % 3600 / 60),
                            static_cast<int>(s % 60));
}

void ReturnPlanData(PlanData& data, db::Connection& connection, BarControls& bars) {
  db::Recordset PlanRows;
  PlanRows.Open(PlanQueryText(data), connection, db::CursorType::ForwardOnly,
                db::LockType::ReadOnly);
  const PlanColumns col{Columns(PlanRows)};
  const RowReader row(PlanRows, col);
  const DateTime periodStart = data.PeriodStartDate();

  if (data.PlanTable.size() < 2) data.ResetPlanTable();
  // The arrangement's own columns come first; the save checks them against the stored row.
  const int ownColumns = PlanRows.FieldCount() - kPlanQueryJoinedColumns;
  if (ownColumns <= 0) throw DatabaseError("plan query has too few columns");
  data.Stored.ClearArrangements();
  bars.HidePlanSurface();
  data.PlanTable.reserve(5000);
  int accepted = 0;
  for (; !PlanRows.Eof(); PlanRows.MoveNext()) {
    if (row.Number(col.plantCode) != data.PlantCode) continue;
    // The query leaves deleted rows out; what else it lets through must be a known flag.
    if (row.Flag(col.deleteFlag, kDeleteFlags) != "0") continue;

    PlanEntry& e = data.PlanTable.emplace_back();
    ++accepted;
    e.BarIndex = accepted + 1;
    FillEntry(e, row, col, periodStart);
    data.Stored.SetArrangement(e.OrderNo, PlanRows.RowFingerprint(0, ownColumns));
  }
  PlanRows.Close();

  for (int i = 2; i <= data.PlanCount(); ++i)
    bars.CreateBarPair(data.PlanTable[static_cast<std::size_t>(i)].Bar());
  bars.ShowPlanSurface();
}

}  // namespace velmora
