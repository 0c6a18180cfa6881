#include "DataWindow.h"

#include "HistoryList.h"
#include "RecordReader.h"
#include "platform/HelpTopic.h"
#include "platform/Platform.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/LabelFit.h"
#include "platform/ui/SingleBorder.h"
#include "platform/ui/Twips.h"
#include "record/Evaluation.h"
#include "results/RecordDetails.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QtMath>

namespace {

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

// Where each column of a history line starts, in characters: the name, then
// date, time, CMF and both verdicts, each after its separator. The verdict
// is as wide as its longer word in the language the list is in.
int ColumnStart(int column)
{
    const int resultsWidth =
        int(Evaluation::Present(Evaluation::Results::Normal, Evaluation::Display::HistoryLine)
                .text.size());
    const int starts[] = {
        0,
        HistoryList::NameWidth + 3,
        HistoryList::NameWidth + 3 + HistoryList::DateWidth + 3,
        HistoryList::NameWidth + 3 + HistoryList::DateWidth + 3 + HistoryList::TimeWidth + 4,
        HistoryList::NameWidth + 3 + HistoryList::DateWidth + 3 + HistoryList::TimeWidth + 4 +
            HistoryList::CmfWidth + 3,
        HistoryList::NameWidth + 3 + HistoryList::DateWidth + 3 + HistoryList::TimeWidth + 4 +
            HistoryList::CmfWidth + 3 + resultsWidth + 3,
    };
    return starts[column];
}

} // namespace

DataWindow::DataWindow(QWidget *parent) : ChildWindow(parent)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("Data"));
    HelpContext::Set(this, HelpTopic::Data);
    BuildControls();
    connect(m_list, &QListWidget::itemSelectionChanged, this, &DataWindow::OnSelectionChanged);
    connect(m_resultsButton, &QPushButton::clicked, this, &DataWindow::OnResultsClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &DataWindow::OnCancelClicked);
    connect(m_saveButton, &QToolButton::clicked, this, &DataWindow::SaveRequested);
    connect(m_printButton, &QToolButton::clicked, this, &DataWindow::PrintRequested);
    connect(m_clearButton, &QToolButton::clicked, this, &DataWindow::ClearRequested);
    connect(m_helpButton, &QToolButton::clicked, this, &DataWindow::OnHelpClicked);
    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { emit TrendRequested(m_list->row(item) + 1); });
}

