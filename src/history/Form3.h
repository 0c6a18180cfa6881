#pragma once

#include "platform/ChildWindow.h"

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
class Form3 : public ChildWindow
{
    Q_OBJECT

public:
    explicit Form3(QWidget *parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_Unload() override;

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

    void List1_Click();
    void cmdResults_Click();
    void cmdExit_Click();
    void Command5_Click();

    QListWidget *List1() const { return m_list1; }
    QToolButton *Command5() const { return m_command5; }
    QPushButton *cmdResults() const { return m_cmdResults; }
    QPushButton *cmdExit() const { return m_cmdExit; }
    QLabel *Label6() const { return m_label6; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2() const { return m_label2; }
    QLabel *Label7() const { return m_label7; }
    QLabel *Label9() const { return m_label9; }
    QLabel *Label10() const { return m_label10; }

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

    QListWidget *m_list1 = nullptr;
    QToolButton *m_command4 = nullptr;
    QToolButton *m_command3 = nullptr;
    QToolButton *m_command6 = nullptr;
    QToolButton *m_command5 = nullptr;
    QPushButton *m_cmdResults = nullptr;
    QPushButton *m_cmdExit = nullptr;
    QLabel *m_label6 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label7 = nullptr;
    QLabel *m_label9 = nullptr;
    QLabel *m_label10 = nullptr;
    QLabel *m_image1 = nullptr;
};
