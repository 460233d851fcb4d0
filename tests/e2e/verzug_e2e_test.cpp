// Amounts and the default-interest window as a whole program on a private X display, typed
// through the real keyboard: amounts written the German way in the bar and in the window, the
// statement that follows the inputs without Enter, the old-claim box set by hand, the window at
// twice the scale, and a message box above windows that stay on top (under a window manager).

#include "engine/interest.h"
#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString BarTitle = QStringLiteral("Tarvo 2.3 Freeware");
const QString WindowTitle = QStringLiteral("Verzugszinsen – Tarvo");

// Typed as Germans (and a few others) write amounts, and the amount the field must take.
const struct {
    const char *typed;
    long double amount;
    const char *claim; // as the window's statement names it
} Amounts[] = {
    {"4.250,00", 4250, "4.250,00 €"},
    {"1.000", 1000, "1.000,00 €"},
    {"1.000.000", 1000000, "1.000.000,00 €"},
    {"4.25", 4.25L, "4,25 €"},
    {"1,5", 1.5L, "1,50 €"},
    {"12.5", 12.5L, "12,50 €"},
};

void Store(const std::function<void(TRegistry &)> &write) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
    write(reg);
}

class Typed : public OnXDisplay {
protected:
    void Type(const QString &text) const { x.Xdotool({"type", "--delay", "20", text}); }
    void Key(const char *key) const { x.Xdotool({"key", key}); }
    QString Clipboard() const { return x.Run(DISPLAY_PROBE_EXE, {}); }
    // Waits until the clipboard holds what the condition wants; gives what it held last.
    QString ClipboardWhen(const std::function<bool(const QString &)> &wanted) const {
        QString text;
        Eventually([&] { return wanted(text = Clipboard()); });
        return text;
    }
    // The window, opened by a start with --verzug, with the focus in its amount.
    QString OpenWindow(const QProcessEnvironment &extra = {}) {
        tarvo = x.StartTarvo(home, {"--verzug"}, extra);
        const QString window = x.Window(WindowTitle);
        EXPECT_FALSE(window.isEmpty()) << tarvo->Trace().toStdString();
        x.Xdotool({"windowfocus", "--sync", window});
        return window;
    }
    // A digest of the window's statement: the caption above the table, the reason, the table.
    QString StatementPixels(const QString &window) const {
        return x.Run(DISPLAY_PROBE_EXE, {"grab", window, "0", "210", "720", "250"});
    }
    void WaitForMessageClosed() const {
        Eventually([&] { return x.Windows(QStringLiteral("Verzugszinsen")).isEmpty(); });
    }

    std::unique_ptr<Copy> tarvo;
};

TEST_F(Typed, AmountsTypedTheGermanWayInTheBar) {
    tarvo = Start();
    const QString bar = x.Window(BarTitle);
    ASSERT_FALSE(bar.isEmpty());
    x.Click(bar, 8 + 40, 22 + 8);
    const TDateTime start = MakeDateSerial(2005, 1, 15), end = MakeDateSerial(2005, 3, 15);
    for (const auto &c : Amounts) {
        // Amount, start, end, rate, each left with Enter; leaving the rate calculates and the
        // focus goes back to the amount, its text selected.
        for (const QString &text : {QString::fromLatin1(c.typed), QStringLiteral("15012005"),
                                    QStringLiteral("15032005"), QStringLiteral("10")}) {
            Type(text);
            Key("Return");
        }
        const QString expected = CalculateInterestText(1, start, end, c.amount, 10).Interest;
        EXPECT_EQ(ClipboardWhen([&](const QString &text) { return text == expected; }), expected)
            << c.typed;
    }
}

// The Menu key in a field and Shift+F10 give the bar's menu on its first entry: Enter opens
// the window.
TEST_F(Typed, TheMenuKeyOpensTheBarsMenuOnItsFirstEntry) {
    tarvo = Start();
    const QString bar = x.Window(BarTitle);
    for (const char *key : {"Menu", "shift+F10"}) {
        x.Click(bar, 8 + 40, 22 + 8);
        Key(key);
        QThread::msleep(300);
        Key("Return");
        EXPECT_FALSE(x.Window(WindowTitle).isEmpty()) << key;
        Key("Escape"); // closes the window again
        EXPECT_TRUE(Eventually([&] { return x.Windows(WindowTitle).isEmpty(); })) << key;
    }
}

