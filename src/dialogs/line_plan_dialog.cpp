#include "dialogs/line_plan_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "common/date_text.h"
#include "worktime/calendar_day.h"

namespace velmora {
namespace {

std::string TimeBoxName(int i) {
  return "PlanTime(" + std::to_string(i) + ")";
}

Control TimeBox(std::string name, unsigned flags) {
  return Box(std::move(name), flags | kSelectAll | kSelectOnFocus | kFixedWidth, 90);
}

// A row per shift window: its number, start box, a dash and end box; the minutes below.
std::vector<Cell> Boxes() {
  std::vector<Cell> cells{{0, 1, Label("開始"), 1, Qt::AlignHCenter},
                          {0, 3, Label("終了"), 1, Qt::AlignHCenter}};
  for (int row = 1; row <= 4; ++row) {
    cells.push_back({row, 0, Label(QString::number(row))});
    cells.push_back({row, 1, TimeBox(TimeBoxName(row * 2 - 2), kTakesEnter)});
    cells.push_back({row, 2, Label("–"), 1, Qt::AlignHCenter});
    cells.push_back({row, 3, TimeBox(TimeBoxName(row * 2 - 1), kTakesEnter)});
  }
  cells.push_back({5, 0, Label("稼働時間（分）"), 2});
  cells.push_back({5, 3, TimeBox("PlanSum", 0)});
  return cells;
}

ModelDialog::Outline LinePlanOutline(const QString& title) {
  // Enter belongs to the time boxes: it must not press the button as a dialog's default would.
  return {title, {Grid(Boxes()), Row({Stretch(), Button("storeDay", "変更", kNoAutoDefault)})}};
}

}  // namespace

QString LinePlanTitle(const PlanData& data, const editing::LinePlanWindow& window) {
  const DateTime day = DateOfCalendarDay(data.PeriodStartDate(), window.DateNum);
  std::string caption;
  const auto row = static_cast<std::size_t>(window.MachineNo);
  if (row < data.RowCaption.size()) caption = data.RowCaption[row];
  for (char& c : caption) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return QString::fromStdString(std::string(editing::kLinePlanCaption) + "  " + caption + "  " +
                                FormatSlashDate(day));
}

LinePlanDialog::LinePlanDialog(std::shared_ptr<editing::LinePlanWindow> window,
                               const QString& title, QWidget* parent)
    : ModelDialog(std::move(window), LinePlanOutline(title), parent) {
  for (int i = 0; i < 8; ++i) {
    PlanTime[static_cast<std::size_t>(i)] = Widget<QLineEdit>(TimeBoxName(i));
  }
  PlanSum = Widget<QLineEdit>("PlanSum");
  storeDay = Widget<QPushButton>("storeDay");
}

}  // namespace velmora
