#include "HistoryRecord.h"

#include "CodePage1251.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <QtEndian>

#include <algorithm>
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

// One character as the person sees it (a letter with its marks, an emoji
// of several code points) becomes one byte: its own, or the byte of the
// letter it is built on (ë is e with a diaeresis), or '?'.
char byteOfCharacter(QStringView character)
{
    const QList<uint> codePoints = character.toUcs4();
    char32_t base = codePoints.value(0, U'?');
    for (;;) {
        if (const auto byte = CodePage1251::ByteOf(base))
            return *byte;
        if (QChar::decompositionTag(base) != QChar::Canonical)
            return '?';
        base = QChar::decomposition(base).toUcs4().value(0, U'?');
    }
}

// The name the way it is stored, character by character: composed, and
// each control character a blank (a tab, a line end or an escape pasted
// into the prompt would split the name's line in every list and table).
QString storableName(const QString &text)
{
    QString name = text.normalized(QString::NormalizationForm_C);
    std::replace_if(
        name.begin(), name.end(), [](QChar ch) { return ch.category() == QChar::Other_Control; },
        QLatin1Char(' '));
    return name;
}

QString withoutTrailingBlanks(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace

QByteArray HistoryRecord::StoredName(const QString &text)
{
    const QString name = storableName(text);
    QByteArray bytes;
    bytes.reserve(NameLength);
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
    for (qsizetype start = 0; start < name.size() && bytes.size() < NameLength;) {
        characters.setPosition(start);
        qsizetype end = characters.toNextBoundary();
        if (end <= start)
            end = name.size();
        bytes += byteOfCharacter(QStringView(name).sliced(start, end - start));
        start = end;
    }
    return bytes.leftJustified(NameLength, ' ');
}

QString HistoryRecord::FitName(const QString &text)
{
    const QByteArray stored = StoredName(text);
    return CodePage1251::Decode(stored.constData(), stored.size());
}

bool HistoryRecord::NameFits(const QString &text)
{
    const QString name = storableName(text);
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
    int count = 0;
    while (characters.toNextBoundary() > 0)
        if (++count > NameLength)
            return false;
    return true;
}

QString HistoryRecord::StoredForm(const QString &text)
{
    const QString stored = withoutTrailingBlanks(FitName(text));
    // Typed in decomposed form, a letter looks the same and is stored the
    // same; only a real difference is one.
    if (stored == withoutTrailingBlanks(text.normalized(QString::NormalizationForm_C)))
        return text;
    return stored;
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
