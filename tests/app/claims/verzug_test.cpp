// The default-interest window on the real windows, driven by real keys and mouse clicks: opened
// from the bar, the first worked case typed in, its statement copied, saved and printed, bad
// input refused with a German message, the user's base rates added, imported and kept aside
// when broken, and the inputs remembered.

#include "app/claims/verzugexport.h"
#include "engine/userrates.h"
#include "platform/gui/application.h"
#include "report/amounts.h"
#include "tests/app/claims/ui.h"
#include "tests/app/windows.h"
#include "tests/support/smalldisk.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString FirstCaseText =
    "Forderung\t3.089,00 €\n"
    "Zinszeitraum\t17.04.2025 – 20.02.2026\n"
    "Zinssatz\tBasiszinssatz + 5 Prozentpunkte (§ 288 Abs. 1 BGB)\n"
    "Tageszählung\ttaggenau: tatsächliche Tage / 365\n"
    "\n"
    "Von\tBis\tTage\tBasiszinssatz\tAufschlag\tZinssatz\tZinsen\n"
    "17.04.2025\t30.06.2025\t75\t2,27 %\t5,00 %\t7,27 %\t46,14\n"
    "01.07.2025\t31.12.2025\t184\t1,27 %\t5,00 %\t6,27 %\t97,64\n"
    "01.01.2026\t20.02.2026\t51\t1,27 %\t5,00 %\t6,27 %\t27,06\n"
    "\n"
    "Forderung\t\t\t\t\t\t3.089,00 €\n"
    "Zinsen\t\t\t\t\t\t170,84 €\n"
    "Gesamt\t\t\t\t\t\t3.259,84 €\n"
    "Zinsen je weiteren Tag\t\t\t\t\t\t0,53 €\n"
    "\n"
    "Tageszählung taggenau: tatsächliche Tage / 365 · erster und letzter Zinstag zählen mit · "
    "jede Zeile auf den Cent gerundet\n";

// The platform's window is active before the widgets hear of it.
bool WaitForActive(QWidget *window) {
    const bool active = window && QTest::qWaitForWindowActive(window);
    QCoreApplication::processEvents();
    return active;
}

class VerzugWindowTest : public ProgramWindows {
protected:
    // The bar, then the window through the bar's key, as a user opens it.
    TVerzugForm &Open() {
        TForm1 &bar = Create();
        bar.activateWindow();
        EXPECT_TRUE(WaitForActive(&bar));
        QTest::keyClick(bar.sedit1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        TVerzugForm *form = qobject_cast<TVerzugForm *>(bar.Window("verzug"));
        EXPECT_TRUE(form && WaitForActive(form));
        QCoreApplication::processEvents(); // the user's rates are read once the window is up
        return *form;
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    static void Type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    // From the amount: amount, Tab, first day, Tab, last day, Enter.
    static void TypeCase(const QString &amount, const QString &first, const QString &last) {
        const QString texts[] = {amount, first, last};
        for (const QString &text : texts) {
            if (&text != texts) Key(Qt::Key_Tab);
            // Entering a field selects its text: typing replaces it, Delete empties it.
            if (text.isEmpty())
                Key(Qt::Key_Delete);
            else
                Type(text);
        }
        Key(Qt::Key_Return);
    }
    static QStringList Cells(const TVerzugForm &form, int row) {
        QStringList cells;
        const QAbstractItemModel *model = TVerzugUi(form).Table->model();
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    static QString SumsShown(const TVerzugForm &form) {
        const TVerzugUi ui(form);
        QStringList sums;
        for (int i = 0; i < ui.SumLabels.size(); ++i)
            if (!ui.SumLabels[i]->text().isEmpty())
                sums << ui.SumLabels[i]->text() + u' ' + ui.SumValues[i]->text();
        return sums.join(u'|');
    }
    // Printing goes to a PDF file instead of the print dialog, through the print module as the
    // build makes it, where an installed program finds it beside itself.
    static void PrintInto(TVerzugForm &form, const QString &file) {
        QCoreApplication::addLibraryPath(PRINT_MODULE_DIR);
        form.SetChoosePrinter([file](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            return true;
        });
    }
    QString UserRatesPath() const { return home.dataHome() + "/tarvo/" + UserRatesFileName; }
    QTemporaryDir out;
};

QString PdfText(const QString &path) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", path, "-"});
    pdftotext.waitForFinished(10000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

} // namespace

TEST_F(VerzugWindowTest, TheFirstWorkedCaseTypedGivesTheTableAndTheSums) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    EXPECT_EQ(ui.RateRule->currentText(), "Verbraucher beteiligt");
    EXPECT_EQ(ui.DayCount->currentText(), "taggenau (act/365)");
    ASSERT_EQ(QApplication::focusWidget(), ui.Amount);
    TypeCase("3089", "17042025", "20022026");
    EXPECT_EQ(desktop.messages, QStringList());
    ASSERT_EQ(ui.Table->model()->rowCount(), 3);
    EXPECT_EQ(Cells(form, 0).join(u'|'), "17.04.2025|30.06.2025|75|2,27 %|5,00 %|7,27 %|46,14");
    EXPECT_EQ(Cells(form, 1).join(u'|'), "01.07.2025|31.12.2025|184|1,27 %|5,00 %|6,27 %|97,64");
    EXPECT_EQ(Cells(form, 2).join(u'|'), "01.01.2026|20.02.2026|51|1,27 %|5,00 %|6,27 %|27,06");
    EXPECT_EQ(SumsShown(form), "Forderung: 3.089,00 €|Zinsen: 170,84 €|Gesamt: 3.259,84 €|"
                               "Zinsen je weiteren Tag: 0,53 €");
    EXPECT_TRUE(ui.Rules->text().startsWith("Tageszählung taggenau"));
    EXPECT_EQ(ui.Reach->text(), "Basiszinssätze bis 31.12.2026");
}

// Tab goes amount, days, rule, the rule's own inputs, day count; Enter calculates from each.
// A court's 13.283,98 € for 4 % on 137.277,82 € from 01.01.2000 to 02.06.2002 leaves out the day
// of payment; Tarvo counts it unless told otherwise, and remembers the choice.
TEST_F(VerzugWindowTest, TheDayOfPaymentCountsUnlessUntickedAndTheChoiceIsKept) {
    {
        TVerzugForm &form = Open();
        const TVerzugUi ui(form);
        ui.RateRule->setCurrentIndex(rkStatutory);
        ui.Amount->setFocus();
        TypeCase("137277,82", "01012000", "02062002");
        EXPECT_EQ(SumsShown(form).section(u'|', 1, 1), "Zinsen: 13.299,02 €");
        ui.PaymentDay->setFocus();
        QTest::keyClick(ui.PaymentDay, Qt::Key_Space);
        EXPECT_FALSE(ui.PaymentDay->isChecked());
        EXPECT_EQ(SumsShown(form).section(u'|', 1, 1), "Zinsen: 13.283,98 €");
        EXPECT_EQ(Cells(form, 0).mid(1, 2).join(u'|'), "01.06.2002|883");
        form.close();
    }
    EXPECT_FALSE(TVerzugUi(Open()).PaymentDay->isChecked());
}

TEST_F(VerzugWindowTest, TabWalksTheInputsOfEachRuleAndEnterCalculatesFromAny) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    const struct {
        int rule;
        QList<QWidget *> own;
    } rules[] = {
        {rkConsumer, {}},      {rkNoConsumer, {ui.Before29072014, ui.FlatFee}},
        {rkStatutory, {}},     {rkFixed, {ui.Rate}},
        {rkMargin, {ui.Rate}},
    };
    for (const auto &r : rules) {
        ui.RateRule->setCurrentIndex(r.rule);
        ui.Rate->setText("4");
        ui.Amount->setFocus();
        QList<QWidget *> chain{ui.FirstDay, ui.LastDay, ui.RateRule};
        chain << r.own << ui.DayCount;
        for (QWidget *next : chain) {
            Key(Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), next) << "rule " << r.rule;
        }
    }
    ui.Amount->SetValue(3089);
    ui.FirstDay->SetText("17.04.2025");
    ui.LastDay->SetText("20.02.2026");
    ui.RateRule->setCurrentIndex(rkNoConsumer);
    // One calculation for each Enter, wherever it is pressed.
    QSignalSpy calculated(ui.Table->model(), &QAbstractItemModel::modelReset);
    for (QWidget *input : QList<QWidget *>{ui.Amount, ui.FirstDay, ui.LastDay, ui.RateRule,
                                           ui.Before29072014, ui.FlatFee, ui.DayCount}) {
        const qsizetype before = calculated.count();
        input->setFocus();
        QTest::keyClick(input, Qt::Key_Return);
        EXPECT_EQ(calculated.count(), before + 1) << input->accessibleName().toStdString();
    }
    EXPECT_EQ(ui.Table->model()->rowCount(), 3);
    EXPECT_EQ(desktop.messages, QStringList());
    QTest::keyClick(ui.DayCount, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible()) << "Escape closes";
}

