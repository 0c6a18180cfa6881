#pragma once

#include "platform/ChildWindow.h"

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

    // Lists the history file anew and shows its first record, as after
    // another history file has been opened.
    void RefreshList();
    // Empties the list and the six detail labels, as after clearing.
    void ClearDisplay();

signals:
    // The selected record is now the session's current result: show it.
    void ResultsRequested();
    void SaveRequested();
    void PrintRequested();
    void ClearRequested();
};
