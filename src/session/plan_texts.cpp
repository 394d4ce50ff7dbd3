#include "session/plan_texts.h"

#include <algorithm>

#include "common/date_text.h"
#include "common/text.h"
#include "plandata/blank_codes.h"

namespace velmora {
namespace {

std::string Moment(DateTime at) {
  return FormatSlashDate(at.DatePart()) + " " + FormatColonTime(at.TimePart()).substr(0, 5);
}

// "05/14 10:00": within a plan's period the year goes without saying.
std::string ShortMoment(DateTime at) {
  return Moment(at).substr(5);
}

std::string RowName(const PlanEntry& plan) {
  if (IsBlank(plan.MachineCode)) return "未計画";
  return Trim(plan.MachineCode);
}

// The row's caption as the chart shows it, on one line.
std::string RowCaption(const PlanData& data, const PlanEntry& plan) {
  for (int r = 1; r <= data.RowCount && !IsBlank(plan.MachineCode); ++r) {
    if (data.RowCode[static_cast<std::size_t>(r)] != plan.MachineCode) continue;
    std::string caption = data.RowCaption[static_cast<std::size_t>(r)];
    for (char& c : caption) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    return caption;
  }
  return RowName(plan);
}

std::string State(const PlanEntry& plan) {
  std::vector<std::string> states;
  states.push_back(plan.IsConfirmed() ? "確定" : "仮");
  if (plan.IsLocked()) states.push_back("固定");
  if (plan.IsEndFixed()) states.push_back("終了固定");
  if (plan.Changed == 1) states.push_back("未保存");
  std::string text;
  for (const std::string& s : states) text += (text.empty() ? "" : "・") + s;
  return text;
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
      text += RowName(p) + "  " + ShortMoment(p.Start()) + "～" + ShortMoment(p.End());
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
  return "手配番号: " + std::to_string(p.OrderNo) + "\n品名: " + Trim(p.ItemCode) + " " +
         Trim(p.ModelName) + "\n工程: " + Trim(p.ProcessName) + "\n機械: " + RowCaption(data, p) +
         "\n開始: " + Moment(p.Start()) + "\n終了: " + Moment(p.End()) +
         "\n納期: " + (p.InitialDueDate.IsZero() ? "なし" : FormatSlashDate(p.InitialDueDate)) +
         "\n数量: " + std::to_string(p.OrderQty) + "\n状態: " + State(p);
}

std::string DropTip(const chart::DropPreview& preview) {
  if (!preview.Visible) return "";
  return "開始: " + Moment(preview.Start) + "\n終了: " + Moment(preview.End);
}

}  // namespace velmora
