#pragma once
// The services every test runs with, and the fixtures that change one part of them for their
// lifetime: pinned regional settings and clock, isolated storage folders, a desktop that
// records instead of showing, and run lists of the test's own.

#include "platform/base/clock.h"
#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"
#include "platform/base/services.h"
#include "platform/core/desktop.h"
#include "platform/core/runlist.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <ostream>
#include <utility>

// Readable QString and QStringList in test failures.
inline void PrintTo(const QString &text, std::ostream *out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *out) {
    *out << '{';
    for (const QString &text : list) {
        PrintTo(text, out);
        *out << (&text == &list.back() ? "" : ", ");
    }
    *out << '}';
}

// The message of the error of type E the action raises; "(no error)" when it raises none.
template <typename E = Exception, typename F> QString ErrorOf(F &&action) {
    try {
        action();
    } catch (const E &error) {
        return error.Message();
    }
    return QStringLiteral("(no error)");
}

// American regional settings: decimal point, thousands comma, "M/d/yy", AM/PM.
TFormatSettings AmericanSettings();

// Where a test keeps what the program stores: the user's settings, the machine's settings,
// the user's data and the private runtime folder.
struct TTestFolders {
    QString ConfigHome, MachineConfig, DataHome, RuntimeDir;
    // All four below `root`, made, the runtime folder closed to others.
    static TTestFolders Below(const QString &root);
};

// The fakes the test main puts in use: the system's clock unless pinned, German regional
// settings unless others are pinned, and folders in a temporary folder of its own, the XDG run
// lists over them. Errors go to the application object's report. The fixtures below change
// one part each.
class TTestServices : public TServices {
    QTemporaryDir FRoot; // first: the folders lie in it

public:
    QDateTime Now() const override;
    QDate Today() const override;
    const TFormatSettings &FormatSettings() const override { return Settings; }
    // A test's settings stay what it pinned.
    void RefreshFormatSettings() override {}
    TDesktop &Desktop() override;
    TRunList &RunList() override;
    QString ConfigHome() const override { return Folders.ConfigHome; }
    QStringList ConfigDirs() const override { return {Folders.MachineConfig}; }
    QString DataHome() const override { return Folders.DataHome; }
    QString RuntimeDir() const override { return Folders.RuntimeDir; }
    void ReportError(const std::exception &error) override;

    std::optional<QDateTime> PinnedMoment;
    TFormatSettings Settings = TFormatSettings::German();
    TDesktop *DesktopInUse = nullptr;
    TRunList *RunListInUse = nullptr;
    TTestFolders Folders = TTestFolders::Below(FRoot.path());
};

// The test services the test main has put in use.
TTestServices &TestServices();

// Gives one part of the test services a value for the object's lifetime.
template <typename T> class ScopedPart {
public:
    ScopedPart(T &part, T value) : FPart(part), FOld(std::exchange(part, std::move(value))) {}
    ~ScopedPart() { FPart = std::move(FOld); }
    ScopedPart(const ScopedPart &) = delete;
    ScopedPart &operator=(const ScopedPart &) = delete;

private:
    T &FPart;
    T FOld;
};

// Pins the regional settings for the test's lifetime.
class PinnedSettings {
public:
    explicit PinnedSettings(const TFormatSettings &settings)
        : FScope(TestServices().Settings, settings) {}

private:
    ScopedPart<TFormatSettings> FScope;
};

// Pins the German settings: decimal comma, thousands point, "dd.MM.yyyy", separator ".".
class GermanLocale : public PinnedSettings {
public:
    GermanLocale() : PinnedSettings(TFormatSettings::German()) {}
};

// Pins the clock (default: 2 May 2005, noon).
class PinnedClock {
public:
    explicit PinnedClock(const QDateTime &moment = QDateTime(QDate(2005, 5, 2), QTime(12, 0)))
        : FScope(TestServices().PinnedMoment, moment) {}

private:
    ScopedPart<std::optional<QDateTime>> FScope;
};

// Sets an environment variable, or clears it (nullopt), for the object's lifetime: for the
// tests of what the system's parts read from the environment.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::optional<QByteArray> &value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *FName;
    std::optional<QByteArray> FOld;
};

// Fresh storage folders in a temporary folder for the test's lifetime; a program the test
// starts gets them through the XDG variables of its environment.
class IsolatedHome {
public:
    IsolatedHome();
    QString path() const { return FDir.path(); }
    QString configHome() const { return FFolders.ConfigHome; }
    QString machineConfig() const { return FFolders.MachineConfig; }
    QString dataHome() const { return FFolders.DataHome; }
    QString runtimeDir() const { return FFolders.RuntimeDir; }

private:
    QTemporaryDir FDir;
    TTestFolders FFolders;
    ScopedPart<TTestFolders> FScope;
};

// Run lists of the test's own for its lifetime.
class RunListInUse {
public:
    explicit RunListInUse(TRunList &runList) : FScope(TestServices().RunListInUse, &runList) {}

private:
    ScopedPart<TRunList *> FScope;
};

// Records beeps, messages, links and clipboard texts instead of showing them.
class RecordingDesktop : public TDesktop {
public:
    RecordingDesktop() : FScope(TestServices().DesktopInUse, this) {}
    void Beep() override { ++beeps; }
    void ShowMessage(const QString &caption, const QString &text) override {
        messages << caption + u'|' + text;
    }
    void ShowError(const QString &caption, const QString &text) override {
        errors << caption + u'|' + text;
    }
    bool OpenUrl(const QString &link) override {
        links << link;
        return opensLinks;
    }
    void SetClipboardText(const QString &text) override { clipboard = text; }
    void SetClipboardHtml(const QString &text, const QString &html) override {
        clipboard = text;
        clipboardHtml = html;
    }
    bool Ask(const QString &caption, const QString &text, const QString &action) override {
        questions << caption + u'|' + text + u'|' + action;
        return answer;
    }
    int Choose(const QString &caption, const QString &text, const QStringList &actions) override {
        questions << caption + u'|' + text + u'|' + actions.join(u'/');
        return choice;
    }
    QString SaveFileName(const QString &caption, const QString &suggested,
                         const QString &) override {
        fileDialogs << caption + u'|' + suggested;
        return fileName;
    }
    QString OpenFileName(const QString &caption, const QString &, const QString &) override {
        fileDialogs << caption;
        return fileName;
    }

    int beeps = 0;
    bool opensLinks = true; // false: no program for links is set up
    bool answer = false;    // the answer to every question
    int choice = -1;        // the action chosen at every choice: none
    QString fileName;       // what every file dialog gives
    QStringList messages, errors, links, questions, fileDialogs;
    QString clipboard, clipboardHtml;

private:
    ScopedPart<TDesktop *> FScope;
};

#if defined(__SANITIZE_ADDRESS__) // GCC
#define TARVO_TEST_ASAN
#elif defined(__has_feature) // clang
#if __has_feature(address_sanitizer)
#define TARVO_TEST_ASAN
#endif
#endif

// Why resident-memory limits cannot be checked in this build, or nullptr when they can.
inline const char *ResidentMemoryUnchecked() {
#ifdef TARVO_TEST_ASAN
    return "built with AddressSanitizer, whose quarantine and shadow memory grow the resident "
           "set; limits not checked";
#else
    return nullptr;
#endif
}

// Sends a come-forward request from another thread, as another copy would, while this one
// runs the message loop; gives whether it was confirmed.
bool RequestComeForwardFromOutside(const QString &name, const QString &argument = {});
