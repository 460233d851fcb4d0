// The base-rates dialog driven by real keys and clicks: a picked row fills the fields, own
// rates are deleted, typed and imported ones are told apart, a set-aside file is named with a
// button, a rate entered among thousands costs only its own row. The default-interest window
// follows changes that tarvo-zins makes meanwhile and never writes back an older list; a FIFO
// or a device as a file and a full disk each give a German message and change nothing.

#include "engine/baserateupdate.h"
#include "engine/fixedtext.h"
#include "engine/userrates.h"
#include "tests/app/claims/ui.h"
#include "tests/support/fixtures.h"
#include "tests/support/httpsserver.h"
#include "tests/support/smalldisk.h"
#include "tests/support/specialfiles.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TDateTime day(const char *text) {
    return ParseDayDate(QString::fromLatin1(text)).value_or(EmptyDate);
}

class BaseRateDialogTest : public ::testing::Test {
protected:
    QString RatesPath() const { return home.dataHome() + "/tarvo/" + UserRatesFileName; }
    // The dialog over a store of the file, shown and active.
    TRatesUi Open(const QString &path = {}) {
        store = std::make_unique<TBaseRateStore>(path.isEmpty() ? RatesPath() : path);
        store->Load();
        dialog = std::make_unique<TBaseRateDialog>(*store);
        dialog->Open(EmptyDate);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return TRatesUi(*dialog);
    }
    // The half-year and the rate typed in, then Enter.
    static void Enter(const TRatesUi &d, const QString &halfYear, const QString &rate) {
        d.HalfYear->setFocus();
        QTest::keyClicks(d.HalfYear, QString(halfYear).remove(u'.'));
        d.Rate->setFocus();
        d.Rate->selectAll();
        QTest::keyClicks(d.Rate, rate);
        QTest::keyClick(d.Rate, Qt::Key_Return);
    }
    // Clicks the row of the half-year, as the user picks it.
    void Pick(const char *halfYear) {
        const TRatesUi d(*dialog);
        const int row = d.Model->RowOf(day(halfYear));
        ASSERT_GE(row, 0) << halfYear;
        d.Rates->scrollTo(d.Model->index(row, 0));
        const QRect cell = d.Rates->visualRect(d.Model->index(row, 0));
        QTest::mouseClick(d.Rates->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QStringList Row(const char *halfYear) const {
        const TBaseRateModel &model = *TRatesUi(*dialog).Model;
        const int row = model.RowOf(day(halfYear));
        QStringList cells;
        for (int column = 0; row >= 0 && column < TBaseRateModel::ColumnCount; ++column)
            cells << model.index(row, column).data().toString();
        return cells;
    }

    IsolatedHome home;
    GermanLocale de;
    PinnedClock clock{QDateTime(QDate(2026, 12, 7), QTime(12, 0))};
    RecordingDesktop desktop;
    std::unique_ptr<TBaseRateStore> store;
    std::unique_ptr<TBaseRateDialog> dialog;
};

} // namespace

// A new list changes only the rows that differ; beyond a few dozen, one reset is cheaper.
TEST(BaseRateModel, ChangesOnlyTheRowsThatDiffer) {
    TBaseRateModel model;
    QAbstractItemModelTester tester(&model);
    const TBaseRate a{day("01.01.2027"), 150, true}, b{day("01.07.2027"), 160, true},
        c{day("01.01.2028"), 170, true, true}, d{day("01.07.2028"), 180, true};
    std::vector<TBaseRate> many;
    for (TDateTime from = day("01.01.2030"); many.size() < 100; from = NextHalfYearStart(from))
        many.push_back({from, 100, true});
    const struct {
        const char *name;
        std::vector<TBaseRate> rates;
        int inserted, removed, changed, resets;
    } steps[] = {
        {"first fill", {a, b, c}, 0, 0, 0, 1},
        {"one more", {a, b, c, d}, 1, 0, 0, 0},
        {"one corrected", {a, {b.From, 165, true, true}, c, d}, 0, 0, 1, 0},
        {"one removed, one added", {b, c, d, many[0]}, 1, 1, 1, 0},
        {"the same", {b, c, d, many[0]}, 0, 0, 0, 0},
        {"many", many, 0, 0, 0, 1},
        {"none", {}, 0, 0, 0, 1},
    };
    for (const auto &step : steps) {
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.SetRates(step.rates);
        EXPECT_EQ(inserted.size(), step.inserted) << step.name;
        EXPECT_EQ(removed.size(), step.removed) << step.name;
        EXPECT_EQ(changed.size(), step.changed) << step.name;
        EXPECT_EQ(reset.size(), step.resets) << step.name;
        ASSERT_EQ(model.rowCount(), int(step.rates.size())) << step.name;
        for (int row = 0; row < model.rowCount(); ++row)
            EXPECT_EQ(model.Rate(row), step.rates[step.rates.size() - 1 - row]) << step.name;
    }
}

TEST_F(BaseRateDialogTest, APickedRowFillsTheFieldsAndOwnRatesAreDeleted) {
    writeFile(RatesPath(), "# meine Korrektur\n01.07.2026;1,60\n01.01.2027;1,57\n"
                           "01.07.2027;1,77;Bundesbank\n");
    const TRatesUi d = Open();
    const struct {
        const char *halfYear;
        QStringList row;
        bool deletable;
    } rows[] = {
        {"01.07.2027", {"01.07.2027", "1,77 %", "Bundesbank"}, true},
        {"01.01.2027", {"01.01.2027", "1,57 %", "eigener"}, true},
        {"01.07.2026", {"01.07.2026", "1,60 %", "eigener"}, true},
        {"01.01.2026", {"01.01.2026", "1,27 %", "mitgeliefert"}, false},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(Row(r.halfYear), r.row);
        Pick(r.halfYear);
        EXPECT_EQ(d.HalfYear->Text(), r.halfYear);
        EXPECT_EQ(d.Rate->text(), r.row[1].chopped(2));
        EXPECT_EQ(d.DeleteButton->isEnabled(), r.deletable) << r.halfYear;
    }

    // Löschen gives the shipped rate back; Delete in the table does the same.
    Pick("01.07.2026");
    QTest::mouseClick(d.DeleteButton, Qt::LeftButton);
    EXPECT_EQ(d.Status->text(),
              "Eigener Basiszinssatz ab 01.07.2026 gelöscht; es gilt wieder der mitgelieferte "
              "von 1,52 %.");
    EXPECT_EQ(Row("01.07.2026"), (QStringList{"01.07.2026", "1,52 %", "mitgeliefert"}));
    Pick("01.07.2027");
    QTest::keyClick(d.Rates, Qt::Key_Delete);
    EXPECT_EQ(Row("01.07.2027"), QStringList());
    EXPECT_EQ(d.Status->text(), "Eigener Basiszinssatz ab 01.07.2027 gelöscht.");
    EXPECT_EQ(readAll(RatesPath()), "# meine Korrektur\n01.01.2027;1,57\n");
    // A correction through the picked row's fields.
    Pick("01.01.2027");
    d.Rate->setFocus();
    d.Rate->selectAll();
    QTest::keyClicks(d.Rate, "1,62");
    QTest::keyClick(d.Rate, Qt::Key_Return);
    EXPECT_EQ(readAll(RatesPath()), "# meine Korrektur\n01.01.2027;1,62\n");
    EXPECT_EQ(desktop.messages, QStringList());
}

// A file set aside as broken is named each time the dialog opens, until it is gone, with a
// button that opens it.
TEST_F(BaseRateDialogTest, ASetAsideFileIsNamedWithAButtonThatShowsIt) {
    writeFile(RatesPath(), "01.01.2027;zwei\n");
    const TRatesUi d = Open(); // the store's Load set it aside
    const QStringList aside = store->SetAsideFiles();
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(d.SetAsideNote->isVisible());
    EXPECT_TRUE(d.SetAsideNote->text().contains("„" + QFileInfo(aside[0]).fileName() + "“"));
    QTest::mouseClick(d.SetAsideButton, Qt::LeftButton);
    EXPECT_EQ(desktop.links, QStringList(QUrl::fromLocalFile(aside[0]).toString()));
    desktop.opensLinks = false;
    QTest::mouseClick(d.SetAsideButton, Qt::LeftButton);
    EXPECT_EQ(desktop.messages,
              QStringList("Basiszinssätze|Für „" + QFileInfo(aside[0]).fileName() +
                          "“ ist kein Programm eingerichtet, das die Datei öffnet; sie liegt im "
                          "Ordner „" +
                          home.dataHome() + "/tarvo“."));
    d.Dialog.close();
    QFile::remove(aside[0]);
    d.Dialog.Open(EmptyDate);
    EXPECT_FALSE(d.SetAsideNote->isVisible());
    EXPECT_FALSE(d.SetAsideButton->isVisible());
}

// Among 4,000 rates, one more costs its own row: one row inserted, no reset, no resizing of
// every row, and well under a tenth of a second.
TEST_F(BaseRateDialogTest, OneMoreRateAmongThousandsCostsOnlyItsRow) {
    TUserRatesFile file;
    TDateTime from = day("01.01.2027");
    for (int i = 0; i < 4000; ++i, from = NextHalfYearStart(from)) {
        const TBaseRate rate{from, 100 + i % 900, true};
        file.Append({UserRateLine(rate), rate});
    }
    ASSERT_FALSE(SaveUserRates(RatesPath(), file));
    const TRatesUi d = Open();
    ASSERT_EQ(d.Model->rowCount(), 4050);
    QSignalSpy inserted(d.Model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(d.Model, &QAbstractItemModel::modelReset);
    const int width = d.Rates->columnWidth(TBaseRateModel::cmRate);
    QElapsedTimer timer;
    timer.start();
    Enter(d, FormatDayDate(from), "1,25");
    QCoreApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    EXPECT_LT(elapsed, 100) << "ms for one more rate among 4,000";
    EXPECT_EQ(d.Model->rowCount(), 4051);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(reset.size(), 0);
    EXPECT_EQ(d.Rates->columnWidth(TBaseRateModel::cmRate), width);
    EXPECT_EQ(d.Rates->currentIndex().row(), 0) << "the new rate is picked";
    EXPECT_EQ(desktop.messages, QStringList());
}

// The window open, tarvo-zins adds a rate: the window and its dialog show it, and the next
// rate the window adds keeps it.
TEST_F(BaseRateDialogTest, TheWindowFollowsTarvoZinsAndKeepsItsRate) {
    TVerzugForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents(); // the rates are read once the window is up
    form.OpenRates();
    TBaseRateDialog *opened = RatesDialogOf(form);
    ASSERT_TRUE(opened && QTest::qWaitForWindowActive(opened));
    const TRatesUi d(*opened);

    const QString csv = home.path() + "/bbk.csv";
    writeFile(csv, "\"\";BBIN1.M.DE.BBK.BBKBAS2.EUR.ME;BBIN1.M.DE.BBK.BBKBAS2.EUR.ME_FLAGS\n"
                   "2027-01;1,57;\n");
    QProcess zins;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", home.dataHome());
    env.insert("XDG_CONFIG_HOME", home.configHome());
    zins.setProcessEnvironment(env);
    zins.start(TARVO_ZINS_EXE, {"basiszins", "--import", csv});
    ASSERT_TRUE(zins.waitForFinished(20000));
    ASSERT_EQ(zins.exitCode(), 0) << zins.readAllStandardError().toStdString();

    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return TVerzugUi(form).Reach->text() == "Basiszinssätze bis 30.06.2027"; }, 5000));
    const int row = d.Model->RowOf(day("01.01.2027"));
    ASSERT_GE(row, 0) << "the open dialog shows it";
    EXPECT_EQ(d.Model->index(row, 2).data().toString(), "Bundesbank");

    Enter(d, "01.07.2027", "1,77");
    EXPECT_EQ(desktop.messages, QStringList());
    const QList<QByteArray> lines = readAll(RatesPath()).split('\n');
    EXPECT_TRUE(lines.contains("01.01.2027;1,57;Bundesbank"));
    EXPECT_TRUE(lines.contains("01.07.2027;1,77"));
    EXPECT_EQ(TVerzugUi(form).Reach->text(), "Basiszinssätze bis 31.12.2027");
    form.close();
}

