#include "report/claims.h"

#include "report/amounts.h"
#include "report/csv.h"
#include "report/json.h"
#include "report/ruletexts.h"
#include "report/statement.h"

#include <algorithm>

namespace {

QString escaped(const QString &text) {
    return text.toHtmlEscaped();
}

const TClaimsCase &caseOf(const TClaimsReport &report) {
    return report.File.Case;
}

// "9", "2,5", "4,25": a rate as a sentence writes it.
QString shortRate(TBasisPoints value) {
    QString text = GermanRate(value);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u',')) text.chop(1);
    return text;
}

// The interest a claim bears from the day after the statement day on, in the words of the
// law's applications: "nebst Zinsen in Höhe von 9 Prozentpunkten über dem jeweiligen
// Basiszinssatz", "samt 9,2 % Zinsen über dem Basiszinssatz", "nebst Zins zu 5 %".
QString interestPhrase(const TRateRule &rule, TLaw law) {
    const TBasisPoints margin = MarginOf(rule, law);
    const TBasisPoints fixed = FixedRateOf(rule, law);
    switch (law) {
    case lwAustria:
        return UsesBaseRate(rule) ? QStringLiteral("samt %1 % Zinsen über dem Basiszinssatz")
                                        .arg(shortRate(margin))
                                  : QStringLiteral("samt %1 % Zinsen").arg(shortRate(fixed));
    case lwSwitzerland:
        return QStringLiteral("nebst Zins zu %1 %").arg(shortRate(fixed));
    case lwGermany:
        break;
    }
    return UsesBaseRate(rule)
               ? QStringLiteral("nebst Zinsen in Höhe von %1 Prozentpunkten über dem jeweiligen "
                                "Basiszinssatz")
                     .arg(shortRate(margin))
               : QStringLiteral("nebst Zinsen in Höhe von %1 %").arg(shortRate(fixed));
}

QString allocationRule(TAllocationRule rule) {
    switch (rule) {
    case arBgb367:
        return QStringLiteral(
            "Verrechnung nach § 367 Abs. 1 BGB: zuerst die Kosten, dann die Zinsen, zuletzt die "
            "Hauptforderung; unter mehreren Forderungen nach § 366 Abs. 2 BGB die fällige, dann "
            "die lästigere (mit dem höheren Zinssatz am Zahlungstag), dann die ältere, sonst "
            "anteilig.");
    case arBgb497:
        return QStringLiteral(
            "Verrechnung nach § 497 Abs. 3 BGB: zuerst die Kosten, dann die Hauptforderung, "
            "zuletzt die Zinsen; unter mehreren Forderungen nach § 366 Abs. 2 BGB die fällige, "
            "dann die lästigere (mit dem höheren Zinssatz am Zahlungstag), dann die ältere, "
            "sonst anteilig.");
    case arAbgb1416:
        return QStringLiteral(
            "Verrechnung nach §§ 1415, 1416 ABGB: je Kapital zuerst seine Zinsen, dann das "
            "Kapital; zuerst die eingeklagten oder titulierten Forderungen, dann die fälligen, "
            "die lästigeren, die älteren. Die Kosten gehen vor, wie nach § 367 BGB, da das ABGB "
            "ihren Rang nicht regelt.");
    case arOr85:
        return QStringLiteral(
            "Verrechnung nach Art. 85 bis 87 OR: zuerst die Kosten, dann der Zins, zuletzt das "
            "Kapital; zuerst die in Betreibung gesetzte Schuld, dann die fällige, die früher "
            "fällige, sonst anteilig.");
    }
    return QString();
}

QStringList headLabels() {
    return {QStringLiteral("Bezeichnung"), QStringLiteral("Aktenzeichen"),
            QStringLiteral("Gläubiger"), QStringLiteral("Schuldner"), QStringLiteral("Stichtag")};
}

