#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>

#include "editing/day_calendar.h"
#include "plandata/plan_data.h"

class QLineEdit;
class QPushButton;

namespace velmora {

// The caption of the day calendar: what it is, the row's caption and the day.
QString LinePlanTitle(const PlanData& data, const editing::LinePlanWindow& window);

// The day calendar of one machine row and day: the four shift windows as start and end boxes,
// the working minutes and "変更". The rules are the window model's; this dialog shows its texts
// and its focus and hands it the user's typing, Enter and clicks.
class LinePlanDialog : public QDialog {
  Q_OBJECT

 public:
  LinePlanDialog(std::shared_ptr<editing::LinePlanWindow> window, const QString& title,
                 QWidget* parent = nullptr);

  // Controls, named as the window model names them.
  std::array<QLineEdit*, 8> PlanTime{};
  QLineEdit* PlanSum = nullptr;
  QPushButton* Command1 = nullptr;  // "変更"

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlanTime_Enter(int index);
  void Command1_Click();
  void ShowModel();
  void FocusModel();

  std::shared_ptr<editing::LinePlanWindow> window_;
};

}  // namespace velmora
