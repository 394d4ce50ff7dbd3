#include <algorithm>
#include <cmath>
#include <optional>

#include "chart/display_mode.h"
#include "chart/scrolling.h"
#include "chart/viewport_fit.h"
#include "common/date_text.h"
#include "common/normalize_date.h"
#include "common/questions.h"
#include "session/edit_session.h"

// Moving around the chart: the window's size, rows, days, the wheel and the keys.
namespace velmora {

void EditSession::FitViewport(double width, double rowsHeight) {
  chart::FitViewport(data_, chart_, width, rowsHeight);
}

void EditSession::ScrollToRow(int row) {
  int value = chart_.KScroll.Value;
  if (row == 0) {
    value = chart_.KScroll.Max;
  } else if (row == 1) {
    value = 0;
  } else if (row - value < 1) {
    value = row - 1;
  } else if (row - value > chart_.VisibleRows) {
    value = row - chart_.VisibleRows;
  }
  if (value != chart_.KScroll.Value) chart::SetKScrollValue(data_, chart_, value);
}

bool EditSession::GoToDate(const std::string& typed) {
  const DateTime first = data_.PeriodStartDate();
  const DateTime last = data_.PeriodEndDate();
  const std::optional<DateTime> day = TypedDayOfPeriod(typed, first, last);
  if (!day) {
    questions_.Tell({kGoToWhichDate});
    return false;
  }
  if (*day < first || *day > last) {
    questions_.Tell(
        {std::string(kDateOutsidePeriod) + FormatSlashDate(first) + "～" + FormatSlashDate(last)});
    return false;
  }
  // The left edge shows the day a scroll position falls in: the first position inside it.
  const double twips = static_cast<double>((*day - first).Days()) * chart_.Scale.DayWidth;
  chart::SetHScroll1Value(data_, chart_, static_cast<int>(std::ceil(twips / chart_.HScrollUnit)));
  return true;
}

namespace {

// A wheel notch moves three rows, as in any list.
constexpr int kRowsPerNotch = 3;

}  // namespace

void EditSession::WheelRows(int notches) {
  chart::SetKScrollValue(data_, chart_, chart_.KScroll.Value - notches * kRowsPerNotch);
}

void EditSession::WheelTime(int notches) {
  // As a click on the time scroll bar's arrow: the strip that comes into view stays narrow, so
  // turning the wheel repaints no more than stepping the bar does.
  chart::SetHScroll1Value(data_, chart_,
                          chart_.HScroll1.Value + notches * chart_.HScroll1.SmallChange);
}

void EditSession::WheelZoom(int notches, double pointerX) {
  const int mode = std::clamp(chart_.Scale.DisplayMode - notches, 1, 4);
  if (notches == 0 || mode == chart_.Scale.DisplayMode || chart_.Scale.DayWidth <= 0) return;
  const double day =
      (chart_.HScroll1.Value * chart_.HScrollUnit + pointerX) / chart_.Scale.DayWidth;
  chart::DispMode(data_, chart_, mode);
  const double left = day * chart_.Scale.DayWidth - pointerX;
  chart::SetHScroll1Value(data_, chart_, static_cast<int>(std::lround(left / chart_.HScrollUnit)));
}

void EditSession::Key(ChartKey key) {
  switch (key) {
    case ChartKey::Left:
      return WheelTime(-1);
    case ChartKey::Right:
      return WheelTime(1);
    case ChartKey::Up:
      return chart::SetKScrollValue(data_, chart_, chart_.KScroll.Value - 1);
    case ChartKey::Down:
      return chart::SetKScrollValue(data_, chart_, chart_.KScroll.Value + 1);
    case ChartKey::PageUp:
      return chart::SetKScrollValue(data_, chart_, chart_.KScroll.Value - chart_.VisibleRows);
    case ChartKey::PageDown:
      return chart::SetKScrollValue(data_, chart_, chart_.KScroll.Value + chart_.VisibleRows);
    case ChartKey::Home:
      return chart::SetHScroll1Value(data_, chart_, 0);  // the period's first day at the left
    case ChartKey::End:
      return chart::SetHScroll1Value(data_, chart_, chart_.HScroll1.Max);
  }
}

}  // namespace velmora