TEST_F(VerzugWindowTest, CopyPutsTabTextAndAnHtmlTableOnTheClipboard) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "20022026");
    Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(desktop.clipboard, FirstCaseText);
    EXPECT_TRUE(desktop.clipboardHtml.contains("<table")) << desktop.clipboardHtml.toStdString();
    EXPECT_TRUE(desktop.clipboardHtml.contains("<td align=\"right\">170,84 €</td>"));
    // The button calculates afresh: a changed input is copied as it now stands.
    ui.Amount->SetValue(1000);
    QTest::mouseClick(ui.CopyButton, Qt::LeftButton);
    EXPECT_TRUE(desktop.clipboard.contains("Forderung\t\t\t\t\t\t1.000,00 €"));
}

TEST_F(VerzugWindowTest, CsvPdfAndPrintAreWrittenWhole) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (tools/setup.sh installs it)";
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "20022026");
    desktop.fileName = out.filePath("Aufstellung"); // no suffix typed
    QTest::mouseClick(ui.CsvButton, Qt::LeftButton);
    QFile csv(out.filePath("Aufstellung.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a byte-order mark";
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    EXPECT_EQ(lines.mid(0, 5),
              QStringList({"Forderung;3.089,00 €", "Zinszeitraum;17.04.2025 – 20.02.2026",
                           "Zinssatz;Basiszinssatz + 5 Prozentpunkte (§ 288 Abs. 1 BGB)",
                           "Tageszählung;taggenau: tatsächliche Tage / 365", ""}));
    EXPECT_EQ(lines[5], "Von;Bis;Tage;Basiszinssatz;Aufschlag;Zinssatz;Zinsen");
    EXPECT_EQ(lines[6], "17.04.2025;30.06.2025;75;2,27 %;5,00 %;7,27 %;46,14");
    EXPECT_TRUE(lines.contains("Zinsen;;;;;;170,84 €"));

    desktop.fileName = out.filePath("Aufstellung.pdf");
    Key(Qt::Key_D, Qt::AltModifier);
    // A button's letter presses it visibly and clicks it a moment later.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(desktop.fileName); }));
    const QString pdf = PdfText(desktop.fileName);
    for (const char *shown :
         {"Zinsaufstellung", "Forderung: 3.089,00 €", "17.04.2025 – 20.02.2026",
          "Basiszinssatz + 5 Prozentpunkte", "01.07.2025", "97,64", "170,84 €", "0,53 €",
          "Basiszinssätze bis 31.12.2026", "erster und letzter Zinstag zählen mit"})
        EXPECT_TRUE(pdf.simplified().contains(QString::fromUtf8(shown))) << shown << "\n"
                                                                         << pdf.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files),
              QStringList({"Aufstellung.csv", "Aufstellung.pdf"}))
        << "no temporary file is left";

    const QString printed = out.filePath("gedruckt.pdf");
    PrintInto(form, printed);
    Key(Qt::Key_N, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(printed); }));
    EXPECT_TRUE(PdfText(printed).contains("170,84 €"));
    EXPECT_EQ(desktop.messages, QStringList());
}

