#include "platform/ui/QtDialogs.h"
#include "ScriptedDialogs.h"
#include "platform/ui/CommonDialog.h"
#include "record/HistoryRecord.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
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
    void printerDialogOffersPdfInTheFolderGiven();
    void scriptedDialogsLogAndAnswer();
    void printerDialogWithoutPrinters();
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
    QTest::addColumn<int>("select"); // the filter entry picked, 0 for none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("existing"); // a file already in the folder
    QTest::addColumn<bool>("asked");       // whether replacing it is asked
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("entry"); // the entry the name chooses
    const QString open = "(Old History Files *.dat|*.dat|Batch Files Restest.*|Restest.*";
    const QStringList openFilters{"(Old History Files *.dat (*.dat)",
                                  "Batch Files Restest.* (Restest.*)"};
    QTest::newRow("open a backup")
        << Dialogs::FileRequest{Kind::Open, open} << openFilters << 0 << "restest. 457"
        << "" << false << "restest. 457" << 1;
    QTest::newRow("open cancelled")
        << Dialogs::FileRequest{Kind::Open, open} << openFilters << 0 << ""
        << "" << false << "" << 0;
    QTest::newRow("save without extension")
        << Dialogs::FileRequest{Kind::Save, "*.dat | *.dat", "DAT", "Default.dat", 1, 0}
        << QStringList{"*.dat (*.dat)"} << 0 << "copy"
        << "" << false << "copy.DAT" << 1;
    QTest::newRow("save over a file without a question")
        << Dialogs::FileRequest{Kind::Save, "*.dat | *.dat", "DAT", "Default.dat", 1, 0}
        << QStringList{"*.dat (*.dat)"} << 0 << ""
        << "Default.dat" << false << "Default.dat" << 1;

    // The export: the text table first and as it was, the CSV second with
    // a default extension of its own and a question before replacing.
    Dialogs::FileRequest exported{Kind::Save,
                                  "*.txt | *.txt|CSV for spreadsheets and "
                                  "statistics (*.csv)|*.csv",
                                  "TXT",
                                  "Default.txt",
                                  1,
                                  0};
    exported.entrySettings = {{2, "csv", CommonDialog::OverwritePrompt}};
    const QStringList exportFilters{"*.txt (*.txt)",
                                    "CSV for spreadsheets and statistics (*.csv) (*.csv)"};
    QTest::newRow("export keeps the given name") << exported << exportFilters << 0 << ""
                                                 << "" << false << "Default.txt" << 1;
    QTest::newRow("export appends to a table without a question")
        << exported << exportFilters << 0 << ""
        << "Default.txt" << false << "Default.txt" << 1;
    QTest::newRow("CSV chosen: the name follows") << exported << exportFilters << 2 << ""
                                                  << "" << false << "Default.csv" << 2;
    QTest::newRow("CSV chosen, a name without extension")
        << exported << exportFilters << 2 << "table"
        << "" << false << "table.csv" << 2;
    QTest::newRow("CSV chosen over a file: asked") << exported << exportFilters << 2 << ""
                                                   << "Default.csv" << true << "Default.csv" << 2;
    QTest::newRow("a .csv name typed over a file: asked")
        << exported << exportFilters << 0 << "old.CSV"
        << "old.CSV" << true << "old.CSV" << 2;
}

// Qt's own file dialog, set up from the program's settings and answered
// by typing a name, as a person would, in the folder it was asked to
// start in.
void QtDialogsTest::fileDialog()
{
    QFETCH(Dialogs::FileRequest, request);
    QFETCH(int, select);
    QFETCH(QString, typed);
    QFETCH(QString, existing);
    QFETCH(QString, chosen);
    QFETCH(int, entry);
    QTemporaryDir folder;
    request.initDir = folder.path();
    if (!existing.isEmpty()) {
        QFile file(folder.filePath(existing));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QtDialogs dialogs;
    QStringList filters;
    QString shownName, shownFolder;
    bool confirms = true;
    bool asked = false;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        QVERIFY(dialog);
        filters = dialog->nameFilters();
        shownFolder = dialog->directory().absolutePath();
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        shownName = edit->text();
        if (chosen.isEmpty()) {
            dialog->reject();
            return;
        }
        if (select > 0)
            dialog->selectNameFilter(filters.value(select - 1));
        if (!typed.isEmpty())
            edit->setText(typed);
        // Qt's question before replacing is a box of the file dialog's
        // own; answered Yes, the name is taken.
        QTimer::singleShot(0, dialog, [&asked] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                box->button(QMessageBox::Yes)->click();
            }
        });
        // The dialog's own acceptance, as the Save or Open button runs it.
        static_cast<QDialog *>(dialog)->accept();
    });
    const auto answer = dialogs.FileDialog(request);
    QTEST(filters, "filters");
    QCOMPARE(shownName, request.fileName);
    QCOMPARE(shownFolder, QDir(folder.path()).absolutePath());
    QVERIFY(!confirms);
    QTEST(asked, "asked");
    QCOMPARE(answer.has_value(), !chosen.isEmpty());
    if (!answer)
        return;
    QCOMPARE(answer->path, folder.filePath(chosen));
    QCOMPARE(CommonDialog::ChosenEntry(request, answer->filterIndex, answer->path), entry);
}

// With no printer to print on, Qt's printer dialog offers only a PDF file;
// it is offered in the folder the program asks for.
void QtDialogsTest::printerDialogOffersPdfInTheFolderGiven()
{
    QPrinter printer(QPrinter::HighResolution);
    if (printer.outputFormat() != QPrinter::PdfFormat)
        QSKIP("a printer is installed here; the dialog then offers it first");
    QTemporaryDir folder;
    QString offered;
    whenModal([&](QWidget *modal) {
        auto *name = modal->findChild<QLineEdit *>(QStringLiteral("filename"));
        QVERIFY(name);
        offered = name->text();
        qobject_cast<QDialog *>(modal)->reject();
    });
    QtDialogs dialogs;
    QVERIFY(!dialogs.PrinterDialog(printer, {folder.path()}));
    QCOMPARE(offered, folder.filePath("print.pdf"));
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

// Without a printer Qt's dialog can only print to a file; it offers one
// named after the document in the home folder, and what is printed lands
// there.
void QtDialogsTest::printerDialogWithoutPrinters()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("this machine has printers, which the dialog offers first");
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    QtDialogs dialogs;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Test result - Ann Lee - 2002-12-07"));
    QString offered;
    QStringList printers;
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QPrintDialog *>(modal);
        QVERIFY(dialog != nullptr);
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        auto *choice = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        QVERIFY(fileName != nullptr && choice != nullptr);
        offered = fileName->text();
        for (int i = 0; i < choice->count(); ++i)
            printers << choice->itemText(i);
        dialog->accept();
    });
    const bool accepted = dialogs.PrinterDialog(printer);
    qputenv("HOME", oldHome);
    QVERIFY(accepted);
    QCOMPARE(printers.size(), 1);
    const QString expected =
        home.filePath(QStringLiteral("Test result - Ann Lee - 2002-12-07.pdf"));
    QCOMPARE(offered, expected);
    QCOMPARE(printer.outputFileName(), expected);
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QPainter painter;
    QVERIFY(painter.begin(&printer));
    painter.drawText(QPointF(100, 100), QStringLiteral("Ann Lee"));
    QVERIFY(painter.end());
    QVERIFY(QFileInfo(expected).size() > 0);
}

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
