// "qtbase_ja" holds every text of Qt Widgets and Qt GUI; the meta-catalogue
// "qt_ja" only adds modules the program does not use.
#include "platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtJapaneseTranslations()
{
    // Owned by the application, so it lives exactly as long.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
