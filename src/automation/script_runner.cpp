#include "automation/script_runner.h"

#include <algorithm>
#include <sstream>

#include "app/current_user.h"
#include "app/local_today.h"
#include "automation/state_csv.h"
#include "chart/bar_layout.h"
#include "chart/display_mode.h"
#include "chart/scrolling.h"
#include "common/date_text.h"
#include "common/text.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_search.h"
#include "saving/plan_save.h"

namespace velmora {
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// The text after the first `count` words and the one blank that ends the last of them.
std::string RestAfter(const std::string& line, int count) {
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    at = line.find_first_not_of(" \t", at);
    at = line.find_first_of(" \t", at);
    if (at == std::string::npos) return "";
  }
  return line.substr(at + 1);
}

// A number of the whole word, or nothing.
std::optional<long long> WholeNumber(const std::string& word) {
  if (word.empty()) return std::nullopt;
  std::size_t used = 0;
  try {
    const long long value = std::stoll(word, &used);
    if (used == word.size()) return value;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

// "Name(i)" stays one word; line numbers are 0-based.
std::vector<int> Lines(const std::vector<std::string>& words, std::size_t from) {
  std::vector<int> lines;
  for (std::size_t i = from; i < words.size(); ++i) {
    const auto n = WholeNumber(words[i]);
    if (!n || *n < 0 || *n > 100000) return {};
    lines.push_back(static_cast<int>(*n));
  }
  return lines;
}

}  // namespace

ScriptRunner::ScriptRunner(PlanData& data, chart::ChartModel& model, db::Connection* connection,
                           ScriptMessageBoxes& boxes)
    : data_(data),
      model_(model),
      connection_(connection),
      boxes_(boxes),
      editor_(data, model, connection) {
  editor_.ShowLinePlanWindow = [this](std::shared_ptr<editing::LinePlanWindow> window) {
    dialogs_.push_back(std::move(window));
  };
  editor_.OpenPlan = [this](PlanIdx plan) {
    auto window = lotdetail::OpenPlanWindow(editor_.Context(), plan, LocalToday());
    if (window) {
      window->ShowDialog = [this](std::shared_ptr<editing::ScriptDialog> d) {
        dialogs_.push_back(std::move(d));
      };
    }
    dialogs_.push_back(std::move(window));
  };
}

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
  std::erase_if(dialogs_, [](const auto& d) { return d->Closed(); });
  const std::string& command = words[0];
  try {
    // The dialogs are modal: while one is open the chart takes no gestures.
    static const char* const kChartCommands[] = {"mode", "drag", "open", "expand", "calendar",
                                                 "undo", "redo", "save", "search", "discard"};
    if (!dialogs_.empty() && std::find(std::begin(kChartCommands), std::end(kChartCommands),
                                       command) != std::end(kChartCommands)) {
      Fail("ダイアログが開いている間は " + command + " できません");
    }
    if (command == "mode") {
      Mode(words);
    } else if (command == "drag") {
      Drag(words);
    } else if (command == "open") {
      Open(words);
    } else if (command == "search") {
      Search(words);
    } else if (command == "discard") {
      if (words.size() != 1) Fail("discard に引数は要りません");
      Discard();
    } else if (command == "expand") {
      Expand(words);
    } else if (command == "calendar") {
      Calendar(words);
    } else if (command == "answer") {
      if (words.size() != 2 || (words[1] != "yes" && words[1] != "no")) {
        Fail("answer には yes か no を書いてください");
      }
      boxes_.Queue(words[1] == "yes" ? ui::Answer::Yes : ui::Answer::No);
    } else if (command == "undo" || command == "redo") {
      if (words.size() != 1) Fail(command + " に引数は要りません");
      const bool done = command == "undo" ? editor_.Undo() : editor_.Redo();
      if (!done) Fail(command == "undo" ? "元に戻す操作がありません" : "やり直す操作がありません");
    } else if (command == "save") {
      if (words.size() != 1) Fail("save に引数は要りません");
      if (!data_.Edits.CanSave()) Fail("保存ボタンは押せません (保存する変更がありません)");
      Save();
    } else if (command == "export") {
      if (words.size() != 2) Fail("export には出力先のフォルダを一つ書いてください");
      try {
        WriteStateCsv(data_, model_, words[1]);
      } catch (const std::exception& e) {
        Fail(std::string("書き出せません: ") + e.what());
      }
    } else if (command == "echo") {
      // Marks a point of the run for whoever reads the output as it comes.
      boxes_.Print(RestAfter(line, 1) + "\n");
    } else if (command == "type" || command == "enter" || command == "click" ||
               command == "dblclick" || command == "select" || command == "check" ||
               command == "show" || command == "close") {
      DialogCommand(words, RestAfter(line, 2));
    } else {
      Fail("知らないコマンドです: " + command);
    }
  } catch (const ScriptFailure& failure) {
    if (failure.status == 3 && std::string(failure.what()).find(" 行目") == std::string::npos) {
      throw ScriptFailure(3, std::to_string(number) + " 行目: " + failure.what());
    }
    throw;
  } catch (const editing::ControlError& error) {
    Fail(error.what());
  }
}

