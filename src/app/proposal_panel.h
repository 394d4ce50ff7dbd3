#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "levelling/proposal.h"
#include "session/edit_session.h"
#include "session/plan_texts.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace velmora {

inline constexpr const char* kProposalTabCaption = "自動調整";
inline constexpr const char* kNoProposal = "自動調整の提案はありません（編集 > 自動調整...）";
inline constexpr const char* kProposalApplied = "提案を適用しました。「元に戻す」で戻せます。";
inline constexpr const char* kProposalDropped = "提案を取り消しました。";
inline constexpr const char* kNothingToMove = "移動できる手配はありませんでした。";
inline constexpr const char* kProposalCutShort = "時間内に全ての改善は試せませんでした。";

// One line of the moves list: the lot, the machine, the start and the minutes late, each as
// before → after; and the plan a click on it shows.
struct MoveLine {
  std::array<std::string, 4> cells;
  PlanIdx plan;

  bool operator==(const MoveLine&) const = default;
};

MoveLine MoveLineOf(const PlanData& data, const levelling::Move& move);
// "重複  300632 ⇔ 300645  A01  05/14 08:00"; with a step that is not loaded:
// "工程順  300632 ⇔ 300700 (未読込)  A01  05/14 08:00".
PlanLine StuckLine(const PlanData& data, const levelling::StuckClash& clash);
// The totals as the tab shows them: caption, before → after.
std::vector<std::array<std::string, 2>> TotalsLines(const levelling::Proposal& proposal);

// The side panel's levelling tab: the shown proposal's totals before → after, the clashes it
// had to leave, and its moves a line each; a click on a line shows the plan's bar. 適用 keeps
// the proposal and 取消 drops it; then the tab says there is none.
class ProposalPanel : public QWidget {
  Q_OBJECT

 public:
  ProposalPanel(EditSession& session, QWidget* parent);

  // Shows the session's proposal, or that there is none; the lists are left alone while their
  // lines stay the same, so a selection and the scroll position stay.
  void Refresh();
  // A proposal was computed: when it moved nothing the tab says so, with its totals.
  void Computed(const levelling::Proposal& proposal);

  QLabel* Note() const { return note_; }
  QTreeWidget* Moves() const { return moves_; }
  QListWidget* Stuck() const { return stuck_; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* DropButton() const { return drop_; }
  // The totals' caption and value labels, a row each.
  const std::vector<std::array<QLabel*, 2>>& Totals() const { return totals_; }

 signals:
  // A line was chosen: the chart scrolled to its bar and outlined it.
  void revealed();
  // The proposal was applied or dropped: the plans changed.
  void changed();

 private:
  void BuildLayout();
  void ConnectControls();
  void ShowProposal(const levelling::Proposal* proposal);
  void ShowMoves(std::vector<MoveLine> lines);
  void ShowStuck(std::vector<PlanLine> lines);
  void Finish(bool apply);

  EditSession& session_;
  QLabel* note_;
  std::vector<std::array<QLabel*, 2>> totals_;
  QLabel* stuckCaption_;
  QListWidget* stuck_;
  QTreeWidget* moves_;
  QPushButton* apply_;
  QPushButton* drop_;
  std::string lastNote_ = kNoProposal;
  std::vector<MoveLine> moveLines_;
  std::vector<PlanLine> stuckLines_;
};

}  // namespace velmora
