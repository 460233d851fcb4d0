// The yes/no check box under real mouse and key input; its pixels against the shade ramp's
// values at the box's coordinates.

#include "controls/mrvcheckbox.h"
#include "platform/gui/fonts.h"
#include "tests/controls/shades.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor Background(234, 233, 205), Ink(0, 0, 128); // clNavy

class CheckboxTest : public ::testing::Test {
protected:
    CheckboxTest() : box(nullptr, &window), other(nullptr, &window) {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Background);
        window.setPalette(palette);
        QFont font = LayoutFont(QStringLiteral("MS Sans Serif"), -11);
        font.setStyleStrategy(QFont::NoAntialias); // the caption in its one colour
        window.setFont(font);
        box.move(10, 10);
        box.SetCaption(QStringLiteral("Immer im Vordergrund"));
        box.SetFontColor(clNavy);
        other.move(10, 30);
        box.OnClick = [this](TObject *) { states += "UCG"[box.State()]; };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other.setFocus();
    }
    QColor Pixel(int x, int y) { return box.grab().toImage().pixelColor(x, y); }

    QWidget window;
    TMRVCheckbox box, other;
    std::string states; // the state after each OnClick
};

// (10, 5) lies on the cross only, (14, 3) on the tick where it leaves the box, (6, 7) on the
// grayed bar only; the shades next to each mark come from the ramp.
TEST_F(CheckboxTest, DrawsTheMarkOfEachStyleAndState) {
    const struct {
        TMRVCheckStyle Style;
        TCheckBoxState State;
        bool Cross, Tick, Bar;
    } rows[] = {
        {mrvYesNo, cbUnchecked, true, false, false}, {mrvYesNo, cbChecked, false, true, false},
        {mrvYes, cbUnchecked, false, false, false},  {mrvYes, cbChecked, false, true, false},
        {mrvNo, cbUnchecked, false, false, false},   {mrvNo, cbChecked, true, false, false},
        {mrvYes, cbGrayed, false, false, true},      {mrvNo, cbGrayed, false, false, true},
        {mrvYesNo, cbGrayed, false, false, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "style " << row.Style << ", state " << row.State);
        box.SetCheckStyle(row.Style);
        box.SetState(row.State);
        EXPECT_EQ(Pixel(10, 5), row.Cross ? G(0) : G(13));
        EXPECT_EQ(Pixel(14, 3), row.Tick ? G(0) : Background);
        EXPECT_EQ(Pixel(6, 7), row.Bar ? G(0) : G(13));
        if (row.Cross) {
            EXPECT_EQ(Pixel(6, 10), G(7)) << "shade A";
            EXPECT_EQ(Pixel(6, 11), G(10)) << "shade B";
        }
        if (row.Tick) {
            EXPECT_EQ(Pixel(14, 4), G(7));
            EXPECT_EQ(Pixel(15, 4), G(10));
        }
        if (row.Bar) {
            EXPECT_EQ(Pixel(8, 9), G(10));
        }
    }
}

// Border, box fill, the two inner bevels and the caption, by look; pressing alone changes
// no state.
TEST_F(CheckboxTest, ColoursFollowFocusPressAndEnabled) {
    enum Look { Unfocused, Focused, MouseHeld, SpaceHeld, Disabled };
    const struct {
        Look What;
        QColor Border, Fill, TopLeft, BottomRight, Caption;
    } rows[] = {
        {Unfocused, G(0), G(13), G(15), G(8), Ink},
        {Focused, QColor(0, 9, 0), QColor(102, 230, 102), Gr(15), Gr(8), Ink},
        {MouseHeld, Gr(0), Gr(7), Gr(5), Gr(9), Ink},
        {SpaceHeld, Gr(0), Gr(7), Gr(5), Gr(9), Ink},
        {Disabled, G(8), G(13), G(13), G(13), G(8)},
    };
    box.LabelCheck().SetLabel_NoEnabled(box.Caption()); // disabling keeps the state
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << "look " << row.What);
        if (row.What == Focused || row.What == SpaceHeld) box.setFocus();
        if (row.What == MouseHeld) QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
        if (row.What == SpaceHeld) QTest::keyPress(&box, Qt::Key_Space);
        if (row.What == Disabled) box.setEnabled(false);
        EXPECT_EQ(Pixel(2, 2), row.Border);
        EXPECT_EQ(Pixel(7, 7), row.Fill);
        EXPECT_EQ(Pixel(4, 6), row.TopLeft);
        EXPECT_EQ(Pixel(8, 11), row.BottomRight);
        EXPECT_EQ(InkRightOf(box.grab().toImage(), 19, Background),
                  std::set<QRgb>{row.Caption.rgb()});
        EXPECT_EQ(states, "");
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::keyRelease(&box, Qt::Key_Space);
        box.SetChecked(false);
        states.clear();
        other.setFocus();
    }
}

