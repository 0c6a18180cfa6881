#include "RecordReader.h"

#include "HistoryFile.h"
#include "session/SessionState.h"

bool RecordReader::Read(qint64 recNo)
{
    SessionState &session = Session();
    HistoryFile file(session.DataPath);
    if (!file.Open())
        return false;
    const auto record = file.Read(recNo);
    if (!record)
        return false;
    session.CurrentRecord = *record;
    for (std::size_t i = 0; i < record->RecCounts.size(); ++i)
        session.Counts[i + 1] = record->RecCounts[i];
    return true;
}
