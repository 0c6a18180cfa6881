// The program in the user's language: with the Russian locale the file
// dialog the program shows (Qt's own, not the desktop's) and the printer
// dialog have their buttons and labels in Russian, not some in Russian and
// the rest in English, and so do the program's own windows, menus, names
// for screen readers, messages and help; with an English locale Qt's
// English stays and every text of the program is as it is without any
// translation at all.
#include "shell/QtTranslations.h"
#include "FakeClock.h"
#include "HistoryFiles.h"
#include "MenuItem.h"
#include "ScriptedPlatform.h"
#include "history/DataWindow.h"
#include "platform/HelpTopic.h"
#include "shell/AboutWindow.h"
#include "shell/MainFrame.h"
#include "shell/help/BuiltInHelp.h"
#include "shell/help/HelpWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QChartView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

class QtTranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void programWhollyTranslated_data();
    void programWhollyTranslated();
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

// The main frame on a history of two tests, with the data, trend, results
// and About windows open.
std::unique_ptr<MainFrame> openEveryWindow(const QTemporaryDir &dir)
{
    using namespace HistoryFiles;
    auto frame = std::make_unique<MainFrame>(dir.filePath(QStringLiteral("restest.dat")));
    frame->Start();
    put(frame->HistoryInUse(),
        bytesOf({record(QStringLiteral("Зорин"), Dec7, 0.5, 12, {40, 38, 36, 35}),
                 record(QStringLiteral("Зорин"), Dec7 + 1, 0.6, 0, {31, 33, 32, 31})}));
    MenuItem(frame.get(), QStringLiteral("mnuDat"))->trigger();
    auto *data = frame->Child<DataWindow>();
    data->List()->setCurrentRow(0);
    MenuItem(frame.get(), QStringLiteral("mnuTrend"))->trigger();
    data->ResultsButton()->click();
    MenuItem(frame.get(), QStringLiteral("mnuAbout"))->trigger();
    return frame;
}

void addMenuTexts(const QList<QAction *> &actions, QStringList &texts)
{
    for (const QAction *action : actions) {
        if (!action->isSeparator())
            texts << action->text();
        if (action->menu() != nullptr)
            addMenuTexts(action->menu()->actions(), texts);
    }
}

// What a person reads or hears of the program's windows: captions, menus,
// buttons, labels, lists and tables, the chart's legend and axes, tooltips
// and the names and descriptions a screen reader says.
QStringList shownTexts(MainFrame &frame)
{
    QStringList texts{frame.windowTitle()};
    addMenuTexts(frame.menuBar()->actions(), texts);
    for (QWidget *top : {static_cast<QWidget *>(&frame),
                         static_cast<QWidget *>(frame.findChild<AboutWindow *>())}) {
        texts << top->windowTitle();
        for (QWidget *widget : top->findChildren<QWidget *>()) {
            if (widget->objectName().startsWith(QLatin1String("qt_")))
                continue;
            texts << widget->accessibleName() << widget->accessibleDescription()
                  << widget->toolTip();
            if (qobject_cast<QMdiSubWindow *>(widget) != nullptr)
                texts << widget->windowTitle();
            if (const auto *button = qobject_cast<QAbstractButton *>(widget))
                texts << button->text();
            // A placeholder the run writes over is named after its label.
            if (const auto *label = qobject_cast<QLabel *>(widget);
                label != nullptr && label->text() != label->objectName())
                texts << label->text();
            if (const auto *view = qobject_cast<QAbstractItemView *>(widget)) {
                const QAbstractItemModel *model = view->model();
                for (int column = 0; column < model->columnCount(); ++column) {
                    texts << model->headerData(column, Qt::Horizontal).toString();
                    for (int row = 0; row < model->rowCount(); ++row)
                        texts << model->index(row, column).data().toString();
                }
            }
            if (const auto *chart = qobject_cast<QChartView *>(widget)) {
                for (const QAbstractSeries *series : chart->chart()->series())
                    texts << series->name();
                for (const QAbstractAxis *axis : chart->chart()->axes())
                    texts << axis->titleText();
            }
        }
    }
    texts.removeAll(QString());
    return texts;
}

// Whether the text has no word in Latin letters but the names that are the
// same in every language and the keys' names.
bool noLatinWord(QString text)
{
    static const QRegularExpression same(
        QStringLiteral("\\b(CMF|CSV|PDF|Qt|Velmora|Esc|Enter|c[1-4])\\b"));
    text.remove(same);
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.script() == QChar::Script_Latin; });
}

} // namespace

void QtTranslationsTest::programWhollyTranslated_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("clearQuestion");
    QTest::addColumn<QString>("helpPage");
    QTest::newRow("ru_RU") << QLocale(QLocale::Russian, QLocale::Russia) << true
                           << QStringLiteral("Вы действительно хотите удалить историю?")
                           << QStringLiteral("qrc:/help/ru/topic104.html");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << false
                           << QStringLiteral("Do you really want to delete the history?")
                           << QStringLiteral("qrc:/help/topic104.html");
}

void QtTranslationsTest::programWhollyTranslated()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, russian);
    QFETCH(QString, clearQuestion);
    QFETCH(QString, helpPage);
    int argc = 1;
    char name[] = "QtTranslationsTest";
    char *argv[] = {name, nullptr};
    QApplication app(argc, argv);
    // Dates and times as a desktop of that region writes them.
    QLocale::setDefault(locale);
    ScriptedPlatform platform;
    FakeClock clock;
    Platform::SetClock(&clock);
    QTemporaryDir dir;
    const QStringList untranslated = shownTexts(*openEveryWindow(dir));

    QVERIFY(QtTranslations::Install(app, locale) || !russian);
    QCOMPARE(QtTranslations::ProgramLanguage(), QString(russian ? "ru" : ""));

    // Qt's own dialogs wholly in the same language, never half in English.
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

    const auto frame = openEveryWindow(dir);
    const QStringList shown = shownTexts(*frame);
    QCOMPARE(shown.size(), untranslated.size());
    if (russian) {
        for (const QString &text : shown)
            QVERIFY2(noLatinWord(text), qPrintable(text));
        // The longer Russian words are not cut off by places made for
        // English ones.
        for (const QLabel *label : frame->findChildren<QLabel *>()) {
            if (!label->wordWrap() && label->pixmap().isNull() && !label->text().isEmpty())
                QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
        }
    } else {
        QCOMPARE(shown, untranslated);
    }

    // The help in the same language, its links leading to pages of it.
    BuiltInHelp help;
    help.ShowHelp(HelpViewer::ApplicationFile(), HelpTopic::Data);
    const QTextBrowser *browser = help.Window()->Browser();
    QCOMPARE(browser->source(), QUrl(helpPage));
    QVERIFY2(noLatinWord(help.Window()->windowTitle()) == russian,
             qPrintable(help.Window()->windowTitle()));
    const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
    for (const auto &match : link.globalMatch(browser->toHtml())) {
        const QUrl target = browser->source().resolved(QUrl(match.captured(1)));
        QVERIFY2(target.path().startsWith(QUrl(helpPage).adjusted(QUrl::RemoveFilename).path()) &&
                     QFile::exists(u':' + target.path()),
                 qPrintable(target.toString()));
    }
    platform.dialogs.Clear();
    MenuItem(frame.get(), QStringLiteral("mnuClear"))->trigger();
    QCOMPARE(platform.dialogs.MessageTexts(), QStringList{clearQuestion});
    QLocale::setDefault(QLocale::c());
}

QTEST_APPLESS_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
