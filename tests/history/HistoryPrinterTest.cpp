// Printing the history into a real PDF through the printer dialog's
// answer, read back with its words' positions on the paper (pdftotext
// -bbox): every record's line is on the page, whole and in file order, the
// columns stand under their titles, a long history runs onto more pages,
// and a cancelled dialog prints and says nothing. A PDF, of the table or
// of one test's report, never takes the place of a history or a backup,
// and a full disk leaves the file there as it was; both say why.
#include "history/HistoryPrinter.h"
#include "HistoryFolder.h"
#include "PdfPages.h"
#include "history/HistoryExport.h"
#include "history/HistoryList.h"
#include "results/ResultPrinter.h"
#include "results/ResultReport.h"

#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using PdfPages::Page;
using PdfPages::pagesOf;
using PdfPages::textOf;
using PdfPages::Word;

class HistoryPrinterTest : public QObject, HistoryFolder
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void init() { QVERIFY(Renew()); }
    void print_data();
    void print();
    void printedPdfIsPrivate_data();
    void printedPdfIsPrivate();
    void pdfLeavesKeptFilesAlone_data();
    void pdfLeavesKeptFilesAlone();
};

void HistoryPrinterTest::print_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    // The least number of pages; how many lines fit on one depends on the
    // font, so a long history is only known to need more than one.
    QTest::addColumn<int>("pages");
    const auto a4 = QPageSize::A4;
    QTest::newRow("a short history on one page") << 3 << "pdf" << a4 << 1;
    QTest::newRow("a long history runs on") << 200 << "pdf" << a4 << 2;
    // A6 is narrower than the table at the default font.
    QTest::newRow("small paper: the table is made to fit") << 200 << "pdf" << QPageSize::A6 << 2;
    QTest::newRow("names holding control characters") << 4 << "pdf, control" << a4 << 1;
    QTest::newRow("cancelled") << 3 << "cancel" << a4 << 0;
    QTest::newRow("unreadable record") << 3 << "pdf, bad record" << a4 << 0;
}

