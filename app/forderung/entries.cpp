#include "app/forderung/entries.h"

#include "dates/dateserial.h"
#include "engine/fixedtext.h"
#include "platform/base/amounttext.h"
#include "report/amounts.h"
#include "report/errortext.h"

#include <QRegularExpression>
#include <span>

namespace {

struct TColumn {
    const char16_t *Header;
    TEntryModel::TKind Kind;
};

// In the order of TClaimColumn, TCostColumn and TPaymentColumn.
const TColumn ClaimColumns[] = {
    {u"Bezeichnung", TEntryModel::ckText}, {u"Betrag", TEntryModel::ckAmount},
    {u"Zinsbeginn", TEntryModel::ckDate},  {u"Zinsregel", TEntryModel::ckRule},
    {u"Wert", TEntryModel::ckRate},        {u"vor 29.07.2014", TEntryModel::ckCheck},
    {u"Pauschale", TEntryModel::ckCheck},  {u"eingeklagt", TEntryModel::ckCheck},
};
const TColumn CostColumns[] = {
    {u"Bezeichnung", TEntryModel::ckText},     {u"Betrag", TEntryModel::ckAmount},
    {u"Datum", TEntryModel::ckDate},           {u"Zinsbeginn", TEntryModel::ckDate},
    {u"Zinsregel", TEntryModel::ckRule},       {u"Wert", TEntryModel::ckRate},
    {u"vor 29.07.2014", TEntryModel::ckCheck},
};
const TColumn PaymentColumns[] = {
    {u"Datum", TEntryModel::ckDate},
    {u"Betrag", TEntryModel::ckAmount},
    {u"Forderung Nr.", TEntryModel::ckNumber},
};

std::span<const TColumn> columnsOf(TEntryTable table) {
    switch (table) {
    case TEntryTable::Claims:
        return ClaimColumns;
    case TEntryTable::Costs:
        return CostColumns;
    case TEntryTable::Payments:
        break;
    }
    return PaymentColumns;
}

int ruleColumn(TEntryTable table) {
    return table == TEntryTable::Claims ? int(clRule) : int(coRule);
}

bool usesTypedRate(int kind) {
    return kind == rkFixed || kind == rkMargin;
}

QString rateText(TBasisPoints value, TLaw law) {
    return LawPercent(value, law);
}

} // namespace

std::optional<TCents> ParseTypedCents(QStringView text) {
    QString plain = text.toString();
    // The Swiss group thousands by apostrophes and write a decimal point.
    const bool swiss = plain.contains(u'\'') || plain.contains(u'’');
    plain.remove(u'\'').remove(u'’');
    if (swiss) plain.replace(u'.', u',');
    QString normal;
    if (!NormalizeNumber(plain, normal)) return std::nullopt;
    const bool negative = normal.startsWith(u'-');
    if (negative) normal.remove(0, 1);
    const qsizetype comma = normal.indexOf(u',');
    const QString whole = comma < 0 ? normal : normal.left(comma);
    QString fraction = comma < 0 ? QString() : normal.mid(comma + 1);
    if (fraction.size() > 2 || whole.isEmpty() || whole.size() > 13) return std::nullopt;
    fraction = fraction.leftJustified(2, u'0');
    bool read = false;
    const qint64 cents = whole.toLongLong(&read) * 100 + fraction.toLongLong();
    if (!read || cents > MaxAmountCents) return std::nullopt;
    return negative ? -cents : cents;
}

std::optional<TDateTime> ParseTypedDate(QStringView text) {
    const QString typed = text.trimmed().toString();
    if (const auto day = ParseDayDate(typed)) return day;
    static const QRegularExpression digits(QStringLiteral("^(\\d\\d)(\\d\\d)(\\d\\d|\\d{4})$"));
    static const QRegularExpression dotted(
        QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d\\d|\\d{4})$"));
    QRegularExpressionMatch match = digits.match(typed);
    if (!match.hasMatch()) match = dotted.match(typed);
    if (!match.hasMatch()) return std::nullopt;
    int year = match.captured(3).toInt();
    // Two digits: this century, as the date fields read them.
    if (match.captured(3).size() == 2) year += 2000;
    const QDate date(year, match.captured(2).toInt(), match.captured(1).toInt());
    if (!date.isValid()) return std::nullopt;
    return ParseIsoDate(date.toString(Qt::ISODate));
}

