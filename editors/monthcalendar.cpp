#include "editors/monthcalendar.h"

#include "editors/accessible.h"
#include "editors/edge_p.h"
#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <algorithm>

namespace {

struct TDateParts {
    int Year, Month, Day;
};

TDateParts PartsOf(TDateTime date) {
    quint16 y, m, d;
    SplitDateSerial(date, y, m, d);
    return {y, m, d};
}

// A year beyond 16 bits must not wrap round to a valid one; 0 is refused like 10000.
quint16 YearPart(int year) {
    return year <= 0xFFFF ? quint16(year) : 0;
}

} // namespace

TMonthCalendar::TMonthCalendar(TComponent *owner, QWidget *parent)
    : QWidget(parent), TComponent(owner), FCalendarDate(CurrentDateSerial()) {
    InstallEditorAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setContentsMargins(1, 1, 1, 1); // the thin border
    RefreshGrid();
}

int TMonthCalendar::Day() const {
    return PartsOf(FCalendarDate).Day;
}

int TMonthCalendar::Month() const {
    return PartsOf(FCalendarDate).Month;
}

int TMonthCalendar::Year() const {
    return PartsOf(FCalendarDate).Year;
}

int TMonthCalendar::CurrentMonthLength() const {
    const TDateParts p = PartsOf(FCalendarDate);
    return MonthLength(p.Year, p.Month);
}

void TMonthCalendar::SetCalendarDate(TDateTime value) {
    if (value == FCalendarDate) return;
    // A serial outside the range splits into 0.0.0, which MakeDateSerial refuses.
    const TDateParts p = PartsOf(value);
    MakeDateSerial(p.Year, p.Month, p.Day);
    FCalendarDate = value;
    RefreshGrid();
    Change();
}

void TMonthCalendar::SetParts(int year, int month, int day, bool dayOnly) {
    FCalendarDate = MakeDateSerial(YearPart(year), month, day);
    FUseCurrentDate = false;
    Relayout(dayOnly);
    Change();
}

void TMonthCalendar::SetYear(int value) {
    const TDateParts p = PartsOf(FCalendarDate);
    if (value < 1 || value == p.Year) return;
    SetParts(value, p.Month, p.Day, false);
}

void TMonthCalendar::SetMonth(int value) {
    const TDateParts p = PartsOf(FCalendarDate);
    if (value < 1 || value > 12 || value == p.Month) return;
    SetParts(p.Year, value, std::min(p.Day, MonthLength(p.Year, value)), false);
}

void TMonthCalendar::SetDay(int value) {
    const TDateParts p = PartsOf(FCalendarDate);
    if (value < 1 || value > CurrentMonthLength() || value == p.Day) return;
    SetParts(p.Year, p.Month, value, true);
}

void TMonthCalendar::SetStartOfWeek(TDayOfWeekName value) {
    if (value == FStartOfWeek) return;
    FStartOfWeek = value;
    RefreshGrid();
}

void TMonthCalendar::SetWeekends(TDaysOfWeek value) {
    if (value == FWeekends) return;
    FWeekends = value;
    RefreshGrid();
}

void TMonthCalendar::SetWeekendColor(TColor value) {
    if (value == FWeekendColor) return;
    FWeekendColor = value;
    update();
}

void TMonthCalendar::SetUseCurrentDate(bool value) {
    if (value == FUseCurrentDate) return;
    FUseCurrentDate = value;
    if (!value) return;
    FCalendarDate = CurrentDateSerial();
    RefreshGrid();
}

void TMonthCalendar::Change() {
    if (OnChange) OnChange(this);
}

// The selection follows the date; the first of the month never stands in column 0 of a row
// of its own, so a month starting on the last weekday begins in row 1, column 6.
void TMonthCalendar::Relayout(bool dayOnly) {
    const QScopedValueRollback relayouting(FRelayouting, true);
    const TDateParts p = PartsOf(FCalendarDate);
    const int a = (WeekdayNumber(FCalendarDate - p.Day + 1) - int(FStartOfWeek) + 7) % 7;
    FFirstCellOffset = a == 0 ? -5 : 2 - a;
    const int index = p.Day - FFirstCellOffset;
    if (dayOnly) {
        Select(index % ColCount, index / ColCount + 1);
    } else {
        FSelCol = index % ColCount;
        FSelRow = index / ColCount + 1;
        update();
        AnnounceSelection();
    }
}

void TMonthCalendar::StepMonth(int delta) {
    const TDateParts p = PartsOf(FCalendarDate);
    int year = p.Year, month = p.Month + delta;
    if (month > 12) {
        month = 1;
        ++year;
    } else if (month < 1) {
        month = 12;
        --year;
    }
    SetCalendarDate(
        MakeDateSerial(quint16(year), month, std::min(p.Day, MonthLength(year, month))));
}

