#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// Owned by the application it was installed into, so it is gone with it.
QPointer<QTranslator> programTranslator;

} // namespace

bool QtTranslations::Install(QCoreApplication &application, const QLocale &locale)
{
    // The catalogues are built into the program; load() tries the
    // locale's interface languages in order, so LANGUAGE=de:ru gets
    // Russian and en_US none at all.
    auto *program = new QTranslator(&application);
    QLocale qtLocale = locale;
    if (program->load(locale, QStringLiteral("velmora"), QStringLiteral("_"),
                      QStringLiteral(":/i18n"))) {
        QCoreApplication::installTranslator(program);
        programTranslator = program;
        qtLocale = QLocale(program->language());
    } else {
        delete program;
        programTranslator = nullptr;
    }
    // "qt" is the catalogue that gathers every Qt module's translation for
    // a language, so the dialogs of Widgets and PrintSupport come with it.
    auto *translator = new QTranslator(&application);
    if (!translator->load(qtLocale, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

QString QtTranslations::ProgramLanguage()
{
    if (!programTranslator)
        return {};
    // Named by the language alone, as the help pages' folders are.
    return QLocale(programTranslator->language()).name().section(u'_', 0, 0);
}
