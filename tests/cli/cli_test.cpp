// The command line's parts against the library: numbers and dates as scripts write them, the
// arguments, the CSV reader, the formula read from the bar's settings without a trace, and
// batches with options as defaults.

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/numbers.h"
#include "cli/storedformula.h"
#include "platform/numtext.h"
#include "platform/registry.h"
#include "settings/storedsettings.h"
#include "tests/support/fixtures.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

TDateTime day(int y, int m, int d) {
    return MakeDateSerial(y, m, d);
}

TEST(CliNumbers, ReadsAmountsAsTheBarsFieldHoldsThemWithTheThousandsDotRule) {
    GermanLocale de;
    const struct {
        const char *text;
        long double value; // when no error
        const char *error; // the start of the reason, or nullptr
    } cases[] = {
        {"1.000,50", 1000.5L, nullptr},
        {"1000,50", 1000.5L, nullptr},
        {"1000.50", 1000.5L, nullptr},
        {"1.000", 1000, nullptr},
        {"1.000.000", 1e6L, nullptr},
        {"1.5", 1.5L, nullptr},
        {"1,5", 1.5L, nullptr},
        {"-2.500,75", -2500.75L, nullptr},
        {"+3", 3, nullptr},
        {",5", 0.5L, nullptr},
        {" 1234.56 ", 1234.56L, nullptr},
        {"0.10", 0.1L, nullptr},
        {"45.892,46 €", 45892.46L, nullptr},
        {"EUR 45.892,46", 45892.46L, nullptr},
        {"45 892,46", 45892.46L, nullptr},
        {"45\u00a0892,46\u00a0€", 45892.46L, nullptr},
        {"€-12,50", -12.5L, nullptr},
        {"EUR 1.000", 1000, nullptr},
        {"1 000.50", 1000.5L, nullptr},
        {"12 34", 0, "„12 34“ ist keine Zahl"},
        {"1.000 000", 0, "„1.000 000“ ist keine Zahl"},
        {"€", 0, "„€“ ist keine Zahl"},
        {"12.3456", 0, "„12.3456“ hat mehr als zwei Nachkommastellen"},
        {"12,345", 0, "„12,345“ hat mehr als zwei"},
        {"0.125", 0, "„0.125“ ist keine Zahl"}, // no thousands group starts with 0
        {"1,000.50", 0, "„1,000.50“ ist keine Zahl"},
        {"1.0000,5", 0, "„1.0000,5“ ist keine"},
        {"1.000.00", 0, "„1.000.00“ ist keine"},
        {"1,2,3", 0, "„1,2,3“ ist keine"},
        {"1e5", 0, "„1e5“ ist keine"},
        {"abc", 0, "„abc“ ist keine"},
        {"-", 0, "„-“ ist keine"},
    };
    for (const auto &c : cases) {
        long double value = -99;
        QString error;
        const bool read = ReadAmount(QString::fromUtf8(c.text), value, error);
        EXPECT_EQ(read, c.error == nullptr) << c.text;
        if (c.error)
            EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error)))
                << c.text << ": " << error.toStdString();
        else
            EXPECT_EQ(value, c.value) << c.text;
    }
    long double rate = 0;
    QString error;
    EXPECT_TRUE(ReadRate(u"7,5 %", rate, error));
    EXPECT_EQ(rate, 7.5L);
    EXPECT_FALSE(ReadRate(u"7,555%", rate, error));
    EXPECT_EQ(error, "„7,555%“ hat mehr als zwei Nachkommastellen");
}

// Numbers of up to 19 digits are read by integer and one division: to the last bit what the
// bar's field reads from the same text, longer ones too.
TEST(CliNumbers, ReadsEveryNumberToTheBitAsTheBarsFieldDoes) {
    GermanLocale de;
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const int length = 1 + int(random() % 22), decimals = int(random() % 3);
        QString digits;
        for (int d = 0; d < length; ++d)
            digits += QChar(u'0' + int(random() % 10));
        QString text = (random() % 4 == 0 ? QStringLiteral("-") : QString()) + digits;
        if (decimals > 0 && length > decimals) text.insert(text.size() - decimals, u',');
        long double read = 0;
        QString error;
        ASSERT_TRUE(ReadAmount(text, read, error)) << text.toStdString();
        const long double bar = StrToFloat(text);
        ASSERT_EQ(std::memcmp(&read, &bar, 10), 0) << text.toStdString();
    }
}

