#include "cli/output.h"

#include "engine/baseratestore.h"
#include "engine/baserateupdate.h"
#include "platform/base/fixedpoint.h"
#include "platform/base/numtext.h"
#include "report/amounts.h"
#include "report/csv.h"
#include "report/echo.h"
#include "report/json.h"
#include "report/ruletexts.h"
#include "report/statement.h"

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

// A batch row begins with its carried cells and its line: {"eingabe": {...}, "zeile": 7, ...},
// "R-17;7;...", "R-17    7  ...".
void AppendJsonStart(QString &out, qint64 line, QStringView carried = {}) {
    out += u'{';
    out += carried;
    if (line <= 0) return;
    AppendJsonKey(out, QLatin1StringView("zeile"), true);
    AppendInteger(out, line);
}

void AppendTextLine(QString &out, qint64 line) {
    if (line <= 0) return;
    AppendPadded(out, QString::number(line), 5, true);
    out += QLatin1StringView("  ");
}

void AppendCsvLine(QString &out, qint64 line) {
    if (line <= 0) return;
    AppendInteger(out, line);
    out += u';';
}

void AppendRateField(QString &out, const char *key, bool has, TBasisPoints value) {
    AppendJsonKey(out, QLatin1StringView(key));
    if (has)
        AppendJsonCents(out, value);
    else
        out += QLatin1StringView("null");
}

// Rows are built straight in UTF-8. Their figures are ASCII, so that a byte is a character
// where a column is padded.
void PutPadded(TByteText &out, qsizetype from, qsizetype width, bool right) {
    const qsizetype fill = width - (out.Size() - from);
    if (right)
        out.InsertSpaces(from, fill);
    else
        out.AppendSpaces(fill);
}

void PutTextLine(TByteText &out, qint64 line) {
    if (line <= 0) return;
    const qsizetype from = out.Size();
    AppendInteger(out, line);
    PutPadded(out, from, 5, true);
    out += "  ";
}

void PutCsvLine(TByteText &out, qint64 line) {
    if (line <= 0) return;
    AppendInteger(out, line);
    out += ';';
}

void PutJsonStart(TByteText &out, qint64 line, QByteArrayView carried) {
    out += '{';
    out += carried;
    if (line <= 0) return;
    AppendJsonKey(out, QLatin1StringView("zeile"), true);
    AppendInteger(out, line);
}

QByteArrayView FormulaKey(int code) {
    switch (code) {
    case fcEuro:
        return "euro";
    case fcDeutsche:
        return "deutsche";
    case fcEnglische:
        return "englische";
    default:
        return {};
    }
}

// The interest as the bar shows it, with the separator of the format.
void PutInterest(TByteText &out, const TInterestFigures &figures, char decimal) {
    if (figures.Hundredths)
        AppendHundredths(out, *figures.Hundredths, decimal);
    else
        out += FormatFixed(figures.Amount, 2, QLatin1Char(decimal)).toLatin1();
}

// "( 59 / 60 Tage )"
void PutDayLabel(TByteText &out, const TInterestFigures &figures) {
    out += "( ";
    AppendInteger(out, figures.Difference);
    out += " / ";
    AppendInteger(out, figures.Days);
    out += " Tage )";
}

void PutZinsenText(TByteText &out, const TZinsenResult &result, qint64 line,
                   QByteArrayView carried) {
    out += carried;
    PutTextLine(out, line);
    if (line == 0) {
        PutDayLabel(out, result.Figures);
        out += "  ";
        PutInterest(out, result.Figures, ',');
        out += '\n';
        return;
    }
    qsizetype from = out.Size();
    PutDayLabel(out, result.Figures);
    PutPadded(out, from, 24, false);
    from = out.Size();
    PutInterest(out, result.Figures, ',');
    PutPadded(out, from, 16, true);
    out += "  ";
    out += FormulaKey(result.Code);
    out += '\n';
}

