// The command line's parts against the library: numbers and dates as scripts write them, the
// arguments, the CSV reader, the formula read from the bar's settings without a trace, and
// batches with options as defaults.

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/console.h"
#include "cli/numbers.h"
#include "cli/storedformula.h"
#include "platform/base/numtext.h"
#include "platform/core/registry.h"
#include "report/echo.h"
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
        const char *at;               // the argument a usage error names ("" the line as a whole);
                                      // nullptr when the line is right
        QString field;                // "name=value" taken, when the line is right
        const char *reason = nullptr; // the usage error's reason, where it matters
    } cases[] = {
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10"}, nullptr, "satz=10"},
        {{"zinsen", "-1.000,50", "1.1.05", "1.2.05", "5", "--formel=englische"},
         nullptr,
         "betrag=-1.000,50"},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "--formel", "Deutsche"},
         nullptr,
         "formel=Deutsche"},
        {{"zinsen", "1000", "15.01.2005", "15.03.2005"}, "SATZ", ""},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "6"}, "6", ""},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "--formel", "deutsch"},
         "--formel",
         "",
         "„deutsch“ ist keine Zinsformel (euro, deutsche oder englische)"},
        {{"zinsen", "1000", "1.1.05", "1.2.05", "5", "--formel"}, "--formel", ""},
        {{"zinsen", "--betrag", "5", "1", "1.1.05", "1.2.05", "5"}, "--betrag", ""},
        {{"zinsen", "1", "1.1.05", "1.2.05", "5", "--verbraucher"}, "--verbraucher", ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025"},
         "verzug",
         "",
         "es fehlt eine von --verbraucher, --unternehmer, --satz und --aufschlag"},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--verbraucher", "--satz", "5"},
         "verzug",
         "",
         "nur eine von --verbraucher, --unternehmer, --satz und --aufschlag"},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--verbraucher", "--vor-2014"},
         "--vor-2014",
         "",
         "gilt nur mit --unternehmer"},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--verbraucher=ja"}, "--verbraucher", ""},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--aufschlag", "3", "--tage", "act365"},
         "--tage",
         "",
         "„act365“ ist keine Tageszählung (taggenau, actact, act360, 30360 oder 30360ch)"},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--unternehmer", "--vor_2014"},
         "--vor_2014",
         ""},
        {{"verzug", "1", "1.1.2025", "1.2.2025", "--satz", "4", "--ohne-zahlungstag"},
         nullptr,
         "ohne-zahlungstag=ja"},
        {{"zinsen", "1", "1.1.05", "1.2.05", "5", "--ohne-zahlungstag"}, "--ohne-zahlungstag", ""},
        {{"verzug", "--csv", "-", "--verbraucher"}, nullptr, "verbraucher=ja"},
        {{"verzug", "--csv", "-", "1000"}, "1000", ""},
        {{"verzug", "--csv", "-", "--tage", "30360"}, nullptr, "tage=30360"},
        {{"zinsen", "--csv", "-", "--bis", "31.12.2025", "--von=1.1.2025"},
         nullptr,
         "bis=31.12.2025"},
        {{"basiszins", "1.1.2025", "2.1.2025"}, "2.1.2025", ""},
        {{"basiszins", "--import"}, "--import", ""},
        {{"basiszins", "--import", "bbk.csv", "1.1.2025"}, "1.1.2025", ""},
        {{"zinsen", "--import", "bbk.csv"}, "--import", ""},
        {{"basiszins", "--aktualisieren", "1.1.2025"}, "1.1.2025", ""},
        {{"basiszins", "--aktualisieren=ja"}, "--aktualisieren", ""},
        {{"basiszins", "--aktualisieren", "--import", "bbk.csv"}, "--aktualisieren", ""},
        {{"verzug", "--aktualisieren"}, "--aktualisieren", ""},
        {{"basiszins", "--aktualisieren", "--format", "csv"}, nullptr, ""},
        {{"rechnen"}, "rechnen", ""},
        {{}, "", "", "der Befehl fehlt (zinsen, verzug, basiszins oder forderung)"},
        {{"zinsen", "--format", "xml"}, "--format", ""},
        {{"zinsen", "--bogus", "--help"}, nullptr, ""},
        // Every option given twice must say the same; none takes an empty value.
        {{"zinsen", "--csv", "a.csv", "--csv", "b.csv"}, "--csv", "", "ist mehrfach angegeben"},
        {{"zinsen", "--csv", "a.csv", "--csv=a.csv"}, nullptr, ""},
        {{"basiszins", "--import", "a.csv", "--import", "b.csv"}, "--import", ""},
        {{"zinsen", "--csv", "-", "--format", "csv", "--format", "json"}, "--format", ""},
        {{"zinsen", "--csv", "-", "--satz", "4", "--satz", "5"}, "--satz", ""},
        {{"basiszins", "--import="}, "--import", "", "der Wert ist leer"},
        {{"zinsen", "--csv="}, "--csv", "", "der Wert ist leer"},
        {{"zinsen", "--csv", ""}, "--csv", "", "der Wert ist leer"},
        {{"zinsen", "--csv", "-", "--satz", "  "}, "--satz", "", "der Wert ist leer"},
        {{"zinsen", "--csv", "-", "--format="}, "--format", "", "der Wert ist leer"},
        {{"zinsen", "--csv", "-", "--bom", "--format", "csv"}, nullptr, ""},
        {{"zinsen", "--csv", "-", "--bom"}, "--bom", "", "gilt nur mit --format csv"},
        {{"zinsen", "--csv", "-", "--bom=ja", "--format", "csv"}, "--bom", ""},
        // What is echoed of a wrong value is short.
        {{"zinsen", "--csv", "-", "--format", QString(500, u'x')},
         "--format",
         "",
         "„xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx…“ ist kein Format (text, csv oder json)"},
    };
    for (const auto &c : cases) {
        const TCommandLine line = ParseCommandLine(c.arguments);
        const std::string what = c.arguments.join(u' ').left(80).toStdString();
        ASSERT_EQ(line.Error.has_value(), c.at != nullptr) << what;
        if (c.at) {
            EXPECT_EQ(line.Error->Argument, QString::fromUtf8(c.at)) << what;
        }
        if (c.reason) {
            EXPECT_EQ(line.Error->Reason, QString::fromUtf8(c.reason)) << what;
        }
        if (c.field.isEmpty()) continue;
        const QString name = c.field.section(u'=', 0, 0), value = c.field.section(u'=', 1);
        EXPECT_EQ(line.Fields[*FieldOfColumn(name)], value) << what;
    }
}

