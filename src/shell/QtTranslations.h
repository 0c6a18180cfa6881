#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;

// The program in the user's language: its own captions and messages from
// the catalogue built into it (translations/velmora_<language>.ts), and
// Qt's own texts (the buttons and columns of its file, print and message
// dialogs) from the translations Qt ships, for the same language, so a
// dialog is never half in one language and half in another. A language the
// program has no catalogue for leaves its texts in English, and Qt's follow
// the locale as before.
class QtTranslations
{
public:
    // Loads the program's catalogue for the first of the locale's interface
    // languages it has, and Qt's for that language (or, without one, for
    // the locale); false when Qt has none to load (English needs none).
    static bool Install(QCoreApplication &application, const QLocale &locale = QLocale());

    // The language of the program's catalogue in use ("ru"), empty while
    // the program speaks English.
    static QString ProgramLanguage();
};
