// The claims statement's window on the real windows, driven by real keys: a case typed into its
// tables gives the renderer's statement of the same case; saved and opened again it gives it
// again; unsaved changes are marked and asked about; a file that cannot be read or written
// changes nothing and says why; a faulty cell is focused on Enter.

#include "app/forderung/forderung.h"
#include "report/claims.h"
#include "tests/app/claims/ui.h"
#include "tests/app/windows.h"
#include "tests/support/smalldisk.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

const QString Worked = QStringLiteral(TARVO_ENGINE_TEST_DATA "/mueller-schmidt.tarvo");

QByteArray Contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The renderer's statement of a case file, from the table's header on: what the window shows.
QList<QStringList> StatementOf(const QString &path) {
    TClaimsReport report;
    EXPECT_FALSE(LoadCaseFile(path, EmptyDate, report.File));
    report.Statement = CalculateClaims(report.File.Case, ShippedBaseRates());
    report.Reach = ShippedBaseRates().Reach();
    const QList<QStringList> grid = ClaimsGrid(report);
    return grid.mid(grid.indexOf(ClaimsHeader()));
}

class ForderungWindowTest : public ProgramWindows {
protected:
    // The bar, then the window through the bar's key, as a user opens it.
    TForderungForm &Open() {
        TForm1 &bar = Create();
        bar.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&bar));
        QTest::keyClick(bar.sedit1, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        auto *form = qobject_cast<TForderungForm *>(bar.Window("forderung"));
        EXPECT_TRUE(form && QTest::qWaitForWindowActive(form));
        QCoreApplication::processEvents(); // the user's rates are read once the window is up
        return *form;
    }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    static void Type(const QString &text) {
        for (const QChar c : text) {
            // Letters beyond ASCII have no key of their own in Qt Test: sent as text.
            if (c.unicode() < 128)
                QTest::keyClicks(QApplication::focusWidget(), QString(c));
            else
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                    QString(c), Qt::NoModifier);
            QCoreApplication::processEvents();
        }
    }
    // A row added by Insert in the table, its cells typed one after the other with Tab; an
    // empty text passes a cell, " " ticks a check box.
    static void TypeRow(QTableView *table, const QStringList &cells) {
        table->setFocus();
        Key(Qt::Key_Insert);
        for (const QString &cell : cells) {
            if (cell == " ")
                Key(Qt::Key_Space);
            else if (!cell.isEmpty())
                Type(cell);
            Key(Qt::Key_Tab);
        }
        if (QWidget *editor = QApplication::focusWidget(); editor != table) Key(Qt::Key_Escape);
    }
    // The statement as the window shows it: header, bookings, blank, sums, blank, rules, blank,
    // the Antragstext, in the renderer's grid.
    static QList<QStringList> Shown(const TForderungForm &form) {
        const auto *table = Child<QTableView>(form, "Table");
        const auto *sums = Child<QTableWidget>(form, "Sums");
        QList<QStringList> grid{ClaimsHeader()};
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->model()->columnCount(); ++column)
                cells << table->model()->index(row, column).data().toString();
            grid << cells;
        }
        grid << QStringList();
        for (int row = 0; row < sums->rowCount(); ++row)
            grid << QStringList{sums->item(row, 0)->text(), sums->item(row, 1)->text()};
        grid << QStringList();
        for (const QString &line : Child<QLabel>(form, "Rules")->text().split(u'\n'))
            grid << QStringList{line};
        grid << QStringList() << QStringList{"Antragstext"};
        for (const QString &line :
             Child<QPlainTextEdit>(form, "Application")->toPlainText().split(u'\n'))
            grid << QStringList{line};
        return grid;
    }
    static QString ShownTitle(const TForderungForm &form) { return form.windowHandle()->title(); }

    QTemporaryDir out;
};

} // namespace

