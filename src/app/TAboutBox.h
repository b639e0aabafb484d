// The about box: program icon, product name, version, a notice and three links.
#pragma once

#include <QDialog>
#include <QPixmap>

namespace zavuv {

// The program icon: a banker ring and a player ring on squared paper.
QPixmap ProgramIcon(int size);

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;   // centred on the screen
};

}  // namespace zavuv