QString htmlTable(const QList<QStringList> &rows, bool header) {
    QString html = QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
        "style=\"border-collapse: collapse; border-style: solid; border-color: #888\">");
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const bool head = header && r == 0;
        if (head) html += QStringLiteral("<thead>");
        html += QStringLiteral("<tr>");
        for (int column = 0; column < rows[r].size(); ++column)
            html += QStringLiteral("<%1 align=\"%2\">%3</%1>")
                        .arg(head ? QStringLiteral("th") : QStringLiteral("td"),
                             IsClaimsNumberColumn(column) ? QStringLiteral("right")
                                                          : QStringLiteral("left"),
                             escaped(rows[r][column]));
        html += QStringLiteral("</tr>");
        if (head) html += QStringLiteral("</thead>");
    }
    return html + QStringLiteral("</table>");
}

QString linesHtml(const QList<TClaimsLine> &lines) {
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    for (const TClaimsLine &line : lines) {
        const QString open = line.Total ? QStringLiteral("<b>") : QString();
        const QString close = line.Total ? QStringLiteral("</b>") : QString();
        html += QStringLiteral("<tr><td style=\"padding-right: 16px\">%1%2:%3</td>"
                               "<td align=\"right\">%1%4%3</td></tr>")
                    .arg(open, escaped(line.Label), close, escaped(line.Value));
    }
    return html + QStringLiteral("</table>");
}

QString paragraphs(const QStringList &lines) {
    QString html;
    for (const QString &line : lines)
        if (!line.isEmpty()) html += QStringLiteral("<p>%1</p>").arg(escaped(line));
    return html;
}

QList<QStringList> tableRows(const TClaimsReport &report) {
    QList<QStringList> rows{ClaimsHeader()};
    for (const TBooking &booking : report.Statement.Bookings) {
        QStringList cells;
        for (int column = 0; column < ClaimsColumns; ++column)
            cells << BookingCell(report, booking, column);
        rows << cells;
    }
    return rows;
}

} // namespace

const QStringList &ClaimsHeader() {
    static const QStringList header{
        QStringLiteral("Datum"),  QStringLiteral("Vorgang"),     QStringLiteral("Von"),
        QStringLiteral("Bis"),    QStringLiteral("Tage"),        QStringLiteral("Zinssatz"),
        QStringLiteral("Betrag"), QStringLiteral("Verrechnung"), QStringLiteral("Hauptforderung"),
        QStringLiteral("Zinsen"), QStringLiteral("Kosten")};
    return header;
}

bool IsClaimsNumberColumn(int column) {
    return column >= ccDays && column != ccAllocation;
}

QString ItemName(const TClaimsCase &input, TItemRef item) {
    switch (item.Kind) {
    case TItemKind::Claim: {
        const QString &name = input.Claims[size_t(item.Index)].Name;
        return name.isEmpty() ? QStringLiteral("Forderung %1").arg(item.Index + 1) : name;
    }
    case TItemKind::Cost: {
        const QString &name = input.Costs[size_t(item.Index)].Name;
        return name.isEmpty() ? QStringLiteral("Kosten %1").arg(item.Index + 1) : name;
    }
    case TItemKind::FlatFee:
        return QStringLiteral("Pauschale zu %1")
            .arg(ItemName(input, {TItemKind::Claim, item.Index}));
    }
    return QString();
}

QString AllocationText(const TClaimsCase &input, const TBooking &payment) {
    // The shares grouped as the column names them, in the order they were booked.
    std::vector<std::pair<QString, TCents>> shares;
    const auto add = [&](const QString &label, TCents amount) {
        const auto same = std::find_if(shares.begin(), shares.end(),
                                       [&](const auto &share) { return share.first == label; });
        if (same != shares.end())
            same->second += amount;
        else
            shares.push_back({label, amount});
    };
    for (const TAllocation &share : payment.Allocations) {
        const bool claim = share.Item.Kind == TItemKind::Claim;
        if (share.Interest)
            add(claim ? QStringLiteral("auf Zinsen") : QStringLiteral("auf Kostenzinsen"),
                share.Amount);
        else if (claim)
            add(QStringLiteral("auf ") + ItemName(input, share.Item), share.Amount);
        else
            add(QStringLiteral("auf Kosten"), share.Amount);
    }
    QStringList parts;
    for (const auto &[label, amount] : shares)
        parts << label + u' ' + LawCents(amount, input.Law);
    if (payment.Overpaid > 0)
        parts << QStringLiteral("Überzahlung ") + LawCents(payment.Overpaid, input.Law);
    return parts.join(QStringLiteral(" · "));
}