// The worked case typed through the keyboard: the statement equals the renderer's of the same
// case read from its file.
TEST_F(ForderungWindowTest, ATypedCaseGivesTheRenderersStatement) {
    TForderungForm &form = Open();
    ASSERT_EQ(QApplication::focusWidget(), Child<QLineEdit>(form, "CaseName"));
    Type("Müller ./. Schmidt");
    Key(Qt::Key_I, Qt::AltModifier); // St&ichtag
    Type("07122026");
    auto *entries = Child<QTabWidget>(form, "Entries");
    TypeRow(Child<QTableView>(form, "Claims"),
            {"Rechnung 4711", "4250", "16012024", "k", "", "", " "});
    TypeRow(Child<QTableView>(form, "Claims"), {"Rechnung 4712", "980,50", "01032024", "f", "8"});
    entries->setCurrentIndex(1);
    TypeRow(Child<QTableView>(form, "Costs"), {"Mahnkosten", "36", "01032024"});
    TypeRow(Child<QTableView>(form, "Costs"),
            {"Gerichtskosten", "438", "02052024", "03052024", "a", "5"});
    entries->setCurrentIndex(2);
    TypeRow(Child<QTableView>(form, "Payments"), {"02052024", "1.000", "2"});
    TypeRow(Child<QTableView>(form, "Payments"), {"30062025", "1500"});
    EXPECT_EQ(desktop.messages, QStringList());
    EXPECT_EQ(Child<QLabel>(form, "Reason")->text(), "");
    EXPECT_EQ(Shown(form), StatementOf(Worked));
    EXPECT_EQ(entries->tabText(2), "Zahlu&ngen (2)");
    EXPECT_TRUE(form.isWindowModified());
    EXPECT_EQ(ShownTitle(form), "Müller ./. Schmidt* – Forderungsaufstellung");

    // Saved, a new case, the file opened again: the same statement, nothing unsaved.
    desktop.fileName = out.filePath("fall");
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(form.FilePath(), out.filePath("fall.tarvo"));
    EXPECT_EQ(ShownTitle(form), "Müller ./. Schmidt – Forderungsaufstellung");
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Child<QTableView>(form, "Table")->model()->rowCount(), 0);
    desktop.fileName = out.filePath("fall.tarvo");
    Key(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Shown(form), StatementOf(Worked));
    EXPECT_FALSE(form.isWindowModified());
    EXPECT_EQ(desktop.questions, QStringList());
    EXPECT_EQ(desktop.messages, QStringList());

    // The next opening of the window offers the file among the last opened.
    form.close();
    const auto *recent = Open().findChild<QMenu *>("RecentMenu");
    ASSERT_TRUE(recent);
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_TRUE(recent->actions()[0]->text().endsWith("/fall.tarvo"));
}

// A changed case asks before it goes: Abbrechen keeps it, Speichern saves it, Verwerfen lets it
// go unsaved; an unchanged case goes without a question.
TEST_F(ForderungWindowTest, UnsavedChangesAreAskedAboutOnClose) {
    const QString path = out.filePath("fall.tarvo");
    ASSERT_TRUE(QFile::copy(Worked, path));
    const QString question =
        "Forderungsaufstellung|Die Änderungen an „Müller ./. Schmidt“ sind "
        "nicht gespeichert. Sollen sie gespeichert werden?|Speichern/Verwerfen";
    const struct {
        int choice;
        bool closed;
        bool saved;
    } cases[] = {{-1, false, false}, {1, true, false}, {0, true, true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.choice);
        TForderungForm &form = Open();
        ASSERT_TRUE(form.OpenCase(path));
        const QByteArray before = Contents(path);
        Child<QLineEdit>(form, "Reference")->setFocus();
        Type(" neu");
        EXPECT_TRUE(ShownTitle(form).endsWith("* – Forderungsaufstellung"));
        desktop.questions.clear();
        desktop.choice = c.choice;
        form.close();
        EXPECT_EQ(desktop.questions, QStringList{question});
        EXPECT_EQ(form.isVisible(), !c.closed);
        EXPECT_EQ(Contents(path) != before, c.saved);
        if (c.saved) {
            EXPECT_TRUE(Contents(path).contains("\"12 C 345/26 neu\""));
        }
        // Unknown keys of the file are kept.
        EXPECT_TRUE(Contents(path).contains("\"waehrung\"") &&
                    Contents(path).contains("\"notiz\""));
        if (form.isVisible()) {
            desktop.choice = 1;
            form.close();
        }
        ASSERT_TRUE(QFile::remove(path) && QFile::copy(Worked, path));
    }
    TForderungForm &form = Open();
    ASSERT_TRUE(form.OpenCase(path));
    desktop.questions.clear();
    form.close();
    EXPECT_EQ(desktop.questions, QStringList());
    EXPECT_FALSE(form.isVisible());
}

