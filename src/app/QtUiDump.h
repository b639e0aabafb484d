// The widget tree as JSON, for tests and support: for each widget its class, object
// name, visible text or caption, tool tip, enabled and visible state, a few values
// of its kind (check state, items, row counts), for a visible widget its geometry
// (x, y, width, height in its window's coordinates) and its children. Internal parts of
// the toolkit's composite widgets (scroll bars, headers, tab bars) are left out.
#pragma once

#include <QByteArray>
#include <QJsonObject>

class QWidget;

namespace zavuv {

QJsonObject DumpWidget(const QWidget* widget);
QByteArray DumpUi(const QWidget* root);

}  // namespace zavuv
