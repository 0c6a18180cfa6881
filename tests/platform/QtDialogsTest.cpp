#include "platform/QtDialogs.h"
#include "ScriptedDialogs.h"
#include "session/HistoryRecord.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Runs once the dialog is up: looks at it, then answers it.
void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        act(modal);
    });
}

QPushButton *buttonWithText(QWidget *dialog, const QString &text)
{
    for (auto *button : dialog->findChildren<QPushButton *>()) {
        if (button->text().remove(QLatin1Char('&')) == text)
            return button;
    }
    return nullptr;
}

} // namespace

class QtDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxShowsWhatItWasGiven();
    void questionAnswers_data();
    void questionAnswers();
    void helpButtonOpensTopicWithoutClosing();
    void inputBox_data();
    void inputBox();
    void inputBoxShowsTheStoredForm_data();
    void inputBoxShowsTheStoredForm();
    void fileDialog_data();
    void fileDialog();
    void scriptedDialogsLogAndAnswer();
};

void QtDialogsTest::messageBoxShowsWhatItWasGiven()
{
    QtDialogs dialogs;
    QString title, text;
    int buttons = 0;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        buttons = box->buttons().size();
        box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(dialogs.MsgBox({QStringLiteral("Error. No data!")}), Dialogs::Answer::Ok);
    QCOMPARE(title, QStringLiteral("Velmora"));
    QCOMPARE(text, QStringLiteral("Error. No data!"));
    QCOMPARE(buttons, 1);
}

void QtDialogsTest::questionAnswers_data()
{
    QTest::addColumn<QString>("click");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << "Yes" << int(Dialogs::Answer::Yes);
    QTest::newRow("no") << "No" << int(Dialogs::Answer::No);
}

void QtDialogsTest::questionAnswers()
{
    QFETCH(QString, click);
    QtDialogs dialogs;
    whenModal([click](QWidget *modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Data delete"));
        QPushButton *button = buttonWithText(modal, click);
        QVERIFY(button);
        button->click();
    });
    const auto answer = dialogs.MsgBox({QStringLiteral("Do you really want to delete the history?"),
                                        QStringLiteral("Data delete"), Dialogs::Buttons::YesNo,
                                        QStringLiteral("Velm.hlp"), 103});
    QTEST(int(answer), "answer");
}

void QtDialogsTest::helpButtonOpensTopicWithoutClosing()
{
    QtDialogs dialogs;
    QStringList opened;
    dialogs.SetHelpOpener([&](const QString &file, int topic) {
        opened << QStringLiteral("%1#%2").arg(file).arg(topic);
    });
    whenModal([&](QWidget *modal) {
        buttonWithText(modal, QStringLiteral("Help"))->click();
        QCOMPARE(QApplication::activeModalWidget(), modal);
        modal->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(modal));
        QTest::keyClick(modal, Qt::Key_F1);
        buttonWithText(modal, QStringLiteral("OK"))->click();
    });
    dialogs.MsgBox(
        {QStringLiteral("x"), QString(), Dialogs::Buttons::Ok, QStringLiteral("Velm2.chm"), 103});
    QCOMPARE(opened, (QStringList{"Velm2.chm#103", "Velm2.chm#103"}));
}

void QtDialogsTest::inputBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::newRow("ok") << "Иван" << true;
    QTest::newRow("cancel") << "Иван" << false;
}

