#include "HelpContext.h"

#include "ChildWindow.h"
#include "HelpViewer.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVariant>

namespace {

const char *const Property = "HelpContextID";

// F1 as the program sends it, told apart from a key a person pressed by
// its type alone: it may pass through several widgets on its way.
class SentHelpKey : public QKeyEvent
{
public:
    SentHelpKey() : QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier) {}
};

} // namespace

void HelpContext::Set(QWidget *widget, int topic)
{
    widget->setProperty(Property, topic);
}

int HelpContext::Of(const QWidget *widget)
{
    // The way up ends at the working window, or at a window of its own:
    // the frame around a working window has no say in its help.
    for (const QWidget *w = widget; w != nullptr; w = w->parentWidget()) {
        if (const int id = w->property(Property).toInt(); id != 0)
            return id;
        if (w->isWindow() || qobject_cast<const ChildWindow *>(w) != nullptr)
            break;
    }
    return HelpViewer::Contents;
}

void HelpContext::SendHelpKey(QWidget *target)
{
    if (target != nullptr)
        QCoreApplication::postEvent(target, new SentHelpKey);
}

bool HelpContext::IsSentHelpKey(const QEvent *event)
{
    return dynamic_cast<const SentHelpKey *>(event) != nullptr;
}