void TMonthCalendar::StepYear(int delta) {
    const TDateParts p = PartsOf(FCalendarDate);
    const bool leapDay = p.Month == 2 && p.Day == 29;
    // Refused before the leap day moves, so a failed step changes nothing.
    MakeDateSerial(quint16(p.Year + delta), p.Month, leapDay ? 28 : p.Day);
    if (leapDay) SetDay(28);
    SetYear(p.Year + delta);
}

void TMonthCalendar::StepDay(int delta) {
    try {
        const int target = Day() + delta;
        if (target >= 1 && target <= CurrentMonthLength())
            SetDay(target);
        else
            SetCalendarDate(FCalendarDate + delta);
    } catch (const EConvertError &) {
        // beyond the first or last day the calendar knows: stay
    }
}

QString TMonthCalendar::DayCellText(int col, int row) const {
    if (col < 0 || col >= ColCount || row < 0 || row >= RowCount) return {};
    if (row == 0) {
        QString name = FormatSettings().ShortDayNames[(int(FStartOfWeek) + col) % 7];
        if (name.endsWith(u'.')) name.chop(1);
        return name;
    }
    const int n = FFirstCellOffset + col + (row - 1) * ColCount;
    return n >= 1 && n <= CurrentMonthLength() ? QString::number(n) : QString();
}

bool TMonthCalendar::IsWeekendColumn(int col) const {
    if (col < 0 || col >= ColCount) return false;
    return FWeekends & DayBit(TDayOfWeekName((col + int(FStartOfWeek)) % 7));
}

int TMonthCalendar::ColWidth() const {
    const int lines = LineWidth(glFixedVert | glVert) ? 6 * GridLineWidth : 0;
    return std::max(0, (contentsRect().width() - lines) / ColCount);
}

int TMonthCalendar::RowHeight() const {
    return std::max(0, (contentsRect().height() - 6 * GridLineWidth) / RowCount);
}

TRect TMonthCalendar::CellRect(int col, int row) const {
    const QRect area = contentsRect();
    const int x = area.left() + col * (ColWidth() + LineWidth(glFixedVert | glVert));
    const int y = area.top() + row * (RowHeight() + LineWidth(glFixedHorz | glHorz));
    return {x, y, x + ColWidth(), y + RowHeight()};
}

bool TMonthCalendar::CellAt(QPoint point, int &col, int &row) const {
    const QPoint at = point - contentsRect().topLeft();
    const int pitchX = ColWidth() + LineWidth(glFixedVert | glVert);
    const int pitchY = RowHeight() + LineWidth(glFixedHorz | glHorz);
    if (at.x() < 0 || at.y() < 0 || pitchX == 0 || pitchY == 0) return false;
    col = at.x() / pitchX;
    row = at.y() / pitchY;
    return col < ColCount && row < RowCount;
}

bool TMonthCalendar::SelectCell(int col, int row) const {
    return !DayCellText(col, row).isEmpty() && (!FReadOnly || FRelayouting);
}

void TMonthCalendar::Select(int col, int row) {
    if (col == FSelCol && row == FSelRow) return;
    update(CellRect(FSelCol, FSelRow).ToQRect());
    FSelCol = col;
    FSelRow = row;
    update(CellRect(col, row).ToQRect());
    AnnounceSelection();
}

// Cells are made for a listening screen reader only. A hidden grid has nothing to tell; a
// shown one tells its selection when it comes up.
void TMonthCalendar::AnnounceSelection() {
    if (QAccessible::isActive() && isVisible()) AnnounceCalendarSelection(*this);
}

// The grid's own moves stay inside the displayed month's days: no wrapping, no header.
void TMonthCalendar::MoveSelection(int dCol, int dRow) {
    const int col = FSelCol + dCol, row = FSelRow + dRow;
    if (col < 0 || col >= ColCount || row < 1 || row >= RowCount || !SelectCell(col, row)) return;
    Select(col, row);
    Click();
}

void TMonthCalendar::Click() {
    const QString text = DayCellText(FSelCol, FSelRow);
    if (!text.isEmpty()) SetDay(text.toInt());
}

void TMonthCalendar::KeyDown(TKeyCode &key, TShiftState shift) {
    const bool arrow = key >= VK_LEFT && key <= VK_DOWN;
    if (arrow && (shift & ssCtrl)) {
        key = 0;
        return;
    }
    const bool left = key == VK_LEFT || key == VK_SUBTRACT;
    const bool right = key == VK_RIGHT || key == VK_ADD;
    if ((left || right) && shift == 0) {
        StepDay(left ? -1 : 1);
    } else if (key == VK_UP || key == VK_DOWN) {
        MoveSelection(0, key == VK_UP ? -1 : 1);
    } else if ((key == VK_LEFT || key == VK_RIGHT) && (shift & (ssShift | ssAlt))) {
        MoveSelection(key == VK_LEFT ? -1 : 1, 0);
    } else {
        return;
    }
    key = 0;
}

