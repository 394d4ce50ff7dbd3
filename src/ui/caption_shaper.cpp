#include "ui/caption_shaper.h"

#include <QGlyphRun>
#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <algorithm>
#include <utility>

#include "common/text.h"
#include "ui/caption_lines.h"
#include "ui/pixels.h"

namespace velmora::ui {

namespace {

constexpr int kNarrowestGlyphPixels = 2;  // no glyph of the bar font advances less

}  // namespace

const ShapedCaption& CaptionShaper::CaptionOf(std::vector<ShapedCaption>& cache, int index,
                                              const chart::BarLabel& bar) {
  if (static_cast<std::size_t>(index) >= cache.size()) {
    cache.resize(static_cast<std::size_t>(index) + 1);
  }
  ShapedCaption& c = cache[static_cast<std::size_t>(index)];
  // Only the characters that can fit the bar are shaped: no glyph is narrower than
  // kNarrowestGlyphPixels, so the rest would never be drawn. A bar that grows past what was
  // shaped is shaped again.
  const std::size_t fit =
      static_cast<std::size_t>(std::max(0, Px(bar.Width))) / kNarrowestGlyphPixels + 1;
  if (c.source != bar.Caption || c.bold != bar.Bold || (c.cut && fit > c.fit)) {
    c.source = bar.Caption;
    c.bold = bar.Bold;
    c.fit = fit;
    c.cut = false;
    c.lines[0] = c.lines[1] = ShapedLine{};
    int n = 0;
    ForEachLine(bar.Caption, [&](std::string_view line) {
      if (n >= 2) return;
      const bool cut = CharCount(line) > fit;
      c.cut = c.cut || cut;
      c.lines[n++] = Shape(cut ? Left(line, fit) : std::string(line), bar.Bold);
    });
  }
  return c;
}

const std::vector<QRawFont>& CaptionShaper::FacesOf(bool bold) {
  std::vector<QRawFont>& fonts = bold ? boldFaces_ : faces_;
  if (!fonts.empty()) return fonts;
  const QFont& font = bold ? boldFont_ : font_;
  // The faces the layout engine picks for the texts captions hold: Latin, kana and kanji, marks.
  QTextLayout layout(QStringLiteral("A1 成形かカ●（）/"), font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QRawFont face = run.rawFont();
    if (std::none_of(fonts.begin(), fonts.end(), [&](const QRawFont& f) { return f == face; }))
      fonts.push_back(face);
  }
  if (fonts.empty()) fonts.push_back(QRawFont::fromFont(font));
  return fonts;
}

// Captions are short single lines of Latin and Japanese text: their glyphs are looked up in the
// faces a layout would choose, character by character, which is several times faster than a
// full text layout and places the glyphs the same way.
ShapedLine CaptionShaper::Shape(std::string_view text, bool bold) {
  ShapedLine shaped;
  if (text.empty()) return shaped;
  const std::vector<QRawFont>& faces = FacesOf(bold);
  const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  double x = 0;
  qsizetype start = 0;
  auto faceAt = [&](qsizetype i, qsizetype* width) {
    char32_t c = line[i].unicode();
    *width = 1;
    if (line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(line[i], line[i + 1]);
      *width = 2;
    }
    for (std::size_t f = 0; f < faces.size(); ++f) {
      if (faces[f].supportsCharacter(c)) return f;
    }
    return std::size_t{0};
  };
  while (start < line.size()) {
    qsizetype width = 0;
    const std::size_t face = faceAt(start, &width);
    qsizetype end = start + width;
    while (end < line.size()) {
      qsizetype w = 0;
      if (faceAt(end, &w) != face) break;
      end += w;
    }
    ShapedLine::Run run;
    run.font = faces[face];
    run.glyphs = run.font.glyphIndexesForString(line.mid(start, end - start));
    const QList<QPointF> advances = run.font.advancesForGlyphIndexes(
        run.glyphs, QRawFont::SeparateAdvances | QRawFont::UseDesignMetrics);
    for (qsizetype g = 0; g < run.glyphs.size(); ++g) {
      run.positions.push_back(QPointF(x, 0));
      x += advances.value(g).x();
      run.rights.push_back(x);
    }
    shaped.runs.push_back(std::move(run));
    start = end;
  }
  return shaped;
}

void DrawShapedLine(QPainter& painter, const ShapedLine& line, QPointF baseline) {
  for (const ShapedLine::Run& run : line.runs) {
    QGlyphRun glyphs;
    glyphs.setRawFont(run.font);
    glyphs.setRawData(run.glyphs.constData(), run.positions.constData(),
                      static_cast<int>(run.glyphs.size()));
    painter.drawGlyphRun(baseline, glyphs);
  }
}

double WidthOf(const ShapedLine& line) {
  return line.runs.empty() || line.runs.back().rights.empty() ? 0 : line.runs.back().rights.back();
}

}  // namespace velmora::ui
