#pragma once

class QEvent;
class QWidget;

// The help topics that windows and controls carry, and the F1 key the
// program sends to ask for help where the focus is. A widget's topic is a
// number of the application's help file, 0 for none; the one that applies
// to a widget is the first that is not 0 on the way from the widget up
// through its containers to its working window (or a window of its own).
class HelpContext
{
public:
    static void Set(QWidget *widget, int topic);
    // The topic that applies to a widget; 0 when none does.
    static int Of(const QWidget *widget);

    // Sends F1 to a widget, asking for help there whoever owns the key
    // otherwise; it is handled once the current event is done.
    static void SendHelpKey(QWidget *target);
    // Whether a key event is F1 as SendHelpKey sends it.
    static bool IsSentHelpKey(const QEvent *event);
};
