#include "frmGraph.h"

#include "DynamicsGraph.h"
#include "Evaluation.h"
#include "GraphDecoration.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/HelpContext.h"
#include "platform/PictureBox.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "session/SessionState.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

constexpr double DesignWidth = 8385.0;
constexpr double DesignHeight = 4905.0;
constexpr double LargePoints = 12.0;

enum class Look { Plain, Bold, Boxed, BoxedBold };

QLabel *styled(QLabel *widget, Look look, Qt::Alignment alignment = Qt::AlignLeft)
{
    widget->setAlignment(alignment | Qt::AlignTop);
    widget->setForegroundRole(QPalette::ButtonText);
    QFont font = widget->font();
    font.setPointSizeF(LargePoints);
    font.setBold(look == Look::Bold || look == Look::BoxedBold);
    widget->setFont(font);
    if (look == Look::Boxed || look == Look::BoxedBold) {
        widget->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        widget->setLineWidth(1);
    }
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

frmGraph::frmGraph(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("Results"));
    HelpContext::Set(this, 103);
    resize(Twips::ToPixels(DesignWidth, DesignHeight));
    BuildControls();
    connect(m_command1, &QPushButton::clicked, this, &frmGraph::Command1_Click);
}

void frmGraph::BuildControls()
{
    // Qt has no colour of its own for the text of a title bar; its styles
    // write an active title in the colour of selected text.
    const QColor titleBarText = palette().color(QPalette::Active, QPalette::HighlightedText);
    const QColor highlightText = palette().color(QPalette::HighlightedText);

    m_picture1 = new PictureBox(this);
    m_picture1->setAccessibleName(QStringLiteral("Dynamics graph"));
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    // Only a place to look at here: the keys stay with the window's button.
    m_picture1->setFocusPolicy(Qt::NoFocus);
    Twips::Place(m_picture1, 120, 120, 4215, 4695);
    m_picture1->SetBackColor(highlightText);
    m_picture1->SetScaleOrigin(DynamicsGraph::ScaleLeft, DynamicsGraph::ScaleTop);
    // The axes, the grid and their captions, over which the graph is drawn.
    m_decoration = new GraphDecoration(m_picture1);

    Twips::Place(styled(NewLabel("lblName", QStringLiteral("Name")), Look::Plain), 4560, 120, 1215,
                 375);
    m_lblNm = styled(NewLabel("lblNm"), Look::Boxed);
    Twips::Place(m_lblNm, 5880, 120, 2415, 375);
    setBackColor(m_lblNm, titleBarText);

    Twips::Place(styled(NewLabel("lblDate", QStringLiteral("Date")), Look::Plain), 4560, 600, 1215,
                 375);
    m_lblDt = styled(NewLabel("lblDt"), Look::Boxed, Qt::AlignHCenter);
    Twips::Place(m_lblDt, 5880, 600, 2415, 375);
    setBackColor(m_lblDt, titleBarText);

    Twips::Place(styled(NewLabel("lblTime", QStringLiteral("Time")), Look::Plain), 4560, 1080, 1095,
                 375);
    m_lblTm = styled(NewLabel("lblTm"), Look::Boxed, Qt::AlignHCenter);
    Twips::Place(m_lblTm, 5880, 1080, 2415, 375);
    setBackColor(m_lblTm, titleBarText);

    Twips::Place(styled(NewLabel("lblResults", QStringLiteral("Results")), Look::Bold), 4560, 1920,
                 1095, 375);
    m_label3 = styled(NewLabel("Label3", QStringLiteral("There are no data!")), Look::BoxedBold,
                      Qt::AlignHCenter);
    Twips::Place(m_label3, 5880, 1800, 2415, 495);
    setBackColor(m_label3, highlightText);

    Twips::Place(styled(NewLabel("lblValidation", QStringLiteral("Reliability")), Look::Plain),
                 4560, 3000, 1215, 375);
    m_lblValid = styled(NewLabel("lblValid"), Look::Boxed, Qt::AlignHCenter);
    Twips::Place(m_lblValid, 5880, 3000, 2415, 375);
    setBackColor(m_lblValid, highlightText);

    m_command1 = new QPushButton(QStringLiteral("Cancel"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setAutoDefault(false);
    Twips::Place(m_command1, 7080, 4440, 1215, 375);
}

void frmGraph::SetForeColor(QLabel *label, std::optional<QColor> colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::ButtonText,
                     colour.value_or(this->palette().color(QPalette::ButtonText)));
    label->setPalette(palette);
}

void frmGraph::Form_Activate()
{
    const SessionState &session = Session();
    const std::int16_t c1 = session.Counts[1];
    const std::int16_t c2 = session.Counts[2];
    const std::int16_t c3 = session.Counts[3];
    const std::int16_t c4 = session.Counts[4];
    if (c1 == 0) {
        Platform::GetDialogs().MsgBox(Dialogs::Notice(QStringLiteral("There are no data!")));
        return;
    }

    m_picture1->Cls();
    const DynamicsPlot plot = DynamicsGraph::DrawDynamics(c1, c2, c3, c4, *m_picture1);
    m_decoration->SetScaleCaptions(plot.ScaleCaptions());
    // What the picture shows, for a reader that cannot see it.
    m_picture1->setAccessibleDescription(QStringLiteral("Counts %1, %2, %3, %4; CMF %5")
                                             .arg(c1)
                                             .arg(c2)
                                             .arg(c3)
                                             .arg(c4)
                                             .arg(session.CurrentRecord.RecCMF));

    const HistoryRecord &record = session.CurrentRecord;
    m_lblNm->setText(record.RecName);
    // A date no calendar can show (a damaged record) is left blank.
    m_lblDt->setText(DateText::FromOle(record.RecDate).value_or(QString()));
    m_lblTm->setText(DateText::FromOle(record.RecTime).value_or(QString()));
    m_command1->setFocus();

    // The stored CMF as it stands: the verdicts are never recomputed here.
    const auto results = Evaluation::Present(Evaluation::ResultsVerdict(record.RecCMF),
                                             Evaluation::Display::ResultsWindow);
    SetForeColor(m_label3, results.colour);
    m_label3->setText(results.text);
    const auto reliability = Evaluation::Present(
        Evaluation::ReliabilityVerdict(c1, c4, record.RecCMF), Evaluation::Display::ResultsWindow);
    SetForeColor(m_lblValid, reliability.colour);
    m_lblValid->setText(reliability.text);
}

void frmGraph::Form_Resize()
{
    // A child that the frame shows minimised or maximised keeps that state.
    const QWidget *frame = SubWindow();
    if (frame != nullptr && (frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    KeepDesignedSize();
}

void frmGraph::Command1_Click()
{
    // The result is forgotten, so nothing shows or evaluates it again
    // until a new run or a record from the history makes one current.
    SessionState &session = Session();
    for (std::size_t i = 1; i < session.Counts.size(); ++i)
        session.Counts[i] = 0;
    session.CurrentRecord.SetName(QString());
    if (QWidget *frame = SubWindow())
        frame->close();
    else
        close();
}
