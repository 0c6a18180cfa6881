#include "RunKeyboard.h"

#include "platform/ui/HelpContext.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

RunKeyboard::RunKeyboard(QWidget *area, QObject *parent) : QObject(parent), m_area(area) {}

RunKeyboard::~RunKeyboard()
{
    Release();
}

void RunKeyboard::Take()
{
    // Installed anew at every run, so it sees the keys before every filter
    // installed earlier (the help key, a menu bar's Alt).
    Release();
    if (QCoreApplication::instance() == nullptr)
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_taken = true;
}

void RunKeyboard::Release()
{
    if (m_taken && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
    m_taken = false;
}

bool RunKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    // Keys come to a window first and then to its focus widget; they are
    // taken at the widget, once. The area itself gets its own keys.
    if (!watched->isWidgetType() || watched == m_area)
        return false;
    if (QApplication::activeModalWidget() != nullptr || HelpContext::IsSentHelpKey(event))
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Wanted by the widget, so no shortcut, menu key or Alt fires.
        event->accept();
        return true;
    }
    QCoreApplication::sendEvent(m_area, event);
    return true;
}
