// zavuv, the desktop program.
//
//   zavuv [FILE]                 starts, reading the shoe data file FILE if given
//   zavuv --dump-ui [FILE]       starts, prints the widget tree as JSON and exits
//   zavuv --screenshot DIR [FILE] starts, saves pictures of the road page, the
//                                statistics page, the export dialog and the about
//                                box into DIR
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/QtUiDump.h"
#include "app/TFormDaruvedaZizeveva.h"
#include "app/TFormExportShoesData.h"
#include "table/QtMessages.h"

namespace {

void Usage() {
  std::fputs("usage: zavuv [FILE]\n       zavuv --dump-ui [FILE]\n       zavuv --screenshot DIR [FILE]\n", stderr);
}

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

bool Save(QWidget* widget, const QString& path) {
  Settle();
  if (!widget->grab().save(path)) {
    std::fprintf(stderr, "zavuv: cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool dump = false;
  QString screenshots;
  QString file;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dump-ui") == 0) {
      dump = true;
    } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshots = QString::fromLocal8Bit(argv[++i]);
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      Usage();
      return 0;
    } else if (argv[i][0] == '-' && argv[i][1] == '-') {
      Usage();
      return 2;
    } else if (file.isEmpty()) {
      file = QString::fromLocal8Bit(argv[i]);
    } else {
      Usage();
      return 2;
    }
  }
  // The widget dump needs no screen.
  if (dump && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zavuv"));
  QApplication::setApplicationDisplayName(QStringLiteral("zavuv"));
  // Traditional Chinese shapes whatever the locale says.
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Arial")});
  QApplication::setFont(font);

  const bool batch = dump || !screenshots.isEmpty();
  if (batch) {
    // Nobody is there to press OK: messages go to the error output.
    zavuv::SetMessageHook([](zavuv::MessageKind, const QString& text) {
      std::fprintf(stderr, "zavuv: %s\n", qPrintable(text));
      return false;
    });
  }

  zavuv::TFormDaruvedaZizeveva window;
  window.show();
  if (!file.isEmpty()) window.ReadData(file);

  if (dump) {
    Settle();
    QTextStream(stdout) << zavuv::DumpUi(&window);
    return 0;
  }
  if (!screenshots.isEmpty()) {
    QDir().mkpath(screenshots);
    QDir dir(screenshots);
    window.resize(1100, 720);
    window.PageControl1->setCurrentWidget(window.TabSheetRoad);
    bool ok = Save(&window, dir.filePath(QStringLiteral("road.png")));
    window.PageControl1->setCurrentWidget(window.TabSheetStats);
    ok = Save(&window, dir.filePath(QStringLiteral("statistics.png"))) && ok;
    window.FormExportShoesData->show();
    ok = Save(window.FormExportShoesData, dir.filePath(QStringLiteral("export.png"))) && ok;
    window.FormExportShoesData->hide();
    window.AboutBox->show();
    ok = Save(window.AboutBox, dir.filePath(QStringLiteral("about.png"))) && ok;
    window.AboutBox->hide();
    return ok ? 0 : 1;
  }
  return app.exec();
}
