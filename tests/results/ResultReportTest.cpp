// The one-test report as it comes out of a real PDF: read back with its
// words' places (pdftotext -bbox) and rasterised (pdftoppm). One page,
// every word on the paper inside its margins, the name, date, time, counts
// and verdicts as the results window shows them, the verdicts in their
// colours, and a graph whose red line reads, against the printed scale,
// as the counts that were counted, each point with its number beside it.
#include "results/ResultReport.h"
#include "PdfPages.h"
#include "record/OleDate.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using Counts = std::array<std::int16_t, 4>;
using PdfPages::Page;
using PdfPages::Word;

namespace {

const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);
constexpr int Dpi = 150;

bool near(QRgb pixel, const QColor &colour, int within)
{
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
               std::abs(qBlue(pixel) - colour.blue()) <=
           within;
}

// The plotted line, also where its edges are blended into the paper.
bool reddish(QRgb pixel)
{
    return qRed(pixel) > 150 && qRed(pixel) - qGreen(pixel) > 80 &&
           qGreen(pixel) - qBlue(pixel) < 30 && qBlue(pixel) - qGreen(pixel) < 30;
}

// Pixels of a colour under a word (its box in points).
int pixelsUnder(const QImage &image, const Word &word, const QColor &colour)
{
    const double k = Dpi / 72.0;
    int found = 0;
    for (int y = int(word.top * k); y <= int(word.bottom * k); ++y)
        for (int x = int(word.left * k); x <= int(word.right * k); ++x)
            found += image.valid(x, y) && near(image.pixel(x, y), colour, 60);
    return found;
}

const Word *find(const Page &page, const QString &text)
{
    for (const QList<Word> &line : page.lines)
        for (const Word &word : line)
            if (word.text == text)
                return &word;
    return nullptr;
}

} // namespace

class ResultReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void page_data();
    void page();
    void anyPaintDevice();
    void documentName_data();
    void documentName();

private:
    QTemporaryDir m_dir;
};

void ResultReportTest::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("pdftotext and pdftoppm (poppler-utils) are needed to read the printed page");
    QVERIFY(m_dir.isValid());
}

void ResultReportTest::page_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Counts>("counts");
    QTest::addColumn<int>("cmf");
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QColor>("resultsColour");
    QTest::addColumn<QString>("reliability");
    QTest::addColumn<QColor>("reliabilityColour");
    // The presses kept beside the history, and the mean gap and its SD of
    // intervals 1 to 4 as printed; none kept, no such rows.
    QTest::addColumn<KeyPresses>("presses");
    QTest::addColumn<QStringList>("means");
    QTest::addColumn<QStringList>("deviations");
    const auto portrait = QPageLayout::Portrait;
    // Gaps of 100 and 150 ms in the first interval (the 110 ms from the
    // last press before it is another interval's), one gap in the second,
    // one press in the third, an even 100 ms in the fourth.
    const KeyPresses uneven{{0, 1, 0, 38},      {0, 2, 90, 38},    {1, 3, 200, 38},
                            {1, 4, 300, 38},    {1, 5, 450, 38},   {2, 6, 5200, 38},
                            {2, 7, 5320, 38},   {3, 8, 10100, 38}, {4, 9, 15000, 38},
                            {4, 10, 15100, 38}, {4, 11, 15200, 38}};
    const QString none = QStringLiteral("\u2013");
    const QStringList means{"125.0", "120.0", none, "100.0"};
    const QStringList deviations{"35.4", none, none, "0.0"};
    QTest::newRow("Normal and Reliable, A4")
        << "Anna Petrova" << Counts{40, 40, 39, 38} << 5 << QPageSize::A4 << portrait << "Normal"
        << Green << "Reliable" << Black << uneven << means << deviations;
    QTest::newRow("Abnormal and Unreliable, Letter")
        << "John Smith" << Counts{20, 19, 17, 15} << 25 << QPageSize::Letter << portrait
        << "Abnormal" << Red << "Unreliable" << Red << KeyPresses{} << QStringList{}
        << QStringList{};
    // Counts beyond the designed scale, on paper too short for the graph
    // at its full size.
    QTest::newRow("a rise past the top line, A4 landscape")
        << "Ivan Orlov" << Counts{19, 47, 8, 60} << -1 << QPageSize::A4 << QPageLayout::Landscape
        << "Normal" << Green << "Unreliable" << Red << KeyPresses{} << QStringList{}
        << QStringList{};
    QTest::newRow("Cyrillic name on A6: smaller, still on the paper")
        << "Анна Петрова" << Counts{36, 35, 31, 29} << 19 << QPageSize::A6 << portrait << "Abnormal"
        << Red << "Reliable" << Black << uneven << means << deviations;
    QTest::newRow("A6 landscape: two columns, smaller")
        << "Anna Petrova" << Counts{31, 30, 30, 29} << 6 << QPageSize::A6 << QPageLayout::Landscape
        << "Normal" << Green << "Reliable" << Black << uneven << means << deviations;
    // The widest names a record holds: they need more than their half of
    // the line.
    QTest::newRow("twenty wide letters, A4")
        << QString(20, QChar(u'W')) << Counts{40, 40, 39, 38} << 5 << QPageSize::A4 << portrait
        << "Normal" << Green << "Reliable" << Black << KeyPresses{} << QStringList{}
        << QStringList{};
    QTest::newRow("twenty wide Cyrillic letters, A6 landscape")
        << QString(20, QChar(u'Ж')) << Counts{40, 40, 39, 38} << 5 << QPageSize::A6
        << QPageLayout::Landscape << "Normal" << Green << "Reliable" << Black << KeyPresses{}
        << QStringList{} << QStringList{};
}

