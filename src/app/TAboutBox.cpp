#include "app/TAboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <string_view>

#include "app/TFormDaruvedaZizeveva.h"
#include "net/Protocol.h"
#include "widgets/QtLinkLabel.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

QPixmap ProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::white);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(192, 192, 192), 1));
  for (int k = 1; k < 4; ++k) {
    p.drawLine(0, k * size / 4, size, k * size / 4);
    p.drawLine(k * size / 4, 0, k * size / 4, size);
  }
  const double r = size * 0.3;
  p.setPen(QPen(QColor(255, 0, 0), std::max(2.0, size / 12.0)));
  p.drawEllipse(QRectF(size * 0.08, size * 0.08, r * 1.6, r * 1.6));
  p.setPen(QPen(QColor(0, 0, 255), std::max(2.0, size / 12.0)));
  p.drawEllipse(QRectF(size * 0.44, size * 0.44, r * 1.6, r * 1.6));
  return pixmap;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TAboutBox"));
  setWindowTitle(QStringLiteral("關於"));
  setFixedSize(311, 226);
  auto* panel = Named(new QFrame(this), "Panel1");
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  auto* icon = Named(new QLabel(panel), "ProgramIcon");
  icon->setPixmap(ProgramIcon(40));
  auto* product = Label(panel, "ProductName", "zavuv");
  QFont big = product->font();
  big.setPointSize(big.pointSize() + 4);
  big.setBold(true);
  product->setFont(big);
  auto* subtitle = Label(panel, "ProductName2", "百家樂路紙及策略分析");
  // The program's version from the build, and the version of the community
  // protocol it speaks (what it tells the server at login).
  auto* version = Named(new QLabel(QStringLiteral("程式版本 ") + QStringLiteral(ZAVUV_VERSION), panel), "Version");
  const std::string_view line = net::kVersionLine;
  const std::string_view protocol = line.substr(line.find(':') + 1);
  auto* protocolVersion =
      Named(new QLabel(QStringLiteral("通訊協定版本 ") + QString::fromLatin1(protocol.data(), static_cast<qsizetype>(protocol.size())), panel),
            "ProtocolVersion");
  auto* notice = Label(panel, "Copyright", "本程式只供研究及娛樂之用");
  auto* header = new QGridLayout;
  header->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
  header->addWidget(product, 0, 1);
  header->addWidget(subtitle, 1, 1);
  header->addWidget(version, 2, 1);
  header->addWidget(protocolVersion, 3, 1);
  header->setColumnStretch(1, 1);
  auto* inner = new QVBoxLayout(panel);
  inner->setContentsMargins(8, 6, 8, 6);
  inner->setSpacing(2);
  inner->addLayout(header);
  inner->addWidget(notice);
  inner->addWidget(Named(new QtLinkLabel(QStringLiteral("https://zavuv.example.org/"), panel), "LinkHome"));
  inner->addWidget(Named(new QtLinkLabel(TFormDaruvedaZizeveva::ForumAddress(), panel), "LinkForum"));
  inner->addWidget(Named(new QtLinkLabel(QStringLiteral("mailto:support@zavuv.example.org"), panel), "LinkMail"));
  auto* ok = Named(new QPushButton(QStringLiteral("確定"), this), "OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(panel, 1);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

void TAboutBox::showEvent(QShowEvent* event) {
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  QDialog::showEvent(event);
}

}  // namespace zavuv