TEST_F(VerzugWindowTest, AnExportThatCannotBeWrittenSaysWhyAndLeavesNothing) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "20022026");
    QFile blocker(out.filePath("Datei"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const struct {
        QString path, reason;
    } cases[] = {
        {out.filePath("fehlt/a.csv"), "Den Ordner „" + out.filePath("fehlt") + "“ gibt es nicht."},
        {out.filePath("Datei/a.csv"), "„" + out.filePath("Datei") + "“ ist kein Ordner."},
    };
    for (const auto &c : cases) {
        desktop.messages.clear();
        desktop.fileName = c.path;
        QTest::mouseClick(ui.CsvButton, Qt::LeftButton);
        EXPECT_EQ(desktop.messages, QStringList("Verzugszinsen|Die Datei „" + c.path +
                                                "“ kann nicht geschrieben werden: " + c.reason));
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList("Datei"));
}

QByteArray Contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void WriteFile(const QString &path, const QByteArray &data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

// A name typed without its suffix is a new name once the suffix is added: the user is asked
// before a file of that name is replaced.
TEST_F(VerzugWindowTest, ANameWhoseSuffixIsAddedIsReplacedOnlyWhenTheUserSaysSo) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "20022026");
    WriteFile(out.filePath("bericht.csv"), "alt");
    desktop.fileName = out.filePath("bericht");
    for (const bool answer : {false, true}) {
        desktop.answer = answer;
        desktop.questions.clear();
        QTest::mouseClick(ui.CsvButton, Qt::LeftButton);
        EXPECT_EQ(desktop.questions,
                  QStringList("Verzugszinsen|Die Datei „" + out.filePath("bericht.csv") +
                              "“ gibt es schon. Soll sie ersetzt werden?|"
                              "Ersetzen"));
        EXPECT_EQ(Contents(out.filePath("bericht.csv")) == "alt", !answer);
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList("bericht.csv"));
}

// On a full disk the old file stays as it was, and the user is told which file and why: CSV,
// PDF and a PDF printed to a file alike.
TEST_F(VerzugWindowTest, AFullDiskKeepsTheOldFileAndSaysWhy) {
    TSmallDisk disk(256 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "20022026");
    const QString printed = disk.File("gedruckt.pdf");
    PrintInto(form, printed);
    const struct {
        QString path;
        QPushButton *button;
    } cases[] = {{disk.File("a.csv"), ui.CsvButton},
                 {disk.File("a.pdf"), ui.PdfButton},
                 {printed, ui.PrintButton}};
    for (const auto &c : cases)
        WriteFile(c.path, "alt");
    disk.Fill();
    for (const auto &c : cases) {
        desktop.messages.clear();
        desktop.fileName = c.path;
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_EQ(Contents(c.path), "alt") << c.path.toStdString();
        EXPECT_EQ(desktop.messages, QStringList("Verzugszinsen|Die Datei „" + c.path +
                                                "“ kann nicht geschrieben werden: kein Platz "
                                                "mehr auf dem Datenträger"));
    }
    EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".filler", "a.csv", "a.pdf", "gedruckt.pdf"}))
        << "nothing half-written is left";
}

// Each fault stops the statement with one German message and takes the user to the input.
TEST_F(VerzugWindowTest, BadInputIsRefusedWithAGermanMessage) {
    const QString noBaseRate =
        "Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz nach § 247 BGB. Bitte einen "
        "festen Zinssatz wählen oder den ersten Zinstag auf den 01.01.2002 oder später legen.";
    const struct {
        QString amount, first, last;
        int rule;
        QString rate, message;
        char focused; // the amount, first or last day, or the rate
    } cases[] = {
        {"0", "17042025", "20022026", rkConsumer, "", "Die Forderung muss größer als 0,00 € sein.",
         'a'},
        {"-5", "17042025", "20022026", rkConsumer, "", "Die Forderung muss größer als 0,00 € sein.",
         'a'},
        {"3089", "20022026", "17042025", rkConsumer, "",
         "Der letzte Zinstag (17.04.2025) liegt vor dem ersten Zinstag (20.02.2026).", 'l'},
        {"3089", "", "20022026", rkConsumer, "", "Bitte den ersten Zinstag eingeben.", 'f'},
        {"3089", "31022025", "20022026", rkConsumer, "", "''31.02.2025'' ist kein gültiges Datum",
         'f'},
        {"3089", "01062001", "20022026", rkConsumer, "", noBaseRate, 'f'},
        {"3089", "17042025", "20022026", rkFixed, "vier",
         "„vier“ ist kein Zinssatz; erwartet wird eine Zahl mit höchstens zwei "
         "Nachkommastellen, etwa 4,5.",
         'r'},
        {"3089", "17042025", "20022026", rkMargin, "120",
         "Der Zinssatz 120,00 % liegt nicht zwischen 0,00 % und 100,00 %.", 'r'},
    };
    for (const auto &c : cases) {
        TVerzugForm &form = Open();
        const TVerzugUi ui(form);
        ui.RateRule->setCurrentIndex(c.rule);
        ui.Rate->setText(c.rate);
        ui.Amount->setFocus();
        desktop.messages.clear();
        TypeCase(c.amount, c.first, c.last);
        const std::string what = c.message.toStdString();
        EXPECT_EQ(desktop.messages, QStringList("Verzugszinsen|" + c.message)) << what;
        EXPECT_EQ(ui.Table->model()->rowCount(), 0) << what;
        EXPECT_EQ(SumsShown(form), "") << what;
        const QMap<char, QWidget *> inputs{
            {'a', ui.Amount}, {'f', ui.FirstDay}, {'l', ui.LastDay}, {'r', ui.Rate}};
        EXPECT_EQ(QApplication::focusWidget(), inputs[c.focused]) << what;
    }
}

