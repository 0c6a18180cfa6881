#include "HelpKeyFilter.h"

#include "ChildWindow.h"
#include "HelpViewer.h"
#include "Platform.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

// F1 as the program sends it, told apart from a key a person pressed by
// its type alone: it may pass through several widgets on its way.
class SentHelpKey : public QKeyEvent
{
public:
    SentHelpKey() : QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier) {}
};

} // namespace

HelpKeyFilter::HelpKeyFilter(QObject *parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

int HelpKeyFilter::ContextIdOf(const QWidget *widget)
{
    // The way up ends at the working window, or at a window of its own:
    // the frame around a working window has no say in its help.
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (const int id = w->property("HelpContextID").toInt(); id != 0)
            return id;
        if (w->isWindow() || qobject_cast<const ChildWindow *>(w) != nullptr)
            break;
    }
    return HelpViewer::Contents;
}

void HelpKeyFilter::SendHelpKey(QWidget *target)
{
    if (target != nullptr)
        QCoreApplication::postEvent(target, new SentHelpKey);
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
    const bool sent = dynamic_cast<const SentHelpKey *>(event) != nullptr;
    QWidget *focus = widget;
    if (!sent && QApplication::focusWidget() != nullptr)
        focus = QApplication::focusWidget();
    if (!sent && m_keyOwner && m_keyOwner(focus))
        return false;
    m_swallowRelease = !sent;
    if (!key->isAutoRepeat())
        Platform::GetHelp().ShowHelp(HelpViewer::ApplicationFile(), ContextIdOf(focus));
    return true;
}
