#include "ResultsWindow.h"

#include "CurrentResult.h"
#include "DynamicsGraph.h"
#include "GraphDecoration.h"
#include "platform/DateText.h"
#include "platform/HelpTopic.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/LabelFit.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/SingleBorder.h"
#include "platform/ui/Twips.h"
#include "record/Evaluation.h"

#include <QAction>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

constexpr double DesignWidth = 8385.0;
constexpr double DesignHeight = 4905.0;
constexpr double LargePoints = 12.0;
// Where the captions and the boxes beside them start.
constexpr double CaptionLeft = 4560.0;
constexpr double BoxLeft = 5880.0;

enum class Look { Plain, Bold, Boxed, BoxedBold };

QLabel *styled(QLabel *widget, Look look, Qt::Alignment alignment = Qt::AlignLeft)
{
    widget->setAlignment(alignment | Qt::AlignTop);
    widget->setForegroundRole(QPalette::ButtonText);
    QFont font = widget->font();
    font.setPointSizeF(LargePoints);
    font.setBold(look == Look::Bold || look == Look::BoxedBold);
    widget->setFont(font);
    if (look == Look::Boxed || look == Look::BoxedBold)
        SingleBorder::Apply(widget);
    return widget;
}

void setBackColor(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

ResultsWindow::ResultsWindow(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(tr("Results"));
    HelpContext::Set(this, HelpTopic::Test);
    resize(Twips::ToPixels(DesignWidth, DesignHeight));
    BuildControls();
    connect(m_cancelButton, &QPushButton::clicked, this, &ResultsWindow::OnCancelClicked);

    auto *printResult = new QAction(tr("Print result..."), this);
    printResult->setObjectName(QStringLiteral("mnuPrintResult"));
    printResult->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    printResult->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(printResult);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(printResult, &QAction::triggered, this, &ResultsWindow::OnPrintResultClicked);
}

void ResultsWindow::BuildControls()
{
    // Qt has no colour of its own for the text of a title bar; its styles
    // write an active title in the colour of selected text.
    const QColor titleBarText = palette().color(QPalette::Active, QPalette::HighlightedText);
    const QColor highlightText = palette().color(QPalette::HighlightedText);

    m_graph = new PictureBox(this);
    m_graph->setAccessibleName(tr("Dynamics graph"));
    m_graph->setObjectName(QStringLiteral("Picture1"));
    // Only a place to look at here: the keys stay with the window's button.
    m_graph->setFocusPolicy(Qt::NoFocus);
    Twips::Place(m_graph, 120, 120, DynamicsPlot::BoxWidth, DynamicsPlot::BoxHeight);
    m_graph->SetBackColor(highlightText);
    m_graph->SetScaleOrigin(DynamicsGraph::ScaleLeft, DynamicsGraph::ScaleTop);
    // The axes, the grid and their captions, over which the graph is drawn.
    m_decoration = new GraphDecoration(m_graph);

    Twips::Place(styled(NewLabel("lblName", tr("Name")), Look::Plain), 4560, 120, 1215, 375);
    m_nameBox = styled(NewLabel("lblNm"), Look::Boxed);
    Twips::Place(m_nameBox, 5880, 120, 2415, 375);
    setBackColor(m_nameBox, titleBarText);

    Twips::Place(styled(NewLabel("lblDate", tr("Date")), Look::Plain), 4560, 600, 1215, 375);
    m_dateBox = styled(NewLabel("lblDt"), Look::Boxed, Qt::AlignHCenter);
    Twips::Place(m_dateBox, 5880, 600, 2415, 375);
    setBackColor(m_dateBox, titleBarText);

    Twips::Place(styled(NewLabel("lblTime", tr("Time")), Look::Plain), 4560, 1080, 1095, 375);
    m_timeBox = styled(NewLabel("lblTm"), Look::Boxed, Qt::AlignHCenter);
    Twips::Place(m_timeBox, 5880, 1080, 2415, 375);
    setBackColor(m_timeBox, titleBarText);

    Twips::Place(styled(NewLabel("lblResults", tr("Results")), Look::Bold), 4560, 1920, 1095, 375);
    m_resultsBox =
        styled(NewLabel("Label3", tr("There are no data!")), Look::BoxedBold, Qt::AlignHCenter);
    Twips::Place(m_resultsBox, 5880, 1800, 2415, 495);
    setBackColor(m_resultsBox, highlightText);

    Twips::Place(styled(NewLabel("lblValidation", tr("Reliability")), Look::Plain), 4560, 3000,
                 1215, 375);
    m_reliabilityBox = styled(NewLabel("lblValid"), Look::Boxed, Qt::AlignHCenter);
    Twips::Place(m_reliabilityBox, 5880, 3000, 2415, 375);
    setBackColor(m_reliabilityBox, highlightText);

    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("Command1"));
    m_cancelButton->setAutoDefault(false);
    Twips::Place(m_cancelButton, 7080, 4440, 1215, 375);
    // A caption longer in another language reaches towards its box, and
    // is drawn smaller where even that is not room enough.
    const int room = Twips::ToPixels(BoxLeft - CaptionLeft) - 4;
    for (QLabel *caption : findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        if (caption->x() != Twips::ToPixels(CaptionLeft))
            continue;
        LabelFit::Widen(caption, room);
        LabelFit::Shrink(caption, caption->font());
    }
}

