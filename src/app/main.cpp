// zavuv, the desktop program.
//
//   zavuv [FILE]                 starts, reading the shoe data file FILE if given
//   zavuv --dump-ui [FILE]       starts, prints the widget tree as JSON and exits
//   zavuv --screenshot DIR [FILE] starts, saves pictures of the road page, the
//                                statistics page, the export dialog, the about
//                                box, a strategy page (settings, components, setups,
//                                results, statistics, both charts), the combined
//                                result and the side-by-side views into DIR
//   zavuv --bench FILE            reads FILE, runs "分析分段資料" with four strategies
//                                and prints the time it took
//   zavuv --port N ...            talks to the community server on port N instead of 24
#include <QApplication>
#include <QFont>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/QtProgramModes.h"
#include "widgets/QtTranslations.h"
#include "app/QtUiDump.h"
#include "app/TFormDaruvedaZizeveva.h"
#include "widgets/QtMessages.h"

namespace {

void Usage() {
  std::fputs("usage: zavuv [FILE]\n       zavuv --dump-ui [FILE]\n       zavuv --screenshot DIR [FILE]\n"
             "       zavuv --bench FILE\n       zavuv --port N [other options]\n",
             stderr);
}

}  // namespace

int main(int argc, char** argv) {
  bool dump = false;
  bool bench = false;
  QString screenshots;
  QString file;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dump-ui") == 0) {
      dump = true;
    } else if (std::strcmp(argv[i], "--bench") == 0) {
      bench = true;
    } else if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshots = QString::fromLocal8Bit(argv[++i]);
    } else if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
      char* end = nullptr;
      long port = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || port < 1 || port > 65535) {
        Usage();
        return 2;
      }
      zavuv::TFormDaruvedaZizeveva::ServerPort() = static_cast<int>(port);
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
  // The program's title. No display name: the toolkit would append it to every
  // dialog's caption ("關於 — zavuv"); message boxes take the title from the name.
  QApplication::setApplicationName(QStringLiteral("zavuv"));
  // Arial for the Latin text, Traditional Chinese shapes for the rest whatever the
  // locale says.
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans CJK TC")});
  QApplication::setFont(font);
  // The toolkit's dialogs in the program's language.
  zavuv::LoadToolkitTranslations();

  if (bench && file.isEmpty()) {
    Usage();
    return 2;
  }
  const bool batch = dump || bench || !screenshots.isEmpty();
  if (batch) {
    // Nobody is there to press OK: messages go to the error output.
    zavuv::SetMessageHook([](zavuv::MessageKind, const QString& text) {
      std::fprintf(stderr, "zavuv: %s\n", qPrintable(text));
      return false;
    });
  }

  zavuv::TFormDaruvedaZizeveva window;
  // The widget dump and the benchmark never reach a server, whatever BA.ini says.
  window.AutoLoginAllowed = !dump && !bench;
  if (!batch) {
    // Size, position, splitters, tabs and recent files, beside the settings file BA.ini.
    window.WindowStateFile = QStringLiteral("BAWindow.ini");
    window.ReadWindowState();
  }
  window.show();
  if (!file.isEmpty()) window.ReadData(file);

  if (bench) {
    zavuv::SettleEvents();
    return zavuv::RunBench(window);
  }
  if (dump) {
    zavuv::SettleEvents();
    QTextStream(stdout) << zavuv::DumpUi(&window);
    return 0;
  }
  if (!screenshots.isEmpty()) return zavuv::SaveScreenshots(window, screenshots);
  return app.exec();
}
