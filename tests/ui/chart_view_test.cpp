#include "ui/chart_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <memory>

#include "chart/bar_layout.h"
#include "chart/chart_world.h"
#include "chart/display_mode.h"
#include "ui/chart_image.h"

namespace velmora::ui {
namespace {

using test::ChartWorld;

// One application for the whole run, gone before the toolkit's own statics are.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[17] = "velmora_ui_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

const QColor kOnTimeYellow(255, 255, 128);
constexpr int kChartLeft = 140;    // right of the caption column
constexpr int kRowsTop = 24 + 40;  // below the header and the unplanned band

int CountOtherThan(const QImage& image, QRect area, QColor colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) != colour ? 1 : 0;
  }
  return n;
}

// A week-mode chart of 18 rows with one plan on machine M01 from 12/02 10:00 for a day. In the
// viewport its bar starts 16 pixels right of the chart area's left edge (240 twips after the
// origin, which lies 5760 twips in) and 55 pixels below the rows area's top; it is 192 by 24
// pixels.
class ChartPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    plan = w.AddPlan("M01     ", "2024/12/02 10:00:00", "2024/12/03 10:00:00");
    w.Plan(plan).PlanItemCode = "A-100";
    w.Plan(plan).ModelName = "M1";
    w.Plan(plan).ProcessName = "成形";
    chart::DispWeek(w.data, w.model);
  }

  QImage Grab(ChartView& view) { return view.Canvas()->grab().toImage(); }

  ChartWorld w{12};
  int plan = 0;
};

TEST_F(ChartPaint, WholeChartImageShowsEveryRowAndTheFullSurface) {
  const QImage image = RenderChartImage(w.data, w.model);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(kChartLeft + 21 * 2880 / 15, image.width());
  EXPECT_EQ(kRowsTop + (18 * 600 + 120) / 15, image.height());
  // The rows from their scale left: the bar is (240 + 5760) / 15 = 400 pixels in.
  const QRect bar(kChartLeft + 400, kRowsTop + 55, 192, 24);
  EXPECT_EQ(kOnTimeYellow, image.pixelColor(bar.right() - 4, bar.bottom() - 2));
  EXPECT_NE(kOnTimeYellow, image.pixelColor(bar.right() + 2, bar.bottom() - 2));
}

TEST_F(ChartPaint, JapaneseCaptionIsDrawnInACjkFont) {
  ChartPainter painter;
  EXPECT_TRUE(QFontInfo(painter.BarFont()).family().contains("CJK"));
  EXPECT_TRUE(QFontMetrics(painter.BarFont()).inFontUcs4(U'成'));
  // Second caption line "成形 100 " inside the bar: glyphs leave pixels of other colours.
  const QImage image = RenderChartImage(w.data, w.model);
  const QRect secondLine(kChartLeft + 400 + 2, kRowsTop + 55 + 12, 24, 11);
  EXPECT_GT(CountOtherThan(image, secondLine, kOnTimeYellow), 40);
  w.Plan(plan).ProcessName = "";
  chart::LayoutBar(w.data, w.model, PlanIdx{plan}, 0);
  EXPECT_EQ(
      0, CountOtherThan(RenderChartImage(w.data, w.model),
                        QRect(kChartLeft + 400 + 30, kRowsTop + 55 + 12, 30, 11), kOnTimeYellow));
}

TEST_F(ChartPaint, ViewportShowsTheBarAndScrollingMovesIt) {
  ChartView view(w.data, w.model);
  view.resize(view.sizeHint());
  int scrolls = 0;
  QObject::connect(&view, &ChartView::scrolled, [&] { ++scrolls; });

  QImage image = Grab(view);
  EXPECT_EQ(QSize(kChartLeft + 20160 / 15, 712), image.size());
  const QRect bar(kChartLeft + 16, kRowsTop + 55, 192, 24);
  EXPECT_EQ(kOnTimeYellow, image.pixelColor(bar.right() - 2, bar.bottom() - 2));

  view.HScroll1()->setValue(10);  // 150 twips to the right
  EXPECT_EQ(1, scrolls);
  EXPECT_EQ(10, w.model.HScroll1.Value);
  EXPECT_EQ(-5760 - 150, w.model.PlatForm.Left);
  image = Grab(view);
  EXPECT_NE(kOnTimeYellow, image.pixelColor(bar.right() - 2, bar.bottom() - 2));
  EXPECT_EQ(kOnTimeYellow, image.pixelColor(bar.right() - 12, bar.bottom() - 2));

  view.KScroll()->setValue(1);  // one row up
  EXPECT_EQ(2, scrolls);
  EXPECT_EQ("M01 成形機1", w.model.MachineName[1]);
  image = Grab(view);
  EXPECT_EQ(kOnTimeYellow, image.pixelColor(bar.right() - 12, bar.bottom() - 2 - 40));
}

