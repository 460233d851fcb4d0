#include "engine/statement.h"

#include "engine/fixedtext.h"

namespace {

// A fixed rate has no base rate and no margin; a dash says so rather than a misleading 0.
const QString NoValue = QStringLiteral("–");

QString Percent(TBasisPoints value) {
    return FormatBasisPoints(value) + QStringLiteral(" %");
}

QString Euro(TCents value) {
    return FormatCents(value) + QStringLiteral(" €");
}

QStringList RowCells(const TInterestRow &row) {
    return {FormatDayDate(row.From),
            FormatDayDate(row.To),
            FormatCount(row.Days),
            row.HasBaseRate
                ? Percent(row.BaseRate) + (row.UserBaseRate ? UserRateMark() : QString())
                : NoValue,
            row.HasBaseRate ? Percent(row.Margin) : NoValue,
            Percent(row.Rate),
            FormatCents(row.Interest)};
}

QList<TStatementLine> Sums(const TDefaultInterest &result) {
    QList<TStatementLine> sums{{QStringLiteral("Forderung"), Euro(result.Claim)},
                               {QStringLiteral("Zinsen"), Euro(result.Interest)}};
    if (result.FlatFee)
        sums.append({QStringLiteral("Pauschale nach § 288 Abs. 5 BGB"), Euro(result.FlatFee)});
    sums.append({QStringLiteral("Gesamt"), Euro(result.Total)});
    sums.append({QStringLiteral("Zinsen je weiteren Tag"), Euro(result.PerDay)});
    return sums;
}

} // namespace

const QStringList &StatementHeader() {
    static const QStringList header{QStringLiteral("Von"),       QStringLiteral("Bis"),
                                    QStringLiteral("Tage"),      QStringLiteral("Basiszinssatz"),
                                    QStringLiteral("Aufschlag"), QStringLiteral("Zinssatz"),
                                    QStringLiteral("Zinsen")};
    return header;
}

bool IsNumberColumn(int column) {
    return column >= colDays;
}

QString FormatCount(qint64 value) {
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u'.');
    return value < 0 ? u'-' + digits : digits;
}

const QString &UserRateMark() {
    static const QString mark = QStringLiteral(" *");
    return mark;
}

TStatement MakeStatement(const TDefaultInterestInput &input, const TDefaultInterest &result,
                         const TBaseRateTable &table) {
    TStatement statement;
    statement.Inputs = {
        {QStringLiteral("Forderung"), Euro(result.Claim)},
        {QStringLiteral("Zinszeitraum"), FormatDayDate(WholeDay(input.FirstDay)) +
                                             QStringLiteral(" – ") +
                                             FormatDayDate(LastInterestDay(input))},
        {QStringLiteral("Zinssatz"), RateRuleText(input.Rule)},
        {QStringLiteral("Tageszählung"), DayCountText(result.DayCount)},
    };
    bool userRate = false;
    for (const TInterestRow &row : result.Rows) {
        statement.Rows.append(RowCells(row));
        userRate = userRate || row.UserBaseRate;
    }
    statement.Sums = Sums(result);
    const QString counted =
        input.LastDayCounts
            ? QStringLiteral("erster und letzter Zinstag zählen mit")
            : QStringLiteral("der erste Zinstag zählt mit, der Zahlungstag (%1) nicht")
                  .arg(FormatDayDate(WholeDay(input.LastDay)));
    statement.Rules = QStringLiteral("Tageszählung %1 · %2 · jede Zeile auf den Cent gerundet")
                          .arg(DayCountText(result.DayCount), counted);
    if (userRate)
        statement.UserRateNote = QStringLiteral("* vom Benutzer eingetragener Basiszinssatz");
    statement.Reach = BaseRateReachText(table);
    return statement;
}
