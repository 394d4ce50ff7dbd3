#include <algorithm>

#include "chart/bar_layout.h"
#include "common/date_text.h"
#include "common/text.h"
#include "load/load_preview.h"
#include "load/load_text.h"
#include "session/edit_session.h"
#include "session/load_lanes.h"

// What the load strip and the row captions' marks show of the machine load.
namespace velmora {
namespace {

// A day narrower than this many twips cannot show a figure: the four-week view then shows weeks.
constexpr double kReadableDayTwips = 40 * chart::kTwipsPerPixel;

// The row's caption on one line ("M101 100T成形機1号"), or the machines together.
std::string RowTitle(const PlanData& data, int row) {
  if (row == 0) return "全機械";
  std::string title = Trim(data.RowCaption[static_cast<std::size_t>(row)]);
  std::replace(title.begin(), title.end(), '\n', ' ');
  return title;
}

}  // namespace

load::BucketKind EditSession::LoadBucketKind() const {
  switch (chart_.Scale.DisplayMode) {
    case 1:
      return load::BucketKind::Shift;
    case 4:
      return chart_.Scale.DayWidth < kReadableDayTwips ? load::BucketKind::Week
                                                       : load::BucketKind::Day;
    default:
      return load::BucketKind::Day;
  }
}

std::pair<DateTime, DateTime> EditSession::TimesOnScreen() const {
  const chart::TimeScale& scale = chart_.Scale;
  const double left = chart_.PlatForm.ScaleLeft - chart_.PlatForm.Left;
  return {scale.TimeAt(left, chart::TimeKind::Rows),
          scale.TimeAt(left + chart_.Picture1.Width, chart::TimeKind::Rows)};
}

int EditSession::RowAtSurfaceY(double y) const {
  const int r = static_cast<int>((y - kFirstRowTop) / kRowPitch) + 1;
  return y >= kFirstRowTop && r >= 1 && r <= data_.RowCount ? r : 0;
}

std::vector<LoadLane> EditSession::LoadLanes(bool total) {
  const load::LoadModel& model = MachineLoad();
  const auto [from, to] = TimesOnScreen();
  const load::BucketKind kind = LoadBucketKind();
  std::vector<LoadLane> lanes;
  // While a bar is dragged: the rows it would leave and land on, as the drop would leave them.
  if (Dragging() && chart_.Preview.Visible && !chart_.Preview.Refused) {
    const PlanIdx plan = chart::FindPlanByBar(data_, *editor_.Pointer().Dragged);
    const auto rows = model.Preview(load::PlacementOfDrop(chart_.Preview, plan), from, to, kind);
    for (const load::RowBuckets& after : rows) {
      LoadLane lane{
          after.row, RowTitle(data_, after.row), model.Buckets(after.row, from, to, kind), {}};
      for (std::size_t k = 0; k < lane.buckets.size(); ++k) {
        lane.after.push_back(k < after.buckets.size()
                                 ? std::optional<std::int64_t>(after.buckets[k].used)
                                 : std::nullopt);
      }
      lanes.push_back(std::move(lane));
    }
    if (!lanes.empty()) return lanes;
  }
  if (total || loadRow_ == 0 || model.KindOf(loadRow_) == load::RowKind::None) {
    lanes.push_back({0, RowTitle(data_, 0), model.TotalBuckets(from, to, kind), {}});
  } else {
    lanes.push_back(
        {loadRow_, RowTitle(data_, loadRow_), model.Buckets(loadRow_, from, to, kind), {}});
  }
  return lanes;
}

std::vector<load::PlanMinutes> EditSession::PlansInBucket(int row, const load::BucketLoad& bucket) {
  const load::LoadModel& model = MachineLoad();
  if (row != 0) return model.PlansIn(row, bucket.start, bucket.kind);
  std::vector<load::PlanMinutes> all;
  for (int r = 1; r <= data_.MachineRowCount; ++r) {
    for (const load::PlanMinutes& p : model.PlansIn(r, bucket.start, bucket.kind)) {
      all.push_back(p);
    }
  }
  return all;
}

void EditSession::RevealBucket(int row, const load::BucketLoad& bucket) {
  std::vector<PlanIdx> plans;
  for (const load::PlanMinutes& p : PlansInBucket(row, bucket)) plans.push_back(p.plan);
  Reveal(plans);
}

std::string EditSession::BucketTip(int row, const load::BucketLoad& bucket) {
  std::string tip = RowTitle(data_, row) + "  " + load::DayLabel(bucket.start) + " " +
                    FormatColonTime(bucket.start).substr(0, 5) + "～" + load::DayLabel(bucket.end) +
                    " " + FormatColonTime(bucket.end).substr(0, 5);
  if (bucket.capacity) {
    tip += "\n稼働 " + std::to_string(bucket.available) + "分  使用 " +
           std::to_string(bucket.used) + "分";
    const std::string figure = load::Figure(bucket);
    if (!figure.empty()) tip += "  (" + figure + ")";
  } else {
    tip += "\n" + std::to_string(bucket.plans) + "件  " + std::to_string(bucket.quantity) + "個";
  }
  constexpr std::size_t kListed = 12;
  const std::vector<load::PlanMinutes> plans = PlansInBucket(row, bucket);
  for (std::size_t i = 0; i < plans.size() && i < kListed; ++i) {
    const PlanEntry& p = data_.Plan(plans[i].plan);
    tip += "\n" + std::to_string(p.OrderNo) + "  " + Trim(p.ModelName) + "  " +
           std::to_string(plans[i].minutes) + "分";
  }
  if (plans.size() > kListed) tip += "\nほか" + std::to_string(plans.size() - kListed) + "件";
  return tip;
}

void EditSession::MarkOverloadedRows() {
  const load::LoadModel& model = MachineLoad();
  const auto [from, to] = TimesOnScreen();
  chart_.MachineMark.assign(chart_.MachineName.size(), std::string());
  for (int k = 1; k <= chart_.VisibleRows; ++k) {
    const int row = chart_.KScroll.Value + k;
    if (row > data_.MachineRowCount || model.KindOf(row) != load::RowKind::Machine) continue;
    const auto worst = model.Worst(row, from, to, load::BucketKind::Day);
    if (!worst || !(worst->Overloaded() || worst->UsedOffShift())) continue;
    chart_.MachineMark[static_cast<std::size_t>(k)] =
        "負荷超過: " + load::DayLabel(worst->start) + " " + load::Figure(*worst);
  }
}

}  // namespace velmora
