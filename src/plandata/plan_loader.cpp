#include "plandata/plan_loader.h"

#include <algorithm>
#include <cmath>
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
#include "plandata/plan_fields.h"
#include "plandata/plan_row_reader.h"
#include "plandata/queries.h"

namespace velmora {
namespace {

namespace n = dbname;

// The columns the loader's own steps read, by meaning; the fields the table reads straight into
// the entry come with their reading.
struct PlanColumns {
  explicit PlanColumns(const PlanColumnPositions& c)
      : orderNo(c.Of(n::kOrderNo)),
        planNo(c.Of(n::kPlanNo)),
        itemCode(c.Of(n::kItemCode)),
        seq(c.Of(n::kSeq)),
        plantCode(c.Of(n::kPlantCode)),
        machineCode(c.Of(n::kMachineCode)),
        startDay(c.Of(n::kStartDay)),
        dueDay(c.Of(n::kDueDay)),
        startTime(c.Of(n::kGanttStartTime)),
        endTime(c.Of(n::kGanttEndTime)),
        initialDue(c.Of(n::kGanttInitialDue)),
        minutes(c.Of(n::kGanttMinutes)),
        setupTime(c.Of(n::kSetupTime)),
        orderQty(c.Of(n::kOrderQty)),
        receivedQty(c.Of(n::kReceivedQty)),
        lastResultDay(c.Of(n::kLastResultDay)),
        confirmClass(c.Of(n::kConfirmClass)),
        completionClass(c.Of(n::kCompletionClass)),
        fixedClass(c.Of(n::kSchedulerFixedClass)),
        deleteFlag(c.Of(n::kDeleteFlag)),
        modelName(c.Of(n::kModelName)),
        processName(c.Of(n::kProcessName)),
        planItemCode(c.Of(n::kPlanItemCode)),
        preferredCycle(c.Of(n::kPreferredCycle)),
        productivity(c.Of(n::kProductivity)),
        moldCycle(c.Of(n::kMoldCycle)),
        cavities(c.Of(n::kCavities)),
        shotWeight(c.Of(n::kShotWeight)),
        setupBefore(c.Of(n::kSetupBefore)),
        setupAfter(c.Of(n::kSetupAfter)) {
    const auto fields = PlanFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].read) direct.emplace_back(fields[i].read, c.At(i));
    }
  }

  int orderNo, planNo, itemCode, seq, plantCode, machineCode, startDay, dueDay, startTime, endTime,
      initialDue, minutes, setupTime, orderQty, receivedQty, lastResultDay, confirmClass,
      completionClass, fixedClass, deleteFlag, modelName, processName, planItemCode, preferredCycle,
      productivity, moldCycle, cavities, shotWeight, setupBefore, setupAfter;
  // The fields read straight into the entry, with their positions.
  std::vector<std::pair<decltype(PlanField::read), int>> direct;
};

// The values the flags may take.
constexpr std::string_view kDeleteFlags[] = {"0", "1"};
constexpr std::string_view kConfirmClasses[] = {"1", "2"};
constexpr std::string_view kCompletionClasses[] = {"0", "1", "2"};
constexpr std::string_view kFixedClasses[] = {"0", "1", "2"};

using RowReader = PlanRowReader;

// What the row says before the entry takes any of it: where the arrangement is placed, and the
// keys and dates the rest is read against.
struct RowHead {
  DateTime dueDay;
  std::string confirm;
  std::string machine = "        ";
  std::string fixed = "0";
  DateTime startDay;
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

  head.startDay = row.Date(col.startDay);
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

// The fields stored as they are, then the mold's values the cycle and weight come from.
CycleBasis FillLotValues(PlanEntry& e, const RowReader& row, const PlanColumns& col) {
  for (const auto& [read, position] : col.direct) read(e, row, position);
  const double cavities = row.Number(col.cavities);
  e.Cavities = row.Checked([&] { return ToInt32(cavities); }, col.cavities);
  const double shotWeight = row.Number(col.shotWeight);
  e.PieceWeight = cavities == 0
                      ? 0
                      : row.Checked([&] { return ToInt32(shotWeight / cavities); }, col.shotWeight);
  const double preferredCycle = row.Cycle(col.preferredCycle);
  e.MoldCycle = static_cast<float>(preferredCycle != 0 ? preferredCycle : row.Cycle(col.moldCycle));
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

  const bool noPlanItem = row.IsNull(col.planItemCode);
  e.PlanItemCode = noPlanItem ? head.itemCode : row.Text(col.planItemCode);
  e.ProcessName = member.ProcessName;
  e.FirstProcessName = member.ProcessName;
  e.ModelName = member.ModelName;
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
  const PlanColumnPositions positions(PlanRows);
  const PlanColumns col(positions);
  const RowReader row(PlanRows, positions);
  const DateTime periodStart = data.PeriodStartDate();

  if (data.PlanTable.size() < 2) data.ResetPlanTable();
  // The arrangement's own columns come first; the save checks them against the stored row.
  const int ownColumns = PlanRows.FieldCount() - JoinedColumnCount();
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
