// Batch rows of plain cells are read straight from their bytes; every other row the general
// way. Both ways must give the same case: field by field against the general reader, and whole
// batches against the same rows with every cell quoted (which only the general way reads).

#include "cli/commands.h"
#include "cli/plainrow.h"
#include "tests/support/fixtures.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

TEST(PlainRow, ReadsEachFieldAsTheGeneralReaderDoes) {
    GermanLocale de;
    const TCommand Z = TCommand::Zinsen, V = TCommand::Verzug;
    const struct {
        TCommand command;
        TField field;
        const char *text;
        bool plain; // read from its bytes; else left to the general way
    } cases[] = {
        {Z, fdBetrag, "5905,04", true},
        {Z, fdBetrag, "0,5", true},
        {Z, fdBetrag, "007", true},
        {Z, fdBetrag, "999999999999999", true},
        {Z, fdBetrag, "1234567890123,45", true},
        {Z, fdBetrag, "1.000", false},
        {Z, fdBetrag, "1000.50", false},
        {Z, fdBetrag, "-5", false},
        {Z, fdBetrag, " 5", false},
        {Z, fdBetrag, "5,", false},
        {Z, fdBetrag, ",5", false},
        {Z, fdBetrag, "5,123", false},
        {Z, fdBetrag, "1,2,3", false},
        {Z, fdBetrag, "5 €", false},
        {Z, fdBetrag, "9999999999999999", false},
        {Z, fdVon, "29.02.2024", true},
        {Z, fdVon, "2024-02-29", true},
        {Z, fdVon, "01.01.0001", true},
        {Z, fdVon, "31.12.9999", true},
        {Z, fdBis, "29.02.2023", false},
        {Z, fdBis, "00.01.2023", false},
        {Z, fdBis, "1.1.2023", false},
        {Z, fdBis, "15.03.05", false},
        {Z, fdBis, "2023-13-01", false},
        {Z, fdBis, "x1.01.2023", false},
        {Z, fdSatz, "10", true},
        {Z, fdSatz, "4,12", true},
        {Z, fdSatz, "10 %", false},
        {Z, fdFormel, "englische", true},
        {Z, fdFormel, "Euro", false},
        {Z, fdFormel, "euros", false},
        {V, fdBetrag, "3089", true},
        {V, fdBetrag, "999999999999999", false},
        {V, fdVerbraucher, "ja", true},
        {V, fdUnternehmer, "nein", true},
        {V, fdPauschale, "x", true},
        {V, fdOhneZahlungstag, "false", true},
        {V, fdVor2014, "JA", false},
        {V, fdVor2014, "vielleicht", false},
        {V, fdTage, "act360", true},
        {V, fdTage, "30360", true},
        {V, fdTage, "ACT360", false},
        {V, fdSatz, "5", false},
        {V, fdAufschlag, "5", false},
        {V, fdFormel, "euro", false},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        TPlainValue plain;
        const bool read = ReadPlainField(c.command, c.field, QByteArray(c.text), plain);
        EXPECT_EQ(read, c.plain) << c.text;
        if (!read) continue;
        TFields fields;
        fields[c.field] = text;
        TCaseReader reader(c.command, fields);
        const TFieldValue general = reader.Read(c.field);
        ASSERT_FALSE(reader.Error()) << c.text << ": " << reader.Error()->Reason.toStdString();
        EXPECT_EQ(plain.Number, general.Number) << c.text;
        EXPECT_EQ(plain.Cents, general.Cents) << c.text;
        EXPECT_EQ(plain.Day, general.Day) << c.text;
        EXPECT_EQ(plain.On, general.On) << c.text;
        if (c.field == fdFormel) {
            EXPECT_EQ(plain.Code, general.Code) << c.text;
        }
        if (c.field == fdTage) {
            EXPECT_EQ(plain.Code, int(general.Count)) << c.text;
        }
    }
}

QByteArray RunBatch(const QStringList &arguments, const QByteArray &input) {
    QBuffer in, out, err;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    RunCommandLine(ParseCommandLine(arguments), in, out, err);
    return out.data() + "\n--\n" + err.data();
}

// The batch with every cell in quotes: the same values, read only the general way.
QByteArray Quoted(const QByteArray &csv) {
    QByteArray quoted;
    for (const QByteArray &line : csv.split('\n')) {
        if (!quoted.isEmpty()) quoted += '\n';
        if (line.isEmpty()) continue;
        QByteArrayList cells = line.split(';');
        for (QByteArray &cell : cells)
            cell = '"' + cell + '"';
        quoted += cells.join(';');
    }
    return quoted;
}

TEST(PlainRow, BatchesGiveWhatTheGeneralWayGives) {
    IsolatedHome home;
    GermanLocale de;
    PinnedClock clock;
    const struct {
        QStringList arguments;
        QByteArray csv;
    } cases[] = {
        {{"zinsen", "--formel", "deutsche"},
         "nr;betrag;von;bis;satz;formel\n"
         "R-1;5905,04;22.03.1991;30.01.1995;5,58;euro\n"
         "R-2;18202,26;16.08.2019;22.01.2020;18,92;\n"
         "R-3;0,5;2004-02-29;2005-03-01;0;englische\n"
         "R-4;123456789012345;01.01.2000;;99,99;englische\n"
         "R-5;1000;15.03.2005;15.01.2005;10;euro\n"
         ";;;;;\n"
         "R-7;1000;31.02.2005;15.03.2005;10;euro\n"
         "R-8;1000;15.01.2005;15.03.2005;;euro;\n"},
        {{"zinsen", "--satz", "4,5"},
         "betrag;von;bis;satz\n1000;15.01.2005;15.03.2005;\n1000;15.01.2005;15.03.2005;7\n"},
        {{"verzug", "--pauschale"},
         "betrag;von;bis;verbraucher;unternehmer;vor-2014;tage;ohne-zahlungstag;kunde\n"
         "14042,50;07.12.2011;06.12.2021;;ja;;;;Meier\n"
         "91695,03;15.06.2013;14.06.2023;;ja;ja;actact;ja;Müller\n"
         "3089;17.04.2025;20.02.2026;;ja;;act360;;\n"
         "3089;17.04.2025;20.02.2026;ja;;;;;\n"
         "1000;01.07.2014;31.07.2014;;ja;;30360;nein;\n"
         "1000;01.07.2014;31.07.2014;ja;ja;;;;\n"
         "1000;01.07.2014;31.07.2014;;;;;;\n"
         "1000;01.07.1990;31.07.2014;;ja;;;;\n"
         "0;01.07.2014;31.07.2014;;ja;;;;\n"
         "999999999999999;01.07.2014;31.07.2014;;ja;;;;\n"},
    };
    for (const auto &c : cases)
        for (const char *format : {"text", "csv", "json"}) {
            const QStringList arguments =
                c.arguments + QStringList{"--csv", "-", "--format", format};
            const QByteArray plain = RunBatch(arguments, c.csv);
            EXPECT_EQ(plain, RunBatch(arguments, Quoted(c.csv)))
                << arguments.join(' ').toStdString() << "\n"
                << plain.toStdString();
        }
}

} // namespace
