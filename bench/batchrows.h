#pragma once
// The large batches the command line is measured on, generated from fixed seeds so that every
// run and every build reads the same rows: zinsen cases of up to 2,000 days from 1990 on, and
// verzug cases of ten years each (twenty or twenty-one half-years) from 2005 on.

#include <QByteArray>
#include <QDate>

#include <random>

namespace batchrows {

inline QByteArray Date(const QDate &date) {
    return date.toString(QStringLiteral("dd.MM.yyyy")).toLatin1();
}

inline QByteArray Amount(std::mt19937 &random) {
    const unsigned cents = random() % 10'000'000;
    return QByteArray::number(cents / 100) + ',' +
           QByteArray::number(cents % 100).rightJustified(2, '0');
}

inline QByteArray Zinsen(int rows) {
    std::mt19937 random(19);
    const char *formulas[] = {"euro", "deutsche", "englische"};
    QByteArray csv = "betrag;von;bis;satz;formel\n";
    csv.reserve(qsizetype(rows) * 48);
    for (int i = 0; i < rows; ++i) {
        const QDate from = QDate(1990, 1, 1).addDays(random() % 14600);
        csv += Amount(random) + ';' + Date(from) + ';' + Date(from.addDays(random() % 2000)) + ';' +
               QByteArray::number(random() % 20) + ',' +
               QByteArray::number(random() % 100).rightJustified(2, '0') + ';' + formulas[i % 3] +
               '\n';
    }
    return csv;
}

inline QByteArray Verzug(int rows) {
    std::mt19937 random(20);
    QByteArray csv = "betrag;von;bis;verbraucher;unternehmer\n";
    csv.reserve(qsizetype(rows) * 40);
    for (int i = 0; i < rows; ++i) {
        const QDate from = QDate(2005, 1, 1).addDays(random() % 4000);
        csv += Amount(random) + ';' + Date(from) + ';' + Date(from.addYears(10).addDays(-1)) +
               (i % 2 ? ";ja;\n" : ";;ja\n");
    }
    return csv;
}

} // namespace batchrows