QString BookingCell(const TClaimsReport &report, const TBooking &booking, int column) {
    const TClaimsCase &input = caseOf(report);
    const TLaw law = input.Law;
    const bool interest = booking.Kind == TBookingKind::Interest;
    const bool payment = booking.Kind == TBookingKind::Payment;
    switch (column) {
    case ccDate:
        return FormatDayDate(booking.Date);
    case ccEvent:
        switch (booking.Kind) {
        case TBookingKind::Item:
            if (booking.Item.Kind == TItemKind::FlatFee) return ItemName(input, booking.Item);
            return (booking.Item.Kind == TItemKind::Claim ? QStringLiteral("Forderung: ")
                                                          : QStringLiteral("Kosten: ")) +
                   ItemName(input, booking.Item);
        case TBookingKind::Interest:
            return QStringLiteral("Zinsen auf %1 aus %2")
                .arg(ItemName(input, booking.Item), LawCents(booking.Amount, law));
        case TBookingKind::Payment: {
            const int named = input.Payments[size_t(booking.Payment)].Claim;
            return named < 0 ? QStringLiteral("Zahlung")
                             : QStringLiteral("Zahlung, bestimmt für %1")
                                   .arg(ItemName(input, {TItemKind::Claim, named}));
        }
        }
        return QString();
    case ccFrom:
        return interest ? FormatDayDate(booking.Period.From) : QString();
    case ccTo:
        return interest ? FormatDayDate(booking.Period.To) : QString();
    case ccDays:
        return interest ? CountText(booking.Period.Days) : QString();
    case ccRate:
        if (!interest) return QString();
        return LawPercent(booking.Period.Rate, law) +
               (booking.Period.UserBaseRate ? QString::fromUtf16(UserRateMark) : QString());
    case ccAmount:
        return LawCents(interest ? booking.Period.Interest : booking.Amount, law);
    case ccAllocation:
        return payment ? AllocationText(input, booking) : QString();
    case ccPrincipal:
        return payment ? LawCents(booking.After.Principal, law) : QString();
    case ccInterest:
        return payment ? LawCents(booking.After.Interest + booking.After.CostInterest, law)
                       : QString();
    case ccCosts:
        return payment ? LawCents(booking.After.Costs, law) : QString();
    }
    return QString();
}

QList<TClaimsLine> ClaimsHeadLines(const TClaimsReport &report) {
    const TCaseFile &file = report.File;
    const QStringList values{file.Name, file.Reference, file.Creditor, file.Debtor,
                             FormatDayDate(file.Case.StatementDay)};
    QList<TClaimsLine> lines;
    for (qsizetype i = 0; i < values.size(); ++i)
        if (!values[i].isEmpty()) lines.append({headLabels()[i], values[i]});
    return lines;
}

QList<TClaimsLine> ClaimsSumLines(const TClaimsReport &report) {
    const TClaimsCase &input = caseOf(report);
    const TClaimsStatement &s = report.Statement;
    const TLaw law = input.Law;
    QList<TClaimsLine> lines;
    if (s.Claims.size() > 1)
        for (size_t i = 0; i < s.Claims.size(); ++i)
            lines.append({ItemName(input, {TItemKind::Claim, int(i)}),
                          QStringLiteral("%1 und %2 Zinsen")
                              .arg(MoneyText(s.Claims[i].Principal, law),
                                   MoneyText(s.Claims[i].Interest, law))});
    lines.append({QStringLiteral("Hauptforderung offen"), MoneyText(s.Open.Principal, law)});
    lines.append({QStringLiteral("Zinsen offen"), MoneyText(s.Open.Interest, law)});
    lines.append({QStringLiteral("Kosten offen"), MoneyText(s.Open.Costs, law)});
    if (std::any_of(input.Costs.begin(), input.Costs.end(),
                    [](const TCost &cost) { return cost.BearsInterest; }))
        lines.append(
            {QStringLiteral("Zinsen auf Kosten offen"), MoneyText(s.Open.CostInterest, law)});
    lines.append({QStringLiteral("Gesamt"), MoneyText(s.Open.Total(), law), true});
    lines.append({QStringLiteral("Zinsen je weiteren Tag"), MoneyText(s.PerDay, law)});
    if (s.Overpaid > 0) lines.append({QStringLiteral("Überzahlung"), MoneyText(s.Overpaid, law)});
    return lines;
}