// Basiszinssätze aktualisieren: while the answer is awaited the button is disabled and the dialog
// answers; the new half-year then shows and is named. A failure gives a message and changes
// nothing; Abbrechen and closing the dialog cancel without one.
TEST_F(BaseRateDialogTest, UpdatesFromTheBundesbankWhileStayingUsable) {
    THttpsServer server;
    if (!server.Ready()) GTEST_SKIP() << server.Reason().toStdString();
    QCoreApplication::addLibraryPath(DOWNLOAD_MODULE_DIR);
    const ScopedEnv ca(UpdateCaVariable, server.CaFile().toUtf8());
    const ScopedEnv proxy("https_proxy", std::nullopt), bigProxy("HTTPS_PROXY", std::nullopt);
    const QByteArray recorded = readAll(TARVO_ENGINE_TEST_DATA "/bbk_download_de.csv");
    server.Serve("/neu", {200, recorded + "2027-01;1,27;\n"});
    server.Serve("/langsam", {200, recorded, THttpsServer::THow::Stall});
    enum TEnd { WaitForIt, Cancel, Close };
    const struct {
        const char *path;
        TEnd end;
        QString status, reason; // reason: the message's words after the address
        QByteArray after;
    } cases[] = {
        {"/neu", WaitForIt, "neu: 01.01.2027 1,27 %", {}, "# meine\n01.01.2027;1,27;Bundesbank\n"},
        {"/fehlt", WaitForIt, "", "der Server meldet den Fehler 404 (Not Found)", "# meine\n"},
        {"/langsam", WaitForIt, "", "keine vollständige Antwort innerhalb von 300 ms", "# meine\n"},
        {"/langsam",
         Cancel,
         "Aktualisieren abgebrochen; es wurde nichts geändert.",
         {},
         "# meine\n"},
        {"/langsam",
         Close,
         "Aktualisieren abgebrochen; es wurde nichts geändert.",
         {},
         "# meine\n"},
    };
    for (const auto &c : cases) {
        writeFile(RatesPath(), "# meine\n");
        desktop.messages.clear();
        const QString url = server.Url(c.path);
        const ScopedEnv address(UpdateUrlVariable, url.toUtf8());
        const TRatesUi d = Open();
        d.Dialog.Updater().TimeoutMs = 300;
        // Alt+A clicks the button after a moment; a mouse click at once.
        if (c.end == Cancel) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([&] { return d.Dialog.Updater().Running(); }, 5000));
        } else {
            QTest::mouseClick(d.UpdateButton, Qt::LeftButton);
        }
        EXPECT_TRUE(d.Dialog.Updater().Running()) << c.path << ": the click returned at once";
        EXPECT_FALSE(d.UpdateButton->isEnabled()) << c.path;
        EXPECT_TRUE(d.CancelUpdateButton->isVisible()) << c.path;
        EXPECT_EQ(d.Status->text(), "Die Basiszinssätze werden von „" + url + "“ geladen …");
        d.Rate->setFocus();
        QTest::keyClicks(d.Rate, "1,5");
        EXPECT_EQ(d.Rate->text(), "1,5") << c.path << ": typing goes on meanwhile";
        if (c.end == Cancel) QTest::mouseClick(d.CancelUpdateButton, Qt::LeftButton);
        if (c.end == Close) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d.Dialog.Updater().Running(); }, 10000))
            << c.path;
        QTest::qWait(c.end == WaitForIt ? 0 : 500); // no late answer
        EXPECT_EQ(d.Status->text(), c.status) << c.path;
        EXPECT_EQ(desktop.messages,
                  c.reason.isEmpty()
                      ? QStringList()
                      : QStringList("Basiszinssätze|Die Basiszinssätze lassen "
                                    "sich nicht von „" +
                                    url + "“ laden: " + c.reason + ". Es wurde nichts geändert."))
            << c.path;
        EXPECT_TRUE(d.UpdateButton->isEnabled()) << c.path;
        EXPECT_FALSE(d.CancelUpdateButton->isVisible()) << c.path;
        EXPECT_EQ(readAll(RatesPath()), c.after) << c.path;
        const QStringList shown = c.after.contains("2027")
                                      ? QStringList{"01.01.2027", "1,27 %", "Bundesbank"}
                                      : QStringList();
        EXPECT_EQ(Row("01.01.2027"), shown) << c.path;
    }
}