void DataWindow::BuildControls()
{
    const QFont details = detailFont(font());

    m_list = new QListWidget(this);
    m_list->setAccessibleName(tr("History"));
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(listFont(font()));
    // A line wider than the list is scrolled to, whole, never cut short.
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every line has the same size, so a long history is laid out without
    // measuring each line; the list takes it from one line, which is made
    // as wide as the widest.
    m_list->setUniformItemSizes(true);
    Twips::Place(m_list, 120, 1320, 6975, 3420);
    m_list->viewport()->installEventFilter(this);
    connect(m_list->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &DataWindow::PlaceTitles);
    connect(m_list->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            &DataWindow::PlaceTitles);

    auto *toolStrip = new QFrame(this);
    toolStrip->setObjectName(QStringLiteral("Frame1"));
    toolStrip->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Twips::Place(toolStrip, -240, 0, 8655, 495);
    m_saveButton = pictureButton(toolStrip, "Command4", ":/art/save.png", tr("Save data as..."),
                                 tr("Save data as"));
    Twips::Place(m_saveButton, 360, 120, 375, 375);
    m_printButton =
        pictureButton(toolStrip, "Command3", ":/art/print.png", tr("Print data"), tr("Print data"));
    Twips::Place(m_printButton, 720, 120, 375, 375);
    m_clearButton = pictureButton(toolStrip, "Command6", ":/art/clear.png", tr("Clear data"),
                                  tr("Clear default file data"));
    Twips::Place(m_clearButton, 1080, 120, 375, 375);
    m_helpButton = pictureButton(toolStrip, "Command5", ":/art/help.png", tr("Help"), tr("Help"));
    HelpContext::Set(m_helpButton, HelpTopic::Data);
    Twips::Place(m_helpButton, 8160, 120, 375, 375);

    m_resultsButton = new QPushButton(tr("Results"), this);
    m_resultsButton->setObjectName(QStringLiteral("cmdResults"));
    Twips::Place(m_resultsButton, 7200, 4080, 1095, 375);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdExit"));
    Twips::Place(m_cancelButton, 7200, 4440, 1095, 375);
    for (QPushButton *button : {m_resultsButton, m_cancelButton})
        button->setAutoDefault(false);

    struct Title
    {
        const char *name;
        const char *text;
        double left, width;
    };
    const Title titles[] = {{"Label5", QT_TR_NOOP("Recording"), 360, 1215},
                            {"Label3", QT_TR_NOOP("Date"), 2520, 735},
                            {"Label4", QT_TR_NOOP("Time"), 3600, 615},
                            {"Label8", QT_TR_NOOP("CMF"), 4320, 375},
                            {"Label11", QT_TR_NOOP("Results"), 4800, 855},
                            {"Label12", QT_TR_NOOP("Reliability"), 5760, 1095}};
    QFont bold = font();
    bold.setBold(true);
    // The titles head the list's columns and scroll sideways with them, so
    // they sit in a strip as wide as the list's visible part.
    m_titleStrip = new QWidget(this);
    m_titleStrip->setObjectName(QStringLiteral("Titles"));
    Twips::Place(m_titleStrip, 120, 720, 6975, 255);
    for (const Title &title : titles) {
        QLabel *widget = NewLabel(title.name, tr(title.text));
        widget->setParent(m_titleStrip);
        widget->setFont(bold);
        Twips::Place(widget, title.left, 0, title.width, 255);
        widget->resize(qMax(widget->width(), widget->sizeHint().width()), widget->height());
        m_titles.append(widget);
    }

    m_nameDetail = NewLabel("Label6");
    Twips::Place(m_nameDetail, 120, 960, 2295, 345);
    m_dateDetail = NewLabel("Label1");
    m_dateDetail->setToolTip(QStringLiteral("Дата проведения тестирования."));
    Twips::Place(m_dateDetail, 2400, 960, 1095, 345);
    m_timeDetail = NewLabel("Label2");
    m_timeDetail->setToolTip(QStringLiteral("Время проведения тестирования."));
    Twips::Place(m_timeDetail, 3480, 960, 855, 345);
    m_cmfDetail = NewLabel("Label7");
    Twips::Place(m_cmfDetail, 4320, 960, 375, 345);
    m_resultsDetail = NewLabel("Label9");
    Twips::Place(m_resultsDetail, 4680, 960, 975, 375);
    m_reliabilityDetail = NewLabel("Label10");
    Twips::Place(m_reliabilityDetail, 5640, 960, 1455, 375);
    for (QLabel *detail : {m_nameDetail, m_dateDetail, m_timeDetail, m_cmfDetail, m_resultsDetail,
                           m_reliabilityDetail}) {
        detail->setFont(details);
        // A single line in the frame's own shade: a plain box would take
        // the text colour and turn red with an Abnormal.
        SingleBorder::Apply(detail);
        detail->setAutoFillBackground(true);
        QPalette colours = detail->palette();
        colours.setColor(QPalette::Window, palette().color(QPalette::HighlightedText));
        detail->setPalette(colours);
        SetColour(detail, std::nullopt);
        detail->setAlignment(detail == m_nameDetail ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignCenter);
    }

    // Kept for the window's looks only: hidden, and a click does nothing.
    m_icon = NewLabel("Image1");
    m_icon->setPixmap(windowIcon().pixmap(32, 32));
    Twips::Place(m_icon, 7800, 840, 480, 480);
    m_icon->setAccessibleName(QStringLiteral("Velmora"));
    m_icon->hide();

    setTabOrder(m_list, m_resultsButton);
    setTabOrder(m_resultsButton, m_cancelButton);
}

void DataWindow::OnLoad()
{
    RefreshList();
    OnResize();
}

void DataWindow::OnActivate()
{
    m_list->setFocus();
}

void DataWindow::OnResize()
{
    // The frame's border lets nobody resize the window, but anything that
    // still does is undone: the controls are laid out for this size only.
    if (SubWindow() == nullptr)
        return;
    KeepDesignedSize();
}

