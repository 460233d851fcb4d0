#pragma once
// Compares an output with its committed golden file under tests/golden, or writes it anew when
// TARVO_GOLDEN_UPDATE is set (after a deliberate change; the diff is then the review). A
// difference names the first line that differs.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

inline void Golden(const QString &name, const QByteArray &bytes) {
    QFile file(QStringLiteral(TARVO_GOLDEN_DIR "/") + name);
    if (qEnvironmentVariableIsSet("TARVO_GOLDEN_UPDATE")) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(bytes);
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString() << " is missing";
    const QByteArray expected = file.readAll();
    if (expected == bytes) return;
    const QList<QByteArray> want = expected.split('\n'), got = bytes.split('\n');
    qsizetype line = 0;
    while (line < want.size() && line < got.size() && want[line] == got[line])
        ++line;
    ADD_FAILURE() << name.toStdString() << " differs from line " << line + 1
                  << ":\n  golden: " << want.value(line).toStdString()
                  << "\n  now:    " << got.value(line).toStdString();
}