// A slip in a known column's name is caught; other names are not taken for one.
TEST(CliArguments, TakesAColumnCloseToAKnownNameForASlip) {
    const struct {
        TCommand command;
        const char *name;
        std::optional<TField> near;
    } cases[] = {
        {TCommand::Zinsen, "Betarg", fdBetrag},
        {TCommand::Zinsen, "Betrg", fdBetrag},
        {TCommand::Zinsen, "BETRAG ", std::nullopt}, // the name itself is no slip
        {TCommand::Verzug, "Unternemer", fdUnternehmer},
        {TCommand::Verzug, "vor 2014", fdVor2014},
        {TCommand::Zinsen, "vom", fdVon},
        {TCommand::Zinsen, "Tag", std::nullopt}, // tage is no column of zinsen
        {TCommand::Verzug, "Tag", fdTage},
        {TCommand::Zinsen, "Formle", fdFormel},
        {TCommand::Verzug, "Formle", std::nullopt},
        {TCommand::Verzug, "Name", std::nullopt},
        {TCommand::Zinsen, "Rate", std::nullopt},
        {TCommand::Zinsen, "Kunde", std::nullopt},
        {TCommand::Zinsen, "Rechnungsnr", std::nullopt},
        {TCommand::Zinsen, "Zinssatz", std::nullopt},
        {TCommand::Zinsen, "", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FieldOfColumn(c.name) ? std::nullopt : NearField(c.command, c.name), c.near)
            << c.name;
}

TEST(CliEcho, ShowsControlCharactersAndCutsLongQuotes) {
    const struct {
        QString text;
        QString visible, csv, quoted;
    } cases[] = {
        {"1.000,50 €", "1.000,50 €", "1.000,50 €", "„1.000,50 €“"},
        {"a\nb\r\tc", "a␊b␍␉c", "a\nb\r\tc", "„a␊b␍␉c“"},
        {QString("x") + QChar(0) + "\x1b[2J\x7f", "x␀␛[2J␡", "x␀␛[2J␡", "„x␀␛[2J␡“"},
        {"abc\u202Efdp.exe\u2028\u0085", "abc�fdp.exe��", "abc�fdp.exe��", "„abc�fdp.exe��“"},
        {QString(41, u'7'), QString(41, u'7'), QString(41, u'7'), "„" + QString(40, u'7') + "…“"},
        {QString(39, u'a') + "😀x", QString(39, u'a') + "😀x", QString(39, u'a') + "😀x",
         "„" + QString(39, u'a') + "…“"}, // never half a character
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Visible(c.text), c.visible);
        EXPECT_EQ(Visible(c.text, true), c.csv);
        EXPECT_EQ(Quoted(c.text), c.quoted);
    }
    EXPECT_EQ(ReportText(QString(), "der Befehl fehlt"), "tarvo-zins: der Befehl fehlt\n");
    EXPECT_EQ(ReportText("Zeile 2", "„a\nb“"), "tarvo-zins: Zeile 2: „a␊b“\n");
}

