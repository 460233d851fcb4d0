#include "engine/bundesbank.h"

#include "engine/fixedtext.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>

namespace {

// The series begins with the base rate of the euro's introduction, in January 1999.
constexpr int FirstSeriesYear = 1999;

QString seriesKey() {
    return QString::fromLatin1(BundesbankSeriesKey);
}

// What a file that is none of the layouts should have been.
TErrorPart expected() {
    return Nested(TEngineError(ecNone, TErrorText::ExpectedDownload, {seriesKey()}));
}

struct TMonth {
    int Year = 0;
    int Month = 0;
    int Index() const { return Year * 12 + Month - 1; }
    QString Text() const {
        return QStringLiteral("%1-%2")
            .arg(Year, 4, 10, QLatin1Char('0'))
            .arg(Month, 2, 10, QLatin1Char('0'));
    }
};

// "2025-07"; nothing for any other text.
std::optional<TMonth> parseMonth(QStringView text) {
    if (text.size() != 7 || text[4] != u'-') return std::nullopt;
    for (int i : {0, 1, 2, 3, 5, 6})
        if (!text[i].isDigit()) return std::nullopt;
    const int month = text.sliced(5).toInt();
    if (month < 1 || month > 12) return std::nullopt;
    return TMonth{text.first(4).toInt(), month};
}

// "2025-07", or SDMX's other form "2025-M07".
std::optional<TMonth> parsePeriod(QStringView text) {
    if (text.size() == 8 && text[4] == u'-' && text[5] == u'M') {
        const QString plain = text.first(5).toString() + text.sliced(6).toString();
        return parseMonth(plain);
    }
    return parseMonth(text);
}

struct TRecord {
    int Line = 0; // where it starts, from 1
    QStringList Fields;
};

// The records of CSV text: fields split at `separator`, quoted fields unquoted (they may hold
// separators, doubled quotes and line ends), blank lines left out. `cutAt` gets the line of a
// last record without its line end, `openQuote` whether the text ends inside quotes.
std::vector<TRecord> splitRecords(QStringView text, QChar separator, int &cutAt, bool &openQuote) {
    std::vector<TRecord> records;
    TRecord record;
    QString field;
    bool quoted = false, fieldStarted = false, content = false;
    int line = 1;
    record.Line = 1;
    const auto endField = [&] {
        record.Fields << field.trimmed();
        field.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            endField();
            if (content) records.push_back(record);
            record = {++line, {}};
            content = false;
            continue;
        }
        if (c == separator) {
            endField();
            content = true;
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = fieldStarted = content = true;
            continue;
        }
        if (!c.isSpace()) content = true;
        if (!c.isSpace() || fieldStarted) fieldStarted = true;
        field += c;
    }
    openQuote = quoted;
    cutAt = quoted || content ? record.Line : 0;
    return records;
}

// A cell as the SDMX-CSV's "labels=both" option writes it, "M: Monatlich", is its id.
QString idOf(const QString &cell) {
    const qsizetype label = cell.indexOf(QLatin1String(": "));
    return (label < 0 ? cell : cell.first(label)).trimmed();
}

bool looksLikeSeriesKey(const QString &text) {
    if (!text.contains(u'.') || text.endsWith(QLatin1String("_FLAGS"))) return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || c.isDigit() || c == u'.' || c == u'_';
    });
}

struct TObservation {
    int Line;
    TMonth Month;
    QString Value; // empty or "." for a month without a value
};

// A fault at a line, or (line 0) of the file as a whole.
TEngineError lineError(int line, TErrorText text, std::vector<TErrorArgument> arguments = {}) {
    return TEngineError(ecFileContent, text, std::move(arguments), QString(), line);
}

struct TParse {
    std::vector<TObservation> Observations;
    TEngineError Error;

    void Fail(int line, TErrorText text, std::vector<TErrorArgument> arguments = {}) {
        Error = lineError(line, text, std::move(arguments));
    }
};

// The time-series database's download: the key above the value's column in the first line.
void readDownload(const std::vector<TRecord> &records, QChar separator, TParse &parse) {
    const TRecord &head = records.front();
    const qsizetype column = head.Fields.indexOf(QLatin1String(BundesbankSeriesKey));
    if (column < 1) {
        const auto other = std::find_if(head.Fields.begin(), head.Fields.end(), looksLikeSeriesKey);
        if (other != head.Fields.end())
            return parse.Fail(0, TErrorText::SeriesOther, {*other, seriesKey()});
        return parse.Fail(0, TErrorText::SeriesNone, {expected()});
    }
    for (std::size_t i = 1; i < records.size(); ++i) {
        const TRecord &record = records[i];
        const QString &first = record.Fields.front();
        // Header lines name what follows; remark lines leave the first cell empty.
        if (first.isEmpty() || !first.front().isDigit()) continue;
        const std::optional<TMonth> month = parseMonth(first);
        if (!month || record.Fields.size() < head.Fields.size())
            return parse.Fail(record.Line,
                              month ? TErrorText::DownloadLineIncomplete
                                    : TErrorText::DownloadLineShape,
                              {record.Fields.join(separator), QString(separator)});
        parse.Observations.push_back({record.Line, *month, record.Fields[column]});
    }
}

