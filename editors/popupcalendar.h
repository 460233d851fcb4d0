#pragma once
// The date field's drop-down calendar: a 187 x 124 window with a title strip (year and month
// step buttons round the month's name) over the month grid. The field forwards its
// navigation keys here while the window is shown.

#include "editors/calendartypes.h"
#include "editors/comboedit.h"
#include "editors/monthcalendar.h"

#include <QLabel>
#include <array>

class TPopupCalendar : public TPopupWindow {
public:
    // In this order on the strip, left to right.
    enum TStepButton { sbYearBack, sbMonthBack, sbMonthForward, sbYearForward };

    explicit TPopupCalendar(TCustomComboEdit *owner);

    TLocCalendar *CalendarGrid() const { return FGrid; }
    QLabel *MonthTitle() const { return FTitle; }
    TTimerSpeedButton *StepButton(TStepButton which) const { return FStepButtons[which]; }
    bool FourDigitYear() const { return FFourDigitYear; }
    void SetFourDigitYear(bool value) { FFourDigitYear = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Scales positions and sizes by numerator / denominator, as for a screen that is not
    // 96 pixels per inch.
    void ScaleBy(int numerator, int denominator);

    TVariant ReadValue() const override;
    // Anything that is not a date shows today.
    void WriteValue(const TVariant &value) override;

    // The keys the field forwards: Page Up/Down step a month (a year with Ctrl), the rest
    // goes to the grid.
    void KeyDown(TKeyCode &key, TShiftState shift);
    void KeyPress(QChar &key);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void UpdateTitle();
    // A step at the end of the calendar's range changes nothing and ends a held button's
    // repeat; it is no error for the user.
    void Step(void (TMonthCalendar::*move)(), TTimerSpeedButton *button);

    TColor FColor = clBtnFace;
    bool FFourDigitYear = false;
    QWidget *FPanel = nullptr;
    QWidget *FStrip = nullptr;
    TLocCalendar *FGrid = nullptr;
    QLabel *FTitle = nullptr;
    std::array<TTimerSpeedButton *, 4> FStepButtons{};
};

// A calendar window for the field, scaled for the screen's resolution.
TPopupCalendar *CreateCalendarPopup(TCustomComboEdit *owner, Qt::LayoutDirection direction);

// Configures a calendar window; other windows are left alone. A non-empty hint i (at most
// four: year back, month back, month forward, year forward) replaces that button's hint.
void ApplyCalendarSettings(TPopupWindow *window, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                           bool fourDigitYear, const QStringList &hints, TColor weekendColor);
