#pragma once

#include "Dialogs.h"

#include <functional>

class QWidget;

// The dialogs a person actually sees: Qt message boxes and a small input
// box, each with a Help button (and F1) where the caller names a help
// topic, and Qt's own file and printer dialogs. The help viewer is handed
// in, so this class only decides when.
class QtDialogs : public Dialogs
{
public:
    using HelpOpener = std::function<void(const QString &file, int topic)>;

    explicit QtDialogs(QWidget *parent = nullptr);

    Answer MsgBox(const Message &message) override;
    std::optional<QString> InputBox(const Input &input) override;
    std::optional<FileChoice> FileDialog(const FileRequest &request) override;
    bool PrinterDialog(QPrinter &printer, const PrinterRequest &request) override;
    using Dialogs::PrinterDialog;
    void AboutQt(const AboutQtRequest &request) override;

    // The name filters a file dialog offers for a "description|pattern"
    // filter, in Qt's "description (patterns)" form.
    static QStringList NameFilters(const QString &filter);
    // The PDF file the printer dialog offers on a machine without
    // printers.
    static QString PdfFileName(const QString &folder, const QString &docName);

    void SetParent(QWidget *parent) { m_parent = parent; }
    void SetHelpOpener(HelpOpener opener) { m_helpOpener = std::move(opener); }

private:
    QWidget *m_parent = nullptr;
    HelpOpener m_helpOpener;
};
