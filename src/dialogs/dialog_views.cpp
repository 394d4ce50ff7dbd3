#include "dialogs/dialog_views.h"

#include <typeindex>
#include <unordered_map>

#include "dialogs/line_plan_dialog.h"
#include "dialogs/lot_split_dialog.h"
#include "dialogs/plan_change_dialog.h"
#include "dialogs/plan_window_dialog.h"
#include "dialogs/process_chain_dialogs.h"
#include "dialogs/select_plan_dialog.h"

namespace velmora {
namespace {

using ShowView = void (*)(const std::shared_ptr<DialogModel>&, const PlanData&, QWidget*);

template <typename Model, typename View>
void ShowModal(const std::shared_ptr<DialogModel>& dialog, const PlanData& /*data*/,
               QWidget* parent) {
  View view(std::static_pointer_cast<Model>(dialog), parent);
  view.exec();
}

void ShowLinePlan(const std::shared_ptr<DialogModel>& dialog, const PlanData& data,
                  QWidget* parent) {
  auto window = std::static_pointer_cast<editing::LinePlanWindow>(dialog);
  LinePlanDialog view(window, LinePlanTitle(data, *window), parent);
  view.exec();
}

void ShowChooser(const std::shared_ptr<DialogModel>& dialog, const PlanData& /*data*/,
                 QWidget* parent) {
  ShowSelectPlan(std::static_pointer_cast<lotdetail::SelectPlan>(dialog), parent);
}

// The view of each dialog model, by the model's own type: the one place a dialog is added.
const std::unordered_map<std::type_index, ShowView>& Views() {
  static const std::unordered_map<std::type_index, ShowView> views{
      {typeid(editing::LinePlanWindow), &ShowLinePlan},
      {typeid(lotdetail::SelectPlan), &ShowChooser},
      {typeid(lotdetail::PlanWindow), &ShowModal<lotdetail::PlanWindow, PlanWindowDialog>},
      {typeid(lotdetail::AddPlan), &ShowModal<lotdetail::AddPlan, AddPlanDialog>},
      {typeid(lotdetail::ShowPlan), &ShowModal<lotdetail::ShowPlan, ShowPlanDialog>},
      {typeid(lotdetail::BunWindow), &ShowModal<lotdetail::BunWindow, LotSplitDialog>},
      {typeid(lotdetail::PlanChange), &ShowModal<lotdetail::PlanChange, PlanChangeDialog>},
  };
  return views;
}

}  // namespace

void ShowDialogView(const std::shared_ptr<DialogModel>& dialog, const PlanData& data,
                    QWidget* parent) {
  if (!dialog) return;
  const DialogModel& model = *dialog;
  const auto view = Views().find(typeid(model));
  if (view != Views().end()) view->second(dialog, data, parent);
}

}  // namespace velmora
