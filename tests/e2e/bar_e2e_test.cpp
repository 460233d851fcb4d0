// The bar as a whole program on a real X display (Xvfb, no window manager): where it starts,
// what Ende keeps, the autostart entry across restarts, and the settings at a stop signal or
// when the display goes away.

#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPoint>
#include <QRegularExpression>
#include <QThread>

#include <fstream>
#include <string>

namespace {

const QString Caption = QStringLiteral("^Tarvo 2\\.3 Freeware$");

class Bar : public OnXDisplay {
protected:
    QString Xdotool(const QStringList &arguments) const { return x.Xdotool(arguments); }
    QString BarWindow() const { return Xdotool({"search", "--sync", "--name", Caption}); }
    // Where the bar stands on the screen.
    QPoint Position() const {
        const QString geometry = Xdotool({"getwindowgeometry", BarWindow()});
        const auto match =
            QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)")).match(geometry);
        EXPECT_TRUE(match.hasMatch()) << geometry.toStdString();
        return {match.captured(1).toInt(), match.captured(2).toInt()};
    }
    // Moves the bar and clicks Ende (587, 19 in the bar, 45 × 15).
    void MoveAndQuit(Copy &tarvo, QPoint to) {
        const QString window = BarWindow();
        Xdotool({"windowmove", "--sync", window, QString::number(to.x()), QString::number(to.y())});
        ASSERT_EQ(Position(), to);
        Xdotool({"mousemove", "--window", window, "609", "26", "click", "1"});
        ASSERT_TRUE(tarvo.WaitForEnd(10000)) << "Ende did not end the program";
        EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    }
    static void Store(const std::function<void(TRegistry &)> &write) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        write(reg);
    }
    // How often the program's threads were woken within this time.
    static long WakeUps(const Copy &tarvo, int ms) {
        const auto count = [&] {
            long switches = 0;
            const QString tasks = QStringLiteral("/proc/%1/task").arg(tarvo.Pid());
            for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                std::ifstream status((tasks + u'/' + task + "/status").toStdString());
                for (std::string line; std::getline(status, line);)
                    if (line.find("ctxt_switches:") != std::string::npos)
                        switches += std::stol(line.substr(line.find(':') + 1));
            }
            return switches;
        };
        const long before = count();
        QThread::msleep(ms);
        return count() - before;
    }
    static void Stop(Copy &tarvo) {
        tarvo.Terminate();
        ASSERT_TRUE(tarvo.WaitForEnd(10000));
        EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    }
};

} // namespace

TEST_F(Bar, EndeWithPosKeepsThePositionForTheNextStart) {
    Store([](TRegistry &reg) { reg.WriteInteger(Setting::Pos, 1); });
    auto first = Start();
    EXPECT_EQ(Position(), QPoint(20, 20));
    MoveAndQuit(*first, {300, 200});
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
        EXPECT_EQ(reg.ReadInteger(Setting::Top), 200);
        EXPECT_EQ(reg.ReadString(Setting::Left), "300");
    }
    auto second = Start();
    EXPECT_EQ(Position(), QPoint(300, 200));
    Stop(*second);
}

// The caption a window manager shows is the bar's own, with nothing of the program's title.
TEST_F(Bar, TheWindowManagerShowsTheBarsCaption) {
    auto tarvo = Start();
    EXPECT_EQ(x.Run(QStringLiteral("xprop"), {"-id", BarWindow(), "_NET_WM_NAME"}),
              "_NET_WM_NAME(UTF8_STRING) = \"Tarvo 2.3 Freeware\"");
    Stop(*tarvo);
}

TEST_F(Bar, EndeWithoutPosStartsAtTwentyTwentyAgain) {
    auto first = Start();
    MoveAndQuit(*first, {300, 200});
    auto second = Start();
    EXPECT_EQ(Position(), QPoint(20, 20));
    Stop(*second);
}

// The screen is 1280 wide: a bar 635 wide stands wholly on it from left 0 to 645.
TEST_F(Bar, AStoredLeftThatIsNoNumberGivesTwentyTwentyOneOffTheScreenIsMovedOntoIt) {
    const std::pair<const char *, QPoint> cases[] = {{"abc", {20, 20}}, {"99999", {645, 200}}};
    for (const auto &[left, expected] : cases) {
        Store([&](TRegistry &reg) {
            reg.WriteString(Setting::Left, left);
            reg.WriteInteger(Setting::Top, 200);
        });
        auto tarvo = Start();
        EXPECT_EQ(Position(), expected) << left;
        Stop(*tarvo);
    }
}

