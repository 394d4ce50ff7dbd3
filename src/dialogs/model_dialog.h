#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/dialog_model.h"
#include "dialogs/dialog_layout.h"

class QKeyEvent;
class QMouseEvent;

namespace velmora {

// A dialog drawn from a layout table and bound to a dialog model by control name. The rules are
// the model's: the view shows its controls, hands it the user's typing, Enter, focus, clicks and
// picks, closes when the model has closed and puts the focus where the model put it. A dialog
// gives its table and says how it differs from the usual.
class ModelDialog : public QDialog {
  Q_OBJECT

 public:
  // What the dialog is: its caption, its layout table and how it differs from the usual.
  struct Outline {
    Outline(QString title, std::vector<Section> layout)
        : title(std::move(title)), layout(std::move(layout)) {}

    QString title;
    std::vector<Section> layout;
    // Where Tab starts; the other controls follow in the table's order.
    std::vector<std::string> tabOrder;
    bool escapeCloses = true;
    // Enter from any control, and in the window itself, is the model's (see EnterKey).
    bool enterEverywhere = false;
    // The model's focus selects a box's text again when the box kept the focus.
    bool selectAgain = true;
  };

  ModelDialog(std::shared_ptr<DialogModel> model, Outline outline, QWidget* parent);

  // The widget of a model control, or nothing.
  QWidget* Widget(std::string_view control) const;
  template <typename W>
  W* Widget(std::string_view control) const {
    return qobject_cast<W*>(Widget(control));
  }

  // Every way of closing closes the model first; a close the model refuses keeps the window open
  // on what is to be fixed.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The Enter key with the focus on `control` ("" for none); by default the control's Enter.
  virtual void EnterKey(const std::string& control);
  // A user's action on the model. When it closed the model the window closes, as a cancel with
  // `cancel`; otherwise it shows the model and, with `refocus`, takes up the model's focus.
  void Act(const std::function<void()>& action, bool refocus = true, bool cancel = false);
  DialogModel& Model() const { return *model_; }

 private:
  void Bind(const Placed& placed);
  void BindList(const Placed& placed);
  void SetTabOrder(const std::vector<std::string>& first);
  const Placed* Find(std::string_view control) const;
  // The control a widget is or belongs to (a drop-down's line edit, a list's viewport), or none.
  const Placed* ControlOf(QObject* widget) const;
  bool KeyPressed(QObject* watched, const QKeyEvent* key);
  void FocusArrived(QObject* watched);
  bool LabelClicked(QObject* watched);
  bool DoubleClicked(QObject* watched, const QMouseEvent* event);
  void ShowModel();
  void ShowControl(const Placed& placed, const ControlState& state);
  void FocusModel();

  std::shared_ptr<DialogModel> model_;
  bool escapeCloses_;
  bool enterEverywhere_;
  bool selectAgain_;
  std::vector<Placed> controls_;
};

}  // namespace velmora
