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

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR into a fresh temporary folder;
// restores them.
class IsolatedHome {
public:
    IsolatedHome();
    QString path() const { return FDir.path(); }
    QString configHome() const;
    QString dataHome() const;
    QString runtimeDir() const;

private:
    QTemporaryDir FDir;
    ScopedEnv FConfig, FData, FRuntime;
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
    QString fileName;       // what every file dialog gives
    QStringList messages, errors, links, questions, fileDialogs;
    QString clipboard, clipboardHtml;

private:
    ScopedDesktop FScope;
};

// Sends a come-forward request from another thread, as another copy would, while this one
// runs the message loop; gives whether it was confirmed.
bool RequestComeForwardFromOutside(const QString &name);
