#include "chart/time_axis.h"

#include <string>

#include "common/format.h"
#include "common/numeric.h"
#include "common/text.h"
#include "worktime/calendar_day.h"

namespace velmora::chart {
namespace {

constexpr int kSunday = 1;
constexpr int kSaturday = 7;
const DateTime kDayChange = DateTime::FromTime(8, 0, 0);

bool HourMarks(int mode) {
  return mode == 1 || mode == 2;
}

// Labels and colours of the axis marks, line by line from the surface's scale left: every
// eight hours in modes 1 and 2 ("8(m/d)" at each 08:00:00), every day in modes 3 and 4.
class AxisMarks {
 public:
  struct Mark {
    double x = 0;
    std::string text;
    Color labelColor = kBlack;
    Color lineColor = kBlack;
    int dayIndex = -1;  // the day that begins at this line; -1 for a line inside a day
  };

  AxisMarks(const PlanData& data, const TimeScale& scale, double x0)
      : hourMarks_(HourMarks(scale.DisplayMode)),
        x0_(x0),
        // Positions are multiples of the exact hour width: adding a rounded width line after
        // line would let the axis drift away from the bars over a long period.
        spacing_((hourMarks_ ? 8.0 : 24.0) * scale.HourWidth),
        periodStart_(data.PeriodStartDate()),
        labelDay_(periodStart_.AddDays(-1)) {}

  bool CanAdvance() const { return spacing_ > 0; }

  // Mark 0 at the scale left. In modes 1 and 2 its label keeps its colour.
  Mark First() const {
    Mark m;
    m.x = x0_;
    m.dayIndex = 0;
    if (hourMarks_) {
      m.text = "8";
      m.lineColor = kRed;
      return m;
    }
    const DateTime d0 = DateOfCalendarDay(periodStart_, 0);
    m.text = std::to_string(d0.Day());
    m.labelColor = m.lineColor = WeekendColor(d0, kBlack);
    return m;
  }

  Mark Next() {
    ++i_;
    Mark m;
    m.x = x0_ + i_ * spacing_;
    if (hourMarks_) {
      hour_ += 8;
      if (hour_ > 23) hour_ = 0;
      if (hour_ == 8) {
        m.text = "8(" + FormatDateTime(labelDay_, "m/d") + ")";
        m.labelColor = m.lineColor = kRed;
        labelDay_ = labelDay_.AddDays(1);
        m.dayIndex = ++dayIndex_;
      } else {
        m.text = std::to_string(hour_);
      }
      return m;
    }
    const DateTime date = DateOfCalendarDay(periodStart_, i_);
    m.text = std::to_string(date.Day());
    m.labelColor = WeekendColor(date, kBlack);
    m.lineColor = WeekendColor(date, kLightGrey);
    m.dayIndex = i_;
    return m;
  }

 private:
  static Color WeekendColor(DateTime date, Color otherDays) {
    const int weekday = date.Weekday();
    if (weekday == kSunday) return kRed;
    if (weekday == kSaturday) return kBlue;
    return otherDays;
  }