void QtDialogsTest::inputBox()
{
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QtDialogs dialogs;
    QString title, prompt;
    whenModal([&](QWidget *modal) {
        title = modal->windowTitle();
        prompt = modal->findChild<QLabel *>()->text();
        auto *edit = modal->findChild<QLineEdit *>();
        QVERIFY(edit->text().isEmpty());
        edit->insert(typed);
        QVERIFY(buttonWithText(modal, QStringLiteral("Help")));
        auto *box = modal->findChild<QDialogButtonBox *>();
        box->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    const auto answer =
        dialogs.InputBox({QStringLiteral("Enter name of tested please!"), QStringLiteral("Input"),
                          QString(), QStringLiteral("Velm2.chm"), 103});
    QCOMPARE(title, QStringLiteral("Input"));
    QCOMPARE(prompt, QStringLiteral("Enter name of tested please!"));
    QCOMPARE(answer, accept ? std::optional<QString>(typed) : std::nullopt);
}

void QtDialogsTest::inputBoxShowsTheStoredForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    // The note beneath the field; empty: none shown.
    QTest::addColumn<QString>("note");
    QTest::newRow("stored as typed") << "Ann Lee"
                                     << "Ann Lee"
                                     << "";
    QTest::newRow("Cyrillic, stored as typed") << "Иван"
                                               << "Иван"
                                               << "";
    QTest::newRow("a letter stored as another") << "Jürgen"
                                                << "Jürgen"
                                                << "Will be stored as \"Jurgen\"";
    QTest::newRow("twenty-five letters typed, twenty taken") << "ABCDEFGHIJKLMNOPQRSTUVWXY"
                                                             << "ABCDEFGHIJKLMNOPQRST"
                                                             << "";
}

// The name prompt as a person types into it: no more than is stored, and
// before the run the name as it will be stored where that differs.
void QtDialogsTest::inputBoxShowsTheStoredForm()
{
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, note);
    QtDialogs dialogs;
    QString shown;
    whenModal([&](QWidget *modal) {
        auto *edit = modal->findChild<QLineEdit *>();
        // Letter by letter, as a keyboard types them (any script).
        for (const QChar letter : typed) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(letter));
            QApplication::sendEvent(edit, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(letter));
            QApplication::sendEvent(edit, &release);
        }
        auto *kept = modal->findChild<QLabel *>(QStringLiteral("keptAs"));
        QVERIFY(kept);
        shown = kept->isVisibleTo(modal) ? kept->text() : QString();
        modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    Dialogs::Input input{QStringLiteral("Enter name of tested please!"), QStringLiteral("Input"),
                         QString(), QStringLiteral("Velm2.chm"), 103};
    input.fits = &HistoryRecord::NameFits;
    input.keptAs = &HistoryRecord::StoredForm;
    QCOMPARE(dialogs.InputBox(input), std::optional<QString>(answer));
    QCOMPARE(shown, note);
}

void QtDialogsTest::fileDialog_data()
{
    using Kind = Dialogs::FileRequest::Kind;
    QTest::addColumn<Dialogs::FileRequest>("request");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    const QString open = "(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*";
    const QStringList openFilters{"(Old History Files *.dat (*.dat)",
                                  "Batch Files Restest.* (Restest.*)"};
    QTest::newRow("open a backup")
        << Dialogs::FileRequest{Kind::Open, open} << openFilters << "restest. 457"
        << "restest. 457";
    QTest::newRow("open cancelled") << Dialogs::FileRequest{Kind::Open, open} << openFilters << ""
                                    << "";
    QTest::newRow("save without extension")
        << Dialogs::FileRequest{Kind::Save, "*.dat | *.dat", "DAT", "Default.dat", 1, 0}
        << QStringList{"*.dat (*.dat)"} << "copy"
        << "copy.DAT";
    QTest::newRow("export keeps the given name")
        << Dialogs::FileRequest{Kind::Save, "*.txt | *.txt", "TXT", "Default.txt", 1, 0}
        << QStringList{"*.txt (*.txt)"} << ""
        << "Default.txt";
}

// Qt's own file dialog, set up from the program's settings and answered
// by typing a name, as a person would.
void QtDialogsTest::fileDialog()
{
    QFETCH(Dialogs::FileRequest, request);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QtDialogs dialogs;
    QStringList filters;
    QString shownName;
    bool confirms = true;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        shownName = edit->text();
        if (chosen.isEmpty()) {
            dialog->reject();
            return;
        }
        if (!typed.isEmpty())
            edit->setText(typed);
        // QFileDialog's own acceptance, as the Save or Open button runs it.
        static_cast<QDialog *>(dialog)->accept();
    });
    const auto answer = dialogs.FileDialog(request);
    QTEST(filters, "filters");
    QCOMPARE(shownName, request.fileName);
    QVERIFY(!confirms);
    // The folder the dialog starts in is the dialog's own business.
    QCOMPARE(answer.has_value(), !chosen.isEmpty());
    if (answer)
        QCOMPARE(QFileInfo(*answer).fileName(), chosen);
}

void QtDialogsTest::scriptedDialogsLogAndAnswer()
{
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(Dialogs::Answer::Yes);
    dialogs.QueueInput(QStringLiteral("Ann"));
    const Dialogs::Message question{QStringLiteral("Sure?"), QStringLiteral("T"),
                                    Dialogs::Buttons::YesNo};
    QCOMPARE(dialogs.MsgBox(question), Dialogs::Answer::Yes);
    QCOMPARE(dialogs.InputBox({QStringLiteral("Name?")}), std::optional<QString>("Ann"));
    // With the script used up nothing blocks: questions get No, inputs Cancel.
    QCOMPARE(dialogs.MsgBox(question), Dialogs::Answer::No);
    QCOMPARE(dialogs.InputBox({QStringLiteral("Name?")}), std::nullopt);
    QCOMPARE(dialogs.Log().size(), 4);
    QCOMPARE(std::get<Dialogs::Message>(dialogs.Log().first()), question);
    QCOMPARE(dialogs.MessageTexts(), (QStringList{"Sure?", "Sure?"}));
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
