// The calendar window: its layout and colours by pixel, the title, the keys the field
// forwards, the step buttons with their auto-repeat (driven tick by tick), the ends of the
// calendar's range, and what WriteValue makes of values that are no date.

#include "editors/popupcalendar.h"

#include "editors/dateedit.h"
#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TDateTime Date(int y, int m, int d) {
    return MakeDateSerial(y, m, d);
}

class PopupCalendar : public ::testing::Test {
public:
    PopupCalendar() : field(nullptr), popup(*field.Calendar()) {
        field.SetPopupColor(11587536);
        popup.WriteValue(TVariant::FromDateTime(Date(2005, 5, 2)));
        popup.move(50, 50);
        popup.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&popup));
    }

    TLocCalendar *Grid() const { return popup.CalendarGrid(); }
    TTimerSpeedButton *Button(TPopupCalendar::TStepButton which) const {
        return popup.StepButton(which);
    }

    GermanLocale de;
    PinnedClock clock;
    RecordingDesktop desktop;
    TDateEdit field;
    TPopupCalendar &popup;
};

TEST_F(PopupCalendar, LayoutOfTheWindow) {
    EXPECT_EQ(popup.size(), QSize(187, 124));
    const QWidget *strip = Button(TPopupCalendar::sbYearBack)->parentWidget();
    EXPECT_EQ(strip->mapTo(&popup, QPoint(0, 0)), QPoint(2, 2));
    EXPECT_EQ(strip->size(), QSize(183, 18));
    EXPECT_EQ(Grid()->mapTo(&popup, QPoint(0, 0)), QPoint(2, 20));
    EXPECT_EQ(Grid()->size(), QSize(183, 102));
    struct Row {
        TPopupCalendar::TStepButton which;
        QRect bounds;
        const char *hint;
    } rows[] = {
        {TPopupCalendar::sbYearBack, {-1, -1, 14, 14}, "Previous Year"},
        {TPopupCalendar::sbMonthBack, {12, -1, 14, 14}, "Previous Month"},
        {TPopupCalendar::sbMonthForward, {157, -1, 14, 14}, "Next Month"},
        {TPopupCalendar::sbYearForward, {170, -1, 14, 14}, "Next Year"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(Button(row.which)->geometry(), row.bounds) << row.hint;
        EXPECT_EQ(Button(row.which)->toolTip(), row.hint);
        EXPECT_EQ(Button(row.which)->Glyph().Size(), QSize(8, 6)) << row.hint;
        EXPECT_EQ(Button(row.which)->Style(), TButtonStyle::bsWin31);
    }
    EXPECT_EQ(popup.MonthTitle()->geometry(), QRect(29, 1, 125, 14));
    EXPECT_EQ(popup.MonthTitle()->text(), "Mai, 2005");
}

TEST_F(PopupCalendar, FrameBevelAndColourByPixel) {
    const QImage image = popup.grab().toImage();
    const QColor face(208, 207, 176); // PopupColor 11587536
    EXPECT_EQ(image.pixel(0, 0), ColorToQColor(clWindowFrame).rgb());
    EXPECT_EQ(image.pixel(186, 123), ColorToQColor(clWindowFrame).rgb());
    EXPECT_EQ(image.pixel(1, 60), ColorToQColor(clBtnHighlight).rgb()); // raised bevel
    EXPECT_EQ(image.pixel(185, 60), ColorToQColor(clBtnShadow).rgb());
    EXPECT_EQ(image.pixel(2, 121), face.rgb()); // the grid's ground
    EXPECT_EQ(image.pixel(90, 3), face.rgb());  // the strip
}

TEST_F(PopupCalendar, ForwardedKeys) {
    struct Row {
        TDateTime from;
        TKeyCode key;
        TShiftState shift;
        TDateTime to;
    } rows[] = {
        {Date(2005, 1, 31), VK_NEXT, 0, Date(2005, 2, 28)},
        {Date(2004, 2, 29), VK_PRIOR, ssCtrl, Date(2003, 2, 28)},
        {Date(2004, 2, 29), VK_NEXT, ssCtrl, Date(2005, 2, 28)},
        {Date(2005, 3, 31), VK_PRIOR, 0, Date(2005, 2, 28)},
        {Date(2005, 3, 1), VK_LEFT, 0, Date(2005, 2, 28)},
        {Date(2005, 5, 2), VK_DOWN, ssAlt, Date(2005, 5, 9)},
        {Date(9999, 12, 31), VK_NEXT, 0, Date(9999, 12, 31)}, // the end: no step, no error
        {Date(9999, 6, 30), VK_NEXT, ssCtrl, Date(9999, 6, 30)},
        {Date(1, 1, 1), VK_PRIOR, 0, Date(1, 1, 1)},
    };
    for (const Row &row : rows) {
        Grid()->SetCalendarDate(row.from);
        TKeyCode key = row.key;
        popup.KeyDown(key, row.shift);
        EXPECT_EQ(Grid()->CalendarDate(), row.to) << row.from << " key " << row.key;
        EXPECT_EQ(key, 0);
    }
    EXPECT_TRUE(desktop.errors.isEmpty());
    Grid()->SetCalendarDate(Date(2005, 6, 1));
    EXPECT_EQ(popup.MonthTitle()->text(), "Juni, 2005");
    QChar t = u't';
    popup.KeyPress(t);
    EXPECT_EQ(Grid()->CalendarDate(), Date(2005, 5, 2));
}

TEST_F(PopupCalendar, DoubleClickOnTheTitleShowsToday) {
    Grid()->SetCalendarDate(Date(1999, 8, 17));
    QTest::mouseDClick(popup.MonthTitle(), Qt::LeftButton);
    EXPECT_EQ(Grid()->CalendarDate(), Date(2005, 5, 2));
    EXPECT_EQ(popup.MonthTitle()->text(), "Mai, 2005");
    EXPECT_TRUE(popup.isVisible());
}

TEST_F(PopupCalendar, WriteValueShowsTodayForWhatIsNoDate) {
    const TVariant values[] = {
        TVariant(), TVariant(QString()), TVariant(QStringLiteral("  .  .  ")),
        TVariant(QStringLiteral("Quatsch")), TVariant::FromDateTime(99999999.0)};
    for (const TVariant &value : values) {
        Grid()->SetCalendarDate(Date(1999, 8, 17));
        popup.WriteValue(value);
        EXPECT_EQ(Grid()->CalendarDate(), Date(2005, 5, 2)) << value.VarType();
    }
    popup.WriteValue(TVariant(QStringLiteral("17.08.1999")));
    EXPECT_EQ(Grid()->CalendarDate(), Date(1999, 8, 17));
    EXPECT_EQ(popup.ReadValue().AsDateTime(), Date(1999, 8, 17));
}

TEST_F(PopupCalendar, HeldStepButtonRepeats) {
    TTimerSpeedButton *next = Button(TPopupCalendar::sbMonthForward);
    QTest::mousePress(next, Qt::LeftButton);
    EXPECT_TRUE(next->Pressed());
    EXPECT_EQ(Grid()->Month(), 5); // the press itself does not step
    ASSERT_TRUE(next->RepeatTimer());
    EXPECT_TRUE(next->RepeatTimer()->isActive());
    EXPECT_EQ(next->RepeatTimer()->interval(), 500);
    next->RepeatTick(); // after 500 ms
    EXPECT_EQ(next->RepeatTimer()->interval(), 100);
    next->RepeatTick();
    next->RepeatTick();
    EXPECT_EQ(Grid()->Month(), 8);
    QTest::mouseMove(next, QPoint(40, 40)); // off the button: raised, ticks idle
    EXPECT_FALSE(next->Pressed());
    next->RepeatTick();
    EXPECT_EQ(Grid()->Month(), 8);
    QTest::mouseMove(next, QPoint(5, 5));
    EXPECT_TRUE(next->Pressed());
    next->RepeatTick();
    QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(5, 5)); // one more on release
    EXPECT_EQ(Grid()->Month(), 10);
    EXPECT_FALSE(next->Pressed());
    EXPECT_FALSE(next->RepeatTimer()->isActive());
    EXPECT_EQ(popup.MonthTitle()->text(), "Oktober, 2005");
}