std::vector<TRateKind> RulesOffered(TLaw law) {
    std::vector<TRateKind> rules;
    for (const TRateKind kind :
         {rkConsumer, rkNoConsumer, rkStatutory, rkCommercial, rkFixed, rkMargin})
        if (RuleOffered(law, kind)) rules.push_back(kind);
    return rules;
}

QString RuleName(TRateKind kind, TLaw law) {
    switch (kind) {
    case rkConsumer:
        return QStringLiteral("Verbraucher beteiligt");
    case rkNoConsumer:
        return law == lwAustria ? QStringLiteral("unternehmerisches Geschäft")
                                : QStringLiteral("kein Verbraucher beteiligt");
    case rkStatutory:
        switch (law) {
        case lwGermany:
            return QStringLiteral("4 % (§ 246 BGB)");
        case lwAustria:
            return QStringLiteral("4 % (§ 1000 ABGB)");
        case lwSwitzerland:
            return QStringLiteral("5 % (Art. 104 OR)");
        }
        break;
    case rkCommercial:
        return QStringLiteral("5 % (§ 352 HGB)");
    case rkFixed:
        return QStringLiteral("fester Zinssatz");
    case rkMargin:
        return QStringLiteral("Aufschlag auf den Basiszinssatz");
    }
    return {};
}

TEntryModel::TEntryModel(TEntryTable table, QObject *parent)
    : QAbstractTableModel(parent), FTable(table) {}

TEntryModel::TKind TEntryModel::Kind(int column) const {
    return columnsOf(FTable)[size_t(column)].Kind;
}

void TEntryModel::SetLaw(TLaw law) {
    FLaw = law;
    // Amounts are written as the law's currency writes them.
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columnCount(); ++column)
            Tidy(row, column);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

TEntryModel::TRow TEntryModel::NewRow() const {
    TRow row;
    for (const TColumn &column : columnsOf(FTable))
        row.Cells.push_back(column.Kind == ckCheck  ? QVariant(false)
                            : column.Kind == ckRule ? QVariant(int(RulesOffered(FLaw).front()))
                                                    : QVariant(QString()));
    return row;
}

int TEntryModel::AddRow(int row) {
    if (row < 0 || row > rowCount()) row = rowCount();
    beginInsertRows({}, row, row);
    FRows.insert(FRows.begin() + row, NewRow());
    endInsertRows();
    return row;
}

void TEntryModel::RemoveRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows({}, row, row);
    FRows.erase(FRows.begin() + row);
    endRemoveRows();
}

void TEntryModel::Clear() {
    beginResetModel();
    FRows.clear();
    endResetModel();
}

bool TEntryModel::Applies(int row, int column) const {
    const TRow &r = FRows[size_t(row)];
    const auto kind = [&] { return TRateKind(r.Cells[size_t(ruleColumn(FTable))].toInt()); };
    if (FTable == TEntryTable::Payments) return true;
    if (FTable == TEntryTable::Costs && column > coFirstDay &&
        r.Cells[coFirstDay].toString().trimmed().isEmpty())
        return false; // a cost without interest has no rule
    if (Kind(column) == ckRate) return usesTypedRate(kind());
    if (FTable == TEntryTable::Claims && column == clFlatFee) {
        TRateRule rule{kind(), false, 0, false};
        const bool before = r.Cells[clBefore].toBool() && Applies(row, clBefore);
        (FLaw == lwAustria ? rule.ContractBefore16032013 : rule.ClaimBefore29072014) = before;
        return FlatFeeOffered(rule, FLaw);
    }
    if (FTable == TEntryTable::Claims && column == clSued) return FLaw != lwGermany;
    if (Kind(column) == ckCheck) return kind() == rkNoConsumer && FLaw != lwSwitzerland;
    return true;
}

QString TEntryModel::Shown(const TRow &row, int column) const {
    const QVariant &cell = row.Cells[size_t(column)];
    switch (Kind(column)) {
    case ckRule:
        return RuleName(TRateKind(cell.toInt()), FLaw);
    case ckCheck:
        return {};
    default:
        return cell.toString();
    }
}