// The pressed look goes while the pointer is away and comes back with it; only a release
// over the box toggles, and each click of a double click does.
TEST_F(CheckboxTest, MouseTogglesOnReleaseOverTheBox) {
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&box, QPoint(5, 40));
    EXPECT_EQ(Pixel(7, 7), Gr(13));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(5, 40));
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&box, QPoint(5, 40));
    QTest::mouseMove(&box, QPoint(50, 8));
    EXPECT_EQ(Pixel(7, 7), Gr(7));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(50, 8));
    EXPECT_EQ(states, "C");
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5)); // Qt's double click
    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(states, "CUC");
}

TEST_F(CheckboxTest, OnClickOncePerRealChangeAndGrayedOnlyWhenAllowed) {
    box.SetChecked(false);
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_EQ(states, "C");
    for (bool grayed : {false, true}) {
        box.SetAllowGrayed(grayed);
        box.SetChecked(false);
        states.clear();
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(30, 8));
        EXPECT_EQ(states, grayed ? "GCU" : "CUC");
    }
}

// Without Label_NoEnabled disabling unchecks through a toggle, which shows Label_No; with
// one it shows that and keeps the state. Enabling again changes nothing.
TEST_F(CheckboxTest, DisablingUnchecksOrShowsLabelNoEnabled) {
    const struct {
        TCheckBoxState From;
        const char *NoEnabled, *Clicks, *Caption;
    } rows[] = {{cbUnchecked, "", "CU", "aus"},
                {cbChecked, "", "U", "aus"},
                {cbGrayed, "", "CU", "aus"},
                {cbChecked, "gesperrt", "", "gesperrt"}};
    box.LabelCheck().SetLabelCheck(true);
    box.LabelCheck().SetLabel_No(QStringLiteral("aus"));
    for (const auto &row : rows) {
        box.setEnabled(true);
        box.SetState(row.From);
        box.LabelCheck().SetLabel_NoEnabled(QString::fromLatin1(row.NoEnabled));
        states.clear();
        box.setEnabled(false);
        EXPECT_EQ(states, row.Clicks) << "from " << row.From;
        EXPECT_EQ(box.Caption(), row.Caption);
    }
    states.clear();
    box.setEnabled(true);
    EXPECT_EQ(states, "");
    EXPECT_TRUE(box.Checked());
}

// Enter and Down move on, Up back, once the key has been handled; none toggles.
TEST_F(CheckboxTest, EnterDownAndUpMoveTheFocus) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Up}) {
        box.setFocus();
        QTest::keyClick(&box, key);
        EXPECT_TRUE(box.hasFocus()) << "posted";
        QCoreApplication::processEvents();
        EXPECT_TRUE(other.hasFocus()) << key; // two stops: back and forth meet
    }
    EXPECT_EQ(states, "");
}

TEST_F(CheckboxTest, SpaceTogglesOnReleaseAndTheAcceleratorFocusesAndToggles) {
    box.setFocus();
    QTest::keyPress(&box, Qt::Key_Space);
    EXPECT_EQ(states, "");
    QTest::keyRelease(&box, Qt::Key_Space);
    EXPECT_EQ(states, "C");
    box.SetCaption(QStringLiteral("&Autostart"));
    other.setFocus();
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(box.hasFocus());
    EXPECT_EQ(states, "CU");
}

} // namespace
