#pragma once
// Amounts as Germans and their spreadsheets write them, for every place that reads a typed,
// pasted or imported amount: a decimal comma or point, thousands grouped by points or spaces,
// a currency mark before or after. "1.000,50", "1000,50", "1000.50", "1 000,50" and
// "1.000,50 €" are the same amount; a point followed by exactly three digits, in a number
// without a comma, groups thousands ("1.000" is one thousand).

#include <QString>
#include <QStringView>

// The text without a currency mark ("€", "EUR") before or after the number, and without the
// blanks around.
QStringView WithoutCurrency(QStringView text);

// The number in the form "[-]digits[,digits]", the grouping gone and the decimal comma in its
// place; false for text that is no number under the rules above. A currency mark is allowed.
bool NormalizeNumber(QStringView text, QString &normal);