struct Record {
    QStringList fields;
    qint64 line;
    TRecordFault fault = TRecordFault::None;
};

std::vector<Record> ReadAll(const QByteArray &data, char *separator = nullptr,
                            qsizetype limit = MaxRecordBytes) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    TCsvReader reader(buffer, limit);
    const char guessed = reader.GuessSeparator();
    if (separator) *separator = guessed;
    reader.SetSeparator(guessed);
    std::vector<Record> records;
    Record r;
    while (reader.Next(r.fields, r.line, r.fault))
        records.push_back(r);
    return records;
}

constexpr TRecordFault Open = TRecordFault::OpenQuote, LongRecord = TRecordFault::LongRecord,
                       LongLine = TRecordFault::LongLine;

// A faulty record costs that record only: reading goes on with the line after its first, and
// the lines keep their numbers. The limit here is 16 bytes.
TEST(CliCsvReader, ReadsQuotesLineBreaksAndSeparatorsAsSpreadsheetsWriteThem) {
    const struct {
        QByteArray input;
        char separator;
        std::vector<Record> records;
    } cases[] = {
        {"a;b\r\n1;2\r\n", ';', {{{"a", "b"}, 1}, {{"1", "2"}, 2}}},
        {"\xEF\xBB\xBF"
         "a;b\n\"x;y\";\"a \"\"b\"\"\"\n",
         ';',
         {{{"a", "b"}, 1}, {{"x;y", "a \"b\""}, 2}}},
        {"a;b\n\"zwei\nZeilen\";3\n4;5",
         ';',
         {{{"a", "b"}, 1}, {{"zwei\nZeilen", "3"}, 2}, {{"4", "5"}, 4}}},
        {"a;b;c\n;;\n\n", ';', {{{"a", "b", "c"}, 1}, {{"", "", ""}, 2}, {{""}, 3}}},
        {"a,b\n\"1,5\",2\n", ',', {{{"a", "b"}, 1}, {{"1,5", "2"}, 2}}},
        {"a\tb\n1,5\t2\n", '\t', {{{"a", "b"}, 1}, {{"1,5", "2"}, 2}}},
        {"a;b,c\n", ';', {{{"a", "b,c"}, 1}}},
        {"", ';', {}},
        {"a\n\"offen\n", ';', {{{"a"}, 1}, {{""}, 2, Open}}},
        {"a\n\"offen", ';', {{{"a"}, 1}, {{""}, 2, Open}}},
        {"a\n\"x\n2\n3", ';', {{{"a"}, 1}, {{""}, 2, Open}, {{"2"}, 3}, {{"3"}, 4}}},
        {"a\n\"x\n22222222\n33333333\n4\n",
         ';',
         {{{"a"}, 1}, {{""}, 2, LongRecord}, {{"22222222"}, 3}, {{"33333333"}, 4}, {{"4"}, 5}}},
        {"a\n1234567890123456\n12345678901234567\n\"123456789012345678\n5",
         ';',
         {{{"a"}, 1},
          {{"1234567890123456"}, 2},
          {{""}, 3, LongLine},
          {{""}, 4, LongLine},
          {{"5"}, 5}}},
        {"a\n" + QByteArray(5 << 20, 'x') + "\n2\n",
         ';',
         {{{"a"}, 1}, {{""}, 2, LongLine}, {{"2"}, 3}}},
    };
    for (const auto &c : cases) {
        const std::string what = c.input.left(60).toStdString();
        char separator = 0;
        const std::vector<Record> got = ReadAll(c.input, &separator, 16);
        EXPECT_EQ(separator, c.separator) << what;
        ASSERT_EQ(got.size(), c.records.size()) << what;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].fields, c.records[i].fields) << what << " #" << i;
            EXPECT_EQ(got[i].line, c.records[i].line) << what << " #" << i;
            EXPECT_EQ(got[i].fault, c.records[i].fault) << what << " #" << i;
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
        ASSERT_EQ(r.fault, TRecordFault::None);
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
    PinnedClock clock; // today is 02.05.2005
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
        {{"verzug", "--csv", "-", "--format", "csv"},
         "betrag;von;bis;verbraucher;satz;vor-2014\n1000;01.08.2014;31.08.2014;ja;4;\n"
         "1000;01.08.2014;31.08.2014;ja;;ja\n",
         1,
         {"2;;;;;;;;;nur eine Zinsregel: verbraucher, unternehmer, satz oder aufschlag",
          "3;;;;;;;;;vor-2014: gilt nur mit unternehmer"},
         {"tarvo-zins: Zeile 2: nur eine Zinsregel: verbraucher, unternehmer, satz oder aufschlag",
          "tarvo-zins: Zeile 3: vor-2014: gilt nur mit unternehmer"}},
        {{"zinsen", "--csv", "-"},
         "betrag;von;bis;sats\n",
         2,
         {},
         {"tarvo-zins: Zeile 1: unbekannte Spalte „sats“; gemeint ist wohl „satz“ (Spalten "
          "anderer Namen kämen unverändert in die Ergebnisse)"}},
        {{"zinsen", "--csv", "-"},
         "betrag;bis;satz\n",
         2,
         {},
         {"tarvo-zins: Zeile 1: die Spalte „von“ fehlt"}},
        {{"verzug", "--csv", "-"},
         "betrag;von;bis;formel\n",
         2,
         {},
         {"tarvo-zins: Zeile 1: die Spalte „formel“ gilt nicht für verzug"}},
        {{"verzug", "--csv", "-"}, "", 2, {}, {"tarvo-zins: --csv: die Kopfzeile fehlt"}},
        // Amounts as spreadsheets write currency; an empty last day is --bis, else today; blank
        // cells past the header's columns are no fault.
        {{"zinsen", "--csv", "-", "--format", "csv", "--bis", "15.03.2005"},
         "betrag;von;bis;satz\n45.892,46 €;15.01.2005;;10\nEUR 1.000;15.01.2005;;10;;\n",
         0,
         {"2;59;59;752,64;euro;", "3;59;59;16,40;euro;"},
         {}},
        {{"zinsen", "--csv", "-", "--format", "csv"},
         "betrag;von;satz\n1000;15.01.2005;10\n",
         0,
         {"2;107;107;29,74;euro;"},
         {}},
        // The court's 883 days without the day of payment, and 884 with it.
        {{"verzug", "--csv", "-", "--format", "csv"},
         "betrag;von;bis;satz;ohne-zahlungstag\n137.277,82;01.01.2000;02.06.2002;4;ja\n"
         "137.277,82;01.01.2000;02.06.2002;4;\n137.277,82;01.01.2000;01.01.2000;4;x\n",
         1,
         {"2;137277,82;01.01.2000;01.06.2002;1;13283,98;0,00;150561,80;15,04;",
          "3;137277,82;01.01.2000;02.06.2002;1;13299,02;0,00;150576,84;15,04;",
          "4;;;;;;;;;bis: Der Zahlungstag (01.01.2000) zählt nicht mit und ist der erste "
          "Zinstag: es bleibt kein Zinstag."},
         {"tarvo-zins: Zeile 4: bis: Der Zahlungstag (01.01.2000) zählt nicht mit und ist der "
          "erste Zinstag: es bleibt kein Zinstag."}},
        // What a message quotes of a cell is short, and a field no reader needs is refused.
        {{"zinsen", "--csv", "-", "--format", "csv"},
         "betrag;von;bis;satz\n" + QByteArray(100000, '7') + ";15.01.2005;15.03.2005;1x\n",
         1,
         {"2;;;;;betrag: „7777777777777777777777777777777777777777…“ ist zu lang (höchstens 64 "
          "Zeichen)"},
         {"tarvo-zins: Zeile 2: betrag: „7777777777777777777777777777777777777777…“ ist zu lang "
          "(höchstens 64 Zeichen)"}},
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

