#include "report/errortext.h"

#include "report/amounts.h"

#include <QDir>

namespace {

struct TSentence {
    TErrorText Id;
    const char16_t *Text; // %1 … %9: the error's arguments
};

using enum TErrorText;

// Every German text an engine error can give, in the order of TErrorText.
constexpr TSentence Sentences[] = {
    {None, u""},

    {FileMissing, u"Die Datei „%1“ gibt es nicht."},
    {FileUnreadable, u"Die Datei „%1“ kann nicht gelesen werden: %2."},
    {FileNotSaved, u"Die Datei „%1“ kann nicht gespeichert werden: %2."},
    {FileNotWritten, u"Die Datei „%1“ kann nicht geschrieben werden: %2."},
    {FileNotWrittenStays,
     u"Die Datei „%1“ kann nicht geschrieben werden: %2. Sie bleibt, wie sie war."},
    {FolderNotMade, u"der Ordner „%1“ lässt sich nicht anlegen"},
    {FileLocked, u"Die Datei „%1“ bleibt, wie sie war: %2."},
    {NothingChanged, u"%1 Es wurde nichts geändert."},
    {UpdateFailed,
     u"Die Basiszinssätze lassen sich nicht von „%1“ laden: %2. Es wurde nichts geändert."},

    {ClaimTooLarge, u"Die Forderung ist zu groß."},
    {ClaimNotPositive, u"Die Forderung muss größer als 0,00 € sein."},
    {ClaimNotPositiveFrancs, u"Die Forderung muss größer als CHF 0,00 sein."},
    {FirstDayInvalid, u"Der erste Zinstag ist kein gültiges Datum."},
    {LastDayInvalid, u"Der letzte Zinstag ist kein gültiges Datum."},
    {LastDayBeforeFirst, u"Der letzte Zinstag (%1) liegt vor dem ersten Zinstag (%2)."},
    {NoInterestDayLeft,
     u"Der Zahlungstag (%1) zählt nicht mit und ist der erste Zinstag: es bleibt kein Zinstag."},
    {RateOutOfRange, u"Der Zinssatz %1 liegt nicht zwischen %2 und %3."},
    {RateUnreadable, u"„%1“ ist kein Zinssatz; erwartet wird eine Zahl mit höchstens zwei "
                     u"Nachkommastellen, etwa 4,5."},
    {MissingHalfYear, u"Für das Halbjahr ab %1 ist kein Basiszinssatz bekannt. Bitte den "
                      u"Basiszinssatz ergänzen oder einen früheren letzten Zinstag wählen."},
    {MissingHalfYearReach,
     u"Für das Halbjahr ab %1 ist kein Basiszinssatz bekannt (die Basiszinssätze reichen bis "
     u"%2). Bitte den Basiszinssatz ergänzen oder einen früheren letzten Zinstag wählen."},

    {DayCountsOfSwitzerland, u"Nach Schweizer Recht stehen die Tageszählungen 30/360 nach "
                             u"Schweizer Usanz, act/360 und act/365 zur Wahl."},
    {DayCountOnlySwiss,
     u"Die Tageszählung 30/360 nach Schweizer Usanz gilt nur nach Schweizer Recht."},
    {DayCountUnknown, u"Die gewählte Tageszählung gibt es nicht."},
    {RuleSwitzerland, u"Nach Schweizer Recht gelten 5 % Verzugszins (Art. 104 Abs. 1 OR) oder ein "
                      u"vertraglich vereinbarter fester Zinssatz; einen Basiszinssatz gibt es "
                      u"nicht."},
    {RuleAustrianConsumer, u"Das österreichische Recht kennt keinen eigenen Verzugszins bei "
                           u"Beteiligung eines Verbrauchers: es gelten 4 % (§ 1000 Abs. 1 ABGB)."},
    {RuleAustrianCommercial,
     u"5 % nach § 352 HGB gelten nur nach deutschem Recht; nach österreichischem Recht gelten "
     u"4 % (§ 1000 Abs. 1 ABGB) oder bei unternehmerischen Geschäften der Basiszinssatz + 9,2 "
     u"Prozentpunkte (§ 456 UGB)."},
    {RuleUnknown, u"Die gewählte Zinsregel gibt es nicht."},
    {RuleAustrianOlderContract,
     u"§ 456 UGB gilt für Verträge ab dem 16.03.2013; Zinsen ab dem %1 stammen aus einem "
     u"früheren Vertrag. Bitte „Vertrag vor dem 16.03.2013 geschlossen“ wählen."},
    {FlatFeeGermany, u"Die Pauschale von %1 nach § 288 Abs. 5 BGB steht nur zu, wenn kein "
                     u"Verbraucher beteiligt ist und die Forderung nach dem 28.07.2014 "
                     u"entstanden ist."},
    {FlatFeeGermanyOfClaim, u"Die Pauschale nach § 288 Abs. 5 BGB steht der %1 nicht zu: sie gilt "
                            u"nur, wenn kein Verbraucher beteiligt ist und die Forderung nach dem "
                            u"28.07.2014 entstanden ist."},
    {FlatFeeAustria, u"Die Pauschale von %1 nach § 458 UGB steht nur bei einem unternehmerischen "
                     u"Geschäft aus einem Vertrag ab dem 16.03.2013 zu."},
    {FlatFeeAustriaOfClaim, u"Die Pauschale nach § 458 UGB steht der %1 nicht zu: sie gilt nur bei "
                            u"einem unternehmerischen Geschäft aus einem Vertrag ab dem "
                            u"16.03.2013."},
    {FlatFeeSwitzerland,
     u"Das Schweizer Obligationenrecht kennt keine Pauschale bei Zahlungsverzug."},
    {NoAustrianBusinessRate,
     u"Verzugszinsen über dem Basiszinssatz bei unternehmerischen Geschäften gibt es in "
     u"Österreich erst ab dem 01.08.2002 (§ 1333 Abs. 2 ABGB). Bitte einen festen Zinssatz "
     u"wählen oder %1 auf den 01.08.2002 oder später legen."},
    {NoAustrianBaseRate,
     u"Für Tage vor dem 01.01.2002 ist kein Basiszinssatz der Oesterreichischen Nationalbank "
     u"hinterlegt. Bitte einen festen Zinssatz wählen oder %1 auf den 01.01.2002 oder später "
     u"legen."},
    {NoGermanBaseRate, u"Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz nach § 247 BGB. "
                       u"Bitte einen festen Zinssatz wählen oder %1 auf den 01.01.2002 oder "
                       u"später legen."},
    {FirstInterestDayPhrase, u"den ersten Zinstag"},
    {InterestStartPhrase, u"den Zinsbeginn"},
    {AllocationGermany,
     u"Nach deutschem Recht werden Teilzahlungen nach § 367 oder § 497 Abs. 3 BGB verrechnet."},
    {AllocationAustria,
     u"Nach österreichischem Recht werden Teilzahlungen nach §§ 1415, 1416 ABGB verrechnet."},
    {AllocationSwitzerland,
     u"Nach Schweizer Recht werden Teilzahlungen nach Art. 85 bis 87 OR verrechnet."},

    {NoClaims, u"Die Aufstellung braucht mindestens eine Forderung."},
    {StatementDayInvalid, u"Der Stichtag ist kein gültiges Datum."},
    {EntryFirstDayInvalid, u"Der Zinsbeginn der %1 ist kein gültiges Datum."},
    {EntryDateInvalid, u"Das Datum der %1 ist kein gültiges Datum."},
    {EntryAmountNotPositive, u"Der Betrag der %1 muss größer als 0,00 sein."},
    {EntryAmountTooLarge, u"Der Betrag der %1 ist zu groß."},
    {StatementDayBeforeFirst, u"Der Stichtag (%1) liegt vor dem ersten Zinsbeginn (%2)."},
    {CostAfterStatementDay, u"Die %1 vom %2 entstehen erst nach dem Stichtag (%3)."},
    {CostStartBeforeDate, u"Der Zinsbeginn der %1 (%2) liegt vor ihrem Datum (%3)."},
    {PaymentBeforeInterest, u"Die %1 vom %2 liegt vor dem Zinsbeginn jeder Forderung (%3)."},
    {PaymentAfterStatementDay, u"Die %1 vom %2 liegt nach dem Stichtag (%3)."},
    {PaymentNamesNoClaim, u"Die %1 nennt die Forderung %2, die es nicht gibt."},
    {MissingHalfYearByStatement,
     u"Für das Halbjahr ab %1 ist kein Basiszinssatz bekannt. Bitte "
     u"den Basiszinssatz ergänzen oder einen früheren Stichtag wählen."},
    {MissingHalfYearByStatementReach,
     u"Für das Halbjahr ab %1 ist kein Basiszinssatz bekannt (die Basiszinssätze reichen bis "
     u"%2). Bitte den Basiszinssatz ergänzen oder einen früheren Stichtag wählen."},

    {BaseRateDay, u"Ein Basiszinssatz gilt jeweils ab dem 1. Januar oder 1. Juli, frühestens ab "
                  u"dem 01.01.2002; %1 ist kein solcher Tag."},
    {BaseRateOutOfRange, u"Der Basiszinssatz %1 liegt nicht zwischen %2 und %3."},
    {AtChangeDayInvalid, u"Der Tag der Änderung ist kein gültiges Datum."},
    {AtBaseRateDay, u"Ein Basiszinssatz der Oesterreichischen Nationalbank gilt frühestens ab dem "
                    u"01.01.1999; %1 ist kein solcher Tag."},
    {NoBaseRateBefore, u"Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz nach § 247 BGB."},
    {HalfYearBeyondReach, u"Für das Halbjahr ab %1 ist kein Basiszinssatz bekannt (die "
                          u"Basiszinssätze reichen bis %2)."},

    {LineNotUtf8, u"Die Zeile ist kein UTF-8-Text."},
    {LineShape, u"Erwartet wird „Datum;Zinssatz“, etwa „01.01.2027;1,52“."},
    {NotADate, u"„%1“ ist kein Datum."},
    {NotARate, u"„%1“ ist kein Zinssatz."},
    {NotAnOrigin, u"„%1“ ist keine Herkunft; an dritter Stelle steht nur „%2“ für einen aus dem "
                  u"Download der Bundesbank übernommenen Satz."},
    {HalfYearTwice, u"Für das Halbjahr ab %1 steht schon ein Zinssatz in der Datei."},
    {UserRatesBroken, u"Die Datei „%1“ ist in Zeile %2 nicht lesbar: %3 Es gelten die "
                      u"mitgelieferten Basiszinssätze."},
    {UserRatesSetAside, u"Die Datei „%1“ ist in Zeile %2 nicht lesbar: %4 Sie wurde als „%3“ "
                        u"beiseitegelegt; es gelten die mitgelieferten Basiszinssätze."},

    {SeriesOther, u"enthält die Reihe %1, nicht die Reihe %2 (Basiszinssatz nach § 247 BGB)."},
    {SeriesOtherAtLine,
     u"enthält die Reihe %1 (Zeile %2), nicht die Reihe %3 (Basiszinssatz nach § 247 BGB)."},
    {SeriesNone, u"nennt in der ersten Zeile keine Reihe. %1"},
    {NotADownload, u"ist kein Download des Basiszinssatzes. %1"},
    {ExpectedDownload, u"Erwartet wird der CSV-Download der Bundesbank-Reihe %1 (Basiszinssatz "
                       u"nach § 247 BGB), deutsch oder englisch, oder dieselbe Reihe als SDMX-CSV "
                       u"aus der Schnittstelle der Bundesbank."},
    {NoMonthlyValues, u"enthält keine Monatswerte des Basiszinssatzes ab Januar 2002."},
    {DownloadLineShape, u"„%1“ ist keine Zeile „Jahr-Monat%2Wert%2Kennzeichen“."},
    {DownloadLineIncomplete, u"„%1“ ist keine vollständige Zeile „Jahr-Monat%2Wert%2Kennzeichen“."},
    {SdmxColumnMissing, u"Der SDMX-CSV-Kopfzeile fehlt die Spalte %1."},
    {SdmxRowShort, u"Die Zeile hat %1 statt %2 Spalten; sie ist unvollständig."},
    {SdmxNoMonth, u"„%1“ ist kein Monat „Jahr-Monat“."},
    {MonthBeforeSeries, u"Der Monat %1 liegt vor dem Beginn der Reihe im %2."},
    {MonthTooLate, u"Der Monat %1 liegt mehr als ein Jahr nach dem heutigen Tag."},
    {MonthTwice, u"Der Monat %1 steht zweimal in der Datei (Zeilen %2 und %3)."},
    {RateChangesInHalfYear, u"Der Basiszinssatz ändert sich im %1 (von %2 in Zeile %3 auf %4); er "
                            u"ändert sich nur zum 1. Januar und zum 1. Juli."},
    {OpenQuote, u"Ein Feld in Anführungszeichen endet nicht. Die Datei ist wohl nicht vollständig "
                u"heruntergeladen."},
    {NoLineEnd, u"Die letzte Zeile hat kein Zeilenende. Die Datei ist wohl nicht vollständig "
                u"heruntergeladen."},
    {DownloadFileAtLine,
     u"Die Datei „%1“ ist in Zeile %2 nicht lesbar: %3 Es wurde nichts übernommen."},
    {DownloadFile, u"Die Datei „%1“ %2 Es wurde nichts übernommen."},
    {DownloadAnswerAtLine,
     u"Die Antwort von „%1“ ist in Zeile %2 nicht lesbar: %3 Es wurde nichts übernommen."},
    {DownloadAnswer, u"Die Antwort von „%1“ %2 Es wurde nichts übernommen."},
    {DownloadFileUnreadable,
     u"Die Datei „%1“ kann nicht gelesen werden: %2. Es wurde nichts übernommen."},

    {CaseFileBroken, u"Die Datei „%1“ ist keine lesbare Forderungsaufstellung: %2"},
    {CaseFileSyntax, u"Zeile %1: %2."},
    {JsonUnterminatedObject,
     u"es fehlt „,“ vor dem nächsten Schlüssel oder „}“ am Ende des Objekts"},
    {JsonMissingNameSeparator, u"nach einem Schlüssel fehlt „:“"},
    {JsonUnterminatedArray, u"es fehlt „,“ vor dem nächsten Wert oder „]“ am Ende der Liste"},
    {JsonMissingValueSeparator, u"zwischen zwei Werten fehlt „,“"},
    {JsonIllegalValue, u"ein Wert ist ungültig"},
    {JsonTerminationByNumber, u"der Text endet mitten in einer Zahl"},
    {JsonIllegalNumber, u"eine Zahl ist ungültig"},
    {JsonIllegalEscapeSequence, u"ein Zeichen nach „\\“ ist ungültig"},
    {JsonIllegalUtf8String, u"der Text ist kein gültiges UTF-8"},
    {JsonUnterminatedString, u"eine Zeichenkette ist nicht mit „\"“ geschlossen"},
    {JsonMissingObject, u"es fehlt das Objekt „{ … }“"},
    {JsonDeepNesting, u"die Verschachtelung ist zu tief"},
    {JsonDocumentTooLarge, u"die Datei ist zu groß"},
    {JsonGarbageAtEnd, u"nach dem Ende des Objekts folgt weiterer Text"},
    {JsonOther, u"der Text ist kein JSON"},
    {CaseFileNoObject, u"Die Datei enthält kein Objekt „{ … }“."},
    {CaseFileFormat,
     u"Die Datei ist keine Forderungsaufstellung von Tarvo („format“ ist nicht „%1“)."},
    {CaseFileVersion, u"„version“ muss eine ganze Zahl ab 1 sein."},
    {CaseFileNewer, u"Die Datei hat die Version %1; dieses Tarvo liest Forderungsaufstellungen bis "
                    u"zur Version %2. Bitte Tarvo aktualisieren."},
    {AtEntry, u"%1, %2"},
    {AtKey, u"„%1“, %2"},
    {KeyMissing, u"„%1“ fehlt."},
    {KeyNotText, u"„%1“ muss eine Zeichenkette sein."},
    {KeyNotFlag, u"„%1“ muss true oder false sein."},
    {KeyNotObject, u"„%1“ muss ein Objekt sein."},
    {KeyNotList, u"„%1“ muss eine Liste sein."},
    {KeyNotDate, u"„%1“ „%2“ ist kein Datum der Form JJJJ-MM-TT."},
    {KeyNotNumber, u"„%1“ „%2“ ist keine Zahl der Form „%3“."},
    {KeyNotChoice, u"„%1“ „%2“ ist keiner der Werte %3."},
    {KeyNoClaimObject, u"„%1“ enthält an Stelle %2 kein Objekt „{ … }“ für eine Forderung."},
    {KeyNoCostObject, u"„%1“ enthält an Stelle %2 kein Objekt „{ … }“ für Kosten."},
    {KeyNoPaymentObject, u"„%1“ enthält an Stelle %2 kein Objekt „{ … }“ für eine Zahlung."},
    {KeyNoClaimNumber, u"„%1“ muss die Nummer einer Forderung ab 1 sein."},
};

constexpr bool inOrder() {
    int i = 0;
    for (const TSentence &s : Sentences)
        if (int(s.Id) != i++) return false;
    return i == int(TErrorText::Count);
}
static_assert(inOrder(), "one sentence for each TErrorText, in its order");

constexpr const char16_t *MonthNames[12] = {u"Januar",    u"Februar", u"März",     u"April",
                                            u"Mai",       u"Juni",    u"Juli",     u"August",
                                            u"September", u"Oktober", u"November", u"Dezember"};

QString entryName(TEntryKind kind) {
    switch (kind) {
    case TEntryKind::Claim:
        break;
    case TEntryKind::Cost:
        return QStringLiteral("Kosten");
    case TEntryKind::Payment:
        return QStringLiteral("Zahlung");
    }
    return QStringLiteral("Forderung");
}

struct TArgumentText {
    QString operator()(const QString &text) const { return text; }
    QString operator()(const TErrorFile &file) const { return QDir::toNativeSeparators(file.Path); }
    QString operator()(const TErrorDay &day) const { return FormatDayDate(day.Day); }
    QString operator()(const TErrorMonth &month) const {
        return QString::fromUtf16(MonthNames[(month.Month + 11) % 12]) + u' ' +
               QString::number(month.Year);
    }
    QString operator()(const TErrorAmount &amount) const { return EuroText(amount.Cents); }
    QString operator()(const TErrorRate &rate) const { return PercentText(rate.Rate); }
    QString operator()(const TErrorCount &count) const { return QString::number(count.Value); }
    QString operator()(const TErrorEntry &entry) const {
        return entryName(entry.Kind) + u' ' + QString::number(entry.Number);
    }
    QString operator()(const TErrorChoices &choices) const {
        QString text;
        for (const QString &name : choices.Names)
            text += (text.isEmpty() ? QString() : QStringLiteral(", ")) + u'„' + name + u'“';
        return text;
    }
    QString operator()(const TErrorPart &part) const {
        return part.Error ? ErrorText(*part.Error) : QString();
    }
};

} // namespace

QString ErrorText(const TEngineError &error) {
    const int id = int(error.Text);
    if (id < 0 || id >= int(TErrorText::Count)) return QString();
    // One pass, so that an argument holding "%1" stays as it is.
    const QStringView sentence(Sentences[id].Text);
    QString text;
    text.reserve(sentence.size() + 64);
    for (qsizetype i = 0; i < sentence.size(); ++i) {
        const QChar c = sentence[i];
        const int n = i + 1 < sentence.size() ? sentence[i + 1].unicode() - u'1' : -1;
        if (c != u'%' || n < 0 || n > 8) {
            text += c;
            continue;
        }
        if (size_t(n) < error.Arguments.size())
            text += std::visit(TArgumentText(), error.Arguments[size_t(n)]);
        ++i;
    }
    return text;
}
