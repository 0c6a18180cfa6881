#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Names are stored in the Cyrillic single-byte code page 1251, the code page
// of every history file this program has ever written. The mapping is the
// program's own fixed table, so it does not hang on how Qt was built, and
// characters outside the code page are stored as '?', one per character
// (surrogate pairs included).
class CodePage1251
{
public:
    static QByteArray Encode(const QString &text);
    // The byte of one character; nothing when the code page lacks it.
    static std::optional<char> ByteOf(char32_t character);
    static QString Decode(const char *data, qsizetype size);
};
