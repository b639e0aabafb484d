// The page "討論區" (TabSheetForum): the button captioned with the forum's title and
// below it the embedded browser (or, in a build without one, a note: the button then
// opens the forum in the desktop's browser). Pages may not open windows of their own.
// The class declares no signals of its own (the widget dump shows it as the page it is).
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;

namespace zavuv {

class TFrameForum : public QWidget {
 public:
  TFrameForum(const QString& title, const QString& address, QWidget* parent = nullptr);

  void BtnForumClick();

  QPushButton* BtnForum = nullptr;
  QWidget* PanelForum = nullptr;
  QWidget* WebBrowser1 = nullptr;

 private:
  QString address_;
};

}  // namespace zavuv
