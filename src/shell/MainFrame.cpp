#include "MainFrame.h"

#include "AboutWindow.h"
#include "history/DataWindow.h"
#include "history/HistoryExport.h"
#include "history/HistoryFileOperations.h"
#include "history/HistoryPrinter.h"
#include "history/HistoryStore.h"
#include "history/KeyPressExport.h"
#include "history/KeyPressFile.h"
#include "history/KeyPressReader.h"
#include "platform/Platform.h"
#include "platform/files/FileIdentity.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/Twips.h"
#include "results/ResultPrinter.h"
#include "results/ResultReport.h"
#include "results/ResultsWindow.h"
#include "session/Startup.h"
#include "session/TestWindow.h"
#include "shell/help/HelpKeyFilter.h"
#include "trend/TrendWindow.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QStyle>

#include <cstdlib>

namespace {

constexpr double LoadWidth = 9465.0;
constexpr double LoadHeight = 6165.0;
constexpr double GrowUntilHeight = 7000.0;
constexpr double Growth = 1.1;

} // namespace

MainFrame::MainFrame(const QString &defaultHistory, QWidget *parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this)), m_exit([] { std::_Exit(EXIT_SUCCESS); }),
      m_defaultHistory(defaultHistory), m_history(defaultHistory)
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Velmora"));
    // The program's icon, shared by the frame and its child windows.
    setWindowIcon(ProgramIcon());
    m_mdiArea->setBackground(palette().brush(QPalette::Dark));
    // A child that reaches past a shrunk frame can still be scrolled to.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Closing the active child brings up the one beneath it, as it is seen,
    // not the one opened first.
    m_mdiArea->setActivationOrder(QMdiArea::StackingOrder);
    setCentralWidget(m_mdiArea);
    BuildMenus();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainFrame::SubWindowActivated);
    connect(&m_current, &CurrentResult::Changed, this, &MainFrame::FollowCurrent);
    // While a test goes on, F1 is one of the tested person's keys, not a
    // request for help.
    m_helpKey = new HelpKeyFilter(this);
    m_helpKey->SetKeyOwner([this](QWidget * /*focus*/) { return RunGoingOn(); });
    m_strayKeys.SetCovered([this](const QWidget *widget) {
        for (const ChildWindow *window : {static_cast<ChildWindow *>(Child<TestWindow>()),
                                          static_cast<ChildWindow *>(Child<ResultsWindow>())})
            if (window != nullptr && window->isAncestorOf(widget))
                return true;
        return false;
    });
    Load();
}

