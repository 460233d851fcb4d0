#include "app/verzugexport.h"

#include "platform/clock.h"
#include "platform/files.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>

namespace {

QString Escaped(const QString &text) {
    return text.toHtmlEscaped();
}

QString Cell(const QString &tag, const QString &text, bool right, const QString &extra = {}) {
    return QStringLiteral("<%1 align=\"%2\"%3>%4</%1>")
        .arg(tag, right ? QStringLiteral("right") : QStringLiteral("left"), extra, Escaped(text));
}

// A field with a semicolon, a quote or a line break is quoted, its quotes doubled.
QString CsvField(const QString &text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n')) return text;
    QString quoted = text;
    return u'"' + quoted.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString Paragraphs(const QStringList &lines) {
    QString html;
    for (const QString &line : lines)
        if (!line.isEmpty()) html += QStringLiteral("<p>%1</p>").arg(Escaped(line));
    return html;
}

// Whether a row uses a base rate of the user's: then every rendering gives the mark a cell of
// its own at the row's end, so that the rate stays a number a spreadsheet reads.
bool HasUserRate(const TStatement &statement) {
    return std::any_of(statement.Rows.begin(), statement.Rows.end(), [](const QStringList &row) {
        return row.value(colBaseRate).endsWith(UserRateMark());
    });
}

QStringList Header(const TStatement &statement) {
    QStringList header = StatementHeader();
    if (HasUserRate(statement)) header.append(QString());
    return header;
}

QStringList RowCells(const TStatement &statement, QStringList row) {
    if (!HasUserRate(statement)) return row;
    QString &rate = row[colBaseRate];
    const bool marked = rate.endsWith(UserRateMark());
    if (marked) rate.chop(UserRateMark().size());
    row.append(marked ? UserRateMark().trimmed() : QString());
    return row;
}

QString PageHtml(const TStatement &statement) {
    return QStringLiteral("<h2>Zinsaufstellung</h2>") + StatementHtml(statement) +
           Paragraphs({statement.Reach, QStringLiteral("Erstellt am %1 mit Tarvo")
                                            .arg(Today().toString(QStringLiteral("dd.MM.yyyy")))});
}

} // namespace

QList<QStringList> StatementGrid(const TStatement &statement) {
    QList<QStringList> grid;
    for (const TStatementLine &input : statement.Inputs)
        grid.append({input.Label, input.Value});
    if (!statement.Inputs.isEmpty()) grid.append(QStringList());
    grid.append(Header(statement));
    for (const QStringList &row : statement.Rows)
        grid.append(RowCells(statement, row));
    grid.append(QStringList());
    for (const TStatementLine &sum : statement.Sums) {
        QStringList line(colInterest + 1);
        line.first() = sum.Label;
        line.last() = sum.Value;
        grid.append(line);
    }
    grid.append(QStringList());
    grid.append({statement.Rules});
    if (!statement.UserRateNote.isEmpty()) grid.append({statement.UserRateNote});
    return grid;
}

QString StatementText(const TStatement &statement) {
    QString text;
    for (const QStringList &line : StatementGrid(statement))
        text += line.join(u'\t') + u'\n';
    return text;
}

QString StatementHtml(const TStatement &statement) {
    QString inputs;
    for (const TStatementLine &line : statement.Inputs)
        inputs += QStringLiteral("<tr><td style=\"padding: 1px 12px 1px 0\">%1:</td>"
                                 "<td style=\"padding: 1px 0\">%2</td></tr>")
                      .arg(Escaped(line.Label), Escaped(line.Value));
    QString html;
    if (!inputs.isEmpty())
        html =
            QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">%1</table><br>").arg(inputs);
    html += QStringLiteral(
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
        "style=\"border-collapse: collapse; border-style: solid; border-color: #888\"><tr>");
    const QStringList header = Header(statement);
    for (int column = 0; column < header.size(); ++column)
        html += Cell(QStringLiteral("th"), header[column], IsNumberColumn(column));
    html += QStringLiteral("</tr>");
    for (const QStringList &row : statement.Rows) {
        html += QStringLiteral("<tr>");
        const QStringList cells = RowCells(statement, row);
        for (int column = 0; column < cells.size(); ++column)
            html += Cell(QStringLiteral("td"), cells[column], IsNumberColumn(column));
        html += QStringLiteral("</tr>");
    }
    const QString span = QStringLiteral(" colspan=\"%1\"").arg(colInterest);
    const QString rest = header.size() > colInterest + 1 ? QStringLiteral("<td></td>") : QString();
    for (const TStatementLine &sum : statement.Sums)
        html += QStringLiteral("<tr>%1%2%3</tr>")
                    .arg(Cell(QStringLiteral("td"), sum.Label, false, span),
                         Cell(QStringLiteral("td"), sum.Value, true), rest);
    return html + QStringLiteral("</table>") +
           Paragraphs({statement.Rules, statement.UserRateNote});
}

QByteArray StatementCsv(const TStatement &statement) {
    QString text;
    for (const QStringList &line : StatementGrid(statement)) {
        QStringList fields;
        for (const QString &cell : line)
            fields.append(CsvField(cell));
        text += fields.join(u';') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void PaintStatement(const TStatement &statement, QPagedPaintDevice &device) {
    QTextDocument document;
    // Laid out in the device's own resolution, so that the point sizes come out as points.
    document.documentLayout()->setPaintDevice(&device);
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setHtml(PageHtml(statement));
    const QSizeF page(device.width(), device.height());
    document.setPageSize(page);
    QPainter painter(&device);
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0) device.newPage();
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
    }
}

QByteArray StatementPdf(const TStatement &statement) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Zinsaufstellung"));
        writer.setCreator(QStringLiteral("Tarvo"));
        PaintStatement(statement, writer);
    }
    return buffer.data();
}

QString WriteExportFile(const QString &path, const QByteArray &data) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    QString reason;
    if (!folder.exists())
        reason = QStringLiteral("Den Ordner „%1“ gibt es nicht.")
                     .arg(QDir::toNativeSeparators(folder.filePath()));
    else if (!folder.isDir())
        reason = QStringLiteral("„%1“ ist kein Ordner.")
                     .arg(QDir::toNativeSeparators(folder.filePath()));
    if (reason.isEmpty()) reason = ReplaceFile(path, data);
    if (reason.isEmpty()) return {};
    return QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