// Amounts and days that read are written the one way, so that the table shows what counts.
void TEntryModel::Tidy(int row, int column) {
    QVariant &cell = FRows[size_t(row)].Cells[size_t(column)];
    const QString text = cell.toString().trimmed();
    if (Kind(column) == ckAmount) {
        if (const auto cents = ParseTypedCents(text)) cell = LawCents(*cents, FLaw);
    } else if (Kind(column) == ckDate) {
        if (const auto day = ParseTypedDate(text)) cell = FormatDayDate(*day);
    } else if (Kind(column) != ckRule && Kind(column) != ckCheck) {
        cell = text;
    }
}

int TEntryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FRows.size());
}

int TEntryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(columnsOf(FTable).size());
}

QVariant TEntryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TRow &row = FRows[size_t(index.row())];
    const int column = index.column();
    const bool applies = Applies(index.row(), column);
    switch (role) {
    case Qt::DisplayRole:
        return applies ? Shown(row, column) : QString();
    case Qt::EditRole:
        return row.Cells[size_t(column)];
    case Qt::CheckStateRole:
        if (Kind(column) != ckCheck || !applies) return {};
        return row.Cells[size_t(column)].toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (Kind(column) == ckAmount || Kind(column) == ckRate || Kind(column) == ckNumber
                 ? Qt::AlignRight
                 : Qt::AlignLeft));
    default:
        return {};
    }
}

bool TEntryModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || index.row() >= rowCount()) return false;
    TRow &row = FRows[size_t(index.row())];
    const int column = index.column();
    QVariant &cell = row.Cells[size_t(column)];
    if (role == Qt::CheckStateRole && Kind(column) == ckCheck) {
        cell = value.toInt() == Qt::Checked;
        if (column == (FTable == TEntryTable::Claims ? int(clBefore) : int(coBefore)))
            row.BeforeTouched = true;
    } else if (role == Qt::EditRole) {
        if (Kind(column) == ckRule)
            cell = value.toInt();
        else if (Kind(column) == ckCheck)
            cell = value.toBool();
        else
            cell = value.toString();
        Tidy(index.row(), column);
        // A first interest day presets the old-claim box, as in the default-interest window.
        const int first = FTable == TEntryTable::Claims ? int(clFirstDay) : int(coFirstDay);
        const int before = FTable == TEntryTable::Claims ? int(clBefore) : int(coBefore);
        if (FTable != TEntryTable::Payments && column == first && !row.BeforeTouched) {
            if (const auto day = ParseTypedDate(cell.toString()))
                row.Cells[size_t(before)] = FLaw == lwAustria ? ContractBefore16032013Preset(*day)
                                                              : ClaimBefore29072014Preset(*day);
        }
    } else {
        return false;
    }
    // The rule decides which other cells of the row take part.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

Qt::ItemFlags TEntryModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable;
    if (!Applies(index.row(), index.column())) return flags | Qt::ItemIsEnabled;
    flags |= Qt::ItemIsEnabled;
    return flags | (Kind(index.column()) == ckCheck ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

QVariant TEntryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= columnCount()) return {};
    const bool before = Kind(section) == ckCheck &&
                        section == (FTable == TEntryTable::Claims ? int(clBefore) : int(coBefore));
    if (before && FLaw == lwAustria) return QStringLiteral("Vertrag vor 16.03.2013");
    if (FTable == TEntryTable::Claims && section == clSued && FLaw == lwSwitzerland)
        return QStringLiteral("in Betreibung");
    return QString::fromUtf16(columnsOf(FTable)[size_t(section)].Header);
}

