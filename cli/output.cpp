#include "cli/output.h"

#include "engine/baseratestore.h"
#include "engine/fixedtext.h"
#include "engine/statement.h"

#include <QIODevice>

namespace {

// Large enough that a million rows go out in few writes, small enough to stay out of the way.
constexpr qsizetype FlushSize = 1 << 20;

const QString Sep = QStringLiteral(";");
const QString JsonSep = QStringLiteral(", ");

QString Padded(const QString &text, qsizetype width, bool right) {
    return right ? text.rightJustified(width) : text.leftJustified(width);
}

// The bar's fixed text with its decimal comma, as JSON's decimal point.
QString PointText(QString text) {
    return text.replace(u',', u'.');
}

QString CsvCents(TCents value) {
    return FormatCents(value, u',', QChar());
}

QString JsonCents(TCents value) {
    return JsonString(FormatCents(value, u'.', QChar()));
}

QString JsonRate(TBasisPoints value) {
    return JsonString(FormatBasisPoints(value, u'.'));
}

QString JsonKey(const char *key) {
    return u'"' + QLatin1String(key) + QStringLiteral("\": ");
}

QString JsonLine(int line) {
    return line > 0 ? JsonKey("zeile") + QString::number(line) + JsonSep : QString();
}

QString TextLine(int line) {
    return line > 0 ? QString::number(line).rightJustified(5) + QStringLiteral("  ") : QString();
}

QString CsvLine(int line) {
    return line > 0 ? QString::number(line) + Sep : QString();
}

QString JsonPeriod(const TInterestRow &row) {
    const QString none = QStringLiteral("null");
    return u'{' + JsonKey("von") + JsonString(IsoDate(row.From)) + JsonSep + JsonKey("bis") +
           JsonString(IsoDate(row.To)) + JsonSep + JsonKey("tage") + QString::number(row.Days) +
           JsonSep + JsonKey("basiszinssatz") + (row.HasBaseRate ? JsonRate(row.BaseRate) : none) +
           JsonSep + JsonKey("aufschlag") + (row.HasBaseRate ? JsonRate(row.Margin) : none) +
           JsonSep + JsonKey("zinssatz") + JsonRate(row.Rate) + JsonSep + JsonKey("zinsen") +
           JsonCents(row.Interest) + u'}';
}

QString VerzugJson(const TVerzugResult &verzug, int line) {
    const TDefaultInterest &r = verzug.Result;
    QStringList periods;
    for (const TInterestRow &row : r.Rows)
        periods << JsonPeriod(row);
    return u'{' + JsonLine(line) + JsonKey("perioden") + u'[' + periods.join(JsonSep) + u']' +
           JsonSep + JsonKey("summe") + JsonCents(r.Interest) + JsonSep + JsonKey("je_tag") +
           JsonCents(r.PerDay) + JsonSep + JsonKey("pauschale") + JsonCents(r.FlatFee) + JsonSep +
           JsonKey("forderung") + JsonCents(r.Claim) + JsonSep + JsonKey("gesamt") +
           JsonCents(r.Total) + QStringLiteral("}\n");
}

QString CsvPeriod(const TInterestRow &row) {
    const QString base = row.HasBaseRate ? FormatBasisPoints(row.BaseRate) : QString();
    const QString margin = row.HasBaseRate ? FormatBasisPoints(row.Margin) : QString();
    return FormatDayDate(row.From) + Sep + FormatDayDate(row.To) + Sep +
           QString::number(row.Days) + Sep + base + Sep + margin + Sep +
           FormatBasisPoints(row.Rate) + Sep + CsvCents(row.Interest) + QStringLiteral("\r\n");
}

// The periods under the header, then each sum labelled in the first column and standing in
// the interest's, as the window's CSV export has it.
QString VerzugCsv(const TDefaultInterest &r) {
    QString csv = QStringLiteral("von;bis;tage;basiszinssatz;aufschlag;zinssatz;zinsen\r\n");
    for (const TInterestRow &row : r.Rows)
        csv += CsvPeriod(row);
    const std::pair<const char *, TCents> sums[] = {{"forderung", r.Claim}, {"summe", r.Interest},
                                                    {"pauschale", r.FlatFee}, {"gesamt", r.Total},
                                                    {"je_tag", r.PerDay}};
    for (const auto &[label, value] : sums)
        csv += QLatin1String(label) + QStringLiteral(";;;;;;") + CsvCents(value) +
               QStringLiteral("\r\n");
    return csv;
}

QString AlignedTable(const QList<QStringList> &rows) {
    QList<qsizetype> widths(StatementHeader().size(), 0);
    for (const QStringList &row : rows)
        for (qsizetype i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        for (qsizetype i = 0; i < row.size(); ++i)
            cells << Padded(row[i], widths[i], IsNumberColumn(int(i)));
        text += cells.join(QStringLiteral("  ")).trimmed() + u'\n';
    }
    return text;
}

QString AlignedLines(const QList<TStatementLine> &lines, bool rightValues) {
    qsizetype label = 0, value = 0;
    for (const TStatementLine &line : lines) {
        label = std::max(label, line.Label.size() + 1);
        value = std::max(value, line.Value.size());
    }
    QString text;
    for (const TStatementLine &line : lines)
        text += Padded(line.Label + u':', label, false) + QStringLiteral("  ") +
                Padded(line.Value, rightValues ? value : 0, rightValues) + u'\n';
    return text;
}

QString VerzugText(const TVerzugResult &verzug, const TBaseRateTable &table) {
    const TStatement statement = MakeStatement(verzug.Input, verzug.Result, table);
    QList<QStringList> rows{StatementHeader()};
    rows += statement.Rows;
    QString text = AlignedLines(statement.Inputs, false) + u'\n' + AlignedTable(rows) + u'\n' +
                   AlignedLines(statement.Sums, true) + u'\n' + statement.Rules + u'\n';
    if (!statement.UserRateNote.isEmpty()) text += statement.UserRateNote + u'\n';
    return text + statement.Reach + u'\n';
}

} // namespace

