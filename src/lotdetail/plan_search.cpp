#include "lotdetail/plan_search.h"

#include "common/format.h"
#include "common/questions.h"
#include "common/text.h"

namespace velmora::lotdetail {
namespace {

// The original form's control names, which scripts written for it still use.
constexpr ControlAlias kAliases[] = {
    {"Command", 1, "choose"},
};

bool Contains(const std::string& text, std::string_view part) {
  return part.empty() || text.find(part) != std::string::npos;
}

}  // namespace

std::vector<PlanIdx> FindPlans(const PlanData& data, std::string_view code, std::string_view name) {
  std::vector<PlanIdx> hits;
  for (std::int32_t i = 0; i <= data.PlanCount(); ++i) {
    const PlanEntry& e = data.PlanTable[static_cast<std::size_t>(i)];
    if (Contains(e.ModelName, name) && Contains(e.PlanItemCode, code)) hits.emplace_back(i);
  }
  return hits;
}

std::string ChooserLine(const PlanEntry& e) {
  return std::to_string(e.OrderNo) + " " + FormatDateTime(e.EndDate, "mm/dd") + " " +
         e.MachineCode + " " + Trim(e.ProcessName) + " " + Trim(e.ModelName) + " " +
         std::to_string(e.OrderQty) + (e.Hidden == 1 ? kHiddenMark : "");
}

void SelectPlan::Choose() {
  SelectedPlan = ListIndex + 1;
  Unload();
}

void SelectPlan::Unload() {
  if (closed_) return;
  closed_ = true;
  if (Chosen) Chosen(SelectedPlan);
}

void SelectPlan::Enter(std::string_view control) {
  if (control == "choose") {
    Choose();
  } else if (control != "NList") {
    Unknown(control);
  }
}

void SelectPlan::Click(std::string_view control) {
  if (control == "choose") {
    Choose();
  } else if (control != "NList") {
    Unknown(control);
  }
}

void SelectPlan::DblClick(std::string_view control, int line) {
  if (control != "NList") Unsupported(control);
  Select(control, {line});
  Choose();
}

void SelectPlan::Select(std::string_view control, const std::vector<int>& lines) {
  if (control != "NList") Unsupported(control);
  if (lines.size() != 1 || lines[0] >= static_cast<int>(NList.size())) {
    throw ControlError("NList に " + std::to_string(lines.empty() ? 0 : lines[0]) +
                       " 行目はありません");
  }
  ListIndex = lines[0];
}

ControlState SelectPlan::State(std::string_view control) const {
  ControlState state;
  if (control == "NList") state.Lines = NList;
  return state;
}

std::vector<std::pair<std::string, std::string>> SelectPlan::Show() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t i = 0; i < NList.size(); ++i) {
    out.emplace_back("NList[" + std::to_string(i) + "]", NList[i]);
  }
  out.emplace_back("choose", kChooseCaption);
  return out;
}

void ComKensaku_Click(SearchBoxes& boxes, const PlanData& data, Questions& questions,
                      const std::function<void(BarIdx)>& open,
                      const std::function<void(std::shared_ptr<SelectPlan>)>& choose) {
  if (boxes.KName.empty() && boxes.KCode.empty()) {
    questions.Tell({kEnterSearchTerms});
    return;
  }
  boxes.KCode = FoldNarrowUpper(boxes.KCode);
  boxes.KName = FoldNarrowUpper(boxes.KName);
  const std::vector<PlanIdx> hits = FindPlans(data, boxes.KCode, boxes.KName);
  if (hits.empty()) {
    questions.Tell({kNoPlanFound});
    return;
  }
  if (hits.size() == 1) {
    open(data.Plan(hits[0]).Bar());
    return;
  }
  auto chooser = std::make_shared<SelectPlan>();
  for (PlanIdx p : hits) {
    chooser->NList.push_back(ChooserLine(data.Plan(p)));
    chooser->ItemData.push_back(p);
  }
  // The chooser outlives this call in a window or a script; the bars are read when it closes.
  chooser->Chosen = [&data, hits, open](int chosen) {
    if (chosen != 0) open(data.Plan(hits[static_cast<std::size_t>(chosen - 1)]).Bar());
  };
  choose(chooser);
}

std::span<const ControlAlias> SelectPlan::Aliases() const {
  return kAliases;
}

}  // namespace velmora::lotdetail
