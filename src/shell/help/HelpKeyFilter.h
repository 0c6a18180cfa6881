#pragma once

#include <QObject>

#include <functional>

class QWidget;

// F1 anywhere in the program asks for help about what has the focus: the
// application's help file opens at the topic that applies there
// (HelpContext), or at its contents when none does. A key the person
// presses can belong to something else (the keys of a test run count, F1
// among them); the owner says so through a predicate. F1 sent by the
// program itself always asks for help.
class HelpKeyFilter : public QObject
{
    Q_OBJECT

public:
    using KeyOwner = std::function<bool(QWidget *focus)>;

    // Watches every key of the application while it exists.
    explicit HelpKeyFilter(QObject *parent = nullptr);

    // Called with the widget a pressed F1 goes to; true keeps the key from
    // asking for help.
    void SetKeyOwner(KeyOwner owner) { m_keyOwner = std::move(owner); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyOwner m_keyOwner;
    // A press that asked for help also owns its release.
    bool m_swallowRelease = false;
};
