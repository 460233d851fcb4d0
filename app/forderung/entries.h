#pragma once
// The claims, costs and payments of a case as the user types them: one table model each, whose
// cells hold what was typed (amounts and dates tidied once they read), and the reading of the
// three into the engine's case, which names the cell at fault when a cell does not read.

#include "engine/casefile.h"
#include "engine/claims.h"

#include <QAbstractTableModel>
#include <QJsonObject>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

enum class TEntryTable : int { Claims, Costs, Payments };

// The columns of each table.
enum TClaimColumn : int {
    clName,
    clAmount,
    clFirstDay,
    clRule,
    clRate,
    clBefore,
    clFlatFee,
    clSued
};
enum TCostColumn : int { coName, coAmount, coDate, coFirstDay, coRule, coRate, coBefore };
enum TPaymentColumn : int { paDate, paAmount, paClaim };

// An amount as Germans (and the Swiss) write it: "4.250,00", "4250.5", "1'234.50", "980 €";
// nothing for other text or more than two decimals.
std::optional<TCents> ParseTypedCents(QStringView text);
// A day as typed into a cell: "17.04.2025", "17.4.25", "17042025", "170425", "2025-04-17".
std::optional<TDateTime> ParseTypedDate(QStringView text);

// The rules the law offers, in the order the rule cells list them, and each one's name there.
std::vector<TRateKind> RulesOffered(TLaw law);
QString RuleName(TRateKind kind, TLaw law);

class TEntryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TEntryModel(TEntryTable table, QObject *parent = nullptr);

    TEntryTable Table() const { return FTable; }
    // Names the rules and shows the check boxes as the law has them; the cells keep their values.
    void SetLaw(TLaw law);
    TLaw Law() const { return FLaw; }

    // A new row before `row` (at the end for -1), with the law's first rule; gives its index.
    int AddRow(int row = -1);
    void RemoveRow(int row);
    void Clear();

    // What a cell holds: the typed text, the rule (TRateKind) or the check box.
    QVariant Cell(int row, int column) const { return FRows[size_t(row)].Cells[size_t(column)]; }
    // Whether the cell takes part under the row's rule and the law: a rate only for a typed rate,
    // the old-claim box only for the business rule, the flat fee only where it is due.
    bool Applies(int row, int column) const;
    // What the case file held of the row that the program does not know, kept for the next save.
    const QJsonObject &Unknown(int row) const { return FRows[size_t(row)].Unknown; }

    // The typed case's rows of this table, and the rows from a case file.
    void Fill(const TCaseFile &file);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The kind of column: text, amount, date, rule, rate, check box or claim number.
    enum TKind { ckText, ckAmount, ckDate, ckRule, ckRate, ckCheck, ckNumber };
    TKind Kind(int column) const;

private:
    struct TRow {
        std::vector<QVariant> Cells;
        QJsonObject Unknown;
        // Once the user has set the old-claim box, the first day no longer presets it.
        bool BeforeTouched = false;
    };
    TRow NewRow() const;
    QString Shown(const TRow &row, int column) const;
    void Tidy(int row, int column);

    TEntryTable FTable;
    TLaw FLaw = lwGermany;
    std::vector<TRow> FRows;
};

// Where a cell or field keeps the case from being calculated, and why.
struct TEntryFault {
    TEntryTable Table = TEntryTable::Claims;
    int Row = -1;    // -1: no cell of the tables
    int Column = -1; // of the table
    QString Reason;
};

// The three tables into the case's entries (StatementDay, DayCount, Allocation and Law stay as
// they are); false with the first cell at fault.
bool ReadEntries(const TEntryModel &claims, const TEntryModel &costs, const TEntryModel &payments,
                 TClaimsCase &input, TEntryFault &fault);
// The cell to mend for an error the engine found in a case read from these tables.
TEntryFault CellOfEngineError(const TClaimsStatement &statement);
