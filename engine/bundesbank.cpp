#include "engine/bundesbank.h"

#include "engine/fixedtext.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace {

const char *const MonthNames[12] = {"Januar",    "Februar", "März",     "April",
                                    "Mai",       "Juni",    "Juli",     "August",
                                    "September", "Oktober", "November", "Dezember"};

struct TMonth {
    int Year = 0;
    int Month = 0;
    int Index() const { return Year * 12 + Month - 1; }
};

// "2025-07"; nothing for any other text.
std::optional<TMonth> parseMonth(QStringView text) {
    if (text.size() != 7 || text[4] != u'-') return std::nullopt;
    bool yearOk = false, monthOk = false;
    const int year = text.first(4).toInt(&yearOk);
    const int month = text.sliced(5).toInt(&monthOk);
    if (!yearOk || !monthOk || year < 1 || month < 1 || month > 12) return std::nullopt;
    return TMonth{year, month};
}

QStringView unquoted(QStringView field) {
    field = field.trimmed();
    if (field.size() >= 2 && field.front() == u'"' && field.back() == u'"')
        field = field.sliced(1, field.size() - 2);
    return field.trimmed();
}

// The header block's lines begin with text or a separator; the first line beginning with a
// digit starts the monthly values.
bool startsData(QStringView line) {
    const qsizetype separator = line.indexOf(u';');
    const QStringView first = unquoted(separator < 0 ? line : line.first(separator));
    return !first.isEmpty() && first.front().isDigit();
}

struct TReader {
    TBundesbankImport Result;
    int LastMonth = -1;

    // The reason the data line is broken, or an empty text.
    QString Take(QStringView line) {
        const QList<QStringView> fields = line.split(u';');
        const std::optional<TMonth> month = parseMonth(unquoted(fields[0]));
        if (!month || fields.size() < 2)
            return QStringLiteral("„%1“ ist keine Zeile „Jahr-Monat;Wert“.").arg(line);
        if (month->Index() <= LastMonth)
            return QStringLiteral("Der Monat %1 steht nicht in zeitlicher Folge.")
                .arg(unquoted(fields[0]));
        LastMonth = month->Index();
        const QStringView value = unquoted(fields[1]);
        // "." (with a flag such as "Kein Wert vorhanden") or nothing: a month without a value.
        if (value.isEmpty() || value == u".") return {};
        const std::optional<TBasisPoints> rate = ParseBasisPoints(value);
        if (!rate || value.contains(u'%'))
            return QStringLiteral("„%1“ ist kein Zinssatz.").arg(value);
        // Before 2002 the series holds the base rate of an earlier law, not that of § 247 BGB.
        const TDateTime from = MakeDateSerial(month->Year, month->Month <= 6 ? 1 : 7, 1);
        if (from < FirstBaseRateDay()) return {};
        if (const TEngineError error = CheckBaseRate(from, *rate)) return error.Message;
        std::vector<TBaseRate> &rates = Result.Rates;
        if (rates.empty() || rates.back().From != from) {
            rates.push_back({from, *rate, true});
            return {};
        }
        if (rates.back().Rate == *rate) return {};
        return QStringLiteral("Der Basiszinssatz ändert sich im %1 %2; er ändert sich nur zum "
                              "1. Januar und zum 1. Juli.")
            .arg(QString::fromUtf8(MonthNames[month->Month - 1]))
            .arg(month->Year);
    }
};

TBundesbankImport failure(int line, const QString &reason) {
    return {{}, TEngineError(ecFileContent, reason, QString(), line)};
}

} // namespace

TBundesbankImport ParseBundesbankCsv(const QByteArray &data) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(data);
    // Older downloads come in Latin-1; only the header block is affected.
    if (utf8.hasError()) text = QString::fromLatin1(data);
    const QStringList lines = text.split(u'\n');
    TReader reader;
    bool inData = false, seriesNamed = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringView line = QStringView(lines[i]).trimmed();
        if (line.isEmpty()) continue;
        if (!inData && !startsData(line)) {
            seriesNamed = seriesNamed || line.contains(QLatin1String(BundesbankSeriesKey));
            continue;
        }
        if (!inData && !seriesNamed)
            return failure(i + 1, QStringLiteral("Der Kopf der Datei nennt nicht die Reihe %1 "
                                                 "(Basiszinssatz).")
                                      .arg(QLatin1String(BundesbankSeriesKey)));
        inData = true;
        const QString reason = reader.Take(line);
        if (!reason.isEmpty()) return failure(i + 1, reason);
    }
    if (reader.Result.Rates.empty())
        return failure(0, QStringLiteral("Die Datei enthält keine Monatswerte des Basiszinssatzes "
                                         "ab Januar 2002."));
    return reader.Result;
}

TBundesbankImport ReadBundesbankCsv(const QString &path) {
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                TEngineError(ecFile,
                             QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                                 .arg(shown, file.errorString()),
                             path)};
    TBundesbankImport result = ParseBundesbankCsv(file.readAll());
    if (result.Error) {
        result.Error.File = path;
        const QString where =
            result.Error.Line > 0
                ? QStringLiteral(" ist in Zeile %1 nicht lesbar: ").arg(result.Error.Line)
                : QStringLiteral(" ist nicht lesbar: ");
        result.Error.Message = QStringLiteral("Die Datei „%1“").arg(shown) + where +
                               result.Error.Message +
                               QStringLiteral(" Es wurde nichts übernommen.");
    }
    return result;
}
