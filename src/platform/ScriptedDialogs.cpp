#include "ScriptedDialogs.h"

#include <QStringList>

Dialogs::Answer ScriptedDialogs::MsgBox(const Message &message)
{
    m_log.append(message);
    if (m_onShow)
        m_onShow(m_log.last());
    if (!m_replies.isEmpty() && std::holds_alternative<Answer>(m_replies.head()))
        return std::get<Answer>(m_replies.dequeue());
    return message.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

std::optional<QString> ScriptedDialogs::InputBox(const Input &input)
{
    m_log.append(input);
    if (m_onShow)
        m_onShow(m_log.last());
    if (!m_replies.isEmpty() && std::holds_alternative<std::optional<QString>>(m_replies.head()))
        return std::get<std::optional<QString>>(m_replies.dequeue());
    return std::nullopt;
}

QStringList ScriptedDialogs::MessageTexts() const
{
    QStringList texts;
    for (const Shown &shown : m_log) {
        if (const auto *message = std::get_if<Message>(&shown))
            texts.append(message->text);
    }
    return texts;
}

void ScriptedDialogs::Clear()
{
    m_replies.clear();
    m_log.clear();
    m_onShow = nullptr;
}