void PutZinsenCsv(TByteText &out, const TZinsenResult &result, qint64 line,
                  QByteArrayView carried) {
    out += carried;
    PutCsvLine(out, line);
    AppendInteger(out, result.Figures.Difference);
    out += ';';
    AppendInteger(out, result.Figures.Days);
    out += ';';
    PutInterest(out, result.Figures, ',');
    out += ';';
    out += FormulaKey(result.Code);
    out += line > 0 ? ";\r\n" : "\r\n";
}

void PutZinsenJson(TByteText &out, const TZinsenResult &result, qint64 line,
                   QByteArrayView carried) {
    PutJsonStart(out, line, carried);
    AppendJsonKey(out, QLatin1StringView("tage"), line <= 0);
    AppendInteger(out, result.Figures.Difference);
    AppendJsonKey(out, QLatin1StringView("zinstage"));
    AppendInteger(out, result.Figures.Days);
    AppendJsonKey(out, QLatin1StringView("zinsen"));
    out += '"';
    PutInterest(out, result.Figures, '.');
    out += '"';
    AppendJsonKey(out, QLatin1StringView("formel"));
    out += '"';
    out += FormulaKey(result.Code);
    out += "\"}\n";
}

// `, "key": "2.27"`, or null for a rate the row has not.
void PutRateField(TByteText &out, QByteArrayView key, bool has, TBasisPoints value) {
    out += key;
    if (has)
        AppendJsonCents(out, value);
    else
        out += "null";
}

// {"von": "2024-01-01", "bis": ..., "zinsen": "12.34"}: the keys written as the pieces
// between the values.
void PutJsonPeriod(TByteText &out, const TInterestRow &row) {
    out += "{\"von\": \"";
    AppendIsoDate(out, row.From);
    out += "\", \"bis\": \"";
    AppendIsoDate(out, row.To);
    out += "\", \"tage\": ";
    AppendInteger(out, row.Days);
    PutRateField(out, ", \"basiszinssatz\": ", row.HasBaseRate, row.BaseRate);
    PutRateField(out, ", \"aufschlag\": ", row.HasBaseRate, row.Margin);
    PutRateField(out, ", \"zinssatz\": ", true, row.Rate);
    out += ", \"zinsen\": ";
    AppendJsonCents(out, row.Interest);
    out += '}';
}

void PutVerzugJson(TByteText &out, const TDefaultInterestStatement &verzug, qint64 line,
                   QByteArrayView carried) {
    const TDefaultInterest &r = verzug.Result;
    PutJsonStart(out, line, carried);
    AppendJsonKey(out, QLatin1StringView("perioden"), line <= 0);
    out += '[';
    for (const TInterestRow &row : r.Rows) {
        if (&row != &r.Rows.front()) out += ", ";
        PutJsonPeriod(out, row);
    }
    out += ']';
    const std::pair<const char *, TCents> sums[] = {{"summe", r.Interest},
                                                    {"je_tag", r.PerDay},
                                                    {"pauschale", r.FlatFee},
                                                    {"forderung", r.Claim},
                                                    {"gesamt", r.Total}};
    for (const auto &[key, value] : sums) {
        AppendJsonKey(out, QLatin1StringView(key));
        AppendJsonCents(out, value);
    }
    out += "}\n";
}

void PutVerzugCsv(TByteText &out, const TDefaultInterest &r, qint64 line, QByteArrayView carried) {
    out += carried;
    PutCsvLine(out, line);
    AppendPlainCents(out, r.Claim, ',');
    out += ';';
    AppendDayDate(out, r.Rows.front().From);
    out += ';';
    AppendDayDate(out, r.Rows.back().To);
    out += ';';
    AppendInteger(out, qint64(r.Rows.size()));
    for (TCents sum : {r.Interest, r.FlatFee, r.Total, r.PerDay}) {
        out += ';';
        AppendPlainCents(out, sum, ',');
    }
    out += ";\r\n";
}

