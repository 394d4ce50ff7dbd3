#include "roundtrip/stored_view.h"

#include "common/date_text.h"
#include "common/numeric.h"
#include "db/recordset.h"

namespace velmora::test {
namespace {

const char* const kTimedBack = "(timed back from its end)";

std::string Moment(DateTime date, DateTime time) {
  return FormatSlashDate(date) + " " + FormatColonTime(time);
}

}  // namespace

std::string Describe(const ShownArrangement& a) {
  return "[" + a.machine + "|" + a.destination + "] " + a.start + " - " + a.end + " " +
         std::to_string(a.duration) + "min setup " + std::to_string(a.setup) + " qty " +
         std::to_string(a.quantity) + " fixed " + a.fixed + " workers " +
         std::to_string(a.workers) + " due " + a.initialDue + " " + a.item + "/" +
         std::to_string(a.seq);
}

ShownPlan ShownOnChart(const PlanData& data, std::vector<std::string>& problems) {
  ShownPlan shown;
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    if (e.InUse <= 0) continue;
    for (const MemberGroup* group : {&e.A, &e.B}) {
      for (int k = 1; k <= group->Stored(); ++k) {
        const Member& m = (*group)[k];
        if (m.OrderNo == 0) continue;
        if (m.OrderNo < 0)
          problems.push_back("手配 " + std::to_string(m.OrderNo) + " は番号がない");
        ShownArrangement a;
        a.machine = e.MachineCode;
        a.destination = e.DestinationCode;
        a.start = Moment(e.StartDate, e.StartTime);
        a.end = Moment(e.EndDate, e.EndTime);
        a.initialDue = FormatOptionalSlashDate(e.InitialDueDate);
        a.fixed = e.FixedFlag;
        a.duration = e.DurationMinutes;
        a.setup = e.SetupMinutes;
        a.quantity = m.OrderQty;
        a.workers = e.Workers;
        a.item = m.ItemCode;
        a.seq = m.Seq;
        if (!shown.emplace(m.OrderNo, a).second) {
          problems.push_back("手配 " + std::to_string(m.OrderNo) + " が二つのバーにある");
        }
      }
    }
  }
  return shown;
}

ShownPlan ExpectedAfterLoad(const PlanData& data, const ShownPlan& shown, db::Connection& file,
                            std::vector<std::string>& problems) {
  const std::string from = FormatYmd(data.PeriodStartDate().AddDays(-2));
  const std::string to = FormatYmd(data.PeriodEndDate());
  ShownPlan expected;
  for (auto [number, a] : shown) {
    db::Recordset row;
    row.Open("SELECT * FROM 手配情報 WHERE 手配番号=?", {number}, file);
    const std::string name = "手配 " + std::to_string(number);
    if (row.Eof()) {
      problems.push_back(name + " が保存されていない");
      continue;
    }
    const bool deleted = row.Fields("削除フラグ").Text() != "0";
    if (deleted != (a.quantity == 0)) {
      problems.push_back(name + " の削除フラグ " + row.Fields("削除フラグ").Text() + " と数量 " +
                         std::to_string(a.quantity) + " が合わない");
    }
    if (deleted || row.Fields("生産工場コード").Number() != data.PlantCode) continue;
    if (row.Fields("納期").Text() < from || row.Fields("開始日").Text() > to) continue;
    // The category is the one of the item's step: a lot re-labelled to another item may leave it.
    db::Recordset step;
    step.Open(
        "SELECT 工程分類コード FROM 工程手順マスタ JOIN 工程内容マスタ USING (工程内容コード) "
        "WHERE 品名コード=? AND 順序=? AND 生産工場コード=?",
        {row.Fields("品名コード").Get(), row.Fields("順序").Get(),
         row.Fields("生産工場コード").Get()},
        file);
    if (step.Eof() || step.Fields(0).Number() != Val(data.CategoryCode)) continue;
    // A setup of 0 stands for the molding master's setup, which the load takes.
    if (row.Fields("段取時間").Number() == 0) a.setup = -1;

    const bool placed =
        row.Fields("手配確定区分").Text() == "2" &&
        (row.Fields("GNT開始時刻").Number() != 0 || row.Fields("GNT終了時刻").Number() != 0 ||
         row.Fields("完納区分").Text() != "0");
    if (!placed) {
      if (a.machine.find_first_not_of(' ') != std::string::npos) {
        problems.push_back(name + " は機械 " + a.machine + " にあるが、読み直すと未計画になる");
      }
      a.machine = std::string(8, ' ');
      a.fixed = "0";
      if (a.start < FormatSlashDate(data.PeriodStartDate())) {
        a.start = FormatSlashDate(data.PeriodStartDate()) + a.start.substr(10);
        a.end = FormatSlashDate(data.PeriodStartDate().AddDays(1)) + a.end.substr(10);
      }
    }
    // A row without a stored duration is timed at every load from the cycle master as it then
    // stands (which this very save may have changed for its item and machine).
    if (a.duration == 0 || row.Fields("GNT所要時間（分）").Number() == 0) a.start = kTimedBack;
    if (a.initialDue.empty()) a.initialDue = a.end.substr(0, 10);
    expected.emplace(number, a);
  }
  return expected;
}

std::vector<std::string> Differences(const ShownPlan& expected, const ShownPlan& loaded) {
  std::vector<std::string> lines;
  for (const auto& [number, a] : expected) {
    const auto it = loaded.find(number);
    if (it == loaded.end()) {
      lines.push_back("手配 " + std::to_string(number) + " が読み直すとない: " + Describe(a));
      continue;
    }
    ShownArrangement b = it->second;
    if (a.setup == -1) b.setup = -1;
    if (a.start == kTimedBack) {
      b.start = kTimedBack;
      b.duration = a.duration;
    }
    if (!(b == a)) {
      lines.push_back("手配 " + std::to_string(number) + "\n  保存前 " + Describe(a) +
                      "\n  読み直し " + Describe(b));
    }
  }
  for (const auto& [number, a] : loaded) {
    if (!expected.count(number)) {
      lines.push_back("手配 " + std::to_string(number) + " が読み直すと現れる: " + Describe(a));
    }
  }
  return lines;
}

std::vector<std::string> CalendarDifferences(const PlanData& shown, const PlanData& loaded) {
  std::vector<std::string> lines;
  for (int r = 2; r <= shown.MachineRowCount; ++r) {
    for (int d = 0; d <= shown.DayCount; ++d) {
      std::string a = std::to_string(shown.WorkMinutes(r, d));
      std::string b = std::to_string(loaded.WorkMinutes(r, d));
      for (int s = 1; s <= 8; ++s) {
        a += " " + FormatColonTime(shown.ShiftTimes(r, s, d));
        b += " " + FormatColonTime(loaded.ShiftTimes(r, s, d));
      }
      if (a != b) {
        lines.push_back("機械 " + shown.RowCode[static_cast<std::size_t>(r)] + " 日 " +
                        std::to_string(d) + "\n  保存前 " + a + "\n  読み直し " + b);
      }
    }
  }
  return lines;
}

}  // namespace velmora::test
