#include "HistoryRecord.h"

#include "platform/CodePage1251.h"

#include <QtEndian>

#include <cstring>

namespace {

void putDouble(char *at, double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, at);
}

double getDouble(const char *at)
{
    const auto bits = qFromLittleEndian<std::uint64_t>(at);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putInt16(char *at, std::int16_t value)
{
    qToLittleEndian(value, at);
}

std::int16_t getInt16(const char *at)
{
    return qFromLittleEndian<std::int16_t>(at);
}

constexpr int DateOffset = 20;
constexpr int TimeOffset = 28;
constexpr int CmfOffset = 36;
constexpr int CountsOffset = 38;

} // namespace

QString HistoryRecord::FitName(const QString &text)
{
    return text.left(NameLength).leftJustified(NameLength, QLatin1Char(' '));
}

void HistoryRecord::SetName(const QString &text)
{
    RecName = FitName(text);
}

QByteArray HistoryRecord::Encode() const
{
    QByteArray bytes(RecordLength, '\0');
    char *data = bytes.data();
    // A character outside the basic plane is one byte here but two units
    // in the text, so the width is fixed again after encoding.
    const QByteArray name =
        CodePage1251::Encode(RecName).left(NameLength).leftJustified(NameLength, ' ');
    std::memcpy(data, name.constData(), NameLength);
    putDouble(data + DateOffset, RecDate);
    putDouble(data + TimeOffset, RecTime);
    putInt16(data + CmfOffset, RecCMF);
    for (std::size_t i = 0; i < RecCounts.size(); ++i)
        putInt16(data + CountsOffset + 2 * static_cast<qsizetype>(i), RecCounts[i]);
    return bytes;
}

std::optional<HistoryRecord> HistoryRecord::Decode(const char *data, qsizetype size)
{
    if (data == nullptr || size < RecordLength)
        return std::nullopt;
    HistoryRecord record;
    record.RecName = CodePage1251::Decode(data, NameLength);
    record.RecDate = getDouble(data + DateOffset);
    record.RecTime = getDouble(data + TimeOffset);
    record.RecCMF = getInt16(data + CmfOffset);
    for (std::size_t i = 0; i < record.RecCounts.size(); ++i)
        record.RecCounts[i] = getInt16(data + CountsOffset + 2 * static_cast<qsizetype>(i));
    return record;
}
