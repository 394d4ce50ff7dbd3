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
                 {0, 1, ReadOnly("Text1")},
                 {0, 2, Label("分割数")},
                 {0, 3, Box("Text14", kTakesEnter | kSelectAll)},
                 {1, 0, Label("内輪合計")},
                 {1, 1, ReadOnly("Text2")},
                 {1, 2, Label("外輪合計")},
                 {1, 3, ReadOnly("Text3")}}),
           Row({Stretch(), Button("Command3", "分割実施", kNoAutoDefault),
                Button("Command1", "分割キャンセル", kNoAutoDefault | kCancels)})}};
}

}  // namespace

LotSplitDialog::LotSplitDialog(std::shared_ptr<lotdetail::BunWindow> dialog, QWidget* parent)
    : ModelDialog(std::move(dialog), LotSplitOutline(), parent) {
  NList = Widget<QListWidget>("NList");
  GList = Widget<QListWidget>("GList");
  Text1 = Widget<QLineEdit>("Text1");
  Text14 = Widget<QLineEdit>("Text14");
  Text2 = Widget<QLineEdit>("Text2");
  Text3 = Widget<QLineEdit>("Text3");
  Command3 = Widget<QPushButton>("Command3");
  Command1 = Widget<QPushButton>("Command1");
}

}  // namespace velmora
