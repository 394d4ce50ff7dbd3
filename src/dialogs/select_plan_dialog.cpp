#include "dialogs/select_plan_dialog.h"

#include <QListWidget>
#include <QPushButton>

namespace velmora {
namespace {

ModelDialog::Outline SelectPlanOutline() {
  // The lines are columns of numbers and codes.
  return {lotdetail::kSearchCaption,
          {Alone(ListOf(Kind::CurrentList, "NList", {}, 520, 240, kFixedFont)),
           Row({Stretch(), Button("choose", lotdetail::kChooseCaption, kDefault)})}};
}

}  // namespace

SelectPlanDialog::SelectPlanDialog(std::shared_ptr<lotdetail::SelectPlan> chooser, QWidget* parent)
    : ModelDialog(std::move(chooser), SelectPlanOutline(), parent) {
  NList = Widget<QListWidget>("NList");
  choose = Widget<QPushButton>("choose");
}

void ShowSelectPlan(std::shared_ptr<lotdetail::SelectPlan> chooser, QWidget* parent) {
  auto report = std::move(chooser->Chosen);
  int chosen = 0;
  chooser->Chosen = [&chosen](int line) { chosen = line; };
  {
    SelectPlanDialog dialog(chooser, parent);
    dialog.exec();
  }
  chooser->Chosen = nullptr;
  if (report) report(chosen);
}

}  // namespace velmora
