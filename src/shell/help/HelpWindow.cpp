#include "HelpWindow.h"

#include "BuiltInHelp.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Velmora Help"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    auto *contents = new QPushButton(tr("Contents"), this);
    m_back = new QPushButton(tr("Back"), this);
    m_back->setEnabled(false);
    buttons->addWidget(contents);
    buttons->addWidget(m_back);
    buttons->addStretch();
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    connect(contents, &QPushButton::clicked, this,
            [this] { m_browser->setSource(BuiltInHelp::Page(QStringLiteral("contents.html"))); });
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() || title == tr("Velmora Help")
                           ? tr("Velmora Help")
                           : tr("Velmora Help - %1").arg(title));
    });
    // Esc closes help as it closes a message box: a reader done with a
    // page should not have to find the window's close button.
    auto *closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
    resize(520, 560);
}

QPoint HelpWindow::PlaceBeside(const QRect &beside, const QSize &size, const QRect &available)
{
    const int gap = 8;
    int x = beside.right() + 1 + gap;
    if (x + size.width() > available.right() + 1) {
        x = beside.left() - gap - size.width();
        if (x < available.left())
            x = available.right() + 1 - size.width();
    }
    x = std::max(x, available.left());
    const int lowest = available.bottom() + 1 - size.height();
    const int y = std::max(available.top(), std::min(beside.top(), lowest));
    return {x, y};
}

void HelpWindow::ShowPage(const QUrl &page)
{
    if (m_browser->source() != page)
        m_browser->setSource(page);
    // Help asked for from inside a dialog that waits for an answer must be
    // readable while the dialog is still up, so it belongs to that dialog.
    QWidget *modal = QApplication::activeModalWidget();
    if (!m_placed) {
        const QWidget *asking = QApplication::activeWindow();
        if (asking != nullptr && asking != this) {
            const QScreen *screen = asking->screen();
            // The frame's decoration is not known before the window is
            // shown; a title bar's worth is allowed for.
            const QSize frameSize = size() + QSize(0, 30);
            move(PlaceBeside(asking->frameGeometry(), frameSize, screen->availableGeometry()));
        }
        m_placed = true;
    }
    create();
    windowHandle()->setTransientParent(modal != nullptr && modal != this ? modal->windowHandle()
                                                                         : nullptr);
    show();
    raise();
    activateWindow();
}
