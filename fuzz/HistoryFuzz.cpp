// Feeds arbitrary bytes to the program as its history file and reads it
// the way every window and command does: the list and export lines with
// their corrections, every record decoded on its own. Besides the
// sanitizers' reports, a line that is produced must keep its fixed columns,
// whatever the file held, since the export's readers rely on them.
#include "history/HistoryList.h"
#include "platform/Platform.h"
#include "platform/ScriptedDialogs.h"
#include "session/HistoryRecord.h"
#include "session/SessionState.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cstdint>
#include <cstdlib>

namespace {

struct Harness
{
    ScriptedDialogs dialogs;
    QString path;

    Harness()
    {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        Platform::SetDialogs(&dialogs);
        path = QDir::tempPath() + QStringLiteral("/velmora-fuzz-%1.dat")
                                      .arg(QString::number(qint64(::getpid())));
    }
};

bool columnsHold(const QString &line)
{
    if (line.size() < 70)
        return false;
    return line.mid(20, 3) == QLatin1String(" * ") && line.mid(33, 3) == QLatin1String(" * ") &&
           line.mid(48, 4) == QLatin1String(" *  ") && line.mid(55, 3) == QLatin1String(" * ") &&
           line.mid(66, 3) == QLatin1String(" * ");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Harness harness;
    {
        QFile file(harness.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ResetSession();
    Session().DataPath = harness.path;
    harness.dialogs.Clear();

    for (std::size_t at = 0; at + HistoryRecord::RecordLength <= size;
         at += HistoryRecord::RecordLength) {
        const auto record = HistoryRecord::Decode(reinterpret_cast<const char *>(data) + at,
                                                  HistoryRecord::RecordLength);
        if (!record || record->RecName.size() != HistoryRecord::NameLength)
            std::abort();
    }

    QStringList lines;
    HistoryList::ListHistory(HistoryList::Mode::List, [&](const QString &line) {
        if (!columnsHold(line))
            std::abort();
        lines << line;
    });
    if (qsizetype(size / HistoryRecord::RecordLength) < lines.size())
        std::abort();
    HistoryList::ListHistory(HistoryList::Mode::Export);
    if (!Session().ExportText.startsWith(lines.join(QStringLiteral("\r\n"))))
        std::abort();
    if (Session().RecNo != 1)
        std::abort();
    return 0;
}
