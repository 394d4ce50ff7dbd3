#pragma once

#include <string>
#include <vector>

#include "common/dialog_model.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QWidget;

namespace velmora {

// Widgets drawn from the model's state only where they differ, so a box keeps its cursor and a
// list its scroll position; none of them signals the change back.
void SetText(QLineEdit* box, const std::string& text);
void SetLines(QListWidget* list, const std::vector<std::string>& lines);
// The model's line as the selected and current one, none clearing both; a list that already
// shows that selection keeps its current line.
void ShowCurrentLine(QListWidget* list, const std::vector<int>& selected);
void ShowSelection(QListWidget* list, const std::vector<int>& selected);
void ShowTicks(QListWidget* list, const ControlState& state);
// The lines, and the text: typed over in an editable drop-down, chosen in a fixed one.
void ShowDropDown(QComboBox* box, const ControlState& state);

bool IsEnter(const QKeyEvent* key);
// The box the user types in: a line edit, or an editable drop-down's; else nothing.
QLineEdit* TextBoxOf(QWidget* widget);

}  // namespace velmora
