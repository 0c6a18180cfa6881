#include "ChildWindow.h"

#include "Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace {

// The items of a frame's menu that would resize the child or keep it above
// the others: neither belongs to a child of fixed size, and one on top
// would cover the test window. They are known by what they are, whatever
// language Qt speaks: staying on top is the one item Qt's frame menu checks
// on and off, and the sizing item carries Qt's own text for it, looked up
// in the translation Qt has just made the menu with. Found once, they stay
// known however the language or the texts change later.
QList<QPointer<QAction>> sizeAndStayOnTop(const QMdiSubWindow &frame)
{
    QList<QPointer<QAction>> found;
    const QMenu *menu = frame.systemMenu();
    if (menu == nullptr)
        return found;
    const QString size = QMdiSubWindow::tr("&Size");
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator() && (action->isCheckable() || action->text() == size))
            found.append(action);
    }
    return found;
}

} // namespace

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
    // The close box is drawn only for a frame with a system menu.
    frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // Qt shows its items again whenever it updates the frame's flags or
    // state, so they are hidden again each time the menu opens.
    const QList<QPointer<QAction>> unwanted = sizeAndStayOnTop(*frame);
    const auto hide = [unwanted] {
        for (const QPointer<QAction> &action : unwanted) {
            if (action)
                action->setVisible(false);
        }
    };
    hide();
    if (QMenu *menu = frame->systemMenu())
        connect(menu, &QMenu::aboutToShow, frame, hide);
    frame->setOption(QMdiSubWindow::RubberBandResize, false);
}

void ChildWindow::KeepDesignedSize()
{
    SetOuterHeight(WindowHeight);
    SetOuterWidth(OuterHeight() * WidthToHeight);
}

QLabel *ChildWindow::NewLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

void ChildWindow::ReturnFocus()
{
    // Not through the frame around the window: focused itself, the frame
    // may hand the focus to a control that can no longer take it (one
    // disabled since) and keep the keys, passing them to nothing.
    QWidget *last = focusWidget();
    if (last != nullptr && last->isEnabled() && last->isVisible()) {
        last->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (QWidget *w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && w->isEnabled() && w->isVisible() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
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
    OnResize();
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    OnUnload();
    m_unloaded = true;
    event->accept();
    emit Unloaded();
}

void ChildWindow::changeEvent(QEvent *event)
{
    // The title is on the frame around the window; the window itself is
    // named after it too, so a screen reader does not meet a nameless pane.
    if (event->type() == QEvent::WindowTitleChange)
        setAccessibleName(windowTitle());
    QWidget::changeEvent(event);
}