void ResultReportTest::page()
{
    QFETCH(QString, name);
    QFETCH(Counts, counts);
    QFETCH(int, cmf);
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QString, results);
    QFETCH(QColor, resultsColour);
    QFETCH(QString, reliability);
    QFETCH(QColor, reliabilityColour);
    QFETCH(KeyPresses, presses);
    QFETCH(QStringList, means);
    QFETCH(QStringList, deviations);

    HistoryRecord result;
    result.SetName(name);
    result.RecDate = OleDate::FromDate(QDate(2002, 12, 7));
    result.RecTime = OleDate::FromTime(QTime(14, 30, 25));
    result.RecCMF = std::int16_t(cmf);
    result.RecCounts = counts;
    const QString pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(paper));
        writer.setPageOrientation(orientation);
        QVERIFY(ResultReport(TestResult::Of(result), presses)
                    .Paint(writer, QDate(2002, 12, 9), QLocale(QLocale::Russian, QLocale::Russia)));
    }

    const QList<Page> pages = PdfPages::pagesOf(pdf);
    QCOMPARE(pages.size(), 1);
    const Page &page = pages.first();
    // Nothing off the paper, nothing in the last 5 mm at its edges.
    const double edge = 5 / 25.4 * 72;
    for (const QList<Word> &line : page.lines)
        for (const Word &word : line)
            QVERIFY2(word.left >= edge && word.top >= edge && word.right <= page.width - edge &&
                         word.bottom <= page.height - edge,
                     qPrintable(word.text));

    // What the results window shows, and the counts in their table row.
    const QStringList words = PdfPages::wordsOf(page);
    QStringList expected{
        "Velmora", "Test",      "result",  "07.12.2002", "14:30:25", QString::number(cmf),
        results,   reliability, "Printed", "09.12.2002"};
    expected << name.split(' ');
    for (const QString &word : expected)
        QVERIFY2(words.contains(word), qPrintable(word));
    // The whole name shows: none of it lies under another word.
    for (const QString &part : name.split(' ')) {
        const Word *shown = find(page, part);
        for (const QList<Word> &line : page.lines)
            for (const Word &word : line)
                QVERIFY2(&word == shown || word.right <= shown->left || shown->right <= word.left ||
                             word.bottom <= shown->top || shown->bottom <= word.top,
                         qPrintable(part + " over " + word.text));
    }
    QStringList row{"Key", "presses"};
    for (std::int16_t count : counts)
        row << QString::number(count);
    QVERIFY(std::any_of(page.lines.cbegin(), page.lines.cend(), [&](const QList<Word> &line) {
        // Beside it may stand the graph's scale.
        return PdfPages::textOf(line).mid(0, row.size()) == row;
    }));
    // The rhythm of the presses under the counts, where they are kept; none
    // where there are none.
    const auto lineStarting = [&](const QString &first) {
        QStringList found;
        for (const QList<Word> &line : page.lines)
            if (PdfPages::textOf(line).value(0) == first)
                found = PdfPages::textOf(line);
        return found;
    };
    const QStringList meanLine = QStringList{"Mean", "gap,", "ms"} + means;
    const QStringList sdLine = QStringList{"SD", "of", "gaps,", "ms"} + deviations;
    if (means.isEmpty()) {
        QVERIFY(lineStarting("Mean").isEmpty() && lineStarting("SD").isEmpty());
    } else {
        QCOMPARE(lineStarting("Mean").mid(0, meanLine.size()), meanLine);
        QCOMPARE(lineStarting("SD").mid(0, sdLine.size()), sdLine);
    }

    // Each verdict in its colour and in no other verdict colour.
    const QImage image = PdfPages::raster(pdf, Dpi);
    QVERIFY(!image.isNull());
    QVERIFY(std::abs(image.width() - page.width * Dpi / 72.0) <= 1);
    for (const auto &[word, colour] :
         {std::pair{results, resultsColour}, std::pair{reliability, reliabilityColour}}) {
        const Word *shown = find(page, word);
        QVERIFY(shown != nullptr);
        QVERIFY2(pixelsUnder(image, *shown, colour) > 20, qPrintable(word));
        for (const QColor &other : {Green, Red})
            if (other != colour)
                QCOMPARE(pixelsUnder(image, *shown, other), 0);
    }

    // The graph: the seconds under its columns, the presses beside its
    // grid lines (the same number left and right of the columns).
    const double k = Dpi / 72.0;
    QList<Word> columns;
    for (const QList<Word> &line : page.lines)
        if (PdfPages::textOf(line) == QStringList{"5", "10", "15", "20"})
            columns = line;
    QCOMPARE(columns.size(), 4);
    // Only the words over the graph: beside it may stand other text.
    const auto middle = [](const Word &word) {
        return (word.left + word.right) / 2;
    };
    const double column = (middle(columns.last()) - middle(columns.first())) / 3;
    QList<QPair<double, double>> scale; // (y in points, presses)
    for (const QList<Word> &line : page.lines) {
        QList<Word> over;
        for (const Word &word : line)
            if (middle(word) > middle(columns.first()) - 1.3 * column &&
                middle(word) < middle(columns.last()) + 1.3 * column)
                over << word;
        bool number = false;
        const double value = over.value(0).text.toDouble(&number);
        if (number && over.size() >= 2 && over.first().text == over.last().text &&
            over.first().right < columns.first().left && over.last().left > columns.last().right)
            scale.append({(over.first().top + over.first().bottom) / 2, value});
    }
    QCOMPARE(scale.size(), 6);
    const double pressesPerLine = scale[0].second - scale[1].second;
    QVERIFY(pressesPerLine > 0);
    for (int i = 0; i < 4; ++i) {
        const int x = qRound((columns[i].left + columns[i].right) / 2 * k);
        QList<int> reds;
        for (int y = int(scale.first().first * k); y <= int(scale.last().first * k); ++y)
            if (reddish(image.pixel(x, y)))
                reds << y;
        QVERIFY2(!reds.isEmpty(), qPrintable(QString("no red line over %1 s").arg(5 * (i + 1))));
        const double y = (reds.first() + reds.last()) / 2.0 / k;
        const auto [y0, v0] = scale.last();
        const auto [y1, v1] = scale.first();
        const double value = v0 + (y - y0) * (v1 - v0) / (y1 - y0);
        QVERIFY2(std::abs(value - counts[std::size_t(i)]) <= pressesPerLine / 8,
                 qPrintable(QString("count %1 reads %2").arg(counts[std::size_t(i)]).arg(value)));
        // Its number just over or under it, as the window writes it.
        const QString number = QString::number(counts[std::size_t(i)]);
        const auto beside = [&](const Word &word) {
            return word.text == number &&
                   std::abs(middle(word) - middle(columns[i])) < column / 2 &&
                   std::abs((word.top + word.bottom) / 2 - y) < column / 4;
        };
        QVERIFY2(std::any_of(page.lines.cbegin(), page.lines.cend(),
                             [&](const QList<Word> &line) {
                                 return std::any_of(line.cbegin(), line.cend(), beside);
                             }),
                 qPrintable(QString("no %1 beside its point").arg(number)));
    }
}

