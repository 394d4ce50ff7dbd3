#include "ui/static_text_cache.h"

#include <QString>
#include <QTransform>
#include <utility>

namespace velmora::ui {

const QStaticText& StaticTextCache::Get(std::string_view text) {
  auto it = texts_.find(text);
  if (it == texts_.end()) {
    QStaticText prepared(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    prepared.setTextFormat(Qt::PlainText);
    prepared.setPerformanceHint(QStaticText::AggressiveCaching);
    prepared.prepare(QTransform(), font_);
    it = texts_.emplace(std::string(text), std::move(prepared)).first;
  }
  return it->second;
}

}  // namespace velmora::ui
