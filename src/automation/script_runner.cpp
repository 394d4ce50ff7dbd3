#include "automation/script_runner.h"

#include <algorithm>
#include <sstream>

#include "automation/csv_writer.h"
#include "automation/load_csv.h"
#include "automation/script_words.h"
#include "common/date_text.h"
#include "common/text.h"

namespace velmora {

using script::Lines;
using script::RestAfter;
using script::WholeNumber;
using script::Words;

ScriptRunner::ScriptRunner(EditSession& session, ScriptMessageBoxes& boxes)
    : session_(session), data_(session.Data()), boxes_(boxes) {}

void ScriptRunner::Run(std::istream& script) {
  std::string line;
  int number = 0;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 0 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // byte order mark
    RunLine(line, ++number);
  }
  if (saveFailed_) {
    throw ScriptFailure(1, "保存できませんでした。データベースには何も書き込んでいません");
  }
  if (boxes_.Queued() > 0) {
    line_ = number;
    throw ScriptFailure(
        3, "使われなかった答えが " + std::to_string(boxes_.Queued()) + " 個残っています");
  }
}

void ScriptRunner::Fail(const std::string& why) const {
  throw ScriptFailure(2, std::to_string(line_) + " 行目: " + why);
}

void ScriptRunner::RunLine(const std::string& line, int number) {
  line_ = number;
  const std::vector<std::string> words = Words(line);
  if (words.empty() || words[0][0] == '#') return;
  try {
    if (!ChartCommand(words) && !OtherCommand(words, line)) {
      Fail("知らないコマンドです: " + words[0]);
    }
  } catch (const ScriptFailure& failure) {
    if (failure.status == 3 && std::string(failure.what()).find(" 行目") == std::string::npos) {
      throw ScriptFailure(3, std::to_string(number) + " 行目: " + failure.what());
    }
    throw;
  } catch (const ControlError& error) {
    Fail(error.what());
  }
}

bool ScriptRunner::ChartCommand(const std::vector<std::string>& words) {
  static const char* const kChartCommands[] = {"mode", "drag",  "open", "expand",   "calendar",
                                               "undo", "redo",  "save", "search",   "discard",
                                               "goto", "wheel", "key",  "viewport", "level"};
  const std::string& command = words[0];
  if (std::find(std::begin(kChartCommands), std::end(kChartCommands), command) ==
      std::end(kChartCommands)) {
    return false;
  }
  // The dialogs are modal: while one is open the chart takes no gestures.
  if (session_.TopDialog() != nullptr)
    Fail("ダイアログが開いている間は " + command + " できません");
  if (command == "mode") {
    Mode(words);
  } else if (command == "drag") {
    Drag(words);
  } else if (command == "open") {
    Open(words);
  } else if (command == "search") {
    Search(words);
  } else if (command == "expand") {
    Expand(words);
  } else if (command == "calendar") {
    Calendar(words);
  } else if (command == "wheel") {
    Wheel(words);
  } else if (command == "key") {
    Key(words);
  } else if (command == "viewport") {
    Viewport(words);
  } else if (command == "level") {
    Level(words);
  } else if (command == "goto") {
    // A refused day is a message, and the script goes on as a user would.
    if (words.size() != 2) Fail("goto yyyy/mm/dd です");
    session_.GoToDate(words[1]);
  } else {
    if (words.size() != 1) Fail(command + " に引数は要りません");
    if (command == "discard") {
      Discard();
    } else if (command == "save") {
      Save();
    } else {
      UndoOrRedo(command);
    }
  }
  return true;
}

bool ScriptRunner::OtherCommand(const std::vector<std::string>& words, const std::string& line) {
  const std::string& command = words[0];
  if (command == "answer") {
    if (words.size() != 2 || (words[1] != "yes" && words[1] != "no")) {
      Fail("answer には yes か no を書いてください");
    }
    boxes_.Queue(words[1] == "yes" ? Answer::Yes : Answer::No);
  } else if (command == "export") {
    if (words.size() != 2) Fail("export には出力先のフォルダを一つ書いてください");
    Export(words[1]);
  } else if (command == "load") {
    if (words.size() != 3) Fail("load ROW yyyy/mm/dd です");
    PrintLoad(words[1], words[2]);
  } else if (command == "where") {
    if (words.size() != 1) Fail("where に引数は要りません");
    PrintWhere();
  } else if (command == "echo") {
    // Marks a point of the run for whoever reads the output as it comes.
    boxes_.Print(RestAfter(line, 1) + "\n");
  } else if (command == "type" || command == "enter" || command == "click" ||
             command == "dblclick" || command == "select" || command == "check" ||
             command == "show" || command == "close") {
    DialogCommand(words, RestAfter(line, 2));
  } else {
    return false;
  }
  return true;
}

