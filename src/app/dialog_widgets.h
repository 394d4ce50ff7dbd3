#pragma once

#include <optional>
#include <string>
#include <vector>

class QKeyEvent;
class QLineEdit;
class QListWidget;
class QWidget;

namespace velmora {

// Small pieces the model-backed dialogs share: widgets updated from the model's texts only where
// they differ, so a box keeps its cursor and a list its scroll position.
void SetText(QLineEdit* box, const std::string& text);
void SetLines(QListWidget* list, const std::vector<std::string>& lines);
// The model's selected line as the list's current one; none clears it. No signal echoes back.
void ShowCurrentLine(QListWidget* list, const std::optional<int>& line);
bool IsEnter(const QKeyEvent* key);
// A list of fixed-width lines, which only line up in a fixed-width font.
QListWidget* FixedWidthList(QWidget* parent, const char* name);
// A box the user reads but does not type in.
QLineEdit* ReadOnlyBox(QWidget* parent, const char* name);

}  // namespace velmora
