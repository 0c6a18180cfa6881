#pragma once

#include "PersonTrend.h"
#include "platform/ui/ChildWindow.h"
#include "record/TestResult.h"

#include <QList>

class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QTableView;
class QHelpEvent;
class QValueAxis;
class QXYSeries;
class TrendTable;

// The trend window: every test of one person in the history being viewed,
// as a chart and as a table below it. The chart sets the tests side by
// side in the order they were made, one step apart whatever time lay
// between them, so the tests of one visit stand apart as well as those of
// a year; the axis below names some of them by date, and by time where
// the labelled tests share a day. It puts the CMF of each test on the left
// axis, coloured by its Results verdict as the results window colours it
// and hollow when the test is Unreliable, with the limit of 10 between
// Normal and Abnormal drawn across, and the first evaluated interval's
// count on the right axis; resting the mouse on a point shows the whole
// test. Where there are more tests than the chart has pixels across, it
// draws a thinned picture of them (the highest and lowest of each few
// pixels) rather than thousands of points on top of one another. The frame
// tells it which history to read (the one in use) and which test is the
// current result, whose row it then shows chosen; a test the user chooses
// in the table or by its point is handed to the frame, which makes it the
// current result.
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
    // The row of the test whose drawn point (its CMF or its first count)
    // lies nearest this place in the chart view's viewport, if the mouse
    // there is on it; else -1.
    int RowAt(QPoint viewportPos) const;

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
    // The tests in the order they were made: the test of row r stands at r.
    QCategoryAxis *OrderAxis() const { return m_orderAxis; }
    QValueAxis *CmfAxis() const { return m_cmfAxis; }
    QValueAxis *CountAxis() const { return m_c1Axis; }

    // The colour of the first evaluated interval's counts.
    static QColor FirstCountColour() { return QColor(0, 90, 200); }

    static constexpr double LimitCmf = Evaluation::AbnormalLimit;
    // Labels the order axis holds at most, however wide the chart.
    static constexpr int MaxLabels = 6;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

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
    void SetLabels();
    // The width of the chart's plot area in pixels, or what it will be.
    int PlotWidth() const;
    // How many tests the order axis can name without cutting a label short.
    int LabelsThatFit() const;
    void PointClicked(const QXYSeries *series, const QPointF &point);
    // The row of the drawn point nearest this place in the chart's own
    // coordinates, within a marker's size; else -1.
    int NearestRow(const QPointF &chartPos) const;
    bool ShowToolTip(const QHelpEvent &event);
    void RowChanged(int row);
    // Chooses the row, or none for -1, without telling anyone.
    void ChooseRow(int row);

    QLabel *m_summary = nullptr;
    QChart *m_chart = nullptr;
    QChartView *m_chartView = nullptr;
    QTableView *m_table = nullptr;
    TrendTable *m_tests = nullptr;
    QCategoryAxis *m_orderAxis = nullptr;
    QValueAxis *m_cmfAxis = nullptr;
    QValueAxis *m_c1Axis = nullptr;
    QLineSeries *m_c1Line = nullptr;
    QScatterSeries *m_c1Points = nullptr;
    QLineSeries *m_limitLine = nullptr;
    QLineSeries *m_cmfLine = nullptr;
    // Normal, Abnormal; then the same two for Unreliable tests.
    QList<QScatterSeries *> m_points;
    // The rows whose CMF point, and whose first count, is drawn (every row
    // unless the picture is thinned), in order.
    QList<int> m_cmfRows;
    QList<int> m_c1Rows;
    // The number of labels the order axis holds now.
    int m_labels = 0;
    QString m_path;
    QString m_person;
    bool m_hasPerson = false;
    // True while the window itself sets the table's current row.
    bool m_settingRow = false;
};