void PutVerzugText(TByteText &out, const TDefaultInterest &r, qint64 line, QByteArrayView carried) {
    out += carried;
    PutTextLine(out, line);
    const std::pair<TCents, qsizetype> cells[] = {
        {r.Claim, 18}, {r.Interest, 16}, {r.FlatFee, 12}, {r.Total, 20}, {r.PerDay, 12}};
    for (const auto &[value, width] : cells) {
        const qsizetype from = out.Size();
        AppendGermanCents(out, value);
        PutPadded(out, from, width, true);
    }
    out += '\n';
}

QString CsvPeriod(const TInterestRow &row) {
    const QString base = row.HasBaseRate ? PlainRate(row.BaseRate, u',') : QString();
    const QString margin = row.HasBaseRate ? PlainRate(row.Margin, u',') : QString();
    return FormatDayDate(row.From) + u';' + FormatDayDate(row.To) + u';' +
           QString::number(row.Days) + u';' + base + u';' + margin + u';' +
           PlainRate(row.Rate, u',') + u';' + PlainCents(row.Interest, u',') + u"\r\n";
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
        csv += QLatin1String(label) + QStringLiteral(";;;;;;") + PlainCents(value, u',') +
               QStringLiteral("\r\n");
    return csv;
}

QString AlignedTable(const QList<QStringList> &rows) {
    QList<qsizetype> widths(StatementColumns, 0);
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

QString AlignedLines(const QList<TTextLine> &lines, bool rightValues) {
    qsizetype label = 0, value = 0;
    for (const TTextLine &line : lines) {
        label = std::max(label, line.Label.size() + 1);
        value = std::max(value, line.Value.size());
    }
    QString text;
    for (const TTextLine &line : lines)
        text += Padded(line.Label + u':', label, false) + QStringLiteral("  ") +
                Padded(line.Value, rightValues ? value : 0, rightValues) + u'\n';
    return text;
}

QString VerzugText(const TDefaultInterestStatement &statement) {
    const TDefaultInterest &result = statement.Result;
    QList<QStringList> rows{StatementHeader()};
    for (const TInterestRow &row : result.Rows) {
        QStringList cells;
        for (int column = 0; column < StatementColumns; ++column)
            cells << PeriodCell(row, column);
        rows << cells;
    }
    QString text = AlignedLines(InputLines(statement.Input, result), false) + u'\n' +
                   AlignedTable(rows) + u'\n' + AlignedLines(SumLines(result), true) + u'\n' +
                   RulesText(statement.Input) + u'\n';
    if (HasUserRate(result)) text += UserRateNote(result) + u'\n';
    const QString reach = ReachText(statement.Reach, statement.Input.Law);
    return reach.isEmpty() ? text : text + reach + u'\n';
}

} // namespace

void TOutputStream::Write(const QString &text) {
    Write(text.toUtf8());
}

