#include "TrendTable.h"

#include <QColor>

TrendTable::TrendTable(QObject *parent) : QAbstractTableModel(parent) {}

void TrendTable::SetTests(QList<PersonTrend::Test> tests)
{
    beginResetModel();
    m_tests = std::move(tests);
    endResetModel();
}

int TrendTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_tests.size());
}

int TrendTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrendTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_tests.size())
        return {};
    const PersonTrend::Test &test = m_tests.at(index.row());
    const auto results = Evaluation::Present(test.Results(), Evaluation::Display::ResultsWindow);
    const auto reliability =
        Evaluation::Present(test.Reliability(), Evaluation::Display::ResultsWindow);
    const int column = index.column();
    if (role == Qt::DisplayRole) {
        switch (column) {
        case Date:
            return test.date;
        case Time:
            return test.time;
        case C1:
        case C2:
        case C3:
        case C4:
            return QString::number(test.record.RecCounts[std::size_t(column - C1)]);
        case Cmf:
            return QString::number(test.record.RecCMF);
        case Results:
            return results.text;
        case Reliability:
            return reliability.text;
        default:
            return {};
        }
    }
    if (role == Qt::ForegroundRole) {
        const auto colour = column == Results       ? results.colour
                            : column == Reliability ? reliability.colour
                                                    : std::nullopt;
        return colour ? QVariant(*colour) : QVariant();
    }
    if (role == Qt::TextAlignmentRole)
        return int(column == Date || column == Time ? Qt::AlignLeft | Qt::AlignVCenter
                                                    : Qt::AlignCenter);
    return {};
}

QVariant TrendTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char *const titles[ColumnCount] = {
        QT_TR_NOOP("Date"), QT_TR_NOOP("Time"),    QT_TR_NOOP("c1"),
        QT_TR_NOOP("c2"),   QT_TR_NOOP("c3"),      QT_TR_NOOP("c4"),
        QT_TR_NOOP("CMF"),  QT_TR_NOOP("Results"), QT_TR_NOOP("Reliability")};
    return section >= 0 && section < ColumnCount ? QVariant(tr(titles[section])) : QVariant();
}
