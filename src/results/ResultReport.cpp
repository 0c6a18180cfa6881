#include "ResultReport.h"

#include "DynamicsPainter.h"
#include "DynamicsPlot.h"
#include "platform/DateText.h"
#include "record/Evaluation.h"
#include "record/OleDate.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace {

// The sheet in millimetres: its margins (at most a tenth of the paper's
// width), the least width the report is laid out for (narrower paper gets
// it smaller), and the graph's share of the width with the least height it
// may be squeezed to.
constexpr double MarginMm = 20.0;
constexpr double MarginShare = 0.1;
constexpr double LeastWidthMm = 150.0;
constexpr double GraphShare = 0.7;
constexpr double LeastGraphMm = 60.0;
// Paper this much wider than high is used in two columns, the body taking
// its share and the graph the rest after a gap (in points).
constexpr double WideRatio = 1.2;
constexpr double WideBodyShare = 0.56;
constexpr double ColumnGap = 24.0;
constexpr double MmPerInch = 25.4;
constexpr double PointsPerInch = 72.0;
constexpr double TwipsPerPoint = 20.0;
// One pixel of the screen the graph was designed on, in twips.
constexpr double TwipsPerScreenPixel = 15.0;

const QColor Ink(0, 0, 0);
const QColor Muted(96, 96, 96);
const QColor Hairline(160, 160, 160);
// What the results window writes a verdict in when it names no colour.
const QColor DefaultVerdict(0, 0, 0);

// Painting in the device's own pixels with sizes given in points, so
// fonts (resolved at the device's resolution) and lines agree on every
// device; a uniform scale on the painter makes the whole sheet smaller
// where the paper needs it.
class Sheet
{
public:
    Sheet(QPainter &painter, QPaintDevice &device, double width)
        : m_painter(painter), m_device(device), m_pt(device.logicalDpiY() / PointsPerInch),
          m_width(width)
    {}

    double Pt(double points) const { return points * m_pt; }
    double Width() const { return m_width; }
    void SetWidth(double width) { m_width = width; }
    QPainter &Painter() { return m_painter; }

    QFont Font(double points, bool bold = false) const
    {
        QFont font(QFont(), &m_device);
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
    }
    QFontMetricsF Metrics(const QFont &font) const { return QFontMetricsF(font, &m_device); }

    // Writes text with its top at y and returns the height it took.
    double Text(const QRectF &box, const QFont &font, const QColor &colour, const QString &text,
                int flags = Qt::AlignLeft)
    {
        m_painter.setFont(font);
        m_painter.setPen(colour);
        QRectF used;
        m_painter.drawText(box, flags | Qt::AlignTop, text, &used);
        return used.height();
    }
    double WrappedHeight(const QFont &font, double width, const QString &text) const
    {
        return Metrics(font)
            .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap | Qt::AlignLeft, text)
            .height();
    }
    void HLine(double x1, double x2, double y, const QColor &colour, double points)
    {
        m_painter.setPen(QPen(colour, Pt(points), Qt::SolidLine, Qt::FlatCap));
        m_painter.drawLine(QPointF(x1, y), QPointF(x2, y));
    }

private:
    QPainter &m_painter;
    QPaintDevice &m_device;
    double m_pt;
    double m_width;
};

// A small caption over a value, as a form writes a field; returns the
// height taken.
double Field(Sheet &sheet, double x, double y, double width, const QString &caption,
             const QString &value, const QColor &colour, double points, bool bold)
{
    const QFont captionFont = sheet.Font(8.5);
    const double captionHeight = sheet.Metrics(captionFont).height();
    sheet.Text({x, y, width, captionHeight}, captionFont, Muted, caption);
    const QFont valueFont = sheet.Font(points, bold);
    const double valueHeight = sheet.Metrics(valueFont).height();
    sheet.Text({x, y + captionHeight + sheet.Pt(2), width, valueHeight}, valueFont, colour, value,
               Qt::AlignLeft | Qt::TextSingleLine);
    return captionHeight + sheet.Pt(2) + valueHeight;
}

