#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

// Owned by the application it was installed into, so it is gone with it.
QPointer<QTranslator> programTranslator;

// Qt's Russian catalogue leaves the OK of the buttons Qt makes (the name
// prompt's, every message box's) in Latin letters; the program's catalogue
// gives them the Cyrillic ОК of its own windows, and is searched first.
[[maybe_unused]] const char *const QtOk = QT_TRANSLATE_NOOP("QPlatformTheme", "OK");
// Qt's file dialog names a folder's type with a text its Russian catalogue
// does not have.
struct SourceText
{
    const char *source;
    const char *comment;
};
[[maybe_unused]] const SourceText QtFolder =
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Folder", "All other platforms");

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
        programTranslator = program;
        qtLocale = QLocale(program->language());
    } else {
        delete program;
        programTranslator = nullptr;
    }
    // The last installed is searched first: the program's catalogue goes in
    // after Qt's, so its few entries for Qt's texts take precedence.
    const auto installProgram = [] {
        if (programTranslator)
            QCoreApplication::installTranslator(programTranslator);
    };
    // "qt" is the catalogue that gathers every Qt module's translation for
    // a language, so the dialogs of Widgets and PrintSupport come with it.
    auto *translator = new QTranslator(&application);
    if (!translator->load(qtLocale, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        installProgram();
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installProgram();
    return true;
}

QString QtTranslations::ProgramLanguage()
{
    if (!programTranslator)
        return {};
    // Named by the language alone, as the help pages' folders are.
    return QLocale(programTranslator->language()).name().section(u'_', 0, 0);
}
