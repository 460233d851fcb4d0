// The radio button under real mouse and key input: its group on one parent, and its pixels
// against the shade ramp's values at the ring's coordinates.

#include "controls/mrvradiobutton.h"
#include "tests/controls/shades.h"

#include <QAccessibleInterface>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor Background(234, 233, 205);

// Three buttons on the window and one on a panel of it.
class RadioTest : public ::testing::Test {
protected:
    RadioTest() : panel(&window), away(nullptr, &panel) {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Background);
        window.setPalette(palette);
        QFont font = window.font();
        font.setStyleStrategy(QFont::NoAntialias); // the caption in its one colour
        window.setFont(font);
        window.resize(300, 60);
        for (int i = 0; i < 3; ++i) {
            radios[i] = new TMRVRadioButton(nullptr, &window);
            radios[i]->move(10 + 90 * i, 10);
            radios[i]->SetCaption(QStringLiteral("EURO"));
            radios[i]->OnClick = [this, i](TObject *) { events += char('0' + i); };
            radios[i]->OnDblClick = [this, i](TObject *) { events += 'd' + std::to_string(i); };
        }
        panel.setGeometry(0, 30, 150, 20);
        away.SetChecked(true);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QColor Pixel(TMRVRadioButton &radio, int x, int y) {
        return radio.grab().toImage().pixelColor(x, y);
    }

    QWidget window;
    QWidget panel;
    TMRVRadioButton *radios[3];
    TMRVRadioButton away;
    std::string events;
};

TEST_F(RadioTest, CheckingTheMiddleUnchecksTheOthersOfItsParentOnly) {
    radios[0]->SetChecked(true);
    events.clear();
    radios[1]->SetChecked(true);
    EXPECT_EQ(events, "1");
    EXPECT_FALSE(radios[0]->Checked());
    EXPECT_TRUE(radios[1]->Checked());
    EXPECT_FALSE(radios[2]->Checked());
    EXPECT_TRUE(away.Checked());
    EXPECT_FALSE(radios[0]->TabStop()) << "it was checked";
    EXPECT_TRUE(radios[1]->TabStop());
    EXPECT_TRUE(radios[2]->TabStop()) << "it was never checked";

    radios[1]->SetChecked(false);
    EXPECT_EQ(events, "1");
    EXPECT_FALSE(radios[0]->Checked() || radios[1]->Checked() || radios[2]->Checked());
}

TEST_F(RadioTest, ClickChecksOnceAndDoubleClickReportsTheSecondPress) {
    QTest::mouseClick(radios[2], Qt::LeftButton, {}, QPoint(40, 8));
    QTest::mouseClick(radios[2], Qt::LeftButton, {}, QPoint(40, 8));
    EXPECT_EQ(events, "2") << "clicking a checked button changes nothing";
    QTest::mouseClick(radios[0], Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(radios[0], Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(radios[0], Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(events, "20d0");
}

TEST_F(RadioTest, AcceleratorFocusesWithoutChecking) {
    radios[1]->SetCaption(QStringLiteral("&deutsche"));
    QTest::keyClick(&window, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(radios[1]->hasFocus());
    EXPECT_FALSE(radios[1]->Checked());
    QTest::keyClick(radios[1], Qt::Key_Space);
    EXPECT_TRUE(radios[1]->Checked());

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(radios[1]);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->role(), QAccessible::RadioButton);
    EXPECT_EQ(accessible->text(QAccessible::Name), "deutsche");
    EXPECT_TRUE(accessible->state().checked);
}

enum Look { Raised, Held, Released, CheckedUnfocused, DisabledChecked };

// (5, 1) is outline where the ring is flattened and (5, 2) ring fill there, under the dark
// shading line of a sunken ring; (3, 6) lies on the light shading line of a raised ring and
// a dark one of a sunken ring; (5, 5) lies on the dot, (6, 6) is its grey centre.
TEST_F(RadioTest, DrawsRingShadingAndDotByLook) {
    struct Row {
        Look What;
        QColor Outline, Flat, Shading, Dot, Centre, Caption = ColorToQColor(clWindowText);
    } rows[] = {
        {Raised, G(0), G(13), G(15), G(15), G(14)},
        {Held, Gr(0), Gr(4), Gr(5), Gr(6), Gr(7)}, // sunken, filled with S[7], no dot yet
        {Released, Gr(0), Gr(4), Gr(5), Gr(0), G(7)},
        {CheckedUnfocused, G(0), G(4), G(5), G(0), G(7)},
        {DisabledChecked, G(8), G(13), G(13), G(8), G(7), G(8)}, // no shading lines
    };
    TMRVRadioButton &radio = *radios[0];
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << "look " << row.What);
        if (row.What == Held) QTest::mousePress(&radio, Qt::LeftButton, {}, QPoint(5, 5));
        if (row.What == Released) QTest::mouseRelease(&radio, Qt::LeftButton, {}, QPoint(5, 5));
        if (row.What == CheckedUnfocused) radios[1]->setFocus();
        if (row.What == DisabledChecked) radio.setEnabled(false);
        EXPECT_EQ(Pixel(radio, 5, 1), row.Outline);
        EXPECT_EQ(Pixel(radio, 5, 2), row.Flat);
        EXPECT_EQ(Pixel(radio, 3, 6), row.Shading);
        EXPECT_EQ(Pixel(radio, 5, 5), row.Dot);
        EXPECT_EQ(Pixel(radio, 6, 6), row.Centre);
        EXPECT_EQ(Pixel(radio, 0, 0), Background);
        EXPECT_EQ(Pixel(radio, 16, 15), Background);
        EXPECT_EQ(InkRightOf(radio.grab().toImage(), 19, Background),
                  std::set<QRgb>{row.Caption.rgb()});
        EXPECT_EQ(radio.Checked(), row.What != Raised && row.What != Held);
    }
}

} // namespace
