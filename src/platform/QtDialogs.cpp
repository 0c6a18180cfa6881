#include "QtDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

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
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(prompt);
    layout->addWidget(edit);
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