QStringList ClaimsRulesLines(const TClaimsReport &report) {
    const TClaimsStatement &s = report.Statement;
    const bool userRate =
        std::any_of(s.Bookings.begin(), s.Bookings.end(), [](const TBooking &booking) {
            return booking.Kind == TBookingKind::Interest && booking.Period.UserBaseRate;
        });
    QStringList lines{
        allocationRule(s.Allocation),
        QStringLiteral("Eine Zahlung, die der Schuldner einer Forderung bestimmt hat, tilgt "
                       "zuerst deren Zinsen, dann die Forderung; was bleibt, wird wie oben "
                       "verrechnet. Eine Pauschale zählt ab dem Zinsbeginn ihrer Forderung zu "
                       "den Kosten, Kosten ab ihrem Datum, die älteren zuerst. Eine Überzahlung "
                       "wird ausgewiesen, nicht mit später entstehenden Kosten verrechnet."),
        QStringLiteral("Tageszählung %1 · erster und letzter Zinstag zählen mit · der "
                       "Zahlungstag trägt noch Zinsen aus dem alten Betrag · jeder Zinszeitraum "
                       "auf den Cent gerundet · keine Zinsen auf Zinsen")
            .arg(DayCountText(s.DayCount)),
        ReachText(report.Reach)};
    if (userRate) lines << QStringLiteral("* vom Benutzer eingetragener Basiszinssatz");
    return lines;
}

QString ApplicationText(const TClaimsReport &report) {
    const TClaimsCase &input = caseOf(report);
    const TClaimsStatement &s = report.Statement;
    const TLaw law = input.Law;
    const QString since = FormatDayDate(input.StatementDay + 1);
    // Claims whose interest reads alike are named together, their interest running on the sum.
    std::vector<std::pair<QString, std::vector<TCents>>> groups;
    for (size_t i = 0; i < s.Claims.size(); ++i) {
        if (s.Claims[i].Principal <= 0) continue;
        const QString phrase = interestPhrase(input.Claims[i].Rule, law);
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto &g) { return g.first == phrase; });
        if (group == groups.end()) group = groups.insert(groups.end(), {phrase, {}});
        group->second.push_back(s.Claims[i].Principal);
    }
    const QString fromDay =
        law == lwGermany ? QStringLiteral("seit dem %1") : QStringLiteral("seit %1");
    QStringList lines;
    for (const auto &[phrase, amounts] : groups) {
        QStringList named;
        TCents sum = 0;
        for (TCents amount : amounts) {
            named << MoneyText(amount, law);
            sum += amount;
        }
        QString line = named.join(QStringLiteral(" und ")) + u' ' + phrase;
        if (amounts.size() > 1) line += QStringLiteral(" aus ") + MoneyText(sum, law);
        lines << line + u' ' + fromDay.arg(since);
    }
    const TCents interest = s.Open.Interest + s.Open.CostInterest;
    if (interest > 0)
        lines << QStringLiteral("ausgerechnete Zinsen bis zum %1: %2")
                     .arg(FormatDayDate(input.StatementDay), MoneyText(interest, law));
    if (s.Open.Costs > 0) {
        QString costs = QStringLiteral("Kosten: ") + MoneyText(s.Open.Costs, law);
        for (size_t i = 0; i < input.Costs.size(); ++i)
            if (input.Costs[i].BearsInterest && s.Costs[i].Principal > 0)
                costs += u' ' + interestPhrase(input.Costs[i].Rule, law) + QStringLiteral(" aus ") +
                         MoneyText(s.Costs[i].Principal, law) + u' ' + fromDay.arg(since);
        lines << costs;
    }
    return lines.join(u'\n');
}

