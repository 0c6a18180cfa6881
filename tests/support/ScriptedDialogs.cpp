#include "ScriptedDialogs.h"

#include <QStringList>

template <class T> std::optional<T> ScriptedDialogs::Next()
{
    if (!m_replies.isEmpty() && std::holds_alternative<T>(m_replies.head()))
        return std::get<T>(m_replies.dequeue());
    return std::nullopt;
}

Dialogs::Answer ScriptedDialogs::MsgBox(const Message &message)
{
    m_log.append(message);
    if (m_onShow)
        m_onShow(m_log.last());
    if (const auto answer = Next<Answer>())
        return *answer;
    return message.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

std::optional<QString> ScriptedDialogs::InputBox(const Input &input)
{
    m_log.append(input);
    if (m_onShow)
        m_onShow(m_log.last());
    if (auto text = Next<std::optional<QString>>())
        return *text;
    return std::nullopt;
}

std::optional<Dialogs::FileChoice> ScriptedDialogs::FileDialog(const FileRequest &request)
{
    m_log.append(request);
    if (m_onShow)
        m_onShow(m_log.last());
    const auto reply = Next<FileReply>();
    if (!reply || !reply->path)
        return std::nullopt;
    return FileChoice{*reply->path,
                      reply->filterIndex != 0 ? reply->filterIndex : request.filterIndex};
}

bool ScriptedDialogs::PrinterDialog(QPrinter &printer, const PrinterRequest &request)
{
    m_log.append(request);
    if (m_onShow)
        m_onShow(m_log.last());
    const auto reply = Next<PrinterReply>();
    if (!reply || !reply->setup)
        return false;
    if (*reply->setup)
        (*reply->setup)(printer);
    return true;
}

void ScriptedDialogs::AboutQt(const AboutQtRequest &request)
{
    m_log.append(request);
    if (m_onShow)
        m_onShow(m_log.last());
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
