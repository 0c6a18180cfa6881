#include "AboutWindow.h"

#include "platform/ui/Twips.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

AboutWindow::AboutWindow(QWidget *parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The frame decides when the program ends; this window never keeps it
    // running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(Twips::ToPixels(5160, 3465));
    // A window of its own would take the frame's icon into its title bar;
    // this one shows none, so its icon is a picture with nothing in it.
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("Image1"));
    m_logo->setPixmap(QPixmap(QStringLiteral(":/art/logo.png")));
    m_logo->setAccessibleName(tr("Velmora Version 2.0"));
    m_logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::Place(m_logo, 120, 120, 1395, 540);

    m_version = new QLabel(tr("Velmora Version 2.0"), this);
    m_version->setObjectName(QStringLiteral("Label3"));
    Twips::Place(m_version, 1680, 120, 1935, 375);

    m_notice = new QLabel(tr("This program is protected by copyright. Copying it or "
                             "passing it on, in whole or in part, without the "
                             "owner's written permission is forbidden and will be "
                             "prosecuted under civil and criminal law."),
                          this);
    m_notice->setObjectName(QStringLiteral("Label4"));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::Place(m_notice, 120, 2400, 4815, 1095);

    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("Command3"));
    m_okButton->setDefault(true);
    Twips::Place(m_okButton, 3840, 1920, 1215, 375);
    connect(m_okButton, &QPushButton::clicked, this, &AboutWindow::OnOkClicked);
}

bool AboutWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        OnActivate();
    return handled;
}

void AboutWindow::OnActivate()
{
    m_okButton->setFocus();
}

void AboutWindow::OnOkClicked()
{
    close();
}
