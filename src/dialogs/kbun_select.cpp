#include "dialogs/kbun_select.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace velmora {
namespace {

// The boxes and the list are what the window unloads, however their contents were set.
Control DateBox(const char* name) {
  return Box(name, kTakesEnter | kSelectAll | kSelectOnFocus | kEveryChange);
}

ModelDialog::Outline KBunOutline() {
  ModelDialog::Outline outline(
      "工程分類指定",
      {Grid({{0, 0, Label("工程分類")},
             {0, 1, ListOf(Kind::SelectList, "ComboKBun", {}, 0, 0, kTakesEnter), 3},
             {1, 0, Label("期間")},
             {1, 1, DateBox("strYYMMDD")},
             {1, 2, Label("～")},
             {1, 3, DateBox("endYYMMDD")}}),
       Row({Stretch(), Button("cmdOK", "OK", kNoAutoDefault),
            Button("cmdCancel", "キャンセル", kNoAutoDefault | kCancels)})});
  outline.tabOrder = {"strYYMMDD", "endYYMMDD", "ComboKBun", "cmdOK", "cmdCancel"};
  // Closing would accept a complete selection, so Escape must not.
  outline.escapeCloses = false;
  return outline;
}

}  // namespace

KBunSelect::KBunSelect(db::Connection& connection, std::string commandLine,
                       std::string rememberedCode, DateTime today, Questions& questions,
                       const std::map<std::string, PeriodPrefill>& rememberedPeriods,
                       QWidget* parent)
    : KBunSelect(
          std::make_shared<CategoryWindow>(
              LoadCategorySelection(connection, commandLine, rememberedCode, rememberedPeriods),
              std::move(commandLine), today, questions),
          parent) {}

KBunSelect::KBunSelect(std::shared_ptr<CategoryWindow> window, QWidget* parent)
    : ModelDialog(window, KBunOutline(), parent), window_(std::move(window)) {
  ComboKBun = Widget<QListWidget>("ComboKBun");
  strYYMMDD = Widget<QLineEdit>("strYYMMDD");
  endYYMMDD = Widget<QLineEdit>("endYYMMDD");
  cmdOK = Widget<QPushButton>("cmdOK");
  cmdCancel = Widget<QPushButton>("cmdCancel");
}

void KBunSelect::showEvent(QShowEvent* event) {
  ModelDialog::showEvent(event);
  if (activated_) return;
  activated_ = true;
  // Once the dialog's event loop is running, so that accepting at once ends it cleanly.
  QTimer::singleShot(0, this, [this] { Act([this] { window_->Activate(); }); });
}

}  // namespace velmora