void TOutputStream::Write(QByteArrayView utf8) {
    if (FFailed || utf8.isEmpty()) return;
    if (FBuffer.size() + utf8.size() < FlushSize) {
        FBuffer += utf8;
        return;
    }
    if (!Flush()) return;
    FFailed = FDevice.write(utf8.data(), utf8.size()) != utf8.size();
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

void AppendZinsenRow(TByteText &out, TOutputFormat format, const TZinsenResult &result, qint64 line,
                     QByteArrayView carried) {
    switch (format) {
    case TOutputFormat::Csv:
        return PutZinsenCsv(out, result, line, carried);
    case TOutputFormat::Json:
        return PutZinsenJson(out, result, line, carried);
    case TOutputFormat::Text:
        return PutZinsenText(out, result, line, carried);
    }
}

QString ZinsenRow(TOutputFormat format, const TZinsenResult &result, qint64 line,
                  QStringView carried) {
    TByteText row;
    AppendZinsenRow(row, format, result, line, carried.toUtf8());
    return QString::fromUtf8(row.View());
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

void AppendVerzugRow(TByteText &out, TOutputFormat format, const TDefaultInterestStatement &verzug,
                     qint64 line, QByteArrayView carried) {
    switch (format) {
    case TOutputFormat::Csv:
        return PutVerzugCsv(out, verzug.Result, line, carried);
    case TOutputFormat::Json:
        return PutVerzugJson(out, verzug, line, carried);
    case TOutputFormat::Text:
        return PutVerzugText(out, verzug.Result, line, carried);
    }
}

QString VerzugRow(TOutputFormat format, const TDefaultInterestStatement &verzug, qint64 line,
                  QStringView carried) {
    TByteText row;
    AppendVerzugRow(row, format, verzug, line, carried.toUtf8());
    return QString::fromUtf8(row.View());
}

QString VerzugStatement(TOutputFormat format, const TDefaultInterestStatement &result) {
    switch (format) {
    case TOutputFormat::Csv:
        return VerzugCsv(result.Result);
    case TOutputFormat::Json:
        return VerzugRow(format, result, 0);
    case TOutputFormat::Text:
        return VerzugText(result);
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
        AppendJsonKey(row, QLatin1StringView("fehler"), line <= 0);
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
               GermanRate(rate.Rate) + u';' + FormatDayDate(rate.From) + u';' +
               (rate.User ? u"ja" : u"nein") + u';' + FormatDayDate(table.Reach()) + u"\r\n";
    case TOutputFormat::Json:
        AppendJsonStart(out, 0);
        AppendJsonKey(out, QLatin1StringView("datum"), true);
        AppendJsonString(out, FormatIsoDate(day));
        AppendRateField(out, "basiszinssatz", true, rate.Rate);
        AppendJsonKey(out, QLatin1StringView("ab"));
        AppendJsonString(out, FormatIsoDate(rate.From));
        AppendJsonKey(out, QLatin1StringView("eigener"));
        out += rate.User ? QLatin1StringView("true") : QLatin1StringView("false");
        AppendJsonKey(out, QLatin1StringView("bis"));
        AppendJsonString(out, FormatIsoDate(table.Reach()));
        return out + u"}\n";
    case TOutputFormat::Text:
        return QStringLiteral("Basiszinssatz am %1: %2 % (ab %3%4)\n%5\n")
            .arg(FormatDayDate(day), GermanRate(rate.Rate), FormatDayDate(rate.From),
                 rate.User ? QStringLiteral(", vom Benutzer eingetragen") : QString(),
                 ReachText(table.Reach()));
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
        AppendJsonKey(out, QLatin1StringView("datei"), true);
        AppendJsonString(out, path);
        AppendJsonKey(out, QLatin1StringView("geaendert"));
        AppendInteger(out, changed);
        AppendJsonKey(out, QLatin1StringView("bis"));
        AppendJsonString(out, FormatIsoDate(table.Reach()));
        return out + u"}\n";
    case TOutputFormat::Text:
        return Visible(ImportReportText(path, changed)) + u'\n' + ReachText(table.Reach()) + u'\n';
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
            out += FormatDayDate(change.From) + u';' + GermanRate(change.Rate) + u';' +
                   (change.Before ? GermanRate(*change.Before) : QString()) + u"\r\n";
        return out;
    case TOutputFormat::Json:
        AppendJsonStart(out, 0);
        AppendJsonKey(out, QLatin1StringView("adresse"), true);
        AppendJsonString(out, url);
        AppendJsonKey(out, QLatin1StringView("geaendert"));
        out += u'[';
        for (const TRateChange &change : changes) {
            out += &change == &changes.front() ? u"{" : u", {";
            AppendJsonKey(out, QLatin1StringView("ab"), true);
            AppendJsonString(out, FormatIsoDate(change.From));
            AppendRateField(out, "basiszinssatz", true, change.Rate);
            AppendRateField(out, "bisher", change.Before.has_value(), change.Before.value_or(0));
            out += u'}';
        }
        out += u']';
        AppendJsonKey(out, QLatin1StringView("bis"));
        AppendJsonString(out, FormatIsoDate(table.Reach()));
        return out + u"}\n";
    case TOutputFormat::Text:
        return UpdateReportText(changes) + u'\n' + ReachText(table.Reach()) + u'\n';
    }
    return out;
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
        AppendJsonKey(out, QLatin1StringView("eingabe"), true);
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
