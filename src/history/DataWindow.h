#pragma once

#include "platform/ui/ChildWindow.h"

#include <QColor>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class RecordDetails;

// The data window: the whole history file in a list, one line a record,
// the details of the selected record, and the way to show any stored test
// in the results window. While it is open the frame's history commands
// (save as, export, clear, print) are usable; its picture buttons ask the
// frame to run the same commands.
class DataWindow : public ChildWindow
{
    Q_OBJECT

public:
    explicit DataWindow(QWidget *parent = nullptr);

    void OnLoad() override;
    void OnActivate() override;
    void OnDeactivate() override;
    void OnResize() override;
    void OnUnload() override;

    // Lists the history file anew and shows its first record, as after
    // another history file has been opened.
    void RefreshList();
    // Lists the history file anew after a test has been stored, and shows
    // that test, the last line.
    void ShowStoredTest();
    // Empties the list and the six detail labels, as after clearing.
    void ClearDisplay();
    // The selected line's position counted from 1, or 0 when none is.
    int SelectedRecord() const;
    // Selects the line of record recNo, which shows it and makes it the
    // current result; a record the list has no line for changes nothing.
    void SelectRecord(qint64 recNo);

    // Shows record RecNo in the six detail labels and makes it the current
    // result. A record that cannot be read leaves the labels as they were;
    // false then.
    bool ShowRecordDetails();

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

    static QString NoDataMessage() { return QStringLiteral("No data!"); }

signals:
    // The selected record is now the session's current result: show it.
    void ResultsRequested();
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

    QListWidget *m_list = nullptr;
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
