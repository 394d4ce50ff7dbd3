#pragma once

#include <QIODevice>
#include <QtGlobal>

namespace velmora::ui {

// The code point a PDF reader should find for a glyph that Qt's PDF writer names `u`. The
// writer names each glyph by the lowest code point the font maps to it, so with the CJK fonts
// 日 comes out as the Kangxi radical ⽇, 工 as ⼯, the space as a tab, the ideographic space as
// an em space and ～ as 〜: found by eye, not by a search. Other code points stay.
char16_t PreferredCodePoint(char16_t u);

// Rewrites, in place and to the same length, the one-glyph destinations of the ToUnicode maps
// (bfrange and bfchar sections) that `data` holds whole.
void MendToUnicodeMaps(char* data, qint64 size);

// Passes a PDF writer's output on to `target`, mending the ToUnicode maps on the way. The writer
// puts each map out in one piece, and the file keeps every offset.
class ToUnicodeMending : public QIODevice {
 public:
  explicit ToUnicodeMending(QIODevice& target) : target_(target) {}

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  QIODevice& target_;
};

}  // namespace velmora::ui