  bool hourMarks_;
  double x0_;
  double spacing_;
  DateTime periodStart_;
  DateTime labelDay_;
  int i_ = 0;
  int hour_ = 8;
  int dayIndex_ = 0;
};

void PlaceVertical(LineShape& line, double x, const ChartModel& model, Color color) {
  line.X1 = line.X2 = x;
  line.Y1 = 0;
  line.Y2 = model.PlatForm.Height;
  line.BorderColor = color;
  line.Visible = true;
}

double CharWidth(std::string_view text, double perChar) {
  return static_cast<double>(CharCount(text)) * perChar;
}

}  // namespace

float DrawDayLine(const PlanData& data, ChartModel& model) {
  const int mode = model.Scale.DisplayMode;
  const double x0 = model.PlatForm.ScaleLeft;
  AxisMarks marks(data, model.Scale, x0);

  const AxisMarks::Mark first = marks.First();
  AxisLabel& label0 = Element(model.LineName, 0);
  label0.Left = x0;
  label0.Text = first.text;
  if (!HourMarks(mode)) label0.ForeColor = first.labelColor;
  label0.Visible = true;
  PlaceVertical(Element(model.DayLine, 0), x0, model, first.lineColor);

  int boxNumber = 1;
  for (std::size_t i = 1; marks.CanAdvance(); ++i) {
    const AxisMarks::Mark m = marks.Next();
    if (!(m.x < model.PlatForm.ScaleWidth)) break;
    PlaceVertical(Element(model.DayLine, i), m.x, model, m.lineColor);
    AxisLabel& label = Element(model.LineName, i);
    label.Left = m.x;
    label.Text = m.text;
    label.ForeColor = m.labelColor;
    label.Visible = true;
    if (m.dayIndex >= 0 && m.dayIndex <= data.DayCount) {
      ShadeBox(data, model, m.dayIndex, m.x, boxNumber);
    }
    label.Width = CharWidth(label.Text, 120);
  }

  const double hourWidth = model.Scale.HourWidth;
  int hourLines = 0;
  int hoursApart = 1;
  if (HourMarks(mode)) {
    hourLines = 240;  // every hour for ten days from the chart origin
  } else if (mode == 3) {
    hourLines = 30;  // every eight hours for ten days
    hoursApart = 8;
  }
  for (int k = 1; k <= hourLines; ++k) {
    const double x = x0 + (48 + (k - 1) * hoursApart) * hourWidth;
    LineShape& line = Element(model.HourLine, static_cast<std::size_t>(k));
    PlaceVertical(line, x, model, model.HourLine.front().BorderColor);
  }
  return static_cast<float>(model.PlatForm.ScaleWidth);
}

void DrawDayLine2(const PlanData& data, ChartModel& model) {
  const int mode = model.Scale.DisplayMode;
  const double hourWidth = model.Scale.HourWidth;
  const double step = ToInt32(hourWidth);
  const double perChar = mode == 1 ? 240 : 120;
  // Modes 3 and 4 label a day in its column rather than at its line.
  double shift = 0;
  if (mode == 3) shift = 11 * step;
  if (mode == 4) shift = 9 * hourWidth;

  const double x0 = model.PlatForm3.ScaleLeft;
  AxisMarks marks(data, model.Scale, x0);
  const AxisMarks::Mark first = marks.First();
  AxisLabel& label0 = Element(model.LineName2, 0);
  label0.Left = HourMarks(mode) ? x0 : x0 + 12 * hourWidth;
  label0.Text = first.text;
  if (!HourMarks(mode)) label0.ForeColor = first.labelColor;
  label0.Width = CharWidth(label0.Text, perChar);
  label0.Visible = true;

  const double end = model.PlatForm3.ScaleWidth + model.Scale.DayWidth;
  for (std::size_t i = 1; marks.CanAdvance(); ++i) {
    const AxisMarks::Mark m = marks.Next();
    if (!(m.x < end)) break;
    AxisLabel& label = Element(model.LineName2, i);
    label.Left = m.x + shift;
    label.Text = m.text;
    label.ForeColor = m.labelColor;
    label.Width = CharWidth(label.Text, perChar);
    label.Visible = true;
  }
}

void DrawBorderLine(const PlanData& data, ChartModel& model, float x) {
  model.Line1.front().Visible = false;
  for (int r = 1; r <= data.RowCount; ++r) {
    LineShape& line = Element(model.Line1, static_cast<std::size_t>(r));
    line.X1 = model.PlatForm.ScaleLeft;
    line.X2 = x;
    line.Y1 = line.Y2 = data.WorkCenterLimit[static_cast<std::size_t>(r)];
    line.Visible = true;
  }
}

void ShadeBox(const PlanData& data, ChartModel& model, int dayIndex, double xd, int& boxNumber) {
  const double hourWidth = model.Scale.HourWidth;
  const double step = ToInt32(hourWidth);
  const double wholeDay = (model.Scale.DisplayMode == 4 ? 24 * hourWidth : 24 * step) - 15;
  const double rowHeight = data.RowTop[2] - data.RowTop[1];

  for (int r = 2; r <= data.MachineRowCount; ++r) {
    double left = xd + 15;
    double width = wholeDay;
    if (data.WorkMinutes(r, dayIndex) != 0) {
      int k = 8;
      while (k > 1 && data.ShiftTimes(r, k, dayIndex) == data.ShiftTimes(r, k - 1, dayIndex))
        k -= 2;
      if (k == 0) continue;  // every window is empty
      const int endSeconds = data.ShiftTimes(r, k, dayIndex).SecondsOfDay();
      if (endSeconds == kDayChange.SecondsOfDay()) continue;
      const double hoursFromDayChange = endSeconds / 3600.0 + 16;
      const std::int64_t rounded = RoundHalfEven(hoursFromDayChange);
      // An end between 07:30 and 08:00 rounds up to a full 24 hours: the machine works up to
      // the next day's change, so there is nothing to shade (as for an end at 08:00:00).
      if (rounded == 24 && hoursFromDayChange < 24) continue;
      const std::int64_t h = rounded % 24;
      left = xd + 15 + h * step;
      width = (24 - h) * step - 15;
    }
    FillBoxLabel& box = Element(model.FillBox, static_cast<std::size_t>(boxNumber++));
    box.Left = left;
    box.Width = width;
    box.Top = data.WorkCenterLimit[static_cast<std::size_t>(r)] - rowHeight;
    box.Height = rowHeight;
    box.Visible = true;
  }
}

}  // namespace velmora::chart