void DataWindow::RefreshList()
{
    m_list->clear();
    FillList();
    ShowRecordDetails(1);
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void DataWindow::ShowStoredTest(qint64 recNo)
{
    RefreshList();
    SelectRecord(recNo);
}

void DataWindow::ClearDisplay()
{
    m_list->clear();
    for (QLabel *detail : {m_nameDetail, m_dateDetail, m_timeDetail, m_cmfDetail, m_resultsDetail,
                           m_reliabilityDetail})
        detail->clear();
}

void DataWindow::FillList()
{
    HistoryList::ListHistory(m_path, [this](const QString &line) { m_list->addItem(line); });
    FitLinesToWidest();
}

void DataWindow::FitLinesToWidest()
{
    if (m_list->count() == 0)
        return;
    // A line is as wide as its characters' advances together: the lines
    // are many, their characters few, and measuring each whole line would
    // keep a long history from opening promptly.
    const QFontMetricsF metrics(m_list->font());
    QHash<QChar, qreal> advances;
    qreal widest = 0.0;
    for (int row = 0; row < m_list->count(); ++row) {
        qreal width = 0.0;
        for (const QChar ch : m_list->item(row)->text()) {
            auto advance = advances.constFind(ch);
            if (advance == advances.cend())
                advance = advances.insert(ch, metrics.horizontalAdvance(ch));
            width += *advance;
        }
        widest = qMax(widest, width);
    }
    // The last title may reach past the end of the lines.
    const QLabel *last = m_titles.last();
    widest = qMax(widest, ColumnX(int(m_titles.size()) - 1) + last->sizeHint().width());
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    const QSize size(qCeil(widest) + 2 * margin, m_list->sizeHintForRow(0));
    // The list sizes every line like one of them, the last as Qt has it;
    // the first carries the same size in case that ever changes.
    m_list->item(0)->setSizeHint(size);
    m_list->item(m_list->count() - 1)->setSizeHint(size);
}

double DataWindow::ColumnX(int column) const
{
    const QFontMetricsF metrics(m_list->font());
    return metrics.horizontalAdvance(QString(ColumnStart(column), QLatin1Char(' ')));
}

void DataWindow::PlaceTitles()
{
    const QRect viewport(m_list->viewport()->mapTo(this, QPoint(0, 0)), m_list->viewport()->size());
    m_titleStrip->setGeometry(viewport.left(), m_titleStrip->y(), viewport.width(),
                              m_titleStrip->height());
    // The list draws a line's text this far in from the line's left edge.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1;
    const int scrolled = m_list->horizontalScrollBar()->value();
    for (int column = 0; column < m_titles.size(); ++column) {
        QLabel *title = m_titles[column];
        title->move(margin + qRound(ColumnX(column)) - scrolled, 0);
    }
}

bool DataWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        PlaceTitles();
    return ChildWindow::eventFilter(watched, event);
}

bool DataWindow::ShowRecordDetails(qint64 recNo)
{
    const auto stored = RecordReader::Read(m_path, recNo);
    if (!stored)
        return false;
    // The details show a CMF above 100 as stored; the result, as the list
    // shows it.
    HistoryRecord record = *stored;
    record.RecCMF =
        Evaluation::CorrectStoredCmf(record.RecCMF, Evaluation::StoredCmf::NegativeOnly);
    ShowDetails(RecordDetails::Of(record, record.RecCounts[0], record.RecCounts[3]));
    emit RecordSelected(TestResult::Of(*stored, m_path, recNo));
    return true;
}

void DataWindow::ShowDetails(const RecordDetails &details)
{
    m_nameDetail->setText(details.name);
    m_dateDetail->setText(details.date);
    m_timeDetail->setText(details.time);
    m_cmfDetail->setText(details.cmf);
    m_resultsDetail->setText(details.results.text);
    SetColour(m_resultsDetail, details.results.colour);
    m_reliabilityDetail->setText(details.reliability.text);
    SetColour(m_reliabilityDetail, details.reliability.colour);
    // The verdicts of another language may be longer than the boxes made
    // for the English ones.
    for (QLabel *verdict : {m_resultsDetail, m_reliabilityDetail})
        LabelFit::Shrink(verdict, detailFont(font()));
}

void DataWindow::SetColour(QLabel *label, const std::optional<QColor> &colour)
{
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour.value_or(palette().color(QPalette::ButtonText)));
    label->setPalette(colours);
}

int DataWindow::SelectedRecord() const
{
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void DataWindow::SelectRecord(qint64 recNo)
{
    if (recNo < 1 || recNo > m_list->count())
        return;
    m_list->setCurrentRow(static_cast<int>(recNo - 1));
    m_list->scrollToItem(m_list->currentItem());
}

void DataWindow::OnSelectionChanged()
{
    const int recNo = SelectedRecord();
    if (recNo == 0)
        return;
    ShowRecordDetails(recNo);
}

void DataWindow::OnResultsClicked()
{
    const int recNo = SelectedRecord();
    const auto record = RecordReader::Read(m_path, recNo);
    if (!record) {
        Platform::GetDialogs().MsgBox(Dialogs::Notice(NoDataMessage()));
        return;
    }
    emit ResultsRequested(TestResult::Of(*record, m_path, recNo));
}

void DataWindow::OnCancelClicked()
{
    if (SubWindow() != nullptr)
        SubWindow()->close();
    else
        close();
}

void DataWindow::OnHelpClicked()
{
    // The application's help opens the topic of the focused control, so the
    // button takes the focus and carries the window's topic itself.
    HelpContext::Set(m_helpButton, HelpTopic::Data);
    m_helpButton->setFocus(Qt::OtherFocusReason);
    QWidget *target = QApplication::focusWidget();
    HelpContext::SendHelpKey(target != nullptr ? target : m_helpButton);
}
