#include "platform/gui/application.h"
#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QTimer>

TEST(Application, ErrorInAnEventHandlerIsReportedAndTheLoopGoesOn) {
    RecordingDesktop desktop;
    bool after = false;
    QTimer::singleShot(0, [] { throw EConvertError("'x' ist kein gültiger Integerwert"); });
    QTimer::singleShot(0, [&] {
        after = true;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    EXPECT_TRUE(after);
    ASSERT_EQ(desktop.errors.size(), 1);
    EXPECT_EQ(desktop.errors[0], "Tarvo Test|'x' ist kein gültiger Integerwert");
}
