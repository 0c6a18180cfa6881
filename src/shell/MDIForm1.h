#pragma once

#include <QMainWindow>

class QMdiArea;

// The program's main frame: the window that holds the test, results and
// data windows and carries the only menu bar.
class MDIForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit MDIForm1(QWidget *parent = nullptr);

    QMdiArea *MdiArea() const { return m_mdiArea; }

private:
    QMdiArea *m_mdiArea = nullptr;
};
