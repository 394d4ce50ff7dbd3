#include "dialogs/lot_split_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace velmora {
namespace {

Control MemberList(const char* name, const char* title) {
  return ListOf(Kind::PickList, name, title, 460, 140, kFixedFont);
}

ModelDialog::Outline LotSplitOutline() {
  // Enter belongs to the count box.
  return {lotdetail::kLotSplitCaption,
          {Alone(MemberList("NList", "内輪")), Alone(MemberList("GList", "外輪")),
           Grid({{0, 0, Label("手配番号")},
                 {0, 1, ReadOnly("memberNo")},
                 {0, 2, Label("分割数")},
                 {0, 3, Box("splitCount", kTakesEnter | kSelectAll)},
                 {1, 0, Label("内輪合計")},
                 {1, 1, ReadOnly("innerTotal")},
                 {1, 2, Label("外輪合計")},
                 {1, 3, ReadOnly("outerTotal")}}),
           Row({Stretch(), Button("split", "分割実施", kNoAutoDefault),
                Button("cancel", "分割キャンセル", kNoAutoDefault | kCancels)})}};
}

}  // namespace

LotSplitDialog::LotSplitDialog(std::shared_ptr<lotdetail::BunWindow> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog), LotSplitOutline(), parent) {
  NList = Widget<QListWidget>("NList");
  GList = Widget<QListWidget>("GList");
  memberNo = Widget<QLineEdit>("memberNo");
  splitCount = Widget<QLineEdit>("splitCount");
  innerTotal = Widget<QLineEdit>("innerTotal");
  outerTotal = Widget<QLineEdit>("outerTotal");
  split = Widget<QPushButton>("split");
  cancel = Widget<QPushButton>("cancel");
}

}  // namespace velmora