// A file that cannot be read is refused with its name and the reason, and the case shown stays.
TEST_F(ForderungWindowTest, ABrokenFileIsRefusedAndChangesNothing) {
    TForderungForm &form = Open();
    ASSERT_TRUE(form.OpenCase(Worked));
    const QList<QStringList> statement = Shown(form);
    const QString title = ShownTitle(form);
    const struct {
        const char *name;
        QByteArray content;
        const char *message; // its start
    } cases[] = {
        {"kaputt.tarvo", "{\"format\": \"tarvo-forderung\",\n\"version\": 1,\n", "Die Datei „"},
        {"neuer.tarvo", "{\"format\": \"tarvo-forderung\", \"version\": 2}", "Die Datei „"},
        {"fremd.tarvo", "{\"format\": \"etwas\", \"version\": 1}", "Die Datei „"},
    };
    for (const auto &c : cases) {
        const QString path = out.filePath(c.name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        desktop.messages.clear();
        EXPECT_FALSE(form.OpenCase(path));
        ASSERT_EQ(desktop.messages.size(), 1) << c.name;
        EXPECT_TRUE(desktop.messages[0].contains(c.name)) << desktop.messages[0].toStdString();
        EXPECT_EQ(Shown(form), statement) << c.name;
        EXPECT_EQ(ShownTitle(form), title);
        EXPECT_EQ(form.FilePath(), Worked);
    }
}

// A save that fails (the disk full) leaves the file as it was, says so, and keeps the mark.
TEST_F(ForderungWindowTest, AFailedSaveLeavesTheFileAndSaysSo) {
    const TSmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    const QString path = disk.File("fall.tarvo");
    ASSERT_TRUE(QFile::copy(Worked, path));
    const QByteArray before = Contents(path);
    TForderungForm &form = Open();
    ASSERT_TRUE(form.OpenCase(path));
    Child<QLineEdit>(form, "Creditor")->setText(QString(2000, u'x'));
    disk.Fill();
    desktop.messages.clear();
    EXPECT_FALSE(form.SaveCase());
    ASSERT_EQ(desktop.messages.size(), 1);
    EXPECT_TRUE(desktop.messages[0].contains("fall.tarvo")) << desktop.messages[0].toStdString();
    EXPECT_EQ(Contents(path), before);
    EXPECT_TRUE(form.isWindowModified());
    desktop.choice = 1;
}

// Enter with a fault: no statement, the reason shown and told, the cell or field focused.
TEST_F(ForderungWindowTest, EnterFocusesTheFaultyCellOrField) {
    const struct {
        TEntryTable table;
        int column; // -1: the statement day
        const char *text;
        const char *reason;
    } cases[] = {
        {TEntryTable::Claims, clAmount, "", "Bitte den Betrag der Forderung 1 eingeben."},
        {TEntryTable::Claims, clAmount, "0",
         "Der Betrag der Forderung 1 muss größer als 0,00 sein."},
        {TEntryTable::Payments, paClaim, "5", nullptr},
        {TEntryTable::Costs, coFirstDay, "01.01.2024", nullptr},
        {TEntryTable::Claims, -1, "01.01.2020", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        TForderungForm &form = Open();
        desktop.choice = 1;
        ASSERT_TRUE(form.OpenCase(Worked));
        if (c.column < 0) {
            Child<TDateEdit>(form, "StatementDay")->SetText(c.text);
        } else {
            auto *table = Child<QTableView>(form, c.table == TEntryTable::Claims  ? "Claims"
                                                  : c.table == TEntryTable::Costs ? "Costs"
                                                                                  : "Payments");
            table->model()->setData(table->model()->index(c.table == TEntryTable::Costs, c.column),
                                    QString::fromUtf8(c.text));
        }
        Child<QLineEdit>(form, "CaseName")->setFocus();
        desktop.messages.clear();
        Key(Qt::Key_Return);
        ASSERT_EQ(desktop.messages.size(), 1);
        const QString reason = Child<QLabel>(form, "Reason")->text();
        EXPECT_EQ(desktop.messages[0], "Forderungsaufstellung|" + reason);
        if (c.reason) {
            EXPECT_EQ(reason, QString::fromUtf8(c.reason));
        }
        EXPECT_EQ(Child<QTableView>(form, "Table")->model()->rowCount(), 0);
        if (c.column < 0) {
            EXPECT_EQ(QApplication::focusWidget(), Child<TDateEdit>(form, "StatementDay"));
        } else {
            auto *focused = qobject_cast<QTableView *>(QApplication::focusWidget());
            ASSERT_TRUE(focused);
            EXPECT_EQ(qobject_cast<TEntryModel *>(focused->model())->Table(), c.table);
            EXPECT_EQ(focused->currentIndex().column(), c.column);
            EXPECT_EQ(focused->currentIndex().row(), c.table == TEntryTable::Costs ? 1 : 0);
        }
        form.close();
    }
}

// The default-interest window's claim goes on as the first claim of a new case.
TEST_F(ForderungWindowTest, TheDefaultInterestWindowsClaimStartsACase) {
    TForm1 &bar = Create();
    bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    QTest::keyClick(bar.sedit1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    auto *verzug = qobject_cast<TVerzugForm *>(bar.Window("verzug"));
    ASSERT_TRUE(verzug && QTest::qWaitForWindowActive(verzug));
    QCoreApplication::processEvents();
    const TVerzugUi ui(*verzug);
    ui.RateRule->setCurrentIndex(rkNoConsumer);
    ui.Amount->setFocus();
    Type("3089");
    Key(Qt::Key_Tab);
    Type("17042025");
    Key(Qt::Key_Tab);
    Type("20022026");
    QTest::mouseClick(Child<QPushButton>(*verzug, "ClaimsButton"), Qt::LeftButton);
    auto *form = qobject_cast<TForderungForm *>(bar.Window("forderung"));
    ASSERT_TRUE(form && form->isVisible());
    const auto *claims = Child<QTableView>(*form, "Claims")->model();
    ASSERT_EQ(claims->rowCount(), 1);
    QStringList cells;
    for (const int column : {clAmount, clFirstDay, clRule})
        cells << claims->index(0, column).data().toString();
    EXPECT_EQ(cells.join(u'|'), "3.089,00|17.04.2025|kein Verbraucher beteiligt");
    EXPECT_EQ(Child<TDateEdit>(*form, "StatementDay")->Text(), "20.02.2026");
    // The same interest as the default-interest window's, now as the case's open interest.
    EXPECT_EQ(form->Report().Statement.Open.Interest, verzug->Statement().Result.Interest);
    EXPECT_TRUE(form->isWindowModified());
    desktop.choice = 1;
}

// Copy, CSV and PDF give the renderer's texts of the case shown; the PDF numbers its pages and
// repeats the table's header on each.
TEST_F(ForderungWindowTest, ExportsAreTheRenderersOfTheCaseShown) {
    TForderungForm &form = Open();
    ASSERT_TRUE(form.OpenCase(Worked));
    // Long enough for a second page.
    auto *payments = Child<QTableView>(form, "Payments")->model();
    for (int day = 1; day <= 40; ++day) {
        const int row = qobject_cast<TEntryModel *>(payments)->AddRow();
        payments->setData(payments->index(row, paDate), QString("%1.07.2025").arg(day % 28 + 1));
        payments->setData(payments->index(row, paAmount), "10");
    }
    const TClaimsReport &report = form.Report();
    ASSERT_FALSE(report.Statement.Error);
    Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(desktop.clipboard, ClaimsText(report));
    EXPECT_EQ(desktop.clipboardHtml, ClaimsHtml(report));

    desktop.fileName = out.filePath("aufstellung.csv");
    form.SaveCsv();
    EXPECT_EQ(Contents(desktop.fileName), ClaimsCsv(report));
    // The name the dialog gave is asked about by the dialog; without the suffix it is another
    // file, asked about here.
    desktop.fileName = out.filePath("aufstellung");
    form.SaveCsv();
    EXPECT_EQ(desktop.questions.size(), 1);

    desktop.fileName = out.filePath("aufstellung.pdf");
    form.SavePdf();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", desktop.fileName, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(10000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    const qsizetype pages = text.count(u'\f');
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(text.contains(QString("Seite %1 von %2").arg(page).arg(pages))) << page;
    EXPECT_EQ(text.count(QRegularExpression("Datum +Vorgang +Von +Bis")), pages);
    EXPECT_EQ(desktop.messages, QStringList());
    desktop.choice = 1;
}

// The law decides the day counts, the order of allocation, the check boxes and how amounts are
// written; the values typed stay, and a rule the law does not offer is the cell to mend.
TEST_F(ForderungWindowTest, TheLawDecidesWhatIsOffered) {
    TForderungForm &form = Open();
    ASSERT_TRUE(form.OpenCase(Worked));
    const struct {
        const char *law;
        const char *dayCounts;
        const char *allocation; // the order named where there is no choice
        QList<int> hidden;      // of the claims' columns
        const char *amount;
    } cases[] = {
        {"Schweiz",
         "30/360 (Schweizer Usanz)|taggenau (act/365)|act/360",
         "Art. 85–87 OR",
         {clBefore, clFlatFee},
         "4.250,00"},
        {"Österreich",
         "taggenau (act/365)|act/act|act/360|30/360",
         "§§ 1415, 1416 ABGB",
         {},
         "4.250,00"},
        {"Deutschland", "taggenau (act/365)|act/act|act/360|30/360", "", {clSued}, "4.250,00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.law);
        auto *law = Child<QComboBox>(form, "Law");
        law->setCurrentIndex(law->findText(QString::fromUtf8(c.law)));
        auto *dayCount = Child<QComboBox>(form, "DayCount");
        QStringList counts;
        for (int i = 0; i < dayCount->count(); ++i)
            counts << dayCount->itemText(i);
        EXPECT_EQ(counts.join(u'|'), QString::fromUtf8(c.dayCounts));
        auto *allocation = Child<QLabel>(form, "AllocationText");
        EXPECT_EQ(allocation->isVisible() ? allocation->text() : QString(),
                  QString::fromUtf8(c.allocation));
        auto *claims = Child<QTableView>(form, "Claims");
        QList<int> hidden;
        for (int column = 0; column < claims->model()->columnCount(); ++column)
            if (claims->isColumnHidden(column)) hidden << column;
        EXPECT_EQ(hidden, c.hidden);
        EXPECT_EQ(claims->model()->index(0, clAmount).data().toString(), c.amount);
    }
    // Back in Germany the case is what it was.
    EXPECT_EQ(Shown(form), StatementOf(Worked));
    EXPECT_TRUE(form.isWindowModified());
    desktop.choice = 1;
}
