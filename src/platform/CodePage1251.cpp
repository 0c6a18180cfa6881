#include "CodePage1251.h"

#include <QHash>
#include <QStringDecoder>

#include <array>

namespace {

struct Tables
{
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;

    Tables()
    {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        QStringDecoder decoder("windows-1251");
        const QString text = decoder.isValid() ? QString(decoder.decode(all)) : QString();
        for (int i = 0; i < 256; ++i) {
            // Without a converter the lower half still maps; the upper half
            // then reads as '?' rather than as some other code page.
            const char16_t unit = text.size() == 256 ? text.at(i).unicode()
                                  : i < 128          ? char16_t(i)
                                                     : u'?';
            toUnicode[i] = unit;
            if (!fromUnicode.contains(unit))
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

QString CodePage1251::Decode(const char *data, qsizetype size)
{
    const Tables &t = tables();
    QString text(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        text[i] = QChar(t.toUnicode[static_cast<unsigned char>(data[i])]);
    return text;
}