TEST_F(Bar, TheAutostartEntrySurvivesRestarts) {
    Store([](TRegistry &reg) { reg.WriteInteger(Setting::Auto, 1); });
    const QString entry = home.configHome() + "/autostart/tarvo.desktop";
    for (int run = 0; run < 2; ++run) {
        auto tarvo = Start();
        EXPECT_TRUE(QFile::exists(entry)) << "run " << run;
        Stop(*tarvo);
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "run " << run;
        EXPECT_TRUE(file.readAll().contains(QByteArray(TARVO_EXE)));
    }
}

TEST_F(Bar, SettingsSurviveSigtermAndTheDisplayGoingAway) {
    Store([](TRegistry &reg) {
        reg.WriteString(Setting::Pfad, "/opt/tarvo/");
        reg.WriteString(Setting::Version, "2.4");
        reg.WriteInteger(Setting::Top, 120);
        reg.WriteString(Setting::Left, "140");
        reg.WriteInteger(Setting::OnTop, 1);
        reg.WriteInteger(Setting::Pos, 1);
        reg.WriteInteger(Setting::Formel, 2);
    });
    const auto expectStored = [](const char *when) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, false)) << when;
        EXPECT_EQ(reg.ReadString(Setting::Pfad), "/opt/tarvo/") << when;
        EXPECT_EQ(reg.ReadString(Setting::Version), "2.4") << when;
        EXPECT_EQ(reg.ReadInteger(Setting::Top), 120) << when;
        EXPECT_EQ(reg.ReadString(Setting::Left), "140") << when;
        EXPECT_EQ(reg.ReadInteger(Setting::Auto), 0) << when;
        EXPECT_EQ(reg.ReadInteger(Setting::OnTop), 1) << when;
        EXPECT_EQ(reg.ReadInteger(Setting::Pos), 1) << when;
        EXPECT_EQ(reg.ReadInteger(Setting::Formel), 2) << when;
    };
    {
        auto tarvo = Start();
        EXPECT_EQ(Position(), QPoint(140, 120));
        Stop(*tarvo);
        expectStored("after SIGTERM");
    }
    {
        // The settings file starts afresh, so that only this end can have written it.
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(home.configHome() + "/tarvo/registry.db" + suffix);
        Store([](TRegistry &reg) { reg.WriteString(Setting::Version, "2.5"); });
        auto tarvo = Start();
        x.Stop(); // the session's display ends under the program
        ASSERT_TRUE(tarvo->WaitForEnd(10000));
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
        EXPECT_EQ(reg.ReadString(Setting::Version), "2.5");
        EXPECT_TRUE(reg.ValueExists(Setting::Formel)) << "the eight values were written at the end";
        EXPECT_EQ(reg.ReadString(Setting::Left), "20");
    }
}

// Left alone the program sleeps: after the start, and after typing once the caret has rested.
TEST_F(Bar, LeftAloneTheProgramWakesNoMore) {
    auto tarvo = Start();
    // What the start does after the first frame ends soon; then nothing wakes the program.
    ASSERT_TRUE(Eventually([&] { return WakeUps(*tarvo, 500) == 0; }));
    EXPECT_EQ(WakeUps(*tarvo, 2000), 0);
    Xdotool({"mousemove", "--window", BarWindow(), "40", "26", "click", "1"});
    Xdotool({"type", "1000"});
    EXPECT_GT(WakeUps(*tarvo, 1000), 0) << "the caret blinks while the user types";
    QThread::msleep(10000);
    EXPECT_EQ(WakeUps(*tarvo, 2000), 0) << "the caret rests ten seconds after the last key";
    Xdotool({"key", "BackSpace"});
    EXPECT_GT(WakeUps(*tarvo, 1000), 0) << "the next key wakes the caret";
    Stop(*tarvo);
}

// The network's libraries come only when the user asks for the base rates, never with the start.
TEST_F(Bar, TheStartMapsNoNetworkLibrary) {
    auto tarvo = Start();
    ASSERT_TRUE(Eventually([&] { return WakeUps(*tarvo, 500) == 0; }));
    QFile maps(QStringLiteral("/proc/%1/maps").arg(tarvo->Pid()));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    EXPECT_TRUE(mapped.contains("libQt6Widgets")) << "the map lists the libraries";
    EXPECT_FALSE(mapped.contains("libQt6Network"));
    EXPECT_FALSE(mapped.contains("tarvo-download"));
    Stop(*tarvo);
}
