#pragma once

#include <QString>

#include <optional>

class QPrinter;

// Every modal question the program asks goes through this interface: the
// program shows real dialogs, tests install a scripted answerer and read
// back exactly what would have been shown, and nothing ever blocks a test.
class Dialogs
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct Message
    {
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        QString helpFile;
        int helpTopic = 0;
        friend bool operator==(const Message &, const Message &) = default;
    };

    struct Input
    {
        QString prompt;
        QString title;
        QString defaultText;
        QString helpFile;
        int helpTopic = 0;
        friend bool operator==(const Input &, const Input &) = default;
    };

    // A file chooser. The filter is handed on exactly as the caller wrote
    // it ("description|pattern|..."); FileDialog returns the file chosen,
    // with or without the default extension (CommonDialog adds it where it
    // is missing).
    struct FileRequest
    {
        enum class Kind { Open, Save };
        Kind kind = Kind::Open;
        QString filter;
        QString defaultExt;
        QString fileName;
        int filterIndex = 0;
        int flags = 0;
        friend bool operator==(const FileRequest &, const FileRequest &) = default;
    };

    // The printer chooser; what was chosen is set up in the printer given.
    struct PrinterRequest
    {
        friend bool operator==(const PrinterRequest &, const PrinterRequest &) = default;
    };

    virtual ~Dialogs() = default;

    virtual Answer MsgBox(const Message &message) = 0;
    // The text entered, or nothing when the box is cancelled.
    virtual std::optional<QString> InputBox(const Input &input) = 0;
    // The file chosen, or nothing when the dialog is cancelled.
    virtual std::optional<QString> FileDialog(const FileRequest &request) = 0;
    // False when the dialog is cancelled.
    virtual bool PrinterDialog(QPrinter &printer) = 0;

    // The title a message box gets when its caller names none.
    static QString DefaultTitle() { return QStringLiteral("Velmora"); }
    // A message with only an OK button, under the program's title.
    static Message Notice(const QString &text)
    {
        Message message;
        message.text = text;
        message.title = DefaultTitle();
        return message;
    }
};
