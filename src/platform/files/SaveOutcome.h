#pragma once

#include <QCoreApplication>
#include <QString>

// How writing a file of the person's choice (an exported table, a printed
// PDF) ended, and the sentence that tells them when it was not written:
// the refusal and a file that cannot be made in the words Save as uses for
// a copy it cannot make, a write that fails on the way (a full disk) in a
// sentence of its own. In every case but Done the file of that name is as
// it was before.
class SaveOutcome
{
    Q_DECLARE_TR_FUNCTIONS(SaveOutcome)

public:
    enum Kind {
        Done,
        // Nothing written, for a reason told elsewhere or by nothing at all
        // (a cancelled dialog, a printer that cannot be used).
        Abandoned,
        // The name reaches a file that is never written over (KeptFiles).
        Refused,
        // The file could not be made or opened for writing.
        NotOpened,
        // Writing failed part-way.
        NotWritten,
    };

    SaveOutcome(Kind kind) : m_kind(kind) {}
    Kind What() const { return m_kind; }
    friend bool operator==(const SaveOutcome &, const SaveOutcome &) = default;

    // Empty where the person is told nothing.
    QString Message() const
    {
        switch (m_kind) {
        case Refused:
        case NotOpened:
            return NotSavedMessage();
        case NotWritten:
            return NotWrittenMessage();
        case Done:
        case Abandoned:
            break;
        }
        return QString();
    }

    static QString NotSavedMessage() { return tr("Permission denied. Data not saved!"); }
    static QString NotWrittenMessage()
    {
        return tr("The disk is full or cannot be written. Data not saved!");
    }

private:
    Kind m_kind;
};