TEST_F(VerzugWindowTest, AFixedRateNeedsNoBaseRateAndShowsNone) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    ui.RateRule->setCurrentIndex(rkFixed);
    ui.Rate->setText("4,5");
    TypeCase("1000", "01062001", "31052002");
    EXPECT_EQ(desktop.messages, QStringList());
    ASSERT_EQ(ui.Table->model()->rowCount(), 1) << "a fixed rate is not split";
    EXPECT_EQ(Cells(form, 0).join(u'|'), "01.06.2001|31.05.2002|365|–|–|4,50 %|45,00");
}

// The statement follows the inputs without Enter; while they give none, the table is empty and
// the reason stands above it, with no message box.
TEST_F(VerzugWindowTest, TheStatementFollowsTheInputsAndNeverShowsOthers) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "20022026");
    ASSERT_EQ(Cells(form, 0).join(u'|'), "17.04.2025|30.06.2025|75|2,27 %|5,00 %|7,27 %|46,14");
    const struct {
        std::function<void()> change;
        QString firstRow, reason;
    } steps[] = {
        {[&] { ui.RateRule->setCurrentIndex(rkNoConsumer); },
         "17.04.2025|30.06.2025|75|2,27 %|9,00 %|11,27 %|71,53", ""},
        {[&] {
             ui.FirstDay->setFocus();
             Type("1704");
         },
         "", "''17.04.    '' ist kein gültiges Datum"},
        {[&] { Type("2025"); }, "17.04.2025|30.06.2025|75|2,27 %|9,00 %|11,27 %|71,53", ""},
        {[&] { ui.DayCount->setCurrentIndex(2); },
         "17.04.2025|30.06.2025|75|2,27 %|9,00 %|11,27 %|72,53", ""},
        {[&] {
             ui.Amount->setFocus();
             Type("0");
         },
         "", "Die Forderung muss größer als 0,00 € sein."},
        {[&] {
             ui.Amount->SelectAll();
             Type("1.000");
         },
         "17.04.2025|30.06.2025|75|2,27 %|9,00 %|11,27 %|23,48", ""},
        {[&] { ui.LastDay->SetText("16.04.2025"); }, "",
         "Der letzte Zinstag (16.04.2025) liegt vor dem ersten Zinstag (17.04.2025)."},
    };
    for (const auto &step : steps) {
        step.change();
        const std::string what =
            step.reason.isEmpty() ? step.firstRow.toStdString() : step.reason.toStdString();
        EXPECT_EQ(Cells(form, 0).join(u'|'), step.firstRow.isEmpty() ? "||||||" : step.firstRow)
            << what;
        EXPECT_EQ(SumsShown(form).isEmpty(), step.firstRow.isEmpty()) << what;
        EXPECT_EQ(ui.Reason->isVisibleTo(&form), !step.reason.isEmpty()) << what;
        EXPECT_EQ(ui.Reason->text(), step.reason) << what;
    }
    EXPECT_EQ(desktop.messages, QStringList()) << "no box while typing";
}

// The old-claim box follows the first day until the user sets it; the flat fee is offered only
// where it is due, shows as not chosen elsewhere, and the user's choice comes back with it.
TEST_F(VerzugWindowTest, TheOldClaimBoxAndTheFlatFeeKeepTheUsersChoice) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    ui.RateRule->setCurrentIndex(rkNoConsumer);
    const struct {
        QString first;
        bool before;
    } days[] = {{"29072014", true}, {"30072014", false}, {"01012014", true}, {"30072014", false}};
    for (const auto &d : days) {
        ui.Amount->setFocus();
        Key(Qt::Key_Tab);
        Type(d.first);
        EXPECT_EQ(ui.Before29072014->isChecked(), d.before) << d.first.toStdString();
        EXPECT_EQ(ui.FlatFee->isEnabled(), !d.before) << d.first.toStdString();
    }
    ui.FlatFee->setFocus();
    Key(Qt::Key_Space);
    ui.Amount->SetValue(1000);
    ui.LastDay->SetText("31.12.2014");
    EXPECT_TRUE(SumsShown(form).contains("Pauschale nach § 288 Abs. 5 BGB: 40,00 €"))
        << SumsShown(form).toStdString();

    // A claim older than its first day: ticked by hand, it stays so while the day is edited.
    QTest::mouseClick(ui.Before29072014, Qt::LeftButton);
    ui.FirstDay->setFocus();
    Type("01082014");
    EXPECT_TRUE(ui.Before29072014->isChecked()) << "the user's, not the preset's";
    EXPECT_FALSE(ui.FlatFee->isEnabled());
    EXPECT_FALSE(ui.FlatFee->isChecked()) << "not due, so not shown as chosen";
    Key(Qt::Key_Return);
    EXPECT_EQ(Cells(form, 0).value(4), "8,00 %");
    EXPECT_FALSE(SumsShown(form).contains("Pauschale"));

    QTest::mouseClick(ui.Before29072014, Qt::LeftButton);
    EXPECT_TRUE(ui.FlatFee->isChecked()) << "the choice comes back";
    EXPECT_EQ(Cells(form, 0).value(4), "9,00 %");
    ui.RateRule->setCurrentIndex(rkConsumer);
    EXPECT_FALSE(ui.FlatFee->isChecked());
    ui.RateRule->setCurrentIndex(rkNoConsumer);
    EXPECT_TRUE(ui.FlatFee->isChecked());
    EXPECT_TRUE(SumsShown(form).contains("Pauschale"));
}

