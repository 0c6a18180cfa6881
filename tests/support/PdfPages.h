#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

// A printed PDF read back as a person would see it: its words with their
// places on each page (pdftotext -bbox, in points from the top-left
// corner) and a page rasterised into an image (pdftoppm). Both come from
// poppler-utils.
namespace PdfPages {

struct Word
{
    QString text;
    double left, top, right, bottom;
};

struct Page
{
    double width = 0, height = 0;
    // The words of each line, top to bottom, each line left to right.
    QList<QList<Word>> lines;
};

inline QList<Page> pagesOf(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        return {};
    QList<Page> pages;
    QList<Word> words;
    QXmlStreamReader xml(pdftotext.readAllStandardOutput());
    const auto lineUp = [&pages, &words] {
        std::sort(words.begin(), words.end(), [](const Word &a, const Word &b) {
            return a.top + 0.5 < b.top || (std::abs(a.top - b.top) <= 0.5 && a.left < b.left);
        });
        for (const Word &word : words) {
            QList<QList<Word>> &lines = pages.last().lines;
            if (lines.isEmpty() || std::abs(lines.last().first().top - word.top) > 0.5)
                lines.append(QList<Word>());
            lines.last().append(word);
        }
        words.clear();
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("page")) {
            if (!pages.isEmpty())
                lineUp();
            pages.append({xml.attributes().value("width").toDouble(),
                          xml.attributes().value("height").toDouble(),
                          {}});
        } else if (xml.isStartElement() && xml.name() == QLatin1String("word")) {
            const auto at = xml.attributes();
            const Word word{{},
                            at.value("xMin").toDouble(),
                            at.value("yMin").toDouble(),
                            at.value("xMax").toDouble(),
                            at.value("yMax").toDouble()};
            words.append(word);
            words.last().text = xml.readElementText();
        }
    }
    if (!pages.isEmpty())
        lineUp();
    return pages;
}

inline QStringList textOf(const QList<Word> &line)
{
    QStringList texts;
    for (const Word &word : line)
        texts << word.text;
    return texts;
}

// Every word of a page, in reading order.
inline QStringList wordsOf(const Page &page)
{
    QStringList texts;
    for (const QList<Word> &line : page.lines)
        texts << textOf(line);
    return texts;
}

// The first page at `dpi` pixels an inch; a null image when it cannot be
// made.
inline QImage raster(const QString &pdf, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                    QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                    stem});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

} // namespace PdfPages
