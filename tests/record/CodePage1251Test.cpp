// Text to the Cyrillic code page as names and exported tables are written:
// ASCII as it is, Cyrillic and the code page's other characters to their
// bytes, anything outside it to one '?' per character, and back again.
#include "record/CodePage1251.h"

#include <QTest>

class CodePage1251Test : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
};

void CodePage1251Test::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("empty") << QString() << QByteArray() << QString();
    QTest::newRow("ASCII with CR LF and tab")
        << QStringLiteral("Ada\t12\r\n") << QByteArray("Ada\t12\r\n")
        << QStringLiteral("Ada\t12\r\n");
    QTest::newRow("Cyrillic") << QStringLiteral("Иван ё") << QByteArray("\xc8\xe2\xe0\xed \xb8")
                              << QStringLiteral("Иван ё");
    QTest::newRow("euro sign and NUL") << QStringLiteral("€") + QChar(0) << QByteArray("\x88\0", 2)
                                       << QStringLiteral("€") + QChar(0);
    QTest::newRow("outside the code page")
        << QStringLiteral("a中b") << QByteArray("a?b") << QStringLiteral("a?b");
    QTest::newRow("surrogate pair is one character")
        << QStringLiteral("x😀y") << QByteArray("x?y") << QStringLiteral("x?y");
    QTest::newRow("lone surrogate")
        << QStringLiteral("x") + QChar(0xd800) << QByteArray("x?") << QStringLiteral("x?");
}

void CodePage1251Test::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, decoded);
    const QByteArray encoded = CodePage1251::Encode(text);
    QCOMPARE(encoded, bytes);
    QCOMPARE(CodePage1251::Decode(encoded.constData(), encoded.size()), decoded);
}

QTEST_GUILESS_MAIN(CodePage1251Test)
#include "CodePage1251Test.moc"
