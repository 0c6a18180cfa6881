// Printing the history into a real PDF through the printer dialog's
// answer: the pages come out, a long history runs onto more pages, and a
// printer that cannot be used or a cancelled dialog prints and says
// nothing.
#include "history/HistoryPrinter.h"
#include "FreshSession.h"
#include "ScriptedPlatform.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"
#include "session/SessionState.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class HistoryPrinterTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void print_data();
    void print();
};

void HistoryPrinterTest::print_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("answer");
    // The least number of pages; a long history's page count depends on the
    // font, so it is only known to be more than one.
    QTest::addColumn<int>("pages");
    QTest::newRow("a short history on one page") << 3 << "pdf" << 1;
    QTest::newRow("a long history runs on") << 200 << "pdf" << 2;
    QTest::newRow("cancelled") << 3 << "cancel" << 0;
    QTest::newRow("printer that cannot be used") << 3 << "unusable" << 0;
    QTest::newRow("unreadable record") << 3 << "pdf, bad record" << 0;
}

void HistoryPrinterTest::print()
{
    QFETCH(int, records);
    QFETCH(QString, answer);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ResetSession();
    Session().DataPath = dir.filePath("restest.dat");
    QFile history(Session().DataPath);
    QVERIFY(history.open(QIODevice::WriteOnly));
    for (int i = 0; i < records; ++i) {
        HistoryRecord record;
        record.SetName(QString("Person %1").arg(i + 1));
        record.RecDate = 37597.0 + i;
        record.RecTime = 0.5;
        record.RecCMF = std::int16_t(i % 120);
        record.RecCounts = {40, 38, 36, 35};
        if (answer.endsWith("bad record") && i == 1)
            record.RecCMF = 1000; // wider than its column
        history.write(record.Encode());
    }
    history.close();

    ScriptedPlatform platform;
    ScriptedDialogs &dialogs = platform.dialogs;
    const QString pdf =
        answer == "unusable" ? dir.filePath("no/such/folder/out.pdf") : dir.filePath("out.pdf");
    if (answer == "cancel")
        dialogs.QueuePrinter(std::nullopt);
    else
        dialogs.QueuePrinter([pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        });
    CommonDialog dlog;
    HistoryPrinter::Print(dlog);

    QCOMPARE(dialogs.Log().size(), 1);
    QVERIFY(std::holds_alternative<Dialogs::PrinterRequest>(dialogs.Log().first()));
    QFETCH(int, pages);
    if (pages == 0) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QCOMPARE(Session().RecNo, std::int16_t(1));
    const auto printed = QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]"));
    if (pages == 1)
        QCOMPARE(printed, 1);
    else
        QVERIFY(printed >= pages);
}

QTEST_MAIN(HistoryPrinterTest)
#include "HistoryPrinterTest.moc"