double FieldHeight(const Sheet &sheet, double points, bool bold)
{
    return sheet.Metrics(sheet.Font(8.5)).height() + sheet.Pt(2) +
           sheet.Metrics(sheet.Font(points, bold)).height();
}

// The four counts under the intervals they were counted in, and below them
// any further rows of four figures (the rhythm of the presses).
constexpr double CellPoints = 11.0;
constexpr double RowPadding = 4.0;

struct TableRow
{
    QString label;
    std::array<QString, 4> cells;
};

double CountsTableHeight(const Sheet &sheet, qsizetype rows)
{
    return double(rows + 1) *
           (sheet.Metrics(sheet.Font(CellPoints)).height() + sheet.Pt(2 * RowPadding));
}

void CountsTable(Sheet &sheet, double y, double width, const QList<TableRow> &rows)
{
    QPainter &painter = sheet.Painter();
    const double rowHeight =
        sheet.Metrics(sheet.Font(CellPoints)).height() + sheet.Pt(2 * RowPadding);
    const double firstWidth = std::max(width * 0.24, sheet.Pt(80));
    const double cellWidth = std::min((width - firstWidth) / 4, width * 0.12);
    const double right = firstWidth + 4 * cellWidth;
    const TableRow heads{
        QCoreApplication::translate("ResultReport", "Interval"),
        {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(238, 238, 238));
    painter.drawRect(QRectF(0, y, right, rowHeight));
    painter.setBrush(Qt::NoBrush);
    const qsizetype lines = rows.size() + 1;
    for (qsizetype row = 0; row < lines; ++row) {
        const TableRow &shown = row == 0 ? heads : rows.at(row - 1);
        const double top = y + double(row) * rowHeight + sheet.Pt(RowPadding);
        for (int column = 0; column < 5; ++column) {
            const double left = column == 0 ? 0 : firstWidth + (column - 1) * cellWidth;
            const double cell = column == 0 ? firstWidth : cellWidth;
            const QString &text = column == 0 ? shown.label : shown.cells.at(column - 1);
            sheet.Text({left + sheet.Pt(6), top, cell - sheet.Pt(12), rowHeight},
                       sheet.Font(CellPoints, row == 0), Ink, text,
                       column == 0 ? Qt::AlignLeft : Qt::AlignRight);
        }
    }
    for (qsizetype line = 0; line <= lines; ++line)
        sheet.HLine(0, right, y + double(line) * rowHeight, Hairline, 0.75);
    painter.setPen(QPen(Hairline, sheet.Pt(0.75)));
    for (double x : {0.0, firstWidth, firstWidth + cellWidth, firstWidth + 2 * cellWidth,
                     firstWidth + 3 * cellWidth, right})
        painter.drawLine(QPointF(x, y), QPointF(x, y + double(lines) * rowHeight));
}

// The table's rows: the counts, and the rhythm where presses are kept.
QList<TableRow> TableRows(const TestResult &result, const KeyPresses &presses)
{
    TableRow counts{QCoreApplication::translate("ResultReport", "Key presses"), {}};
    for (std::size_t i = 0; i < 4; ++i)
        counts.cells.at(i) = QString::number(result.record.RecCounts.at(i));
    if (presses.isEmpty())
        return {counts};
    const auto rhythm = ResultReport::RhythmOf(presses);
    const auto shown = [](const std::optional<double> &ms) {
        return ms ? QString::number(*ms, 'f', 1) : QStringLiteral("\u2013");
    };
    TableRow mean{QCoreApplication::translate("ResultReport", "Mean gap, ms"), {}};
    TableRow sd{QCoreApplication::translate("ResultReport", "SD of gaps, ms"), {}};
    for (std::size_t i = 0; i < 4; ++i) {
        mean.cells.at(i) = shown(rhythm.at(i).meanMs);
        sd.cells.at(i) = shown(rhythm.at(i).sdMs);
    }
    return {counts, mean, sd};
}

// The dynamics graph as the results window draws it, its box `width`
// wide with its top-left corner at `at`.
void Graph(Sheet &sheet, QPointF at, double width, const std::array<std::int16_t, 4> &counts)
{
    QPainter &painter = sheet.Painter();
    const double scale = width / DynamicsPlot::BoxWidth; // painter units a twip
    // Font sizes grow with the graph: a point is 20 twips on the screen.
    const double zoom = scale * TwipsPerPoint / sheet.Pt(1);
    const QRectF frame(at, QSizeF(DynamicsPlot::BoxWidth, DynamicsPlot::BoxHeight) * scale);
    painter.save();
    painter.setPen(QPen(Hairline, sheet.Pt(0.75)));
    painter.drawRect(frame);
    // Whatever would leave the box is cut off by it, as on the screen.
    painter.setClipRect(frame);

    const DynamicsPainter graph(
        painter, [&](QPointF twips) { return at + twips * scale; }, TwipsPerScreenPixel * scale,
        sheet.Font(DynamicsPlot::CaptionPoints * zoom), DynamicsPainter::Medium::Paper);
    const DynamicsPlot plot(counts[0], counts[1], counts[2], counts[3]);
    graph.PaintGrid();
    painter.setRenderHint(QPainter::Antialiasing);
    graph.PaintLine(plot);
    graph.PaintTrend(plot);
    graph.PaintCounts(plot);
    graph.PaintAxes();
    graph.PaintCaptions(plot);
    painter.restore();
}

// The paper and the part of it the device can paint, in the painter's
// coordinates.
struct Paper
{
    QRectF sheet;
    QRectF paintable;
};

Paper PaperOf(QPaintDevice &device)
{
    const QRectF paintable(0, 0, device.width(), device.height());
    const auto *paged = dynamic_cast<QPagedPaintDevice *>(&device);
    if (paged == nullptr)
        return {paintable, paintable};
    const QPageLayout layout = paged->pageLayout();
    const int resolution = device.logicalDpiY();
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    return {QRectF(full).translated(-paint.topLeft()), paintable};
}

// The parts of the sheet apart from the graph: the head across the whole
// width, the body (who was tested and when, the counts, the evaluation and
// how it is reached), a section's heading and the foot at the bottom. Each
// is measured by the same numbers it is painted with.
class Parts
{
public:
    Parts(Sheet &sheet, const TestResult &result, const KeyPresses &presses, const QLocale &locale)
        : m_sheet(sheet), m_result(result), m_rows(TableRows(result, presses)), m_locale(locale)
    {}

    double Head() const
    {
        return Height(ProgramFont()) + m_sheet.Pt(4) + Height(TitleFont()) + m_sheet.Pt(6) + Gap();
    }
    double Heading() const { return Height(HeadingFont()) + m_sheet.Pt(6); }
    double Foot() const { return Gap() + m_sheet.Pt(6) + Height(FootFont()); }
    double Body(double width) const
    {
        return IdentityHeight(width) + Gap() + Heading() +
               CountsTableHeight(m_sheet, m_rows.size()) + Gap() + Heading() + VerdictHeight() +
               m_sheet.Pt(8) +
               m_sheet.WrappedHeight(NoteFont(), width, ResultReport::Explanation()) + Gap();
    }

    // Each returns where the next part starts.
    double PaintHead(double width) const
    {
        double y = 0;
        m_sheet.Text({0, y, width, Height(ProgramFont())}, ProgramFont(), Muted,
                     ResultReport::ProgramName());
        m_sheet.Text({0, y, width, Height(ProgramFont())}, m_sheet.Font(9), Muted,
                     QCoreApplication::translate(
                         "ResultReport", "Psychomotor test of the maximal key-pressing rate"),
                     Qt::AlignRight);
        y += Height(ProgramFont()) + m_sheet.Pt(4);
        m_sheet.Text({0, y, width, Height(TitleFont())}, TitleFont(), Ink, ResultReport::Title());
        y += Height(TitleFont()) + m_sheet.Pt(6);
        m_sheet.HLine(0, width, y, Ink, 1.0);
        return y + Gap();
    }

    double PaintBody(double y, double width) const
    {
        // Who was tested, and when.
        const QString date =
            DateText::FromOle(m_result.record.RecDate, m_locale).value_or(QString());
        const QString time =
            DateText::FromOle(m_result.record.RecTime, m_locale).value_or(QString());
        double dateLeft = width * NameShare;
        if (NameAlone(width)) {
            Field(m_sheet, 0, y, width, QCoreApplication::translate("ResultReport", "Name"), Name(),
                  Ink, NamePoints(width), false);
            y += FieldHeight(m_sheet, IdentityPoints, false) + m_sheet.Pt(6);
            dateLeft = 0;
        } else {
            Field(m_sheet, 0, y, dateLeft, QCoreApplication::translate("ResultReport", "Name"),
                  Name(), Ink, IdentityPoints, false);
        }
        const double dateWidth = width * (1 - NameShare) / 2;
        Field(m_sheet, dateLeft, y, dateWidth, QCoreApplication::translate("ResultReport", "Date"),
              date, Ink, IdentityPoints, false);
        y += Field(m_sheet, dateLeft + dateWidth, y, dateWidth,
                   QCoreApplication::translate("ResultReport", "Time"), time, Ink, IdentityPoints,
                   false);
        y += Gap();

        PaintHeading(0, y, width,
                     QCoreApplication::translate(
                         "ResultReport", "Key presses in each interval of about 5 seconds"));
        y += Heading();
        CountsTable(m_sheet, y, width, m_rows);
        y += CountsTableHeight(m_sheet, m_rows.size()) + Gap();

        PaintHeading(0, y, width, QCoreApplication::translate("ResultReport", "Evaluation"));
        y += Heading();
        PaintVerdicts(y, width);
        y += VerdictHeight() + m_sheet.Pt(8);
        y += m_sheet.Text({0, y, width, 1e6}, NoteFont(), Muted, ResultReport::Explanation(),
                          Qt::TextWordWrap);
        return y + Gap();
    }

    void PaintHeading(double x, double y, double width, const QString &text) const
    {
        m_sheet.Text({x, y, width, Heading()}, HeadingFont(), Ink, text);
    }

    void PaintFoot(double bottom, double width, const QString &printed) const
    {
        const double top = bottom - Height(FootFont());
        m_sheet.HLine(0, width, top - m_sheet.Pt(6), Hairline, 0.75);
        m_sheet.Text({0, top, width, Height(FootFont())}, FootFont(), Muted, printed);
        m_sheet.Text({0, top, width, Height(FootFont())}, FootFont(), Muted,
                     ResultReport::ProgramName() + QStringLiteral(" 2.0"), Qt::AlignRight);
    }

private:
    static constexpr double IdentityPoints = 13.0;
    static constexpr double VerdictPoints = 16.0;
    // The name's part of the line it shares with the date and the time.
    static constexpr double NameShare = 0.5;

    // A name too long for its part of the line (twenty wide letters are)
    // takes a line of its own above the date and time, and smaller type
    // only where even that line is too short, so it is never cut.
    QString Name() const { return ResultReport(m_result).ShownName(); }
    double NameWidth(double points) const
    {
        return m_sheet.Metrics(m_sheet.Font(points)).horizontalAdvance(Name());
    }
    bool NameAlone(double width) const
    {
        return NameWidth(IdentityPoints) > width * NameShare - m_sheet.Pt(8);
    }
    double NamePoints(double width) const
    {
        // A little to spare for the rounding of glyph positions.
        const double needed = NameWidth(IdentityPoints) * 1.02;
        return needed > width ? IdentityPoints * width / needed : IdentityPoints;
    }
    double IdentityHeight(double width) const
    {
        const double field = FieldHeight(m_sheet, IdentityPoints, false);
        return NameAlone(width) ? 2 * field + m_sheet.Pt(6) : field;
    }

    QFont ProgramFont() const { return m_sheet.Font(10, true); }
    QFont TitleFont() const { return m_sheet.Font(20, true); }
    QFont HeadingFont() const { return m_sheet.Font(10.5, true); }
    QFont NoteFont() const { return m_sheet.Font(9); }
    QFont FootFont() const { return m_sheet.Font(8.5); }
    double Height(const QFont &font) const { return m_sheet.Metrics(font).height(); }
    double Gap() const { return m_sheet.Pt(16); }
    double VerdictHeight() const
    {
        return FieldHeight(m_sheet, VerdictPoints, true) + m_sheet.Pt(14);
    }

    // The CMF value and both verdicts, each in a box of its own, in the
    // words and colours of the results window.
    void PaintVerdicts(double y, double width) const
    {
        const std::int16_t cmf = m_result.Cmf();
        using Display = Evaluation::Display;
        const auto results = Evaluation::Present(m_result.results, Display::ResultsWindow);
        const auto reliability = Evaluation::Present(m_result.reliability, Display::ResultsWindow);
        const std::array<std::tuple<QString, QString, QColor>, 3> cells{
            std::tuple{QCoreApplication::translate("ResultReport", "CMF"), QString::number(cmf),
                       Ink},
            std::tuple{QCoreApplication::translate("ResultReport", "Results"), results.text,
                       results.colour.value_or(DefaultVerdict)},
            std::tuple{QCoreApplication::translate("ResultReport", "Reliability"), reliability.text,
                       reliability.colour.value_or(DefaultVerdict)}};
        const double cell = width / 3;
        const double padding = m_sheet.Pt(8);
        QPainter &painter = m_sheet.Painter();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const auto &[caption, value, colour] = cells[i];
            const double left = cell * double(i);
            Field(m_sheet, left + padding, y + m_sheet.Pt(7), cell - 2 * padding, caption, value,
                  colour, VerdictPoints, true);
            painter.setPen(QPen(Hairline, m_sheet.Pt(0.75)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(left, y, cell, VerdictHeight()));
        }
    }

    Sheet &m_sheet;
    const TestResult &m_result;
    QList<TableRow> m_rows;
    QLocale m_locale;
};

} // namespace

