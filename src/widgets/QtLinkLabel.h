// A label that is a web address: blue, hand cursor, and a click opens its own text
// with the desktop's default handler. It is underlined while the mouse is over it, or
// all the time when made with Underline::Always.
#pragma once

#include <QLabel>

namespace zavuv {

class QtLinkLabel : public QLabel {
  Q_OBJECT

 public:
  enum class Underline { OnHover, Always };

  explicit QtLinkLabel(const QString& address, QWidget* parent = nullptr, Underline underline = Underline::OnHover);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetUnderline(bool on);

  Underline underline_;
};

}  // namespace zavuv