// A period past the table's reach is never extrapolated: the message names the half-year and
// offers to add its rate, which then counts, marked as the user's.
TEST_F(VerzugWindowTest, AMissingHalfYearStopsTheStatementAndOffersToAddTheRate) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    TypeCase("3089", "17042025", "15032027");
    const QString question =
        "Verzugszinsen|Für das Halbjahr ab 01.01.2027 ist kein Basiszinssatz bekannt (die "
        "Basiszinssätze reichen bis 31.12.2026). Bitte den Basiszinssatz ergänzen oder einen "
        "früheren letzten Zinstag wählen.|Basiszinssatz eintragen …";
    EXPECT_EQ(desktop.questions, QStringList(question));
    EXPECT_EQ(ui.Table->model()->rowCount(), 0);
    EXPECT_EQ(RatesDialogOf(form), nullptr) << "declined";

    desktop.answer = true;
    ui.Amount->setFocus();
    Key(Qt::Key_Return);
    TBaseRateDialog *dialog = RatesDialogOf(form);
    ASSERT_TRUE(dialog && dialog->isVisible());
    const TRatesUi ratesUi(*dialog);
    EXPECT_EQ(ratesUi.HalfYear->Text(), "01.01.2027");
    ASSERT_TRUE(WaitForActive(dialog));
    EXPECT_EQ(QApplication::focusWidget(), ratesUi.Rate);
    Type("1,5");
    Key(Qt::Key_Return);
    EXPECT_EQ(desktop.messages, QStringList());
    QFile file(UserRatesPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains("01.01.2027;1,50\n"));
    EXPECT_EQ(ratesUi.Rates->model()->index(0, 2).data().toString(), "eigener");
    // The statement follows at once.
    ASSERT_EQ(ui.Table->model()->rowCount(), 5);
    EXPECT_EQ(Cells(form, 4).mid(0, 4).join(u'|'), "01.01.2027|15.03.2027|74|1,50 % *");
    EXPECT_EQ(ui.Note->text(), "* vom Benutzer eingetragener Basiszinssatz");
    EXPECT_EQ(ui.Reach->text(), "Basiszinssätze bis 30.06.2027");
    // Outside the window the rate stays a number: the mark has a cell of its own.
    QTest::mouseClick(ui.CopyButton, Qt::LeftButton);
    const QStringList lines = desktop.clipboard.split(u'\n');
    EXPECT_TRUE(lines.contains("Von\tBis\tTage\tBasiszinssatz\tAufschlag\tZinssatz\tZinsen\t"));
    EXPECT_TRUE(lines.contains("01.07.2025\t31.12.2025\t184\t1,27 %\t5,00 %\t6,27 %\t97,64\t"));
    const QString last = lines.filter("01.01.2027").value(0);
    EXPECT_TRUE(last.startsWith("01.01.2027\t15.03.2027\t74\t1,50 %\t5,00 %\t6,50 %\t"))
        << last.toStdString();
    EXPECT_TRUE(last.endsWith("\t*")) << last.toStdString();
    EXPECT_TRUE(lines.contains("* vom Benutzer eingetragener Basiszinssatz"));
}

// Under Austrian law a missing half-year offers Austria's own rates: the change typed there goes
// into a file of its own, beside the German one, and the statement follows at once.
TEST_F(VerzugWindowTest, AnAustrianChangeIsAddedInAustriasOwnDialog) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    ui.Law->setCurrentIndex(lwAustria);
    ui.Amount->setFocus();
    desktop.answer = true;
    TypeCase("10000", "01072026", "31012027");
    ASSERT_EQ(desktop.questions.size(), 1);
    EXPECT_TRUE(desktop.questions[0].contains("Halbjahr ab 01.01.2027"))
        << desktop.questions[0].toStdString();
    auto *dialog = form.findChild<TAtRateDialog *>(QStringLiteral("AtRatesDialog"));
    ASSERT_TRUE(dialog && WaitForActive(dialog));
    EXPECT_EQ(Child<TDateEdit>(*dialog, "Day")->Text(), "01.01.2027");
    EXPECT_EQ(QApplication::focusWidget(), Child<QLineEdit>(*dialog, "Rate"));
    Type("2,5");
    Key(Qt::Key_Return);
    EXPECT_EQ(desktop.messages, QStringList());
    QFile austrian(home.dataHome() + "/tarvo/basiszinssaetze-at.txt");
    ASSERT_TRUE(austrian.open(QIODevice::ReadOnly));
    EXPECT_EQ(austrian.readAll(), "01.01.2027;2,50\n");
    EXPECT_FALSE(QFile::exists(UserRatesPath())) << "the German file is not touched";
    EXPECT_EQ(Child<QTableWidget>(*dialog, "Rates")->item(0, 2)->text(), "eigener");
    ASSERT_EQ(ui.Table->model()->rowCount(), 2);
    EXPECT_EQ(Cells(form, 1).mid(0, 6).join(u'|'),
              "01.01.2027|31.01.2027|31|2,50 % *|9,20 %|11,70 %");
    EXPECT_EQ(ui.Reach->text(), "Österreichische Basiszinssätze bis 30.06.2027");
}

