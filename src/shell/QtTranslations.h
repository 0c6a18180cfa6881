#pragma once

#include <QLocale>

class QCoreApplication;

// Qt's own texts (the buttons and columns of its file, print and message
// dialogs) in the user's language, from the translations Qt ships. The
// program's own captions and messages stay as they are; only what Qt draws
// around them follows the user's locale, so a dialog is never half in one
// language and half in another.
class QtTranslations
{
public:
    // Loads Qt's translation for the locale into the application; false
    // when Qt has none for it (English needs none).
    static bool Install(QCoreApplication &application, const QLocale &locale = QLocale());
};
