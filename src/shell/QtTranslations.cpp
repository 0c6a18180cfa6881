#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool QtTranslations::Install(QCoreApplication &application, const QLocale &locale)
{
    // "qt" is the catalogue that gathers every Qt module's translation for
    // a language, so the dialogs of Widgets and PrintSupport come with it.
    auto *translator = new QTranslator(&application);
    if (!translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}
