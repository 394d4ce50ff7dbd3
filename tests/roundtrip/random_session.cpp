#include "roundtrip/random_session.h"

#include "common/date_text.h"
#include "common/numeric.h"
#include "common/text.h"
#include "editing/day_calendar.h"
#include "lotdetail/lot_split.h"
#include "lotdetail/plan_change.h"
#include "lotdetail/plan_window.h"
#include "lotdetail/process_dialogs.h"

namespace velmora::test {
namespace {

template <typename T>
bool Is(DialogModel* dialog) {
  return dynamic_cast<T*>(dialog) != nullptr;
}

}  // namespace

RandomSession::RandomSession(std::uint64_t seed, const EditSession& session, ScriptRunner& runner)
    : random_(seed), session_(session), data_(session.Data()), runner_(runner) {}

int RandomSession::Pick(int below) {
  return below <= 1 ? 0 : static_cast<int>(random_() % static_cast<std::uint64_t>(below));
}

bool RandomSession::Chance(double p) {
  return std::uniform_real_distribution<double>(0, 1)(random_) < p;
}

velmora::Answer RandomSession::Answer() {
  return Chance(0.6) ? velmora::Answer::Yes : velmora::Answer::No;
}

std::string RandomSession::OrderOfALivePlan() {
  std::vector<int> live;
  for (int i = 2; i <= data_.PlanCount(); ++i) {
    const PlanEntry& e = data_.PlanTable[static_cast<std::size_t>(i)];
    if (e.InUse > 0 && e.Hidden == 0 && e.OrderNo != 0) live.push_back(i);
  }
  if (live.empty()) return "";
  return std::to_string(data_.PlanTable[static_cast<std::size_t>(live[Pick(live.size())])].OrderNo);
}

std::string RandomSession::MergePartnerOf(const std::string& order) {
  const PlanEntry* source = nullptr;
  for (int i = 2; i <= data_.PlanCount() && source == nullptr; ++i) {
    const PlanEntry& e = data_.PlanTable[static_cast<std::size_t>(i)];
    if (e.InUse > 0 && std::to_string(e.OrderNo) == order) source = &e;
  }
  std::vector<std::int32_t> partners;
  for (int i = 2; source != nullptr && i <= data_.PlanCount(); ++i) {
    const PlanEntry& e = data_.PlanTable[static_cast<std::size_t>(i)];
    if (&e != source && e.InUse > 0 && e.Hidden == 0 && e.OrderNo != 0 &&
        e.PlanNoText == source->PlanNoText && e.ReceivedQty == 0) {
      partners.push_back(e.OrderNo);
    }
  }
  if (partners.empty()) return "";
  return std::to_string(partners[static_cast<std::size_t>(Pick(partners.size()))]);
}

std::string RandomSession::RowWord() {
  const int roll = Pick(100);
  if (roll < 8) return "unplanned";
  if (roll < 11) return "below";
  std::vector<std::string> codes;
  const int first = roll < 75 ? 2 : data_.MachineRowCount + 1;
  const int last = roll < 75 ? data_.MachineRowCount : data_.RowCount;
  for (int r = first; r <= last; ++r) {
    const std::string code = Trim(data_.RowCode[static_cast<std::size_t>(r)]);
    if (!code.empty()) codes.push_back(code);
  }
  return codes.empty() ? "unplanned" : codes[static_cast<std::size_t>(Pick(codes.size()))];
}

std::string RandomSession::DateInPeriod(int spread) {
  const int days = static_cast<int>((data_.PeriodEndDate() - data_.PeriodStartDate()).Days());
  return FormatSlashDate(data_.PeriodStartDate().AddDays(Pick(days + 1 + 2 * spread) - spread));
}

std::string RandomSession::Clock() {
  static const int kMinutes[] = {0, 0, 15, 30, 45, 7};
  const int hour = Chance(0.8) ? 8 + Pick(10) : Pick(24);
  return std::to_string(hour) + ":" + std::to_string(kMinutes[Pick(6)]);
}

std::string RandomSession::Shown(const std::string& control) const {
  for (const auto& [name, text] : runner_.OpenDialog()->Show()) {
    if (name == control) return text;
  }
  return "";
}

std::vector<std::string> RandomSession::Lines(const std::string& list) const {
  std::vector<std::string> lines;
  for (const auto& [name, text] : runner_.OpenDialog()->Show()) {
    if (name.rfind(list + "[", 0) == 0) lines.push_back(text);
  }
  return lines;
}

bool RandomSession::Usable(const std::string& button) const {
  const std::string caption = Shown(button);
  return !caption.empty() && caption.find("(非表示)") == std::string::npos &&
         caption.find("(使用不可)") == std::string::npos;
}

std::vector<std::string> RandomSession::Next() {
  DialogModel* dialog = runner_.OpenDialog();
  if (dialog == nullptr) {
    actionsIn_.clear();
    return ChartGesture();
  }
  actionsInDialog_ = ++actionsIn_[dialog];
  if (Is<lotdetail::PlanWindow>(dialog)) return LotWindowAction();
  if (Is<lotdetail::BunWindow>(dialog)) return LotSplitAction();
  if (Is<editing::LinePlanWindow>(dialog)) return DayCalendarAction();
  if (Is<lotdetail::AddPlan>(dialog) || Is<lotdetail::ShowPlan>(dialog)) return ChainAction();
  if (Is<lotdetail::PlanChange>(dialog)) return PlanChangeAction();
  return {"close"};
}

std::vector<std::string> RandomSession::CloseDialog() {
  DialogModel* dialog = runner_.OpenDialog();
  if (dialog == nullptr) return {};
  const int tries = ++actionsIn_[dialog];
  if (Is<lotdetail::PlanWindow>(dialog) && tries > 20 && openedWith_.size() == 3) {
    // A close refused again and again: the lot as it was opened, then closed.
    return {"type startDate " + openedWith_[0], "type startTime " + openedWith_[1],
            "type totalMinutes " + openedWith_[2], "close"};
  }
  return {"close"};
}

std::vector<std::string> RandomSession::ChartGesture() {
  const std::string order = OrderOfALivePlan();
  const int roll = Pick(100);
  if (roll < 30 && !order.empty()) {
    return {"drag " + order + " to " + RowWord() + " at " + DateInPeriod(3) + " " + Clock()};
  }
  if (roll < 38 && !order.empty()) {
    const std::string other = Chance(0.8) ? MergePartnerOf(order) : OrderOfALivePlan();
    if (!other.empty() && other != order) return {"drag " + order + " onto " + other};
  }
  if (roll < 60 && !order.empty()) {
    openedWith_.clear();
    return {"open " + order};
  }
  if (roll < 65) {
    std::string row = RowWord();
    if (row == "below") row = "unplanned";
    return {"expand " + row};
  }
  if (roll < 78 && data_.MachineRowCount >= 2) {
    const int r = 2 + Pick(data_.MachineRowCount - 1);
    return {"calendar " + Trim(data_.RowCode[static_cast<std::size_t>(r)]) + " " + DateInPeriod(1)};
  }
  if (roll < 90 && session_.CanUndo()) return {"undo"};
  if (roll < 95 && session_.CanRedo()) return {"redo"};
  return {"mode " + std::to_string(1 + Pick(4))};
}

std::vector<std::string> RandomSession::LotWindowAction() {
  if (openedWith_.empty())
    openedWith_ = {Shown("startDate"), Shown("startTime"), Shown("totalMinutes")};
  if (actionsInDialog_ > 8 || Chance(0.12)) return {Chance(0.7) ? "click finish" : "close"};
  if (Lines("NList").size() >= 2 && Usable("splitProcesses") && Chance(0.25)) {
    return {"select NList " + std::to_string(Pick(Lines("NList").size())), "click splitProcesses"};
  }
  const bool enter = Chance(0.7);
  auto typed = [&](const std::string& field, const std::string& text) {
    std::vector<std::string> lines{"type " + field + " " + text};
    if (enter) lines.push_back("enter " + field);
    return lines;
  };
  const int qty = static_cast<int>(Val(Shown("orderQty")));
  switch (Pick(17)) {
    case 0:
      return typed("orderQty", Chance(0.85) ? std::to_string(std::max(0, qty + Pick(400) - 150))
                                            : (Chance(0.5) ? "-5" : "abc"));
    case 1:
      return typed("setupMinutes", Chance(0.85) ? std::to_string(Pick(120)) : "40000");
    case 2:
      return typed("cycleSeconds", Chance(0.8)   ? std::to_string(1 + Pick(60))
                                   : Chance(0.5) ? "1e308"
                                                 : "-2");
    case 3:
      return typed("totalMinutes", Chance(0.85) ? std::to_string(Pick(3000)) : "-1");
    case 4:
      return typed("startDate", Chance(0.85) ? DateInPeriod(2) : "2024/02/30");
    case 5:
      return typed("startTime", Chance(0.9) ? Clock() : "25:00");
    case 6:
      return typed("endTime", Chance(0.9) ? Clock() : "noon");
    case 7:
      return typed("endDate", Chance(0.85) ? DateInPeriod(2) : "0000/00/00");
    case 8: {
      static const char* kFlags[] = {"0", "1", "2", "0", "あ", "9"};
      return typed("fixedFlag", kFlags[Pick(6)]);
    }
    case 9:
      return typed("workers", Chance(0.9) ? std::to_string(Pick(5)) : "-3");
    case 10:
      return typed("initialDueDate", Chance(0.8) ? DateInPeriod(10) : "");
    case 11: {
      const auto list = Lines("machine");
      if (!list.empty()) return {"select machine " + std::to_string(Pick(list.size()))};
      return {"enter startDate"};
    }
    case 12: {
      const auto list = Lines("destination");
      if (!list.empty()) return {"select destination " + std::to_string(Pick(list.size()))};
      return {"enter startDate"};
    }
    case 13:
      if (Usable("splitLot")) return {"click splitLot"};
      return {"enter setupMinutes"};
    case 14: {
      const auto inner = Lines("NList");
      if (inner.size() >= 2 && Usable("splitProcesses")) {
        return {"select NList " + std::to_string(Pick(inner.size())), "click splitProcesses"};
      }
      if (Usable("addProcesses")) return {"click addProcesses"};
      return {"enter totalMinutes"};
    }
    case 15:
      if (Usable("changePlan")) return {"click changePlan"};
      if (Usable("showProcesses")) return {"click showProcesses"};
      return {"enter startTime"};
    default:
      if (Chance(0.3)) return {"click hide"};
      return {"enter orderQty"};
  }
}

std::vector<std::string> RandomSession::LotSplitAction() {
  if (actionsInDialog_ > 6 || Chance(0.15)) return {Chance(0.2) ? "click cancel" : "close"};
  const auto inner = Lines("NList");
  const auto outer = Lines("GList");
  std::vector<std::string> lines;
  auto count = [&](const char* list, const std::vector<std::string>& members) {
    const int line = Pick(members.size());
    const int remaining = lotdetail::LineRemaining(members[static_cast<std::size_t>(line)]);
    const int n = Chance(0.2) ? remaining : Pick(std::max(1, remaining));
    lines.push_back(std::string("select ") + list + " " + std::to_string(line));
    lines.push_back("type splitCount " + std::to_string(n));
    lines.push_back("enter splitCount");
  };
  if (!inner.empty()) count("NList", inner);
  if (!outer.empty()) count("GList", outer);
  if (Chance(0.5)) lines.push_back("click split");
  return lines;
}

std::vector<std::string> RandomSession::DayCalendarAction() {
  if (actionsInDialog_ > 3) return {"close"};
  static const std::vector<std::vector<std::string>> kDays = {
      {"08:00", "12:00", "13:00", "17:00", "", "", "", ""},
      {"08:00", "17:00", "", "", "", "", "", ""},
      {"", "", "", "", "", "", "", ""},
      {"08:00", "10:00", "10:30", "12:00", "13:00", "15:00", "15:30", "17:00"},
      {"08:00", "17:00", "18:00", "23:30", "00:30", "05:00", "", ""},
      {"06:00", "14:00", "14:00", "22:00", "", "", "", ""},
      {"11:00", "17:00", "", "", "", "", "", ""},  // refused: first shift after 10:00
      {"", "", "08:00", "17:00", "", "", "", ""},  // refused: a gap
  };
  static const char* kMinutes[] = {"480", "420", "0", "510", "900", "960", "360", "30"};
  const int day = Pick(static_cast<int>(kDays.size()));
  std::vector<std::string> lines;
  for (int i = 0; i < 8; ++i) {
    const std::string& box = kDays[static_cast<std::size_t>(day)][static_cast<std::size_t>(i)];
    lines.push_back("type PlanTime(" + std::to_string(i) + ") " + box);
  }
  lines.push_back(std::string("type PlanSum ") +
                  (Chance(0.85) ? kMinutes[day] : std::to_string(Pick(700))));
  lines.push_back("click storeDay");
  return lines;
}

std::vector<std::string> RandomSession::ChainAction() {
  if (Shown("add").empty() || actionsInDialog_ > 2) return {"close"};
  const auto steps = Lines("NList");
  if (steps.size() < 2) return {"click cancel"};
  return {"check NList " + std::to_string(1 + Pick(steps.size() - 1)), "click add"};
}

std::vector<std::string> RandomSession::PlanChangeAction() {
  if (actionsInDialog_ > 2 || Chance(0.3)) return {"close"};
  const auto parents = Lines("ZList");
  if (parents.empty()) return {"close"};
  const int machines = data_.MachineRowCount;  // the drop-down lists the machine rows
  return {"select ZList " + std::to_string(Pick(parents.size())),
          "type shareQty " + std::to_string(1 + Pick(300)),
          "enter shareQty",
          "type shareDate " + DateInPeriod(0),
          "enter shareDate",
          "select machine " + std::to_string(Pick(machines)),
          "enter machine",
          "click split"};
}

}  // namespace velmora::test
