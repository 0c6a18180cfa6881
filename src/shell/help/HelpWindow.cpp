#include "HelpWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QUrl ContentsPage(QStringLiteral("qrc:/help/contents.html"));

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Velmora Help"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    auto *contents = new QPushButton(QStringLiteral("Contents"), this);
    m_back = new QPushButton(QStringLiteral("Back"), this);
    m_back->setEnabled(false);
    buttons->addWidget(contents);
    buttons->addWidget(m_back);
    buttons->addStretch();
    m_browser = new QTextBrowser(this);
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(false);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    connect(contents, &QPushButton::clicked, this, [this] { m_browser->setSource(ContentsPage); });
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() || title == QStringLiteral("Velmora Help")
                           ? QStringLiteral("Velmora Help")
                           : QStringLiteral("Velmora Help - ") + title);
    });
    resize(520, 560);
}

void HelpWindow::ShowPage(const QUrl &page)
{
    if (m_browser->source() != page)
        m_browser->setSource(page);
    // Help asked for from inside a dialog that waits for an answer must be
    // readable while the dialog is still up, so it belongs to that dialog.
    QWidget *modal = QApplication::activeModalWidget();
    create();
    windowHandle()->setTransientParent(modal != nullptr && modal != this ? modal->windowHandle()
                                                                         : nullptr);
    show();
    raise();
    activateWindow();
}