TEST_F(VerzugWindowTest, TheRateDialogRefusesDatesAndValuesOutOfItsRules) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    QTest::mouseClick(ui.RatesButton, Qt::LeftButton);
    TBaseRateDialog *dialog = RatesDialogOf(form);
    ASSERT_TRUE(dialog && WaitForActive(dialog));
    const TRatesUi ratesUi(*dialog);
    const struct {
        QString day, rate, message;
    } cases[] = {
        {"15032027", "1",
         "Ein Basiszinssatz gilt jeweils ab dem 1. Januar oder 1. Juli, frühestens ab dem "
         "01.01.2002; 15.03.2027 ist kein solcher Tag."},
        {"01072027", "25", "Der Basiszinssatz 25,00 % liegt nicht zwischen -10,00 % und 20,00 %."},
        {"01072027", "-10,5",
         "Der Basiszinssatz -10,50 % liegt nicht zwischen -10,00 % und 20,00 %."},
        {"01072027", "eins",
         "„eins“ ist kein Zinssatz; erwartet wird eine Zahl mit höchstens zwei "
         "Nachkommastellen, etwa 1,27."},
    };
    for (const auto &c : cases) {
        desktop.messages.clear();
        ratesUi.HalfYear->setFocus();
        Type(c.day);
        ratesUi.Rate->setFocus();
        ratesUi.Rate->selectAll();
        Type(c.rate);
        Key(Qt::Key_Return);
        EXPECT_EQ(desktop.messages, QStringList("Basiszinssätze|" + c.message));
    }
    EXPECT_FALSE(QFile::exists(UserRatesPath())) << "nothing written";
    Key(Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(VerzugWindowTest, TheBundesbankDownloadIsImported) {
    PinnedClock spring2027(QDateTime(QDate(2027, 3, 31), QTime(12, 0))); // the download's day
    QFile csv(out.filePath("BBK01.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(";BBIN1.M.DE.BBK.BBKBAS2.EUR.ME;BBIN1.M.DE.BBK.BBKBAS2.EUR.ME_FLAGS\n"
              "Basiszinssatz gemäß § 247 BGB / Stand am Monatsende;;\n"
              "2026-11;1,52;\n2026-12;1,52;\n2027-01;1,77;\n2027-02;1,77;\n2027-03;.;\n");
    csv.close();
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    QTest::mouseClick(ui.RatesButton, Qt::LeftButton);
    TBaseRateDialog *dialog = RatesDialogOf(form);
    ASSERT_TRUE(dialog);
    const TRatesUi ratesUi(*dialog);
    desktop.fileName = csv.fileName();
    QTest::mouseClick(ratesUi.ImportButton, Qt::LeftButton);
    EXPECT_EQ(desktop.messages, QStringList());
    EXPECT_EQ(ratesUi.Status->text(), "„" + csv.fileName() +
                                          "“ gelesen: ein Halbjahr mit neuem "
                                          "Basiszinssatz.");
    EXPECT_EQ(ui.Reach->text(), "Basiszinssätze bis 30.06.2027");
    EXPECT_EQ(LoadUserRates(UserRatesPath()).Rates,
              (std::vector<TBaseRate>{{MakeDateSerial(2027, 1, 1), 177, true, true}}));
}

// A file that cannot be read is named with its line, kept aside, and never half-used.
TEST_F(VerzugWindowTest, ABrokenUserRateFileIsNamedAndKeptAside) {
    QDir().mkpath(home.dataHome() + "/tarvo");
    QFile broken(UserRatesPath());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("01.01.2027;1,50\n01.07.2027;zwei\n");
    broken.close();
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    ASSERT_EQ(desktop.messages.size(), 1);
    EXPECT_TRUE(desktop.messages[0].startsWith("Verzugszinsen|Die Datei „" + UserRatesPath() +
                                               "“ ist in Zeile 2 nicht lesbar: „zwei“ ist kein "
                                               "Zinssatz."))
        << desktop.messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(UserRatesPath()));
    EXPECT_EQ(QDir(home.dataHome() + "/tarvo").entryList({"*.broken-*"}).size(), 1);
    EXPECT_EQ(ui.Reach->text(), "Basiszinssätze bis 31.12.2026") << "not half-used";
    desktop.messages.clear();
    TypeCase("3089", "17042025", "20022026");
    EXPECT_EQ(SumsShown(form).section(u'|', 1, 1), "Zinsen: 170,84 €");
}

// An open window writes its values however the program ends, and not before.
TEST_F(VerzugWindowTest, AnOpenWindowsValuesAreWrittenAsTheProgramEnds) {
    const auto storedAmount = [] {
        TRegistry registry;
        return registry.OpenKey(SettingsKey, false) &&
                       registry.ValueExists(Setting::VerzugForderung)
                   ? registry.ReadString(Setting::VerzugForderung)
                   : QStringLiteral("(none)");
    };
    const struct {
        TEnding how;
        QString typed, stored;
    } ends[] = {{TEnding::LoopEnds, "100", "100.00"},
                {TEnding::SessionSaves, "200", "200.00"},
                {TEnding::ProcessExits, "300", "300.00"}};
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    for (const auto &end : ends) {
        ui.Amount->SelectAll();
        Type(end.typed);
        EXPECT_NE(storedAmount(), end.stored) << "typing writes nothing";
        emit TApplication::Instance()->Ending(end.how);
        EXPECT_EQ(storedAmount(), end.stored);
    }
}

// The last inputs, size and place come back at the next start, but the last day opens on today;
// the bar's values stay as they were.
TEST_F(VerzugWindowTest, TheWindowRemembersItsInputsSizeAndPlace) {
    {
        TVerzugForm &form = Open();
        const TVerzugUi ui(form);
        EXPECT_EQ(ui.Amount->Text(), "");
        ui.RateRule->setCurrentIndex(rkFixed);
        ui.Rate->setText("4,5");
        ui.DayCount->setCurrentIndex(2);
        form.resize(600, 400);
        form.move(40, 100);
        TypeCase("1234,5", "01022024", "30042024");
        Key(Qt::Key_Escape);
        ASSERT_FALSE(form.isVisible());
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKey, false));
    EXPECT_EQ(registry.ReadString("VerzugForderung"), "1234.50");
    EXPECT_EQ(registry.ReadString("VerzugErsterTag"), "2024-02-01");
    EXPECT_EQ(registry.ReadInteger("VerzugZinsregel"), rkFixed);
    EXPECT_EQ(registry.ReadInteger("VerzugTageszaehlung"), dcActual360);
    EXPECT_EQ(registry.ReadInteger("VerzugBreite"), 600);
    for (const char *barValue :
         {"pfad", "top", "left", "formel", "pos", "ontop", "auto", "version"})
        EXPECT_FALSE(registry.ValueExists(barValue)) << barValue << " is the bar's to write";

    TVerzugForm &again = Open();

    const TVerzugUi againUi(again);
    EXPECT_EQ(againUi.Amount->Value(), 1234.5L);
    EXPECT_EQ(againUi.FirstDay->Text(), "01.02.2024");
    EXPECT_EQ(againUi.LastDay->Text(), "02.05.2005") << "today";
    EXPECT_EQ(againUi.RateRule->currentIndex(), int(rkFixed));
    EXPECT_EQ(againUi.Rate->text(), "4,5");
    EXPECT_TRUE(againUi.Rate->isEnabled());
    EXPECT_EQ(againUi.DayCount->currentText(), "act/360");
    EXPECT_EQ(again.size(), QSize(600, 400));
    EXPECT_EQ(again.pos(), QPoint(40, 100));
}

