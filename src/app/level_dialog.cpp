#include "app/level_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace velmora {
namespace {

Control Entry(std::string name, int width) {
  return Box(std::move(name), kSelectAll | kSelectOnFocus, width);
}

ModelDialog::Outline LevelOutline() {
  return {kLevelCaption,
          {Alone(ListOf(Kind::TickList, "machines", "機械", 320, 200)),
           Row({Button("allMachines", "全選択", kNoAutoDefault),
                Button("noMachines", "全解除", kNoAutoDefault), Stretch()}),
           Form({}, {{{Label("開始日"), {Entry("firstDay", 110)}},
                      {Label("終了日"), {Entry("lastDay", 110)}}},
                     {{Label("時間 (秒)"), {Entry("budget", 60)}}}}),
           Row({Stretch(), Button("compute", "計算", kDefault),
                Button("close", "閉じる", kNoAutoDefault | kCancels)})}};
}

}  // namespace

LevelDialog::LevelDialog(std::shared_ptr<LevelWindow> window, QWidget* parent)
    : ModelDialog(window, LevelOutline(), parent) {
  machines = Widget<QListWidget>("machines");
  allMachines = Widget<QPushButton>("allMachines");
  noMachines = Widget<QPushButton>("noMachines");
  firstDay = Widget<QLineEdit>("firstDay");
  lastDay = Widget<QLineEdit>("lastDay");
  budget = Widget<QLineEdit>("budget");
  compute = Widget<QPushButton>("compute");
  closeButton = Widget<QPushButton>("close");
  // The table has no check box: it joins the form beside the seconds, bound by hand.
  otherMachines = new QCheckBox("機械の変更を許可", budget->parentWidget());
  otherMachines->setObjectName("otherMachines");
  otherMachines->setChecked(window->State("otherMachines").Text == "1");
  if (auto* form = qobject_cast<QGridLayout*>(budget->parentWidget()->layout())) {
    form->addWidget(otherMachines, 1, 2, 1, 2);
  }
  setTabOrder(budget, otherMachines);
  connect(otherMachines, &QCheckBox::toggled, this, [this](bool on) {
    Act([this, on] { Model().Type("otherMachines", on ? "1" : "0"); }, false);
  });
}

}  // namespace velmora
