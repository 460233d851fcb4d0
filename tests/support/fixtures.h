#pragma once
// Shared test seams: pinned German settings and clock, isolated storage folders, and a
// desktop that records instead of showing.

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/formatsettings.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <ostream>

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

// Pins the German format settings for the test's lifetime.
class GermanLocale {
public:
    GermanLocale() : FScope(TFormatSettings::German()) {}

private:
    ScopedFormatSettings FScope;
};

// Pins the clock (default: 2 May 2005, noon).
class PinnedClock {
public:
    explicit PinnedClock(const QDateTime &moment = QDateTime(QDate(2005, 5, 2), QTime(12, 0)))
        : FScope(moment) {}

private:
    ScopedClockPin FScope;
};

// Sets an environment variable, or clears it (nullopt), for the object's lifetime.
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

// Points XDG_CONFIG_HOME and XDG_RUNTIME_DIR into a fresh temporary folder; restores them.
class IsolatedHome {
public:
    IsolatedHome();
    QString path() const { return FDir.path(); }
    QString configHome() const;
    QString runtimeDir() const;

private:
    QTemporaryDir FDir;
    ScopedEnv FConfig, FRuntime;
};

// Records beeps, messages, links and clipboard texts instead of showing them.
class RecordingDesktop : public TDesktop {
public:
    RecordingDesktop() : FScope(*this) {}
    void Beep() override { ++beeps; }
    void ShowMessage(const QString &caption, const QString &text) override {
        messages << caption + u'|' + text;
    }
    void ShowError(const QString &caption, const QString &text) override {
        errors << caption + u'|' + text;
    }
    bool OpenUrl(const QString &link) override {
        links << link;
        return true;
    }
    void SetClipboardText(const QString &text) override { clipboard = text; }

    int beeps = 0;
    QStringList messages, errors, links;
    QString clipboard;

private:
    ScopedDesktop FScope;
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
bool RequestComeForwardFromOutside(const QString &name);
