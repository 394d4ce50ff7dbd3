#include "dialogs/dialog_layout.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {
namespace {

bool IsList(Kind kind) {
  return kind == Kind::List || kind == Kind::PickList || kind == Kind::MultiList ||
         kind == Kind::CurrentList || kind == Kind::SelectList || kind == Kind::TickList;
}

QLineEdit* MakeBox(QWidget* parent, const Control& c) {
  auto* box = new QLineEdit(parent);
  if (c.kind == Kind::ReadOnly) {
    box->setReadOnly(true);
    if ((c.flags & kTabStop) == 0) box->setFocusPolicy(Qt::ClickFocus);
  }
  return box;
}

QComboBox* MakeDropDown(QWidget* parent, const Control& c) {
  auto* box = new QComboBox(parent);
  if (c.kind == Kind::DropDown) {
    box->setEditable(true);
    // What is typed stays typed: the list holds the rows, not the user's entries.
    box->setInsertPolicy(QComboBox::NoInsert);
  }
  return box;
}

QPushButton* MakeButton(QWidget* parent, const Control& c) {
  auto* button = new QPushButton(c.text, parent);
  if ((c.flags & kNoAutoDefault) != 0) button->setAutoDefault(false);
  if ((c.flags & kDefault) != 0) button->setDefault(true);
  return button;
}

QListWidget* MakeList(QWidget* parent, const Control& c) {
  auto* list = new QListWidget(parent);
  if (c.kind == Kind::MultiList) list->setSelectionMode(QAbstractItemView::MultiSelection);
  if (c.kind == Kind::SelectList) list->setSelectionMode(QAbstractItemView::SingleSelection);
  if ((c.flags & kFixedFont) != 0)
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return list;
}

// The control's widget, and what goes into the layout: the widget, or a titled list's frame.
struct Made {
  QWidget* widget = nullptr;
  QWidget* outer = nullptr;
};

QWidget* MakeWidget(QWidget* parent, const Control& c) {
  switch (c.kind) {
    case Kind::Box:
    case Kind::ReadOnly:
      return MakeBox(parent, c);
    case Kind::DropDown:
    case Kind::Choice:
      return MakeDropDown(parent, c);
    case Kind::Button:
      return MakeButton(parent, c);
    case Kind::Label:
    case Kind::Stretch:  // only rows have slack: elsewhere it is an empty label
      return new QLabel(c.text, parent);
    default:
      return MakeList(parent, c);
  }
}

class Builder {
 public:
  explicit Builder(QWidget* dialog) : dialog_(dialog) {}

  Made Make(const Control& c, QWidget* parent) {
    Made made;
    if (IsList(c.kind) && !c.text.isEmpty()) {
      auto* frame = new QGroupBox(c.text, parent);
      auto* inside = new QVBoxLayout(frame);
      made.widget = MakeWidget(frame, c);
      inside->addWidget(made.widget);
      made.outer = frame;
    } else {
      made.widget = MakeWidget(parent, c);
      made.outer = made.widget;
    }
    if (c.width > 0) {
      if ((c.flags & kFixedWidth) != 0) {
        made.widget->setFixedWidth(c.width);
      } else {
        made.widget->setMinimumWidth(c.width);
      }
    }
    if (c.height > 0) made.widget->setMinimumHeight(c.height);
    if (!c.name.empty()) {
      made.widget->setObjectName(QString::fromStdString(c.name));
      placed_.push_back({c, made.widget});
    }
    return made;
  }

  void AddForm(QVBoxLayout* column, const Section& section) {
    auto* frame = new QGroupBox(section.title, dialog_);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    column->addWidget(frame, section.stretch);
    for (int row = 0; row < static_cast<int>(section.rows.size()); ++row) {
      int pair = 0;
      for (const Field& field : section.rows[static_cast<std::size_t>(row)]) {
        AddField(grid, row, pair++, field);
      }
    }
  }

  void AddRow(QVBoxLayout* column, const Section& section) {
    auto* row = new QHBoxLayout();
    for (const Control& c : section.controls) {
      if (c.kind == Kind::Stretch) {
        row->addStretch(c.stretch);
      } else {
        row->addWidget(Make(c, dialog_).outer, c.stretch);
      }
    }
    column->addLayout(row, section.stretch);
  }

