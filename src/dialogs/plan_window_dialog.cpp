#include "dialogs/plan_window_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

namespace velmora {
namespace {

using lotdetail::PlanWindow;

unsigned Selecting(const char* name) {
  return PlanWindow::SelectsAllOnFocus(name) ? kSelectAll | kSelectOnFocus : 0;
}

// A field of the model: a box typed in when it has a tab index, else one to read, reached by
// clicking only.
Control F(const char* name) {
  return PlanWindow::TabIndex(name) >= 0 ? Box(name, Selecting(name), 90)
                                         : ReadOnly(name, Selecting(name), 90);
}

Control DropDown(const char* name) {
  return Named(Kind::DropDown, name, Selecting(name), 140);
}

std::vector<Section> Layout() {
  return {
      Form("手配", {{{Label("手配番号"), {F("Text14")}},
                     {ClickLabel("Label4", "計画番号"), {F("Text4")}},
                     {Label("品名コード"), {F("Text10")}}},
                    {{Label("工程"), {F("Text9")}},
                     {Label("順序"), {F("Text23")}},
                     {Label("金型"), {F("Text29")}}},
                    {{Label("型番名"), {F("Text2")}, 5}}}),
      Form("日程", {{{Label("開始"), {F("Text7"), F("Text1")}},
                     {Label("終了"), {F("Text8"), F("Text6")}},
                     {Label("初期納期"), {F("Text11")}}},
                    {{Label("機械"), {DropDown("Text5")}},
                     {Label("指示先"), {DropDown("Text12")}},
                     {Label("固定"), {F("Text18")}}}}),
      Form("数量", {{{Label("手配数"), {F("Text3")}},
                     {Label("計画数"), {F("Text17")}},
                     {Label("実績数"), {F("Text20")}},
                     {Label("最終実績日"), {F("Text21")}}},
                    {{Label("入数"), {F("Text22")}},
                     {Label("取数"), {F("Text25")}},
                     {Label("端数/箱数"), {F("Text28"), F("Text27")}},
                     {Label("重量"), {F("Text26")}}}}),
      Form("時間", {{{Label("段取"), {F("Text13")}},
                     {Label("サイクル"), {F("Text15")}},
                     {Label("総時間"), {F("Text16")}},
                     {Label("作業時間"), {F("Text19")}}},
                    {{Label("人員"), {F("Text40")}},
                     {Label("型サイクル"), {F("Text24")}},
                     {Label("実績時間"), {F("Text42")}}}}),
      // Members are picked for the process split one click each.
      Row({ListOf(Kind::MultiList, "NList", "構成手配 A", 0, 70),
           ListOf(Kind::MultiList, "GList", "構成手配 B", 0, 70)},
          1),
      // The relation lines are long: they take the whole width, in fixed-width columns.
      Alone(ListOf(Kind::List, "JList", "受注・所要計画", 0, 100, kFixedFont)),
      // Enter belongs to the window's navigation: no button is the dialog's default.
      Row({Button("Command2", {}, kNoAutoDefault), Button("Command3", {}, kNoAutoDefault),
           Button("Command4", {}, kNoAutoDefault), Button("Command5", {}, kNoAutoDefault),
           Button("Command6", {}, kNoAutoDefault), Button("Command7", {}, kNoAutoDefault),
           Stretch(), Button("Command1", {}, kNoAutoDefault)}),
  };
}

// Tab follows the model's tab indexes; the lists and buttons come after the fields.
std::vector<std::string> TabOrder(const std::vector<Section>& layout) {
  std::vector<std::string> fields;
  for (const Section& section : layout) {
    for (const auto& row : section.rows) {
      for (const Field& field : row) {
        for (const Control& c : field.controls) {
          if (PlanWindow::TabIndex(c.name) >= 0) fields.push_back(c.name);
        }
      }
    }
  }
  std::sort(fields.begin(), fields.end(), [](const std::string& a, const std::string& b) {
    return PlanWindow::TabIndex(a) < PlanWindow::TabIndex(b);
  });
  return fields;
}

ModelDialog::Outline PlanWindowOutline() {
  ModelDialog::Outline outline(lotdetail::kPlanWindowCaption, Layout());
  outline.tabOrder = TabOrder(outline.layout);
  outline.escapeCloses = false;
  outline.enterEverywhere = true;
  outline.selectAgain = false;
  return outline;
}

}  // namespace

PlanWindowDialog::PlanWindowDialog(std::shared_ptr<PlanWindow> window, QWidget* parent)
    : ModelDialog(window, PlanWindowOutline(), parent), window_(std::move(window)) {
  Text5 = Widget<QComboBox>("Text5");
  NList = Widget<QListWidget>("NList");
  Command1 = Widget<QPushButton>("Command1");
  Command2 = Widget<QPushButton>("Command2");
  Command3 = Widget<QPushButton>("Command3");
}

QLineEdit* PlanWindowDialog::Box(const std::string& name) const {
  return Widget<QLineEdit>(name);
}

void PlanWindowDialog::EnterKey(const std::string& control) {
  if (!control.empty()) window_->SetFocus(control);
  window_->KeyEnter();
}

}  // namespace velmora
