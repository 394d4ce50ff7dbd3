#include "dialogs/process_chain_dialogs.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace velmora {
namespace {

ModelDialog::Outline ChainOutline(const char* title, std::vector<Control> buttons) {
  buttons.insert(buttons.begin(), Stretch());
  return {title,
          {Alone(ReadOnly("Text1", kTabStop)), Alone(ListOf(Kind::TickList, "NList", {}, 420, 220)),
           Row(std::move(buttons))}};
}

}  // namespace

AddPlanDialog::AddPlanDialog(std::shared_ptr<lotdetail::AddPlan> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog),
                  ChainOutline("工程追加", {Button("Command3", "追加実施"),
                                            Button("Command1", "追加キャンセル", kCancels)}),
                  parent) {
  Text1 = Widget<QLineEdit>("Text1");
  NList = Widget<QListWidget>("NList");
  Command3 = Widget<QPushButton>("Command3");
  Command1 = Widget<QPushButton>("Command1");
}

ShowPlanDialog::ShowPlanDialog(std::shared_ptr<lotdetail::ShowPlan> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog), ChainOutline("工程照会", {Button("Command1", "照会終了")}),
                  parent) {
  Text1 = Widget<QLineEdit>("Text1");
  NList = Widget<QListWidget>("NList");
  Command1 = Widget<QPushButton>("Command1");
}

}  // namespace velmora
