#include "ChildWindow.h"

#include "Twips.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

ChildWindow::ChildWindow(QWidget *parent) : QWidget(parent)
{
    // The windows are laid out in twips for an 8.25-point font; a larger
    // default font would no longer fit the captions into their controls.
    QFont small = font();
    small.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), small.family()});
    small.setPointSizeF(8.25);
    setFont(small);
}

QMdiSubWindow *ChildWindow::SubWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void ChildWindow::ConfigureFrame(QMdiSubWindow *frame)
{
    frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setOption(QMdiSubWindow::RubberBandResize, false);
}

static QWidget *outer(const ChildWindow *child)
{
    QWidget *frame = child->SubWindow();
    return frame != nullptr ? frame : const_cast<ChildWindow *>(child);
}

double ChildWindow::OuterWidth() const
{
    return Twips::FromPixels(outer(this)->width());
}

double ChildWindow::OuterHeight() const
{
    return Twips::FromPixels(outer(this)->height());
}

void ChildWindow::SetOuterWidth(double twips)
{
    SetOuterSize({Twips::ToPixels(twips), outer(this)->height()});
}

void ChildWindow::SetOuterHeight(double twips)
{
    SetOuterSize({outer(this)->width(), Twips::ToPixels(twips)});
}

void ChildWindow::SetOuterSize(QSize pixels)
{
    // Fixed, so the user cannot drag the frame to another size.
    outer(this)->setFixedSize(pixels);
}

void ChildWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    m_unloaded = true;
    event->accept();
}
