#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "automation/script_messages.h"
#include "chart/chart_model.h"
#include "editing/chart_editor.h"
#include "plandata/plan_data.h"

namespace velmora {

// Runs the gestures of a script on a loaded chart through the handlers the window uses, one
// command per line. A line that cannot run throws ScriptFailure naming its number.
class ScriptRunner {
 public:
  ScriptRunner(PlanData& data, chart::ChartModel& model, db::Connection* connection,
               ScriptMessageBoxes& boxes);

  void Run(std::istream& script);
  // One line (already without its line end); `number` names it in failures.
  void RunLine(const std::string& line, int number);

  editing::ChartEditor& Editor() { return editor_; }
  // The dialog the next dialog command acts on, or nothing while none is open.
  editing::ScriptDialog* OpenDialog();

  // Loads the same selection again from the database (the restart after a discard).
  std::function<void()> Reload;

 private:
  void Mode(const std::vector<std::string>& words);
  void Drag(const std::vector<std::string>& words);
  void Open(const std::vector<std::string>& words);
  void Search(const std::vector<std::string>& words);
  void Discard();
  void Expand(const std::vector<std::string>& words);
  void Calendar(const std::vector<std::string>& words);
  void Save();
  void DialogCommand(const std::vector<std::string>& words, const std::string& rest);

  PlanIdx PlanOf(const std::string& order) const;
  int RowOf(const std::string& word) const;  // 1 unplanned, 0 below, else the row
  void ScrollIntoView(int row);
  double YInRow(int row) const;
  DateTime MomentOf(const std::string& date, const std::string& time) const;
  editing::ScriptDialog& TopDialog();
  [[noreturn]] void Fail(const std::string& why) const;

  PlanData& data_;
  chart::ChartModel& model_;
  db::Connection* connection_;
  ScriptMessageBoxes& boxes_;
  editing::ChartEditor editor_;
  std::vector<std::shared_ptr<editing::ScriptDialog>> dialogs_;
  int line_ = 0;
  bool saveFailed_ = false;
};

}  // namespace velmora
