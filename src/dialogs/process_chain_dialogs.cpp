#include "dialogs/process_chain_dialogs.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace velmora {
namespace {

ModelDialog::Outline ChainOutline(const char* title, std::vector<Control> buttons) {
  buttons.insert(buttons.begin(), Stretch());
  return {title,
          {Alone(ReadOnly("memberNo", kTabStop)),
           Alone(ListOf(Kind::TickList, "NList", {}, 420, 220)), Row(std::move(buttons))}};
}

}  // namespace

AddPlanDialog::AddPlanDialog(std::shared_ptr<lotdetail::AddPlan> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog),
                  ChainOutline("工程追加", {Button("add", "追加実施"),
                                            Button("cancel", "追加キャンセル", kCancels)}),
                  parent) {
  memberNo = Widget<QLineEdit>("memberNo");
  NList = Widget<QListWidget>("NList");
  add = Widget<QPushButton>("add");
  cancel = Widget<QPushButton>("cancel");
}

ShowPlanDialog::ShowPlanDialog(std::shared_ptr<lotdetail::ShowPlan> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog), ChainOutline("工程照会", {Button("done", "照会終了")}),
                  parent) {
  memberNo = Widget<QLineEdit>("memberNo");
  NList = Widget<QListWidget>("NList");
  done = Widget<QPushButton>("done");
}

}  // namespace velmora
