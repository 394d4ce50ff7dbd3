#include "lotdetail/lot_opening.h"

#include "common/questions.h"
#include "lotdetail/order_relations.h"

namespace velmora::lotdetail {

std::shared_ptr<PlanWindow> OpenPlanWindow(editing::EditContext& ctx, PlanIdx p, DateTime today) {
  std::vector<std::string> relations;
  if (ctx.connection != nullptr) {
    relations = ReadOrderRelations(*ctx.connection, ctx.data.Plan(p).OrderNo);
  }
  auto window = std::make_shared<PlanWindow>(ctx, today);
  window->Fill(p, std::move(relations));
  return window;
}

bool ConfirmDiscard(const PlanData& data, Questions& questions) {
  if (!data.Edits.CanSave()) return true;
  return questions.Ask({kDiscardQuestion, Answer::No}) == Answer::Yes;
}

}  // namespace velmora::lotdetail