TEST(CliNumbers, ReadsGermanIsoAndShortDatesInTheCenturyWindow) {
    GermanLocale de;
    PinnedClock clock; // 2005: two-digit years read as 1945 to 2044
    const struct {
        const char *text;
        TDateTime date; // EmptyDate: refused
    } cases[] = {
        {"15.03.2005", day(2005, 3, 15)},
        {"2005-03-15", day(2005, 3, 15)},
        {"1.5.05", day(2005, 5, 1)},
        {" 29.02.2004 ", day(2004, 2, 29)},
        {"1.5.44", day(2044, 5, 1)},
        {"1.5.45", day(1945, 5, 1)},
        {"31.12.1900", day(1900, 12, 31)},
        {"30.02.2026", EmptyDate},
        {"15.03.", EmptyDate},
        {"15.03", EmptyDate},
        {"15.3.205", EmptyDate},
        {"2026-13-01", EmptyDate},
        {"15/03/2005", EmptyDate},
        {"", EmptyDate},
        {"1.5.2005x", EmptyDate},
    };
    for (const auto &c : cases) {
        TDateTime date = -1;
        QString error;
        EXPECT_EQ(ReadDate(QString::fromUtf8(c.text), date, error), c.date != EmptyDate) << c.text;
        if (c.date != EmptyDate)
            EXPECT_EQ(date, c.date) << c.text;
        else
            EXPECT_TRUE(error.endsWith("ist kein gültiges Datum (TT.MM.JJJJ, T.M.JJ oder "
                                       "JJJJ-MM-TT)"))
                << error.toStdString();
    }
}

TEST(CliArguments, NamesTheArgumentAtFaultOrTakesTheFields) {
    const struct {
        QStringList arguments;
        QString at;    // the argument a usage error names; empty when the line is right
        QString field; // "name=value" taken, when the line is right
    } cases[] = {
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10"}, "", "satz=10"},
        {{"zinsen", "-1.000,50", "1.1.05", "1.2.05", "5", "--formel=englische"},
         "",
         "betrag=-1.000,50"},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "--formel", "Deutsche"},
         "",
         "formel=Deutsche"},
        {{"zinsen", "1000", "15.01.2005", "15.03.2005"}, "SATZ", ""},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "6"}, "6", ""},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "--formel", "deutsch"}, "--formel", ""},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "--formel"}, "--formel", ""},
        {{"zinsen", "--betrag", "5", "1", "1.1.05", "1.2.05", "5"}, "--betrag", ""},
        {{"zinsen", "1", "1.1.05", "1.2.05", "5", "--verbraucher"}, "--verbraucher", ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025"}, "verzug", ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--verbraucher", "--satz", "5"}, "verzug", ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--verbraucher", "--vor-2014"},
         "--vor-2014",
         ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--verbraucher=ja"}, "--verbraucher", ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--aufschlag", "3", "--tage", "act365"},
         "--tage",
         ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--unternehmer", "--vor_2014"},
         "--vor_2014",
         ""},
        {{"verzug", "--csv", "-", "--verbraucher"}, "", "verbraucher=ja"},
        {{"verzug", "--csv", "-", "1000"}, "1000", ""},
        {{"verzug", "--csv", "-", "--tage", "30360"}, "", "tage=30360"},
        {{"basiszins", "1.1.2025", "2.1.2025"}, "2.1.2025", ""},
        {{"basiszins", "--import"}, "--import", ""},
        {{"basiszins", "--import", "bbk.csv", "1.1.2025"}, "1.1.2025", ""},
        {{"zinsen", "--import", "bbk.csv"}, "--import", ""},
        {{"basiszins", "--aktualisieren", "1.1.2025"}, "1.1.2025", ""},
        {{"basiszins", "--aktualisieren=ja"}, "--aktualisieren", ""},
        {{"basiszins", "--aktualisieren", "--import", "bbk.csv"}, "--aktualisieren", ""},
        {{"verzug", "--aktualisieren"}, "--aktualisieren", ""},
        {{"basiszins", "--aktualisieren", "--format", "csv"}, "", ""},
        {{"rechnen"}, "rechnen", ""},
        {{}, "tarvo-zins", ""},
        {{"zinsen", "--format", "xml"}, "--format", ""},
        {{"zinsen", "--bogus", "--help"}, "", ""},
    };
    for (const auto &c : cases) {
        const TCommandLine line = ParseCommandLine(c.arguments);
        const QString what = c.arguments.join(u' ');
        EXPECT_EQ(line.Error ? line.Error->Argument : QString(), c.at) << what.toStdString();
        if (c.field.isEmpty()) continue;
        const QString name = c.field.section(u'=', 0, 0), value = c.field.section(u'=', 1);
        EXPECT_EQ(line.Fields[*FieldOfColumn(name)], value) << what.toStdString();
    }
}

