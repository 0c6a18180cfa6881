#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

// The program's Russian catalogue, built into it, installed for as long as
// the object lives, as the program installs it on a Russian desktop: for
// the tests of what must read the same whatever the language (the files).
class RussianCatalogue
{
public:
    RussianCatalogue()
    {
        m_loaded = m_translator.load(QStringLiteral(":/i18n/velmora_ru.qm")) &&
                   QCoreApplication::installTranslator(&m_translator);
    }
    ~RussianCatalogue() { QCoreApplication::removeTranslator(&m_translator); }
    RussianCatalogue(const RussianCatalogue &) = delete;
    RussianCatalogue &operator=(const RussianCatalogue &) = delete;

    bool Loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_loaded = false;
};
