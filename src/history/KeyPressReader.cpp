#include "KeyPressReader.h"

#include "KeyPressFile.h"
#include "platform/files/RegularFile.h"
#include "record/OleDate.h"

#include <QFile>
#include <QFileInfo>

#include <limits>
#include <optional>

namespace {

constexpr int Fields = 7;
constexpr int LastInterval = 4;
// Read a line at a time from a buffer this large; a longer line is no row.
constexpr qint64 MaxLine = 256;

struct Row
{
    qint64 recNo = 0;
    QDate date;
    QTime time;
    KeyPress press;
};

// A whole number as the companion writes it: digits with an optional minus,
// nothing else around them.
std::optional<qint64> number(const QByteArray &field, qint64 least, qint64 most)
{
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    if (!ok || field.isEmpty() || field.front() == '+' || field.front() == ' ' ||
        field.back() == ' ' || value < least || value > most)
        return std::nullopt;
    return value;
}

std::optional<Row> parse(const QByteArray &line)
{
    const QList<QByteArray> fields = line.split(',');
    if (fields.size() != Fields)
        return std::nullopt;
    Row row;
    const auto recNo = number(fields[0], 1, std::numeric_limits<qint32>::max());
    row.date = QDate::fromString(QString::fromLatin1(fields[1]), QStringLiteral("yyyy-MM-dd"));
    row.time = QTime::fromString(QString::fromLatin1(fields[2]), QStringLiteral("HH:mm:ss"));
    const auto interval = number(fields[3], 0, LastInterval);
    const auto press = number(fields[4], 1, std::numeric_limits<qint32>::max());
    const auto ms = number(fields[5], 0, std::numeric_limits<qint64>::max());
    const auto key = number(fields[6], std::numeric_limits<std::int16_t>::min(),
                            std::numeric_limits<std::int16_t>::max());
    if (!recNo || !row.date.isValid() || !row.time.isValid() || !interval || !press || !ms || !key)
        return std::nullopt;
    row.recNo = *recNo;
    row.press = {int(*interval), int(*press), *ms, std::int16_t(*key)};
    return row;
}

} // namespace

KeyPressReader::Contents KeyPressReader::Read(const QString &historyPath, const Belongs &belongs)
{
    Contents contents;
    const QString path = KeyPressFile::PathFor(historyPath);
    if (!QFileInfo::exists(path))
        return contents;
    contents.found = Found::Unreadable;
    QFile file;
    if (!RegularFile::OpenForReading(file, path))
        return contents;
    contents.found = Found::Damaged;
    // A row counts only with its line end: a row cut short by a crash or a
    // full disk could still read as numbers, only smaller ones.
    const auto nextLine = [&file]() -> std::optional<QByteArray> {
        QByteArray line = file.readLine(MaxLine);
        if (!line.endsWith('\n'))
            return std::nullopt;
        line.chop(line.endsWith("\r\n") ? 2 : 1);
        return line;
    };
    const QByteArray header = KeyPressFile::Header().trimmed();
    if (file.atEnd()) {
        contents.found = Found::Whole;
        return contents;
    }
    if (nextLine() != header)
        return contents;
    while (!file.atEnd()) {
        const std::optional<QByteArray> line = nextLine();
        const std::optional<Row> row = line ? parse(*line) : std::nullopt;
        if (!row)
            return contents;
        if (!belongs(row->recNo, row->date, row->time))
            continue;
        KeyPresses &presses = contents.presses[row->recNo];
        // The same test written again (a file put together by hand) counts
        // once, as written last.
        if (!presses.isEmpty() && row->press.number <= presses.constLast().number)
            presses.clear();
        presses.append(row->press);
    }
    contents.found = file.error() == QFileDevice::NoError ? Found::Whole : Found::Unreadable;
    return contents;
}

bool KeyPressReader::SameTest(const HistoryRecord &record, const QDate &date, const QTime &time)
{
    return OleDate::ToDate(record.RecDate) == date && OleDate::ToTime(record.RecTime) == time;
}

KeyPresses KeyPressReader::Of(const QString &historyPath, qint64 recNo, const HistoryRecord &record)
{
    if (recNo <= 0)
        return {};
    const Contents contents =
        Read(historyPath, [&](qint64 number, const QDate &date, const QTime &time) {
            return number == recNo && SameTest(record, date, time);
        });
    return contents.presses.value(recNo);
}
