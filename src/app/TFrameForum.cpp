#include "app/TFrameForum.h"

#include "app/TFormDaruvedaZizeveva.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#ifdef ZAVUV_HAVE_WEBENGINE
#include <QWebEngineView>
#endif

#include "widgets/QtMessages.h"
#include "widgets/QtPanelKit.h"

namespace zavuv {

using namespace kit;

#ifdef ZAVUV_HAVE_WEBENGINE
namespace {
// The embedded browser: pages may not open windows of their own.
class ForumView : public QWebEngineView {
 public:
  using QWebEngineView::QWebEngineView;

 protected:
  QWebEngineView* createWindow(QWebEnginePage::WebWindowType) override { return nullptr; }
};
}  // namespace
#endif

// The window names the forum; the about box links to it too.
const QString& TFormDaruvedaZizeveva::ForumAddress() {
  static const QString address = QStringLiteral("https://zavuv.example.org/forum/");
  return address;
}

const QString& TFormDaruvedaZizeveva::ForumTitle() {
  static const QString title = QStringLiteral("zavuv 百家樂討論區");
  return title;
}

TFrameForum::TFrameForum(const QString& title, const QString& address, QWidget* parent)
    : QWidget(parent), address_(address) {
  setObjectName(QStringLiteral("TabSheetForum"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  BtnForum = Named(new QPushButton(title, this), "BtnForum");
  BtnForum->setAutoDefault(false);
  connect(BtnForum, &QPushButton::clicked, this, [this] { BtnForumClick(); });
  auto* panel = Named(new QFrame(this), "PanelForum");
  panel->setFrameShape(QFrame::StyledPanel);
  PanelForum = panel;
  auto* forumLayout = new QVBoxLayout(PanelForum);
  forumLayout->setContentsMargins(0, 0, 0, 0);
#ifdef ZAVUV_HAVE_WEBENGINE
  WebBrowser1 = Named(new ForumView(PanelForum), "WebBrowser1");
#else
  // No embedded browser in this build: the button shows the forum in the desktop's
  // browser.
  auto* note = Label(PanelForum, "WebBrowser1", "");
  note->setText(QStringLiteral("按上方的按鈕, 即以系統的瀏覽器開啟討論區:\n") + address_);
  note->setAlignment(Qt::AlignCenter);
  note->setWordWrap(true);
  WebBrowser1 = note;
#endif
  forumLayout->addWidget(WebBrowser1);
  auto* row = new QHBoxLayout;
  row->addWidget(BtnForum);
  row->addStretch(1);
  layout->addLayout(row);
  layout->addWidget(PanelForum, 1);
}

void TFrameForum::BtnForumClick() {
#ifdef ZAVUV_HAVE_WEBENGINE
  static_cast<QWebEngineView*>(WebBrowser1)->load(QUrl(address_));
#else
  OpenUrl(QUrl(address_));
#endif
}

}  // namespace zavuv
