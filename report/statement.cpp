#include "report/statement.h"

#include "report/amounts.h"
#include "report/csv.h"
#include "report/ruletexts.h"

#include <algorithm>

namespace {

// A fixed rate has no base rate and no margin; a dash says so rather than a misleading 0.
const QString NoValue = QStringLiteral("–");

QString escaped(const QString &text) {
    return text.toHtmlEscaped();
}

QString htmlCell(const QString &tag, const QString &text, bool right, const QString &extra = {}) {
    return QStringLiteral("<%1 align=\"%2\"%3>%4</%1>")
        .arg(tag, right ? QStringLiteral("right") : QStringLiteral("left"), extra, escaped(text));
}

QString paragraphs(const QStringList &lines) {
    QString html;
    for (const QString &line : lines)
        if (!line.isEmpty()) html += QStringLiteral("<p>%1</p>").arg(escaped(line));
    return html;
}

QStringList header(const TDefaultInterest &result) {
    QStringList cells = StatementHeader();
    if (HasUserRate(result)) cells.append(QString());
    return cells;
}

// Where the user's rate is marked, the mark stands in a cell of its own at the row's end.
QStringList rowCells(const TDefaultInterest &result, const TInterestRow &row) {
    QStringList cells;
    for (int column = 0; column < StatementColumns; ++column)
        cells << PeriodCell(row, column);
    if (!HasUserRate(result)) return cells;
    if (row.UserBaseRate) cells[colBaseRate].chop(QStringView(UserRateMark).size());
    cells.append(row.UserBaseRate ? QStringView(UserRateMark).trimmed().toString() : QString());
    return cells;
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

QString PeriodCell(const TInterestRow &row, int column) {
    switch (column) {
    case colFrom:
        return FormatDayDate(row.From);
    case colTo:
        return FormatDayDate(row.To);
    case colDays:
        return CountText(row.Days);
    case colBaseRate:
        if (!row.HasBaseRate) return NoValue;
        return PercentText(row.BaseRate) +
               (row.UserBaseRate ? QString::fromUtf16(UserRateMark) : QString());
    case colMargin:
        return row.HasBaseRate ? PercentText(row.Margin) : NoValue;
    case colRate:
        return PercentText(row.Rate);
    case colInterest:
        return GermanCents(row.Interest);
    }
    return QString();
}

bool HasUserRate(const TDefaultInterest &result) {
    return std::any_of(result.Rows.begin(), result.Rows.end(),
                       [](const TInterestRow &row) { return row.UserBaseRate; });
}

QString UserRateNote(const TDefaultInterest &result) {
    return HasUserRate(result) ? QStringLiteral("* vom Benutzer eingetragener Basiszinssatz")
                               : QString();
}

QList<TTextLine> InputLines(const TDefaultInterestInput &input, const TDefaultInterest &result) {
    QList<TTextLine> lines{
        {QStringLiteral("Forderung"), MoneyText(result.Claim, input.Law)},
        {QStringLiteral("Zinszeitraum"), FormatDayDate(WholeDay(input.FirstDay)) +
                                             QStringLiteral(" – ") +
                                             FormatDayDate(LastInterestDay(input))},
        {QStringLiteral("Zinssatz"), RateRuleText(input.Rule, input.Law)},
        {QStringLiteral("Tageszählung"), DayCountText(result.DayCount)},
    };
    // German law is the default and goes unnamed, as in the case files.
    if (input.Law != lwGermany) lines.prepend({QStringLiteral("Recht"), LawName(input.Law)});
    return lines;
}

QString SumLabel(TSumKind kind, TLaw law) {
    switch (kind) {
    case TSumKind::Claim:
        return QStringLiteral("Forderung");
    case TSumKind::Interest:
        return QStringLiteral("Zinsen");
    case TSumKind::FlatFee:
        return law == lwAustria ? QStringLiteral("Pauschale nach § 458 UGB")
                                : QStringLiteral("Pauschale nach § 288 Abs. 5 BGB");
    case TSumKind::Total:
        return QStringLiteral("Gesamt");
    case TSumKind::PerDay:
        return QStringLiteral("Zinsen je weiteren Tag");
    }
    return QString();
}

QList<TTextLine> SumLines(const TDefaultInterest &result) {
    QList<TTextLine> lines;
    for (const TSum &sum : Sums(result))
        lines.append({SumLabel(sum.Kind, result.Law), MoneyText(sum.Amount, result.Law)});
    return lines;
}

QList<QStringList> StatementGrid(const TDefaultInterestStatement &statement) {
    const TDefaultInterest &result = statement.Result;
    QList<QStringList> grid;
    for (const TTextLine &input : InputLines(statement.Input, result))
        grid.append({input.Label, input.Value});
    grid.append(QStringList());
    grid.append(header(result));
    for (const TInterestRow &row : result.Rows)
        grid.append(rowCells(result, row));
    grid.append(QStringList());
    for (const TTextLine &sum : SumLines(result)) {
        QStringList line(StatementColumns);
        line.first() = sum.Label;
        line.last() = sum.Value;
        grid.append(line);
    }
    grid.append(QStringList());
    grid.append({RulesText(statement.Input)});
    if (HasUserRate(result)) grid.append({UserRateNote(result)});
    return grid;
}

QString StatementText(const TDefaultInterestStatement &statement) {
    return TabText(StatementGrid(statement));
}

QString StatementHtml(const TDefaultInterestStatement &statement) {
    const TDefaultInterest &result = statement.Result;
    QString inputs;
    for (const TTextLine &line : InputLines(statement.Input, result))
        inputs += QStringLiteral("<tr><td style=\"padding: 1px 12px 1px 0\">%1:</td>"
                                 "<td style=\"padding: 1px 0\">%2</td></tr>")
                      .arg(escaped(line.Label), escaped(line.Value));
    QString html =
        QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">%1</table><br>").arg(inputs);
    html += QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
        "style=\"border-collapse: collapse; border-style: solid; border-color: #888\"><tr>");
    const QStringList head = header(result);
    for (int column = 0; column < head.size(); ++column)
        html += htmlCell(QStringLiteral("th"), head[column], IsNumberColumn(column));
    html += QStringLiteral("</tr>");
    for (const TInterestRow &row : result.Rows) {
        html += QStringLiteral("<tr>");
        const QStringList cells = rowCells(result, row);
        for (int column = 0; column < cells.size(); ++column)
            html += htmlCell(QStringLiteral("td"), cells[column], IsNumberColumn(column));
        html += QStringLiteral("</tr>");
    }
    const QString span = QStringLiteral(" colspan=\"%1\"").arg(colInterest);
    const QString rest = head.size() > StatementColumns ? QStringLiteral("<td></td>") : QString();
    for (const TTextLine &sum : SumLines(result))
        html += QStringLiteral("<tr>%1%2%3</tr>")
                    .arg(htmlCell(QStringLiteral("td"), sum.Label, false, span),
                         htmlCell(QStringLiteral("td"), sum.Value, true), rest);
    return html + QStringLiteral("</table>") +
           paragraphs({RulesText(statement.Input), UserRateNote(result)});
}

QByteArray StatementCsv(const TDefaultInterestStatement &statement) {
    return CsvFile(StatementGrid(statement));
}

QString StatementPageHtml(const TDefaultInterestStatement &statement, TDateTime madeOn) {
    return QStringLiteral("<h2>Zinsaufstellung</h2>") + StatementHtml(statement) +
           paragraphs({ReachText(statement.Reach, statement.Input.Law),
                       QStringLiteral("Erstellt am %1 mit Tarvo").arg(FormatDayDate(madeOn))});
}
