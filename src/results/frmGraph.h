#pragma once

#include "platform/ChildWindow.h"

// The results window: the current result of the session (a run just
// finished or a record chosen in the data window) with the tested person's
// name, date and time, both verdicts and a small graph of the four counts.
// It keeps nothing of its own: every activation reads the session afresh.
class frmGraph : public ChildWindow
{
    Q_OBJECT

public:
    explicit frmGraph(QWidget *parent = nullptr);
};
