#pragma once

#include "platform/ui/ChildWindow.h"
#include "record/TestResult.h"

#include <QColor>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class RecordDetails;

// The data window: a whole history file in a list, one line a record, the
// details of the selected record, and the way to show any stored test in
// the results window. The frame tells it which history to list (the one in
// use); the test on the selected line is handed to the frame, which makes
// it the current result. While it is open the frame's history commands
// (save as, export, clear, print) are usable; its picture buttons ask the
// frame to run the same commands.
class DataWindow : public ChildWindow
{
    Q_OBJECT

public:
    explicit DataWindow(QWidget *parent = nullptr);

    void OnLoad() override;
    void OnActivate() override;
    void OnResize() override;

    // The history file the window lists; it is listed at the next load or
    // refresh.
    void SetHistoryPath(const QString &path) { m_path = path; }
    const QString &HistoryPath() const { return m_path; }
    // Lists the history file anew and shows its first record, as after
    // another history file has been opened.
    void RefreshList();
    // Lists the history file anew after a test has been stored as record
    // recNo, and shows that test.
    void ShowStoredTest(qint64 recNo);
    // Empties the list and the six detail labels, as after clearing.
    void ClearDisplay();
    // The selected line's position counted from 1, or 0 when none is.
    int SelectedRecord() const;
    // Selects the line of record recNo, which shows it; a record the list
    // has no line for changes nothing.
    void SelectRecord(qint64 recNo);

    // Shows record recNo in the six detail labels and hands its result on
    // as the one selected. A record that cannot be read leaves the labels
    // as they were; false then.
    bool ShowRecordDetails(qint64 recNo);

    void OnSelectionChanged();
    void OnResultsClicked();
    void OnCancelClicked();
    void OnHelpClicked();

    QListWidget *List() const { return m_list; }
    QToolButton *HelpButton() const { return m_helpButton; }
    QPushButton *ResultsButton() const { return m_resultsButton; }
    QPushButton *CancelButton() const { return m_cancelButton; }
    QLabel *NameDetail() const { return m_nameDetail; }
    QLabel *DateDetail() const { return m_dateDetail; }
    QLabel *TimeDetail() const { return m_timeDetail; }
    QLabel *CmfDetail() const { return m_cmfDetail; }
    QLabel *ResultsDetail() const { return m_resultsDetail; }
    QLabel *ReliabilityDetail() const { return m_reliabilityDetail; }
    // The six column titles, "Recording" to "Reliability".
    const QList<QLabel *> &Titles() const { return m_titles; }

    static QString NoDataMessage() { return tr("No data!"); }

signals:
    // The test of the selected line, read from the file.
    void RecordSelected(const TestResult &result);
    // "Results": show this test, read afresh from the file.
    void ResultsRequested(const TestResult &result);
    void SaveRequested();
    void PrintRequested();
    void ClearRequested();
    // A line was double-clicked: show the trend of that record's person.
    void TrendRequested(qint64 recNo);

private:
    void BuildControls();
    void FillList();
    void ShowDetails(const RecordDetails &details);
    void SetColour(QLabel *label, const std::optional<QColor> &colour);
    // Makes every line as wide as the widest, so none is cut short.
    void FitLinesToWidest();
    // Puts each title above its column of the list as it is scrolled.
    void PlaceTitles();
    // Where a column's text starts in a line of the list, unscrolled.
    double ColumnX(int column) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The history file listed.
    QString m_path;
    QListWidget *m_list = nullptr;
    // Holds the titles over the list's visible part, which they move in.
    QWidget *m_titleStrip = nullptr;
    QList<QLabel *> m_titles;
    QToolButton *m_saveButton = nullptr;
    QToolButton *m_printButton = nullptr;
    QToolButton *m_clearButton = nullptr;
    QToolButton *m_helpButton = nullptr;
    QPushButton *m_resultsButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QLabel *m_nameDetail = nullptr;
    QLabel *m_dateDetail = nullptr;
    QLabel *m_timeDetail = nullptr;
    QLabel *m_cmfDetail = nullptr;
    QLabel *m_resultsDetail = nullptr;
    QLabel *m_reliabilityDetail = nullptr;
    QLabel *m_icon = nullptr;
};
