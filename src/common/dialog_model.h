#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

// A control name a dialog does not have, or an action its control does not take.
struct ControlError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A control's name in the original form, which scripts and outside programs written for it still
// use, and the control's name now. The form named most controls by kind and a number ("Text" 14);
// a name without a number has -1.
struct ControlAlias {
  std::string_view kind;
  int number = -1;
  std::string_view name;

  bool Matches(std::string_view original) const {
    if (number < 0) return original == kind;
    return original.substr(0, kind.size()) == kind &&
           original.substr(kind.size()) == std::to_string(number);
  }
};

// What a window draws of one control: the text of a box, a drop-down or a button, the lines of a
// list or a drop-down with the selected (ascending) and the ticked ones, and whether the control
// can be used and is shown.
struct ControlState {
  std::string Text;
  std::vector<std::string> Lines;
  std::vector<int> Selected;
  std::vector<bool> Ticked;
  bool Enabled = true;
  bool Visible = true;
};

// A dialog as the window and a script both drive it: its controls by name (an element of a
// control array as "Name(i)"), with the user's actions on them. The Qt dialog shows the same
// object and forwards the same actions.
class DialogModel {
 public:
  virtual ~DialogModel() = default;

  virtual bool Closed() const = 0;
  // The control's text replaced as if typed over a full selection.
  virtual void Type(std::string_view control, std::string text) = 0;
  // Focus on the control, then the Enter key.
  virtual void Enter(std::string_view control) = 0;
  virtual void Click(std::string_view control) = 0;
  virtual void DblClick(std::string_view control, int /*line*/) { Unsupported(control); }
  virtual void Select(std::string_view control, const std::vector<int>& /*lines*/) {
    Unsupported(control);
  }
  virtual void Check(std::string_view control, int /*line*/) { Unsupported(control); }
  // Every text box, drop-down and list line: (control, text).
  virtual std::vector<std::pair<std::string, std::string>> Show() const = 0;
  // The close box.
  virtual void Close() = 0;
  // The dialog's one table of original control names; a script may name a control either way.
  virtual std::span<const ControlAlias> Aliases() const { return {}; }

  // What the window shows of the control; one the model does not describe shows nothing.
  virtual ControlState State(std::string_view /*control*/) const { return {}; }
  // The control the model has put the focus on, or "".
  virtual std::string Focused() const { return {}; }
  // The user put the focus on the control. True when the model follows the focus, which may
  // change what it shows (leaving a field can fill others).
  virtual bool FocusMoved(std::string_view /*control*/) { return false; }

 protected:
  [[noreturn]] static void Unsupported(std::string_view control) {
    throw ControlError("コントロール " + std::string(control) + " はこの操作を受け付けません");
  }
  [[noreturn]] static void Unknown(std::string_view control) {
    throw ControlError("コントロール " + std::string(control) + " はありません");
  }
};

// The control `name` stands for in `dialog`: an original name as the control's name now, any other
// name as it is.
inline std::string_view ControlNamed(const DialogModel& dialog, std::string_view name) {
  for (const ControlAlias& alias : dialog.Aliases()) {
    if (alias.Matches(name)) return alias.name;
  }
  return name;
}

}  // namespace velmora
