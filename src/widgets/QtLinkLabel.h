// A label that is a web address: blue, hand cursor, underlined while the mouse is
// over it; a click opens its own text with the desktop's default handler.
#pragma once

#include <QLabel>

namespace zavuv {

class QtLinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit QtLinkLabel(const QString& address, QWidget* parent = nullptr);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetUnderline(bool on);
};

}  // namespace zavuv
