// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "common/ConfigKeys.h"

namespace {

// Qt's catalogue for a language index, as the translations package names it.
QString CatalogueFor(int languageIndex) {
  switch (languageIndex) {
    case kLanguageChinese:
      return QStringLiteral("qtbase_zh_CN");
    case kLanguageJapanese:
      return QStringLiteral("qtbase_ja");
    default:
      return QString();
  }
}

}  // namespace

QtTranslation::QtTranslation(int languageIndex) {
  const QString catalogue = CatalogueFor(languageIndex);
  if (catalogue.isEmpty()) return;
  loaded_ = translator_.load(catalogue, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(&translator_);
}
