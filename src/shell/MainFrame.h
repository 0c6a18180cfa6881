#pragma once

#include "StrayKeyGuard.h"
#include "platform/ui/ChildWindow.h"
#include "platform/ui/CommonDialog.h"
#include "results/CurrentResult.h"
#include "session/Startup.h"

#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <functional>

class AboutWindow;
class DataWindow;
class HelpKeyFilter;
class QAction;
class QMenu;
class ResultsWindow;
class TestRun;
class TestWindow;
class TrendWindow;

// The program's main frame. It holds the working windows (test, results,
// data, trend) as child windows, carries the only menu bar, grows on request
// before a working window is shown in it, and ends the program. It owns
// what the windows share: the history in use, which the data and trend
// windows list and follow wherever it changes (another one opened, the
// default one cleared, a test stored), and the current result, which the
// data window's selection, a stored test and the trend's choice set and
// the results window reads. It tells each child when it becomes the active
// one and when it stops being so; switching to another program and back is
// not a change of child. The children never open one another: they ask,
// and the frame opens, runs the history commands, and derives the menu
// states from what is open.
class MainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // defaultHistory: the history file the program keeps beside itself,
    // the one in use until another is opened and the one Clear moves away.
    explicit MainFrame(const QString &defaultHistory = Startup::DefaultHistoryPath(),
                       QWidget *parent = nullptr);
    ~MainFrame() override;

    // Runs the program's start-up, which brings up the test window here.
    void Start();

    // The program's icon at every size a desktop draws it.
    static QIcon ProgramIcon();

    QMdiArea *MdiArea() const { return m_mdiArea; }
    const QString &HistoryInUse() const { return m_history; }
    const QString &DefaultHistory() const { return m_defaultHistory; }
    const CurrentResult &Current() const { return m_current; }

    // The loaded child window of type T, or nullptr.
    template <class T> T *Child() const;
    // Shows the child of type T without blocking, loading it first when it
    // is not loaded, and makes it the active window.
    template <class T> T *ShowChild();

    // Grows the frame by a tenth each way while it is below 7000 twips high
    // and neither minimised nor maximised.
    void EnlargeMainWindow();

    void OnOpenOld();
    void OnSaveAs();
    void OnExport();
    void OnExportPresses();
    void OnClear();
    void OnPrint();
    void OnExit();
    void OnTest();
    void OnResults();
    void OnData();
    void OnTrend();
    void OnHelpContents();
    void OnAbout();
    void OnAboutQt();

    // The menu items' states, derived from the windows that are open.
    void UpdateMenus();

    // Keeps the keys a tested person goes on pressing after a test from
    // pressing the buttons of the test and results windows.
    const StrayKeyGuard &StrayKeys() const { return m_strayKeys; }

    // What "Exit" does to end the process; tests replace it.
    void SetExitHandler(std::function<void()> handler) { m_exit = std::move(handler); }

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildMenus();
    QMenu *AddMenu(const char *name, const QString &caption);
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption,
                     void (MainFrame::*handler)(), bool enabled = true);
    void AddSeparator(QMenu *menu, const char *name);
    void Load();
    // Sets the size of the whole window, frame included, in pixels.
    void SetOuterSize(QSize outer);
    void SubWindowActivated(QMdiSubWindow *window);
    QMdiSubWindow *AddChild(ChildWindow *child);
    // The top-left corner of the first place of the cascade that no open
    // window sits on.
    QPoint FreeCascadePlace(const QMdiSubWindow *frame) const;
    // Whether a test is going on in the test window.
    bool RunGoingOn() const;
    // Appends a finished test to the history in use; it becomes the current
    // result, and the views show it.
    void StoreRun(const TestRun &run);
    // The data and trend windows list the history in use anew; storedRecNo,
    // when not 0, is the test just stored there, which the list shows.
    void ShowHistoryInViews(qint64 storedRecNo = 0);
    // The views show the current result as the one chosen.
    void FollowCurrent(const std::optional<TestResult> &result);
    // The requests a newly loaded child can make of the frame, and what the
    // frame hands it before it loads.
    void Connect(ChildWindow *child);
    void Connect(TestWindow *window);
    void Connect(DataWindow *window);
    void Connect(ResultsWindow *window);
    void Connect(TrendWindow *window);
    // Grows the frame and shows the current result.
    void ShowResults();
    // Grows the frame and shows the trend of the person of record recNo.
    void ShowTrend(qint64 recNo);

    QMdiArea *m_mdiArea = nullptr;
    QAction *m_openOldAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    QAction *m_exportAction = nullptr;
    QAction *m_exportPressesAction = nullptr;
    QAction *m_clearAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_testAction = nullptr;
    QAction *m_resultsAction = nullptr;
    QAction *m_dataAction = nullptr;
    QAction *m_trendAction = nullptr;
    QAction *m_contentsAction = nullptr;
    QAction *m_aboutAction = nullptr;
    QAction *m_aboutQtAction = nullptr;
    QPointer<ChildWindow> m_activeChild;
    QPointer<AboutWindow> m_about;
    HelpKeyFilter *m_helpKey = nullptr;
    CommonDialog m_commonDialog;
    StrayKeyGuard m_strayKeys;
    std::function<void()> m_exit;
    const QString m_defaultHistory;
    QString m_history;
    CurrentResult m_current;
    bool m_loaded = false;
    // The outer size the program last set, and the size of the window
    // system's frame it was set with.
    QSize m_outerSize;
    QSize m_chrome;
};

template <class T> T *MainFrame::Child() const
{
    for (QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        auto *child = qobject_cast<T *>(window->widget());
        if (child != nullptr && !child->IsUnloaded())
            return child;
    }
    return nullptr;
}

template <class T> T *MainFrame::ShowChild()
{
    T *child = Child<T>();
    if (child == nullptr) {
        child = new T;
        AddChild(child);
        Connect(child);
        child->OnLoad();
    }
    child->SubWindow()->show();
    m_mdiArea->setActiveSubWindow(child->SubWindow());
    return child;
}