namespace {

// Columns Tarvo does not know come first in every row, result or error, in every format:
// unchanged, but for control characters where the format cannot hold them.
TEST(CliBatch, CarriesTheSheetsOwnColumnsToTheFrontOfEveryRow) {
    IsolatedHome home;
    GermanLocale de;
    const QByteArray sheet = "Rechnungsnr;Kunde;betrag;von;bis;satz;;Kunde\n"
                             "R-1;\"Meier; Sohn\";1000;15.01.2005;15.03.2005;10;;\n"
                             "R-2;\"zwei\nZeilen\x01\";abc;15.01.2005;15.03.2005;10;x;y\n";
    const struct {
        const char *format;
        QString out;
    } cases[] = {
        {"csv", "Rechnungsnr;Kunde;;Kunde;zeile;tage;zinstage;zinsen;formel;fehler\r\n"
                "R-1;\"Meier; Sohn\";;;2;59;59;16,40;euro;\r\n"
                "R-2;\"zwei\nZeilen␁\";x;y;3;;;;;betrag: „abc“ ist keine Zahl\r\n"},
        {"json",
         "{\"eingabe\": {\"Rechnungsnr\": \"R-1\", \"spalte_2\": \"Meier; Sohn\", \"spalte_7\": "
         "\"\", \"spalte_8\": \"\"}, \"zeile\": 2, \"tage\": 59, \"zinstage\": 59, \"zinsen\": "
         "\"16.40\", \"formel\": \"euro\"}\n"
         "{\"eingabe\": {\"Rechnungsnr\": \"R-2\", \"spalte_2\": \"zwei\\u000aZeilen\\u0001\", "
         "\"spalte_7\": \"x\", \"spalte_8\": \"y\"}, \"zeile\": 3, \"fehler\": \"betrag: „abc“ "
         "ist keine Zahl\"}\n"},
        {"text",
         "Rechnungsnr  Kunde    Kunde  Zeile  Tage / Zinstage                   Zinsen  "
         "Zinsformel\n"
         "R-1          Meier; Sohn               2  ( 59 / 59 Tage )                   16,40  "
         "euro\n"
         "R-2          zwei␊Zeilen␁  x  y          3  Fehler: betrag: „abc“ ist keine Zahl\n"},
    };
    for (const auto &c : cases) {
        const TRunResult run = RunWith({"zinsen", "--csv", "-", "--format", c.format}, sheet);
        EXPECT_EQ(run.status, 1) << c.format;
        EXPECT_EQ(run.out, c.out) << c.format;
        EXPECT_EQ(run.err, "tarvo-zins: Zeile 3: betrag: „abc“ ist keine Zahl\n") << c.format;
    }
}

// A device that takes a number of writes, then fails as a full disk does.
class TFullDevice : public QIODevice {
public:
    explicit TFullDevice(int writes) : FLeft(writes) { open(WriteOnly | Unbuffered); }
    int Calls = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override {
        ++Calls;
        if (FLeft-- > 0) return size;
        setErrorString(QStringLiteral("kein Platz mehr auf dem Datenträger"));
        return -1;
    }

private:
    int FLeft;
};

// A failed write is reported once and fails the run, and a batch stops at it.
TEST(CliOutput, StopsAtTheFirstFailedWriteAndSaysWhy) {
    IsolatedHome home;
    QByteArray batch = "betrag;von;bis;satz\n";
    for (int i = 0; i < 100000; ++i)
        batch += "1000;15.01.2005;15.03.2005;10\n";
    const struct {
        QStringList arguments;
        QByteArray input;
        int writes; // that succeed
        int calls;  // that are made
    } cases[] = {
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10"}, {}, 0, 1},
        {{"--help"}, {}, 0, 1},
        {{"zinsen", "--csv", "-"}, batch, 0, 1},
        {{"zinsen", "--csv", "-"}, batch, 2, 3},
        {{"zinsen", "--csv", "-"}, batch, 1000, 6}, // all of it, a MiB a write
    };
    for (const auto &c : cases) {
        QBuffer in, err;
        in.setData(c.input);
        in.open(QIODevice::ReadOnly);
        err.open(QIODevice::WriteOnly);
        TFullDevice out(c.writes);
        const int status = RunCommandLine(ParseCommandLine(c.arguments), in, out, err);
        const bool failed = c.calls > c.writes;
        EXPECT_EQ(status, failed ? 1 : 0) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(out.Calls, c.calls) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(err.data()),
                  failed ? "tarvo-zins: Standardausgabe: Schreiben nicht möglich: kein Platz mehr "
                           "auf dem Datenträger\n"
                         : "");
    }
}

} // namespace

namespace {

QString PackagingFile(const char *name) {
    QFile file(QStringLiteral(TARVO_PACKAGING "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every option the parser takes is in --help, the manual page and the bash completion.
TEST(CliArguments, HelpManualAndCompletionNameEveryOption) {
    const QString manual = PackagingFile("tarvo-zins.1").remove(u'\\');
    const QString completion = PackagingFile("tarvo-zins.bash");
    QStringList options{"--csv", "--format", "--bom", "--import", "--help", "--version"};
    for (int field = fdVon; field < FieldCount; ++field)
        options << "--" + FieldName(TField(field));
    for (const QString &option : options) {
        EXPECT_TRUE(HelpText().contains(option)) << option.toStdString();
        EXPECT_TRUE(manual.contains(option)) << option.toStdString();
        EXPECT_TRUE(completion.contains(option)) << option.toStdString();
    }
}

} // namespace
