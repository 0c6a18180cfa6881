#pragma once

#include "PersonTrend.h"
#include "platform/ui/ChildWindow.h"
#include "record/TestResult.h"

#include <QHash>
#include <QList>

class QChart;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QTableView;
class QValueAxis;
class QXYSeries;
class TrendTable;

// The trend window: every test of one person in the history being viewed,
// as a chart over time and as a table below it. The chart puts the CMF of
// each test on the left axis, coloured by its Results verdict as the
// results window colours it and hollow when the test is Unreliable, with
// the limit of 10 between Normal and Abnormal drawn across, and the first
// evaluated interval's count on the right axis; a point's tooltip gives the
// whole test. The frame tells it which history to read (the one in use)
// and which test is the current result, whose row it then shows chosen;
// a test the user chooses in the table or by its point is handed to the
// frame, which makes it the current result.
class TrendWindow : public ChildWindow
{
    Q_OBJECT

public:
    explicit TrendWindow(QWidget *parent = nullptr);

    void OnLoad() override;
    void OnActivate() override;
    void OnResize() override;

    // Shows the person of record recNo of the history at path, that test
    // chosen in the table. False, with the window as it was, when the file
    // holds no such record.
    bool ShowPersonOf(const QString &path, qint64 recNo);
    // Reads the same person's tests anew from the history at path, as after
    // another history has been opened or a test stored; no row is chosen
    // until the frame says which test is current.
    void Refresh(const QString &path);
    // Chooses the row of the current result, or none when it is not one of
    // the tests shown; the frame is not told, as it said so itself.
    void ShowChosen(const std::optional<TestResult> &current);
    // The history file the window reads.
    const QString &HistoryPath() const { return m_path; }
    // Empties the chart and the table, as after clearing the history.
    void ClearDisplay();

    // The person shown, with the blanks of the stored name trimmed.
    QString Person() const { return m_person; }
    // False until a person has been shown.
    bool HasPerson() const { return m_hasPerson; }
    // What the tooltip of the test in this row of the table says.
    QString ToolTipFor(int row) const;

    QLabel *Summary() const { return m_summary; }
    QChartView *ChartView() const { return m_chartView; }
    QTableView *Table() const { return m_table; }
    TrendTable *Tests() const { return m_tests; }
    // The CMF points of one kind of test.
    QScatterSeries *Points(Evaluation::Results results, Evaluation::Reliability reliability) const;
    QLineSeries *CmfLine() const { return m_cmfLine; }
    QLineSeries *LimitLine() const { return m_limitLine; }
    // The first evaluated interval's count of each test, on the right axis.
    QScatterSeries *FirstCounts() const { return m_c1Points; }
    QDateTimeAxis *TimeAxis() const { return m_timeAxis; }
    QValueAxis *CmfAxis() const { return m_cmfAxis; }
    QValueAxis *CountAxis() const { return m_c1Axis; }

    // The colour of the first evaluated interval's counts.
    static QColor FirstCountColour() { return QColor(0, 90, 200); }

    static constexpr double LimitCmf = Evaluation::AbnormalLimit;

signals:
    // The user chose this test: it is to be the current result.
    void TestChosen(const TestResult &result);

private:
    void BuildControls();
    void BuildChart();
    QScatterSeries *AddPoints(const QString &name, const QColor &colour, bool hollow);
    void Show(const PersonTrend::Reading &reading, qint64 chosenRecNo);
    void FillChart();
    void FillSummary(bool complete);
    void SetRanges();
    void PointHovered(const QXYSeries *series, const QPointF &point, bool state);
    void PointClicked(const QXYSeries *series, const QPointF &point);
    // The table's row of a point of a series, or -1.
    int RowOf(const QXYSeries *series, const QPointF &point) const;
    void RowChanged(int row);
    // Chooses the row, or none for -1, without telling anyone.
    void ChooseRow(int row);

    QLabel *m_summary = nullptr;
    QChart *m_chart = nullptr;
    QChartView *m_chartView = nullptr;
    QTableView *m_table = nullptr;
    TrendTable *m_tests = nullptr;
    QDateTimeAxis *m_timeAxis = nullptr;
    QValueAxis *m_cmfAxis = nullptr;
    QValueAxis *m_c1Axis = nullptr;
    QLineSeries *m_c1Line = nullptr;
    QScatterSeries *m_c1Points = nullptr;
    QLineSeries *m_limitLine = nullptr;
    QLineSeries *m_cmfLine = nullptr;
    // Normal, Abnormal; then the same two for Unreliable tests.
    QList<QScatterSeries *> m_points;
    // For each series, the table row of each of its points.
    QHash<const QXYSeries *, QList<int>> m_rows;
    QString m_path;
    QString m_person;
    bool m_hasPerson = false;
    // The moment of each row's test, in milliseconds since the epoch.
    QList<qint64> m_when;
    // True while the window itself sets the table's current row.
    bool m_settingRow = false;
};
