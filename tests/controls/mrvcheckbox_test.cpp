// The yes/no check box under real mouse and key input; its pixels against the shade ramp's
// values at the box's coordinates.

#include "controls/mrvcheckbox.h"
#include "platform/fonts.h"

#include <QAccessibleInterface>
#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

const QColor Background(234, 233, 205), Ink(0, 0, 128); // clNavy
// Entries of the grey ramp (every channel) and of the green one (green channel; red and blue
// are 0 up to entry 7 and (i - 7) * 17 above).
const int Grey[16] = {9, 26, 43, 60, 77, 94, 111, 128, 145, 162, 179, 196, 213, 230, 247, 255};
QColor G(int i) {
    return QColor(Grey[i], Grey[i], Grey[i]);
}
QColor Gr(int i) {
    const int other = i < 8 ? 0 : (i - 7) * 17;
    return QColor(other, Grey[i], other);
}

class CheckboxTest : public ::testing::Test {
protected:
    CheckboxTest() : box(nullptr, &window), other(nullptr, &window) {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Background);
        window.setPalette(palette);
        QFont font = LayoutFont(QStringLiteral("MS Sans Serif"), -11);
        font.setStyleStrategy(QFont::NoAntialias); // the caption in its one colour
        window.setFont(font);
        window.resize(200, 60);
        box.move(10, 10);
        box.SetCaption(QStringLiteral("Immer im Vordergrund"));
        box.SetFontColor(clNavy);
        other.move(10, 30);
        box.OnClick = [this](TObject *sender) {
            EXPECT_EQ(sender, static_cast<TObject *>(&box));
            states += "UCG"[box.State()];
        };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other.setFocus();
    }

    QColor Pixel(int x, int y) {
        const QPixmap grab = box.grab();
        EXPECT_EQ(grab.devicePixelRatio(), 1.0);
        return grab.toImage().pixelColor(x, y);
    }
    // The colours of the caption area other than the background.
    std::set<QRgb> CaptionInk() {
        const QImage image = box.grab().toImage();
        std::set<QRgb> ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 19; x < image.width(); ++x)
                if (image.pixelColor(x, y) != Background) ink.insert(image.pixel(x, y));
        return ink;
    }

    QWidget window;
    TMRVCheckbox box;
    TMRVCheckbox other;
    std::string states; // the state after each OnClick
};

struct MarkRow {
    TMRVCheckStyle Style;
    TCheckBoxState State;
    bool Cross, Tick, Bar;
};

// One pixel of each mark: (10, 5) lies on the cross only, (14, 3) on the tick where it leaves
// the box, (6, 7) on the grayed bar only.
TEST_F(CheckboxTest, DrawsTheMarkOfEachStyleAndState) {
    const MarkRow rows[] = {
        {mrvYesNo, cbUnchecked, true, false, false}, {mrvYesNo, cbChecked, false, true, false},
        {mrvYes, cbUnchecked, false, false, false},  {mrvYes, cbChecked, false, true, false},
        {mrvNo, cbUnchecked, false, false, false},   {mrvNo, cbChecked, true, false, false},
        {mrvYes, cbGrayed, false, false, true},      {mrvNo, cbGrayed, false, false, true},
        {mrvYesNo, cbGrayed, false, false, true},
    };
    for (const MarkRow &row : rows) {
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

enum Look { Unfocused, Focused, MouseHeld, SpaceHeld, Disabled };

// Border, box fill, the two inner bevels and the caption, by look.
TEST_F(CheckboxTest, ColoursFollowFocusPressAndEnabled) {
    struct Row {
        Look What;
        QColor Border, Fill, TopLeft, BottomRight, Caption;
    } rows[] = {
        {Unfocused, G(0), G(13), G(15), G(8), Ink},   {Focused, Gr(0), Gr(13), Gr(15), Gr(8), Ink},
        {MouseHeld, Gr(0), Gr(7), Gr(5), Gr(9), Ink}, {SpaceHeld, Gr(0), Gr(7), Gr(5), Gr(9), Ink},
        {Disabled, G(8), G(13), G(13), G(13), G(8)},
    };
    EXPECT_EQ(Gr(0), QColor(0, 9, 0));
    EXPECT_EQ(Gr(13), QColor(102, 230, 102));
    box.LabelCheck().SetLabel_NoEnabled(box.Caption()); // disabling keeps the state
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "look " << row.What);
        if (row.What == Focused) box.setFocus();
        if (row.What == MouseHeld) QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
        if (row.What == SpaceHeld) {
            box.setFocus();
            QTest::keyPress(&box, Qt::Key_Space);
        }
        if (row.What == Disabled) box.setEnabled(false);
        EXPECT_EQ(Pixel(2, 2), row.Border);
        EXPECT_EQ(Pixel(7, 7), row.Fill);
        EXPECT_EQ(Pixel(4, 6), row.TopLeft);
        EXPECT_EQ(Pixel(8, 11), row.BottomRight);
        EXPECT_EQ(CaptionInk(), std::set<QRgb>{row.Caption.rgb()});
        EXPECT_EQ(Pixel(0, 0), Background);
        EXPECT_EQ(box.State(), cbUnchecked) << "pressing alone changes nothing";
        if (row.What == MouseHeld) QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(5, 5));
        if (row.What == SpaceHeld) QTest::keyRelease(&box, Qt::Key_Space);
        box.SetChecked(false);
        other.setFocus();
    }
}