// The same page painted into an image, and a device that cannot be
// painted on.
void ResultReportTest::anyPaintDevice()
{
    HistoryRecord result;
    result.SetName(QStringLiteral("Anna"));
    result.RecCounts = {40, 40, 39, 38};
    QImage image(595, 842, QImage::Format_RGB32);
    image.fill(Qt::white);
    QVERIFY(ResultReport(TestResult::Of(result)).Paint(image, QDate(2002, 12, 9)));
    int reds = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            reds += reddish(image.pixel(x, y));
    QVERIFY(reds > 50);
    QImage none;
    QVERIFY(!ResultReport(TestResult::Of(result)).Paint(none, QDate(2002, 12, 9)));
}

void ResultReportTest::documentName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("date");
    QTest::addColumn<double>("time");
    QTest::addColumn<QString>("document");
    const double morning = OleDate::FromTime(QTime(9, 15, 3));
    QTest::newRow("plain") << "Anna Petrova" << 37597.0 << morning
                           << "Test result - Anna Petrova - 2002-12-07 09-15-03";
    // A slash or a dot would make another folder or cut the name short.
    QTest::newRow("characters no file name holds")
        << "A.B/C:D\tE" << 37597.0 << 0.0 << "Test result - A B C D E - 2002-12-07 00-00-00";
    QTest::newRow("damaged time") << "Anna" << 37597.0 << std::nan("")
                                  << "Test result - Anna - 2002-12-07";
    QTest::newRow("blank name, damaged date") << "" << 1e300 << morning << "Test result";
}

void ResultReportTest::documentName()
{
    QFETCH(QString, name);
    QFETCH(double, date);
    QFETCH(double, time);
    HistoryRecord result;
    result.RecName = name.leftJustified(HistoryRecord::NameLength);
    result.RecDate = date;
    result.RecTime = time;
    QTEST(ResultReport(TestResult::Of(result)).DocumentName(), "document");
}

QTEST_MAIN(ResultReportTest)
#include "ResultReportTest.moc"