void ResultsWindow::SetForeColor(QLabel *label, std::optional<QColor> colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::ButtonText,
                     colour.value_or(this->palette().color(QPalette::ButtonText)));
    label->setPalette(palette);
}

void ResultsWindow::OnActivate()
{
    const std::optional<TestResult> none;
    const std::optional<TestResult> &result = m_current != nullptr ? m_current->Get() : none;
    if (!result || !result->HasData()) {
        Platform::GetDialogs().MsgBox(Dialogs::Notice(tr("There are no data!")));
        return;
    }
    Show(*result);
}

void ResultsWindow::Show(const TestResult &result)
{
    const HistoryRecord &record = result.record;
    const auto &counts = record.RecCounts;
    m_graph->Cls();
    const DynamicsPlot plot =
        DynamicsGraph::DrawDynamics(counts[0], counts[1], counts[2], counts[3], *m_graph);
    m_decoration->SetScaleCaptions(plot.ScaleCaptions());
    // What the picture shows, for a reader that cannot see it.
    m_graph->setAccessibleDescription(tr("Counts %1, %2, %3, %4; CMF %5")
                                          .arg(counts[0])
                                          .arg(counts[1])
                                          .arg(counts[2])
                                          .arg(counts[3])
                                          .arg(result.Cmf()));

    m_nameBox->setText(record.RecName);
    // A date no calendar can show (a damaged record) is left blank.
    m_dateBox->setText(DateText::FromOle(record.RecDate).value_or(QString()));
    m_timeBox->setText(DateText::FromOle(record.RecTime).value_or(QString()));
    m_cancelButton->setFocus();

    const auto results = Evaluation::Present(result.results, Evaluation::Display::ResultsWindow);
    SetForeColor(m_resultsBox, results.colour);
    m_resultsBox->setText(results.text);
    const auto reliability =
        Evaluation::Present(result.reliability, Evaluation::Display::ResultsWindow);
    SetForeColor(m_reliabilityBox, reliability.colour);
    m_reliabilityBox->setText(reliability.text);
    m_shown = result;
}

void ResultsWindow::OnResize()
{
    // A child that the frame shows minimised or maximised keeps that state.
    const QWidget *frame = SubWindow();
    if (frame != nullptr && (frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    KeepDesignedSize();
}

void ResultsWindow::OnPrintResultClicked()
{
    // What is printed is what is on the screen, even when the current
    // result has changed since (the window shows its last result until it
    // is activated again).
    if (!m_shown) {
        Platform::GetDialogs().MsgBox(Dialogs::Notice(tr("There are no data!")));
        return;
    }
    emit PrintRequested(*m_shown);
}

void ResultsWindow::OnCancelClicked()
{
    // Nothing shows or evaluates the result again until a stored test or a
    // record from the history makes one current.
    emit ForgetRequested();
    if (QWidget *frame = SubWindow())
        frame->close();
    else
        close();
}