void TEntryModel::Fill(const TCaseFile &file) {
    beginResetModel();
    FRows.clear();
    FLaw = file.Case.Law;
    const auto rateCells = [&](TRow &row, int rule, int rate, int before, const TRateRule &r) {
        row.Cells[size_t(rule)] = int(r.Kind);
        if (usesTypedRate(r.Kind)) row.Cells[size_t(rate)] = rateText(r.Value, FLaw);
        row.Cells[size_t(before)] =
            FLaw == lwAustria ? r.ContractBefore16032013 : r.ClaimBefore29072014;
        row.BeforeTouched = true;
    };
    const auto unknown = [](const std::vector<QJsonObject> &list, size_t i) {
        return i < list.size() ? list[i] : QJsonObject();
    };
    switch (FTable) {
    case TEntryTable::Claims:
        for (size_t i = 0; i < file.Case.Claims.size(); ++i) {
            const TClaim &claim = file.Case.Claims[i];
            TRow row = NewRow();
            row.Cells[clName] = claim.Name;
            row.Cells[clAmount] = LawCents(claim.Amount, FLaw);
            row.Cells[clFirstDay] = FormatDayDate(claim.FirstDay);
            rateCells(row, clRule, clRate, clBefore, claim.Rule);
            row.Cells[clFlatFee] = claim.FlatFee;
            row.Cells[clSued] = claim.Sued;
            row.Unknown = unknown(file.UnknownOfClaims, i);
            FRows.push_back(row);
        }
        break;
    case TEntryTable::Costs:
        for (size_t i = 0; i < file.Case.Costs.size(); ++i) {
            const TCost &cost = file.Case.Costs[i];
            TRow row = NewRow();
            row.Cells[coName] = cost.Name;
            row.Cells[coAmount] = LawCents(cost.Amount, FLaw);
            row.Cells[coDate] = FormatDayDate(cost.Date);
            if (cost.BearsInterest) {
                row.Cells[coFirstDay] = FormatDayDate(cost.FirstDay);
                rateCells(row, coRule, coRate, coBefore, cost.Rule);
            }
            row.Unknown = unknown(file.UnknownOfCosts, i);
            FRows.push_back(row);
        }
        break;
    case TEntryTable::Payments:
        for (size_t i = 0; i < file.Case.Payments.size(); ++i) {
            const TPayment &payment = file.Case.Payments[i];
            TRow row = NewRow();
            row.Cells[paDate] = FormatDayDate(payment.Date);
            row.Cells[paAmount] = LawCents(payment.Amount, FLaw);
            row.Cells[paClaim] =
                payment.Claim >= 0 ? QString::number(payment.Claim + 1) : QString();
            row.Unknown = unknown(file.UnknownOfPayments, i);
            FRows.push_back(row);
        }
        break;
    }
    endResetModel();
}

namespace {

// Reads the cells of one table row by row; the first cell that does not read is the fault.
class TRowReader {
public:
    TRowReader(const TEntryModel &model, int row, TEntryFault &fault)
        : FModel(model), FRow(row), FFault(fault) {
        static const char16_t *const names[] = {u"Forderung %1", u"Kosten %1", u"Zahlung %1"};
        FName = QString::fromUtf16(names[int(model.Table())]).arg(row + 1);
    }

    QString Text(int column) const { return FModel.Cell(FRow, column).toString().trimmed(); }
    bool Empty(int column) const { return Text(column).isEmpty(); }

    bool Amount(int column, TCents &cents) {
        if (Empty(column))
            return Fail(column, QStringLiteral("Bitte den Betrag der %1 eingeben.").arg(FName));
        const auto read = ParseTypedCents(Text(column));
        if (!read)
            return Fail(column,
                        QStringLiteral("„%1“ ist kein Betrag (%2).").arg(Text(column), FName));
        cents = *read;
        return true;
    }
    bool Date(int column, const QString &what, TDateTime &day) {
        if (Empty(column))
            return Fail(column, QStringLiteral("Bitte %1 der %2 eingeben.").arg(what, FName));
        const auto read = ParseTypedDate(Text(column));
        if (!read)
            return Fail(column,
                        QStringLiteral("„%1“ ist kein Datum (%2).").arg(Text(column), FName));
        day = *read;
        return true;
    }
    bool Rule(int ruleColumn, int rateColumn, int beforeColumn, TRateRule &rule) {
        rule.Kind = TRateKind(FModel.Cell(FRow, ruleColumn).toInt());
        const bool before =
            FModel.Applies(FRow, beforeColumn) && FModel.Cell(FRow, beforeColumn).toBool();
        (FModel.Law() == lwAustria ? rule.ContractBefore16032013 : rule.ClaimBefore29072014) =
            before;
        if (!usesTypedRate(rule.Kind)) return true;
        if (Empty(rateColumn))
            return Fail(rateColumn,
                        QStringLiteral("Bitte den Zinssatz der %1 eingeben.").arg(FName));
        if (const TEngineError error = ReadTypedRate(Text(rateColumn), rule.Value))
            return Fail(rateColumn, ErrorText(error));
        return true;
    }
    bool Number(int column, int &claim) {
        claim = -1;
        if (Empty(column)) return true;
        bool read = false;
        const int number = Text(column).toInt(&read);
        if (!read || number < 1)
            return Fail(column, QStringLiteral("„%1“ ist keine Nummer einer Forderung (%2).")
                                    .arg(Text(column), FName));
        claim = number - 1;
        return true;
    }
    bool Checked(int column) const {
        return FModel.Applies(FRow, column) && FModel.Cell(FRow, column).toBool();
    }

private:
    bool Fail(int column, const QString &reason) {
        FFault = {FModel.Table(), FRow, column, reason};
        return false;
    }