// Command8 as the window runs it, without the progress window.
void ScriptRunner::Save() {
  saving::SaveContext context{data_, model_, *connection_, CurrentUserName(), LocalNow()};
  const saving::SaveResult result = saving::SavePlan(context);
  saving::AfterSave(data_, result);
  if (result == saving::SaveResult::Failed) {
    saveFailed_ = true;  // the script goes on, as a user would, and its status says so
  } else if (result != saving::SaveResult::Declined) {
    editor_.History().Clear();
  }
}

void ScriptRunner::Mode(const std::vector<std::string>& words) {
  const auto mode = words.size() == 2 ? WholeNumber(words[1]) : std::nullopt;
  if (!mode || *mode < 1 || *mode > 4) Fail("mode には 1 から 4 を書いてください");
  for (int i = 0; i < 4 && model_.Scale.DisplayMode != *mode; ++i) {
    chart::Command4_Click(data_, model_);
  }
}

PlanIdx ScriptRunner::PlanOf(const std::string& order) const {
  const auto number = WholeNumber(order);
  if (number && *number != 0) {
    for (std::int32_t i = 2; i <= data_.PlanCount(); ++i) {
      if (data_.PlanTable[static_cast<std::size_t>(i)].OrderNo == *number) return PlanIdx{i};
    }
  }
  Fail("手配番号 " + order + " の計画はありません");
}

int ScriptRunner::RowOf(const std::string& word) const {
  if (word == "unplanned") return 1;
  if (word == "below") return 0;
  for (int r = 2; r <= data_.RowCount; ++r) {
    const std::string code = Trim(data_.RowCode[static_cast<std::size_t>(r)]);
    if (!code.empty() && code == word) return r;
  }
  Fail("行 " + word + " はありません");
}

void ScriptRunner::ScrollIntoView(int row) {
  int value = model_.KScroll.Value;
  if (row == 0) {
    value = model_.KScroll.Max;
  } else if (row == 1) {
    value = 0;
  } else if (row - value < 1) {
    value = row - 1;
  } else if (row - value > chart::kVisibleRows) {
    value = row - chart::kVisibleRows;
  }
  if (value != model_.KScroll.Value) chart::SetKScrollValue(data_, model_, value);
}

double ScriptRunner::YInRow(int row) const {
  if (row > 1) return data_.RowTop[static_cast<std::size_t>(row)] + chart::kPlanBarHeight / 2 + 60;
  double lowest = 0;
  for (int r = 1; r <= data_.RowCount; ++r) {
    lowest = std::max(lowest, data_.WorkCenterLimit[static_cast<std::size_t>(r)]);
  }
  return lowest + 60;
}

DateTime ScriptRunner::MomentOf(const std::string& date, const std::string& time) const {
  const auto day = ParseDateText(date);
  const auto clock =
      time.empty() ? std::optional<DateTime>(DateTime()) : ParseColonTime(time + ":00");
  if (!day || !clock) Fail("日時 " + date + " " + time + " を読めません");
  return *day + *clock;
}

