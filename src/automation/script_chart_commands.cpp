#include "automation/script_runner.h"

#include <algorithm>

#include "automation/script_words.h"
#include "common/date_text.h"
#include "common/text.h"

namespace velmora {

using script::WholeNumber;

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
  using Target = chart::ChartHit::Target;
  if (onto) {
    const BarIdx target = data_.Plan(PlanOf(words[3])).Bar();
    const chart::BarLabel& bar = session_.Chart().Bar(target);
    session_.DragAndDrop(
        plan, {Target::PlanBar, target.value, bar.Left, bar.Top + chart::kPlanBarHeight / 2});
    return;
  }
  const int row = RowOf(words[3]);
  const DateTime at = MomentOf(words[5], words[6]);
  session_.ScrollToRow(row);
  // The bar is grabbed at its left edge, so its start lands on the moment.
  const bool band = row == 1;
  const double x = session_.Chart().Scale.TimeToX(
      at.DatePart(), at.TimePart(), band ? chart::TimeKind::UnplannedBand : chart::TimeKind::Rows);
  if (band) {
    session_.DragAndDrop(plan, {Target::PlatForm2, 0, x, chart::kUnplannedBandHeight / 2});
  } else {
    session_.DragAndDrop(plan, {Target::PlatForm, 0, x, YInRow(row)});
  }
}

// The pointer rests at the viewport's left edge, so a zoom keeps the left edge's moment.
void ScriptRunner::Wheel(const std::vector<std::string>& words) {
  const auto notches = words.size() == 3 ? WholeNumber(words[2]) : std::nullopt;
  if (!notches || *notches < -100 || *notches > 100) Fail("wheel rows|time|zoom N です");
  const int n = static_cast<int>(*notches);
  if (words[1] == "rows") {
    session_.WheelRows(n);
  } else if (words[1] == "time") {
    session_.WheelTime(n);
  } else if (words[1] == "zoom") {
    session_.WheelZoom(n, 0);
  } else {
    Fail("wheel rows|time|zoom N です");
  }
}

// The room a window of some size leaves the chart, in pixels: viewport WIDTH ROWSHEIGHT.
void ScriptRunner::Viewport(const std::vector<std::string>& words) {
  const auto width = words.size() == 3 ? WholeNumber(words[1]) : std::nullopt;
  const auto height = words.size() == 3 ? WholeNumber(words[2]) : std::nullopt;
  if (!width || !height || *width < 1 || *height < 1 || *width > 20000 || *height > 20000) {
    Fail("viewport WIDTH HEIGHT (ピクセル) です");
  }
  session_.FitViewport(static_cast<double>(*width) * chart::kTwipsPerPixel,
                       static_cast<double>(*height) * chart::kTwipsPerPixel);
}

void ScriptRunner::Key(const std::vector<std::string>& words) {
  static const std::pair<const char*, ChartKey> kKeys[] = {
      {"Left", ChartKey::Left}, {"Right", ChartKey::Right},   {"Up", ChartKey::Up},
      {"Down", ChartKey::Down}, {"PageUp", ChartKey::PageUp}, {"PageDown", ChartKey::PageDown},
      {"Home", ChartKey::Home}, {"End", ChartKey::End}};
  for (const auto& [name, key] : kKeys) {
    if (words.size() == 2 && words[1] == name) {
      session_.Key(key);
      return;
    }
  }
  Fail("key Left|Right|Up|Down|PageUp|PageDown|Home|End です");
}

void ScriptRunner::Expand(const std::vector<std::string>& words) {
  if (words.size() != 2) Fail("expand ROW です");
  const int row = RowOf(words[1]);
  if (row == 0) Fail("below の見出しはありません");
  session_.ScrollToRow(row);
  PointerEvent click;
  click.kind = PointerEvent::Kind::DoubleClick;
  click.button = editing::kLeftButton;
  click.hit = {chart::ChartHit::Target::MachineName, row - session_.Chart().KScroll.Value, 0, 0};
  session_.Pointer(click);
}

void ScriptRunner::Calendar(const std::vector<std::string>& words) {
  if (words.size() != 3) Fail("calendar ROW yyyy/mm/dd です");
  const int row = RowOf(words[1]);
  const DateTime at = MomentOf(words[2], "12:00");
  session_.ScrollToRow(row);
  PointerEvent press;
  press.kind = PointerEvent::Kind::Press;
  press.button = editing::kRightButton;
  press.hit.target = chart::ChartHit::Target::PlatForm;
  press.hit.x = session_.Chart().Scale.TimeToX(at.DatePart(), at.TimePart(), chart::TimeKind::Rows);
  press.hit.y = row == 1 ? -1 : YInRow(row);  // the unplanned band opens nothing
  session_.Pointer(press);
}
}  // namespace velmora
