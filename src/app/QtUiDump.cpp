#include "app/QtUiDump.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

namespace zavuv {

namespace {

bool Skipped(const QWidget* w) {
  // Scroll bars of the toolkit's own are unnamed; a program's scroll bar control has a name.
  if ((qobject_cast<const QScrollBar*>(w) && w->objectName().isEmpty()) || qobject_cast<const QHeaderView*>(w) ||
      qobject_cast<const QTabBar*>(w) || qobject_cast<const QSplitterHandle*>(w))
    return true;
  const QString name = w->objectName();
  return name == QLatin1String("qt_spinbox_lineedit") || name == QLatin1String("qt_scrollarea_hcontainer") ||
         name == QLatin1String("qt_scrollarea_vcontainer") || name == QLatin1String("qt_tabwidget_tabbar") ||
         (w->parentWidget() && qobject_cast<const QComboBox*>(w->parentWidget()));
}

// Containers the toolkit puts between a widget and its children.
bool Transparent(const QWidget* w) {
  const QString name = w->objectName();
  return name == QLatin1String("qt_scrollarea_viewport") || name == QLatin1String("qt_tabwidget_stackedwidget");
}

// The tab widget a page belongs to, and its index there.
const QTabWidget* TabOwner(const QWidget* page, int* index) {
  const QWidget* stack = page->parentWidget();
  if (!stack || !qobject_cast<const QStackedWidget*>(stack)) return nullptr;
  auto* tabs = qobject_cast<const QTabWidget*>(stack->parentWidget());
  if (!tabs) return nullptr;
  *index = tabs->indexOf(const_cast<QWidget*>(page));
  return *index >= 0 ? tabs : nullptr;
}

void AddChildren(const QWidget* widget, QJsonArray& children) {
  QObjectList objects = widget->children();
  if (auto* splitter = qobject_cast<const QSplitter*>(widget)) {   // in the splitter's order
    objects.clear();
    for (int i = 0; i < splitter->count(); ++i) objects.append(splitter->widget(i));
  }
  for (QObject* object : objects) {
    auto* child = qobject_cast<QWidget*>(object);
    if (!child || Skipped(child)) continue;
    if (Transparent(child))
      AddChildren(child, children);
    else
      children.append(DumpWidget(child));
  }
}

}  // namespace

QJsonObject DumpWidget(const QWidget* w) {
  QJsonObject o;
  o[QStringLiteral("class")] = QString::fromLatin1(w->metaObject()->className());
  o[QStringLiteral("objectName")] = w->objectName();
  QString text;
  bool hasText = true;
  int tabIndex = -1;
  if (const QTabWidget* tabs = TabOwner(w, &tabIndex)) {
    text = tabs->tabText(tabIndex);
    o[QStringLiteral("tabVisible")] = tabs->isTabVisible(tabIndex);
    o[QStringLiteral("current")] = tabs->currentIndex() == tabIndex;
  } else if (w->isWindow()) {
    text = w->windowTitle();
  } else if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
    text = b->text();
    if (b->isCheckable()) o[QStringLiteral("checked")] = b->isChecked();
  } else if (auto* l = qobject_cast<const QLabel*>(w)) {
    text = l->text();
  } else if (auto* e = qobject_cast<const QLineEdit*>(w)) {
    text = e->text();
    o[QStringLiteral("readOnly")] = e->isReadOnly();
  } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
    text = g->title();
  } else if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) {
    text = p->toPlainText();
  } else if (auto* t = qobject_cast<const QTextEdit*>(w)) {
    text = t->toPlainText();
  } else if (auto* c = qobject_cast<const QComboBox*>(w)) {
    text = c->currentText();
    QJsonArray items;
    for (int i = 0; i < c->count(); ++i) items.append(c->itemText(i));
    o[QStringLiteral("items")] = items;
  } else if (auto* s = qobject_cast<const QSpinBox*>(w)) {
    text = s->text();
    o[QStringLiteral("value")] = s->value();
    o[QStringLiteral("minimum")] = s->minimum();
    o[QStringLiteral("maximum")] = s->maximum();
  } else {
    hasText = false;
  }
  if (hasText) o[QStringLiteral("text")] = text;
  if (auto* slider = qobject_cast<const QAbstractSlider*>(w)) {
    o[QStringLiteral("value")] = slider->value();
    o[QStringLiteral("minimum")] = slider->minimum();
    o[QStringLiteral("maximum")] = slider->maximum();
  }
  if (auto* view = qobject_cast<const QAbstractItemView*>(w); view && view->model()) {
    o[QStringLiteral("rows")] = view->model()->rowCount();
    o[QStringLiteral("columns")] = view->model()->columnCount();
  }
  if (auto* tabs = qobject_cast<const QTabWidget*>(w); tabs && tabs->currentWidget())
    o[QStringLiteral("currentPage")] = tabs->currentWidget()->objectName();
  o[QStringLiteral("toolTip")] = w->toolTip();
  o[QStringLiteral("enabled")] = w->isEnabled();
  o[QStringLiteral("visible")] = w->isVisible();
  if (w->isVisible()) {
    // Where it stands, in its window's coordinates, so that layouts can be checked.
    const QPoint at = w->isWindow() ? w->pos() : w->mapTo(w->window(), QPoint(0, 0));
    o[QStringLiteral("geometry")] = QJsonObject{{QStringLiteral("x"), at.x()},
                                                {QStringLiteral("y"), at.y()},
                                                {QStringLiteral("width"), w->width()},
                                                {QStringLiteral("height"), w->height()}};
  }
  QJsonArray children;
  AddChildren(w, children);
  if (!children.isEmpty()) o[QStringLiteral("children")] = children;
  return o;
}

QByteArray DumpUi(const QWidget* root) { return QJsonDocument(DumpWidget(root)).toJson(QJsonDocument::Indented); }

}  // namespace zavuv
