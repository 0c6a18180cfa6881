#include "Form3.h"

#include "HistoryList.h"
#include "RecordReader.h"
#include "platform/Dialogs.h"
#include "platform/HelpContext.h"
#include "platform/Platform.h"
#include "platform/SingleBorder.h"
#include "platform/Twips.h"
#include "results/Evaluation.h"
#include "results/RecordDetails.h"
#include "session/SessionState.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>

namespace {

constexpr int HelpTopic = 104;

// The list and the details are read at a size larger than the captions.
QFont detailFont(const QFont &base)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), base.family()});
    font.setPointSizeF(9.75);
    return font;
}

// The history lines are built in fixed columns, which line up only when
// every character is as wide as the next.
QFont listFont(const QFont &base)
{
    QFont font = base;
    font.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Courier New")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    return font;
}

// A button that shows only its picture; a screen reader says the name of
// the command it runs instead.
QToolButton *pictureButton(QWidget *parent, const char *name, const char *icon, const QString &tip,
                           const QString &command)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setToolTip(tip);
    button->setAccessibleName(command);
    return button;
}

} // namespace

Form3::Form3(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Data"));
    HelpContext::Set(this, HelpTopic);
    BuildControls();
    connect(m_list1, &QListWidget::itemSelectionChanged, this, &Form3::List1_Click);
    connect(m_cmdResults, &QPushButton::clicked, this, &Form3::cmdResults_Click);
    connect(m_cmdExit, &QPushButton::clicked, this, &Form3::cmdExit_Click);
    connect(m_command4, &QToolButton::clicked, this, &Form3::SaveRequested);
    connect(m_command3, &QToolButton::clicked, this, &Form3::PrintRequested);
    connect(m_command6, &QToolButton::clicked, this, &Form3::ClearRequested);
    connect(m_command5, &QToolButton::clicked, this, &Form3::Command5_Click);
    connect(m_list1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit TrendRequested(m_list1->row(item) + 1); });
}

void Form3::BuildControls()
{
    const QFont details = detailFont(font());

    m_list1 = new QListWidget(this);
    m_list1->setAccessibleName(QStringLiteral("History"));
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setFont(listFont(font()));
    // A line wider than the list is scrolled to, whole, never cut short.
    m_list1->setTextElideMode(Qt::ElideNone);
    m_list1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every line has the same height, so a long history is laid out
    // without measuring each line.
    m_list1->setUniformItemSizes(true);
    Twips::Place(m_list1, 120, 1320, 6975, 3420);

    auto *frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Twips::Place(frame1, -240, 0, 8655, 495);
    m_command4 = pictureButton(frame1, "Command4", ":/art/save.png",
                               QStringLiteral("Save data as..."), QStringLiteral("Save data as"));
    Twips::Place(m_command4, 360, 120, 375, 375);
    m_command3 = pictureButton(frame1, "Command3", ":/art/print.png", QStringLiteral("Print data"),
                               QStringLiteral("Print data"));
    Twips::Place(m_command3, 720, 120, 375, 375);
    m_command6 = pictureButton(frame1, "Command6", ":/art/clear.png", QStringLiteral("Clear data"),
                               QStringLiteral("Clear default file data"));
    Twips::Place(m_command6, 1080, 120, 375, 375);
    m_command5 = pictureButton(frame1, "Command5", ":/art/help.png", QStringLiteral("Help"),
                               QStringLiteral("Help"));
    HelpContext::Set(m_command5, HelpTopic);
    Twips::Place(m_command5, 8160, 120, 375, 375);

    m_cmdResults = new QPushButton(QStringLiteral("Results"), this);
    m_cmdResults->setObjectName(QStringLiteral("cmdResults"));
    Twips::Place(m_cmdResults, 7200, 4080, 1095, 375);
    m_cmdExit = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdExit->setObjectName(QStringLiteral("cmdExit"));
    Twips::Place(m_cmdExit, 7200, 4440, 1095, 375);
    for (QPushButton *button : {m_cmdResults, m_cmdExit})
        button->setAutoDefault(false);

    struct Title
    {
        const char *name;
        const char *text;
        double left, width;
    };
    const Title titles[] = {
        {"Label5", "Recording", 360, 1215}, {"Label3", "Date", 2520, 735},
        {"Label4", "Time", 3600, 615},      {"Label8", "CMF", 4320, 375},
        {"Label11", "Results", 4800, 855},  {"Label12", "Reliability", 5760, 1095}};
    QFont bold = font();
    bold.setBold(true);
    for (const Title &title : titles) {
        QLabel *widget = NewLabel(title.name, QLatin1String(title.text));
        widget->setFont(bold);
        Twips::Place(widget, title.left, 720, title.width, 255);
    }

    m_label6 = NewLabel("Label6");
    Twips::Place(m_label6, 120, 960, 2295, 345);
    m_label1 = NewLabel("Label1");
    m_label1->setToolTip(QStringLiteral("Дата проведения тестирования."));
    Twips::Place(m_label1, 2400, 960, 1095, 345);
    m_label2 = NewLabel("Label2");
    m_label2->setToolTip(QStringLiteral("Время проведения тестирования."));
    Twips::Place(m_label2, 3480, 960, 855, 345);
    m_label7 = NewLabel("Label7");
    Twips::Place(m_label7, 4320, 960, 375, 345);
    m_label9 = NewLabel("Label9");
    Twips::Place(m_label9, 4680, 960, 975, 375);
    m_label10 = NewLabel("Label10");
    Twips::Place(m_label10, 5640, 960, 1455, 375);
    for (QLabel *detail : {m_label6, m_label1, m_label2, m_label7, m_label9, m_label10}) {
        detail->setFont(details);
        // A single line in the frame's own shade: a plain box would take
        // the text colour and turn red with an Abnormal.
        SingleBorder::Apply(detail);
        detail->setAutoFillBackground(true);
        QPalette colours = detail->palette();
        colours.setColor(QPalette::Window, palette().color(QPalette::HighlightedText));
        detail->setPalette(colours);
        SetColour(detail, std::nullopt);
        detail->setAlignment(detail == m_label6 ? Qt::AlignLeft | Qt::AlignVCenter
                                                : Qt::AlignCenter);
    }

    // Kept for the window's looks only: hidden, and a click does nothing.
    m_image1 = NewLabel("Image1");
    m_image1->setPixmap(windowIcon().pixmap(32, 32));
    Twips::Place(m_image1, 7800, 840, 480, 480);
    m_image1->setAccessibleName(QStringLiteral("Velmora"));
    m_image1->hide();

    setTabOrder(m_list1, m_cmdResults);
    setTabOrder(m_cmdResults, m_cmdExit);
}

