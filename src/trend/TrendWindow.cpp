#include "TrendWindow.h"

#include "TrendTable.h"
#include "history/HistoryList.h"
#include "platform/HelpTopic.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/Twips.h"
#include "record/OleDate.h"

#include <QAbstractButton>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QScatterSeries>
#include <QTableView>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr double DesignWidth = 8385.0;
constexpr double DesignHeight = 4905.0;
constexpr qreal MarkerSize = 9.0;
constexpr qint64 MsPerDay = 24 * 3600 * 1000;
// Rows the table measures to size its columns: the texts are alike, and
// measuring thousands of them would only cost time.
constexpr int MeasuredRows = 50;

QColor colourOf(Evaluation::Results results)
{
    return Evaluation::Present(results, Evaluation::Display::ResultsWindow)
        .colour.value_or(QColor(Qt::black));
}

// The step between the labels of the CMF axis, so a person whose CMF
// stays low is not squeezed under an empty 100.
double cmfStep(int highest)
{
    const int top = std::max(highest, int(TrendWindow::LimitCmf)) + 1;
    return top <= 20 ? 5 : top <= 50 ? 10 : 20;
}

// Rows of the half-open range [first, last) that pass, as few as show
// their spread: the one with the lowest value and the one with the highest,
// in row order, once each.
template <typename Value, typename Pass>
void appendExtremes(QList<int> &rows, int first, int last, Value value, Pass pass)
{
    int low = -1;
    int high = -1;
    for (int row = first; row < last; ++row) {
        if (!pass(row))
            continue;
        if (low < 0 || value(row) < value(low))
            low = row;
        if (high < 0 || value(row) > value(high))
            high = row;
    }
    if (low < 0)
        return;
    rows.append(std::min(low, high));
    if (low != high)
        rows.append(std::max(low, high));
}

// The first row of bucket b of buckets that share count rows evenly.
int bucketStart(int count, int buckets, int b)
{
    return static_cast<int>(qint64(count) * b / buckets);
}

} // namespace

TrendWindow::TrendWindow(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("TrendWindow"));
    setWindowTitle(tr("Trend"));
    HelpContext::Set(this, HelpTopic::Trend);
    resize(Twips::ToPixels(DesignWidth, DesignHeight));
    BuildControls();
}