// A bar that starts left of the screen shows its caption at the left edge, as one starting there.
TEST_F(ChartPaint, ABarStartingLeftOfTheScreenShowsItsCaptionAtTheEdge) {
  ChartView view(w.data, w.model);
  view.resize(view.sizeHint());
  const QRect captionAtEdge(kChartLeft, kRowsTop + 55, 80, 24);
  view.HScroll1()->setValue(16);  // the bar starts at the edge
  const QImage atEdge = Grab(view).copy(captionAtEdge);
  EXPECT_GT(CountOtherThan(atEdge, atEdge.rect(), kOnTimeYellow), 40);
  view.HScroll1()->setValue(16 + 100);  // it starts 100 pixels left of the edge
  EXPECT_EQ(atEdge, Grab(view).copy(captionAtEdge));
}

TEST_F(ChartPaint, CaptionShowsUpToTheBarLaidOverIt) {
  // A later bar from 12/02 18:00 covers the caption from 64 pixels in.
  const int over = w.AddPlan("M01     ", "2024/12/02 18:00:00", "2024/12/02 22:00:00");
  w.Plan(over).InitialDueDate = DateTime{};
  w.Plan(plan).ProcessName = "成形成形成形成形成形";
  chart::DispWeek(w.data, w.model);
  const QImage image = RenderChartImage(w.data, w.model);
  const int barLeft = kChartLeft + 400;
  const int overLeft = barLeft + 64;
  const QColor grey = ToQColor(chart::kNoDueDateColor);
  EXPECT_GT(
      CountOtherThan(image, QRect(barLeft + 2, kRowsTop + 55 + 12, overLeft - barLeft - 6, 11),
                     kOnTimeYellow),
      100);
  EXPECT_EQ(grey, image.pixelColor(overLeft + 20, kRowsTop + 56 + 5));  // its first line is blank
}

TEST_F(ChartPaint, ScrolledPictureMatchesAFreshPaint) {
  // Overlapping bars whose captions reach across the strips a scroll step uncovers.
  for (const char* start : {"2024/12/02 06:00:00", "2024/12/02 11:00:00", "2024/12/02 20:00:00"}) {
    const int i = w.AddPlan("M01     ", start, "2024/12/03 02:00:00");
    w.Plan(i).PlanItemCode = "重なり";
    w.Plan(i).ModelName = "ABCDEFGHIJ";
  }
  chart::DispWeek(w.data, w.model);
  ChartView view(w.data, w.model);
  view.resize(view.sizeHint());
  view.show();
  QCoreApplication::processEvents();
  for (int value : {37, 5, 300, -100}) {
    view.HScroll1()->setValue(value);
    QCoreApplication::processEvents();
    const QImage onScreen = view.screen()->grabWindow(view.winId()).toImage();
    const QImage fresh = Grab(view);
    ASSERT_FALSE(onScreen.isNull());
    EXPECT_EQ(fresh.convertToFormat(QImage::Format_RGB32),
              onScreen.copy(fresh.rect()).convertToFormat(QImage::Format_RGB32))
        << "scroll value " << value;
  }
}

TEST_F(ChartPaint, RefreshHandsTheModelsRangesToTheScrollBars) {
  ChartView view(w.data, w.model);
  EXPECT_EQ(w.model.HScroll1.Max, view.HScroll1()->maximum());
  EXPECT_EQ(-384, view.HScroll1()->minimum());
  EXPECT_EQ(2, view.KScroll()->maximum());
  chart::DispDay(w.data, w.model);
  view.Refresh();
  EXPECT_EQ((19 * 20160 - 20160) / 15, view.HScroll1()->maximum()) << "to the last day";
  EXPECT_EQ(w.model.HScroll1.Value, view.HScroll1()->value());
  EXPECT_EQ(0, w.model.HScroll1.Value);  // syncing ran no handler
}

