#include "settings/autorun.h"
#include "platform/core/runlist_xdg.h"

#include "platform/gui/application.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

// Records every call instead of touching a run list.
class RecordingRunList : public TRunList {
public:
    RecordingRunList() : FScope(*this) {}
    bool AddRunEntry(TAutoExecKind kind, const QString &fileName) override {
        calls << QString("add %1 %2").arg(kind).arg(fileName);
        return true;
    }
    bool DeleteRunEntry(TAutoExecKind kind, const QString &fileName) override {
        calls << QString("del %1 %2").arg(kind).arg(fileName);
        return true;
    }
    QStringList calls;

private:
    RunListInUse FScope;
};

// A TAutoRun whose layout has been read, with the loaded calls forgotten.
struct LoadedAutoRun {
    explicit LoadedAutoRun(RecordingRunList &list) : run(&root) {
        ReadLayout(root, [] {});
        run.SetFileName("/opt/tarvo");
        list.calls.clear();
    }
    TComponent root{nullptr};
    TAutoRun run;
};

// Points the machine-wide settings folder somewhere of the test's own.
class MachineFolder {
public:
    explicit MachineFolder(const QString &folder)
        : FScope(TestServices().Folders, withMachine(folder)) {}

private:
    static TTestFolders withMachine(const QString &folder) {
        TTestFolders folders = TestServices().Folders;
        folders.MachineConfig = folder;
        return folders;
    }
    ScopedPart<TTestFolders> FScope;
};

QString readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(AutoRun, StartsWithDefaultsAndTheRunningProgram) {
    RecordingRunList list;
    TAutoRun run(nullptr);
    EXPECT_FALSE(run.AutoRun());
    EXPECT_EQ(run.Kind(), aekMachineRun);
    EXPECT_EQ(run.FileName(), TApplication::ExeName());
    EXPECT_TRUE(list.calls.isEmpty());
}