void TrendWindow::BuildControls()
{
    m_summary = NewLabel("Summary");
    QFont bold = font();
    bold.setBold(true);
    m_summary->setFont(bold);
    Twips::Place(m_summary, 120, 60, 8145, 300);

    BuildChart();
    m_chartView = new QChartView(m_chart, this);
    m_chartView->setObjectName(QStringLiteral("Chart"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setFocusPolicy(Qt::NoFocus);
    m_chartView->setFrameShape(QFrame::NoFrame);
    m_chartView->setAccessibleName(tr("Trend chart"));
    Twips::Place(m_chartView, 0, 360, DesignWidth, 2880);
    // The tooltip of a point is the chart's own: the scene would otherwise
    // answer the window system's tooltip request with none and hide it.
    m_chartView->viewport()->installEventFilter(this);
    // Laid out, the chart may have room for more labels, or for fewer.
    connect(m_chart, &QChart::plotAreaChanged, this, [this] {
        if (LabelsThatFit() != m_labels)
            SetLabels();
    });

    m_tests = new TrendTable(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("Table"));
    m_table->setAccessibleName(tr("Tests"));
    m_table->setModel(m_tests);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setResizeContentsPrecision(MeasuredRows);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setAccessibleName(tr("Columns"));
    m_table->verticalHeader()->setAccessibleName(tr("Rows"));
    // The corner button would select every row; one test is chosen at once.
    m_table->setCornerButtonEnabled(false);
    if (auto *corner = m_table->findChild<QAbstractButton *>())
        corner->setAccessibleName(tr("Select all"));
    Twips::Place(m_table, 120, 3300, 8145, 1500);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { RowChanged(current.row()); });
}

QScatterSeries *TrendWindow::AddPoints(const QString &name, const QColor &colour, bool hollow)
{
    auto *series = new QScatterSeries;
    series->setName(name);
    series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    series->setMarkerSize(MarkerSize);
    series->setPen(QPen(colour, hollow ? 2.0 : 1.0));
    series->setBrush(hollow ? QBrush(Qt::white) : QBrush(colour));
    m_chart->addSeries(series);
    m_points.append(series);
    return series;
}

void TrendWindow::BuildChart()
{
    m_chart = new QChart;
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->setBackgroundRoundness(0);
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    QFont small = font();
    small.setPointSizeF(7.5);
    m_chart->legend()->setAlignment(Qt::AlignRight);
    // Round points, hollow or filled, as in the chart.
    m_chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    m_chart->legend()->setFont(small);

    m_orderAxis = new QCategoryAxis;
    m_orderAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_orderAxis->setLabelsFont(small);
    m_orderAxis->setTitleFont(small);
    // A title only for the day of tests that share one.
    m_orderAxis->setTitleVisible(false);
    m_cmfAxis = new QValueAxis;
    m_cmfAxis->setTitleText(tr("CMF, %"));
    m_cmfAxis->setTitleFont(small);
    m_cmfAxis->setLabelsFont(small);
    m_cmfAxis->setLabelFormat(QStringLiteral("%d"));
    m_cmfAxis->setTickType(QValueAxis::TicksDynamic);
    m_cmfAxis->setTickAnchor(0);
    m_c1Axis = new QValueAxis;
    m_c1Axis->setTitleText(tr("c1"));
    m_c1Axis->setTitleFont(small);
    m_c1Axis->setLabelsFont(small);
    m_c1Axis->setLabelFormat(QStringLiteral("%d"));
    m_c1Axis->setLabelsColor(FirstCountColour());
    m_c1Axis->setTitleBrush(FirstCountColour());
    m_c1Axis->setGridLineVisible(false);
    m_c1Axis->setTickType(QValueAxis::TicksDynamic);
    m_c1Axis->setTickAnchor(0);
    m_chart->addAxis(m_orderAxis, Qt::AlignBottom);
    m_chart->addAxis(m_cmfAxis, Qt::AlignLeft);
    m_chart->addAxis(m_c1Axis, Qt::AlignRight);

    // Drawn in this order, so the CMF points lie on top of the lines.
    m_c1Line = new QLineSeries;
    m_c1Line->setName(tr("c1 line"));
    m_c1Line->setPen(QPen(FirstCountColour(), 1.5));
    m_chart->addSeries(m_c1Line);
    // Points of their own, as a line answers the mouse only on its stroke.
    m_c1Points = new QScatterSeries;
    m_c1Points->setName(tr("c1"));
    m_c1Points->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_c1Points->setMarkerSize(MarkerSize - 3);
    m_c1Points->setPen(QPen(FirstCountColour(), 1.0));
    m_c1Points->setBrush(FirstCountColour());
    m_chart->addSeries(m_c1Points);
    m_limitLine = new QLineSeries;
    m_limitLine->setName(tr("Abnormal above 10"));
    m_limitLine->setPen(QPen(QColor(96, 96, 96), 1.0, Qt::DashLine));
    m_chart->addSeries(m_limitLine);
    m_cmfLine = new QLineSeries;
    m_cmfLine->setName(tr("CMF"));
    m_cmfLine->setPen(QPen(QColor(128, 128, 128), 1.0));
    m_chart->addSeries(m_cmfLine);
    using Results = Evaluation::Results;
    AddPoints(tr("Normal"), colourOf(Results::Normal), false);
    AddPoints(tr("Abnormal"), colourOf(Results::Abnormal), false);
    AddPoints(tr("Normal, unreliable"), colourOf(Results::Normal), true);
    AddPoints(tr("Abnormal, unreliable"), colourOf(Results::Abnormal), true);

    for (QAbstractSeries *series : m_chart->series()) {
        series->attachAxis(m_orderAxis);
        series->attachAxis(series == m_c1Line || series == m_c1Points ? m_c1Axis : m_cmfAxis);
    }
    // The points stand for their values in the legend; lines need no entry.
    m_chart->legend()->markers(m_cmfLine).first()->setVisible(false);
    m_chart->legend()->markers(m_c1Line).first()->setVisible(false);
    const QList<QXYSeries *> pointed = {m_points[0], m_points[1], m_points[2],
                                        m_points[3], m_c1Points,  m_c1Line};
    for (QXYSeries *series : pointed) {
        connect(series, &QXYSeries::clicked, this,
                [this, series](const QPointF &point) { PointClicked(series, point); });
    }
}

QScatterSeries *TrendWindow::Points(Evaluation::Results results,
                                    Evaluation::Reliability reliability) const
{
    const int kind = (results == Evaluation::Results::Abnormal ? 1 : 0) +
                     (reliability == Evaluation::Reliability::Unreliable ? 2 : 0);
    return m_points.at(kind);
}

void TrendWindow::OnLoad()
{
    OnResize();
}

void TrendWindow::OnActivate()
{
    m_table->setFocus();
}

void TrendWindow::OnResize()
{
    // Laid out for one size, like the other working windows; a child the
    // frame shows minimised or maximised keeps that state.
    const QWidget *frame = SubWindow();
    if (frame == nullptr || (frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    KeepDesignedSize();
}

bool TrendWindow::ShowPersonOf(const QString &path, qint64 recNo)
{
    const auto name = PersonTrend::NameAt(path, recNo);
    if (!name)
        return false;
    m_path = path;
    m_person = name->trimmed();
    m_hasPerson = true;
    Show(PersonTrend::Read(path, m_person), recNo);
    return true;
}

void TrendWindow::Refresh(const QString &path)
{
    m_path = path;
    if (!m_hasPerson)
        return;
    Show(PersonTrend::Read(path, m_person), 0);
}

void TrendWindow::ShowChosen(const std::optional<TestResult> &current)
{
    int row = -1;
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    for (int i = 0; current && i < tests.size(); ++i) {
        if (current->IsStoredAs(m_path, tests.at(i).recNo))
            row = i;
    }
    ChooseRow(row);
}

void TrendWindow::ChooseRow(int row)
{
    m_settingRow = true;
    if (row < 0) {
        m_table->clearSelection();
        m_table->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        m_table->selectRow(row);
        m_table->scrollTo(m_tests->index(row, 0));
    }
    m_settingRow = false;
}

void TrendWindow::ClearDisplay()
{
    m_tests->SetTests({});
    m_summary->clear();
    FillChart();
}

void TrendWindow::Show(const PersonTrend::Reading &reading, qint64 chosenRecNo)
{
    // Oldest first, whatever order the tests were stored in: a clock set
    // back or a file put together from others must not draw the line back
    // and forth. Tests of the same moment keep their file order. The
    // moment is the one written on the test, the day and the time of day
    // as stored, so no time zone is asked about each of thousands.
    QList<std::pair<qint64, qsizetype>> order;
    order.reserve(reading.tests.size());
    for (qsizetype i = 0; i < reading.tests.size(); ++i) {
        const HistoryRecord &record = reading.tests.at(i).record;
        const qint64 day = OleDate::ToDate(record.RecDate).value_or(QDate()).toJulianDay();
        const QTime time = OleDate::ToTime(record.RecTime).value_or(QTime(0, 0));
        order.append({day * MsPerDay + time.msecsSinceStartOfDay(), i});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<PersonTrend::Test> tests;
    tests.reserve(order.size());
    for (const auto &entry : order)
        tests.append(reading.tests.at(entry.second));
    m_settingRow = true;
    m_tests->SetTests(std::move(tests));
    m_table->resizeColumnsToContents();
    m_settingRow = false;
    int chosen = -1;
    for (int row = 0; row < m_tests->Tests().size(); ++row) {
        if (m_tests->Tests().at(row).recNo == chosenRecNo)
            chosen = row;
    }
    ChooseRow(chosen);
    FillChart();
    FillSummary(reading.complete);
    if (!reading.complete)
        Platform::GetDialogs().MsgBox(Dialogs::Notice(HistoryList::ErrorMessage()));
}

void TrendWindow::FillChart()
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    const int count = static_cast<int>(tests.size());
    // The axes first, so the points are placed once.
    SetRanges();
    SetLabels();
    const auto cmfOf = [&tests](int row) {
        return tests.at(row).record.RecCMF;
    };
    const auto c1Of = [&tests](int row) {
        return tests.at(row).c1();
    };
    const auto kindOf = [this, &tests](int row) {
        const PersonTrend::Test &test = tests.at(row);
        return static_cast<int>(m_points.indexOf(Points(test.Results(), test.Reliability())));
    };
    const auto any = [](int) {
        return true;
    };
    QList<QList<int>> kindRows(m_points.size());
    QList<int> cmfLineRows;
    QList<int> c1LineRows;
    m_c1Rows.clear();
    const int width = PlotWidth();
    if (count <= width) {
        for (int row = 0; row < count; ++row) {
            kindRows[kindOf(row)].append(row);
            cmfLineRows.append(row);
        }
        c1LineRows = cmfLineRows;
        m_c1Rows = cmfLineRows;
    } else {
        // More tests than pixels across: thousands of points drawn over one
        // another would only cost time. Each pixel column keeps the ends of
        // both lines, and each marker's width the highest and the lowest
        // point of each kind, so the spread of the values stays in sight.
        for (int b = 0; b < width; ++b) {
            const int first = bucketStart(count, width, b);
            const int last = bucketStart(count, width, b + 1);
            appendExtremes(cmfLineRows, first, last, cmfOf, any);
            appendExtremes(c1LineRows, first, last, c1Of, any);
        }
        const int buckets = std::max(1, static_cast<int>(width / MarkerSize));
        for (int b = 0; b < buckets; ++b) {
            const int first = bucketStart(count, buckets, b);
            const int last = bucketStart(count, buckets, b + 1);
            for (int kind = 0; kind < m_points.size(); ++kind)
                appendExtremes(kindRows[kind], first, last, cmfOf,
                               [&kindOf, kind](int row) { return kindOf(row) == kind; });
            appendExtremes(m_c1Rows, first, last, c1Of, any);
        }
    }
    const auto pointsOf = [](const QList<int> &rows, auto valueOf) {
        QList<QPointF> points;
        points.reserve(rows.size());
        for (int row : rows)
            points.append(QPointF(row, valueOf(row)));
        return points;
    };
    m_cmfRows.clear();
    for (int kind = 0; kind < m_points.size(); ++kind) {
        m_points[kind]->replace(pointsOf(kindRows[kind], cmfOf));
        m_cmfRows += kindRows[kind];
        // Only the kinds this person has are explained.
        m_chart->legend()->markers(m_points[kind]).first()->setVisible(!kindRows[kind].isEmpty());
    }
    std::sort(m_cmfRows.begin(), m_cmfRows.end());
    // The legend leaves a gap where an entry went until it is laid out anew.
    m_chart->legend()->layout()->invalidate();
    m_cmfLine->replace(pointsOf(cmfLineRows, cmfOf));
    m_c1Line->replace(pointsOf(c1LineRows, c1Of));
    m_c1Points->replace(pointsOf(m_c1Rows, c1Of));
}

int TrendWindow::PlotWidth() const
{
    // Before the window is first shown the chart has not been laid out;
    // the axes and the legend then take about two fifths of its width.
    const qreal laidOut = m_chart->plotArea().width();
    return std::max(1, laidOut > 1 ? static_cast<int>(laidOut) : m_chartView->width() * 3 / 5);
}

int TrendWindow::LabelsThatFit() const
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    if (tests.isEmpty())
        return 0;
    // The axis gives each label an equal share of its width, one share
    // more than there are labels, and cuts a longer label short; the
    // first test's date and time stand for all, as they are alike. Tests
    // of one day are labelled by their times only.
    const QFontMetrics metrics(m_orderAxis->labelsFont());
    const int time = metrics.horizontalAdvance(tests.first().time);
    const int widest = tests.first().date == tests.last().date
                           ? time
                           : std::max(time, metrics.horizontalAdvance(tests.first().date));
    constexpr int Padding = 16;
    const int fit = PlotWidth() / (widest + Padding) - 1;
    return std::clamp(fit, 1, std::min(MaxLabels, static_cast<int>(tests.size())));
}

void TrendWindow::SetRanges()
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    const int count = static_cast<int>(tests.size());
    int highestCmf = 0;
    int highestC1 = 0;
    for (const PersonTrend::Test &test : tests) {
        highestCmf = std::max(highestCmf, int(test.record.RecCMF));
        highestC1 = std::max(highestC1, int(test.c1()));
    }
    // Half a step on each side keeps the first and the last point off the
    // axes; a long row of tests gets a few pixels' worth.
    const double margin = std::max(0.5, count / 48.0);
    const double left = -margin;
    const double right = std::max(0, count - 1) + margin;
    m_orderAxis->setRange(left, right);

    // Half a step more on either side keeps every point whole inside the
    // chart, a CMF of -1 (a rising rate) included. The c1 axis is the same
    // scale stretched, so its labels sit on the CMF axis's grid lines.
    const double step = cmfStep(highestCmf);
    const double top = std::max(highestCmf, int(LimitCmf)) + step / 2;
    m_cmfAxis->setRange(-step / 2, top);
    m_cmfAxis->setTickInterval(step);
    const double least = highestC1 * step / (top - step / 4);
    const double c1Step = std::max(5.0, std::ceil(least / 5) * 5);
    m_c1Axis->setRange(-c1Step / 2, top * c1Step / step);
    m_c1Axis->setTickInterval(c1Step);

    m_limitLine->replace({QPointF(left, LimitCmf), QPointF(right, LimitCmf)});
}

void TrendWindow::SetLabels()
{
    for (const QString &label : m_orderAxis->categoriesLabels())
        m_orderAxis->remove(label);
    m_orderAxis->setStartValue(m_orderAxis->min());
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    const int count = static_cast<int>(tests.size());
    // Tests of one day are named by their times, the day once below them;
    // over several days a label gives the date, or the time when the test
    // labelled before it was of the same day.
    const bool oneDay = count > 0 && tests.first().date == tests.last().date;
    m_orderAxis->setTitleText(oneDay ? tests.first().date : QString());
    m_orderAxis->setTitleVisible(oneDay);
    const int labels = LabelsThatFit();
    m_labels = labels;
    QString previousDate;
    for (int i = 0; i < labels; ++i) {
        const int row = labels == 1 ? 0 : static_cast<int>(qint64(count - 1) * i / (labels - 1));
        const PersonTrend::Test &test = tests.at(row);
        QString label = oneDay || test.date == previousDate ? test.time : test.date;
        previousDate = test.date;
        // The axis knows its labels by their text, so a time shown for
        // tests of two days is told apart by a mark of no width.
        while (m_orderAxis->categoriesLabels().contains(label))
            label += QChar(0x200B);
        m_orderAxis->append(label, row);
    }
}

void TrendWindow::FillSummary(bool complete)
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    const QString person = HistoryList::ShownName(m_person);
    QString text;
    if (tests.isEmpty())
        text = tr("%1: no tests in this history.").arg(person);
    else if (tests.size() == 1)
        text = tr("%1: one test, on %2. A trend shows from the second test on.")
                   .arg(person, tests.first().date);
    else if (tests.first().date == tests.last().date)
        text =
            tr("%1: %n tests on %2.", nullptr, int(tests.size())).arg(person, tests.first().date);
    else
        text = tr("%1: %n tests from %2 to %3.", nullptr, int(tests.size()))
                   .arg(person, tests.first().date, tests.last().date);
    if (!complete)
        text += tr(" The history is damaged: only the tests before the damage are shown.");
    m_summary->setText(text);
    m_summary->setToolTip(text);
    m_chartView->setAccessibleDescription(text);
}

