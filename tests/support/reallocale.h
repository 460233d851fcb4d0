#pragma once
// The machine's real C-library locales, for the few tests that mean them rather than the
// pinned German settings. Locales come from the C library's own sources (the locales
// package), generated once into a folder that every test program shares; LOCPATH points the
// C library there, so the tests neither need nor change what the machine has installed.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

#include <locale.h>

inline bool LocaleLoads(const QString &name) {
    const locale_t locale =
        newlocale(LC_ALL_MASK, name.toLocal8Bit().constData(), locale_t(nullptr));
    if (locale) freelocale(locale);
    return locale != locale_t(nullptr);
}

// True when the C library can load the locale ("de_DE.UTF-8") afterwards.
inline bool ProvideLocale(const QString &name) {
    const QString folder = QDir::tempPath() + QStringLiteral("/tarvo-test-locales");
    qputenv("LOCPATH", folder.toLocal8Bit());
    // The C library remembers a locale it failed to find, so it is asked only once the
    // locale's files are in place.
    if (name == QLatin1String("C") || QFile::exists(folder + u'/' + name + "/LC_TIME"))
        return LocaleLoads(name);
    // Generated beside the folder's locales and renamed into place, so that test programs
    // running at the same time never load half a locale.
    QDir().mkpath(folder);
    const QString staging =
        folder + QStringLiteral("/.%1.%2").arg(name).arg(QCoreApplication::applicationPid());
    const QString charmap = name.section(u'.', 1);
    QProcess::execute(QStringLiteral("localedef"),
                      {QStringLiteral("-i"), name.section(u'.', 0, 0), QStringLiteral("-f"),
                       charmap.isEmpty() ? QStringLiteral("UTF-8") : charmap, staging});
    QDir().rename(staging, folder + u'/' + name);
    QDir(staging).removeRecursively();
    return LocaleLoads(name);
}