QList<QStringList> ClaimsGrid(const TClaimsReport &report) {
    QList<QStringList> grid;
    for (const TClaimsLine &line : ClaimsHeadLines(report))
        grid.append({line.Label, line.Value});
    grid.append(QStringList());
    grid += tableRows(report);
    grid.append(QStringList());
    for (const TClaimsLine &line : ClaimsSumLines(report))
        grid.append({line.Label, line.Value});
    grid.append(QStringList());
    for (const QString &line : ClaimsRulesLines(report))
        grid.append({line});
    grid.append(QStringList());
    grid.append({QStringLiteral("Antragstext")});
    for (const QString &line : ApplicationText(report).split(u'\n'))
        grid.append({line});
    return grid;
}

QString ClaimsText(const TClaimsReport &report) {
    return TabText(ClaimsGrid(report));
}

QString ClaimsHtml(const TClaimsReport &report) {
    QString html = linesHtml(ClaimsHeadLines(report)) + QStringLiteral("<br>") +
                   htmlTable(tableRows(report), true) + QStringLiteral("<br>") +
                   linesHtml(ClaimsSumLines(report)) + paragraphs(ClaimsRulesLines(report));
    html += QStringLiteral("<h3>Antragstext</h3><p>%1</p>")
                .arg(escaped(ApplicationText(report)).replace(u'\n', QStringLiteral("<br>")));
    return html;
}

QByteArray ClaimsCsv(const TClaimsReport &report) {
    return CsvFile(ClaimsGrid(report));
}

QString ClaimsPageHtml(const TClaimsReport &report, TDateTime madeOn) {
    return QStringLiteral("<h2>Forderungsaufstellung</h2>") + ClaimsHtml(report) +
           paragraphs({QStringLiteral("Erstellt am %1 mit Tarvo").arg(FormatDayDate(madeOn))});
}

QString ClaimsAlignedText(const TClaimsReport &report) {
    const auto lines = [](const QList<TClaimsLine> &list) {
        qsizetype width = 0;
        for (const TClaimsLine &line : list)
            width = std::max(width, line.Label.size() + 1);
        QString text;
        for (const TClaimsLine &line : list)
            text += (line.Label + u':').leftJustified(width + 2) + line.Value + u'\n';
        return text;
    };
    const QList<QStringList> rows = tableRows(report);
    QList<qsizetype> widths(ClaimsColumns, 0);
    for (const QStringList &row : rows)
        for (int column = 0; column < ClaimsColumns; ++column)
            widths[column] = std::max(widths[column], row[column].size());
    QString table;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (int column = 0; column < ClaimsColumns; ++column)
            cells << (IsClaimsNumberColumn(column) ? row[column].rightJustified(widths[column])
                                                   : row[column].leftJustified(widths[column]));
        table += cells.join(QStringLiteral("  ")).trimmed() + u'\n';
    }
    return lines(ClaimsHeadLines(report)) + u'\n' + table + u'\n' + lines(ClaimsSumLines(report)) +
           u'\n' + ClaimsRulesLines(report).join(u'\n') + QStringLiteral("\n\nAntragstext:\n") +
           ApplicationText(report) + u'\n';
}

namespace {

void appendJsonText(QString &out, const char *key, const QString &text, bool first = false) {
    AppendJsonKey(out, QLatin1StringView(key), first);
    AppendJsonString(out, text);
}

void appendJsonCents(QString &out, const char *key, TCents value, bool first = false) {
    AppendJsonKey(out, QLatin1StringView(key), first);
    AppendJsonCents(out, value);
}

void appendJsonDate(QString &out, const char *key, TDateTime day) {
    appendJsonText(out, key, FormatIsoDate(day));
}

QString shareKind(const TAllocation &share) {
    if (share.Item.Kind == TItemKind::Claim)
        return share.Interest ? QStringLiteral("zinsen") : QStringLiteral("hauptforderung");
    return share.Interest ? QStringLiteral("kostenzinsen") : QStringLiteral("kosten");
}

QString bookingKind(const TBooking &booking) {
    switch (booking.Kind) {
    case TBookingKind::Item:
        return booking.Item.Kind == TItemKind::Claim  ? QStringLiteral("forderung")
               : booking.Item.Kind == TItemKind::Cost ? QStringLiteral("kosten")
                                                      : QStringLiteral("pauschale");
    case TBookingKind::Interest:
        return QStringLiteral("zinsen");
    case TBookingKind::Payment:
        return QStringLiteral("zahlung");
    }
    return QString();
}

} // namespace