void HistoryPrinterTest::print()
{
    QFETCH(int, records);
    QFETCH(QString, answer);
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(int, pages);
    if (pages > 0 && QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed to read the printed pages");
    // The words each record's printed line must show, in this order.
    QList<QStringList> expected{{"Recording", "Date", "Time", "CMF", "Results", "Reliability"}};
    QList<HistoryRecord> history = HistoryFiles::people(records);
    for (int i = 0; i < records; ++i) {
        HistoryRecord &record = history[i];
        if (answer.endsWith("control"))
            record.RecName = QString("Tab\t%1\r\nNext\x1b").arg(i).leftJustified(20, ' ');
        if (answer.endsWith("bad record") && i == 1)
            record.RecCMF = 1000; // wider than its column
        // The list shows the same columns (no CMF here is above 100).
        const auto line = HistoryList::Line(record, 40, 35);
        QVERIFY(line || answer.endsWith("bad record"));
        expected << line.value_or(QString())
                        .split(' ', Qt::SkipEmptyParts)
                        .filter(QRegularExpression("^[^*]"));
    }
    QVERIFY(Put("restest.dat", HistoryFiles::bytesOf(history)));

    const QString pdf = In("out.pdf");
    if (answer == "cancel")
        m_dialogs.QueuePrinter(std::nullopt);
    else
        m_dialogs.QueuePrinter([pdf, paper](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(paper));
        });
    HistoryPrinter::Print(m_dlog, DefaultHistory(), DefaultHistory());

    QCOMPARE(m_dialogs.Log().size(), 1);
    // A PDF is offered beside the history.
    QCOMPARE(std::get<Dialogs::PrinterRequest>(m_dialogs.Log().first()).initDir, Folder());
    if (pages == 0) {
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    const QList<Page> printed = pagesOf(pdf);
    if (pages == 1)
        QCOMPARE(printed.size(), 1);
    else
        QVERIFY(printed.size() >= pages);

    QList<QStringList> lines;
    QList<QList<Word>> placed;
    for (const Page &page : printed) {
        QVERIFY(!page.lines.isEmpty()); // no empty page
        for (const QList<Word> &line : page.lines) {
            for (const Word &word : line) {
                QVERIFY2(word.left >= 0 && word.top >= 0 && word.right <= page.width &&
                             word.bottom <= page.height,
                         qPrintable(word.text));
                // Readable: at least 6 points high on A4 (about 9 point
                // type as drawn); A6 may be smaller, never under 4.
                QVERIFY2(word.bottom - word.top >= (paper == QPageSize::A4 ? 6.0 : 4.0),
                         qPrintable(word.text));
            }
            lines << textOf(line);
            placed << line;
        }
    }
    // Each record on one line of its own, in file order.
    QCOMPARE(lines, expected);
    // Every column starts where its title does (a Normal is indented by
    // the blanks in front of it).
    const QList<Word> &titles = placed.first();
    for (qsizetype row = 1; row < placed.size(); ++row) {
        const QList<Word> &line = placed.at(row);
        QCOMPARE(line.first().left, titles.first().left);
        for (qsizetype column = 1; column < titles.size(); ++column) {
            const Word &word = line.at(line.size() - titles.size() + column);
            if (word.text != "Normal")
                QVERIFY2(std::abs(word.left - titles.at(column).left) < 0.5,
                         qPrintable(QString("line %1: %2").arg(row).arg(word.text)));
        }
    }
}

void HistoryPrinterTest::printedPdfIsPrivate_data()
{
    QTest::addColumn<int>("existing"); // the PDF's mode beforehand, 0 for none
    QTest::addColumn<int>("mode");
    QTest::newRow("a new PDF is for owner and group") << 0 << 0640;
    QTest::newRow("a shared one stays shared") << 0664 << 0664;
    QTest::newRow("a private one stays private") << 0600 << 0600;
}

// Under the usual umask 022, the printer's own writer would make the PDF
// readable by everyone.
void HistoryPrinterTest::printedPdfIsPrivate()
{
    QFETCH(int, existing);
    QVERIFY(Put("restest.dat", HistoryFiles::bytesOf(HistoryFiles::people(1))));
    const QString pdf = In("out.pdf");
    if (existing != 0) {
        QVERIFY(Put("out.pdf", "older"));
        QCOMPARE(::chmod(qPrintable(pdf), mode_t(existing)), 0);
    }
    m_dialogs.QueuePrinter([pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    const mode_t mask = ::umask(022);
    HistoryPrinter::Print(m_dlog, DefaultHistory(), DefaultHistory());
    ::umask(mask);

    struct stat info
    {
    };
    QCOMPARE(::stat(qPrintable(pdf), &info), 0);
    QTEST(int(info.st_mode & 07777), "mode");
    QFile printed(pdf);
    QVERIFY(printed.open(QIODevice::ReadOnly) && printed.read(5) == "%PDF-");
}

void HistoryPrinterTest::pdfLeavesKeptFilesAlone_data()
{
    QTest::addColumn<bool>("report"); // one test's report, else the table
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("oldViewed"); // old.dat in use, else the default restest.dat
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<QString>("said"); // empty: printed, into "chosen"
    const QString refused = "Permission denied. Data not saved!";
    const QString full = "The disk is full or cannot be written. Data not saved!";
    QTest::newRow("the history") << false << "restest.dat" << false << false << refused;
    QTest::newRow("the default, old viewed") << true << "restest.dat" << true << false << refused;
    QTest::newRow("a backup") << false << "res/restest. 17" << false << false << refused;
    QTest::newRow("a hard link of a backup") << true << "kept.pdf" << false << false << refused;
    QTest::newRow("a folder that is not there")
        << false << "no/out.pdf" << false << false << refused;
    QTest::newRow("another file beside backups") << true << "res/a.pdf" << false << false << "";
    QTest::newRow("the table, disk full") << false << "out.pdf" << false << true << full;
    QTest::newRow("the report, disk full") << true << "out.pdf" << false << true << full;
}

// "Output file" set to the history and the dialog's "overwrite?" answered
// Yes: the PDF engine alone would have made the history a PDF. A full disk
// (a file size limit, in a child process) would have left a cut-off PDF.
void HistoryPrinterTest::pdfLeavesKeptFilesAlone()
{
    QFETCH(bool, report);
    QFETCH(QString, chosen);
    QFETCH(bool, oldViewed);
    QFETCH(bool, diskFull);
    QFETCH(QString, said);
    const QByteArray history = HistoryFiles::bytesOf(HistoryFiles::people(50));
    QVERIFY(Put("restest.dat", history) && Put("old.dat", history + history) &&
            Put("res/restest. 17", history.left(80)) && Put("out.pdf", "an older PDF"));
    QCOMPARE(::link(qPrintable(In("res/restest. 17")), qPrintable(In("kept.pdf"))), 0);
    const auto snapshot = [this] {
        QMap<QString, QByteArray> files;
        for (const QString &folder : {QString(), QStringLiteral("res/")})
            for (const QString &name : QDir(In(folder)).entryList(QDir::Files | QDir::Hidden))
                files.insert(folder + name, Contents(folder + name));
        return files;
    };
    const QMap<QString, QByteArray> before = snapshot();

    const QString pdf = In(chosen);
    m_dialogs.QueuePrinter([pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    const QString viewed = In(oldViewed ? "old.dat" : "restest.dat");
    const auto print = [&] {
        if (report)
            ResultPrinter::Print(m_dlog, ResultReport(TestResult::Of(HistoryFiles::people(1)[0])),
                                 HistoryExport::Kept(viewed, DefaultHistory()));
        else
            HistoryPrinter::Print(m_dlog, viewed, DefaultHistory());
        return m_dialogs.MessageTexts().join('\n');
    };
    if (diskFull) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 4000; // well under any page
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::_exit(print() == said ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    } else {
        QCOMPARE(print(), said);
    }

    QMap<QString, QByteArray> after = snapshot();
    if (said.isEmpty())
        QVERIFY(after.take(chosen).startsWith("%PDF-"));
    QCOMPARE(after, before);
}

QTEST_MAIN(HistoryPrinterTest)
#include "HistoryPrinterTest.moc"