QString ResultReport::ShownName() const
{
    QString name = m_result.record.RecName.trimmed();
    std::replace_if(
        name.begin(), name.end(), [](QChar ch) { return ch.unicode() < 0x20; }, QLatin1Char(' '));
    return name.trimmed();
}

QString ResultReport::DocumentName() const
{
    QString name = ShownName();
    // A file name may hold none of these, and a dot would be taken for
    // the start of an extension.
    for (QChar &ch : name) {
        if (QStringLiteral("/\\:*?\"<>|.").contains(ch))
            ch = QLatin1Char(' ');
    }
    // Named in English whatever the language, as the files are.
    QStringList parts{QStringLiteral("Test result")};
    if (!name.simplified().isEmpty())
        parts << name.simplified();
    // The time too, so two tests of one day get names of their own; with
    // dashes, as a colon is no part of a file name everywhere.
    if (const auto date = OleDate::ToDate(m_result.record.RecDate)) {
        QString when = date->toString(Qt::ISODate);
        if (const auto time = OleDate::ToTime(m_result.record.RecTime))
            when += time->toString(QStringLiteral(" HH-mm-ss"));
        parts << when;
    }
    return parts.join(QStringLiteral(" - "));
}

std::array<ResultReport::Rhythm, 4> ResultReport::RhythmOf(const KeyPresses &presses)
{
    std::array<Rhythm, 4> rhythm;
    for (int interval = 1; interval <= 4; ++interval) {
        // The gaps within the interval: the first press of an interval
        // follows a press of the one before, which is another interval's.
        QList<double> gaps;
        std::optional<qint64> last;
        for (const KeyPress &press : presses) {
            if (press.interval != interval)
                continue;
            if (last)
                gaps.append(double(press.ms - *last));
            last = press.ms;
        }
        Rhythm &figures = rhythm.at(std::size_t(interval - 1));
        if (gaps.isEmpty())
            continue;
        double sum = 0;
        for (const double gap : gaps)
            sum += gap;
        const double mean = sum / double(gaps.size());
        figures.meanMs = mean;
        if (gaps.size() < 2)
            continue;
        double squares = 0;
        for (const double gap : gaps)
            squares += (gap - mean) * (gap - mean);
        figures.sdMs = std::sqrt(squares / double(gaps.size() - 1));
    }
    return rhythm;
}

