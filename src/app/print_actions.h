#pragma once

#include <functional>

#include "chart/chart_model.h"
#include "common/questions.h"
#include "plandata/plan_data.h"
#include "ui/load_table.h"

class QMainWindow;
class QMenu;

namespace velmora {

// "印刷..." (Ctrl+P, through the platform's print dialog) and "PDF に出力..." (a file dialog,
// then the file) on `menu`: both lay the whole chart of the display mode the window shows on
// landscape pages, followed by the machine load that `load` gives at the moment of printing.
// `data`, `model` and `questions` (where a failure is told) must outlive the window.
void AddPrintActions(QMainWindow& window, QMenu& menu, const PlanData& data,
                     const chart::ChartModel& model, std::function<ui::LoadTable()> load,
                     Questions& questions);

}  // namespace velmora
