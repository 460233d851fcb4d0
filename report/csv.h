#pragma once
// CSV by RFC 4180, for every CSV Tarvo writes: a field is quoted where it holds the separator,
// a quote or a line break, its quotes doubled; control characters other than tabs and line
// breaks are made visible, so that no cell carries raw bytes a reader would act on.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The byte-order mark that tells a spreadsheet the file is UTF-8.
inline constexpr char Utf8ByteOrderMark[] = "\xEF\xBB\xBF";

QString CsvField(QStringView text, QChar separator = u';');
// The fields joined by the separator and ended by CR LF.
QString CsvRow(const QStringList &fields, QChar separator = u';');

// A statement's grid as a spreadsheet file: the byte-order mark, then one CSV row a line.
QByteArray CsvFile(const QList<QStringList> &grid);
// The same grid as the clipboard's plain text: cells by tabs, lines ended by LF.
QString TabText(const QList<QStringList> &grid);