void Form3::Form_Load()
{
    RefreshList();
    Form_Resize();
}

void Form3::Form_Activate()
{
    Session().DataFormActive = true;
    m_list1->setFocus();
}

void Form3::Form_Deactivate()
{
    Session().DataFormActive = false;
}

void Form3::Form_Resize()
{
    // The frame's border lets nobody resize the window, but anything that
    // still does is undone: the controls are laid out for this size only.
    if (SubWindow() == nullptr)
        return;
    KeepDesignedSize();
}

void Form3::Form_Unload()
{
    Session().DataFormActive = false;
}

void Form3::RefreshList()
{
    Session().RecNo = 1;
    m_list1->clear();
    FillList();
    ShowRecordDetails();
    if (m_list1->count() > 0)
        m_list1->setCurrentRow(0);
}

void Form3::ShowStoredTest()
{
    RefreshList();
    const int last = m_list1->count() - 1;
    if (last <= 0)
        return;
    m_list1->setCurrentRow(last);
    m_list1->scrollToItem(m_list1->item(last));
}

void Form3::ClearDisplay()
{
    m_list1->clear();
    for (QLabel *detail : {m_label6, m_label1, m_label2, m_label7, m_label9, m_label10})
        detail->clear();
}

void Form3::FillList()
{
    HistoryList::ListHistory(HistoryList::Mode::List,
                             [this](const QString &line) { m_list1->addItem(line); });
}

bool Form3::ShowRecordDetails()
{
    SessionState &session = Session();
    if (!RecordReader::Read(session.RecNo))
        return false;
    HistoryRecord &record = session.CurrentRecord;
    record.RecCMF =
        Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeOnly);
    ShowDetails(RecordDetails::Of(record, session.Counts[1], session.Counts[4]));
    return true;
}

void Form3::ShowDetails(const RecordDetails &details)
{
    m_label6->setText(details.name);
    m_label1->setText(details.date);
    m_label2->setText(details.time);
    m_label7->setText(details.cmf);
    m_label9->setText(details.results.text);
    SetColour(m_label9, details.results.colour);
    m_label10->setText(details.reliability.text);
    SetColour(m_label10, details.reliability.colour);
}

void Form3::SetColour(QLabel *label, const std::optional<QColor> &colour)
{
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour.value_or(palette().color(QPalette::ButtonText)));
    label->setPalette(colours);
}

int Form3::SelectedRecord() const
{
    const QModelIndexList selected = m_list1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void Form3::SelectRecord(qint64 recNo)
{
    if (recNo < 1 || recNo > m_list1->count())
        return;
    m_list1->setCurrentRow(static_cast<int>(recNo - 1));
    m_list1->scrollToItem(m_list1->currentItem());
}

void Form3::List1_Click()
{
    const int recNo = SelectedRecord();
    if (recNo == 0)
        return;
    Session().RecNo = static_cast<std::int16_t>(recNo);
    ShowRecordDetails();
}

void Form3::cmdResults_Click()
{
    SessionState &session = Session();
    session.RecNo = static_cast<std::int16_t>(SelectedRecord());
    if (!RecordReader::Read(session.RecNo)) {
        Platform::GetDialogs().MsgBox(Dialogs::Notice(NoDataMessage()));
        return;
    }
    emit ResultsRequested();
}

void Form3::cmdExit_Click()
{
    if (SubWindow() != nullptr)
        SubWindow()->close();
    else
        close();
}

void Form3::Command5_Click()
{
    // The application's help opens the topic of the focused control, so the
    // button takes the focus and carries the window's topic itself.
    HelpContext::Set(m_command5, HelpTopic);
    m_command5->setFocus(Qt::OtherFocusReason);
    QWidget *target = QApplication::focusWidget();
    HelpContext::SendHelpKey(target != nullptr ? target : m_command5);
}
