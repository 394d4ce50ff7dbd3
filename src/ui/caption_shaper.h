#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QtGlobal>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_model.h"

class QPainter;

namespace velmora::ui {

// A caption line shaped once: its glyph runs and where each glyph ends, so that a paint draws
// only the glyphs that fit their bar, with no shaping and no clipping.
struct ShapedLine {
  struct Run {
    QRawFont font;
    QList<quint32> glyphs;
    QList<QPointF> positions;  // from the line's start, baseline at y = 0
    std::vector<double> rights;
  };
  std::vector<Run> runs;
};

// A bar's caption as last shaped, with what it was shaped from.
struct ShapedCaption {
  std::string source;
  bool bold = false;
  std::size_t fit = 0;  // characters a line was allowed
  bool cut = false;     // a line had more than that
  ShapedLine lines[2];
};

// Shapes the bars' captions in the bar font and keeps them by bar index: a repaint shapes only
// the captions that changed or that a grown bar now shows more of.
class CaptionShaper {
 public:
  CaptionShaper(const QFont& font, const QFont& boldFont) : font_(font), boldFont_(boldFont) {}

  // The caption of plan bar `index`.
  const ShapedCaption& OfBar(int index, const chart::BarLabel& bar) {
    return CaptionOf(barCaptions_, index, bar);
  }
  // The caption of progress bar `index`, kept apart: it may differ from its plan bar's.
  const ShapedCaption& OfProgressBar(int index, const chart::BarLabel& bar) {
    return CaptionOf(progressCaptions_, index, bar);
  }
  // One line of text in the font or the bold font, not kept.
  ShapedLine Shape(std::string_view text, bool bold);

 private:
  const ShapedCaption& CaptionOf(std::vector<ShapedCaption>& cache, int index,
                                 const chart::BarLabel& bar);
  const std::vector<QRawFont>& FacesOf(bool bold);

  QFont font_;
  QFont boldFont_;
  std::vector<QRawFont> faces_;  // the faces captions are drawn in, for each bar font
  std::vector<QRawFont> boldFaces_;
  std::vector<ShapedCaption> barCaptions_;
  std::vector<ShapedCaption> progressCaptions_;
};

// Draws a shaped line with its baseline starting at `baseline`, every glyph one of the font's
// character map, so a PDF reader finds each character.
void DrawShapedLine(QPainter& painter, const ShapedLine& line, QPointF baseline);
// The line's width.
double WidthOf(const ShapedLine& line);

}  // namespace velmora::ui