// SDMX-CSV: the columns named in the header row.
void readSdmx(const std::vector<TRecord> &records, TParse &parse) {
    QStringList head;
    for (const QString &cell : records.front().Fields)
        head << idOf(cell).toUpper();
    // "STRUCTURE[;]" names a separator inside fields.
    if (head[0].startsWith(QLatin1String("STRUCTURE["))) head[0] = QStringLiteral("STRUCTURE");
    const bool version2 = head[0] == QLatin1String("STRUCTURE");
    const qsizetype structure =
        head.indexOf(version2 ? QStringLiteral("STRUCTURE_ID") : QStringLiteral("DATAFLOW"));
    const qsizetype time = head.indexOf(QLatin1String("TIME_PERIOD"));
    const qsizetype value = head.indexOf(QLatin1String("OBS_VALUE"));
    const qsizetype action = head.indexOf(QLatin1String("ACTION"));
    for (const auto &[index, name] : {std::pair{structure, version2 ? "STRUCTURE_ID" : "DATAFLOW"},
                                      {time, "TIME_PERIOD"},
                                      {value, "OBS_VALUE"}})
        if (index < 0)
            return parse.Fail(records.front().Line, TErrorText::SdmxColumnMissing,
                              {QString::fromLatin1(name)});
    // The key's dimensions stand between the structure's columns and the time.
    static const QStringList notDimensions{
        QStringLiteral("STRUCTURE"),      QStringLiteral("STRUCTURE_ID"),
        QStringLiteral("STRUCTURE_NAME"), QStringLiteral("ACTION"),
        QStringLiteral("SERIES_KEY"),     QStringLiteral("OBS_KEY"),
        QStringLiteral("DATAFLOW")};
    std::vector<qsizetype> dimensions;
    for (qsizetype i = 0; i < time; ++i)
        if (!notDimensions.contains(head[i])) dimensions.push_back(i);
    QString otherKey;
    int otherLine = 0;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const TRecord &record = records[i];
        if (record.Fields.size() < head.size())
            return parse.Fail(record.Line, TErrorText::SdmxRowShort,
                              {TErrorCount{record.Fields.size()}, TErrorCount{head.size()}});
        if (action >= 0 && record.Fields[action] == QLatin1String("D")) continue;
        // "BBK:BBIN1(1.0)" is the flow BBIN1 of the agency BBK.
        QString flow = idOf(record.Fields[structure]);
        flow = flow.section(u':', -1).section(u'(', 0, 0);
        QStringList key{flow};
        for (qsizetype d : dimensions)
            key << idOf(record.Fields[d]);
        if (key.join(u'.') != QLatin1String(BundesbankSeriesKey)) {
            if (otherKey.isEmpty()) {
                otherKey = key.join(u'.');
                otherLine = record.Line;
            }
            continue;
        }
        const std::optional<TMonth> month = parsePeriod(record.Fields[time]);
        if (!month) return parse.Fail(record.Line, TErrorText::SdmxNoMonth, {record.Fields[time]});
        QString observed = record.Fields[value];
        if (observed.compare(QLatin1String("NaN"), Qt::CaseInsensitive) == 0) observed.clear();
        parse.Observations.push_back({record.Line, *month, observed});
    }
    if (parse.Observations.empty() && !otherKey.isEmpty())
        parse.Fail(0, TErrorText::SeriesOtherAtLine,
                   {otherKey, TErrorCount{otherLine}, seriesKey()});
}

// The months to half-years: each half-year's months must agree.
void collapse(std::vector<TObservation> observations, TBundesbankImport &result) {
    const QDate today = Today();
    const TMonth last{today.year() + 1, today.month()};
    const auto fail = [&](int line, TErrorText text, std::vector<TErrorArgument> arguments = {}) {
        result = {{}, lineError(line, text, std::move(arguments))};
    };
    for (const TObservation &o : observations) {
        if (o.Month.Year < FirstSeriesYear)
            return fail(o.Line, TErrorText::MonthBeforeSeries,
                        {o.Month.Text(), TErrorMonth{FirstSeriesYear, 1}});
        if (o.Month.Index() > last.Index())
            return fail(o.Line, TErrorText::MonthTooLate, {o.Month.Text()});
    }
    std::stable_sort(observations.begin(), observations.end(),
                     [](const TObservation &a, const TObservation &b) {
                         return a.Month.Index() < b.Month.Index();
                     });
    std::vector<TBaseRate> &rates = result.Rates;
    int rateLine = 0;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const TObservation &o = observations[i];
        if (i > 0 && observations[i - 1].Month.Index() == o.Month.Index())
            return fail(std::max(o.Line, observations[i - 1].Line), TErrorText::MonthTwice,
                        {o.Month.Text(), TErrorCount{std::min(o.Line, observations[i - 1].Line)},
                         TErrorCount{std::max(o.Line, observations[i - 1].Line)}});
        // "." (with a flag such as "Kein Wert vorhanden") or nothing: a month without a value.
        if (o.Value.isEmpty() || o.Value == u'.') continue;
        const std::optional<TBasisPoints> rate = ParseBasisPoints(o.Value);
        if (!rate || o.Value.contains(u'%')) return fail(o.Line, TErrorText::NotARate, {o.Value});
        // Before 2002 the series holds the base rate of an earlier law, not that of § 247 BGB.
        const TDateTime from = MakeDateSerial(o.Month.Year, o.Month.Month <= 6 ? 1 : 7, 1);
        if (from < FirstBaseRateDay()) continue;
        if (const TEngineError error = BaseRateRangeError(*rate))
            return fail(o.Line, error.Text, error.Arguments);
        if (rates.empty() || rates.back().From != from) {
            rates.push_back({from, *rate, true, true});
            rateLine = o.Line;
            continue;
        }
        if (rates.back().Rate != *rate)
            return fail(o.Line, TErrorText::RateChangesInHalfYear,
                        {TErrorMonth{o.Month.Year, o.Month.Month}, TErrorRate{rates.back().Rate},
                         TErrorCount{rateLine}, TErrorRate{*rate}});
    }
    if (rates.empty()) fail(0, TErrorText::NoMonthlyValues);
}

} // namespace

