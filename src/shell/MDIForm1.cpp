#include "MDIForm1.h"

#include "frmAbout.h"
#include "history/Form3.h"
#include "history/HistoryExport.h"
#include "history/HistoryFileOperations.h"
#include "history/HistoryPrinter.h"
#include "history/HistoryStore.h"
#include "history/TrendWindow.h"
#include "platform/HelpContext.h"
#include "platform/PictureBox.h"
#include "platform/Twips.h"
#include "results/ResultPrinter.h"
#include "results/frmGraph.h"
#include "session/Form1.h"
#include "session/SessionState.h"
#include "session/Startup.h"
#include "shell/help/HelpKeyFilter.h"

#include <QCloseEvent>
#include <QFileInfo>
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

MDIForm1::MDIForm1(QWidget *parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this)), m_exit([] { std::_Exit(EXIT_SUCCESS); })
{
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Velmora"));
    // The program's icon, shared by the frame and its child windows.
    setWindowIcon(QIcon(QStringLiteral(":/art/velmora.png")));
    m_mdiArea->setBackground(palette().brush(QPalette::Dark));
    // A child that reaches past a shrunk frame can still be scrolled to.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Closing the active child brings up the one beneath it, as it is seen,
    // not the one opened first.
    m_mdiArea->setActivationOrder(QMdiArea::StackingOrder);
    setCentralWidget(m_mdiArea);
    BuildMenus();
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MDIForm1::SubWindowActivated);
    // F1 pressed in the diagram of a test going on is one of the test's
    // keys, not a request for help.
    m_helpKey = new HelpKeyFilter(this);
    m_helpKey->SetKeyOwner([this](QWidget *focus) {
        const Form1 *test = Child<Form1>();
        return test != nullptr && test->Run().CurrentState() != TestRun::State::Idle &&
               focus == test->Picture1();
    });
    m_strayKeys.SetCovered([this](const QWidget *widget) {
        for (const ChildWindow *window : {static_cast<ChildWindow *>(Child<Form1>()),
                                          static_cast<ChildWindow *>(Child<frmGraph>())})
            if (window != nullptr && window->isAncestorOf(widget))
                return true;
        return false;
    });
    Load();
}

MDIForm1::~MDIForm1()
{
    // The workspace outlives this part of the frame and still reports its
    // children's activation while it is torn down.
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

void MDIForm1::Start()
{
    Startup::Main([this] {
        show();
        ShowChild<Form1>();
    });
}

void MDIForm1::Load()
{
    // The window system places the frame; the program sets only its size.
    SetOuterSize(Twips::ToPixels(LoadWidth, LoadHeight));
}

void MDIForm1::SetOuterSize(QSize outer)
{
    m_outerSize = outer;
    m_chrome = frameGeometry().size() - size();
    resize(outer - m_chrome);
}

bool MDIForm1::event(QEvent *event)
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

void MDIForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only a shown window knows the size of its frame, so the outer size is
    // set again once it is on the screen.
    if (!m_loaded) {
        m_loaded = true;
        Load();
    }
}

void MDIForm1::BuildMenus()
{
    QMenu *file = AddMenu("mnuFile", QStringLiteral("&File"));
    m_mnuOpenOld = AddItem(file, "mnuOpenOld", QStringLiteral("&Open old data(for viewing only)"),
                           &MDIForm1::mnuOpenOld_Click);
    m_mnuSave = AddItem(file, "mnuSave", QStringLiteral("&Save data as..."),
                        &MDIForm1::mnuSave_Click, false);
    m_mnuExport = AddItem(file, "mnuExport", QStringLiteral("&Export text file"),
                          &MDIForm1::mnuExport_Click, false);
    m_mnuClear = AddItem(file, "mnuClear", QStringLiteral("&Clear default file data"),
                         &MDIForm1::mnuClear_Click, false);
    AddSeparator(file, "mnuProbel");
    m_mnuPr = AddItem(file, "mnuPr", QStringLiteral("&Print data"), &MDIForm1::mnuPr_Click, false);
    AddSeparator(file, "mnuPr3");
    m_mnuExit = AddItem(file, "mnuExit", QStringLiteral("&Exit"), &MDIForm1::mnuExit_Click);

    QMenu *view = AddMenu("mnuView", QStringLiteral("&View"));
    m_mnuTest = AddItem(view, "mnuTest", QStringLiteral("&Test"), &MDIForm1::mnuTest_Click);
    m_mnuGraph = AddItem(view, "mnuGraph", QStringLiteral("&Results"), &MDIForm1::mnuGraph_Click);
    m_mnuDat = AddItem(view, "mnuDat", QStringLiteral("&Data"), &MDIForm1::mnuDat_Click);
    m_mnuTrend =
        AddItem(view, "mnuTrend", QStringLiteral("Tr&end"), &MDIForm1::mnuTrend_Click, false);

    QMenu *help = AddMenu("mnuHelp", QStringLiteral("Help"));
    m_mnuContents =
        AddItem(help, "mnuContents", QStringLiteral("Contents"), &MDIForm1::mnuContents_Click);
    AddSeparator(help, "mnul");
    m_mnuAbout =
        AddItem(help, "mnuAbout", QStringLiteral("About Velmora"), &MDIForm1::mnuAbout_Click);
}

