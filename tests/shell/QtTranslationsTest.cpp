// Qt's own dialogs in the user's language: with the Russian locale the file
// dialog the program shows (Qt's own, not the desktop's) and the printer
// dialog have their buttons and labels in Russian, not some in Russian and
// the rest in English; with an English locale Qt's English stays.
#include "shell/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>

class QtTranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileDialogWhollyTranslated_data();
    void fileDialogWhollyTranslated();
};

namespace {

// Every text on the dialog's buttons and labels that contains a letter.
QStringList visibleTexts(const QDialog &dialog)
{
    QStringList texts;
    for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
        texts << button->text();
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    texts.removeIf([](const QString &text) {
        return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
    });
    return texts;
}

bool isCyrillic(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

} // namespace

void QtTranslationsTest::fileDialogWhollyTranslated_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("russian");
    QTest::newRow("ru_RU") << QLocale(QLocale::Russian, QLocale::Russia) << true;
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << false;
}

void QtTranslationsTest::fileDialogWhollyTranslated()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, russian);
    int argc = 1;
    char name[] = "QtTranslationsTest";
    char *argv[] = {name, nullptr};
    // A fresh application each time, so one row's translator is not in the
    // next one's way.
    QApplication app(argc, argv);
    const bool installed = QtTranslations::Install(app, locale);
    if (russian)
        QVERIFY(installed);

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    QPrinter printer;
    QPrintDialog print(&printer);
    for (const QDialog *dialog : {static_cast<QDialog *>(&files), static_cast<QDialog *>(&print)}) {
        const QStringList texts = visibleTexts(*dialog);
        QVERIFY(!texts.isEmpty());
        for (const QString &text : texts)
            QVERIFY2(
                isCyrillic(text) == russian,
                qPrintable(
                    QStringLiteral("%1: \"%2\"").arg(dialog->metaObject()->className(), text)));
    }
}

QTEST_APPLESS_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
