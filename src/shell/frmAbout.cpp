#include "frmAbout.h"

#include "platform/Twips.h"

#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

frmAbout::frmAbout(QWidget *parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
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

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QPixmap(QStringLiteral(":/art/logo.png")));
    m_image1->setAccessibleName(QStringLiteral("Velmora Version 2.0"));
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::Place(m_image1, 120, 120, 1395, 540);

    m_label3 = new QLabel(QStringLiteral("Velmora Version 2.0"), this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    Twips::Place(m_label3, 1680, 120, 1935, 375);

    m_label4 = new QLabel(QStringLiteral("This program is protected by copyright. Copying it or "
                                         "passing it on, in whole or in part, without the "
                                         "owner's written permission is forbidden and will be "
                                         "prosecuted under civil and criminal law."),
                          this);
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_label4->setWordWrap(true);
    m_label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::Place(m_label4, 120, 2400, 4815, 1095);

    m_command3 = new QPushButton(QStringLiteral("OK"), this);
    m_command3->setObjectName(QStringLiteral("Command3"));
    m_command3->setDefault(true);
    Twips::Place(m_command3, 3840, 1920, 1215, 375);
    connect(m_command3, &QPushButton::clicked, this, &frmAbout::Command3_Click);
}

bool frmAbout::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return handled;
}

void frmAbout::Form_Activate()
{
    m_command3->setFocus();
}

void frmAbout::Command3_Click()
{
    close();
}
