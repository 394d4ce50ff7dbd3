#pragma once

#include <memory>
#include <string>
#include <vector>

#include "../editing/editing_world.h"
#include "lotdetail/lot_opening.h"
#include "lotdetail/plan_window.h"

namespace velmora::test {

// A member of a test lot: number, process, quantity, and its group by the item code's 9th
// character ("ITEM-0001" inner, "ITEM-0004" outer).
struct M {
  std::int32_t no;
  const char* process = "成形";
  std::int32_t qty = 100;
  bool outer = false;
  std::int32_t received = 0;
  std::int32_t source = 0;
};

// A lot on M01 from 2024/12/03 08:00 (setup 20, cycle 30 s), its members as given, with its lot
// detail window open; the dialogs the window opens are kept.
struct RestructuringWorld : EditingWorld {
  explicit RestructuringWorld(const std::vector<M>& members, db::Connection* connection = nullptr)
      : EditingWorld(connection) {
    lot = Add("M01     ", "2024/12/03 08:00:00", 120);
    PlanEntry& p = Plan(lot);
    p.PlanItemCode = "ITEM-0001";
    p.ItemCode = "ITEM-0001";
    p.ModelName = "型式A";
    p.SetupMinutes = 20;
    p.CycleSeconds = 30;
    p.PackQty = 30;
    p.ProcessName = "成形";
    int a = 0;
    int b = 0;
    std::int32_t innerQty = 0;
    std::int32_t outerQty = 0;
    for (const M& m : members) {
      Member& slot = m.outer ? p.B.Slot(++b) : p.A.Slot(++a);
      slot.OrderNo = m.no;
      slot.SourceOrderNo = m.source;
      slot.ProcessName = m.process;
      slot.ModelName = "型式A";
      slot.ItemCode = m.outer ? "ITEM-0004" : "ITEM-0001";
      slot.Seq = static_cast<std::int16_t>(a + b);
      slot.OrderQty = m.qty;
      slot.ReceivedQty = m.received;
      (m.outer ? outerQty : innerQty) += m.qty;
    }
    // Members of one group are lots merged onto one bar: the plan carries their sum.
    p.OrderQty = a > 0 ? innerQty : outerQty;
    p.OrderNo = a > 0 ? p.A[1].OrderNo : p.B[1].OrderNo;
    window =
        lotdetail::OpenPlanWindow(editor.Context(), PlanIdx{lot}, DateTime::FromDate(2024, 12, 5));
    window->ShowDialog = [this](std::shared_ptr<DialogModel> d) { dialog = std::move(d); };
  }

  template <typename T>
  T& Dialog() {
    auto typed = std::dynamic_pointer_cast<T>(dialog);
    if (!typed) throw std::runtime_error("no such dialog open");
    return *typed;
  }
  // The member numbers of a group, slot by slot.
  static std::vector<std::int32_t> Numbers(const MemberGroup& g) {
    std::vector<std::int32_t> out;
    for (int k = 1; k <= g.Stored(); ++k) {
      if (g[k].OrderNo != 0) out.push_back(g[k].OrderNo);
    }
    return out;
  }
  PlanEntry& Last() { return Plan(data.PlanCount()); }

  int lot = 0;
  std::shared_ptr<lotdetail::PlanWindow> window;
  std::shared_ptr<DialogModel> dialog;
};

}  // namespace velmora::test