TEST(AutoRun, EveryRealChangeRemovesThenApplies) {
    struct Case {
        const char *what;
        std::function<void(TAutoRun &)> change;
        QStringList calls;
    };
    const std::vector<Case> cases = {
        {"on",
         [](TAutoRun &r) { r.SetAutoRun(true); },
         {"del 0 /opt/tarvo", "del 0 /opt/tarvo", "add 0 /opt/tarvo"}},
        {"kind while off",
         [](TAutoRun &r) { r.SetKind(aekUserRun); },
         {"del 0 /opt/tarvo", "del 2 /opt/tarvo"}},
        {"kind while on",
         [](TAutoRun &r) {
             r.SetAutoRun(true);
             r.SetKind(aekUserRun);
         },
         {"del 0 /opt/tarvo", "del 0 /opt/tarvo", "add 0 /opt/tarvo", "del 0 /opt/tarvo",
          "del 2 /opt/tarvo", "add 2 /opt/tarvo"}},
        {"file while on",
         [](TAutoRun &r) {
             r.SetAutoRun(true);
             r.SetFileName("/usr/bin/tarvo");
         },
         {"del 0 /opt/tarvo", "del 0 /opt/tarvo", "add 0 /opt/tarvo", "del 0 /opt/tarvo",
          "del 0 /usr/bin/tarvo", "add 0 /usr/bin/tarvo"}},
        {"off again",
         [](TAutoRun &r) {
             r.SetAutoRun(true);
             r.SetAutoRun(false);
         },
         {"del 0 /opt/tarvo", "del 0 /opt/tarvo", "add 0 /opt/tarvo", "del 0 /opt/tarvo",
          "del 0 /opt/tarvo"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RecordingRunList list;
        LoadedAutoRun loaded(list);
        c.change(loaded.run);
        EXPECT_EQ(list.calls, c.calls);
    }
}

TEST(AutoRun, SameValueAgainTouchesNothing) {
    RecordingRunList list;
    LoadedAutoRun loaded(list);
    loaded.run.SetAutoRun(false);
    loaded.run.SetKind(aekMachineRun);
    loaded.run.SetFileName("/opt/tarvo");
    loaded.run.SetAutoRun(true);
    list.calls.clear();
    loaded.run.SetAutoRun(true);
    loaded.run.SetFileName("/opt/tarvo");
    EXPECT_TRUE(list.calls.isEmpty());
    loaded.run.SetFileName("/opt/Tarvo"); // compared case-sensitively
    EXPECT_FALSE(list.calls.isEmpty());
}

TEST(AutoRun, LayoutValuesAreAppliedOnceWhenLoaded) {
    RecordingRunList list;
    TComponent root(nullptr);
    std::unique_ptr<TAutoRun> run;
    ReadLayout(root, [&] {
        run = std::make_unique<TAutoRun>(&root);
        run->SetKind(aekUserRun);
        run->SetFileName("/opt/tarvo");
        run->SetAutoRun(true);
        EXPECT_TRUE(list.calls.isEmpty());
    });
    EXPECT_EQ(list.calls, QStringList({"del 2 /opt/tarvo", "add 2 /opt/tarvo"}));
}

TEST(AutoRun, DesignModeTouchesNoRunList) {
    RecordingRunList list;
    TComponent root(nullptr);
    root.SetDesigning(true);
    TAutoRun run(&root);
    EXPECT_TRUE(run.FileName().isEmpty());
    run.SetAutoRun(true);
    run.SetKind(aekUserRun);
    run.Loaded();
    EXPECT_TRUE(list.calls.isEmpty());
}

TEST(RunEntryName, IsThePartAfterTheLastSeparator) {
    const std::pair<const char *, const char *> cases[] = {
        {"C:\\Programme\\Tarvo\\tarvo.exe", "tarvo.exe"},
        {"/opt/my apps/tarvo", "tarvo"},
        {"d:tarvo.exe", "tarvo.exe"},
        {"/opt/a\\b", "b"},
        {"tarvo", "tarvo"},
        {"/opt/", ""},
    };
    for (const auto &[file, name] : cases)
        EXPECT_EQ(RunEntryName(file), name) << file;
}

TEST(XdgRunList, ExecQuotesEveryArgument) {
    const std::pair<QString, QString> cases[] = {
        {"/usr/bin/tarvo", R"("/usr/bin/tarvo")"},
        {"/opt/my apps/tarvo", R"("/opt/my apps/tarvo")"},
        {"/opt/100%/tarvo", R"("/opt/100%%/tarvo")"},
        {R"(/opt/a"b`c$d\e)", R"("/opt/a\\"b\\`c\\$d\\\\e")"},
        {"/opt/a\nb", ""},
    };
    for (const auto &[path, exec] : cases)
        EXPECT_EQ(TXdgRunList::ExecValue({path}), exec) << path.toStdString();
}

TEST(XdgRunList, WritesAndDeletesOneEntryPerProgramInEachList) {
    IsolatedHome home;
    MachineFolder machineFolder(home.path() + "/etc");
    TXdgRunList list;
    const QString user = home.configHome() + "/autostart/";
    const QString machine = home.path() + "/etc/autostart/";
    EXPECT_EQ(TXdgRunList::EntryPath(aekUserRun, "/opt/tarvo"), user + "tarvo.desktop");
    EXPECT_EQ(TXdgRunList::EntryPath(aekUserRunOnce, "/opt/tarvo"), user + "tarvo-runonce.desktop");
    EXPECT_EQ(TXdgRunList::EntryPath(aekMachineRun, "/opt/tarvo"), machine + "tarvo.desktop");
    EXPECT_EQ(TXdgRunList::EntryPath(aekMachineRunOnce, "/opt/tarvo"),
              machine + "tarvo-runonce.desktop");

    EXPECT_FALSE(list.DeleteRunEntry(aekUserRun, "/opt/tarvo")); // no folder yet
    ASSERT_TRUE(list.AddRunEntry(aekUserRun, "/opt/tarvo"));
    EXPECT_EQ(readFile(user + "tarvo.desktop"), "[Desktop Entry]\n"
                                                "Type=Application\n"
                                                "Name=Tarvo\n"
                                                "Exec=\"/opt/tarvo\"\n"
                                                "X-GNOME-Autostart-enabled=true\n");
    ASSERT_TRUE(list.AddRunEntry(aekUserRun, "/usr/bin/tarvo")); // same name: replaced
    EXPECT_TRUE(readFile(user + "tarvo.desktop").contains("Exec=\"/usr/bin/tarvo\"\n"));
    EXPECT_EQ(QDir(user).entryList(QDir::Files), QStringList({"tarvo.desktop"}));
    EXPECT_TRUE(list.DeleteRunEntry(aekUserRun, "/elsewhere/tarvo"));
    EXPECT_FALSE(QFile::exists(user + "tarvo.desktop"));
    EXPECT_TRUE(list.DeleteRunEntry(aekUserRun, "/opt/tarvo")); // missing counts as success
    EXPECT_FALSE(list.AddRunEntry(aekUserRun, "/opt/"));        // no name, no entry
}

TEST(XdgRunList, ServiceKindsAreIgnored) {
    IsolatedHome home;
    TXdgRunList list;
    for (TAutoExecKind kind : {aekServiceRun, aekServiceRunOnce}) {
        EXPECT_FALSE(list.AddRunEntry(kind, "/opt/tarvo"));
        EXPECT_FALSE(list.DeleteRunEntry(kind, "/opt/tarvo"));
    }
    EXPECT_FALSE(QDir(home.configHome() + "/autostart").exists());
}

TEST(AutoRun, MachineListOutOfReachLeavesNoEntryAndRaisesNothing) {
    IsolatedHome home;
    // A plain file where the machine-wide folder would be: no folder can be made there, as
    // for a user without administrator rights.
    QFile(home.path() + "/etc").open(QIODevice::WriteOnly);
    MachineFolder machineFolder(home.path() + "/etc");
    TAutoRun run(nullptr);
    run.SetFileName("/opt/tarvo");
    EXPECT_NO_THROW(run.SetAutoRun(true));
    EXPECT_TRUE(run.AutoRun());
    EXPECT_FALSE(QFile::exists(TXdgRunList::EntryPath(aekMachineRun, "/opt/tarvo")));
}

TEST(AutoRun, SwitchingOnWithAPathNoEntryCanHoldSaysWhy) {
    IsolatedHome home;
    RecordingDesktop desktop;
    const struct {
        TAutoExecKind kind;
        QString fileName;
        const char *shown; // empty: the entry is written and nothing is said
    } cases[] = {
        {aekUserRun, "/opt/Meine\nProgramme/tarvo", "/opt/Meine\\nProgramme/tarvo"},
        {aekUserRunOnce, "/opt/Meine\tProgramme/tarvo", "/opt/Meine\\tProgramme/tarvo"},
        {aekUserRun, "/opt/Meine Programme 100%/tarvo", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.fileName));
        desktop.errors.clear();
        TAutoRun run(nullptr);
        run.SetKind(c.kind);
        run.SetFileName(c.fileName);
        run.SetAutoRun(true);
        const QString entry = TXdgRunList::EntryPath(c.kind, c.fileName);
        if (*c.shown) {
            EXPECT_EQ(desktop.errors,
                      QStringList({QStringLiteral("Tarvo Test|Der Autostart kann nicht "
                                                  "eingerichtet werden: Der Pfad „%1“ enthält ein "
                                                  "Steuerzeichen (Zeilenumbruch oder Tabulator), "
                                                  "das ein Autostart-Eintrag nicht aufnehmen kann.")
                                       .arg(QString::fromUtf8(c.shown))}));
            EXPECT_FALSE(QFile::exists(entry));
        } else {
            EXPECT_TRUE(desktop.errors.isEmpty());
            EXPECT_TRUE(QFile::exists(entry));
        }
        run.SetAutoRun(true); // no switch: nothing said again
        EXPECT_EQ(desktop.errors.size(), *c.shown ? 1 : 0);
        run.SetAutoRun(false);
    }
}