TBundesbankImport ParseBundesbankCsv(const QByteArray &data) {
    QByteArray bytes = data;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    // Older downloads come in Latin-1.
    if (utf8.hasError()) text = QString::fromLatin1(bytes);

    TBundesbankImport result;
    const auto fail = [&](int line, TErrorText text, std::vector<TErrorArgument> arguments = {}) {
        result.Error = lineError(line, text, std::move(arguments));
        return result;
    };
    // The layout and its separator from the first line that is not blank.
    const qsizetype start =
        std::find_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); }) - text.begin();
    qsizetype end = start;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    const QStringView head = QStringView(text).sliced(start, end - start).trimmed();
    const QStringView term = head.startsWith(u'"') ? head.sliced(1) : head;
    QChar separator;
    bool sdmx = false;
    for (const QLatin1String name : {QLatin1String("DATAFLOW"), QLatin1String("STRUCTURE")}) {
        if (!term.startsWith(name, Qt::CaseInsensitive)) continue;
        sdmx = true;
        qsizetype at = name.size();
        if (at < term.size() && term[at] == u'[') at = term.indexOf(u']', at) + 1;
        if (at > 0 && at < term.size() && term[at] == u'"') ++at;
        if (at > 0 && at < term.size()) separator = term[at];
        break;
    }
    if (!sdmx && head.size() > 2 && head.startsWith(QLatin1String("\"\"")))
        separator = head[2];
    else if (!sdmx && !head.isEmpty())
        separator = head[0];
    if (!(separator == u';' || separator == u',' || (sdmx && separator == u'\t')))
        return fail(0, TErrorText::NotADownload, {expected()});

    int cutAt = 0;
    bool openQuote = false;
    const std::vector<TRecord> records = splitRecords(text, separator, cutAt, openQuote);
    if (cutAt > 0) return fail(cutAt, openQuote ? TErrorText::OpenQuote : TErrorText::NoLineEnd);
    TParse parse;
    if (sdmx)
        readSdmx(records, parse);
    else
        readDownload(records, separator, parse);
    if (parse.Error) {
        result.Error = parse.Error;
        return result;
    }
    collapse(std::move(parse.Observations), result);
    return result;
}

namespace {

// The parser's error told of the file or the answer it came from: "Die Datei „…“ ist in Zeile 3
// nicht lesbar: …", "Die Antwort von „…“ enthält die Reihe …".
void Name(TBundesbankImport &result, TErrorArgument source, TErrorText whole, TErrorText atLine) {
    if (!result.Error) return;
    const int line = result.Error.Line;
    result.Error = line > 0 ? Around(atLine, {std::move(source), TErrorCount{line}}, result.Error)
                            : Around(whole, {std::move(source)}, result.Error);
}

} // namespace

TBundesbankImport ReadBundesbankCsv(const QString &path) {
    const TFileRead read = ReadWholeFile(path);
    if (!read) {
        const QString reason =
            read.Status == TReadStatus::Missing ? SystemErrorText(ENOENT) : read.Reason;
        return {{},
                TEngineError(ecFile, TErrorText::DownloadFileUnreadable, {TErrorFile{path}, reason},
                             path)};
    }
    TBundesbankImport result = ParseBundesbankCsv(read.Data);
    result.Error.File = result.Error ? path : QString();
    Name(result, TErrorFile{path}, TErrorText::DownloadFile, TErrorText::DownloadFileAtLine);
    return result;
}

TBundesbankImport ParseBundesbankAnswer(const QByteArray &data, const QString &url) {
    TBundesbankImport result = ParseBundesbankCsv(data);
    Name(result, url, TErrorText::DownloadAnswer, TErrorText::DownloadAnswerAtLine);
    return result;
}
