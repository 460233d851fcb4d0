// The month grid under German settings and a clock pinned to 2 May 2005: the layout of a
// month, stepping by keys and by the step operations, the mouse, and the drawn colours.

#include "editors/monthcalendar.h"
#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TDateTime D(int year, int month, int day) {
    return MakeDateSerial(year, month, day);
}

std::string Text(TDateTime date) {
    return FormatDate(QStringLiteral("DD/MM/YYYY"), date).toStdString();
}

// The selection stands on CalendarDate's day.
void ExpectSelectionOnDay(const TMonthCalendar &grid) {
    const int index = grid.Day() - grid.FirstCellOffset();
    EXPECT_EQ(grid.SelectedCol(), index % 7);
    EXPECT_EQ(grid.SelectedRow(), index / 7 + 1);
}

class MonthCalendarTest : public ::testing::Test {
protected:
    GermanLocale de;
    PinnedClock clock; // 2 May 2005
};

TEST_F(MonthCalendarTest, LaysOutTheMonthByTheStartOfTheWeek) {
    const struct {
        TDateTime Date;
        TDayOfWeekName StartOfWeek;
        int Offset, FirstCol, LastCol, LastRow;
        const char *Header0, *Header6;
        int WeekendCol;
    } rows[] = {
        // 1 May 2005 is a Sunday: alone at the end of row 1.
        {D(2005, 5, 2), TDayOfWeekName::Mon, -5, 6, 1, 6, "Mo", "So", 6},
        {D(2005, 5, 31), TDayOfWeekName::Sun, 1, 0, 2, 5, "So", "Sa", 0},
        // February 2010 starts on a Monday and fills rows 1 to 4 exactly.
        {D(2010, 2, 28), TDayOfWeekName::Mon, 1, 0, 6, 4, "Mo", "So", 6},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(Text(row.Date));
        TMonthCalendar grid(nullptr);
        grid.SetStartOfWeek(row.StartOfWeek);
        grid.SetCalendarDate(row.Date);
        EXPECT_EQ(grid.FirstCellOffset(), row.Offset);
        EXPECT_EQ(grid.DayCellText(0, 0), row.Header0);
        EXPECT_EQ(grid.DayCellText(6, 0), row.Header6);
        EXPECT_EQ(grid.DayCellText(row.FirstCol, 1), "1");
        EXPECT_EQ(grid.DayCellText(row.FirstCol - 1, 1), ""); // none before the 1st
        EXPECT_EQ(grid.DayCellText(row.LastCol, row.LastRow).toInt(), grid.CurrentMonthLength());
        const int after = row.LastCol + 1 + (row.LastRow - 1) * 7;
        EXPECT_EQ(grid.DayCellText(after % 7, after / 7 + 1), "");
        ExpectSelectionOnDay(grid);
        for (int col = 0; col < TMonthCalendar::ColCount; ++col)
            EXPECT_EQ(grid.IsWeekendColumn(col), col == row.WeekendCol) << col;
    }
}

