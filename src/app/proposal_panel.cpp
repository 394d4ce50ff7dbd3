#include "app/proposal_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/text.h"
#include "plandata/plan_fields.h"

namespace velmora {
namespace {

// "05/14 10:00": within a plan's period the year goes without saying.
std::string ShortMoment(DateTime at) {
  return MomentText(at).substr(5);
}

std::string BeforeAfter(const std::string& before, const std::string& after) {
  return before + " → " + after;
}

std::string BeforeAfter(std::int64_t before, std::int64_t after) {
  return BeforeAfter(std::to_string(before), std::to_string(after));
}

const char* KindCaption(const std::string& kind) {
  if (kind == "overlap") return "重複";
  if (kind == "mold") return "金型";
  return "工程順";
}

constexpr int kTotalsRows = 5;  // the lines of TotalsLines

}  // namespace

MoveLine MoveLineOf(const PlanData& data, const levelling::Move& move) {
  const PlanEntry& p = data.Plan(move.plan);
  const std::string before = Trim(move.machineBefore);
  const std::string after = Trim(move.machineAfter);
  return {{std::to_string(p.OrderNo) + "  " + Trim(p.ItemCode),
           before == after ? before : BeforeAfter(before, after),
           BeforeAfter(ShortMoment(move.startBefore), ShortMoment(move.startAfter)),
           BeforeAfter(move.lateMinutesBefore, move.lateMinutesAfter)},
          move.plan};
}

PlanLine StuckLine(const PlanData& data, const levelling::StuckClash& clash) {
  const PlanEntry& first = data.Plan(clash.first);
  std::string text = std::string(KindCaption(clash.kind)) + "  " + std::to_string(first.OrderNo);
  std::vector<PlanIdx> plans{clash.first};
  if (clash.second.value != 0) {
    text += " ⇔ " + std::to_string(data.Plan(clash.second).OrderNo);
    plans.push_back(clash.second);
  } else {
    text += " ⇔ " + std::to_string(clash.outsideOrderNo) + " (未読込)";
  }
  text += "  " + RowNameOf(first) + "  " + ShortMoment(first.Start());
  return {std::move(text), std::move(plans)};
}

std::vector<std::array<std::string, 2>> TotalsLines(const levelling::Proposal& proposal) {
  const levelling::Totals& b = proposal.before;
  const levelling::Totals& a = proposal.after;
  return {{"衝突", BeforeAfter(b.clashes, a.clashes)},
          {"　うち他の工程順", BeforeAfter(b.unloadedSteps, a.unloadedSteps)},
          {"納期遅れ件数", BeforeAfter(b.latePlans, a.latePlans)},
          {"遅れ分", BeforeAfter(b.lateMinutes, a.lateMinutes)},
          {"移動件数", BeforeAfter(b.movedPlans, a.movedPlans)}};
}

ProposalPanel::ProposalPanel(EditSession& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      note_(new QLabel(this)),
      stuckCaption_(new QLabel(this)),
      stuck_(new QListWidget(this)),
      moves_(new QTreeWidget(this)),
      apply_(new QPushButton("適用", this)),
      drop_(new QPushButton("取消", this)) {
  setObjectName("ProposalPanel");
  BuildLayout();
  ConnectControls();
  Refresh();
}

void ProposalPanel::BuildLayout() {
  auto* column = new QVBoxLayout(this);
  note_->setWordWrap(true);
  column->addWidget(note_);
  auto* grid = new QGridLayout();
  grid->setHorizontalSpacing(16);
  for (int row = 0; row < kTotalsRows; ++row) {
    std::array<QLabel*, 2> labels{new QLabel(this), new QLabel(this)};
    // A narrow panel wraps the totals instead of widening the window past the screen.
    for (QLabel* label : labels) label->setWordWrap(true);
    grid->addWidget(labels[0], row, 0);
    grid->addWidget(labels[1], row, 1);
    totals_.push_back(labels);
  }
  grid->setColumnStretch(2, 1);
  column->addLayout(grid);
  stuckCaption_->setToolTip("動かせない手配 (固定、実績あり、仮の手配、日付の範囲外) どうしの競合");
  column->addWidget(stuckCaption_);
  // A few lines: the clashes tab lists them all.
  stuck_->setMaximumHeight(5 * stuck_->fontMetrics().height() + 8);
  column->addWidget(stuck_);
  moves_->setColumnCount(4);
  moves_->setHeaderLabels({"手配番号  品名", "機械", "開始", "遅れ (分)"});
  moves_->setRootIsDecorated(false);
  moves_->setUniformRowHeights(true);  // hundreds of moves stay quick
  moves_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  moves_->header()->setStretchLastSection(false);
  column->addWidget(moves_, 1);
  // Without a proposal the note stays at the top and the buttons at the foot.
  column->addStretch(0);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(apply_);
  buttons->addWidget(drop_);
  column->addLayout(buttons);
}

void ProposalPanel::ConnectControls() {
  connect(apply_, &QPushButton::clicked, this, [this] { Finish(true); });
  connect(drop_, &QPushButton::clicked, this, [this] { Finish(false); });
  const auto choose = [this](const std::vector<PlanIdx>& plans) {
    if (plans.empty()) return;
    session_.Reveal(plans);
    emit revealed();
  };
  connect(moves_, &QTreeWidget::itemClicked, this, [this, choose](QTreeWidgetItem* item) {
    const int row = moves_->indexOfTopLevelItem(item);
    if (row >= 0 && row < static_cast<int>(moveLines_.size())) {
      choose({moveLines_[static_cast<std::size_t>(row)].plan});
    }
  });
  connect(stuck_, &QListWidget::itemClicked, this, [this, choose](QListWidgetItem* item) {
    const int row = stuck_->row(item);
    if (row >= 0 && row < static_cast<int>(stuckLines_.size())) {
      choose(stuckLines_[static_cast<std::size_t>(row)].plans);
    }
  });
}

void ProposalPanel::Refresh() {
  ShowProposal(session_.ShownProposal());
}

void ProposalPanel::Computed(const levelling::Proposal& proposal) {
  if (session_.ShownProposal() == nullptr) {
    const levelling::Totals& t = proposal.before;
    lastNote_ = std::string(kNothingToMove) + "（衝突 " + std::to_string(t.clashes) +
                "、納期遅れ " + std::to_string(t.latePlans) + " 件）";
  }
  Refresh();
}

void ProposalPanel::ShowProposal(const levelling::Proposal* proposal) {
  std::string note = lastNote_;
  if (proposal != nullptr) {
    note = "提案を表示しています。破線の枠が元の位置です。";
    if (proposal->cutByBudget) note += "\n" + std::string(kProposalCutShort);
  }
  note_->setText(QString::fromStdString(note));
  const std::vector<std::array<std::string, 2>> totals =
      proposal != nullptr ? TotalsLines(*proposal) : std::vector<std::array<std::string, 2>>{};
  for (std::size_t row = 0; row < totals_.size(); ++row) {
    for (std::size_t k = 0; k < 2; ++k) {
      totals_[row][k]->setText(row < totals.size() ? QString::fromStdString(totals[row][k]) : "");
      totals_[row][k]->setVisible(row < totals.size());
    }
  }
  std::vector<MoveLine> moves;
  std::vector<PlanLine> stuck;
  if (proposal != nullptr) {
    for (const levelling::Move& move : proposal->moves) {
      moves.push_back(MoveLineOf(session_.Data(), move));
    }
    for (const levelling::StuckClash& clash : proposal->stuck) {
      stuck.push_back(StuckLine(session_.Data(), clash));
    }
  }
  ShowMoves(std::move(moves));
  ShowStuck(std::move(stuck));
  moves_->setVisible(proposal != nullptr);
  auto* column = static_cast<QVBoxLayout*>(layout());
  const int movesAt = column->indexOf(moves_);
  column->setStretch(movesAt, proposal != nullptr ? 1 : 0);
  column->setStretch(movesAt + 1, proposal != nullptr ? 0 : 1);
  apply_->setEnabled(proposal != nullptr);
  drop_->setEnabled(proposal != nullptr);
}

void ProposalPanel::ShowMoves(std::vector<MoveLine> lines) {
  if (lines == moveLines_) return;
  moves_->clear();
  QList<QTreeWidgetItem*> items;
  for (const MoveLine& line : lines) {
    QStringList cells;
    QString tip;  // the whole line, for a panel too narrow for its columns
    for (std::size_t k = 0; k < line.cells.size(); ++k) {
      cells << QString::fromStdString(line.cells[k]);
      if (k > 0) tip += "\n";
      tip += moves_->headerItem()->text(static_cast<int>(k)) + ": " + cells.back();
    }
    auto* item = new QTreeWidgetItem(cells);
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    for (int k = 0; k < cells.size(); ++k) item->setToolTip(k, tip);
    items << item;
  }
  moves_->addTopLevelItems(items);
  moveLines_ = std::move(lines);
}

void ProposalPanel::ShowStuck(std::vector<PlanLine> lines) {
  stuckCaption_->setText(QString("動かせない競合 (%1)").arg(lines.size()));
  stuckCaption_->setVisible(!lines.empty());
  stuck_->setVisible(!lines.empty());
  const bool same = std::equal(
      lines.begin(), lines.end(), stuckLines_.begin(), stuckLines_.end(),
      [](const PlanLine& a, const PlanLine& b) { return a.text == b.text && a.plans == b.plans; });
  if (same) return;
  stuck_->clear();
  for (const PlanLine& line : lines) stuck_->addItem(QString::fromStdString(line.text));
  stuckLines_ = std::move(lines);
}

void ProposalPanel::Finish(bool apply) {
  if (session_.ShownProposal() == nullptr) return;
  if (apply) {
    session_.ApplyProposal();
  } else {
    session_.DropProposal();
  }
  lastNote_ = std::string(apply ? kProposalApplied : kProposalDropped) + "\n" + kNoProposal;
  Refresh();
  emit changed();
}

}  // namespace velmora