TEST_F(PopupCalendar, RepeatStopsQuietlyAtTheEndOfTheCalendar) {
    Grid()->SetCalendarDate(Date(9998, 6, 30));
    TTimerSpeedButton *next = Button(TPopupCalendar::sbYearForward);
    QTest::mousePress(next, Qt::LeftButton);
    next->RepeatTick();
    EXPECT_EQ(Grid()->CalendarDate(), Date(9999, 6, 30));
    EXPECT_TRUE(next->RepeatTimer()->isActive());
    next->RepeatTick();
    EXPECT_EQ(Grid()->CalendarDate(), Date(9999, 6, 30));
    EXPECT_FALSE(next->RepeatTimer()->isActive());
    QTest::mouseRelease(next, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Grid()->CalendarDate(), Date(9999, 6, 30));
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(PopupCalendar, SettingsAndScaling) {
    ApplyCalendarSettings(&popup, TDayOfWeekName::Sun, DayBit(TDayOfWeekName::Sat), true,
                          {QStringLiteral("Jahr zurück|mehr"), QString(), QStringLiteral("vor")},
                          clBlue);
    EXPECT_EQ(Grid()->StartOfWeek(), TDayOfWeekName::Sun);
    EXPECT_EQ(Grid()->Weekends(), DayBit(TDayOfWeekName::Sat));
    EXPECT_EQ(Grid()->WeekendColor(), clBlue);
    EXPECT_TRUE(popup.FourDigitYear());
    EXPECT_EQ(Button(TPopupCalendar::sbYearBack)->toolTip(), "Jahr zurück");
    EXPECT_EQ(Button(TPopupCalendar::sbMonthBack)->toolTip(), "Previous Month");
    EXPECT_EQ(Button(TPopupCalendar::sbMonthForward)->toolTip(), "vor");
    popup.ScaleBy(120, 96);
    EXPECT_EQ(popup.size(), QSize(234, 155));
    EXPECT_EQ(Button(TPopupCalendar::sbMonthBack)->geometry(), QRect(15, -1, 18, 18));
}

} // namespace
