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
      Form("手配", {{{Label("手配番号"), {F("orderNo")}},
                     {ClickLabel("planNoLabel", "計画番号"), {F("planNo")}},
                     {Label("品名コード"), {F("itemCode")}}},
                    {{Label("工程"), {F("process")}},
                     {Label("順序"), {F("processSeq")}},
                     {Label("金型"), {F("moldNo")}}},
                    {{Label("型番名"), {F("modelName")}, 5}}}),
      Form("日程", {{{Label("開始"), {F("startDate"), F("startTime")}},
                     {Label("終了"), {F("endDate"), F("endTime")}},
                     {Label("初期納期"), {F("initialDueDate")}}},
                    {{Label("機械"), {DropDown("machine")}},
                     {Label("指示先"), {DropDown("destination")}},
                     {Label("固定"), {F("fixedFlag")}}}}),
      Form("数量", {{{Label("手配数"), {F("orderQty")}},
                     {Label("計画数"), {F("planQty")}},
                     {Label("実績数"), {F("receivedQty")}},
                     {Label("最終実績日"), {F("lastResultDate")}}},
                    {{Label("入数"), {F("packQty")}},
                     {Label("取数"), {F("cavities")}},
                     {Label("端数/箱数"), {F("remainder"), F("boxCount")}},
                     {Label("重量"), {F("pieceWeight")}}}}),
      Form("時間", {{{Label("段取"), {F("setupMinutes")}},
                     {Label("サイクル"), {F("cycleSeconds")}},
                     {Label("総時間"), {F("totalMinutes")}},
                     {Label("作業時間"), {F("workingMinutes")}}},
                    {{Label("人員"), {F("workers")}},
                     {Label("型サイクル"), {F("moldCycle")}},
                     {Label("実績時間"), {F("resultMinutes")}}}}),
      // Members are picked for the process split one click each.
      Row({ListOf(Kind::MultiList, "NList", "構成手配 A", 0, 70),
           ListOf(Kind::MultiList, "GList", "構成手配 B", 0, 70)},
          1),
      // The relation lines are long: they take the whole width, in fixed-width columns.
      Alone(ListOf(Kind::List, "JList", "受注・所要計画", 0, 100, kFixedFont)),
      // Enter belongs to the window's navigation: no button is the dialog's default.
      Row({Button("splitProcesses", {}, kNoAutoDefault), Button("splitLot", {}, kNoAutoDefault),
           Button("addProcesses", {}, kNoAutoDefault), Button("showProcesses", {}, kNoAutoDefault),
           Button("changePlan", {}, kNoAutoDefault), Button("hide", {}, kNoAutoDefault), Stretch(),
           Button("finish", {}, kNoAutoDefault)}),
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
  machine = Widget<QComboBox>("machine");
  NList = Widget<QListWidget>("NList");
  finish = Widget<QPushButton>("finish");
  splitProcesses = Widget<QPushButton>("splitProcesses");
  splitLot = Widget<QPushButton>("splitLot");
}

QLineEdit* PlanWindowDialog::Box(const std::string& name) const {
  return Widget<QLineEdit>(name);
}

void PlanWindowDialog::EnterKey(const std::string& control) {
  if (!control.empty()) window_->SetFocus(control);
  window_->KeyEnter();
}

}  // namespace velmora