TEST_F(Typed, AmountsTypedTheGermanWayInTheWindow) {
    OpenWindow();
    for (const auto &c : Amounts) {
        Key("alt+f");
        Type(QString::fromLatin1(c.typed));
        Key("Tab");
        Type("17042025");
        Key("Tab");
        Type("20022026");
        Key("Return");
        Key("ctrl+shift+c");
        const QString line = QStringLiteral("Forderung\t") + QString::fromUtf8(c.claim);
        const QString copied =
            ClipboardWhen([&](const QString &text) { return text.startsWith(line + u'\n'); });
        EXPECT_TRUE(copied.startsWith(line + u'\n')) << c.typed << "\n" << copied.toStdString();
    }
}

// What the table shows before Enter is what Enter shows: the statement of the inputs as they
// stand, or none with the reason.
TEST_F(Typed, TheStatementFollowsTheInputsWithoutEnter) {
    const QString window = OpenWindow();
    Type("3089");
    Key("Tab");
    Type("17042025");
    Key("Tab");
    Type("20022026");
    Key("Return");
    const QString consumer = StatementPixels(window);
    Key("alt+s"); // the rule: one further, "kein Verbraucher beteiligt"
    Key("Down");
    QThread::msleep(300);
    const QString changed = StatementPixels(window);
    EXPECT_NE(changed, consumer);
    Key("Return");
    QThread::msleep(300);
    EXPECT_EQ(StatementPixels(window), changed) << "Enter showed another statement";

    Key("alt+e"); // a first day half typed: no statement
    Type("1704");
    QThread::msleep(300);
    const QString none = StatementPixels(window);
    EXPECT_NE(none, changed);
    Key("Return");
    ASSERT_FALSE(x.Window(QStringLiteral("Verzugszinsen")).isEmpty()) << "Enter says why";
    Key("Return");
    WaitForMessageClosed();
    EXPECT_EQ(StatementPixels(window), none);
}

// A claim older than its first day: the box ticked by hand stays ticked while the first day is
// edited, and Enter charges 8 points above the base rate.
TEST_F(Typed, TheOldClaimBoxTickedByHandStays) {
    OpenWindow();
    Type("1000");
    Key("alt+s");
    Key("Down");
    Key("alt+e");
    Type("01082014");
    Key("alt+l");
    Type("31122014");
    Key("alt+v");
    QThread::msleep(300); // a button's letter presses it visibly and clicks it a moment later
    Key("alt+e");
    Type("02082014");
    Key("Return");
    Key("ctrl+shift+c");
    const QString copied =
        ClipboardWhen([](const QString &text) { return text.contains("02.08.2014\t"); });
    EXPECT_TRUE(copied.contains("02.08.2014\t31.12.2014\t152\t-0,73 %\t8,00 %\t7,27 %\t"))
        << copied.toStdString();
}