MainFrame::~MainFrame()
{
    // The workspace outlives this part of the frame and still reports its
    // children's activation while it is torn down.
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

void MainFrame::Start()
{
    Startup::Main([this] {
        show();
        ShowChild<TestWindow>();
    });
}

QIcon MainFrame::ProgramIcon()
{
    QIcon icon(QStringLiteral(":/art/velmora.png"));
    for (const int size : {16, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/art/velmora-%1.png").arg(size), QSize(size, size));
    return icon;
}

void MainFrame::Load()
{
    // The window system places the frame; the program sets only its size.
    SetOuterSize(Twips::ToPixels(LoadWidth, LoadHeight));
}

void MainFrame::SetOuterSize(QSize outer)
{
    m_outerSize = outer;
    m_chrome = frameGeometry().size() - size();
    resize(outer - m_chrome);
}

bool MainFrame::event(QEvent *event)
{
    // A window manager adds its frame only after the window is on the
    // screen; when the frame's size turns out other than it was taken to
    // be, the outer size the program set is set again. A user's resizing
    // leaves the frame as it is and is left alone.
    const bool handled = QMainWindow::event(event);
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        m_outerSize.isValid() && windowState() == Qt::WindowNoState &&
        frameGeometry().size() - size() != m_chrome)
        SetOuterSize(m_outerSize);
    return handled;
}

void MainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only a shown window knows the size of its frame, so the outer size is
    // set again once it is on the screen.
    if (!m_loaded) {
        m_loaded = true;
        Load();
    }
}

void MainFrame::BuildMenus()
{
    QMenu *file = AddMenu("mnuFile", tr("&File"));
    m_openOldAction =
        AddItem(file, "mnuOpenOld", tr("&Open old data(for viewing only)"), &MainFrame::OnOpenOld);
    m_saveAsAction = AddItem(file, "mnuSave", tr("&Save data as..."), &MainFrame::OnSaveAs, false);
    m_exportAction =
        AddItem(file, "mnuExport", tr("&Export text file"), &MainFrame::OnExport, false);
    m_exportPressesAction = AddItem(file, "mnuExportPresses", tr("Export &key presses..."),
                                    &MainFrame::OnExportPresses, false);
    m_clearAction =
        AddItem(file, "mnuClear", tr("&Clear default file data"), &MainFrame::OnClear, false);
    AddSeparator(file, "mnuProbel");
    m_printAction = AddItem(file, "mnuPr", tr("&Print data"), &MainFrame::OnPrint, false);
    AddSeparator(file, "mnuPr3");
    m_exitAction = AddItem(file, "mnuExit", tr("&Exit"), &MainFrame::OnExit);

    QMenu *view = AddMenu("mnuView", tr("&View"));
    m_testAction = AddItem(view, "mnuTest", tr("&Test"), &MainFrame::OnTest);
    m_resultsAction = AddItem(view, "mnuGraph", tr("&Results"), &MainFrame::OnResults);
    m_dataAction = AddItem(view, "mnuDat", tr("&Data"), &MainFrame::OnData);
    m_trendAction = AddItem(view, "mnuTrend", tr("Tr&end"), &MainFrame::OnTrend, false);

    QMenu *help = AddMenu("mnuHelp", tr("Help"));
    m_contentsAction = AddItem(help, "mnuContents", tr("Contents"), &MainFrame::OnHelpContents);
    AddSeparator(help, "mnul");
    m_aboutAction = AddItem(help, "mnuAbout", tr("About Velmora"), &MainFrame::OnAbout);
    m_aboutQtAction = AddItem(help, "mnuAboutQt", tr("About &Qt"), &MainFrame::OnAboutQt);
}

QMenu *MainFrame::AddMenu(const char *name, const QString &caption)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction *MainFrame::AddItem(QMenu *menu, const char *name, const QString &caption,
                            void (MainFrame::*handler)(), bool enabled)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void MainFrame::AddSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QMdiSubWindow *MainFrame::AddChild(ChildWindow *child)
{
    QMdiSubWindow *frame = m_mdiArea->addSubWindow(child);
    ChildWindow::ConfigureFrame(frame);
    frame->move(FreeCascadePlace(frame));
    frame->setWindowIcon(windowIcon());
    connect(child, &ChildWindow::Unloaded, this, &MainFrame::UpdateMenus);
    return frame;
}

QPoint MainFrame::FreeCascadePlace(const QMdiSubWindow *frame) const
{
    // Each window opens down and to the right of the ones already open, as
    // a multi-document frame cascades them, so its title and its top-left
    // controls are in sight instead of wherever the free space happens to
    // be (often past the frame's right edge). A window opened again takes
    // the first place left free, never one an open window sits on.
    const int step = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
    QList<QPoint> taken;
    for (const QMdiSubWindow *open : m_mdiArea->subWindowList()) {
        const auto *child = qobject_cast<const ChildWindow *>(open->widget());
        if (open != frame && (child == nullptr || !child->IsUnloaded()))
            taken.append(open->pos());
    }
    QPoint place(0, 0);
    while (taken.contains(place))
        place += QPoint(step, step);
    return place;
}

bool MainFrame::RunGoingOn() const
{
    const TestWindow *test = Child<TestWindow>();
    return test != nullptr && test->Run().CurrentState() != TestRun::State::Idle;
}

void MainFrame::Connect(ChildWindow * /*child*/) {}

void MainFrame::Connect(TestWindow *window)
{
    connect(window, &TestWindow::NextRequested, this, &MainFrame::ShowResults);
    const TestRun *run = &window->Run();
    connect(run, &TestRun::Completed, this, [this, run] { StoreRun(*run); });
    // An aborted test leaves no result to show.
    connect(run, &TestRun::Aborted, &m_current, &CurrentResult::Clear);
    // The tested person's last keys come just after the stop, whether the
    // test ended or Esc stopped it.
    connect(run, &TestRun::Stopped, this, [this] { m_strayKeys.Start(); });
}

void MainFrame::StoreRun(const TestRun &run)
{
    HistoryRecord record = run.Record();
    const std::optional<qint64> recNo = HistoryStore::Append(m_history, record, run.Counts());
    // The record is what counts: presses that could not be kept beside it
    // are missed only by their export, which says so.
    if (recNo)
        KeyPressFile::Append(m_history, *recNo, record, run.Presses());
    // A test that could not be stored can still be looked at, as long as
    // the program runs.
    m_current.Set(TestResult::Of(record, recNo ? m_history : QString(), recNo.value_or(0)));
    if (recNo)
        ShowHistoryInViews(*recNo);
}

void MainFrame::ShowHistoryInViews(qint64 storedRecNo)
{
    if (auto *data = Child<DataWindow>()) {
        data->SetHistoryPath(m_history);
        if (storedRecNo > 0)
            data->ShowStoredTest(storedRecNo);
        else
            data->RefreshList();
    }
    if (auto *trend = Child<TrendWindow>()) {
        trend->Refresh(m_history);
        trend->ShowChosen(m_current.Get());
    }
    UpdateMenus();
}

void MainFrame::FollowCurrent(const std::optional<TestResult> &result)
{
    // Chosen in one view, the test is the one chosen in the other: the data
    // window selects its line (when it lists that history), the trend its
    // row (or none).
    auto *data = Child<DataWindow>();
    if (data != nullptr && result && result->historyPath == data->HistoryPath() &&
        result->recNo != data->SelectedRecord())
        data->SelectRecord(result->recNo);
    if (auto *trend = Child<TrendWindow>())
        trend->ShowChosen(result);
}

void MainFrame::Connect(DataWindow *window)
{
    window->SetHistoryPath(m_history);
    connect(window, &DataWindow::RecordSelected, &m_current, &CurrentResult::Set);
    connect(window, &DataWindow::ResultsRequested, this, [this](const TestResult &result) {
        m_current.Set(result);
        ShowResults();
    });
    connect(window, &DataWindow::SaveRequested, this, &MainFrame::OnSaveAs);
    connect(window, &DataWindow::PrintRequested, this, &MainFrame::OnPrint);
    connect(window, &DataWindow::ClearRequested, this, &MainFrame::OnClear);
    connect(window, &DataWindow::TrendRequested, this, &MainFrame::ShowTrend);
    connect(window->List(), &QListWidget::itemSelectionChanged, this, &MainFrame::UpdateMenus);
}

void MainFrame::Connect(TrendWindow *window)
{
    connect(window, &TrendWindow::TestChosen, &m_current, &CurrentResult::Set);
}

void MainFrame::Connect(ResultsWindow *window)
{
    window->ReadFrom(&m_current);
    connect(window, &ResultsWindow::ForgetRequested, &m_current, &CurrentResult::Clear);
    connect(window, &ResultsWindow::PrintRequested, this, [this](const TestResult &result) {
        // Without a printer the PDF is offered beside the history in use.
        m_commonDialog.SetInitDir(HistoryStore::FolderOf(m_history));
        // The presses kept beside the history add their rhythm to the page.
        const KeyPresses presses =
            KeyPressReader::Of(result.historyPath, result.recNo, result.record);
        ResultPrinter::Print(m_commonDialog, ResultReport(result, presses),
                             HistoryExport::Kept(m_history, m_defaultHistory));
    });
}

void MainFrame::UpdateMenus()
{
    // The history commands work on what the data window shows, so they are
    // usable from its first activation until it is closed, whichever child
    // is active meanwhile.
    const DataWindow *data = Child<DataWindow>();
    for (QAction *item :
         {m_saveAsAction, m_exportAction, m_exportPressesAction, m_clearAction, m_printAction})
        item->setEnabled(data != nullptr);
    // The trend is of the person on the data window's selected line.
    m_trendAction->setEnabled(data != nullptr && data->SelectedRecord() > 0);
}

void MainFrame::ShowResults()
{
    EnlargeMainWindow();
    ShowChild<ResultsWindow>();
}

void MainFrame::SubWindowActivated(QMdiSubWindow *window)
{
    // Null comes when the whole program loses the focus: no child changes
    // then, and none when the program gets it back.
    auto *child = window != nullptr ? qobject_cast<ChildWindow *>(window->widget()) : nullptr;
    if (child == nullptr || child == m_activeChild)
        return;
    if (m_activeChild != nullptr && !m_activeChild->IsUnloaded())
        m_activeChild->OnDeactivate();
    m_activeChild = child;
    child->OnActivate();
    UpdateMenus();
}

void MainFrame::EnlargeMainWindow()
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QSize outer = frameGeometry().size();
    const double heightTwips = Twips::FromPixels(outer.height());
    if (heightTwips >= GrowUntilHeight)
        return;
    SetOuterSize({Twips::ToPixels(Twips::FromPixels(outer.width()) * Growth),
                  Twips::ToPixels(heightTwips * Growth)});
}