QString TrendWindow::ToolTipFor(int row) const
{
    if (row < 0 || row >= m_tests->Tests().size())
        return {};
    const PersonTrend::Test &test = m_tests->Tests().at(row);
    const auto &counts = test.record.RecCounts;
    const auto display = Evaluation::Display::ResultsWindow;
    return tr("%1 %2\nc1-c4: %3, %4, %5, %6\nCMF %7\n%8, %9")
        .arg(test.date, test.time)
        .arg(counts[0])
        .arg(counts[1])
        .arg(counts[2])
        .arg(counts[3])
        .arg(test.record.RecCMF)
        .arg(Evaluation::Present(test.Results(), display).text,
             Evaluation::Present(test.Reliability(), display).text);
}

int TrendWindow::NearestRow(const QPointF &chartPos) const
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    if (tests.isEmpty())
        return -1;
    // Only the points drawn within a marker's size either way can be under
    // the mouse; they are found by their place in the order.
    const QPointF reach(MarkerSize, 0);
    const double from = m_chart->mapToValue(chartPos - reach, m_cmfLine).x();
    const double to = m_chart->mapToValue(chartPos + reach, m_cmfLine).x();
    int row = -1;
    qreal nearest = MarkerSize;
    const auto look = [&](const QList<int> &rows, QXYSeries *series, auto valueOf) {
        auto it = std::lower_bound(rows.begin(), rows.end(), static_cast<int>(std::floor(from)));
        for (; it != rows.end() && *it <= to; ++it) {
            const QPointF at = m_chart->mapToPosition(QPointF(*it, valueOf(*it)), series);
            const qreal distance = QLineF(chartPos, at).length();
            if (distance < nearest) {
                nearest = distance;
                row = *it;
            }
        }
    };
    look(m_cmfRows, m_cmfLine, [&tests](int r) { return tests.at(r).record.RecCMF; });
    look(m_c1Rows, m_c1Points, [&tests](int r) { return tests.at(r).c1(); });
    return row;
}

