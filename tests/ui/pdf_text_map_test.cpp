#include "ui/pdf_text_map.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <string>

namespace velmora::ui {
namespace {

// A map as Qt's PDF writer puts it out, naming glyphs by the lowest code point of the font.
const std::string kWritten =
    "begincmap\n"
    "4 beginbfrange\n"
    "<0000> <0000> <0000>\n"
    "<0001> <0006> [<0030> <0009> <2F47> <2F2F> <301C> <2003> ]\n"
    "<0007> <0007> <2F49>\n"
    "<0008> <0009> <2F00>\n"
    "endbfrange\n"
    "1 beginbfchar\n"
    "<000A> <F900>\n"
    "endbfchar\n"
    "endcmap\n";

const std::string kMended =
    "begincmap\n"
    "4 beginbfrange\n"
    "<0000> <0000> <0000>\n"
    "<0001> <0006> [<0030> <0020> <65E5> <5DE5> <FF5E> <3000> ]\n"
    "<0007> <0007> <6708>\n"
    "<0008> <0009> <2F00>\n"  // a run: mending its first would shift the second
    "endbfrange\n"
    "1 beginbfchar\n"
    "<000A> <8C48>\n"
    "endbfchar\n"
    "endcmap\n";

TEST(PdfTextMap, GlyphsAreNamedByTheCharactersJapaneseTextUses) {
  std::string map = kWritten;
  MendToUnicodeMaps(map.data(), static_cast<qint64>(map.size()));
  EXPECT_EQ(kMended, map);

  // Through the device, the rest of the file passes untouched, whatever comes around the map.
  QBuffer file;
  file.open(QIODevice::WriteOnly);
  ToUnicodeMending mending(file);
  mending.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  const std::string content = "stream\n<2F47> Tj beginbfrange\n<0001> <0001> <2F47>\nendbfrange\n";
  mending.write(content.data(), static_cast<qint64>(content.size()));
  mending.write(kWritten.data(), static_cast<qint64>(kWritten.size()));
  EXPECT_EQ(content + kMended, file.data().toStdString());
}

}  // namespace
}  // namespace velmora::ui
