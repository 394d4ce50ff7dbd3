// The process dialogs' tick boxes follow the model's rule, not the user's single click.
#include "dialogs/process_chain_dialogs.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "qt_test_support.h"

namespace velmora::test {
namespace {

std::vector<bool> Ticks(const QListWidget& list) {
  std::vector<bool> ticks;
  for (int i = 0; i < list.count(); ++i) ticks.push_back(list.item(i)->checkState() == Qt::Checked);
  return ticks;
}

TEST(ProcessChainDialogs, TickingOneLineTicksEveryLineAboveItAndClosingEndsTheModel) {
  TestApp();
  auto model = std::make_shared<lotdetail::ShowPlan>();
  for (const char* line : {"a", "b", "c", "d"}) model->NList.Add(line);
  ShowPlanDialog dialog(model);
  EXPECT_EQ(Ticks(*dialog.NList), (std::vector<bool>{false, false, false, false}));

  dialog.NList->item(2)->setCheckState(Qt::Checked);
  EXPECT_EQ(Ticks(*dialog.NList), (std::vector<bool>{true, true, true, false}));
  dialog.NList->item(1)->setCheckState(Qt::Unchecked);
  EXPECT_EQ(Ticks(*dialog.NList), (std::vector<bool>{true, true, false, false}));

  dialog.reject();
  EXPECT_TRUE(model->Closed());
}

}  // namespace
}  // namespace velmora::test
