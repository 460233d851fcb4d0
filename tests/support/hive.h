#pragma once
// The settings hive as the sqlite3 shell shows it, for the tests that look into it or change it
// behind the program's back. Their test programs link SQLite.

#include "tests/support/fixtures.h"

#include <QFile>
#include <QStringList>
#include <sqlite3.h>

inline QString HiveFile(const IsolatedHome &home) {
    return home.configHome() + QStringLiteral("/tarvo/registry.db");
}

// Runs statements on a hive as the sqlite3 shell would: the result rows, '|' between the
// columns, or a last row "error: " and the reason.
inline QStringList HiveSql(const QString &file, const char *statements) {
    sqlite3 *db = nullptr;
    QStringList rows;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db, 10000);
    auto collect = [](void *out, int n, char **values, char **) {
        QStringList columns;
        for (int i = 0; i < n; ++i)
            columns << QString::fromUtf8(values[i]);
        static_cast<QStringList *>(out)->append(columns.join(u'|'));
        return 0;
    };
    if (sqlite3_exec(db, statements, collect, &rows, nullptr) != SQLITE_OK)
        rows << QStringLiteral("error: ") + sqlite3_errmsg(db);
    sqlite3_close(db);
    return rows;
}
