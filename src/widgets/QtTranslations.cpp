#include "widgets/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zavuv {

bool LoadToolkitTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_zh_TW"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

}  // namespace zavuv
