// The script word `level`, and the export that adds level.csv after it.
#include <cmath>
#include <sstream>

#include "automation/script_runner.h"
#include "automation/state_csv.h"
#include "common/date_text.h"
#include "levelling/leveller.h"
#include "startup/local_today.h"

namespace velmora {
namespace {

constexpr const char* kLevelUsage =
    "level [FROM TO] [CODES|all] [othermachines] [budget SECONDS] です";
// A longer search would leave a script hanging for what a person cannot wait for either.
constexpr double kLongestBudget = 600;

std::optional<double> SecondsOf(const std::string& word) {
  std::istringstream in(word);
  double seconds = 0;
  if (!(in >> seconds) || !in.eof() || !std::isfinite(seconds)) return std::nullopt;
  return seconds;
}

std::string Summary(const levelling::Proposal& p) {
  auto fromTo = [](auto before, auto after) {
    return std::to_string(before) + "→" + std::to_string(after);
  };
  std::string text = "自動調整: 移動 " + std::to_string(p.moves.size()) + " 件、衝突 " +
                     fromTo(p.before.clashes, p.after.clashes) + " 件、納期遅れ " +
                     fromTo(p.before.latePlans, p.after.latePlans) + " 件 (" +
                     fromTo(p.before.lateMinutes, p.after.lateMinutes) + " 分)";
  if (!p.stuck.empty()) text += "、解消できない衝突 " + std::to_string(p.stuck.size()) + " 件";
  if (p.cutByBudget) text += "、時間切れ";
  return text + "\n";
}

}  // namespace

void ScriptRunner::Level(const std::vector<std::string>& words) {
  const levelling::Proposal& proposal = session_.ProposeLevel(LevelRequestOf(words));
  level_.emplace(data_, proposal);
  // A script has nobody to look at the proposal first: it keeps it, as one step undo takes back.
  if (session_.ShownProposal() != nullptr) session_.ApplyProposal();
  boxes_.Print(Summary(proposal));
}

levelling::LevelRequest ScriptRunner::LevelRequestOf(const std::vector<std::string>& words) const {
  levelling::LevelRequest request;
  request.firstDay = levelling::FirstLevelDay(data_, LocalToday());
  request.lastDay = data_.PeriodEndDate();
  const std::size_t n = words.size();
  std::size_t i = 1;
  if (i < n && ParseDateText(words[i])) {
    if (i + 1 >= n || !ParseDateText(words[i + 1])) Fail("level の終わりの日付がありません");
    request.firstDay = DayOfPeriod(words[i]);
    request.lastDay = DayOfPeriod(words[i + 1]);
    if (request.lastDay < request.firstDay) Fail("level の終わりの日付が始めの日付より前です");
    i += 2;
  }
  if (i < n && words[i] != "othermachines" && words[i] != "budget") {
    if (words[i] != "all") request.rows = MachineRowsOf(words[i]);
    ++i;
  }
  if (i < n && words[i] == "othermachines") {
    request.otherMachines = true;
    ++i;
  }
  if (i < n && words[i] == "budget") {
    const auto seconds = i + 1 < n ? SecondsOf(words[i + 1]) : std::nullopt;
    if (!seconds || *seconds < 0 || *seconds > kLongestBudget) {
      Fail("budget には 0 から 600 までの秒数を書いてください");
    }
    request.budgetSeconds = *seconds;
    i += 2;
  }
  if (i != n) Fail(kLevelUsage);
  return request;
}

DateTime ScriptRunner::DayOfPeriod(const std::string& word) const {
  const auto day = ParseDateText(word);
  if (!day) Fail("日付 " + word + " を読めません (yyyy/mm/dd)");
  const DateTime first = data_.PeriodStartDate();
  const DateTime last = data_.PeriodEndDate();
  if (*day < first || *day > last) {
    Fail(std::string(kDateOutsidePeriod) + FormatSlashDate(first) + "～" + FormatSlashDate(last));
  }
  return *day;
}

std::vector<int> ScriptRunner::MachineRowsOf(const std::string& codes) const {
  std::vector<int> rows;
  std::istringstream in(codes);
  for (std::string code; std::getline(in, code, ',');) {
    if (code.empty()) Fail(kLevelUsage);
    const int row = RowOf(code);
    if (row < 2 || row > data_.MachineRowCount) Fail("行 " + code + " は機械の行ではありません");
    rows.push_back(row);
  }
  if (rows.empty() || codes.back() == ',') Fail(kLevelUsage);
  return rows;
}

void ScriptRunner::Export(const std::string& dir) {
  std::vector<ExtraCsv> extra;
  if (level_) extra.push_back({"level.csv", [this](std::ostream& out) { level_->Write(out); }});
  try {
    WriteStateCsv(data_, session_.Chart(), session_.MachineLoad(), dir, extra);
  } catch (const std::exception& e) {
    Fail(std::string("書き出せません: ") + e.what());
  }
}

}  // namespace velmora
