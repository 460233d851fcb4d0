#pragma once
// The month grid of the drop-down calendar: seven columns of weekdays under a header row of
// weekday names, six week rows of day numbers, one selected cell that is CalendarDate.
// TLocCalendar is the variant the drop-down window embeds.

#include "editors/calendartypes.h"
#include "dates/datetext.h"
#include "platform/gui/canvas.h"
#include "platform/gui/colors.h"
#include "platform/core/component.h"
#include "platform/gui/keys.h"

#include <QWidget>
#include <functional>

class TMonthCalendar : public QWidget, public TComponent {
public:
    static constexpr int ColCount = 7;
    static constexpr int RowCount = 7; // row 0 is the header
    static constexpr int GridLineWidth = 1;

    explicit TMonthCalendar(TComponent *owner, QWidget *parent = nullptr);

    TDateTime CalendarDate() const { return FCalendarDate; }
    // Raises EConvertError for a serial outside the calendar's range.
    void SetCalendarDate(TDateTime value);
    int Day() const;
    int Month() const;
    int Year() const;
    // Values below 1, a month above 12 or a day beyond the month are ignored; a year that
    // makes no date (29 February into a common year, beyond 9999) raises EConvertError.
    void SetDay(int value);
    void SetMonth(int value);
    void SetYear(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TDayOfWeekName StartOfWeek() const { return FStartOfWeek; }
    void SetStartOfWeek(TDayOfWeekName value);
    bool UseCurrentDate() const { return FUseCurrentDate; }
    void SetUseCurrentDate(bool value);
    TDaysOfWeek Weekends() const { return FWeekends; }
    void SetWeekends(TDaysOfWeek value);
    TColor WeekendColor() const { return FWeekendColor; }
    void SetWeekendColor(TColor value);

    // A step that would leave 0001-01-01 ... 9999-12-31 raises EConvertError and changes
    // nothing: a step button's repeat can stop on it; the key handling swallows it.
    void MonthForward() { StepMonth(1); }
    void MonthBack() { StepMonth(-1); }
    void YearForward() { StepYear(1); }
    void YearBack() { StepYear(-1); }

    // Key-down and key-press steps; the widget's own key events come through here too.
    virtual void KeyDown(TKeyCode &key, TShiftState shift);
    virtual void KeyPress(QChar &key);

    // Day number of column 0 in the first week row (1 or less).
    int FirstCellOffset() const { return FFirstCellOffset; }
    QString DayCellText(int col, int row) const;
    bool IsWeekendColumn(int col) const;
    int CurrentMonthLength() const;
    int SelectedCol() const { return FSelCol; }
    int SelectedRow() const { return FSelRow; }
    int ColWidth() const;
    int RowHeight() const;
    // The cell's own pixels, without the grid line after it.
    TRect CellRect(int col, int row) const;
    // A grid line belongs to the cell before it; false outside the cells.
    bool CellAt(QPoint point, int &col, int &row) const;

    TNotifyEvent OnChange;
    // Raised after the grid has handled a mouse release.
    std::function<void(QMouseEvent *event)> OnMouseUp;

protected:
    enum TGridLine : unsigned { glFixedVert = 1, glFixedHorz = 2, glVert = 4, glHorz = 8 };

    virtual void RefreshGrid() { Relayout(false); }
    virtual void DrawCell(TCanvas &canvas, int col, int row, const TRect &rect);

    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

    // Which lines the grid draws; a line direction in use takes its width between cells.
    unsigned FGridLines = glFixedVert | glFixedHorz | glVert | glHorz;
    bool FBorder = true;
    QPalette::ColorRole FFixedRole = QPalette::Button;

private:
    void Relayout(bool dayOnly);
    void Change();
    void SetParts(int year, int month, int day, bool dayOnly);
    void StepMonth(int delta);
    void StepYear(int delta);
    void StepDay(int delta);
    void MoveSelection(int dCol, int dRow);
    bool SelectCell(int col, int row) const;
    void Select(int col, int row);
    void Click();
    // A screen reader hears each move of the selection while the grid is shown.
    void AnnounceSelection();
    int LineWidth(unsigned lines) const { return FGridLines & lines ? GridLineWidth : 0; }

    TDateTime FCalendarDate;
    int FFirstCellOffset = 1;
    bool FReadOnly = false;
    TDayOfWeekName FStartOfWeek = TDayOfWeekName::Mon;
    bool FRelayouting = false;
    bool FUseCurrentDate = true;
    TDaysOfWeek FWeekends = DayBit(TDayOfWeekName::Sun);
    TColor FWeekendColor = clRed;
    int FSelCol = 0, FSelRow = 1;
    // A left press on a day row: moves drag the selection, the release clicks.
    bool FSelecting = false;
};

// The grid inside the drop-down window: never takes the keyboard focus, drawn in its parent's
// colour without border, with only the line under the header, and today's cell framed.
class TLocCalendar : public TMonthCalendar {
public:
    explicit TLocCalendar(TComponent *owner, QWidget *parent = nullptr);

protected:
    void DrawCell(TCanvas &canvas, int col, int row, const TRect &rect) override;
};
