#pragma once

#include <QDialog>

namespace velmora {

inline constexpr const char* kLegendCaption = "凡例";

// What the chart's colours, marks, bold captions and shading mean, each beside a sample.
class LegendWindow : public QDialog {
  Q_OBJECT

 public:
  explicit LegendWindow(QWidget* parent);
};

}  // namespace velmora