void MainFrame::OnTest()
{
    if (auto *test = Child<TestWindow>(); test != nullptr && m_activeChild == test) {
        test->ReturnFocus();
        return;
    }
    ShowChild<TestWindow>();
}

void MainFrame::OnResults()
{
    ShowResults();
}

void MainFrame::OnData()
{
    EnlargeMainWindow();
    ShowChild<DataWindow>();
}

void MainFrame::OnTrend()
{
    const DataWindow *data = Child<DataWindow>();
    if (data != nullptr && data->SelectedRecord() > 0)
        ShowTrend(data->SelectedRecord());
}

void MainFrame::ShowTrend(qint64 recNo)
{
    EnlargeMainWindow();
    auto *trend = ShowChild<TrendWindow>();
    // A line whose record has gone from the file meanwhile has no person:
    // a trend window opened for it alone would stay empty.
    if (!trend->ShowPersonOf(m_history, recNo) && !trend->HasPerson())
        trend->SubWindow()->close();
}

void MainFrame::OnOpenOld()
{
    const auto chosen = HistoryFileOperations::ChooseOldData(m_commonDialog, m_history);
    if (!chosen)
        return;
    m_history = *chosen;
    ShowHistoryInViews();
    HistoryFileOperations::TellOpened(m_history, Child<DataWindow>() != nullptr);
}