void TOutputStream::Write(const QString &text) {
    FBuffer += text.toUtf8();
    if (FBuffer.size() >= FlushSize) Flush();
}

bool TOutputStream::Flush() {
    const bool complete = FDevice.write(FBuffer) == FBuffer.size();
    FBuffer.clear();
    return complete;
}

QString ZinsenHeader(TOutputFormat format, bool batch) {
    switch (format) {
    case TOutputFormat::Csv:
        return batch ? QStringLiteral("zeile;tage;zinstage;zinsen;formel;fehler\r\n")
                     : QStringLiteral("tage;zinstage;zinsen;formel\r\n");
    case TOutputFormat::Text:
        if (!batch) return QString();
        return Padded(QStringLiteral("Zeile"), 5, true) + QStringLiteral("  ") +
               Padded(QStringLiteral("Tage / Zinstage"), 24, false) +
               Padded(QStringLiteral("Zinsen"), 16, true) + QStringLiteral("  Zinsformel\n");
    case TOutputFormat::Json:
        return QString();
    }
    return QString();
}

QString ZinsenRow(TOutputFormat format, const TZinsenResult &result, int line) {
    const TInterestText &t = result.Text;
    switch (format) {
    case TOutputFormat::Csv:
        return CsvLine(line) + QString::number(t.Difference) + Sep + QString::number(t.Days) +
               Sep + t.Interest + Sep + FormulaName(result.Code) +
               (line > 0 ? QStringLiteral(";\r\n") : QStringLiteral("\r\n"));
    case TOutputFormat::Json:
        return u'{' + JsonLine(line) + JsonKey("tage") + QString::number(t.Difference) + JsonSep +
               JsonKey("zinstage") + QString::number(t.Days) + JsonSep + JsonKey("zinsen") +
               JsonString(PointText(t.Interest)) + JsonSep + JsonKey("formel") +
               JsonString(FormulaName(result.Code)) + QStringLiteral("}\n");
    case TOutputFormat::Text:
        if (line == 0) return t.DayLabel + QStringLiteral("  ") + t.Interest + u'\n';
        return TextLine(line) + Padded(t.DayLabel, 24, false) + Padded(t.Interest, 16, true) +
               QStringLiteral("  ") + FormulaName(result.Code) + u'\n';
    }
    return QString();
}

QString VerzugHeader(TOutputFormat format) {
    switch (format) {
    case TOutputFormat::Csv:
        return QStringLiteral(
            "zeile;forderung;von;bis;perioden;summe;pauschale;gesamt;je_tag;fehler\r\n");
    case TOutputFormat::Text:
        return Padded(QStringLiteral("Zeile"), 5, true) + QStringLiteral("  ") +
               Padded(QStringLiteral("Forderung"), 18, true) +
               Padded(QStringLiteral("Zinsen"), 16, true) +
               Padded(QStringLiteral("Pauschale"), 12, true) +
               Padded(QStringLiteral("Gesamt"), 20, true) +
               Padded(QStringLiteral("je Tag"), 12, true) + u'\n';
    case TOutputFormat::Json:
        return QString();
    }
    return QString();
}