void TMonthCalendar::KeyPress(QChar &key) {
    if (key != u'T' && key != u't') return;
    SetCalendarDate(CurrentDateSerial());
    key = QChar();
}

void TMonthCalendar::keyPressEvent(QKeyEvent *event) {
    DispatchKey(
        event, [this](TKeyCode &key, TShiftState shift) { KeyDown(key, shift); },
        [this](QChar &key) { KeyPress(key); },
        [this](QKeyEvent *native) { QWidget::keyPressEvent(native); });
}

// Qt grabs the pointer for the pressed widget until the release, as the platform's capture
// does; a press on the header starts no selection and its release clicks nothing.
void TMonthCalendar::mousePressEvent(QMouseEvent *event) {
    int col, row;
    if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), col, row) ||
        row == 0)
        return;
    FSelecting = true;
    if (SelectCell(col, row)) Select(col, row);
}

void TMonthCalendar::mouseMoveEvent(QMouseEvent *event) {
    int col, row;
    if (FSelecting && CellAt(event->position().toPoint(), col, row) && row > 0 &&
        SelectCell(col, row))
        Select(col, row);
}

void TMonthCalendar::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && FSelecting) {
        mouseMoveEvent(event);
        FSelecting = false;
        Click();
    }
    if (OnMouseUp) OnMouseUp(event);
}

void TMonthCalendar::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    AnnounceSelection();
}

void TMonthCalendar::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.Font = font();
    canvas.Brush.Color = palette().color(backgroundRole());
    canvas.FillRect({0, 0, width(), height()});
    if (FBorder) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Pen.Color = ColorToQColor(clWindowFrame);
        canvas.Rectangle(0, 0, width(), height());
        canvas.Brush.Style = TBrushStyle::bsSolid;
    }
    const int vLine = LineWidth(glFixedVert | glVert), hLine = LineWidth(glFixedHorz | glHorz);
    for (int row = 0; row < RowCount; ++row) {
        const bool fixed = row == 0;
        for (int col = 0; col < ColCount; ++col) {
            const TRect cell = CellRect(col, row);
            DrawCell(canvas, col, row, cell);
            canvas.Brush.Style = TBrushStyle::bsSolid;
            canvas.Brush.Color = ColorToQColor(fixed ? clBlack : clSilver);
            if (FGridLines & (fixed ? glFixedVert : glVert))
                canvas.FillRect({cell.Right, cell.Top, cell.Right + vLine, cell.Bottom + hLine});
            if (FGridLines & (fixed ? glFixedHorz : glHorz))
                canvas.FillRect({cell.Left, cell.Bottom, cell.Right + vLine, cell.Bottom + hLine});
        }
    }
}

void TMonthCalendar::DrawCell(TCanvas &canvas, int col, int row, const TRect &rect) {
    const bool selected = col == FSelCol && row == FSelRow;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = selected   ? ColorToQColor(clHighlight)
                         : row == 0 ? palette().color(FFixedRole)
                                    : palette().color(backgroundRole());
    canvas.FillRect(rect);
    canvas.FontColor = selected               ? ColorToQColor(clHighlightText)
                       : IsWeekendColumn(col) ? ColorToQColor(FWeekendColor)
                                              : palette().color(foregroundRole());
    TRect text = rect;
    canvas.DrawText(text, DayCellText(col, row),
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

TLocCalendar::TLocCalendar(TComponent *owner, QWidget *parent) : TMonthCalendar(owner, parent) {
    setFocusPolicy(Qt::NoFocus);
    // The palette's window colour is inherited from the parent and follows its changes.
    setBackgroundRole(QPalette::Window);
    FFixedRole = QPalette::Window;
    FBorder = false;
    setContentsMargins(0, 0, 0, 0);
    FGridLines = glFixedHorz;
    SetUseCurrentDate(false);
}

void TLocCalendar::DrawCell(TCanvas &canvas, int col, int row, const TRect &rect) {
    TMonthCalendar::DrawCell(canvas, col, row, rect);
    if (row == 0) return;
    quint16 year, month, day;
    SplitDateSerial(CurrentDateSerial(), year, month, day);
    if (year != Year() || month != Month() || FirstCellOffset() + col + (row - 1) * ColCount != day)
        return;
    // Sunken: shadow along the top and left, highlight along the bottom and right.
    DrawEdge(canvas, rect, ColorToQColor(clBtnShadow), ColorToQColor(clBtnHighlight));
}
