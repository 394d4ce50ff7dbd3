#include "dialogs/plan_change_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace velmora {
namespace {

Control Lines(Kind kind, const char* name, const char* title, int height, int stretch = 1) {
  return ListOf(kind, name, title, 0, height, kFixedFont, stretch);
}

ModelDialog::Outline PlanChangeOutline() {
  Control parents = Lines(Kind::PickList, "ZList", "上位品目 (在庫/配分数 日付 機械)", 160, 2);
  parents.width = 900;
  return {lotdetail::kPlanChangeCaption,
          {Row({Label("手配番号"), ReadOnly("memberNo"), Stretch()}), Alone(parents),
           Row({Lines(Kind::PickList, "MList", "未割付の手配", 110),
                Lines(Kind::PickList, "KList", "機械割付済の手配", 110)},
               1),
           Row({Label("数量"), Box("shareQty", kTakesEnter | kSelectAll), Label("開始日"),
                Box("shareDate", kTakesEnter | kSelectAll), Label("機械"),
                Named(Kind::Choice, "machine", kTakesEnter, 140), Stretch(),
                // A refused share leaves the focus where the user clicked.
                Button("split", "分割実施", kNoAutoDefault | kKeepsFocus)})}};
}

}  // namespace

PlanChangeDialog::PlanChangeDialog(std::shared_ptr<lotdetail::PlanChange> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog), PlanChangeOutline(), parent) {
  memberNo = Widget<QLineEdit>("memberNo");
  ZList = Widget<QListWidget>("ZList");
  MList = Widget<QListWidget>("MList");
  KList = Widget<QListWidget>("KList");
  shareQty = Widget<QLineEdit>("shareQty");
  shareDate = Widget<QLineEdit>("shareDate");
  machine = Widget<QComboBox>("machine");
  split = Widget<QPushButton>("split");
}

}  // namespace velmora
