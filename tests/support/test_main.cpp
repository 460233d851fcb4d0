// Shared test main: one application object, offscreen, so widget tests need no display, and a
// watchdog that fails the running test instead of hanging when a modal dialog opens.

#include "platform/gui/application.h"
#include "platform/gui/fontconfiguration.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The fonts as the program configures them, so that every test draws with its fonts.
    PrepareFontConfiguration();
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo Test"));
    // Anything that still asks Qt for the user's folders gets test folders, never the real ones.
    QStandardPaths::setTestModeEnabled(true);
    TTestServices services;
    const TServicesInUse inUse(services);
    ::testing::InitGoogleTest(&argc, argv);

    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "unexpected modal dialog: " << modal->windowTitle().toStdString();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    watchdog.start(200);
    return RUN_ALL_TESTS();
}
