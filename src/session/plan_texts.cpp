#include "session/plan_texts.h"

#include <algorithm>

#include "common/text.h"
#include "plandata/plan_fields.h"

namespace velmora {
namespace {

// "05/14 10:00": within a plan's period the year goes without saying.
std::string ShortMoment(DateTime at) {
  return MomentText(at).substr(5);
}

}  // namespace

PlanLine ClashLine(const PlanData& data, const Clash& clash) {
  const std::string kind = clash.kind == Clash::Kind::Overlap ? "重複 " : "金型 ";
  return {kind + clash.where + "  " + std::to_string(data.Plan(clash.first).OrderNo) + " ⇔ " +
              std::to_string(data.Plan(clash.second).OrderNo) + "  " + ShortMoment(clash.start) +
              "～" + ShortMoment(clash.end),
          {clash.first, clash.second}};
}

std::vector<PlanLine> UnsavedLines(const PlanData& data) {
  std::vector<std::pair<std::int32_t, PlanIdx>> changed;
  for (std::int32_t i = 2; i <= data.PlanCount(); ++i) {
    const PlanEntry& p = data.Plan(PlanIdx{i});
    if (p.Changed == 1) changed.emplace_back(p.OrderNo, PlanIdx{i});
  }
  std::sort(changed.begin(), changed.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<PlanLine> lines;
  for (const auto& [number, plan] : changed) {
    const PlanEntry& p = data.Plan(plan);
    std::string text =
        std::to_string(number) + "  " + Trim(p.ItemCode) + "  " + Trim(p.ProcessName) + "  ";
    if (p.InUse > 0) {
      text += RowNameOf(p) + "  " + ShortMoment(p.Start()) + "～" + ShortMoment(p.End());
      lines.push_back({std::move(text), {plan}});
    } else {
      lines.push_back({text + "削除", {}});
    }
  }
  return lines;
}

std::string TakenOffText(const PlanData& data, const std::vector<PlanIdx>& plans) {
  std::string text = "機械から外れました: ";
  for (const PlanIdx plan : plans) {
    if (plan != plans.front()) text += ", ";
    text += std::to_string(data.Plan(plan).OrderNo);
  }
  return text;
}

std::string PlanTip(const PlanData& data, PlanIdx plan) {
  const PlanEntry& p = data.Plan(plan);
  std::string text;
  for (const PlanField* field : TipFields()) {
    if (!text.empty()) text += "\n";
    text += std::string(field->tipLabel) + ": " + field->tip(data, p);
  }
  return text;
}

std::string DropTip(const chart::DropPreview& preview) {
  if (!preview.Visible) return "";
  return "開始: " + MomentText(preview.Start) + "\n終了: " + MomentText(preview.End);
}

}  // namespace velmora