QString VerzugRow(TOutputFormat format, const TVerzugResult &verzug, int line) {
    const TDefaultInterest &r = verzug.Result;
    switch (format) {
    case TOutputFormat::Csv:
        return CsvLine(line) + CsvCents(r.Claim) + Sep + FormatDayDate(r.Rows.front().From) + Sep +
               FormatDayDate(r.Rows.back().To) + Sep + QString::number(r.Rows.size()) + Sep +
               CsvCents(r.Interest) + Sep + CsvCents(r.FlatFee) + Sep + CsvCents(r.Total) + Sep +
               CsvCents(r.PerDay) + QStringLiteral(";\r\n");
    case TOutputFormat::Json:
        return VerzugJson(verzug, line);
    case TOutputFormat::Text:
        return TextLine(line) + Padded(FormatCents(r.Claim), 18, true) +
               Padded(FormatCents(r.Interest), 16, true) +
               Padded(FormatCents(r.FlatFee), 12, true) + Padded(FormatCents(r.Total), 20, true) +
               Padded(FormatCents(r.PerDay), 12, true) + u'\n';
    }
    return QString();
}

QString VerzugStatement(TOutputFormat format, const TVerzugResult &result,
                        const TBaseRateTable &table) {
    switch (format) {
    case TOutputFormat::Csv:
        return VerzugCsv(result.Result);
    case TOutputFormat::Json:
        return VerzugJson(result, 0);
    case TOutputFormat::Text:
        return VerzugText(result, table);
    }
    return QString();
}

QString ErrorRow(TOutputFormat format, TCommand command, int line, const QString &reason) {
    switch (format) {
    case TOutputFormat::Csv:
        return CsvLine(line) +
               QString(command == TCommand::Zinsen ? 4 : 8, u';') + CsvField(reason) +
               QStringLiteral("\r\n");
    case TOutputFormat::Json:
        return u'{' + JsonLine(line) + JsonKey("fehler") + JsonString(reason) +
               QStringLiteral("}\n");
    case TOutputFormat::Text:
        return TextLine(line) + QStringLiteral("Fehler: ") + reason + u'\n';
    }
    return QString();
}

QString BaseRateAnswer(TOutputFormat format, TDateTime day, const TBaseRate &rate,
                       const TBaseRateTable &table) {
    const QString own = rate.User ? QStringLiteral("ja") : QStringLiteral("nein");
    switch (format) {
    case TOutputFormat::Csv:
        return QStringLiteral("datum;basiszinssatz;ab;eigener;bis\r\n") + FormatDayDate(day) +
               Sep + FormatBasisPoints(rate.Rate) + Sep + FormatDayDate(rate.From) + Sep + own +
               Sep + FormatDayDate(table.Reach()) + QStringLiteral("\r\n");
    case TOutputFormat::Json:
        return u'{' + JsonKey("datum") + JsonString(IsoDate(day)) + JsonSep +
               JsonKey("basiszinssatz") + JsonRate(rate.Rate) + JsonSep + JsonKey("ab") +
               JsonString(IsoDate(rate.From)) + JsonSep + JsonKey("eigener") +
               (rate.User ? QStringLiteral("true") : QStringLiteral("false")) + JsonSep +
               JsonKey("bis") + JsonString(IsoDate(table.Reach())) + QStringLiteral("}\n");
    case TOutputFormat::Text:
        return QStringLiteral("Basiszinssatz am %1: %2 % (ab %3%4)\n%5\n")
            .arg(FormatDayDate(day), FormatBasisPoints(rate.Rate), FormatDayDate(rate.From),
                 rate.User ? QStringLiteral(", vom Benutzer eingetragen") : QString(),
                 BaseRateReachText(table));
    }
    return QString();
}

QString ImportAnswer(TOutputFormat format, const QString &path, int changed,
                     const TBaseRateTable &table) {
    switch (format) {
    case TOutputFormat::Csv:
        return QStringLiteral("datei;geaendert;bis\r\n") + CsvField(path) + Sep +
               QString::number(changed) + Sep + FormatDayDate(table.Reach()) +
               QStringLiteral("\r\n");
    case TOutputFormat::Json:
        return u'{' + JsonKey("datei") + JsonString(path) + JsonSep + JsonKey("geaendert") +
               QString::number(changed) + JsonSep + JsonKey("bis") +
               JsonString(IsoDate(table.Reach())) + QStringLiteral("}\n");
    case TOutputFormat::Text:
        return ImportReportText(path, changed) + u'\n' + BaseRateReachText(table) + u'\n';
    }
    return QString();
}

QString CsvField(const QString &text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    return u'"' + quoted.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString JsonString(const QString &text) {
    QString json;
    json.reserve(text.size() + 2);
    json += u'"';
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            json += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            json += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            json += c;
    }
    return json + u'"';
}

QString IsoDate(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    if (y == 0) return QString();
    return QStringLiteral("%1-%2-%3")
        .arg(y, 4, 10, QChar(u'0'))
        .arg(m, 2, 10, QChar(u'0'))
        .arg(d, 2, 10, QChar(u'0'));
}
