#include "Evaluation.h"

#include "HalfEven.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int Int16Min = std::numeric_limits<std::int16_t>::min();
constexpr int Int16Max = std::numeric_limits<std::int16_t>::max();

bool fitsInt16(double value)
{
    return value >= Int16Min && value <= Int16Max;
}

const QColor &red()
{
    static const QColor colour(255, 0, 0);
    return colour;
}

// The files keep the English words under every language.
bool InFile(Evaluation::Display display)
{
    using Display = Evaluation::Display;
    return display == Display::ExportedLine || display == Display::PrintedTable ||
           display == Display::Csv;
}

} // namespace

double Evaluation::RoundHalfEven(double value)
{
    return HalfEven::Round(value);
}

std::optional<std::int16_t> Evaluation::CalcCMF(std::int16_t c1, std::int16_t c4)
{
    const int d = int(c1) - int(c4);
    if (d < Int16Min || d > Int16Max || c1 == 0)
        return std::nullopt;
    const double q = static_cast<double>(d) / static_cast<double>(c1);
    const double rounded = RoundHalfEven(q * 100.0);
    if (!fitsInt16(rounded))
        return std::nullopt;
    auto cmf = static_cast<std::int16_t>(rounded);
    if (cmf < 0)
        cmf = -1;
    if (cmf > 100)
        cmf = 100;
    return cmf;
}

Evaluation::Results Evaluation::ResultsVerdict(std::int16_t cmf)
{
    return cmf > AbnormalLimit ? Results::Abnormal : Results::Normal;
}

Evaluation::Reliability Evaluation::ReliabilityVerdict(std::int16_t c1, std::int16_t c4,
                                                       std::int16_t cmf)
{
    const bool tooFewAtFirst = c1 < LeastFirstCount;
    const bool grewTooMuch = static_cast<double>(c1) * GrowthFactor < static_cast<double>(c4);
    const bool rose = cmf < 0;
    return tooFewAtFirst || grewTooMuch || rose ? Reliability::Unreliable : Reliability::Reliable;
}

std::int16_t Evaluation::CorrectStoredCmf(std::int16_t stored, StoredCmf rule)
{
    if (stored < 0)
        return -1;
    if (rule == StoredCmf::NegativeAndCap && stored > 100)
        return 100;
    return stored;
}

Evaluation::Look Evaluation::Present(Results verdict, Display display)
{
    static const char *const normalWord = QT_TR_NOOP("Normal");
    static const char *const abnormalWord = QT_TR_NOOP("Abnormal");
    const bool file = InFile(display);
    const QString normal = file ? QString::fromLatin1(normalWord) : tr(normalWord);
    const QString abnormal = file ? QString::fromLatin1(abnormalWord) : tr(abnormalWord);
    if (verdict == Results::Abnormal) {
        if (display == Display::ResultsWindow || display == Display::RecordDetails)
            return {abnormal, red()};
        return {abnormal, std::nullopt};
    }
    // The lines of the list and the export give both words one width, so
    // the column after them lines up in any language.
    const QString aligned = normal.rightJustified(std::max(normal.size(), abnormal.size()));
    switch (display) {
    case Display::ResultsWindow:
        return {normal, QColor(0, 128, 0)};
    case Display::RecordDetails:
    case Display::Csv:
        return {normal, std::nullopt};
    case Display::HistoryLine:
    case Display::ExportedLine:
        return {aligned, std::nullopt};
    case Display::PrintedTable:
        return {aligned + u'\t', std::nullopt};
    }
    return {};
}

Evaluation::Look Evaluation::Present(Reliability verdict, Display display)
{
    static const char *const reliableWord = QT_TR_NOOP("Reliable");
    static const char *const unreliableWord = QT_TR_NOOP("Unreliable");
    const bool file = InFile(display);
    if (verdict == Reliability::Reliable)
        return {file ? QString::fromLatin1(reliableWord) : tr(reliableWord), std::nullopt};
    const QString unreliable = file ? QString::fromLatin1(unreliableWord) : tr(unreliableWord);
    if (display == Display::ResultsWindow || display == Display::RecordDetails)
        return {unreliable, red()};
    return {unreliable, std::nullopt};
}
