#include "saving/mold_check.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/questions.h"
#include "common/text.h"
#include "plandata/blank_codes.h"
#include "plandata/clashes.h"

namespace velmora::saving {
namespace {

bool IsFixed(const PlanEntry& p) {
  return p.IsFixed();
}

// Entries by mold number, gathered once per save: a changed entry's check then looks at the
// entries sharing its mold, not at the whole table. Molds do not change during a save.
class MoldIndex {
 public:
  explicit MoldIndex(const PlanData& data) {
    for (int j = 1; j <= data.PlanCount(); ++j)
      byMold_[data.PlanTable[static_cast<std::size_t>(j)].MoldNo].push_back(j);
  }
  const std::vector<int>& Sharing(const std::string& mold) const { return byMold_.at(mold); }

 private:
  std::unordered_map<std::string, std::vector<int>> byMold_;
};

// The first entry that uses entry i's mold at an overlapping time on some machine, after `from`;
// 0 when none does.
int NextMoldConflict(const PlanData& data, const MoldIndex& molds, int i, int from) {
  const PlanEntry& p = data.PlanTable[static_cast<std::size_t>(i)];
  const std::vector<int>& sharing = molds.Sharing(p.MoldNo);
  for (auto it = std::lower_bound(sharing.begin(), sharing.end(), from); it != sharing.end();
       ++it) {
    const int j = *it;
    const PlanEntry& other = data.PlanTable[static_cast<std::size_t>(j)];
    if (j != i && SharesMoldWith(p, other)) return j;
  }
  return 0;
}

// Takes a plan off its machine: the mold conflict was not accepted. What moved is changed, so
// the next save writes it.
void Unassign(SaveContext& ctx, EntriesBefore& before, int i) {
  PlanEntry& p = ctx.data.PlanTable[static_cast<std::size_t>(i)];
  if (IsFixed(p)) return;
  before.Keep(ctx.data, i);
  p.DestinationCode.clear();
  p.MachineCode = kNoMachine;
  p.Changed = 1;
  ctx.data.Edits.MarkEdited();
  chart::LayoutBar(ctx.data, ctx.model, PlanIdx{i}, 0);
}

}  // namespace

int AskMoldConflicts(SaveContext& ctx, EntriesBefore& before) {
  const PlanData& data = ctx.data;
  const MoldIndex molds(data);
  for (int i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& entry = data.PlanTable[static_cast<std::size_t>(i)];
    if (entry.Changed == 0 || Trim(entry.MoldNo).empty()) continue;
    for (int j = NextMoldConflict(data, molds, i, 1); j != 0;
         j = NextMoldConflict(data, molds, i, j + 1)) {
      const Answer answer =
          ctx.questions.Ask({kMoldConflictQuestion, Answer::No, kMoldConflictTitle});
      if (answer == Answer::Yes) continue;
      Unassign(ctx, before, i);
      Unassign(ctx, before, j);
      return i;
    }
  }
  return data.PlanCount() + 1;
}

}  // namespace velmora::saving
