#include "app/side_panel.h"

#include <QFontMetrics>
#include <QListView>
#include <QScrollBar>
#include <QStringListModel>
#include <QTabWidget>
#include <algorithm>

#include "app/proposal_panel.h"
#include "plandata/blank_codes.h"
#include "plandata/plan_fields.h"

namespace velmora {
namespace {

QListView* ListView(QStringListModel* model, QWidget* parent) {
  auto* view = new QListView(parent);
  view->setModel(model);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setUniformItemSizes(true);  // thousands of lines stay quick
  return view;
}

// "工程順 M01  300632 → 300645  05/14 10:00～05/14 12:00": the lower step's row, the lower and
// the upper step, and the time from the upper step's start to the lower step's end.
PlanLine StepOrderLine(const PlanData& data, const Clash& clash) {
  const auto moment = [](DateTime at) { return MomentText(at).substr(5); };
  const std::string where = clash.where.empty() ? "未計画" : clash.where;
  return {"工程順 " + where + "  " + std::to_string(data.Plan(clash.first).OrderNo) + " → " +
              std::to_string(data.Plan(clash.second).OrderNo) + "  " + moment(clash.start) + "～" +
              moment(clash.end),
          {clash.first, clash.second}};
}

}  // namespace

SidePanel::SidePanel(EditSession& session, QWidget* parent)
    : QDockWidget(kSidePanelCaption, parent),
      session_(session),
      tabs_(new QTabWidget(this)),
      clashTexts_(new QStringListModel(this)),
      unsavedTexts_(new QStringListModel(this)) {
  setObjectName("SidePanel");
  clashView_ = ListView(clashTexts_, tabs_);
  unsavedView_ = ListView(unsavedTexts_, tabs_);
  tabs_->addTab(clashView_, kClashTabCaption);
  tabs_->addTab(unsavedView_, kUnsavedTabCaption);
  proposal_ = new ProposalPanel(session_, tabs_);
  tabs_->addTab(proposal_, kProposalTabCaption);
  connect(proposal_, &ProposalPanel::revealed, this, &SidePanel::revealed);
  setWidget(tabs_);
  // A click or Enter on a line chooses it.
  for (auto [view, lines] :
       {std::pair{clashView_, &clashes_}, std::pair{unsavedView_, &unsaved_}}) {
    auto choose = [this, lines = lines](const QModelIndex& index) { Choose(*lines, index.row()); };
    connect(view, &QListView::activated, this, choose);
    connect(view, &QListView::clicked, this, choose);
  }
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool shown) {
    if (shown) Refresh();
  });
}

void SidePanel::Refresh() {
  if (!isVisible()) return;
  std::vector<PlanLine> clashes;
  for (const Clash& clash : session_.Clashes()) {
    clashes.push_back(clash.kind == Clash::Kind::Order ? StepOrderLine(session_.Data(), clash)
                                                       : ClashLine(session_.Data(), clash));
  }
  Show(0, *clashTexts_, std::move(clashes));
  const PlanData& data = session_.Data();
  std::erase_if(takenOff_, [&data](PlanIdx plan) {
    const PlanEntry& p = data.Plan(plan);
    return p.Changed == 0 || p.MachineCode != kNoMachine;
  });
  std::vector<PlanLine> unsaved = UnsavedLines(data);
  if (!takenOff_.empty())
    unsaved.insert(unsaved.begin(), {TakenOffText(data, takenOff_), takenOff_});
  Show(1, *unsavedTexts_, std::move(unsaved));
  proposal_->Refresh();
}

void SidePanel::ShowProposal() {
  show();
  raise();
  tabs_->setCurrentWidget(proposal_);
  Refresh();
}

int SidePanel::FittingWidth() const {
  const QFontMetrics metrics(clashView_->font());
  int widest = 0;
  for (const std::vector<PlanLine>* lines : {&clashes_, &unsaved_}) {
    for (const PlanLine& line : *lines) {
      widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line.text)));
    }
  }
  // The list's frame and item margins, its scroll bar and the dock's own frame.
  const int around =
      2 * clashView_->frameWidth() + 8 + clashView_->verticalScrollBar()->sizeHint().width() + 16;
  return widest + around;
}

void SidePanel::ShowTakenOff(std::vector<PlanIdx> plans) {
  takenOff_ = std::move(plans);
  Refresh();
}

// A list's lines and its tab's count; the view is left alone when nothing changed, so its
// selection and scroll position stay.
void SidePanel::Show(int tab, QStringListModel& model, std::vector<PlanLine> lines) {
  std::vector<PlanLine>& shown = tab == 0 ? clashes_ : unsaved_;
  const QString caption =
      QString("%1 (%2)").arg(tab == 0 ? kClashTabCaption : kUnsavedTabCaption).arg(lines.size());
  tabs_->setTabText(tab, caption);
  const bool same =
      lines.size() == shown.size() && std::equal(lines.begin(), lines.end(), shown.begin(),
                                                 [](const PlanLine& a, const PlanLine& b) {
                                                   return a.text == b.text && a.plans == b.plans;
                                                 });
  if (same) return;
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const PlanLine& line : lines) texts.push_back(QString::fromStdString(line.text));
  model.setStringList(texts);
  shown = std::move(lines);
}

void SidePanel::Choose(const std::vector<PlanLine>& lines, int row) {
  if (row < 0 || row >= static_cast<int>(lines.size())) return;
  session_.Reveal(lines[static_cast<std::size_t>(row)].plans);
  emit revealed();
}

}  // namespace velmora
