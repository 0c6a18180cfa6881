#pragma once

#include "platform/files/SaveOutcome.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class CommonDialog;

// The key presses of a history's tests as one CSV for statistics programs
// and spreadsheets, for the analysis of the gaps between presses: a header,
// then one row a press, the tests in the history's file order, each row
// naming its test as the history's CSV does (name, ISO date and time) and
// giving the interval, the press's number, its moment in ms and the key.
// UTF-8 with a byte-order mark, RFC 4180, CR LF line ends. The presses come
// from the history's companion file (KeyPressFile); a test without any
// kept there is simply absent. The file chosen is replaced only when the
// new one is whole, and never a history or its backups.
class KeyPressExport
{
    Q_DECLARE_TR_FUNCTIONS(KeyPressExport)

public:
    // Asks for the file, writes the presses of the history at historyPath
    // and says how it went.
    static void Export(CommonDialog &dlog, const QString &historyPath,
                       const QString &defaultHistoryPath);

    // What a write ended with, and the sentences to tell before the
    // outcome's own (a damaged or missing companion, a damaged history).
    struct Written
    {
        SaveOutcome outcome = SaveOutcome::Abandoned;
        QStringList notices;
    };
    // Replaces the file at path with the presses of the history at
    // historyPath; nothing is written where the history has no companion.
    static Written WriteTo(const QString &path, const QString &historyPath,
                           const QString &defaultHistoryPath);

    static QString Filter()
    {
        return tr("CSV for spreadsheets and statistics (*.csv)") + QStringLiteral("|*.csv");
    }
    static QString Header() { return QStringLiteral("name,date,time,interval,press,ms,key"); }
    static QString NoneKeptMessage() { return tr("No key presses are kept for this history."); }
    static QString UnreadableMessage()
    {
        return tr("The key presses kept for this history cannot be read.");
    }
    static QString DamagedMessage()
    {
        return tr(
            "The file of key presses is damaged: the presses after the damage are not exported.");
    }
};
