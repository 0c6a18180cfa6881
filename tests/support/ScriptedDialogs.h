#pragma once

#include "platform/ui/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>
#include <variant>

// A Dialogs that answers from a script instead of a person and keeps a log
// of every dialog it was asked to show, so no test blocks on a modal window
// where no one is there to answer it and each can read back the exact texts.
class ScriptedDialogs : public Dialogs
{
public:
    using Shown = std::variant<Message, Input, FileRequest, PrinterRequest, AboutQtRequest>;
    // Sets up the printer the way a person would in the printer dialog.
    using PrinterSetup = std::function<void(QPrinter &)>;

    Answer MsgBox(const Message &message) override;
    std::optional<QString> InputBox(const Input &input) override;
    std::optional<FileChoice> FileDialog(const FileRequest &request) override;
    bool PrinterDialog(QPrinter &printer, const PrinterRequest &request) override;
    using Dialogs::PrinterDialog;
    // Logged only: the box has nothing to answer but OK.
    void AboutQt(const AboutQtRequest &request) override;

    // Answers are used in order; with none left, a message box is answered
    // Ok (or No for a question) and every other dialog is cancelled.
    void QueueAnswer(Answer answer) { m_replies.enqueue(answer); }
    void QueueInput(std::optional<QString> text) { m_replies.enqueue(std::move(text)); }
    // The file chosen with the filter entry selected (0: the one the
    // dialog was asked to start with).
    void QueueFile(std::optional<QString> path, int filterIndex = 0)
    {
        m_replies.enqueue(FileReply{std::move(path), filterIndex});
    }
    void QueuePrinter(std::optional<PrinterSetup> setup)
    {
        m_replies.enqueue(PrinterReply{std::move(setup)});
    }

    // Called as each dialog is shown, so a test can look at the program
    // at that very moment.
    void OnShow(std::function<void(const Shown &)> hook) { m_onShow = std::move(hook); }

    const QList<Shown> &Log() const { return m_log; }
    // The texts of the message boxes shown, in order.
    QStringList MessageTexts() const;
    void Clear();

private:
    struct FileReply
    {
        std::optional<QString> path;
        int filterIndex = 0;
    };
    struct PrinterReply
    {
        std::optional<PrinterSetup> setup;
    };
    using Reply = std::variant<Answer, std::optional<QString>, FileReply, PrinterReply>;

    template <class T> std::optional<T> Next();

    QQueue<Reply> m_replies;
    QList<Shown> m_log;
    std::function<void(const Shown &)> m_onShow;
};