TEST_F(MonthCalendarTest, KeysStepAcrossMonthEndsButMoveTheSelectionOnlyWithinTheMonth) {
    const Qt::KeyboardModifiers none, pad = Qt::KeypadModifier, shift = Qt::ShiftModifier,
                                      alt = Qt::AltModifier, ctrl = Qt::ControlModifier;
    const struct {
        TDateTime From;
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        TDateTime To;
    } rows[] = {
        {D(2005, 3, 1), Qt::Key_Left, none, D(2005, 2, 28)},
        {D(2004, 2, 28), Qt::Key_Right, none, D(2004, 2, 29)},
        {D(2004, 2, 29), Qt::Key_Right, none, D(2004, 3, 1)},
        {D(2004, 12, 31), Qt::Key_Plus, pad, D(2005, 1, 1)},
        {D(2005, 5, 2), Qt::Key_Minus, pad, D(2005, 5, 1)},
        {D(2005, 5, 2), Qt::Key_Minus, none, D(2005, 5, 2)}, // the main keyboard's minus
        {D(2005, 5, 10), Qt::Key_Up, none, D(2005, 5, 3)},
        {D(2005, 5, 24), Qt::Key_Down, shift, D(2005, 5, 31)},
        {D(2005, 5, 2), Qt::Key_Down, alt, D(2005, 5, 9)},
        {D(2005, 5, 2), Qt::Key_Right, alt, D(2005, 5, 3)},
        // the grid's edges: header and empty cells, the last row, no wrapping; Ctrl nothing
        {D(2005, 5, 1), Qt::Key_Up, none, D(2005, 5, 1)},
        {D(2005, 5, 2), Qt::Key_Up, none, D(2005, 5, 2)},
        {D(2005, 5, 31), Qt::Key_Down, none, D(2005, 5, 31)},
        {D(2005, 5, 8), Qt::Key_Right, shift, D(2005, 5, 8)},
        {D(2005, 5, 9), Qt::Key_Left, alt, D(2005, 5, 9)},
        {D(2005, 5, 2), Qt::Key_Left, ctrl, D(2005, 5, 2)},
        // the ends of the calendar
        {D(1, 1, 1), Qt::Key_Left, none, D(1, 1, 1)},
        {D(9999, 12, 31), Qt::Key_Right, none, D(9999, 12, 31)},
    };
    TMonthCalendar grid(nullptr);
    grid.resize(220, 150);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    for (const auto &row : rows) {
        SCOPED_TRACE(Text(row.From) + " key " + std::to_string(row.Key) + " modifiers " +
                     std::to_string(row.Modifiers.toInt()));
        grid.SetCalendarDate(row.From);
        QTest::keyClick(&grid, row.Key, row.Modifiers);
        EXPECT_EQ(Text(grid.CalendarDate()), Text(row.To));
        ExpectSelectionOnDay(grid);
    }
}

TEST_F(MonthCalendarTest, TJumpsToTodayAndIsConsumed) {
    TMonthCalendar grid(nullptr);
    int changes = 0;
    grid.OnChange = [&](TObject *) { ++changes; };
    for (const char typed : {'T', 't'}) {
        grid.SetCalendarDate(D(2010, 10, 10));
        QTest::keyClick(&grid, typed);
        EXPECT_EQ(grid.CalendarDate(), D(2005, 5, 2));
    }
    EXPECT_EQ(changes, 4);
    QChar key = u't';
    grid.KeyPress(key);
    EXPECT_TRUE(key.isNull());
}

