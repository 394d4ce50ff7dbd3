#pragma once

#include <memory>

#include "editing/script_dialog.h"

class QWidget;

namespace velmora {

// Shows a dialog the lot detail window opened (process steps, lot split, plan change) modally
// over `parent`, in the Qt view that belongs to its model.
void ShowRestructuringDialog(const std::shared_ptr<editing::ScriptDialog>& dialog, QWidget* parent);

}  // namespace velmora
