#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_model.h"
#include "common/datetime.h"

class QComboBox;
class QPainter;

namespace velmora::ui {

// One bucket of the load strip: its time, the working minutes it offers (none for a row without
// a calendar), the minutes used, and what a drag would leave there.
struct LoadColumn {
  DateTime start;
  DateTime end;
  std::optional<std::int64_t> available;  // nothing: plans and quantity only, no capacity line
  std::int64_t used = 0;
  std::int64_t plans = 0;
  std::int64_t quantity = 0;
  std::optional<std::int64_t> preview;  // used minutes after the drop being dragged
  std::string figure;                   // written above the column where it fits
};

// One lane of the strip: whose load, and its buckets in time order. A drag shows two lanes, the
// rows the bar would leave and land on.
struct LoadLaneView {
  std::string title;
  std::vector<LoadColumn> columns;
};

// The load strip under the chart: on the chart's time axis and horizontal scroll, each bucket's
// available minutes as a stepped line, its used minutes as a column with the part over the line
// in red, and the percent written where it fits. A drag's outcome is drawn lighter over it.
class LoadStrip : public QWidget {
  Q_OBJECT

 public:
  LoadStrip(const chart::ChartModel& model, QWidget* parent = nullptr);

  void Show(std::vector<LoadLaneView> lanes);
  const std::vector<LoadLaneView>& Lanes() const { return lanes_; }
  // Whether the strip follows the chosen row (false: all machine rows together).
  bool FollowsRow() const;
  // The tip over bucket `k`, counting the buckets of all lanes one after another.
  std::function<QString(int k)> TipFor;

  QSize sizeHint() const override { return {800, 140}; }
  QSize minimumSizeHint() const override { return {200, 60}; }

 signals:
  // The user chose between the row and all machine rows.
  void choiceChanged();
  // A click on bucket `k` (counted as for TipFor).
  void bucketClicked(int k);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Pixels across of a bucket, from the chart's rows scale at its scroll position.
  std::pair<int, int> Span(const LoadColumn& column) const;
  int BucketAt(QPoint at) const;
  int CaptionWidth() const;
  QRect LaneRect(std::size_t lane) const;
  void PaintLane(QPainter& painter, const LoadLaneView& lane, const QRect& area);

  const chart::ChartModel& model_;
  std::vector<LoadLaneView> lanes_;
  QComboBox* choice_;
};

}  // namespace velmora::ui