    const TEntryModel &FModel;
    int FRow;
    TEntryFault &FFault;
    QString FName;
};

} // namespace

bool ReadEntries(const TEntryModel &claims, const TEntryModel &costs, const TEntryModel &payments,
                 TClaimsCase &input, TEntryFault &fault) {
    input.Claims.clear();
    input.Costs.clear();
    input.Payments.clear();
    for (int row = 0; row < claims.rowCount(); ++row) {
        TRowReader read(claims, row, fault);
        TClaim claim;
        claim.Name = read.Text(clName);
        if (!read.Amount(clAmount, claim.Amount) ||
            !read.Date(clFirstDay, QStringLiteral("den Zinsbeginn"), claim.FirstDay) ||
            !read.Rule(clRule, clRate, clBefore, claim.Rule))
            return false;
        claim.FlatFee = read.Checked(clFlatFee);
        claim.Sued = read.Checked(clSued);
        input.Claims.push_back(claim);
    }
    for (int row = 0; row < costs.rowCount(); ++row) {
        TRowReader read(costs, row, fault);
        TCost cost;
        cost.Name = read.Text(coName);
        if (!read.Amount(coAmount, cost.Amount) ||
            !read.Date(coDate, QStringLiteral("das Datum"), cost.Date))
            return false;
        cost.BearsInterest = !read.Empty(coFirstDay);
        if (cost.BearsInterest &&
            (!read.Date(coFirstDay, QStringLiteral("den Zinsbeginn"), cost.FirstDay) ||
             !read.Rule(coRule, coRate, coBefore, cost.Rule)))
            return false;
        input.Costs.push_back(cost);
    }
    for (int row = 0; row < payments.rowCount(); ++row) {
        TRowReader read(payments, row, fault);
        TPayment payment;
        if (!read.Date(paDate, QStringLiteral("das Datum"), payment.Date) ||
            !read.Amount(paAmount, payment.Amount) || !read.Number(paClaim, payment.Claim))
            return false;
        input.Payments.push_back(payment);
    }
    return true;
}

TEntryFault CellOfEngineError(const TClaimsStatement &statement) {
    TEntryFault fault;
    fault.Reason = ErrorText(statement.Error);
    fault.Row = statement.ErrorIndex;
    const bool rate = statement.Error.Code == ecRate;
    switch (statement.ErrorField) {
    case TCaseField::ClaimAmount:
        fault.Column = clAmount;
        break;
    case TCaseField::ClaimFirstDay:
        fault.Column = clFirstDay;
        break;
    case TCaseField::ClaimRule:
        fault.Column = rate ? clRate : clRule;
        break;
    case TCaseField::ClaimFlatFee:
        fault.Column = clFlatFee;
        break;
    case TCaseField::CostAmount:
        fault = {TEntryTable::Costs, fault.Row, coAmount, fault.Reason};
        break;
    case TCaseField::CostDate:
        fault = {TEntryTable::Costs, fault.Row, coDate, fault.Reason};
        break;
    case TCaseField::CostFirstDay:
        fault = {TEntryTable::Costs, fault.Row, coFirstDay, fault.Reason};
        break;
    case TCaseField::CostRule:
        fault = {TEntryTable::Costs, fault.Row, rate ? coRate : coRule, fault.Reason};
        break;
    case TCaseField::PaymentDate:
        fault = {TEntryTable::Payments, fault.Row, paDate, fault.Reason};
        break;
    case TCaseField::PaymentAmount:
        fault = {TEntryTable::Payments, fault.Row, paAmount, fault.Reason};
        break;
    case TCaseField::PaymentClaim:
        fault = {TEntryTable::Payments, fault.Row, paClaim, fault.Reason};
        break;
    default:
        fault.Row = -1; // a field of the head, or none
        break;
    }
    return fault;
}
