#include "CodePage1251.h"

#include <QHash>

#include <array>

namespace {

// The upper half of the code page, bytes 0x80 to 0xFF. The code page has not
// changed in decades, and Qt reaches it only through ICU, which many builds
// of Qt leave out; carried here, names read and write the same everywhere.
// 0x98 has no character of its own and stands for U+0098, as in the
// platform's own conversions, so every byte survives a round trip.
constexpr std::array<char16_t, 128> UpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // 0xF8
};

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Tables()
    {
        for (int i = 0; i < 256; ++i) {
            const char16_t unit = i < 128 ? char16_t(i) : UpperHalf[std::size_t(i - 128)];
            toUnicode[std::size_t(i)] = unit;
            fromUnicode.insert(unit, static_cast<char>(i));
        }
    }
};

const Tables &tables()
{
    static const Tables instance;
    return instance;
}

} // namespace

QByteArray CodePage1251::Encode(const QString &text)
{
    const Tables &t = tables();
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        // The lower half of the code page is ASCII: exported tables are
        // mostly that, and a lookup per character made up much of their cost.
        if (ch.unicode() < 0x80) {
            *out++ = static_cast<char>(ch.unicode());
            continue;
        }
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page, one '?'
        *out++ = t.fromUnicode.value(ch.unicode(), '?');
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

std::optional<char> CodePage1251::ByteOf(char32_t character)
{
    if (character < 0x80)
        return static_cast<char>(character);
    const auto &fromUnicode = tables().fromUnicode;
    const auto found = character > 0xFFFF ? fromUnicode.cend()
                                          : fromUnicode.constFind(static_cast<char16_t>(character));
    if (found == fromUnicode.cend())
        return std::nullopt;
    return found.value();
}

QString CodePage1251::Decode(const char *data, qsizetype size)
{
    const Tables &t = tables();
    QString text(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        text[i] = QChar(t.toUnicode[static_cast<unsigned char>(data[i])]);
    return text;
}