void ScriptRunner::UndoOrRedo(const std::string& command) {
  const bool done = command == "undo" ? session_.Undo() : session_.Redo();
  if (!done) Fail(command == "undo" ? "元に戻す操作がありません" : "やり直す操作がありません");
}

// The line of load.csv for one row and day, as the load stands now.
void ScriptRunner::PrintLoad(const std::string& rowWord, const std::string& dayText) {
  const int row = RowOf(rowWord);
  const auto day = ParseSlashDate(dayText);
  if (!day) Fail("日付 " + dayText + " を読めません (yyyy/mm/dd)");
  const load::LoadModel& load = session_.MachineLoad();
  if (load.KindOf(row) == load::RowKind::None) Fail("行 " + rowWord + " には負荷がありません");
  const auto fields = LoadCsvFields(data_, load, row, *day);
  if (!fields) Fail(dayText + " は読み込んだ期間の外です");
  std::ostringstream line;
  CsvWriter(line).Record(*fields);
  std::string text = line.str();
  text.erase(text.size() - 2);  // the file's CRLF
  boxes_.Print(text + "\n");
}

// The save button as the window runs it, without the progress window.
void ScriptRunner::Save() {
  if (!session_.CanSave()) Fail("保存ボタンは押せません (保存する変更がありません)");
  // The script goes on after a failed save, as a user would, and its status says so.
  const auto result = session_.Save();
  if (result == saving::SaveResult::Failed || result == saving::SaveResult::Unknown) {
    saveFailed_ = true;
  }
}

void ScriptRunner::Mode(const std::vector<std::string>& words) {
  const auto mode = words.size() == 2 ? WholeNumber(words[1]) : std::nullopt;
  if (!mode || *mode < 1 || *mode > 4) Fail("mode には 1 から 4 を書いてください");
  session_.SetDisplayMode(static_cast<int>(*mode));
}

void ScriptRunner::Open(const std::vector<std::string>& words) {
  if (words.size() != 2) Fail("open ORDER です");
  session_.OpenLot(PlanOf(words[1]));
}

void ScriptRunner::Search(const std::vector<std::string>& words) {
  if (words.size() != 3) Fail("search ITEMCODE|- MODELNAME|- です");
  session_.Search(words[1] == "-" ? "" : words[1], words[2] == "-" ? "" : words[2]);
}

void ScriptRunner::Discard() {
  if (!session_.Discard()) return;
  // The same selection loaded again from the database, as the restart would load it.
  session_.Reload();
}

// What the chart shows: the day at the left edge, the display mode and the rows in view.
void ScriptRunner::PrintWhere() {
  const chart::ChartModel& chart = session_.Chart();
  const int first = chart.KScroll.Value + 1;
  const int last = std::min<int>(chart.KScroll.Value + chart.VisibleRows, data_.RowCount);
  boxes_.Print(chart.DayDispArea + "\t" + chart.modeCaption + "\t" + std::to_string(first) + "-" +
               std::to_string(last) + "/" + std::to_string(data_.RowCount) + "\n");
}

DialogModel& ScriptRunner::TopDialog() {
  DialogModel* dialog = session_.TopDialog();
  if (dialog == nullptr) Fail("開いているダイアログがありません");
  return *dialog;
}

void ScriptRunner::DialogCommand(const std::vector<std::string>& words, const std::string& rest) {
  const std::string& command = words[0];
  DialogModel& dialog = TopDialog();
  if (command == "show" || command == "close") {
    if (words.size() != 1) Fail(command + " に引数は要りません");
    if (command == "close") {
      dialog.Close();
      return;
    }
    std::ostringstream out;
    for (const auto& [control, text] : dialog.Show())
      out << control << '\t' << OneLine(text) << '\n';
    // Printed where the messages go, in order with them.
    boxes_.Print(out.str());
    return;
  }
  if (words.size() < 2) Fail(command + " にはコントロール名が要ります");
  const std::string_view control = ControlNamed(dialog, words[1]);
  if (command == "type") {
    dialog.Type(control, rest);
  } else if (command == "enter" && words.size() == 2) {
    dialog.Enter(control);
  } else if (command == "click" && words.size() == 2) {
    dialog.Click(control);
  } else if (command == "dblclick" && words.size() == 3 && !Lines(words, 2).empty()) {
    dialog.DblClick(control, Lines(words, 2)[0]);
  } else if (command == "select" && words.size() >= 3 && !Lines(words, 2).empty()) {
    dialog.Select(control, Lines(words, 2));
  } else if (command == "check" && words.size() == 3 && !Lines(words, 2).empty()) {
    dialog.Check(control, Lines(words, 2)[0]);
  } else {
    Fail(command + " の引数が正しくありません");
  }
}

}  // namespace velmora