struct Record {
    QStringList fields;
    int line;
    bool open;
};

std::vector<Record> ReadAll(const QByteArray &data, char *separator = nullptr) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    TCsvReader reader(buffer);
    const char guessed = reader.GuessSeparator();
    if (separator) *separator = guessed;
    reader.SetSeparator(guessed);
    std::vector<Record> records;
    Record r;
    while (reader.Next(r.fields, r.line, r.open))
        records.push_back(r);
    return records;
}

TEST(CliCsvReader, ReadsQuotesLineBreaksAndSeparatorsAsSpreadsheetsWriteThem) {
    const struct {
        QByteArray input;
        char separator;
        std::vector<Record> records;
    } cases[] = {
        {"a;b\r\n1;2\r\n", ';', {{{"a", "b"}, 1, false}, {{"1", "2"}, 2, false}}},
        {"\xEF\xBB\xBF"
         "a;b\n\"x;y\";\"er sagte \"\"ja\"\"\"\n",
         ';',
         {{{"a", "b"}, 1, false}, {{"x;y", "er sagte \"ja\""}, 2, false}}},
        {"a;b\n\"zwei\nZeilen\";3\n4;5",
         ';',
         {{{"a", "b"}, 1, false}, {{"zwei\nZeilen", "3"}, 2, false}, {{"4", "5"}, 4, false}}},
        {"a;b;c\n;;\n\n",
         ';',
         {{{"a", "b", "c"}, 1, false}, {{"", "", ""}, 2, false}, {{""}, 3, false}}},
        {"a\n\"offen\n", ';', {{{"a"}, 1, false}, {{"offen\n"}, 2, true}}},
        {"a,b\n\"1,5\",2\n", ',', {{{"a", "b"}, 1, false}, {{"1,5", "2"}, 2, false}}},
        {"a\tb\n1,5\t2\n", '\t', {{{"a", "b"}, 1, false}, {{"1,5", "2"}, 2, false}}},
        {"a;b,c\n", ';', {{{"a", "b,c"}, 1, false}}},
        {"", ';', {}},
    };
    for (const auto &c : cases) {
        char separator = 0;
        const std::vector<Record> got = ReadAll(c.input, &separator);
        EXPECT_EQ(separator, c.separator) << c.input.toStdString();
        ASSERT_EQ(got.size(), c.records.size()) << c.input.toStdString();
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].fields, c.records[i].fields) << c.input.toStdString() << " #" << i;
            EXPECT_EQ(got[i].line, c.records[i].line) << c.input.toStdString() << " #" << i;
            EXPECT_EQ(got[i].open, c.records[i].open) << c.input.toStdString() << " #" << i;
        }
    }
}

// Records cross the reader's 1 MiB reads anywhere, also inside quotes and between CR and LF.
TEST(CliCsvReader, ReadsRecordsAcrossItsReads) {
    QByteArray input = "a;b\r\n";
    const int records = 60000;
    for (int i = 0; i < records; ++i)
        input +=
            "\"" + QByteArray::number(i) + ";\r\n\"\"x\"\"\";" + QByteArray::number(i % 7) + "\r\n";
    const std::vector<Record> got = ReadAll(input);
    ASSERT_EQ(got.size(), std::size_t(records) + 1);
    for (int i = 0; i < records; ++i) {
        const Record &r = got[std::size_t(i) + 1];
        ASSERT_EQ(r.fields,
                  (QStringList{QString::number(i) + ";\r\n\"x\"", QString::number(i % 7)}))
            << i;
        ASSERT_EQ(r.line, 2 + 2 * i);
        ASSERT_FALSE(r.open);
    }
}