QMenu *MDIForm1::AddMenu(const char *name, const QString &caption)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

QAction *MDIForm1::AddItem(QMenu *menu, const char *name, const QString &caption,
                           void (MDIForm1::*handler)(), bool enabled)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void MDIForm1::AddSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QMdiSubWindow *MDIForm1::AddChild(ChildWindow *child)
{
    QMdiSubWindow *frame = m_mdiArea->addSubWindow(child);
    ChildWindow::ConfigureFrame(frame);
    frame->move(FreeCascadePlace(frame));
    frame->setWindowIcon(windowIcon());
    connect(child, &ChildWindow::Unloaded, this, &MDIForm1::UpdateMenus);
    return frame;
}

QPoint MDIForm1::FreeCascadePlace(const QMdiSubWindow *frame) const
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

void MDIForm1::Connect(ChildWindow * /*child*/) {}

void MDIForm1::Connect(Form1 *form)
{
    connect(form, &Form1::NextRequested, this, &MDIForm1::ShowResults);
    TestRun *run = &form->Run();
    connect(run, &TestRun::Completed, this, [this, run] { StoreRun(run); });
    // The tested person's last keys come just after the stop, whether the
    // test ended or Esc stopped it.
    connect(run, &TestRun::Stopped, this, [this] { m_strayKeys.Start(); });
}

void MDIForm1::StoreRun(TestRun *run)
{
    if (!HistoryStore::AppendCurrentRecord(run->Record(), run->Counts()))
        return;
    // The data window lists the history as it is, the test just stored
    // included.
    if (auto *data = Child<Form3>())
        data->ShowStoredTest();
}

void MDIForm1::Connect(Form3 *form)
{
    connect(form, &Form3::ResultsRequested, this, &MDIForm1::ShowResults);
    connect(form, &Form3::SaveRequested, this, &MDIForm1::mnuSave_Click);
    connect(form, &Form3::PrintRequested, this, &MDIForm1::mnuPr_Click);
    connect(form, &Form3::ClearRequested, this, &MDIForm1::mnuClear_Click);
    connect(form, &Form3::TrendRequested, this, &MDIForm1::ShowTrend);
    connect(form->List1(), &QListWidget::itemSelectionChanged, this, &MDIForm1::UpdateMenus);
}

void MDIForm1::Connect(TrendWindow *form)
{
    // A test chosen in the trend becomes the data window's selection, and
    // so the current result that "Results" shows.
    connect(form, &TrendWindow::RecordChosen, this, [this](qint64 recNo) {
        if (auto *data = Child<Form3>())
            data->SelectRecord(recNo);
    });
}

void MDIForm1::Connect(frmGraph *form)
{
    connect(form, &frmGraph::PrintRequested, this, [this](const ResultReport &report) {
        // Without a printer the PDF is offered beside the history in use.
        m_dlog.SetInitDir(HistoryStore::DataFolder());
        ResultPrinter::Print(m_dlog, report);
    });
}

