#pragma once
// What the statements say of the rules in force and of the base rates: the rate rule, the day
// count, the days counted, how far the base rates reach, and what an import or an update of
// them did.

#include "engine/baserates.h"
#include "engine/baserateupdate.h"
#include "engine/defaultinterest.h"

#include <QString>
#include <vector>

// "Basiszinssatz + 5 Prozentpunkte (§ 288 Abs. 1 BGB)", under the law of the case.
QString RateRuleText(const TRateRule &rule, TLaw law = lwGermany);
// "taggenau: tatsächliche Tage / 365"
QString DayCountText(TDayCount count);
// "Tageszählung … · erster und letzter Zinstag zählen mit · jede Zeile auf den Cent gerundet"
QString RulesText(const TDefaultInterestInput &input);
// "Basiszinssätze bis 31.12.2026"; EmptyDate: none known.
QString ReachText(TDateTime reach);
// The same for the base rates the law reads: Austria's named as such; none under Swiss law,
// which has no base rate (empty).
QString ReachText(TDateTime reach, TLaw law);
// "Deutschland", "Österreich", "Schweiz"
QString LawName(TLaw law);
// "„…/bbk.csv“ gelesen: 3 Halbjahre mit neuem Basiszinssatz."
QString ImportReportText(const QString &csvPath, int changed);
// One line a changed half-year ("neu: 01.01.2027 1,27 %", "geändert: 01.07.2026 1,52 % (bisher
// 1,60 %)"), or that nothing changed.
QString UpdateReportText(const std::vector<TRateChange> &changes);
