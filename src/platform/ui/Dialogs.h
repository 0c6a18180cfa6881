#pragma once

#include <QCoreApplication>
#include <QList>
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
            return QCoreApplication::translate("Dialogs", "Will be stored as \"%1\"").arg(kept);
        }
    };

    // A file chooser. The filter is handed on exactly as the caller wrote
    // it ("description|pattern|..."); FileDialog returns the file chosen,
    // with or without the default extension (CommonDialog adds it where it
    // is missing).
    struct FileRequest
    {
        enum class Kind { Open, Save };
        // Settings of one filter entry (numbered from 1) that hold instead
        // of the request's own while that entry is the one chosen: its
        // default extension, and flags added to the request's.
        struct EntrySettings
        {
            int index = 0;
            QString defaultExt;
            int flags = 0;
            friend bool operator==(const EntrySettings &, const EntrySettings &) = default;
        };
        Kind kind = Kind::Open;
        QString filter;
        QString defaultExt;
        QString fileName;
        int filterIndex = 0;
        int flags = 0;
        // The folder the dialog starts in; empty leaves it to the dialog.
        QString initDir;
        QList<EntrySettings> entrySettings;
        friend bool operator==(const FileRequest &, const FileRequest &) = default;
    };

    // What a file chooser was left with: the name, before any default
    // extension is added, and the filter entry selected (from 1).
    struct FileChoice
    {
        QString path;
        int filterIndex = 0;
        friend bool operator==(const FileChoice &, const FileChoice &) = default;
    };

    // The printer chooser; what was chosen is set up in the printer given.
    struct PrinterRequest
    {
        // Where a PDF file is offered when there is no printer to print on.
        QString initDir;
        friend bool operator==(const PrinterRequest &, const PrinterRequest &) = default;
    };

    // Qt's own box about the version of Qt the program runs on.
    struct AboutQtRequest
    {
        QString title;
        friend bool operator==(const AboutQtRequest &, const AboutQtRequest &) = default;
    };

    virtual ~Dialogs() = default;

    virtual Answer MsgBox(const Message &message) = 0;
    // The text entered, or nothing when the box is cancelled.
    virtual std::optional<QString> InputBox(const Input &input) = 0;
    // The file chosen, or nothing when the dialog is cancelled.
    virtual std::optional<FileChoice> FileDialog(const FileRequest &request) = 0;
    // False when the dialog is cancelled.
    virtual bool PrinterDialog(QPrinter &printer, const PrinterRequest &request) = 0;
    bool PrinterDialog(QPrinter &printer) { return PrinterDialog(printer, PrinterRequest()); }
    virtual void AboutQt(const AboutQtRequest &request) = 0;

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