void MDIForm1::UpdateMenus()
{
    // The history commands work on what the data window shows, so they are
    // usable from its first activation until it is closed, whichever child
    // is active meanwhile.
    const bool dataOpen = Child<Form3>() != nullptr;
    for (QAction *item : {m_mnuSave, m_mnuExport, m_mnuClear, m_mnuPr})
        item->setEnabled(dataOpen);
    // The trend is of the person on the data window's selected line.
    m_mnuTrend->setEnabled(dataOpen && Child<Form3>()->SelectedRecord() > 0);
}

void MDIForm1::ShowResults()
{
    EnlargeMainWindow();
    ShowChild<frmGraph>();
}

void MDIForm1::SubWindowActivated(QMdiSubWindow *window)
{
    // Null comes when the whole program loses the focus: no child changes
    // then, and none when the program gets it back.
    auto *child = window != nullptr ? qobject_cast<ChildWindow *>(window->widget()) : nullptr;
    if (child == nullptr || child == m_activeChild)
        return;
    if (m_activeChild != nullptr && !m_activeChild->IsUnloaded())
        m_activeChild->Form_Deactivate();
    m_activeChild = child;
    child->Form_Activate();
    UpdateMenus();
}

void MDIForm1::EnlargeMainWindow()
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

void MDIForm1::mnuTest_Click()
{
    if (Session().TestFormActive) {
        if (auto *test = Child<Form1>())
            test->ReturnFocus();
        return;
    }
    ShowChild<Form1>();
}

void MDIForm1::mnuGraph_Click()
{
    ShowResults();
}

void MDIForm1::mnuDat_Click()
{
    EnlargeMainWindow();
    ShowChild<Form3>();
}

void MDIForm1::mnuTrend_Click()
{
    const Form3 *data = Child<Form3>();
    if (data != nullptr && data->SelectedRecord() > 0)
        ShowTrend(data->SelectedRecord());
}

void MDIForm1::ShowTrend(qint64 recNo)
{
    EnlargeMainWindow();
    auto *trend = ShowChild<TrendWindow>();
    // A line whose record has gone from the file meanwhile has no person:
    // a trend window opened for it alone would stay empty.
    if (!trend->ShowPersonOf(recNo) && !trend->HasPerson())
        trend->SubWindow()->close();
}

void MDIForm1::mnuOpenOld_Click()
{
    const QString viewed = Session().DataPath;
    HistoryFileOperations::OpenOldData(m_dlog, [this] {
        if (auto *data = Child<Form3>())
            data->RefreshList();
    });
    // The trend shows the history being viewed whichever window is active,
    // so a test chosen in it is the one the data window then reads.
    if (auto *trend = Child<TrendWindow>(); trend != nullptr && Session().DataPath != viewed)
        trend->Refresh();
    UpdateMenus();
}

void MDIForm1::mnuSave_Click()
{
    HistoryFileOperations::SaveDataAs(m_dlog);
}

void MDIForm1::mnuExport_Click()
{
    HistoryExport::Export(m_dlog, Startup::DefaultDataPath());
}

void MDIForm1::mnuClear_Click()
{
    HistoryFileOperations::ClearDefaultHistory(Startup::DefaultDataPath(), [this] {
        if (auto *data = Child<Form3>())
            data->ClearDisplay();
        if (auto *trend = Child<TrendWindow>())
            trend->ClearDisplay();
    });
    // Nor does it show tests of a history cleared away.
    if (auto *trend = Child<TrendWindow>();
        trend != nullptr && !QFileInfo::exists(Session().DataPath))
        trend->ClearDisplay();
    UpdateMenus();
}

void MDIForm1::mnuPr_Click()
{
    HistoryPrinter::Print(m_dlog);
}

void MDIForm1::mnuContents_Click()
{
    // The menu belongs to this window, so its focus widget is where the
    // person was working.
    QWidget *focus = focusWidget();
    HelpContext::SendHelpKey(focus != nullptr ? focus : this);
}

void MDIForm1::mnuAbout_Click()
{
    if (m_about == nullptr) {
        m_about = new frmAbout(this);
        m_about->move(frameGeometry().center() - m_about->rect().center());
    }
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MDIForm1::mnuExit_Click()
{
    m_exit();
}

void MDIForm1::closeEvent(QCloseEvent *event)
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
