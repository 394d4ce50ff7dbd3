#pragma once

#include <QString>
#include <array>
#include <memory>

#include "dialogs/model_dialog.h"
#include "editing/day_calendar.h"
#include "plandata/plan_data.h"

class QLineEdit;
class QPushButton;

namespace velmora {

// The caption of the day calendar: what it is, the row's caption and the day.
QString LinePlanTitle(const PlanData& data, const editing::LinePlanWindow& window);

// The day calendar of one machine row and day: the four shift windows as start and end boxes,
// the working minutes and "変更". Enter in a time box is the model's; a box clicked into has its
// text selected, so typing replaces it.
class LinePlanDialog : public ModelDialog {
  Q_OBJECT

 public:
  LinePlanDialog(std::shared_ptr<editing::LinePlanWindow> window, const QString& title,
                 QWidget* parent = nullptr);

  // Controls, named as the window model names them.
  std::array<QLineEdit*, 8> PlanTime{};
  QLineEdit* PlanSum = nullptr;
  QPushButton* storeDay = nullptr;  // "変更"
};

}  // namespace velmora
