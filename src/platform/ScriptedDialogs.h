#pragma once

#include "Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>
#include <variant>

// A Dialogs that answers from a script instead of a person and keeps a log
// of every dialog it was asked to show. It is the layer's default until the
// program installs real dialogs, so no code path can block on a modal
// window where no one is there to answer it.
class ScriptedDialogs : public Dialogs
{
public:
    using Shown = std::variant<Message, Input>;
    using Reply = std::variant<Answer, std::optional<QString>>;

    Answer MsgBox(const Message &message) override;
    std::optional<QString> InputBox(const Input &input) override;

    // Answers are used in order; with none left, a message box is answered
    // Ok (or No for a question) and an input box is cancelled.
    void QueueAnswer(Answer answer) { m_replies.enqueue(answer); }
    void QueueInput(std::optional<QString> text) { m_replies.enqueue(std::move(text)); }

    // Called as each dialog is shown, so a test can look at the program
    // at that very moment.
    void OnShow(std::function<void(const Shown &)> hook) { m_onShow = std::move(hook); }

    const QList<Shown> &Log() const { return m_log; }
    // The texts of the message boxes shown, in order.
    QStringList MessageTexts() const;
    void Clear();

private:
    QQueue<Reply> m_replies;
    QList<Shown> m_log;
    std::function<void(const Shown &)> m_onShow;
};
