// The claims statement as a whole program on a private X display, through the real keyboard: a
// case typed into the window and saved through the file dialog, Tarvo ended, the file handed to
// a new start while another copy runs (as a double click does), and the Antragstext copied.

#include "report/claims.h"
#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

const QString BarTitle = QStringLiteral("Tarvo 2.3 Freeware");
const QString Worked = QStringLiteral(TARVO_ENGINE_TEST_DATA "/mueller-schmidt.tarvo");

class ClaimsWindow : public OnXDisplay {
protected:
    void Type(const QString &text) const { x.Xdotool({"type", "--delay", "20", text}); }
    void Key(const char *key) const { x.Xdotool({"key", "--delay", "60", key}); }
    // The cells of a new row, Tab between them; an empty text passes a cell.
    void Row(const char *tab, const QStringList &cells) const {
        Key(tab);
        Key("Insert");
        for (const QString &cell : cells) {
            if (cell == " ")
                Key("space");
            else if (!cell.isEmpty())
                Type(cell);
            Key("Tab");
        }
    }
    QString Clipboard() const { return x.Run(DISPLAY_PROBE_EXE, {}); }

    std::unique_ptr<Copy> tarvo;
};

QString ApplicationOf(const QString &path) {
    TClaimsReport report;
    EXPECT_FALSE(LoadCaseFile(path, EmptyDate, report.File)) << path.toStdString();
    report.Statement = CalculateClaims(report.File.Case, ShippedBaseRates());
    return ApplicationText(report);
}

} // namespace

TEST_F(ClaimsWindow, TypedSavedAndOpenedByANewStartIntoTheRunningCopy) {
    tarvo = Start();
    const QString bar = x.Window(BarTitle);
    ASSERT_FALSE(bar.isEmpty());
    x.Click(bar, 8 + 40, 22 + 8);
    Key("ctrl+shift+f");
    const QString window = x.Window(QStringLiteral("Neuer Fall – Forderungsaufstellung"));
    ASSERT_FALSE(window.isEmpty()) << tarvo->Trace().toStdString();
    x.Xdotool({"windowfocus", "--sync", window});

    Type(QStringLiteral("Müller ./. Schmidt"));
    Key("alt+i");
    Type("07122026");
    Row("alt+f", {"Rechnung 4711", "4250", "16012024", "k", "", "", " "});
    Row("alt+f", {"Rechnung 4712", "980,50", "01032024", "f", "8"});
    Row("alt+s", {"Mahnkosten", "36", "01032024"});
    Row("alt+s", {"Gerichtskosten", "438", "02052024", "03052024", "a", "5"});
    Row("alt+n", {"02052024", "1.000", "2"});
    Row("alt+n", {"30062025", "1500"});

    // Saved through the file dialog, the name typed there.
    const QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("mueller.tarvo"));
    Key("ctrl+s");
    ASSERT_FALSE(x.Window(QStringLiteral("Forderungsaufstellung speichern")).isEmpty());
    Type(path);
    Key("Return");
    const QString saved = QStringLiteral("Müller ./. Schmidt – Forderungsaufstellung");
    ASSERT_FALSE(x.Window(saved).isEmpty()) << tarvo->Trace().toStdString();
    ASSERT_TRUE(QFile::exists(path));
    // The typed case is the worked one.
    EXPECT_EQ(ApplicationOf(path), ApplicationOf(Worked));

    tarvo->Terminate();
    ASSERT_TRUE(tarvo->WaitForEnd(10000));

    tarvo = Start();
    Copy second(TARVO_EXE, x.Environment(home), {}, {path});
    EXPECT_TRUE(second.WaitForEnd(10000));
    EXPECT_TRUE(second.EndedCleanly()) << second.Trace().toStdString();
    const QString reopened = x.Window(saved);
    ASSERT_FALSE(reopened.isEmpty()) << tarvo->Trace().toStdString();
    x.Xdotool({"windowfocus", "--sync", reopened});
    Key("alt+o"); // Antragstext k&opieren
    const QString expected = ApplicationOf(Worked);
    QString copied;
    EXPECT_TRUE(Eventually([&] { return (copied = Clipboard()) == expected; }))
        << copied.toStdString();

    // The command line reads the same file to the same open amounts, worded alike.
    QProcess zins;
    zins.setProcessEnvironment(x.Environment(home));
    zins.start(TARVO_ZINS_EXE, {"forderung", path, "--format", "json"});
    ASSERT_TRUE(zins.waitForFinished(10000));
    EXPECT_EQ(zins.exitCode(), 0) << zins.readAllStandardError().toStdString();
    const QJsonObject json = QJsonDocument::fromJson(zins.readAllStandardOutput()).object();
    EXPECT_EQ(json.value("antrag").toString(), copied);
}