void ScriptRunner::Drag(const std::vector<std::string>& words) {
  const bool onto = words.size() == 4 && words[2] == "onto";
  const bool to = words.size() == 7 && words[2] == "to" && words[4] == "at";
  if (!onto && !to) Fail("drag ORDER to ROW at yyyy/mm/dd hh:mm か drag ORDER onto ORDER2 です");
  const PlanIdx plan = PlanOf(words[1]);
  const BarIdx bar = data_.Plan(plan).Bar();
  const double half = chart::kPlanBarHeight / 2;
  if (onto) {
    const BarIdx target = data_.Plan(PlanOf(words[3])).Bar();
    editor_.PlanBar_MouseDown(bar, editing::kLeftButton, 0, 0, half);
    if (editor_.Pointer().Dragged) editor_.PlanBar_DragDrop(target, bar, 0, half);
    return;
  }
  const int row = RowOf(words[3]);
  const DateTime at = MomentOf(words[5], words[6]);
  ScrollIntoView(row);
  editor_.PlanBar_MouseDown(bar, editing::kLeftButton, 0, 0, half);
  if (!editor_.Pointer().Dragged) return;  // a locked plan starts no drag
  const double x = model_.Scale.TimeToX(at.DatePart(), at.TimePart(), row == 1 ? "2" : "1") +
                   editor_.Pointer().GrabOffsetX;
  if (row == 1) {
    editor_.PlatForm2_DragDrop(bar, x, chart::kUnplannedBandHeight / 2);
  } else {
    editor_.PlatForm_DragDrop(bar, x, YInRow(row));
  }
}

void ScriptRunner::Open(const std::vector<std::string>& words) {
  if (words.size() != 2) Fail("open ORDER です");
  const BarIdx bar = data_.Plan(PlanOf(words[1])).Bar();
  editor_.PlanBar_MouseDown(bar, editing::kRightButton, 0, 0, chart::kPlanBarHeight / 2);
}

void ScriptRunner::Search(const std::vector<std::string>& words) {
  if (words.size() != 3) Fail("search ITEMCODE|- MODELNAME|- です");
  lotdetail::SearchBoxes boxes{words[1] == "-" ? "" : words[1], words[2] == "-" ? "" : words[2]};
  lotdetail::ComKensaku_Click(
      boxes, data_, [this](BarIdx bar) { editor_.RightButtonDown(bar); },
      [this](std::shared_ptr<lotdetail::SelectPlan> chooser) {
        dialogs_.push_back(std::move(chooser));
      });
}

void ScriptRunner::Discard() {
  if (!lotdetail::ConfirmDiscard(data_)) return;
  if (!Reload) Fail("この実行では読み直せません");
  // The same selection loaded again from the database, as the restart would load it.
  Reload();
  data_.Edits.MarkSaved();
  editor_.History().Clear();
  editor_.Pointer() = editing::PointerState{};
}

void ScriptRunner::Expand(const std::vector<std::string>& words) {
  if (words.size() != 2) Fail("expand ROW です");
  const int row = RowOf(words[1]);
  if (row == 0) Fail("below の見出しはありません");
  ScrollIntoView(row);
  editor_.MachineName_DblClick(row - model_.KScroll.Value);
}

void ScriptRunner::Calendar(const std::vector<std::string>& words) {
  if (words.size() != 3) Fail("calendar ROW yyyy/mm/dd です");
  const int row = RowOf(words[1]);
  const DateTime at = MomentOf(words[2], "12:00");
  ScrollIntoView(row);
  const double x = model_.Scale.TimeToX(at.DatePart(), at.TimePart(), "1");
  const double y = row == 1 ? -1 : YInRow(row);  // the unplanned band opens nothing
  editor_.PlatForm_MouseDown(editing::kRightButton, 0, x, y);
}

editing::ScriptDialog* ScriptRunner::OpenDialog() {
  std::erase_if(dialogs_, [](const auto& d) { return d->Closed(); });
  return dialogs_.empty() ? nullptr : dialogs_.back().get();
}

editing::ScriptDialog& ScriptRunner::TopDialog() {
  if (dialogs_.empty()) Fail("開いているダイアログがありません");
  return *dialogs_.back();
}

void ScriptRunner::DialogCommand(const std::vector<std::string>& words, const std::string& rest) {
  const std::string& command = words[0];
  editing::ScriptDialog& dialog = TopDialog();
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
  const std::string& control = words[1];
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
