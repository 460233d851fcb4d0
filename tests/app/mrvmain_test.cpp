#include "app/mrvmain.h"
#include "platform/registry.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

namespace {

const QString Key = QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo");

class MainWindowSettings : public ::testing::Test {
protected:
    IsolatedHome home;
    GermanLocale de;
    RecordingDesktop desktop;
};

} // namespace

TEST_F(MainWindowSettings, AStoredValueOfTheWrongTypeIsReportedOnceAndRepairedAtTheEnd) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        reg.WriteInteger("left", 300);
        reg.WriteString("top", "200");
        reg.WriteInteger("formel", 2);
    }
    {
        TForm1 form;
        EXPECT_EQ(form.regval->Values("top").AsInteger(), 20);
        EXPECT_EQ(form.regval->Values("left").AsString(), "20");
        EXPECT_EQ(form.regval->Values("formel").AsInteger(), 2) << "the good values still load";
        EXPECT_EQ(desktop.errors, QStringList({"Tarvo Test|Ungültiger Datentyp für 'top'"}));
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadInteger("top"), 20);
    EXPECT_EQ(reg.ReadString("left"), "20");
    EXPECT_EQ(reg.ReadInteger("formel"), 2);
    EXPECT_EQ(desktop.errors.size(), 1);
}

TEST_F(MainWindowSettings, TheCloseBoxEndsTheProgramAndTheSettingsAreWrittenBack) {
    {
        TForm1 form;
        form.show();
        form.regval->SetValues("formel", qint32(2));
        // As the close box does: the window closes, the message loop ends, the window goes.
        QTimer::singleShot(0, &form, [&] { form.close(); });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), 0) << "the loop did not end with the window";
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadInteger("formel"), 2);
    EXPECT_EQ(reg.ReadString("version"), "2.3");
}

TEST_F(MainWindowSettings, TheBarIsAFixedWindowWithItsCaptionAndIcon) {
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), "Tarvo 2.3 Freeware");
    EXPECT_EQ(form.size(), QSize(635, 40));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.windowIcon().availableSizes(),
              QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
}
