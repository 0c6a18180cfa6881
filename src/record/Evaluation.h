#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>

// The one rule that turns the counts of a test into the CMF drop percentage
// and the two verdicts, together with the words and colours in which each
// display shows them. Every display calls this class, so a record reads the
// same in the results window, the data window, the list, the export and the
// printed table. The words are the user's language on screen and on the
// one-test report, and always English in the files (the export, the
// printed table, the CSV), which other programs and older files read.
class Evaluation
{
    Q_DECLARE_TR_FUNCTIONS(Evaluation)

public:
    enum class Results { Normal, Abnormal };
    enum class Reliability { Reliable, Unreliable };

    // Where a verdict is shown; each place has its own words or colours.
    // The last three are files and keep the English words.
    enum class Display {
        ResultsWindow,
        RecordDetails,
        HistoryLine,
        ExportedLine,
        PrintedTable,
        Csv
    };

    // How a CMF value read back from a file is corrected before it is shown.
    enum class StoredCmf { NegativeOnly, NegativeAndCap };

    struct Look
    {
        QString text;
        // Empty means the platform's button-text colour.
        std::optional<QColor> colour;
        friend bool operator==(const Look &, const Look &) = default;
    };

    // Percentage drop from c1 to c4, -1 for any rise, capped at 100. Fails
    // when c1 is 0 and when a step leaves the 16-bit range.
    static std::optional<std::int16_t> CalcCMF(std::int16_t c1, std::int16_t c4);
    static Results ResultsVerdict(std::int16_t cmf);
    static Reliability ReliabilityVerdict(std::int16_t c1, std::int16_t c4, std::int16_t cmf);
    static std::int16_t CorrectStoredCmf(std::int16_t stored, StoredCmf rule);

    static Look Present(Results verdict, Display display);
    static Look Present(Reliability verdict, Display display);

    // Round to the nearest integer, halves to the even neighbour.
    static double RoundHalfEven(double value);

    static constexpr int AbnormalLimit = 10;
    static constexpr int LeastFirstCount = 30;
    static constexpr double GrowthFactor = 1.1;
};