// A release off the box does not toggle; the pressed look goes while the pointer is away.
TEST_F(CheckboxTest, MouseTogglesOnReleaseOverTheBoxOnly) {
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
    // Qt's double click: press, release, double-click press, release.
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(states, "CUC") << "each click of a double click toggles";
}

TEST_F(CheckboxTest, ClicksCycleThroughGrayedWhenAllowed) {
    for (bool grayed : {false, true}) {
        box.SetAllowGrayed(grayed);
        states.clear();
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(30, 8));
        EXPECT_EQ(states, grayed ? "GCU" : "CUC");
        box.SetChecked(false);
    }
}

TEST_F(CheckboxTest, OnClickOncePerRealChange) {
    box.SetChecked(false);
    box.SetState(cbUnchecked);
    EXPECT_EQ(states, "");
    box.SetChecked(true);
    box.SetChecked(true);
    box.SetState(cbGrayed);
    EXPECT_EQ(states, "CG");
}

TEST_F(CheckboxTest, DisablingWithoutALabelUnchecksThroughAToggle) {
    const std::pair<TCheckBoxState, const char *> rows[] = {
        {cbUnchecked, "CU"}, {cbChecked, "U"}, {cbGrayed, "CU"}};
    box.LabelCheck().SetLabelCheck(true);
    box.LabelCheck().SetLabel_No(QStringLiteral("aus"));
    for (const auto &[from, clicks] : rows) {
        box.setEnabled(true);
        box.SetState(from);
        states.clear();
        box.setEnabled(false);
        EXPECT_EQ(states, clicks) << "from " << from;
        EXPECT_EQ(box.Caption(), "aus");
    }
    states.clear();
    box.setEnabled(true);
    EXPECT_EQ(states, "");
}

TEST_F(CheckboxTest, DisablingWithALabelShowsItAndKeepsTheState) {
    box.SetChecked(true);
    states.clear();
    box.LabelCheck().SetLabel_NoEnabled(QStringLiteral("gesperrt"));
    box.setEnabled(false);
    EXPECT_EQ(box.Caption(), "gesperrt");
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(states, "");
}

TEST_F(CheckboxTest, LabelCheckCaptionsFollowEachToggle) {
    TMRVCheckLabel labels;
    labels.SetLabelCheck(true);
    labels.SetLabel_Yes(QStringLiteral("ja"));
    labels.SetLabel_gray(QString()); // an empty text keeps the caption
    box.SetLabelCheck(labels);
    box.SetAllowGrayed(true);
    EXPECT_EQ(box.Caption(), "Immer im Vordergrund") << "storing the texts shows nothing";
    box.Toggle();
    EXPECT_EQ(box.Caption(), "Immer im Vordergrund");
    box.Toggle();
    EXPECT_EQ(box.Caption(), "ja");
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
    EXPECT_EQ(Pixel(2, 2), G(0)) << "grey again once the focus has gone";
}

TEST_F(CheckboxTest, SpaceTogglesOnReleaseAndAltAcceleratorFocusesAndToggles) {
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

TEST_F(CheckboxTest, ScreenReadersGetTheCaptionAndTheCheckState) {
    box.SetCaption(QStringLiteral("&Autostart"));
    box.SetState(cbGrayed);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Autostart");
    EXPECT_TRUE(accessible->state().checkStateMixed);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(accessible->state().checked);
}

TEST_F(CheckboxTest, ColourAndFontFollowTheParentUntilSet) {
    EXPECT_TRUE(box.ParentColor());
    EXPECT_TRUE(box.ParentFont());
    box.SetColor(clOlive);
    EXPECT_FALSE(box.ParentColor());
    EXPECT_EQ(Pixel(0, 0), QColor(128, 128, 0));
    box.SetParentColor(true);
    EXPECT_EQ(Pixel(0, 0), Background);
    box.SetParentFont(false);
    window.setFont(LayoutFont(QStringLiteral("Small Fonts"), -9));
    EXPECT_EQ(box.font().family(), "Liberation Sans");
    box.SetParentFont(true);
    EXPECT_EQ(box.font().family(), "DejaVu Sans");
}

} // namespace