void MainFrame::OnSaveAs()
{
    HistoryFileOperations::SaveDataAs(m_commonDialog, m_history, m_defaultHistory);
}

void MainFrame::OnExport()
{
    HistoryExport::Export(m_commonDialog, m_history, m_defaultHistory);
}

void MainFrame::OnExportPresses()
{
    KeyPressExport::Export(m_commonDialog, m_history, m_defaultHistory);
}

void MainFrame::OnClear()
{
    const bool inUse = FileIdentity::Same(m_history, m_defaultHistory);
    if (HistoryFileOperations::ClearDefaultHistory(m_defaultHistory) && inUse) {
        // The history in use is now in "res": the views show it empty, as
        // the next test will find it, without reading a file into being.
        if (auto *data = Child<DataWindow>())
            data->ClearDisplay();
        if (auto *trend = Child<TrendWindow>())
            trend->ClearDisplay();
        // Its tests have no line in any view any more.
        if (const auto &current = m_current.Get(); current && current->historyPath == m_history)
            m_current.Set(TestResult::Of(current->record));
    }
    UpdateMenus();
}

void MainFrame::OnPrint()
{
    HistoryPrinter::Print(m_commonDialog, m_history, m_defaultHistory);
}

void MainFrame::OnHelpContents()
{
    // The menu belongs to this window, so its focus widget is where the
    // person was working.
    QWidget *focus = focusWidget();
    HelpContext::SendHelpKey(focus != nullptr ? focus : this);
}

void MainFrame::OnAbout()
{
    if (m_about == nullptr) {
        m_about = new AboutWindow(this);
        m_about->move(frameGeometry().center() - m_about->rect().center());
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MainFrame::OnAboutQt()
{
    Platform::GetDialogs().AboutQt({tr("About Qt")});
}

void MainFrame::OnExit()
{
    m_exit();
}

void MainFrame::closeEvent(QCloseEvent *event)
{
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    if (m_about != nullptr)
        m_about->close();
    event->accept();
}
