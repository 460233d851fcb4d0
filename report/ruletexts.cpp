#include "report/ruletexts.h"

#include "report/amounts.h"

#include <QDir>

QString RateRuleText(const TRateRule &rule, TLaw law) {
    const QString points = QStringLiteral("Basiszinssatz + %1 Prozentpunkte");
    if (law == lwAustria) {
        switch (rule.Kind) {
        case rkNoConsumer:
            return rule.ContractBefore16032013
                       ? points.arg(8) + QStringLiteral(" (§ 352 UGB a. F., Vertrag vor dem "
                                                        "16.03.2013 geschlossen)")
                       : points.arg(QStringLiteral("9,2")) + QStringLiteral(" (§ 456 UGB)");
        case rkStatutory:
            return QStringLiteral("4,00 % (§ 1000 Abs. 1 ABGB)");
        default:
            break;
        }
    } else if (law == lwSwitzerland && rule.Kind == rkStatutory) {
        return QStringLiteral("5,00 % (Art. 104 Abs. 1 OR)");
    }
    switch (rule.Kind) {
    case rkConsumer:
        return points.arg(5) + QStringLiteral(" (§ 288 Abs. 1 BGB)");
    case rkNoConsumer:
        return rule.ClaimBefore29072014
                   ? points.arg(8) + QStringLiteral(" (§ 288 Abs. 2 BGB a. F., Forderung vor dem "
                                                    "29.07.2014 entstanden)")
                   : points.arg(9) + QStringLiteral(" (§ 288 Abs. 2 BGB)");
    case rkStatutory:
        return QStringLiteral("4,00 % (§ 246 BGB)");
    case rkCommercial:
        return QStringLiteral("5,00 % (§ 352 HGB)");
    case rkFixed:
        return QStringLiteral("fester Zinssatz %1").arg(PercentText(rule.Value));
    case rkMargin:
        return points.arg(GermanRate(rule.Value));
    }
    return QString();
}

QString DayCountText(TDayCount count) {
    switch (count) {
    case dcActual365:
        return QStringLiteral("taggenau: tatsächliche Tage / 365");
    case dcActualActual:
        return QStringLiteral("tatsächliche Tage / 365, in Schaltjahren / 366");
    case dcActual360:
        return QStringLiteral("tatsächliche Tage / 360");
    case dc30360:
        return QStringLiteral("30/360 (deutsche Zinsmethode): jeder Monat 30 Tage, das Jahr "
                              "360 Tage");
    case dc30360Swiss:
        return QStringLiteral("30/360 (Schweizer Usanz): jeder Monat 30 Tage, ein Ende im "
                              "Februar mit dessen Tagen, das Jahr 360 Tage");
    }
    return QString();
}

QString RulesText(const TDefaultInterestInput &input) {
    const QString counted =
        input.LastDayCounts
            ? QStringLiteral("erster und letzter Zinstag zählen mit")
            : QStringLiteral("der erste Zinstag zählt mit, der Zahlungstag (%1) nicht")
                  .arg(FormatDayDate(WholeDay(input.LastDay)));
    return QStringLiteral("Tageszählung %1 · %2 · jede Zeile auf den Cent gerundet")
        .arg(DayCountText(input.DayCount), counted);
}

QString ReachText(TDateTime reach) {
    if (reach == EmptyDate) return QStringLiteral("Keine Basiszinssätze bekannt");
    return QStringLiteral("Basiszinssätze bis %1").arg(FormatDayDate(reach));
}

QString ReachText(TDateTime reach, TLaw law) {
    switch (law) {
    case lwGermany:
        break;
    case lwAustria:
        if (reach == EmptyDate)
            return QStringLiteral("Keine österreichischen Basiszinssätze bekannt");
        return QStringLiteral("Österreichische Basiszinssätze bis %1").arg(FormatDayDate(reach));
    case lwSwitzerland:
        return QString();
    }
    return ReachText(reach);
}

QString LawName(TLaw law) {
    switch (law) {
    case lwGermany:
        break;
    case lwAustria:
        return QStringLiteral("Österreich");
    case lwSwitzerland:
        return QStringLiteral("Schweiz");
    }
    return QStringLiteral("Deutschland");
}

QString ImportReportText(const QString &csvPath, int changed) {
    const QString halfYears = changed == 0   ? QStringLiteral("kein Halbjahr")
                              : changed == 1 ? QStringLiteral("ein Halbjahr")
                                             : QStringLiteral("%1 Halbjahre").arg(changed);
    return QStringLiteral("„%1“ gelesen: %2 mit neuem Basiszinssatz.")
        .arg(QDir::toNativeSeparators(csvPath), halfYears);
}

QString UpdateReportText(const std::vector<TRateChange> &changes) {
    if (changes.empty())
        return QStringLiteral("Keine Änderung: Die Basiszinssätze stimmen mit denen der "
                              "Bundesbank überein.");
    QStringList lines;
    for (const TRateChange &change : changes)
        lines << (change.Before ? QStringLiteral("geändert: %1 %2 (bisher %3)")
                                      .arg(FormatDayDate(change.From), PercentText(change.Rate),
                                           PercentText(*change.Before))
                                : QStringLiteral("neu: %1 %2")
                                      .arg(FormatDayDate(change.From), PercentText(change.Rate)));
    return lines.join(u'\n');
}
