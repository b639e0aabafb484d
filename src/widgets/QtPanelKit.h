// The small helpers every panel and window shares: controls made with their object
// names (the names the widget dump and the tests find them by), tab pages, spin
// fields with their ranges, and file names for the engine.
#pragma once

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QVBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <climits>
#include <string>

namespace zavuv::kit {

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

inline QLabel* Label(QWidget* parent, const char* name, const char* caption) {
  return Named(new QLabel(QString::fromUtf8(caption), parent), name);
}

inline QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr) {
  auto* button = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
  button->setAutoDefault(false);
  if (hint) button->setToolTip(QString::fromUtf8(hint));
  return button;
}

// A tab page with a vertical layout (margins of 4), handed back through `layout`.
inline QWidget* Page(const char* name, QVBoxLayout** layout = nullptr) {
  auto* page = Named(new QWidget, name);
  auto* l = new QVBoxLayout(page);
  l->setContentsMargins(4, 4, 4, 4);
  if (layout) *layout = l;
  return page;
}

inline QCheckBox* CheckBox(QWidget* parent, const char* name, const char* caption, bool checked) {
  auto* box = Named(new QCheckBox(QString::fromUtf8(caption), parent), name);
  box->setChecked(checked);
  return box;
}

// A spin field; without limits it takes any 32-bit value.
inline QSpinBox* Spin(QWidget* parent, const char* name, int value, int minimum = INT_MIN, int maximum = INT_MAX) {
  auto* spin = Named(new QSpinBox(parent), name);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  spin->setMinimumWidth(90);
  return spin;
}

// A read-only figure field, right-aligned, at most maxWidth pixels wide.
inline QLineEdit* FigureField(QWidget* parent, const char* name, int maxWidth) {
  auto* edit = Named(new QLineEdit(parent), name);
  edit->setReadOnly(true);
  edit->setAlignment(Qt::AlignRight);
  edit->setMaximumWidth(maxWidth);
  return edit;
}

// Read-only figure fields under each other, each after its caption; every label is
// named "Label" + the field's name without its "Edit" prefix and is its buddy.
inline void AddCaptionedRows(QGridLayout* grid, QWidget* parent,
                             std::initializer_list<std::pair<const char*, QWidget*>> rows) {
  int r = grid->count() == 0 ? 0 : grid->rowCount();
  for (const auto& [caption, field] : rows) {
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setObjectName(QStringLiteral("Label") + field->objectName().mid(4));
    label->setBuddy(field);
    grid->addWidget(label, r, 0);
    grid->addWidget(field, r, 1);
    ++r;
  }
}

// The layout of a selector panel: its choice strip on top and below it the sunken
// client panel "Panel1" that holds the chosen component's panel, which is returned.
inline QFrame* SelectorPanels(QWidget* self, QWidget* panelSelect) {
  auto* panel1 = Named(new QFrame(self), "Panel1");
  panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* inner = new QVBoxLayout(panel1);
  inner->setContentsMargins(4, 4, 4, 4);
  auto* layout = new QVBoxLayout(self);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(panelSelect);
  layout->addWidget(panel1, 1);
  return panel1;
}

// A path as the engine's file functions take it.
inline std::string FileName(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString FromFileName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

}  // namespace zavuv::kit
