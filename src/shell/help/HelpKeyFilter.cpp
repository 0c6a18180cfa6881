#include "HelpKeyFilter.h"

#include "platform/Platform.h"
#include "platform/ui/HelpContext.h"
#include "platform/ui/HelpViewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

HelpKeyFilter::HelpKeyFilter(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool HelpKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    // Keys reach a window before its focus widget; only the widget counts.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || widget == nullptr)
        return false;
    if (type == QEvent::KeyRelease) {
        if (!m_swallowRelease)
            return false;
        if (!key->isAutoRepeat())
            m_swallowRelease = false;
        return true;
    }
    // A dialog waiting for an answer has its own help, or none.
    if (QApplication::activeModalWidget() != nullptr)
        return false;
    // A pressed key goes to the focus widget first and then, while it is
    // left alone, up to its containers: it is the focus widget's all along.
    const bool sent = HelpContext::IsSentHelpKey(event);
    QWidget *focus = widget;
    if (!sent && QApplication::focusWidget() != nullptr)
        focus = QApplication::focusWidget();
    if (!sent && m_keyOwner && m_keyOwner(focus))
        return false;
    m_swallowRelease = !sent;
    if (!key->isAutoRepeat())
        Platform::GetHelp().ShowHelp(HelpViewer::ApplicationFile(), HelpContext::Of(focus));
    return true;
}
