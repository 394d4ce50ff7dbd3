#include "app/legend_window.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/bar_layout.h"
#include "chart/legend.h"
#include "ui/chart_painter.h"
#include "ui/fixed_mark_painting.h"

namespace velmora {
namespace {

constexpr int kSampleWidth = 64;
constexpr int kSampleHeight = 22;
constexpr int kProgressAlpha = 90;  // as the chart darkens a bar under its progress

// A caption on a plain bar: in the entry's colour, bold or with the sheet mark.
void PaintTextSample(QPainter& painter, const chart::LegendEntry& entry, const QFont& font,
                     const QRect& bar) {
  using S = chart::LegendEntry::Sample;
  painter.fillRect(bar, ui::ToQColor(chart::kOnTimeColor));
  QFont f = font;
  f.setBold(entry.sample == S::Bold);
  painter.setFont(f);
  painter.setPen(ui::ToQColor(entry.color));
  painter.drawText(bar, Qt::AlignCenter, entry.sample == S::Sheet ? "●ABC1" : "ABC123");
}

// A frame round a plain bar; a dashed one, as the chart outlines a place a bar left, over half
// a bar that stands there now.
void PaintFrameSample(QPainter& painter, const chart::LegendEntry& entry, const QRect& bar) {
  const QColor color = ui::ToQColor(entry.color);
  const QColor plain = ui::ToQColor(chart::kOnTimeColor);
  if (entry.sample == chart::LegendEntry::Sample::Frame) {
    painter.fillRect(bar, plain);
    painter.setPen(QPen(color, 3));
    painter.drawRect(bar.adjusted(1, 1, -1, -1));
    return;
  }
  painter.fillRect(bar.adjusted(bar.width() / 2, 0, 0, 0), plain);
  QPen pen(color, 2, Qt::CustomDashLine);
  pen.setDashPattern({3, 2});
  painter.setPen(pen);
  painter.drawRect(QRectF(bar).adjusted(1, 1, -1, -1));
}

QPixmap Sample(const chart::LegendEntry& entry, const QFont& font) {
  using S = chart::LegendEntry::Sample;
  QPixmap pixmap(kSampleWidth, kSampleHeight);
  pixmap.fill(Qt::white);
  QPainter painter(&pixmap);
  const QColor color = ui::ToQColor(entry.color);
  const QRect bar(4, 3, kSampleWidth - 8, kSampleHeight - 6);
  const QColor plain = ui::ToQColor(chart::kOnTimeColor);
  switch (entry.sample) {
    case S::Bar:
      painter.fillRect(bar, color);
      break;
    case S::Text:
    case S::Bold:
    case S::Sheet:
      PaintTextSample(painter, entry, font, bar);
      break;
    case S::Progress:
      // As the chart draws it: the bar's colour again over the received share, a pixel inside.
      painter.fillRect(bar, color);
      painter.fillRect(QRect(bar.left() + 1, bar.top() + 1, bar.width() * 3 / 5, bar.height() - 2),
                       ui::ToQColor(entry.color, kProgressAlpha));
      break;
    case S::EndFixed:
    case S::Locked:
      painter.fillRect(bar, plain);
      ui::PaintFixedMark(painter, entry.sample == S::Locked ? chart::Pin::Whole : chart::Pin::End,
                         bar);
      break;
    case S::Frame:
    case S::Dashed:
      PaintFrameSample(painter, entry, bar);
      break;
    case S::Line:
      painter.setPen(QPen(color, 1));
      painter.drawLine(kSampleWidth / 2, 0, kSampleWidth / 2, kSampleHeight);
      break;
    case S::Corner:
      painter.setPen(Qt::NoPen);
      painter.setBrush(ui::ToQColor(entry.color));
      painter.drawPolygon(QPolygon({QPoint(kSampleWidth - 4, 2), QPoint(kSampleWidth - 16, 2),
                                    QPoint(kSampleWidth - 4, 14)}));
      break;
    case S::Shade:
      painter.fillRect(QRect(0, 2, kSampleWidth, kSampleHeight - 4), ui::ToQColor(entry.color, 60));
      break;
  }
  return pixmap;
}

}  // namespace

LegendWindow::LegendWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(kLegendCaption);
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  int row = 0;
  for (const chart::LegendEntry& entry : chart::Legend()) {
    auto* sample = new QLabel(this);
    sample->setPixmap(Sample(entry, font()));
    grid->addWidget(sample, row, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(entry.meaning), this), row, 1);
    ++row;
  }
  column->addLayout(grid);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText("閉じる");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
}

}  // namespace velmora