  void AddGrid(QVBoxLayout* column, const Section& section) {
    auto* grid = new QGridLayout();
    for (const Cell& cell : section.cells) {
      grid->addWidget(Make(cell.control, dialog_).outer, cell.row, cell.column, 1, cell.span,
                      cell.align);
    }
    column->addLayout(grid, section.stretch);
  }

  void AddAlone(QVBoxLayout* column, const Section& section) {
    const Control& c = section.controls.front();
    column->addWidget(Make(c, dialog_).outer, c.stretch);
  }

  std::vector<Placed> Take() { return std::move(placed_); }

 private:
  // A label column and a field column per pair; a field of several controls shares its column.
  void AddField(QGridLayout* grid, int row, int pair, const Field& field) {
    QWidget* label = Make(field.label, dialog_).widget;
    grid->addWidget(label, row, pair * 2, Qt::AlignRight | Qt::AlignVCenter);
    std::vector<QWidget*> widgets;
    for (const Control& c : field.controls) widgets.push_back(Make(c, dialog_).outer);
    // A named label is clicked to get to its field.
    if (!field.label.name.empty()) static_cast<QLabel*>(label)->setBuddy(widgets.front());
    if (widgets.size() == 1) {
      grid->addWidget(widgets.front(), row, pair * 2 + 1, 1, field.span);
      return;
    }
    auto* line = new QHBoxLayout();
    line->setSpacing(4);
    for (QWidget* w : widgets) line->addWidget(w);
    grid->addLayout(line, row, pair * 2 + 1, 1, field.span);
  }

  QWidget* dialog_;
  std::vector<Placed> placed_;
};

}  // namespace

Control Label(const QString& text) {
  Control c;
  c.text = text;
  return c;
}

Control ClickLabel(std::string name, const QString& text) {
  Control c = Label(text);
  c.name = std::move(name);
  return c;
}

Control Box(std::string name, unsigned flags, int width) {
  return Named(Kind::Box, std::move(name), flags, width);
}

Control ReadOnly(std::string name, unsigned flags, int width) {
  return Named(Kind::ReadOnly, std::move(name), flags, width);
}

Control Named(Kind kind, std::string name, unsigned flags, int width) {
  Control c;
  c.kind = kind;
  c.name = std::move(name);
  c.flags = flags;
  c.width = width;
  return c;
}

Control Button(std::string name, const QString& caption, unsigned flags) {
  Control c = Named(Kind::Button, std::move(name), flags, 0);
  c.text = caption;
  return c;
}

Control ListOf(Kind kind, std::string name, const QString& title, int width, int height,
               unsigned flags, int stretch) {
  Control c = Named(kind, std::move(name), flags, width);
  c.text = title;
  c.height = height;
  c.stretch = stretch;
  return c;
}

Control Stretch(int stretch) {
  Control c;
  c.kind = Kind::Stretch;
  c.stretch = stretch;
  return c;
}

Section Form(const QString& title, std::vector<std::vector<Field>> rows) {
  Section s;
  s.type = Section::Type::Form;
  s.title = title;
  s.rows = std::move(rows);
  return s;
}

Section Row(std::vector<Control> controls, int stretch) {
  Section s;
  s.type = Section::Type::Row;
  s.controls = std::move(controls);
  s.stretch = stretch;
  return s;
}

Section Grid(std::vector<Cell> cells) {
  Section s;
  s.type = Section::Type::Grid;
  s.cells = std::move(cells);
  return s;
}

Section Alone(Control control) {
  Section s;
  s.controls = {std::move(control)};
  return s;
}

std::vector<Placed> BuildLayout(QWidget* dialog, const std::vector<Section>& sections) {
  auto* column = new QVBoxLayout(dialog);
  Builder builder(dialog);
  for (const Section& section : sections) {
    switch (section.type) {
      case Section::Type::Form:
        builder.AddForm(column, section);
        break;
      case Section::Type::Row:
        builder.AddRow(column, section);
        break;
      case Section::Type::Grid:
        builder.AddGrid(column, section);
        break;
      case Section::Type::Alone:
        builder.AddAlone(column, section);
        break;
    }
  }
  return builder.Take();
}

}  // namespace velmora