QString ResultReport::Explanation()
{
    return tr(
        "CMF is the fall of the key presses from the first interval to the last, in per cent of "
        "the first (-1 for any rise); Results is Normal for a CMF of 10 or less and Abnormal above "
        "it; Reliability is Unreliable when the first interval has fewer than 30 presses or the "
        "rate rose, and Reliable otherwise.");
}

bool ResultReport::Paint(QPaintDevice &device, const QDate &printedOn, const QLocale &locale) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    return Paint(painter, device, printedOn, locale);
}

bool ResultReport::Paint(QPainter &painter, QPaintDevice &device, const QDate &printedOn,
                         const QLocale &locale) const
{
    const double mm = device.logicalDpiY() / MmPerInch;
    const Paper paper = PaperOf(device);
    const double margin = std::min(MarginMm * mm, paper.sheet.width() * MarginShare);
    const QRectF content =
        paper.sheet.adjusted(margin, margin, -margin, -margin).intersected(paper.paintable);
    if (content.isEmpty()) {
        painter.end();
        return false;
    }

    // Laid out at full size on paper at least LeastWidthMm wide; narrower
    // paper, or paper too short for the graph's least height, gets it all
    // smaller. On paper turned sideways the graph stands beside the rest.
    const bool wide = content.width() > content.height() * WideRatio;
    double shrink = std::min(1.0, content.width() / (LeastWidthMm * mm));
    Sheet sheet(painter, device, content.width() / shrink);
    const Parts parts(sheet, m_result, m_presses, locale);
    const auto bodyWidth = [&] {
        return wide ? sheet.Width() * WideBodyShare : sheet.Width();
    };
    // The height the sheet needs with the graph at its least, and the
    // room the graph gets at the present scale.
    const auto needed = [&] {
        const double graph = parts.Heading() + LeastGraphMm * mm;
        const double body = parts.Body(bodyWidth());
        return parts.Head() + (wide ? std::max(body, graph) : body + graph) + parts.Foot();
    };
    if (needed() > content.height() / shrink) {
        // A wider sheet wraps the sentence into fewer lines, so the body
        // only gets shorter at the new scale.
        shrink = content.height() / needed();
        sheet.SetWidth(content.width() / shrink);
    }
    const double graphRoom = content.height() / shrink - parts.Head() - parts.Foot() -
                             parts.Heading() - (wide ? 0.0 : parts.Body(bodyWidth()));
    const double width = sheet.Width();
    const double height = content.height() / shrink;
    const double ratio = DynamicsPlot::BoxHeight / DynamicsPlot::BoxWidth;
    painter.translate(content.topLeft());
    painter.scale(shrink, shrink);

    const double top = parts.PaintHead(width);
    const double bodyBottom = parts.PaintBody(top, bodyWidth());
    // The graph under the body, or in the column beside it.
    const double columnLeft = wide ? bodyWidth() + sheet.Pt(ColumnGap) : 0;
    const double columnWidth = width - columnLeft;
    const double graphTop = wide ? top : bodyBottom;
    const double graphWidth =
        std::min(columnWidth * (wide ? 1.0 : GraphShare), std::max(0.0, graphRoom) / ratio);
    parts.PaintHeading(columnLeft, graphTop, columnWidth, tr("Dynamics"));
    Graph(sheet, {columnLeft + (columnWidth - graphWidth) / 2, graphTop + parts.Heading()},
          graphWidth, m_result.record.RecCounts);
    parts.PaintFoot(height, width, tr("Printed on %1").arg(DateText::ShortDate(printedOn, locale)));
    return painter.end();
}
