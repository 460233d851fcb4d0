#include "cli/output.h"

#include "cli/echo.h"

#include "engine/baseratestore.h"
#include "engine/baserateupdate.h"
#include "engine/fixedtext.h"
#include "engine/statement.h"

#include <QHash>
#include <QIODevice>

namespace {

// Large enough that a million rows go out in few writes, small enough to stay out of the way.
constexpr qsizetype FlushSize = 1 << 20;

void AppendPadded(QString &out, QStringView text, qsizetype width, bool right) {
    const qsizetype fill = std::max<qsizetype>(0, width - text.size());
    if (right) out.resize(out.size() + fill, u' ');
    out += text;
    if (!right) out.resize(out.size() + fill, u' ');
}

QString Padded(const QString &text, qsizetype width, bool right) {
    QString out;
    AppendPadded(out, text, width, right);
    return out;
}

// Digits straight into the row: a batch writes millions of small numbers.
void AppendNumber(QString &out, qint64 value) {
    char16_t digits[20];
    int count = 0;
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        digits[count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0) out += u'-';
    while (count > 0)
        out += QChar(digits[--count]);
}

// Hundredths with two decimals and no grouping, as FormatCents(value, decimal, QChar()).
void AppendFixed2(QString &out, qint64 value, QChar decimal) {
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    if (value < 0) out += u'-';
    AppendNumber(out, qint64(magnitude / 100));
    out += decimal;
    out += QChar(u'0' + int(magnitude % 100 / 10));
    out += QChar(u'0' + int(magnitude % 10));
}

void AppendIsoDate(QString &out, TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    if (y == 0) return;
    const char16_t text[] = {char16_t(u'0' + y / 1000),
                             char16_t(u'0' + y / 100 % 10),
                             char16_t(u'0' + y / 10 % 10),
                             char16_t(u'0' + y % 10),
                             u'-',
                             char16_t(u'0' + m / 10),
                             char16_t(u'0' + m % 10),
                             u'-',
                             char16_t(u'0' + d / 10),
                             char16_t(u'0' + d % 10)};
    out += QStringView(text, 10);
}

void AppendKey(QString &out, QLatin1StringView key, bool first = false) {
    if (!first) out += QLatin1StringView(", ");
    out += u'"';
    out += key;
    out += QLatin1StringView("\": ");
}

void AppendJsonString(QString &out, QStringView text) {
    out += u'"';
    for (QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if ((c.unicode() < 0x20 || c.unicode() >= 0x7f) && Unsafe(c.unicode())) {
            // Lossless, and nothing a terminal or a line reader would act on.
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    out += u'"';
}

void AppendJsonFixed2(QString &out, qint64 value) {
    out += u'"';
    AppendFixed2(out, value, u'.');
    out += u'"';
}

// The bar's fixed text with its decimal comma, as JSON's decimal point.
void AppendJsonPoint(QString &out, QStringView text) {
    out += u'"';
    for (QChar c : text)
        out += c == u',' ? QChar(u'.') : c;
    out += u'"';
}

// A batch row begins with its carried cells and its line: {"eingabe": {...}, "zeile": 7, ...},
// "R-17;7;...", "R-17    7  ...".
void AppendJsonStart(QString &out, qint64 line, QStringView carried = {}) {
    out += u'{';
    out += carried;
    if (line <= 0) return;
    AppendKey(out, QLatin1StringView("zeile"), true);
    AppendNumber(out, line);
}

void AppendTextLine(QString &out, qint64 line) {
    if (line <= 0) return;
    AppendPadded(out, QString::number(line), 5, true);
    out += QLatin1StringView("  ");
}

void AppendCsvLine(QString &out, qint64 line) {
    if (line <= 0) return;
    AppendNumber(out, line);
    out += u';';
}

QString ZinsenText(const TZinsenResult &result, qint64 line, QStringView carried) {
    QString row;
    row.reserve(72 + carried.size());
    row += carried;
    AppendTextLine(row, line);
    if (line == 0) return row + result.Text.DayLabel + u"  " + result.Text.Interest + u'\n';
    AppendPadded(row, result.Text.DayLabel, 24, false);
    AppendPadded(row, result.Text.Interest, 16, true);
    row += QLatin1StringView("  ");
    row += FormulaName(result.Code);
    row += u'\n';
    return row;
}

QString ZinsenCsv(const TZinsenResult &result, qint64 line, QStringView carried) {
    QString row;
    row.reserve(48 + carried.size());
    row += carried;
    AppendCsvLine(row, line);
    AppendNumber(row, result.Text.Difference);
    row += u';';
    AppendNumber(row, result.Text.Days);
    row += u';';
    row += result.Text.Interest;
    row += u';';
    row += FormulaName(result.Code);
    row += line > 0 ? QLatin1StringView(";\r\n") : QLatin1StringView("\r\n");
    return row;
}

QString ZinsenJson(const TZinsenResult &result, qint64 line, QStringView carried) {
    QString row;
    row.reserve(96 + carried.size());
    AppendJsonStart(row, line, carried);
    AppendKey(row, QLatin1StringView("tage"), line <= 0);
    AppendNumber(row, result.Text.Difference);
    AppendKey(row, QLatin1StringView("zinstage"));
    AppendNumber(row, result.Text.Days);
    AppendKey(row, QLatin1StringView("zinsen"));
    AppendJsonPoint(row, result.Text.Interest);
    AppendKey(row, QLatin1StringView("formel"));
    AppendJsonString(row, FormulaName(result.Code));
    row += QLatin1StringView("}\n");
    return row;
}

void AppendJsonRate(QString &out, const char *key, bool has, TBasisPoints value) {
    AppendKey(out, QLatin1StringView(key));
    if (has)
        AppendJsonFixed2(out, value);
    else
        out += QLatin1StringView("null");
}

void AppendJsonPeriod(QString &out, const TInterestRow &row) {
    out += u'{';
    AppendKey(out, QLatin1StringView("von"), true);
    out += u'"';
    AppendIsoDate(out, row.From);
    out += u'"';
    AppendKey(out, QLatin1StringView("bis"));
    out += u'"';
    AppendIsoDate(out, row.To);
    out += u'"';
    AppendKey(out, QLatin1StringView("tage"));
    AppendNumber(out, row.Days);
    AppendJsonRate(out, "basiszinssatz", row.HasBaseRate, row.BaseRate);
    AppendJsonRate(out, "aufschlag", row.HasBaseRate, row.Margin);
    AppendJsonRate(out, "zinssatz", true, row.Rate);
    AppendKey(out, QLatin1StringView("zinsen"));
    AppendJsonFixed2(out, row.Interest);
    out += u'}';
}

QString VerzugJson(const TVerzugResult &verzug, qint64 line, QStringView carried) {
    const TDefaultInterest &r = verzug.Result;
    QString out;
    out.reserve(256 + 200 * r.Rows.size() + carried.size());
    AppendJsonStart(out, line, carried);
    AppendKey(out, QLatin1StringView("perioden"), line <= 0);
    out += u'[';
    for (const TInterestRow &row : r.Rows) {
        if (&row != &r.Rows.front()) out += QLatin1StringView(", ");
        AppendJsonPeriod(out, row);
    }
    out += u']';
    const std::pair<const char *, TCents> sums[] = {{"summe", r.Interest},
                                                    {"je_tag", r.PerDay},
                                                    {"pauschale", r.FlatFee},
                                                    {"forderung", r.Claim},
                                                    {"gesamt", r.Total}};
    for (const auto &[key, value] : sums) {
        AppendKey(out, QLatin1StringView(key));
        AppendJsonFixed2(out, value);
    }
    out += QLatin1StringView("}\n");
    return out;
}

QString CsvCents(TCents value) {
    QString text;
    AppendFixed2(text, value, u',');
    return text;
}

QString CsvPeriod(const TInterestRow &row) {
    const QString base = row.HasBaseRate ? FormatBasisPoints(row.BaseRate) : QString();
    const QString margin = row.HasBaseRate ? FormatBasisPoints(row.Margin) : QString();
    return FormatDayDate(row.From) + u';' + FormatDayDate(row.To) + u';' +
           QString::number(row.Days) + u';' + base + u';' + margin + u';' +
           FormatBasisPoints(row.Rate) + u';' + CsvCents(row.Interest) + u"\r\n";
}

// The periods under the header, then each sum labelled in the first column and standing in
// the interest's, as the window's CSV export has it.
QString VerzugCsv(const TDefaultInterest &r) {
    QString csv = QStringLiteral("von;bis;tage;basiszinssatz;aufschlag;zinssatz;zinsen\r\n");
    for (const TInterestRow &row : r.Rows)
        csv += CsvPeriod(row);
    const std::pair<const char *, TCents> sums[] = {{"forderung", r.Claim},
                                                    {"summe", r.Interest},
                                                    {"pauschale", r.FlatFee},
                                                    {"gesamt", r.Total},
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
    Write(text.toUtf8());
}

void TOutputStream::Write(const QByteArray &utf8) {
    if (FFailed) return;
    FBuffer += utf8;
    if (FBuffer.size() >= FlushSize) Flush();
}

bool TOutputStream::Flush() {
    if (!FFailed && !FBuffer.isEmpty()) FFailed = FDevice.write(FBuffer) != FBuffer.size();
    FBuffer.truncate(0); // keeps its room for the next piece
    return !FFailed;
}

QString TOutputStream::FailReason() const {
    // The program's devices say why in German (TDescriptorDevice).
    const QString reason = FDevice.errorString();
    return reason.isEmpty() ? QStringLiteral("Schreibfehler") : reason;
}

QString ZinsenHeader(TOutputFormat format, bool batch, const QString &carried) {
    switch (format) {
    case TOutputFormat::Csv:
        return batch ? carried + QStringLiteral("zeile;tage;zinstage;zinsen;formel;fehler\r\n")
                     : QStringLiteral("tage;zinstage;zinsen;formel\r\n");
    case TOutputFormat::Text:
        if (!batch) return QString();
        return carried + Padded(QStringLiteral("Zeile"), 5, true) + QStringLiteral("  ") +
               Padded(QStringLiteral("Tage / Zinstage"), 24, false) +
               Padded(QStringLiteral("Zinsen"), 16, true) + QStringLiteral("  Zinsformel\n");
    case TOutputFormat::Json:
        return QString();
    }
    return QString();
}

QString ZinsenRow(TOutputFormat format, const TZinsenResult &result, qint64 line,
                  QStringView carried) {
    switch (format) {
    case TOutputFormat::Csv:
        return ZinsenCsv(result, line, carried);
    case TOutputFormat::Json:
        return ZinsenJson(result, line, carried);
    case TOutputFormat::Text:
        return ZinsenText(result, line, carried);
    }
    return QString();
}

QString VerzugHeader(TOutputFormat format, const QString &carried) {
    switch (format) {
    case TOutputFormat::Csv:
        return carried +
               QStringLiteral(
                   "zeile;forderung;von;bis;perioden;summe;pauschale;gesamt;je_tag;fehler\r\n");
    case TOutputFormat::Text:
        return carried + Padded(QStringLiteral("Zeile"), 5, true) + QStringLiteral("  ") +
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

QString VerzugRow(TOutputFormat format, const TVerzugResult &verzug, qint64 line,
                  QStringView carried) {
    const TDefaultInterest &r = verzug.Result;
    QString row;
    switch (format) {
    case TOutputFormat::Csv:
        row += carried;
        AppendCsvLine(row, line);
        row += CsvCents(r.Claim) + u';' + FormatDayDate(r.Rows.front().From) + u';' +
               FormatDayDate(r.Rows.back().To) + u';' + QString::number(r.Rows.size());
        for (TCents sum : {r.Interest, r.FlatFee, r.Total, r.PerDay})
            row += u';' + CsvCents(sum);
        return row + u";\r\n";
    case TOutputFormat::Json:
        return VerzugJson(verzug, line, carried);
    case TOutputFormat::Text:
        row += carried;
        AppendTextLine(row, line);
        AppendPadded(row, FormatCents(r.Claim), 18, true);
        AppendPadded(row, FormatCents(r.Interest), 16, true);
        AppendPadded(row, FormatCents(r.FlatFee), 12, true);
        AppendPadded(row, FormatCents(r.Total), 20, true);
        AppendPadded(row, FormatCents(r.PerDay), 12, true);
        return row + u'\n';
    }
    return row;
}

QString VerzugStatement(TOutputFormat format, const TVerzugResult &result,
                        const TBaseRateTable &table) {
    switch (format) {
    case TOutputFormat::Csv:
        return VerzugCsv(result.Result);
    case TOutputFormat::Json:
        return VerzugJson(result, 0, {});
    case TOutputFormat::Text:
        return VerzugText(result, table);
    }
    return QString();
}

// The reason is shown whole on its line, whatever it quotes.
QString ErrorRow(TOutputFormat format, TCommand command, qint64 line, const QString &reason,
                 QStringView carried) {
    QString row;
    switch (format) {
    case TOutputFormat::Csv:
        row += carried;
        AppendCsvLine(row, line);
        return row + QString(command == TCommand::Zinsen ? 4 : 8, u';') +
               CsvField(Visible(reason)) + u"\r\n";
    case TOutputFormat::Json:
        AppendJsonStart(row, line, carried);
        AppendKey(row, QLatin1StringView("fehler"), line <= 0);
        AppendJsonString(row, Visible(reason));
        return row + u"}\n";
    case TOutputFormat::Text:
        row += carried;
        AppendTextLine(row, line);
        return row + u"Fehler: " + Visible(reason) + u'\n';
    }
    return row;
}

QString BaseRateAnswer(TOutputFormat format, TDateTime day, const TBaseRate &rate,
                       const TBaseRateTable &table) {
    QString out;
    switch (format) {
    case TOutputFormat::Csv:
        return u"datum;basiszinssatz;ab;eigener;bis\r\n" + FormatDayDate(day) + u';' +
               FormatBasisPoints(rate.Rate) + u';' + FormatDayDate(rate.From) + u';' +
               (rate.User ? u"ja" : u"nein") + u';' + FormatDayDate(table.Reach()) + u"\r\n";
    case TOutputFormat::Json:
        AppendJsonStart(out, 0);
        AppendKey(out, QLatin1StringView("datum"), true);
        AppendJsonString(out, IsoDate(day));
        AppendJsonRate(out, "basiszinssatz", true, rate.Rate);
        AppendKey(out, QLatin1StringView("ab"));
        AppendJsonString(out, IsoDate(rate.From));
        AppendKey(out, QLatin1StringView("eigener"));
        out += rate.User ? QLatin1StringView("true") : QLatin1StringView("false");
        AppendKey(out, QLatin1StringView("bis"));
        AppendJsonString(out, IsoDate(table.Reach()));
        return out + u"}\n";
    case TOutputFormat::Text:
        return QStringLiteral("Basiszinssatz am %1: %2 % (ab %3%4)\n%5\n")
            .arg(FormatDayDate(day), FormatBasisPoints(rate.Rate), FormatDayDate(rate.From),
                 rate.User ? QStringLiteral(", vom Benutzer eingetragen") : QString(),
                 BaseRateReachText(table));
    }
    return out;
}

QString ImportAnswer(TOutputFormat format, const QString &path, int changed,
                     const TBaseRateTable &table) {
    QString out;
    switch (format) {
    case TOutputFormat::Csv:
        return u"datei;geaendert;bis\r\n" + CsvField(path) + u';' + QString::number(changed) +
               u';' + FormatDayDate(table.Reach()) + u"\r\n";
    case TOutputFormat::Json:
        AppendJsonStart(out, 0);
        AppendKey(out, QLatin1StringView("datei"), true);
        AppendJsonString(out, path);
        AppendKey(out, QLatin1StringView("geaendert"));
        AppendNumber(out, changed);
        AppendKey(out, QLatin1StringView("bis"));
        AppendJsonString(out, IsoDate(table.Reach()));
        return out + u"}\n";
    case TOutputFormat::Text:
        return Visible(ImportReportText(path, changed)) + u'\n' + BaseRateReachText(table) + u'\n';
    }
    return out;
}

QString UpdateAnswer(TOutputFormat format, const QString &url,
                     const std::vector<TRateChange> &changes, const TBaseRateTable &table) {
    QString out;
    switch (format) {
    case TOutputFormat::Csv:
        out = QStringLiteral("ab;basiszinssatz;bisher\r\n");
        for (const TRateChange &change : changes)
            out += FormatDayDate(change.From) + u';' + FormatBasisPoints(change.Rate) + u';' +
                   (change.Before ? FormatBasisPoints(*change.Before) : QString()) + u"\r\n";
        return out;
    case TOutputFormat::Json:
        AppendJsonStart(out, 0);
        AppendKey(out, QLatin1StringView("adresse"), true);
        AppendJsonString(out, url);
        AppendKey(out, QLatin1StringView("geaendert"));
        out += u'[';
        for (const TRateChange &change : changes) {
            out += &change == &changes.front() ? u"{" : u", {";
            AppendKey(out, QLatin1StringView("ab"), true);
            AppendJsonString(out, IsoDate(change.From));
            AppendJsonRate(out, "basiszinssatz", true, change.Rate);
            AppendJsonRate(out, "bisher", change.Before.has_value(), change.Before.value_or(0));
            out += u'}';
        }
        out += u']';
        AppendKey(out, QLatin1StringView("bis"));
        AppendJsonString(out, IsoDate(table.Reach()));
        return out + u"}\n";
    case TOutputFormat::Text:
        return UpdateReportText(changes) + u'\n' + BaseRateReachText(table) + u'\n';
    }
    return out;
}

QString CsvField(const QString &text) {
    QString field = Visible(text, true);
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

TCarriedColumns CarriedColumns(const QStringList &names, const QList<int> &numbers) {
    TCarriedColumns columns{names, {}, {}};
    QHash<QString, int> uses;
    for (const QString &name : names)
        ++uses[name];
    for (qsizetype i = 0; i < names.size(); ++i) {
        columns.Keys << (names[i].trimmed().isEmpty() || uses.value(names[i]) > 1
                             ? QStringLiteral("spalte_%1").arg(numbers.value(i))
                             : names[i]);
        columns.Widths << Visible(names[i]).size();
    }
    return columns;
}

QString CarriedHeader(TOutputFormat format, const TCarriedColumns &columns) {
    QString header;
    for (const QString &name : columns.Names) {
        if (format == TOutputFormat::Csv) header += CsvField(name) + u';';
        if (format == TOutputFormat::Text) header += Visible(name) + u"  ";
    }
    return header;
}

QString CarriedCells(TOutputFormat format, const TCarriedColumns &columns,
                     const QList<QString> &cells) {
    QString out;
    if (columns.IsEmpty()) return out;
    if (format == TOutputFormat::Json) {
        AppendKey(out, QLatin1StringView("eingabe"), true);
        out += u'{';
    }
    for (qsizetype i = 0; i < columns.Names.size(); ++i) {
        const QString cell = cells.value(i);
        switch (format) {
        case TOutputFormat::Csv:
            out += CsvField(cell) + u';';
            break;
        case TOutputFormat::Text:
            AppendPadded(out, Visible(cell), columns.Widths[i], false);
            out += QLatin1StringView("  ");
            break;
        case TOutputFormat::Json:
            if (i > 0) out += QLatin1StringView(", ");
            AppendJsonString(out, columns.Keys[i]);
            out += QLatin1StringView(": ");
            AppendJsonString(out, cell);
            break;
        }
    }
    if (format == TOutputFormat::Json) out += QLatin1StringView("}, ");
    return out;
}

QString JsonString(const QString &text) {
    QString json;
    AppendJsonString(json, text);
    return json;
}

QString IsoDate(TDateTime day) {
    QString text;
    AppendIsoDate(text, day);
    return text;
}