// While a bar is dragged: an outline where it would land (red where refused) over the rows,
// the bars it would move framed; the caption box in front of everything and wide enough for
// its text.
TEST_F(ChartPaint, DropPreviewAndCaptionBoxArePaintedOverTheChart) {
  ChartView view(w.data, w.model);
  view.resize(view.sizeHint());
  const QRect bar(kChartLeft + 16, kRowsTop + 55, 192, 24);
  const QRect outline(kChartLeft + 16, kRowsTop + 93, 100, 24);  // M02's row from 10:00
  const QImage before = Grab(view);

  chart::DropPreview& preview = w.model.Preview;
  preview.Visible = true;
  preview.Left = 240;
  preview.Top = 1440 - 45;
  preview.Width = 1500;
  preview.Marked = {w.Plan(plan).Bar()};
  view.Refresh();
  QImage image = Grab(view);
  EXPECT_EQ(QColor(64, 64, 64), image.pixelColor(outline.topLeft()));
  EXPECT_EQ(QColor(64, 64, 64), image.pixelColor(outline.bottomRight() - QPoint(1, 1)));
  const QPoint inside = outline.center();
  EXPECT_LT(image.pixelColor(inside).red(), before.pixelColor(inside).red());
  EXPECT_GT(image.pixelColor(inside).red(), 128) << "see-through";
  EXPECT_EQ(image.pixelColor(outline.right() + 2, outline.center().y()),
            before.pixelColor(outline.right() + 2, outline.center().y()));
  EXPECT_EQ(QColor(255, 140, 0), image.pixelColor(bar.topLeft()));
  EXPECT_EQ(kOnTimeYellow, image.pixelColor(bar.right() - 4, bar.bottom() - 3));

  preview.Refused = true;
  preview.Marked.clear();
  view.Refresh();
  image = Grab(view);
  EXPECT_EQ(QColor(220, 0, 0), image.pixelColor(outline.topLeft()));
  EXPECT_EQ(before.pixelColor(bar.topLeft()), image.pixelColor(bar.topLeft()));

  preview.Visible = false;
  chart::CaptionBox& box = w.model.GradeName;
  box.Visible = true;
  box.Left = 240 + 750;
  box.Top = 825 + 360 + 400;
  box.Width = 80;  // narrower than its text
  box.Text = "A-100 M1\r\n成形 100";
  view.Refresh();
  image = Grab(view);
  const QPoint boxAt(kChartLeft + 66, kRowsTop + 106);  // its top left corner
  EXPECT_EQ(before.pixelColor(outline.topLeft()), image.pixelColor(outline.topLeft()));
  EXPECT_NE(before.pixelColor(boxAt), image.pixelColor(boxAt));
  // Its top border runs past the text, whatever the model's width allowed.
  int right = boxAt.x();
  while (image.pixelColor(right + 1, boxAt.y()) == image.pixelColor(boxAt)) ++right;
  int ink = 0;
  for (int x = boxAt.x(); x < boxAt.x() + 60; ++x) {
    for (int y = boxAt.y() + 2; y < boxAt.y() + 17; ++y) ink += image.pixelColor(x, y).red() < 128;
  }
  EXPECT_GT(ink, 40);
  EXPECT_GT(right, boxAt.x() + 60);
  const ChartHit hit =
      view.Painter().HitTest(w.model, ChartPainter::ViewportFrame(w.model), boxAt + QPoint(5, 5));
  EXPECT_EQ(ChartHit::Target::GradeName, hit.target);
  EXPECT_EQ(ChartHit::Target::PlatForm, view.Painter()
                                            .HitTest(w.model, ChartPainter::ViewportFrame(w.model),
                                                     QPoint(right + 40, boxAt.y()))
                                            .target);
}

TEST_F(ChartPaint, PointerEventsNameTheBarOrSurfaceUnderThePointer) {
  ChartView view(w.data, w.model);
  view.resize(view.sizeHint());
  std::vector<ChartMouseEvent> events;
  QObject::connect(&view, &ChartView::chartMouse,
                   [&](const ChartMouseEvent& e) { events.push_back(e); });
  auto press = [&](QPoint at, Qt::MouseButton button) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(at), QPointF(at), button, button,
                      Qt::ShiftModifier);
    QCoreApplication::sendEvent(view.Canvas(), &event);
  };

  press(QPoint(kChartLeft + 16 + 5, kRowsTop + 55 + 3), Qt::RightButton);
  ASSERT_EQ(1u, events.size());
  EXPECT_EQ(ChartMouseEvent::Kind::Press, events[0].kind);
  EXPECT_EQ(ChartHit::Target::PlanBar, events[0].hit.target);
  EXPECT_EQ(w.Plan(plan).BarIndex, events[0].hit.index);
  EXPECT_EQ(240 + 75, events[0].hit.x);
  EXPECT_EQ(825 + 45, events[0].hit.y);
  EXPECT_EQ(2, events[0].button);
  EXPECT_EQ(1, events[0].shift);

  press(QPoint(kChartLeft + 300, kRowsTop + 100), Qt::LeftButton);
  EXPECT_EQ(ChartHit::Target::PlatForm, events[1].hit.target);
  press(QPoint(10, kRowsTop + 8 + 40), Qt::LeftButton);  // second caption cell
  EXPECT_EQ(ChartHit::Target::MachineName, events[2].hit.target);
  EXPECT_EQ(2, events[2].hit.index);
}

}  // namespace
}  // namespace velmora::ui
