#pragma once

#include <memory>

#include "common/dialog_model.h"
#include "plandata/plan_data.h"

class QWidget;

namespace velmora {

// Shows a dialog model modally over `parent` in the Qt view registered for its type, and
// returns when the view is closed.
void ShowDialogView(const std::shared_ptr<DialogModel>& dialog, const PlanData& data,
                    QWidget* parent);

}  // namespace velmora