// A FIFO or a device as the rates file or as the file to import: the window opens at once with
// a German message, its dialog refuses changes with the reason, and nothing is written.
TEST_F(BaseRateDialogTest, SpecialFilesGiveMessagesInTheWindow) {
    for (TSpecialFile kind :
         {TSpecialFile::Fifo, TSpecialFile::DevZero, TSpecialFile::DevUrandom}) {
        IsolatedHome folders;
        desktop.messages.clear();
        const QString rates = folders.dataHome() + "/tarvo/" + UserRatesFileName;
        ASSERT_TRUE(QDir().mkpath(folders.dataHome() + "/tarvo"));
        ASSERT_TRUE(MakeSpecialFile(kind, rates));
        const QString reason =
            "Die Datei „" + rates + "“ kann nicht gelesen werden: " + SpecialFileReason(kind) + ".";
        FifoWatchdog watchdog(rates);
        TVerzugForm form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        EXPECT_EQ(desktop.messages, QStringList("Verzugszinsen|" + reason));
        EXPECT_EQ(TVerzugUi(form).Reach->text(), "Basiszinssätze bis 31.12.2026");
        form.OpenRates();
        TBaseRateDialog *opened = RatesDialogOf(form);
        ASSERT_TRUE(opened);
        const TRatesUi d(*opened);
        Enter(d, "01.01.2027", "1,57");
        EXPECT_EQ(desktop.messages.value(1),
                  "Basiszinssätze|" + reason + " Es wurde nichts geändert.");
        // The same device or FIFO picked for the import.
        const QString special = folders.path() + "/special.csv";
        ASSERT_TRUE(MakeSpecialFile(kind, special));
        FifoWatchdog importWatchdog(special);
        desktop.fileName = special;
        QTest::mouseClick(d.ImportButton, Qt::LeftButton);
        EXPECT_EQ(desktop.messages.value(2),
                  "Basiszinssätze|Die Datei „" + special + "“ kann nicht gelesen werden: " +
                      SpecialFileReason(kind) + ". Es wurde nichts übernommen.");
        EXPECT_FALSE(watchdog.Fired() || importWatchdog.Fired())
            << SpecialFileName(kind) << " blocked the window";
        EXPECT_EQ(QDir(folders.dataHome() + "/tarvo").entryList(QDir::Files | QDir::System),
                  (QStringList{UserRatesFileName, UserRatesFileName + QStringLiteral(".lock")}));
        form.close();
    }
}

// Eintragen on a full disk: the message names the file and the reason, the file stays whole.
TEST_F(BaseRateDialogTest, AFullDiskKeepsTheFileAndSaysWhy) {
    TSmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    const QString path = disk.File(UserRatesFileName);
    writeFile(path, "# meine\n01.01.2027;1,57\n");
    const TRatesUi d = Open(path);
    disk.Fill();
    Enter(d, "01.07.2027", "1,77");
    EXPECT_EQ(desktop.messages,
              QStringList("Basiszinssätze|Die Datei „" + path +
                          "“ kann nicht geschrieben werden: kein Platz mehr auf dem "
                          "Datenträger. Sie bleibt, wie sie war."));
    EXPECT_EQ(readAll(path), "# meine\n01.01.2027;1,57\n");
    EXPECT_EQ(Row("01.07.2027"), QStringList());
}
