#pragma once

#include <QString>

#include <functional>
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
        // Where the answer is kept in a form of its own (a fixed width, a
        // smaller character set): whether an answer fits, and the form it
        // will be kept in (the answer itself where it is kept as typed).
        // The box takes no more than fits and, while what was typed would
        // be kept otherwise, shows the kept form beneath the field. Either
        // may be left empty.
        std::function<bool(const QString &)> fits;
        std::function<QString(const QString &)> keptAs;
        friend bool operator==(const Input &a, const Input &b)
        {
            return a.prompt == b.prompt && a.title == b.title && a.defaultText == b.defaultText &&
                   a.helpFile == b.helpFile && a.helpTopic == b.helpTopic &&
                   bool(a.fits) == bool(b.fits) && bool(a.keptAs) == bool(b.keptAs);
        }
        // The note shown beneath the field for a kept form.
        static QString KeptAsNote(const QString &kept)
        {
            return QStringLiteral("Will be stored as \"%1\"").arg(kept);
        }
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