// Every control can be reached by its own letter, and a screen reader names it.
TEST_F(VerzugWindowTest, EveryControlHasItsOwnAcceleratorAndAName) {
    TVerzugForm &form = Open();
    const TVerzugUi ui(form);
    ui.RateRule->setCurrentIndex(rkMargin);
    const auto letterOf = [](const QString &text) {
        const qsizetype at = text.indexOf(u'&');
        return at < 0 ? QChar() : text[at + 1].toLower();
    };
    QMap<QWidget *, QChar> letters;
    for (QLabel *label : form.findChildren<QLabel *>())
        if (label->buddy()) letters[label->buddy()] = letterOf(label->text());
    for (QAbstractButton *button : form.findChildren<QAbstractButton *>())
        if (button->window() == &form) letters[button] = letterOf(button->text());
    QWidget *const controls[] = {ui.Law,        ui.Amount,          ui.FirstDay,  ui.LastDay,
                                 ui.RateRule,   ui.Before29072014,  ui.Rate,      ui.FlatFee,
                                 ui.DayCount,   ui.CalculateButton, ui.Table,     ui.RatesButton,
                                 ui.CopyButton, ui.CsvButton,       ui.PdfButton, ui.PrintButton,
                                 ui.CloseButton};
    QSet<QChar> distinct;
    for (QWidget *control : controls) {
        const QString name =
            QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        EXPECT_FALSE(letters.value(control).isNull()) << name.toStdString();
        EXPECT_FALSE(name.isEmpty()) << control->metaObject()->className();
        distinct.insert(letters.value(control));
    }
    EXPECT_EQ(distinct.size(), std::size(controls)) << "no two controls share a letter";
    Key(Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), ui.DayCount);
    Key(Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), ui.Rate);
    EXPECT_FALSE(ui.CopyButton->accessibleDescription().isEmpty()) << "Strg+Umschalt+C told";
}

// Each control of the window and of its rates dialog has a name of its own, by which tools and
// tests find it.
TEST_F(VerzugWindowTest, EveryControlHasANameOfItsOwn) {
    TVerzugForm &form = Open();
    QTest::mouseClick(TVerzugUi(form).RatesButton, Qt::LeftButton);
    TBaseRateDialog *dialog = RatesDialogOf(form);
    ASSERT_TRUE(dialog);
    const auto direct = [](const QWidget *parent) {
        return parent ? parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)
                      : QList<QWidget *>();
    };
    const QList<QList<QWidget *>> windows{direct(Child<QWidget>(form, "Content")),
                                          direct(dialog) +
                                              direct(Child<QWidget>(*dialog, "Buttons"))};
    for (const QList<QWidget *> &controls : windows) {
        QSet<QString> names;
        for (const QWidget *control : controls) {
            EXPECT_FALSE(control->objectName().isEmpty())
                << control->metaObject()->className() << " "
                << control->accessibleName().toStdString();
            names.insert(control->objectName());
        }
        EXPECT_EQ(names.size(), controls.size()) << "no two share a name";
    }
}

// An ordinary window: never kept above other programs' windows, also beside a bar that is; it
// opens clear of the bar and inside the screen, however large it was stored.
TEST_F(VerzugWindowTest, AnOrdinaryWindowInsideTheScreenAndClearOfTheBar) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        bool onTop;
        QPoint at;
        QSize size;
    } cases[] = {
        {true, {30, 30}, {600, 400}},                          // over the bar
        {false, {-500, 900}, screen.size() + QSize(400, 300)}, // off and too large
    };
    for (const auto &c : cases) {
        Store([&](TRegistry &reg) {
            reg.WriteInteger("ontop", c.onTop);
            reg.WriteInteger("VerzugLinks", c.at.x());
            reg.WriteInteger("VerzugOben", c.at.y());
            reg.WriteInteger("VerzugBreite", c.size.width());
            reg.WriteInteger("VerzugHoehe", c.size.height());
        });
        TVerzugForm &form = Open();
        const TVerzugUi ui(form);
        EXPECT_EQ(form1->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), c.onTop);
        EXPECT_FALSE(form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(screen.contains(form.frameGeometry())) << c.at.x();
        EXPECT_FALSE(form.frameGeometry().intersects(form1->frameGeometry())) << c.at.x();
    }
}

