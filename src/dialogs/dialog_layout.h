#pragma once

#include <QString>
#include <Qt>
#include <string>
#include <vector>

class QWidget;

namespace velmora {

// What a control of a layout table is; it decides how the widget is bound to the model's control.
enum class Kind {
  Label,        // text; with a name, a label the user clicks to get to its field
  Box,          // a text box the user types in
  ReadOnly,     // a box the user reads, reached by clicking rather than by Tab
  DropDown,     // a drop-down typed into, or a line picked from it
  Choice,       // a drop-down of fixed lines
  Button,       // pressed by a click, or by Enter as the dialog's default
  List,         // lines to read
  PickList,     // a clicked line is picked
  MultiList,    // lines picked and put back one click each
  CurrentList,  // the current line is the choice; a double-clicked line is chosen
  SelectList,   // the selected line is the choice; a double click anywhere is the choosing
  TickList,     // a tick box on each line
  Stretch,      // the slack of a row
};

// How a control differs from its kind's usual binding.
enum ControlFlag : unsigned {
  kTakesEnter = 1U << 0,     // Enter in it is the model's
  kSelectAll = 1U << 1,      // its text is selected when the model puts the focus on it
  kSelectOnFocus = 1U << 2,  // and whenever it gets the focus, once the click has placed the cursor
  kEveryChange = 1U << 3,    // every change of its text goes to the model, not only typing
  kTabStop = 1U << 4,        // a read-only box Tab stops at
  kFixedFont = 1U << 5,      // lines of fixed-width columns
  kFixedWidth = 1U << 6,     // the width is the width, not a minimum
  kDefault = 1U << 7,        // the button Enter presses
  kNoAutoDefault = 1U << 8,  // a button Enter never presses: Enter is the boxes'
  kCancels = 1U << 9,        // a button that closes as a cancel
  kKeepsFocus = 1U << 10,    // a button that leaves the focus on itself when it does not close
};

// One control of a layout table. The name is the model's control and the widget's objectName.
struct Control {
  Kind kind = Kind::Label;
  std::string name;
  QString text;  // a label's text, a button's caption (none: the model's), a list's frame title
  unsigned flags = 0;
  int width = 0;  // minimum width, 0 for the widget's own
  int height = 0;
  int stretch = 0;  // share of the slack of its row or of the dialog's column
};

Control Label(const QString& text);
Control ClickLabel(std::string name, const QString& text);
Control Box(std::string name, unsigned flags = 0, int width = 0);
Control ReadOnly(std::string name, unsigned flags = 0, int width = 0);
// A control of any kind by its name.
Control Named(Kind kind, std::string name, unsigned flags = 0, int width = 0);
Control Button(std::string name, const QString& caption = {}, unsigned flags = 0);
// A list, framed when it has a title.
Control ListOf(Kind kind, std::string name, const QString& title, int width, int height,
               unsigned flags = 0, int stretch = 1);
Control Stretch(int stretch = 1);

// A labelled field of a form: the label and the controls beside it (a date and its time share one
// field), over `span` field columns.
struct Field {
  Field(Control label, std::vector<Control> controls, int span = 1)
      : label(std::move(label)), controls(std::move(controls)), span(span) {}

  Control label;
  std::vector<Control> controls;
  int span;
};

// A cell of a grid.
struct Cell {
  Cell(int row, int column, Control control, int span = 1, Qt::Alignment align = {})
      : row(row), column(column), control(std::move(control)), span(span), align(align) {}

  int row;
  int column;
  Control control;
  int span;
  Qt::Alignment align;
};

// One part of a dialog's column: a framed form of label and field pairs with the labels aligned
// to their fields, a row of controls, a grid, or a control on its own.
struct Section {
  enum class Type { Form, Row, Grid, Alone };
  Type type = Type::Alone;
  QString title;
  std::vector<std::vector<Field>> rows;
  std::vector<Control> controls;
  std::vector<Cell> cells;
  int stretch = 0;
};

Section Form(const QString& title, std::vector<std::vector<Field>> rows);
Section Row(std::vector<Control> controls, int stretch = 0);
Section Grid(std::vector<Cell> cells);
Section Alone(Control control);

// A named control and its widget.
struct Placed {
  Control control;
  QWidget* widget = nullptr;
};

// Builds the dialog's column from its sections and returns the named controls' widgets in the
// order of the table, which is the order they were created in.
std::vector<Placed> BuildLayout(QWidget* dialog, const std::vector<Section>& sections);

}  // namespace velmora
