#include "QtDialogs.h"

#include "CommonDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QValidator>

namespace {

// Refuses an edit that would make the text longer than the caller can keep.
class FitValidator : public QValidator
{
public:
    FitValidator(std::function<bool(const QString &)> fits, QObject *parent)
        : QValidator(parent), m_fits(std::move(fits))
    {}

    State validate(QString &input, int & /*pos*/) const override
    {
        return m_fits(input) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const QString &)> m_fits;
};

void addHelp(QDialog &dialog, QPushButton *button, const QtDialogs::HelpOpener &opener,
             const QString &file, int topic)
{
    auto open = [opener, file, topic] {
        if (opener)
            opener(file, topic);
    };
    QObject::connect(button, &QPushButton::clicked, &dialog, open);
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    QObject::connect(f1, &QShortcut::activated, &dialog, open);
}

// Qt's file dialog, which settles what the entry chosen asks for (see
// CommonDialog::ChosenEntry) when the person accepts it: the entry's own
// default extension, and a question before a file is replaced only where
// that entry wants one.
class EntryFileDialog : public QFileDialog
{
public:
    EntryFileDialog(QWidget *parent, const Dialogs::FileRequest &request)
        : QFileDialog(parent), m_request(request)
    {}

    // The entry (from 1) of the filter list, 0 with none. With the
    // details hidden, Qt 6.4 names the selected filter by its shortened
    // text, so the list's own position is asked for.
    int SelectedEntry() const
    {
        if (const auto *types = findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
            return nameFilters().isEmpty() ? 0 : types->currentIndex() + 1;
        return int(nameFilters().indexOf(selectedNameFilter())) + 1;
    }

    void accept() override
    {
        const int selected = SelectedEntry();
        setDefaultSuffix(CommonDialog::DefaultExtOf(m_request, selected));
        const QStringList files = selectedFiles();
        const int entry = files.isEmpty()
                              ? selected
                              : CommonDialog::ChosenEntry(m_request, selected, files.first());
        setOption(DontConfirmOverwrite,
                  (CommonDialog::FlagsOf(m_request, entry) & CommonDialog::OverwritePrompt) == 0);
        QFileDialog::accept();
    }

private:
    const Dialogs::FileRequest &m_request;
};

} // namespace

QtDialogs::QtDialogs(QWidget *parent) : m_parent(parent) {}

Dialogs::Answer QtDialogs::MsgBox(const Message &message)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(message.title.isEmpty() ? DefaultTitle() : message.title);
    box.setText(message.text);
    if (message.buttons == Buttons::YesNo) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    if (!message.helpFile.isEmpty()) {
        // A Help button must not close the box, so it is not a standard one.
        auto *help = new QPushButton(QMessageBox::tr("Help"), &box);
        box.addButton(help, QMessageBox::HelpRole);
        QObject::disconnect(help, &QPushButton::clicked, nullptr, nullptr);
        addHelp(box, help, m_helpOpener, message.helpFile, message.helpTopic);
    }
    box.exec();
    if (message.buttons == Buttons::YesNo)
        return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

std::optional<QString> QtDialogs::InputBox(const Input &input)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(input.title.isEmpty() ? DefaultTitle() : input.title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *prompt = new QLabel(input.prompt, &dialog);
    prompt->setWordWrap(true);
    auto *edit = new QLineEdit(input.defaultText, &dialog);
    prompt->setBuddy(edit);
    if (input.fits)
        edit->setValidator(new FitValidator(input.fits, edit));
    // What will be kept, while it differs from what is typed, so the person
    // can put it right before the answer is used.
    auto *kept = new QLabel(&dialog);
    kept->setObjectName(QStringLiteral("keptAs"));
    kept->setTextFormat(Qt::PlainText);
    kept->setWordWrap(true);
    kept->hide();
    if (input.keptAs) {
        const auto showKept = [kept, keptAs = input.keptAs](const QString &text) {
            const QString form = keptAs(text);
            kept->setText(Input::KeptAsNote(form));
            kept->setVisible(form != text);
        };
        QObject::connect(edit, &QLineEdit::textChanged, kept, showKept);
        showKept(edit->text());
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(prompt);
    layout->addWidget(edit);
    layout->addWidget(kept);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (!input.helpFile.isEmpty())
        addHelp(dialog, buttons->addButton(QDialogButtonBox::Help), m_helpOpener, input.helpFile,
                input.helpTopic);
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

QStringList QtDialogs::NameFilters(const QString &filter)
{
    QStringList filters;
    for (const CommonDialog::FilterEntry &entry : CommonDialog::FilterEntries(filter)) {
        QString patterns = entry.pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(entry.description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

std::optional<Dialogs::FileChoice> QtDialogs::FileDialog(const FileRequest &request)
{
    EntryFileDialog dialog(m_parent, request);
    // Qt's own dialog looks and behaves the same on every system and keeps
    // the descriptions exactly as the program writes them.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const bool save = request.kind == FileRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     (request.flags & CommonDialog::OverwritePrompt) == 0);
    const QStringList filters = NameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(qMax(request.filterIndex, 1) - 1, filters.first()));
    }
    dialog.setDefaultSuffix(request.defaultExt);
    if (!request.initDir.isEmpty())
        dialog.setDirectory(request.initDir);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().first(), dialog.SelectedEntry()};
}

bool QtDialogs::PrinterDialog(QPrinter &printer, const PrinterRequest &request)
{
    // Without a printer the dialog can only print to a file. It then offers
    // one named after the document, in the folder the caller gives (the
    // history's) or else the home folder; Qt on its own would offer the
    // folder the program was started from, or on some systems a bare folder.
    if (printer.outputFileName().isEmpty() && QPrinterInfo::availablePrinterNames().isEmpty())
        printer.setOutputFileName(PdfFileName(request.initDir, printer.docName()));
    QPrintDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

QString QtDialogs::PdfFileName(const QString &folder, const QString &docName)
{
    const QDir where = folder.isEmpty() ? QDir::home() : QDir(folder);
    return where.filePath((docName.isEmpty() ? QStringLiteral("print") : docName) +
                          QStringLiteral(".pdf"));
}

void QtDialogs::AboutQt(const AboutQtRequest &request)
{
    QMessageBox::aboutQt(m_parent, request.title);
}
