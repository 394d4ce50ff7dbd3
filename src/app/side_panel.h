#pragma once

#include <QDockWidget>
#include <vector>

#include "session/edit_session.h"
#include "session/plan_texts.h"

class QListView;
class QStringListModel;
class QTabWidget;

namespace velmora {

class ProposalPanel;

// The side panel: the clashes of the plan and its unsaved changes, a line each; choosing a line
// shows its bars on the chart. Both lists follow every edit, undo and redo.
class SidePanel : public QDockWidget {
  Q_OBJECT

 public:
  SidePanel(EditSession& session, QWidget* parent);

  // The plans changed: the lists are made again (only while the panel is shown).
  void Refresh();
  // Plans a push took off their machine: the unsaved tab names them in its first line while any
  // of them is still off its machine and unsaved.
  void ShowTakenOff(std::vector<PlanIdx> plans);
  // The width that shows the longest line of either list whole.
  int FittingWidth() const;
  QListView* ClashList() const { return clashView_; }
  QListView* UnsavedList() const { return unsavedView_; }
  QTabWidget* Tabs() const { return tabs_; }
  // The levelling tab; ShowProposal brings the panel and that tab to the front.
  ProposalPanel* Proposal() const { return proposal_; }
  void ShowProposal();

 signals:
  // A line was chosen: the chart scrolled to its bars and outlined them.
  void revealed();

 private:
  void Show(int tab, QStringListModel& model, std::vector<PlanLine> lines);
  void Choose(const std::vector<PlanLine>& lines, int row);

  EditSession& session_;
  QTabWidget* tabs_;
  QListView* clashView_;
  QListView* unsavedView_;
  ProposalPanel* proposal_;
  QStringListModel* clashTexts_;
  QStringListModel* unsavedTexts_;
  std::vector<PlanLine> clashes_;
  std::vector<PlanLine> unsaved_;
  std::vector<PlanIdx> takenOff_;
};

inline constexpr const char* kSidePanelCaption = "一覧";
inline constexpr const char* kClashTabCaption = "競合";
inline constexpr const char* kUnsavedTabCaption = "未保存の変更";

}  // namespace velmora
