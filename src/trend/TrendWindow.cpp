#include "TrendWindow.h"

#include "TrendTable.h"
#include "history/HistoryList.h"
#include "platform/HelpTopic.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/Twips.h"

#include <QAbstractButton>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QHeaderView>
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
constexpr qint64 MsPerHour = 3600 * 1000;
constexpr qint64 MsPerDay = 24 * MsPerHour;
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

} // namespace

TrendWindow::TrendWindow(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("TrendWindow"));
    setWindowTitle(QStringLiteral("Trend"));
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
    m_chartView->setAccessibleName(QStringLiteral("Trend chart"));
    Twips::Place(m_chartView, 0, 360, DesignWidth, 2880);

    m_tests = new TrendTable(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("Table"));
    m_table->setAccessibleName(QStringLiteral("Tests"));
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
    m_table->horizontalHeader()->setAccessibleName(QStringLiteral("Columns"));
    m_table->verticalHeader()->setAccessibleName(QStringLiteral("Rows"));
    // The corner button would select every row; one test is chosen at once.
    m_table->setCornerButtonEnabled(false);
    if (auto *corner = m_table->findChild<QAbstractButton *>())
        corner->setAccessibleName(QStringLiteral("Select all"));
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

    m_timeAxis = new QDateTimeAxis;
    m_timeAxis->setTickCount(5);
    m_timeAxis->setLabelsFont(small);
    m_cmfAxis = new QValueAxis;
    m_cmfAxis->setTitleText(QStringLiteral("CMF, %"));
    m_cmfAxis->setTitleFont(small);
    m_cmfAxis->setLabelsFont(small);
    m_cmfAxis->setLabelFormat(QStringLiteral("%d"));
    m_cmfAxis->setTickType(QValueAxis::TicksDynamic);
    m_cmfAxis->setTickAnchor(0);
    m_c1Axis = new QValueAxis;
    m_c1Axis->setTitleText(QStringLiteral("c1"));
    m_c1Axis->setTitleFont(small);
    m_c1Axis->setLabelsFont(small);
    m_c1Axis->setLabelFormat(QStringLiteral("%d"));
    m_c1Axis->setLabelsColor(FirstCountColour());
    m_c1Axis->setTitleBrush(FirstCountColour());
    m_c1Axis->setGridLineVisible(false);
    m_c1Axis->setTickType(QValueAxis::TicksDynamic);
    m_c1Axis->setTickAnchor(0);
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_cmfAxis, Qt::AlignLeft);
    m_chart->addAxis(m_c1Axis, Qt::AlignRight);

    // Drawn in this order, so the CMF points lie on top of the lines.
    m_c1Line = new QLineSeries;
    m_c1Line->setName(QStringLiteral("c1 line"));
    m_c1Line->setPen(QPen(FirstCountColour(), 1.5));
    m_chart->addSeries(m_c1Line);
    // Points of their own, as a line answers the mouse only on its stroke.
    m_c1Points = new QScatterSeries;
    m_c1Points->setName(QStringLiteral("c1"));
    m_c1Points->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    m_c1Points->setMarkerSize(MarkerSize - 3);
    m_c1Points->setPen(QPen(FirstCountColour(), 1.0));
    m_c1Points->setBrush(FirstCountColour());
    m_chart->addSeries(m_c1Points);
    m_limitLine = new QLineSeries;
    m_limitLine->setName(QStringLiteral("Abnormal above 10"));
    m_limitLine->setPen(QPen(QColor(96, 96, 96), 1.0, Qt::DashLine));
    m_chart->addSeries(m_limitLine);
    m_cmfLine = new QLineSeries;
    m_cmfLine->setName(QStringLiteral("CMF"));
    m_cmfLine->setPen(QPen(QColor(128, 128, 128), 1.0));
    m_chart->addSeries(m_cmfLine);
    using Results = Evaluation::Results;
    AddPoints(QStringLiteral("Normal"), colourOf(Results::Normal), false);
    AddPoints(QStringLiteral("Abnormal"), colourOf(Results::Abnormal), false);
    AddPoints(QStringLiteral("Normal, unreliable"), colourOf(Results::Normal), true);
    AddPoints(QStringLiteral("Abnormal, unreliable"), colourOf(Results::Abnormal), true);

    for (QAbstractSeries *series : m_chart->series()) {
        series->attachAxis(m_timeAxis);
        series->attachAxis(series == m_c1Line || series == m_c1Points ? m_c1Axis : m_cmfAxis);
    }
    // The points stand for their values in the legend; lines need no entry.
    m_chart->legend()->markers(m_cmfLine).first()->setVisible(false);
    m_chart->legend()->markers(m_c1Line).first()->setVisible(false);
    const QList<QXYSeries *> pointed = {m_points[0], m_points[1], m_points[2],
                                        m_points[3], m_c1Points,  m_c1Line};
    for (QXYSeries *series : pointed) {
        connect(series, &QXYSeries::hovered, this,
                [this, series](const QPointF &point, bool state) {
                    PointHovered(series, point, state);
                });
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
    m_when.clear();
    m_summary->clear();
    FillChart();
}