// The settings folder's files with their sizes: what a reader must leave as it found it.
QStringList Listing(const QString &folder) {
    QStringList files;
    QDir dir(folder);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        files << info.fileName() + u'=' + QString::number(info.size());
    return files;
}

TEST(CliStoredFormula, ReadsTheBarsFormulaWithoutMakingOrChangingTheSettingsFile) {
    IsolatedHome home;
    const QString hive = home.configHome() + "/tarvo/registry.db";
    EXPECT_EQ(StoredFormulaCode(), fcEuro);
    EXPECT_TRUE(Listing(home.configHome()).isEmpty()) << "no settings file made";

    const struct {
        std::optional<qint32> stored; // nothing: the key without the value
        bool asText;
        int code;
    } cases[] = {
        {std::nullopt, false, fcEuro},
        {0, false, fcEuro},
        {1, false, fcDeutsche},
        {2, false, fcEnglische},
        {7, false, fcEuro},
        {-1, false, fcEuro},
        {1, true, fcEuro},
    };
    for (const auto &c : cases) {
        {
            TRegistry registry;
            ASSERT_TRUE(registry.OpenKey(SettingsKey, true));
            registry.DeleteValue(Setting::Formel);
            if (c.stored && c.asText)
                registry.WriteString(Setting::Formel, QString::number(*c.stored));
            else if (c.stored)
                registry.WriteInteger(Setting::Formel, *c.stored);
        }
        const QStringList before = Listing(home.configHome() + "/tarvo");
        EXPECT_EQ(StoredFormulaCode(), c.code) << c.stored.value_or(-99) << c.asText;
        EXPECT_EQ(Listing(home.configHome() + "/tarvo"), before);
    }

    // What is no database is left alone, not moved aside and replaced.
    QFile garbage(hive);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly | QIODevice::Truncate));
    garbage.write("kein Datenbankinhalt");
    garbage.close();
    EXPECT_EQ(StoredFormulaCode(), fcEuro);
    EXPECT_EQ(Listing(home.configHome() + "/tarvo"), QStringList{"registry.db=20"});
    ASSERT_TRUE(garbage.resize(0));
    EXPECT_EQ(StoredFormulaCode(), fcEuro);
    EXPECT_EQ(Listing(home.configHome() + "/tarvo"), QStringList{"registry.db=0"});
}

struct TRunResult {
    int status;
    QString out, err;
};

TRunResult RunWith(const QStringList &arguments, const QByteArray &input = {}) {
    QBuffer in, out, err;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = RunCommandLine(ParseCommandLine(arguments), in, out, err);
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}