// A message box of a failed import, while the bar stays on top: it stands above every window
// of the program, so that its pixels (the warning sign's yellow) show on the screen.
TEST_F(Typed, AMessageBoxShowsAboveWindowsThatStayOnTop) {
    if (QStandardPaths::findExecutable("openbox").isEmpty())
        GTEST_SKIP() << "openbox is not installed (tools/setup.sh --tests installs it)";
    QProcess manager;
    manager.setProcessEnvironment(x.Environment(home));
    manager.start("openbox", {});
    ASSERT_TRUE(Eventually([&] {
        return x.Run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
    })) << "the window manager did not start";
    Store([](TRegistry &reg) { reg.WriteInteger(Setting::OnTop, 1); });
    const QString bad = home.path() + "/download.csv";
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kein Basiszins\n");
    file.close();

    OpenWindow();
    const QString yellow = QStringLiteral("ffff00");
    ASSERT_EQ(x.Run(DISPLAY_PROBE_EXE, {"count", yellow}), "0") << "no yellow before";
    Key("alt+z");
    ASSERT_FALSE(x.Window(QStringLiteral("Basiszinssätze")).isEmpty());
    Key("alt+i");
    ASSERT_FALSE(x.Window(QStringLiteral("Bundesbank-CSV importieren")).isEmpty());
    Key("ctrl+a");
    Type(bad);
    Key("Return");
    EXPECT_TRUE(Eventually([&] { return x.Windows(QStringLiteral("Basiszinssätze")).size() == 2; }))
        << tarvo->Trace().toStdString();
    EXPECT_TRUE(Eventually([&] {
        return x.Run(DISPLAY_PROBE_EXE, {"count", yellow}).toInt() > 100;
    })) << "the box is hidden";
    manager.terminate();
    manager.waitForFinished(3000);
}

// An Austrian case typed in: the law chosen by its key, the business rule it offers first, the
// statement saved as PDF through the file dialog, whose text names the law, the provision and
// the money.
TEST_F(Typed, AnAustrianCaseSavedAsPdfNamesItsLaw) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (tools/setup.sh installs it)";
    OpenWindow();
    Key("alt+r");
    Key("Down");
    Key("alt+f");
    Type("10000");
    Key("Tab");
    Type("01012023");
    Key("Tab");
    Type("31122023");
    Key("Return");
    Key("alt+d");
    ASSERT_FALSE(x.Window(QStringLiteral("Zinsaufstellung als PDF speichern")).isEmpty())
        << tarvo->Trace().toStdString();
    const QString pdf = home.path() + "/oesterreich.pdf";
    Key("ctrl+a");
    Type(pdf);
    Key("Return");
    ASSERT_TRUE(Eventually([&] { return QFileInfo(pdf).size() > 0; }))
        << tarvo->Trace().toStdString();
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(10000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    for (const char *shown :
         {"Zinsaufstellung", "Recht: Österreich", "Forderung: EUR 10.000,00",
          "Basiszinssatz + 9,2 Prozentpunkte (§ 456 UGB)",
          "01.01.2023 30.06.2023 181 1,88 % "
          "9,20 % 11,08 % 549,45",
          "12,58 % 634,17", "Zinsen EUR 1.183,62", "Österreichische Basiszinssätze bis"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << "\n" << text.toStdString();
}

// Stored at scale 1 on a large screen, the window comes back at scale 2 inside the screen and
// clear of the bar.
class AtTwiceTheScale : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString tool = XServer::MissingTool(); !tool.isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed";
        ASSERT_FALSE(x.Display().isEmpty()) << "Xvfb did not start";
    }
    IsolatedHome home;
    XServer x{QSize(2560, 1600)};
};

TEST_F(AtTwiceTheScale, TheWindowComesBackInsideTheScreen) {
    Store([](TRegistry &reg) {
        reg.WriteInteger("VerzugLinks", 600);
        reg.WriteInteger("VerzugOben", 30);
        reg.WriteInteger("VerzugBreite", 1500);
        reg.WriteInteger("VerzugHoehe", 1100);
    });
    QProcessEnvironment scale;
    scale.insert("QT_SCALE_FACTOR", "2");
    auto tarvo = x.StartTarvo(home, {"--verzug"}, scale);
    const QString window = x.Window(WindowTitle), bar = x.Window(BarTitle);
    ASSERT_FALSE(window.isEmpty()) << tarvo->Trace().toStdString();
    const QRect shown = x.Geometry(window);
    EXPECT_TRUE(QRect(0, 0, 2560, 1600).contains(shown))
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    EXPECT_FALSE(shown.intersects(x.Geometry(bar)));
    EXPECT_GE(shown.height(), 2 * 600) << "as large as the screen lets it be";
    if (const char *shot = std::getenv("TARVO_SHOT"))
        x.Run(DISPLAY_PROBE_EXE, {"shot", window, QString::fromLocal8Bit(shot)});
}

} // namespace