void TrendWindow::Show(const PersonTrend::Reading &reading, qint64 chosenRecNo)
{
    // Oldest first, whatever order the tests were stored in: a clock set
    // back or a file put together from others must not draw the line back
    // and forth. Tests of the same moment keep their file order. Each
    // test's moment is worked out once, as it goes through the time zone.
    QList<std::pair<qint64, qsizetype>> order;
    order.reserve(reading.tests.size());
    for (qsizetype i = 0; i < reading.tests.size(); ++i)
        order.append({reading.tests.at(i).When().toMSecsSinceEpoch(), i});
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<PersonTrend::Test> tests;
    tests.reserve(order.size());
    m_when.clear();
    m_when.reserve(order.size());
    for (const auto &[when, i] : order) {
        tests.append(reading.tests.at(i));
        m_when.append(when);
    }
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
    QList<QList<QPointF>> points(m_points.size());
    QList<QList<int>> rows(m_points.size());
    QList<QPointF> cmf;
    QList<QPointF> c1;
    cmf.reserve(tests.size());
    c1.reserve(tests.size());
    m_rows.clear();
    // The axes first, so the points are placed once.
    SetRanges();
    for (int row = 0; row < tests.size(); ++row) {
        const PersonTrend::Test &test = tests.at(row);
        const auto x = static_cast<qreal>(m_when.at(row));
        const QPointF point(x, test.record.RecCMF);
        const int kind =
            static_cast<int>(m_points.indexOf(Points(test.Results(), test.Reliability())));
        points[kind].append(point);
        rows[kind].append(row);
        cmf.append(point);
        c1.append(QPointF(x, test.c1()));
        m_rows[m_c1Line].append(row);
        m_rows[m_c1Points].append(row);
    }
    for (int kind = 0; kind < m_points.size(); ++kind) {
        m_points[kind]->replace(points[kind]);
        m_rows[m_points[kind]] = rows[kind];
        // Only the kinds this person has are explained.
        m_chart->legend()->markers(m_points[kind]).first()->setVisible(!points[kind].isEmpty());
    }
    // The legend leaves a gap where an entry went until it is laid out anew.
    m_chart->legend()->layout()->invalidate();
    m_cmfLine->replace(cmf);
    m_c1Line->replace(c1);
    m_c1Points->replace(c1);
}

void TrendWindow::SetRanges()
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    qint64 first = QDateTime::currentDateTime().toMSecsSinceEpoch();
    qint64 last = first;
    int highestCmf = 0;
    int highestC1 = 0;
    if (!tests.isEmpty()) {
        first = m_when.first();
        last = m_when.last();
    }
    for (const PersonTrend::Test &test : tests) {
        highestCmf = std::max(highestCmf, int(test.record.RecCMF));
        highestC1 = std::max(highestC1, int(test.c1()));
    }
    // A margin on each side keeps the first and the last point off the
    // axes; one test, or tests of one day, get a day each way.
    const qint64 margin =
        std::max<qint64>((last - first) / 16, last - first < MsPerDay ? MsPerDay : 12 * MsPerHour);
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(first - margin),
                         QDateTime::fromMSecsSinceEpoch(last + margin));
    // The dates as the data window writes them (ISO where the system has
    // no regional settings).
    const QLocale regional;
    m_timeAxis->setFormat(regional.language() == QLocale::C
                              ? QStringLiteral("yyyy-MM-dd")
                              : regional.dateFormat(QLocale::ShortFormat));

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

    m_limitLine->replace(
        {QPointF(qreal(first - margin), LimitCmf), QPointF(qreal(last + margin), LimitCmf)});
}

void TrendWindow::FillSummary(bool complete)
{
    const QList<PersonTrend::Test> &tests = m_tests->Tests();
    const QString person = HistoryList::ShownName(m_person);
    QString text;
    if (tests.isEmpty())
        text = QStringLiteral("%1: no tests in this history.").arg(person);
    else if (tests.size() == 1)
        text = QStringLiteral("%1: one test, on %2. A trend shows from the second test on.")
                   .arg(person, tests.first().date);
    else
        text = QStringLiteral("%1: %2 tests from %3 to %4.")
                   .arg(person)
                   .arg(tests.size())
                   .arg(tests.first().date, tests.last().date);
    if (!complete)
        text +=
            QStringLiteral(" The history is damaged: only the tests before the damage are shown.");
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
    return QStringLiteral("%1 %2\nc1-c4: %3, %4, %5, %6\nCMF %7\n%8, %9")
        .arg(test.date, test.time)
        .arg(counts[0])
        .arg(counts[1])
        .arg(counts[2])
        .arg(counts[3])
        .arg(test.record.RecCMF)
        .arg(Evaluation::Present(test.Results(), display).text,
             Evaluation::Present(test.Reliability(), display).text);
}

int TrendWindow::RowOf(const QXYSeries *series, const QPointF &point) const
{
    // A line reports the place on it under the mouse, a scatter its point:
    // either way the test is the point drawn nearest, if it is near enough
    // to be the one pointed at.
    auto *drawn = const_cast<QXYSeries *>(series);
    const QPointF at = m_chart->mapToPosition(point, drawn);
    const QList<int> rows = m_rows.value(series);
    const QList<QPointF> points = series->points();
    int row = -1;
    qreal nearest = MarkerSize;
    for (int i = 0; i < points.size() && i < rows.size(); ++i) {
        const qreal distance = QLineF(at, m_chart->mapToPosition(points.at(i), drawn)).length();
        if (distance < nearest) {
            nearest = distance;
            row = rows.at(i);
        }
    }
    return row;
}

void TrendWindow::PointHovered(const QXYSeries *series, const QPointF &point, bool state)
{
    if (!state) {
        QToolTip::hideText();
        return;
    }
    const int row = RowOf(series, point);
    if (row >= 0)
        QToolTip::showText(QCursor::pos(), ToolTipFor(row), m_chartView);
}

void TrendWindow::PointClicked(const QXYSeries *series, const QPointF &point)
{
    const int row = RowOf(series, point);
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
