#include "ui/load_pages.h"

#include <QPainter>
#include <algorithm>

namespace velmora::ui {
namespace {

constexpr int kDaysAcross = 7;
constexpr double kLineHeight = 14;  // points
constexpr double kCaptionWidth = 110;
constexpr double kTextPoints = 8;
constexpr double kPadding = 3;
const QColor kOverloadShade(255, 190, 190);
const QColor kRule(160, 160, 160);

QFont TextFont(QFont font, bool bold) {
  font.setPixelSize(static_cast<int>(kTextPoints));
  font.setBold(bold);
  return font;
}

// [0, count) cut into pieces of at most `size`; nothing to cut still gives one empty piece.
std::vector<PageSpan> Pieces(int count, int size) {
  std::vector<PageSpan> pieces;
  for (int start = 0; start < std::max(count, 1); start += size) {
    pieces.push_back({start, std::min(size, std::max(count - start, 0))});
  }
  return pieces;
}

}  // namespace

LoadPages::LoadPages(const LoadTable& table, double pageWidth, double pageHeight, const QFont& font)
    : table_(table),
      width_(pageWidth),
      dayWidth_(std::max(1.0, (pageWidth - kCaptionWidth) / kDaysAcross)),
      shaper_(TextFont(font, false), TextFont(font, true)),
      weeks_(Pieces(static_cast<int>(table.days.size()), kDaysAcross)) {
  // Below the title line: the day header and the total take a line each.
  const int room = std::max(1, static_cast<int>(pageHeight / kLineHeight) - 3);
  lines_ = Pieces(static_cast<int>(table.lines.size()), room);
}

void LoadPages::Text(QPainter& p, const std::string& text, const QRectF& box, Qt::Alignment align,
                     bool bold) {
  if (text.empty()) return;
  const ShapedLine line = shaper_.Shape(text, bold);
  const double width = WidthOf(line);
  double x = box.left() + kPadding;
  if (align & Qt::AlignRight) x = box.right() - kPadding - width;
  if (align & Qt::AlignHCenter) x = box.center().x() - width / 2;
  DrawShapedLine(p, line, QPointF(x, box.bottom() - (kLineHeight - kTextPoints) / 2 - 1));
}

void LoadPages::PaintLine(QPainter& p, const LoadTable::Line& line, const PageSpan& week,
                          double top, bool bold) {
  const QRectF caption(0, top, kCaptionWidth, kLineHeight);
  p.setPen(kRule);
  p.drawRect(caption);
  p.setPen(Qt::black);
  Text(p, line.caption, caption, Qt::AlignLeft, bold);
  for (int k = 0; k < week.length; ++k) {
    const auto d = static_cast<std::size_t>(week.start + k);
    const QRectF cell(kCaptionWidth + k * dayWidth_, top, dayWidth_, kLineHeight);
    const bool known = d < line.cells.size();
    if (known && LoadTable::Overloaded(line.cells[d])) p.fillRect(cell, kOverloadShade);
    p.setPen(kRule);
    p.drawRect(cell);
    p.setPen(Qt::black);
    if (known) Text(p, LoadTable::Text(line.cells[d]), cell, Qt::AlignRight, bold);
  }
}

void LoadPages::Paint(QPainter& p, int n, const std::string& left, const std::string& right) {
  const PageSpan& week = weeks_[static_cast<std::size_t>(n) / lines_.size()];
  const PageSpan& lines = lines_[static_cast<std::size_t>(n) % lines_.size()];
  p.setPen(Qt::black);
  Text(p, left, QRectF(0, 0, width_, kLineHeight), Qt::AlignLeft, false);
  Text(p, right, QRectF(0, 0, width_, kLineHeight), Qt::AlignRight, false);
  double top = kLineHeight * 1.5;
  Text(p, "負荷", QRectF(0, top, kCaptionWidth, kLineHeight), Qt::AlignLeft, true);
  for (int k = 0; k < week.length; ++k) {
    Text(p, table_.days[static_cast<std::size_t>(week.start + k)],
         QRectF(kCaptionWidth + k * dayWidth_, top, dayWidth_, kLineHeight), Qt::AlignHCenter,
         false);
  }
  for (int k = 0; k < lines.length; ++k) {
    top += kLineHeight;
    PaintLine(p, table_.lines[static_cast<std::size_t>(lines.start + k)], week, top, false);
  }
  PaintLine(p, table_.total, week, top + kLineHeight, true);
}

}  // namespace velmora::ui