// The law is chosen first, by its key: the rules, the old-contract box, the flat fee and the day
// counts follow it, a case typed shows the law's money, and the law, its rule and its day count
// come back at the next start.
TEST_F(VerzugWindowTest, TheLawOfTheCaseDecidesWhatIsOfferedAndIsRemembered) {
    const QStringList germanCounts{"taggenau (act/365)", "act/act", "act/360", "30/360"};
    const struct {
        QStringList rules, counts;
        QString box; // the old-claim box, empty where it is hidden
        bool flatFee;
        const char *amount, *first, *last;
        QString sums, reach;
    } laws[] = {
        {{"Verbraucher beteiligt", "kein Verbraucher beteiligt",
          "gesetzlicher Zinssatz 4 % (§ 246 BGB)", "Handelsgeschäft 5 % (§ 352 HGB)",
          "fester Zinssatz", "Aufschlag auf den Basiszinssatz"},
         germanCounts,
         "Forderung &vor dem 29.07.2014 entstanden",
         true,
         "3089",
         "17042025",
         "20022026",
         "Forderung: 3.089,00 €|Zinsen: 170,84 €|Gesamt: 3.259,84 €|Zinsen je weiteren Tag: 0,53 €",
         "Basiszinssätze bis 31.12.2026"},
        {{"unternehmerisches Geschäft (§ 456 UGB)",
          "gesetzlicher Zinssatz 4 % (§ 1000 Abs. 1 ABGB)", "fester Zinssatz",
          "Aufschlag auf den Basiszinssatz"},
         germanCounts,
         "Vertrag &vor dem 16.03.2013 geschlossen",
         true,
         "10000",
         "01012023",
         "31122023",
         "Forderung: EUR 10.000,00|Zinsen: EUR 1.183,62|Gesamt: EUR 11.183,62|Zinsen je weiteren "
         "Tag: EUR 3,45",
         "Österreichische Basiszinssätze bis 31.12.2026"},
        {{"Verzugszins 5 % (Art. 104 Abs. 1 OR)", "fester Zinssatz (vertraglich)"},
         {"30/360 (Schweizer Usanz)", "act/360", "act/365"},
         "",
         false,
         "10000",
         "01012025",
         "31032025",
         "Forderung: CHF 10.000,00|Zinsen: CHF 125,00|Gesamt: CHF 10.125,00|Zinsen je weiteren "
         "Tag: CHF 1,39",
         ""},
    };
    const auto items = [](const QComboBox *box) {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    };
    {
        TVerzugForm &form = Open();
        const TVerzugUi ui(form);
        for (int law = 0; law < int(std::size(laws)); ++law) {
            const auto &c = laws[law];
            SCOPED_TRACE(law);
            Key(Qt::Key_R, Qt::AltModifier);
            ASSERT_EQ(QApplication::focusWidget(), ui.Law);
            if (law > 0) Key(Qt::Key_Down);
            EXPECT_EQ(ui.Law->currentIndex(), law);
            EXPECT_EQ(items(ui.RateRule), c.rules);
            EXPECT_EQ(ui.RateRule->currentIndex(), 0);
            EXPECT_EQ(items(ui.DayCount), c.counts);
            EXPECT_EQ(ui.DayCount->currentIndex(), 0);
            EXPECT_EQ(ui.Before29072014->isVisibleTo(&form), !c.box.isEmpty());
            if (!c.box.isEmpty()) {
                EXPECT_EQ(ui.Before29072014->text(), c.box);
            }
            EXPECT_EQ(ui.FlatFee->isVisibleTo(&form), c.flatFee);
            EXPECT_EQ(ui.RatesButton->isEnabled(), !c.reach.isEmpty());
            ui.Amount->setFocus();
            TypeCase(c.amount, c.first, c.last);
            EXPECT_EQ(desktop.messages, QStringList());
            EXPECT_EQ(SumsShown(form), c.sums);
            EXPECT_EQ(ui.Reach->text(), c.reach);
        }
        Key(Qt::Key_Escape);
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKey, false));
    EXPECT_EQ(registry.ReadInteger("VerzugRecht"), int(lwSwitzerland));
    EXPECT_EQ(registry.ReadInteger("VerzugZinsregel"), int(rkStatutory));
    EXPECT_EQ(registry.ReadInteger("VerzugTageszaehlung"), int(dc30360Swiss));
    TVerzugForm &again = Open();
    const TVerzugUi ui(again);
    EXPECT_EQ(ui.Law->currentText(), "Schweiz");
    EXPECT_EQ(ui.RateRule->currentText(), "Verzugszins 5 % (Art. 104 Abs. 1 OR)");
    EXPECT_EQ(ui.DayCount->currentText(), "30/360 (Schweizer Usanz)");
    // Back to Germany: its rules and counts again, the consumer's rule first.
    ui.Law->setFocus();
    Key(Qt::Key_Home);
    EXPECT_EQ(items(ui.RateRule), laws[0].rules);
    EXPECT_EQ(ui.DayCount->currentText(), "taggenau (act/365)");
}

TEST(StatementText, CountsHaveThousandsDots) {
    const struct {
        qint64 value;
        QString text;
    } cases[] = {{0, "0"},        {999, "999"},           {1000, "1.000"},
                 {8766, "8.766"}, {1234567, "1.234.567"}, {-1000, "-1.000"}};
    for (const auto &c : cases)
        EXPECT_EQ(CountText(c.value), c.text);
}
