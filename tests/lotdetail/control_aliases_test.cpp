// The original control names scripts still use: each dialog's alias table names controls that
// exist, so an old script reaches the same control as a new one.
#include <gtest/gtest.h>

#include "editing/day_calendar.h"
#include "lotdetail/lot_split.h"
#include "lotdetail/plan_change.h"
#include "lotdetail/plan_search.h"
#include "lotdetail/process_dialogs.h"
#include "restructuring_world.h"

namespace velmora::test {
namespace {

// Whether the dialog has the control: listed by Show (a list as its lines), or a label that
// takes a click.
bool HasControl(DialogModel& dialog, std::string_view control) {
  for (const auto& [name, text] : dialog.Show()) {
    if (name == control || name.starts_with(std::string(control) + "[")) return true;
  }
  try {
    dialog.Click(control);
    return true;
  } catch (const ControlError&) {
    return false;
  }
}

TEST(ControlAliases, EveryOriginalNameResolvesToAControlOfItsDialog) {
  RestructuringWorld w({{1001, "成形", 200}, {1002, "仕上", 200}});
  w.window->machineChoices = {"M01     "};
  w.window->Click("splitLot");
  auto split = w.dialog;
  auto change = std::make_shared<lotdetail::PlanChange>(w.editor.Context(), *w.window);
  change->AddParent("親B", "25", "P-B");
  auto adding = std::make_shared<lotdetail::AddPlan>(w.editor.Context(), *w.window);
  auto showing = std::make_shared<lotdetail::ShowPlan>();
  auto chooser = std::make_shared<lotdetail::SelectPlan>();
  chooser->NList = {"line"};
  auto calendar = std::make_shared<editing::LinePlanWindow>(w.editor.Context());
  const std::pair<const char*, DialogModel*> dialogs[] = {
      {"lot window", w.window.get()},   {"lot split", split.get()}, {"plan change", change.get()},
      {"adding", adding.get()},         {"inquiry", showing.get()}, {"chooser", chooser.get()},
      {"day calendar", calendar.get()},
  };
  for (const auto& [title, dialog] : dialogs) {
    ASSERT_NE(dialog, nullptr) << title;
    EXPECT_FALSE(dialog->Aliases().empty()) << title;
    for (const ControlAlias& alias : dialog->Aliases()) {
      const std::string original =
          std::string(alias.kind) + (alias.number < 0 ? "" : std::to_string(alias.number));
      EXPECT_EQ(ControlNamed(*dialog, original), alias.name) << title << " " << original;
      EXPECT_TRUE(HasControl(*dialog, alias.name)) << title << " " << original;
      EXPECT_FALSE(HasControl(*dialog, original)) << title << " " << original << " is a control";
    }
  }
  // A name that is no alias passes as it is; a number is matched whole.
  EXPECT_EQ(ControlNamed(*w.window, "NList"), "NList");
  EXPECT_EQ(ControlNamed(*w.window, "Text141"), "Text141");
  EXPECT_EQ(ControlNamed(*w.window, "Text"), "Text");
}

}  // namespace
}  // namespace velmora::test
