#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "automation/level_csv.h"
#include "automation/script_messages.h"
#include "session/edit_session.h"

namespace velmora {

// Runs the gestures of a script on a loaded edit session, the one the window drives too, one
// command per line. A line that cannot run throws ScriptFailure naming its number.
class ScriptRunner {
 public:
  ScriptRunner(EditSession& session, ScriptMessageBoxes& boxes);

  void Run(std::istream& script);
  // One line (already without its line end); `number` names it in failures.
  void RunLine(const std::string& line, int number);

  // The dialog the next dialog command acts on, or nothing while none is open.
  DialogModel* OpenDialog() { return session_.TopDialog(); }

 private:
  // The commands on the chart (false: not one of them) and the others.
  bool ChartCommand(const std::vector<std::string>& words);
  bool OtherCommand(const std::vector<std::string>& words, const std::string& line);
  void UndoOrRedo(const std::string& command);
  void Mode(const std::vector<std::string>& words);
  void Drag(const std::vector<std::string>& words);
  void Open(const std::vector<std::string>& words);
  void Search(const std::vector<std::string>& words);
  void Discard();
  void Expand(const std::vector<std::string>& words);
  void Wheel(const std::vector<std::string>& words);
  void Key(const std::vector<std::string>& words);
  void Viewport(const std::vector<std::string>& words);
  void PrintWhere();
  void PrintLoad(const std::string& rowWord, const std::string& dayText);
  void Calendar(const std::vector<std::string>& words);
  void Level(const std::vector<std::string>& words);
  levelling::LevelRequest LevelRequestOf(const std::vector<std::string>& words) const;
  DateTime DayOfPeriod(const std::string& word) const;
  std::vector<int> MachineRowsOf(const std::string& codes) const;
  void Export(const std::string& dir);
  void Save();
  void DialogCommand(const std::vector<std::string>& words, const std::string& rest);

  PlanIdx PlanOf(const std::string& order) const;
  int RowOf(const std::string& word) const;  // 1 unplanned, 0 below, else the row
  double YInRow(int row) const;
  DateTime MomentOf(const std::string& date, const std::string& time) const;
  DialogModel& TopDialog();
  [[noreturn]] void Fail(const std::string& why) const;

  EditSession& session_;
  const PlanData& data_;
  ScriptMessageBoxes& boxes_;
  int line_ = 0;
  bool saveFailed_ = false;
  std::optional<LevelCsv> level_;  // the script's last levelling, for level.csv
};

}  // namespace velmora
