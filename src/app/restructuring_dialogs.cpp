#include "app/restructuring_dialogs.h"

#include "app/lot_split_dialog.h"
#include "app/plan_change_dialog.h"
#include "app/process_chain_dialogs.h"

namespace velmora {
namespace {

template <typename View, typename Model>
bool ShowAs(const std::shared_ptr<editing::ScriptDialog>& dialog, QWidget* parent) {
  auto model = std::dynamic_pointer_cast<Model>(dialog);
  if (!model) return false;
  View view(std::move(model), parent);
  view.exec();
  return true;
}

}  // namespace

void ShowRestructuringDialog(const std::shared_ptr<editing::ScriptDialog>& dialog,
                             QWidget* parent) {
  ShowAs<AddPlanDialog, lotdetail::AddPlan>(dialog, parent) ||
      ShowAs<ShowPlanDialog, lotdetail::ShowPlan>(dialog, parent) ||
      ShowAs<LotSplitDialog, lotdetail::BunWindow>(dialog, parent) ||
      ShowAs<PlanChangeDialog, lotdetail::PlanChange>(dialog, parent);
}

}  // namespace velmora
