// The glyph speed button under real mouse input: when it clicks, how it looks pressed and
// raised, and its repeat timer, driven tick by tick.

#include "editors/speedbutton.h"

#include "editors/comboedit.h"
#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SpeedButton : public ::testing::Test {
public:
    SpeedButton() : button(nullptr, &window) {
        window.resize(100, 60);
        button.setGeometry(10, 10, 20, 20);
        button.OnClick = [this](TObject *) {
            ++clicks;
            if (failAt == clicks) throw EConvertError(QStringLiteral("kaputt"));
        };
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    RecordingDesktop desktop;
    QWidget window;
    TTimerSpeedButton button;
    int clicks = 0;
    int failAt = 0;
};

TEST_F(SpeedButton, ClicksOnlyOnAReleaseOverIt) {
    enum Step { Press, Off, Back, ReleaseOver, ReleaseOff };
    struct Row {
        const char *name;
        std::vector<Step> steps;
        int clicks;
    } rows[] = {
        {"click", {Press, ReleaseOver}, 1},
        {"dragged off", {Press, Off, ReleaseOff}, 0},
        {"dragged off and back", {Press, Off, Back, ReleaseOver}, 1},
        {"release without press", {ReleaseOver}, 0},
    };
    button.SetAllowTimer(false);
    for (const Row &row : rows) {
        clicks = 0;
        for (Step step : row.steps)
            switch (step) {
            case Press:
                QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
                EXPECT_TRUE(button.Pressed()) << row.name;
                break;
            case Off:
                QTest::mouseMove(&button, QPoint(30, 5));
                EXPECT_FALSE(button.Pressed()) << row.name;
                break;
            case Back:
                QTest::mouseMove(&button, QPoint(5, 5));
                EXPECT_TRUE(button.Pressed()) << row.name;
                break;
            case ReleaseOver:
                QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
                break;
            case ReleaseOff:
                QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 5));
                break;
            }
        EXPECT_FALSE(button.Pressed()) << row.name;
        EXPECT_EQ(clicks, row.clicks) << row.name;
    }
    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 0);
}

TEST_F(SpeedButton, PressedFaceIsSunkenRaisedFaceIsLit) {
    const QColor frame = ColorToQColor(clWindowFrame), highlight = ColorToQColor(clBtnHighlight),
                 shadow = ColorToQColor(clBtnShadow);
    QImage raised = button.grab().toImage();
    EXPECT_EQ(raised.pixel(0, 0), frame.rgb());
    EXPECT_EQ(raised.pixel(1, 5), highlight.rgb());
    EXPECT_EQ(raised.pixel(18, 5), shadow.rgb());
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    QImage pressed = button.grab().toImage();
    EXPECT_EQ(pressed.pixel(0, 0), frame.rgb());
    EXPECT_EQ(pressed.pixel(1, 5), shadow.rgb());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));

    // The field's button is lit along its left edge while raised.
    TCustomComboEdit edit(nullptr, &window);
    edit.setGeometry(10, 30, 81, 21);
    const QImage face = edit.EditButton()->grab().toImage();
    EXPECT_EQ(face.pixel(0, 5), ColorToQColor(clBtnFace).rgb());
    EXPECT_EQ(face.pixel(1, 5), highlight.rgb());
}

TEST_F(SpeedButton, ErrorInARepeatedClickStopsTheTimerAndIsReported) {
    failAt = 2;
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(button.RepeatTimer()->isActive());
    QMetaObject::invokeMethod(
        &button, [this] { button.RepeatTick(); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &button, [this] { button.RepeatTick(); }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(button.RepeatTimer()->isActive());
    EXPECT_EQ(desktop.errors, QStringList{QStringLiteral("Tarvo Test|kaputt")});
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 3);
}

} // namespace
