#pragma once

#include "record/KeyPress.h"
#include "record/TestResult.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>

class QPaintDevice;
class QPainter;

// One test's result on one sheet of paper, to be filed in the tested
// person's record: the program's name and "Test result" at the head, the
// name, date and time, the four counts in a small table, the CMF value and
// both verdicts in the colours of the results window, the dynamics graph
// as the window draws it (in vector lines, scaled to the sheet), a sentence
// on how the verdicts are reached and the day it was printed. It paints on
// any paint device: a printer, a PDF file or an image. Everything shown is
// taken from the result it was made with, as the evaluation rules decided
// it once, so the sheet says what the window said. Where the test's key
// presses are kept, the table of counts also gives the mean time between
// the presses of each interval and its standard deviation.
class ResultReport
{
    Q_DECLARE_TR_FUNCTIONS(ResultReport)

public:
    explicit ResultReport(const TestResult &result, const KeyPresses &presses = {})
        : m_result(result), m_presses(presses)
    {}

    const TestResult &Result() const { return m_result; }

    // The time between consecutive presses of one interval, in ms: the
    // mean of at least one gap, the sample standard deviation of at least
    // two.
    struct Rhythm
    {
        std::optional<double> meanMs;
        std::optional<double> sdMs;
        friend bool operator==(const Rhythm &, const Rhythm &) = default;
    };
    // The rhythm of each evaluated interval (1 to 4) of a test's presses.
    static std::array<Rhythm, 4> RhythmOf(const KeyPresses &presses);

    // Paints the page; false, with nothing painted, when the device cannot
    // be painted on. A page device keeps the report inside its margins and
    // off the part the printer cannot reach; the report is made smaller
    // only where the paper is too small for it.
    bool Paint(QPaintDevice &device, const QDate &printedOn,
               const QLocale &locale = QLocale()) const;
    // The same with a painter already begun on the device; ends it.
    bool Paint(QPainter &painter, QPaintDevice &device, const QDate &printedOn,
               const QLocale &locale = QLocale()) const;

    // The name as printed: without its padding, a control character (from
    // a damaged file) as a blank.
    QString ShownName() const;
    // A name for the print job and for a PDF file of it: the tested
    // person's name and the test's day and time, with no character a file
    // name cannot hold.
    QString DocumentName() const;

    static QString ProgramName() { return QStringLiteral("Velmora"); }
    static QString Title() { return tr("Test result"); }
    // How the CMF value and the verdicts are reached, in one sentence.
    static QString Explanation();

private:
    TestResult m_result;
    KeyPresses m_presses;
};