QString ClaimsJson(const TClaimsReport &report) {
    const TClaimsCase &input = caseOf(report);
    const TClaimsStatement &s = report.Statement;
    QString out = QStringLiteral("{");
    appendJsonText(out, "bezeichnung", report.File.Name, true);
    appendJsonDate(out, "stichtag", input.StatementDay);
    appendJsonCents(out, "hauptforderung_offen", s.Open.Principal);
    appendJsonCents(out, "zinsen_offen", s.Open.Interest);
    appendJsonCents(out, "kosten_offen", s.Open.Costs);
    appendJsonCents(out, "kostenzinsen_offen", s.Open.CostInterest);
    appendJsonCents(out, "gesamt", s.Open.Total());
    appendJsonCents(out, "je_tag", s.PerDay);
    appendJsonCents(out, "ueberzahlung", s.Overpaid);
    AppendJsonKey(out, QLatin1StringView("forderungen"));
    out += u'[';
    for (size_t i = 0; i < s.Claims.size(); ++i) {
        out += i == 0 ? QStringLiteral("{") : QStringLiteral(", {");
        appendJsonText(out, "bezeichnung", ItemName(input, {TItemKind::Claim, int(i)}), true);
        appendJsonCents(out, "offen", s.Claims[i].Principal);
        appendJsonCents(out, "zinsen_offen", s.Claims[i].Interest);
        out += u'}';
    }
    out += u']';
    AppendJsonKey(out, QLatin1StringView("buchungen"));
    out += u'[';
    for (const TBooking &booking : s.Bookings) {
        out += &booking == &s.Bookings.front() ? QStringLiteral("{") : QStringLiteral(", {");
        appendJsonText(out, "art", bookingKind(booking), true);
        appendJsonDate(out, "datum", booking.Date);
        switch (booking.Kind) {
        case TBookingKind::Item:
            appendJsonText(out, "posten", ItemName(input, booking.Item));
            appendJsonCents(out, "betrag", booking.Amount);
            break;
        case TBookingKind::Interest:
            appendJsonText(out, "posten", ItemName(input, booking.Item));
            appendJsonCents(out, "aus", booking.Amount);
            appendJsonDate(out, "von", booking.Period.From);
            appendJsonDate(out, "bis", booking.Period.To);
            AppendJsonKey(out, QLatin1StringView("tage"));
            out += QString::number(booking.Period.Days);
            AppendJsonKey(out, QLatin1StringView("zinssatz"));
            AppendJsonRate(out, booking.Period.Rate);
            appendJsonCents(out, "betrag", booking.Period.Interest);
            break;
        case TBookingKind::Payment:
            appendJsonCents(out, "betrag", booking.Amount);
            AppendJsonKey(out, QLatin1StringView("verrechnung"));
            out += u'[';
            for (const TAllocation &share : booking.Allocations) {
                out += &share == &booking.Allocations.front() ? QStringLiteral("{")
                                                              : QStringLiteral(", {");
                appendJsonText(out, "auf", ItemName(input, share.Item), true);
                appendJsonText(out, "art", shareKind(share));
                appendJsonCents(out, "betrag", share.Amount);
                out += u'}';
            }
            out += u']';
            appendJsonCents(out, "ueberzahlung", booking.Overpaid);
            appendJsonCents(out, "hauptforderung", booking.After.Principal);
            appendJsonCents(out, "zinsen", booking.After.Interest);
            appendJsonCents(out, "kosten", booking.After.Costs);
            appendJsonCents(out, "kostenzinsen", booking.After.CostInterest);
            break;
        }
        out += u'}';
    }
    out += u']';
    appendJsonText(out, "antrag", ApplicationText(report));
    return out + QStringLiteral("}\n");
}
