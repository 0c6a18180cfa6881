#pragma once

#include "PersonTrend.h"

#include <QAbstractTableModel>
#include <QList>

// The tests of the trend window's table, one row a test in the order the
// window shows them (oldest first): date, time, the four counts, the CMF
// and both verdicts, the verdicts in the words and colours of the results
// window. A model rather than a filled table, so a person with thousands of
// tests costs no more than the rows in sight.
class TrendTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Date, Time, C1, C2, C3, C4, Cmf, Results, Reliability, ColumnCount };

    explicit TrendTable(QObject *parent = nullptr);

    void SetTests(QList<PersonTrend::Test> tests);
    const QList<PersonTrend::Test> &Tests() const { return m_tests; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<PersonTrend::Test> m_tests;
};
