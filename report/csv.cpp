#include "report/csv.h"

#include "report/echo.h"

QString CsvField(QStringView text, QChar separator) {
    QString field = Visible(text, true);
    if (!field.contains(separator) && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString CsvRow(const QStringList &fields, QChar separator) {
    QString row;
    for (const QString &field : fields) {
        if (&field != &fields.front()) row += separator;
        row += CsvField(field, separator);
    }
    return row + QStringLiteral("\r\n");
}

QByteArray CsvFile(const QList<QStringList> &grid) {
    QString text;
    for (const QStringList &line : grid)
        text += CsvRow(line);
    return QByteArray(Utf8ByteOrderMark) + text.toUtf8();
}

QString TabText(const QList<QStringList> &grid) {
    QString text;
    for (const QStringList &line : grid)
        text += line.join(u'\t') + u'\n';
    return text;
}