int TrendWindow::RowAt(QPoint viewportPos) const
{
    return NearestRow(m_chart->mapFromScene(m_chartView->mapToScene(viewportPos)));
}

bool TrendWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_chartView->viewport() && event->type() == QEvent::ToolTip)
        return ShowToolTip(*static_cast<QHelpEvent *>(event));
    return ChildWindow::eventFilter(watched, event);
}

bool TrendWindow::ShowToolTip(const QHelpEvent &event)
{
    const int row = RowAt(event.pos());
    if (row < 0) {
        QToolTip::hideText();
        return true;
    }
    // The tip stays while the mouse is on the point and goes when it leaves.
    const int reach = static_cast<int>(MarkerSize);
    const QRect onPoint(event.pos() - QPoint(reach, reach), QSize(2 * reach, 2 * reach));
    QToolTip::showText(event.globalPos(), ToolTipFor(row), m_chartView->viewport(), onPoint);
    return true;
}

void TrendWindow::PointClicked(const QXYSeries *series, const QPointF &point)
{
    const int row = NearestRow(m_chart->mapToPosition(point, const_cast<QXYSeries *>(series)));
    if (row >= 0)
        m_table->selectRow(row);
}

void TrendWindow::RowChanged(int row)
{
    if (m_settingRow || row < 0 || row >= m_tests->Tests().size())
        return;
    const PersonTrend::Test &test = m_tests->Tests().at(row);
    emit TestChosen(TestResult::Of(test.record, m_path, test.recNo));
}