TEST_F(MonthCalendarTest, MonthAndYearStepsKeepTheDayWhereTheMonthHasItAndStopAtTheEnds) {
    using Step = void (TMonthCalendar::*)();
    const Step monthForward = &TMonthCalendar::MonthForward, monthBack = &TMonthCalendar::MonthBack,
               yearForward = &TMonthCalendar::YearForward, yearBack = &TMonthCalendar::YearBack;
    const struct {
        TDateTime From;
        Step Op;
        TDateTime To; // the same date: the step raises and changes nothing
    } rows[] = {
        {D(2005, 1, 31), monthForward, D(2005, 2, 28)},
        {D(2004, 3, 31), monthBack, D(2004, 2, 29)},
        {D(2005, 1, 15), monthBack, D(2004, 12, 15)},
        {D(2004, 2, 29), yearBack, D(2003, 2, 28)},
        {D(2004, 2, 29), yearForward, D(2005, 2, 28)},
        {D(9999, 12, 1), monthForward, D(9999, 12, 1)},
        {D(9999, 3, 15), yearForward, D(9999, 3, 15)},
        {D(1, 1, 31), monthBack, D(1, 1, 31)},
        {D(1, 6, 5), yearBack, D(1, 6, 5)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(Text(row.From) + " to " + Text(row.To));
        TMonthCalendar grid(nullptr);
        grid.SetCalendarDate(row.From);
        int changes = 0;
        grid.OnChange = [&](TObject *) { ++changes; };
        try {
            (grid.*row.Op)();
            EXPECT_NE(row.To, row.From) << "no error";
        } catch (const EConvertError &e) {
            EXPECT_EQ(row.To, row.From) << "error";
            EXPECT_EQ(e.Message(), QStringLiteral("Ungültiges Argument zum Codieren des Datums"));
            EXPECT_EQ(changes, 0);
        }
        EXPECT_EQ(Text(grid.CalendarDate()), Text(row.To));
    }
}

TEST_F(MonthCalendarTest, PartWritesClampOrIgnoreAndFireOnlyOnAChange) {
    TMonthCalendar grid(nullptr);
    int changes = 0;
    grid.OnChange = [&](TObject *) { ++changes; };
    grid.SetCalendarDate(D(2005, 3, 31)); // a date write keeps UseCurrentDate
    EXPECT_TRUE(grid.UseCurrentDate());
    grid.SetMonth(2);
    EXPECT_EQ(Text(grid.CalendarDate()), "28.02.2005");
    EXPECT_FALSE(grid.UseCurrentDate());
    EXPECT_EQ(changes, 2);

    grid.SetMonth(2);                                        // unchanged
    grid.SetMonth(13);                                       // no such month
    grid.SetDay(29);                                         // beyond February 2005
    grid.SetYear(0);                                         // below 1
    EXPECT_THROW(grid.SetYear(65536 + 2006), EConvertError); // would wrap round to 2006
    EXPECT_THROW(grid.SetCalendarDate(MaxDateSerial + 1), EConvertError);
    EXPECT_EQ(Text(grid.CalendarDate()), "28.02.2005");

    grid.SetUseCurrentDate(true); // today, without OnChange
    EXPECT_EQ(grid.CalendarDate(), D(2005, 5, 2));
    EXPECT_EQ(changes, 2);
}

// The drop-down's grid, 183 x 102 as in the window, on a parent in the main window's colour.
class LocCalendarTest : public MonthCalendarTest {
protected:
    LocCalendarTest() : grid(nullptr, &window) {
        window.resize(183, 102);
        grid.setGeometry(0, 0, 183, 102);
        grid.OnChange = [this](TObject *) { ++changes; };
        grid.OnMouseUp = [this](QMouseEvent *) { ++mouseUps; };
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QPalette palette = window.palette(); // set after creation: the grid follows
        palette.setColor(QPalette::Window, ColorToQColor(11587536));
        window.setPalette(palette);
    }
    QPoint Centre(int col, int row) const { return grid.CellRect(col, row).ToQRect().center(); }
    void Grab() { image = grid.grab().toImage(); }
    QRgb At(int x, int y) const { return image.pixel(x, y); }
    int Count(int col, int row, const std::function<bool(QRgb)> &test) const {
        const QRect cell = grid.CellRect(col, row).ToQRect();
        int n = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                n += test(image.pixel(x, y));
        return n;
    }
    int Exact(int col, int row, QRgb color) const {
        return Count(col, row, [color](QRgb c) { return c == color; });
    }
    // Round glyphs such as "So" have no pixel of the exact colour, only red-tinted ones.
    int Reddish(int col, int row) const {
        return Count(col, row,
                     [](QRgb c) { return qRed(c) - std::max(qGreen(c), qBlue(c)) > 100; });
    }

    QWidget window;
    TLocCalendar grid;
    int changes = 0, mouseUps = 0;
    QImage image;
    const QRgb face = ColorToQColor(11587536).rgb(), red = qRgb(255, 0, 0);
};

TEST_F(LocCalendarTest, OnlyDayCellsAreSelectedByTheMouse) {
    EXPECT_EQ(grid.CalendarDate(), D(2005, 5, 2));
    EXPECT_FALSE(grid.UseCurrentDate());
    EXPECT_EQ(grid.focusPolicy(), Qt::NoFocus);
    const struct {
        const char *Name;
        int Col, Row, DragCol, DragRow;
        bool ReadOnly;
        TDateTime To;
    } rows[] = {
        {"day", 2, 4, 2, 4, false, D(2005, 5, 18)},
        {"header", 2, 0, 2, 0, false, D(2005, 5, 2)},
        {"empty before the 1st", 3, 1, 3, 1, false, D(2005, 5, 2)},
        {"empty after the 31st", 4, 6, 4, 6, false, D(2005, 5, 2)},
        {"day, read-only", 2, 4, 2, 4, true, D(2005, 5, 2)},
        {"day dragged onto an empty cell", 1, 6, 2, 6, false, D(2005, 5, 31)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.Name);
        grid.SetCalendarDate(D(2005, 5, 2));
        grid.SetReadOnly(row.ReadOnly);
        changes = mouseUps = 0;
        QTest::mousePress(&grid, Qt::LeftButton, {}, Centre(row.Col, row.Row));
        QTest::mouseMove(&grid, Centre(row.DragCol, row.DragRow));
        QTest::mouseRelease(&grid, Qt::LeftButton, {}, Centre(row.DragCol, row.DragRow));
        EXPECT_EQ(Text(grid.CalendarDate()), Text(row.To));
        EXPECT_EQ(changes, row.To == D(2005, 5, 2) ? 0 : 1);
        EXPECT_EQ(mouseUps, 1);
        ExpectSelectionOnDay(grid);
    }
}

TEST_F(LocCalendarTest, SundayColumnIsRedExceptTheSelectedCellAndOnlyTheHeaderIsLined) {
    grid.SetCalendarDate(D(2005, 5, 8)); // a Sunday
    Grab();
    EXPECT_EQ(At(grid.CellRect(6, 0).Left, 0), face); // the header takes the parent's colour
    EXPECT_EQ(At(grid.CellRect(0, 3).Left, grid.CellRect(0, 3).Top), face);
    EXPECT_GT(Reddish(6, 0), 0);    // "So"
    EXPECT_GT(Exact(6, 1, red), 0); // 1
    EXPECT_GT(Exact(6, 3, red), 0); // 15
    EXPECT_EQ(Reddish(6, 2), 0);    // 8, selected
    EXPECT_EQ(At(grid.CellRect(6, 2).Left, grid.CellRect(6, 2).Top),
              ColorToQColor(clHighlight).rgb());
    EXPECT_EQ(Reddish(0, 0), 0); // "Mo"
    EXPECT_EQ(Reddish(5, 3), 0); // 14, a Saturday

    const int pitch = grid.RowHeight() + 1;
    EXPECT_EQ(At(40, pitch - 1), qRgb(0, 0, 0));
    EXPECT_EQ(At(40, 2 * pitch - 1), face);
    EXPECT_EQ(At(grid.ColWidth(), 3 * pitch + 1), face); // none between the columns

    grid.SetWeekendColor(clBlue);
    Grab();
    EXPECT_GT(Exact(6, 3, qRgb(0, 0, 255)), 0);
}

TEST_F(LocCalendarTest, TodaysCellIsSunkenWhileItsMonthIsShown) {
    grid.SetCalendarDate(D(2005, 5, 17)); // today, the 2nd, stands in column 0 of row 2
    const TRect today = grid.CellRect(0, 2);
    const QRgb shadow = ColorToQColor(clBtnShadow).rgb(),
               light = ColorToQColor(clBtnHighlight).rgb();
    Grab();
    EXPECT_EQ(At(today.Left + 5, today.Top), shadow);
    EXPECT_EQ(At(today.Left, today.Top + 5), shadow);
    EXPECT_EQ(At(today.Left + 5, today.Bottom - 1), light);
    EXPECT_EQ(At(today.Right - 1, today.Top + 5), light);
    EXPECT_EQ(At(today.Left + 1, today.Top + 1), face);

    grid.SetCalendarDate(D(2005, 6, 17)); // June: neither the 2nd nor the old cell is framed
    Grab();
    ASSERT_EQ(grid.DayCellText(3, 1), "2");
    for (const TRect &cell : {grid.CellRect(3, 1), today})
        EXPECT_EQ(At(cell.Left + 5, cell.Top), face);
}

} // namespace