TEST(CliBatch, OptionsStandInForEmptyCellsAndEachBadRowIsNamed) {
    IsolatedHome home;
    GermanLocale de;
    const struct {
        QStringList arguments;
        QByteArray input;
        int status;
        QStringList out; // the rows after the header
        QStringList err;
    } cases[] = {
        {{"zinsen", "--csv", "-", "--format", "csv", "--formel", "deutsche"},
         "betrag;von;bis;satz;formel\n1000;15.01.2005;15.03.2005;10;\n"
         "1000;15.01.2005;15.03.2005;10;englische\n\n;;;;\n1.000;15.1.05;2005-03-15;10 %;Euro\n",
         0,
         {"2;59;60;16,67;deutsche;", "3;59;59;16,16;englische;", "6;59;59;16,40;euro;"},
         {}},
        {{"zinsen", "--csv", "-", "--satz", "10", "--format", "csv"},
         "Betrag,Von,Bis\n\"1.000,00\",15.01.2005,15.03.2005\n1000,15.01.2005,31.02.2005\n"
         "1000,15.01.2005,15.03.2005,x\n",
         1,
         {"2;59;59;16,40;euro;",
          "3;;;;;bis: „31.02.2005“ ist kein gültiges Datum (TT.MM.JJJJ, T.M.JJ oder JJJJ-MM-TT)",
          "4;;;;;die Zeile hat 4 Felder, die Kopfzeile nur 3 Spalten"},
         {"tarvo-zins: Zeile 3: bis: „31.02.2005“ ist kein gültiges Datum (TT.MM.JJJJ, T.M.JJ "
          "oder JJJJ-MM-TT)",
          "tarvo-zins: Zeile 4: die Zeile hat 4 Felder, die Kopfzeile nur 3 Spalten"}},
        // A row's own rule replaces the option's; a switch that is neither yes nor no is named.
        {{"verzug", "--csv", "-", "--verbraucher", "--format", "csv"},
         "betrag;von;bis;satz;unternehmer;pauschale\n3089;17.04.2025;20.02.2026;;;\n"
         "3089;17.04.2025;20.02.2026;5;;\n3089;17.04.2025;20.02.2026;;ja;ja\n"
         "3089;17.04.2025;20.02.2026;;vielleicht;\n3089;17.04.2025;20.02.2026;;;ja\n",
         1,
         {"2;3089,00;17.04.2025;20.02.2026;3;170,84;0,00;3259,84;0,53;",
          "3;3089,00;17.04.2025;20.02.2026;1;131,18;0,00;3220,18;0,42;",
          "4;3089,00;17.04.2025;20.02.2026;3;275,78;40,00;3404,78;0,87;",
          "5;;;;;;;;;unternehmer: „vielleicht“ ist weder ja noch nein",
          "6;;;;;;;;;pauschale: Die Pauschale von 40,00 € nach § 288 Abs. 5 BGB steht nur zu, "
          "wenn kein Verbraucher beteiligt ist und die Forderung nach dem 28.07.2014 entstanden "
          "ist."},
         {"tarvo-zins: Zeile 5: unternehmer: „vielleicht“ ist weder ja noch nein",
          "tarvo-zins: Zeile 6: pauschale: Die Pauschale von 40,00 € nach § 288 Abs. 5 BGB "
          "steht nur zu, wenn kein Verbraucher beteiligt ist und die Forderung nach dem "
          "28.07.2014 entstanden ist."}},
        // A claim from before 29.07.2014 takes 8 points over the base rate of -0,73 %, preset
        // from the first day as in the window.
        {{"verzug", "--csv", "-", "--format", "csv"},
         "betrag;von;bis;unternehmer;vor-2014\n1000;01.07.2014;31.07.2014;ja;\n"
         "1000;01.08.2014;31.08.2014;ja;nein\n1000;01.08.2014;31.08.2014;ja;ja\n"
         "1000;01.08.2014;31.08.2014;;\n",
         1,
         {"2;1000,00;01.07.2014;31.07.2014;1;6,17;0,00;1006,17;0,20;",
          "3;1000,00;01.08.2014;31.08.2014;1;7,02;0,00;1007,02;0,23;",
          "4;1000,00;01.08.2014;31.08.2014;1;6,17;0,00;1006,17;0,20;",
          "5;;;;;;;;;die Zinsregel fehlt: verbraucher, unternehmer, satz oder aufschlag"},
         {"tarvo-zins: Zeile 5: die Zinsregel fehlt: verbraucher, unternehmer, satz oder "
          "aufschlag"}},
        {{"zinsen", "--csv", "-"},
         "betrag;von;bis;zins\n",
         2,
         {},
         {"tarvo-zins: Zeile 1: unbekannte Spalte „zins“"}},
        {{"zinsen", "--csv", "-"},
         "betrag;von;satz\n",
         2,
         {},
         {"tarvo-zins: Zeile 1: die Spalte „bis“ fehlt"}},
        {{"verzug", "--csv", "-"}, "", 2, {}, {"tarvo-zins: --csv: die Kopfzeile fehlt"}},
    };
    for (const auto &c : cases) {
        const TRunResult run = RunWith(c.arguments, c.input);
        const QString what = QString::fromUtf8(c.input);
        EXPECT_EQ(run.status, c.status) << what.toStdString();
        QStringList rows = run.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (!rows.isEmpty()) rows.removeFirst();
        EXPECT_EQ(rows, c.out) << what.toStdString();
        EXPECT_EQ(run.err.split(u'\n', Qt::SkipEmptyParts), c.err) << what.toStdString();
    }
}

} // namespace
