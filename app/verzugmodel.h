#pragma once
// The default-interest statement as text cells: what the window's table shows and what every
// export (clipboard, CSV, PDF, print) renders, so that all of them say the same. And the table
// model that shows its rows.

#include "engine/defaultinterest.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A label and its value, as "Zinsen" and "170,84 €".
struct TStatementLine {
    QString Label;
    QString Value;

    bool operator==(const TStatementLine &) const = default;
};

struct TStatement {
    QList<TStatementLine> Inputs; // the claim, the period, the rate rule, the day count
    QList<QStringList> Rows;      // one cell a column of StatementHeader()
    QList<TStatementLine> Sums;   // claim, interest, flat fee where chosen, total, per day
    QString Rules;                // the day count, the days that count and the rounding
    QString UserRateNote;         // empty unless a row uses a base rate of the user's
    QString Reach;                // "Basiszinssätze bis 31.12.2026"

    bool IsEmpty() const { return Rows.isEmpty(); }
};

// Von, Bis, Tage, Basiszinssatz, Aufschlag, Zinssatz, Zinsen.
const QStringList &StatementHeader();
// Days, rates and amounts stand right-aligned.
bool IsNumberColumn(int column);
// "8.766": whole numbers with thousands dots.
QString FormatCount(qint64 value);

// The statement of a calculation that succeeded.
TStatement MakeStatement(const TDefaultInterestInput &input, const TDefaultInterest &result,
                         const TBaseRateTable &table);

class TStatementModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    const TStatement &Statement() const { return FStatement; }
    void SetStatement(const TStatement &value);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TStatement FStatement;
};
