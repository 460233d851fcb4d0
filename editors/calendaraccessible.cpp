#include "editors/calendaraccessible_p.h"

#include "platform/base/formatsettings.h"

#include <QPointer>

namespace {

constexpr int Cols = TMonthCalendar::ColCount;

QString WeekdayName(const TMonthCalendar &grid, int col) {
    return FormatSettings().LongDayNames[(int(grid.StartOfWeek()) + col) % 7];
}

// One cell of the grid: a weekday's header in row 0, a day or a blank below. It has no object
// of its own; the grid's interface owns it.
class TCalendarCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TCalendarCellAccessible(TMonthCalendar *grid, int col, int row)
        : FGrid(grid), FCol(col), FRow(row) {}

    bool isValid() const override { return FGrid; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return Grid() ? Grid()->window() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return Grid(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override {
        return FRow == 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface && FRow > 0)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override {
        return FGrid && FGrid->SelectedCol() == FCol && FGrid->SelectedRow() == FRow;
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override {
        return Grid() ? QList<QAccessibleInterface *>{Grid()->child(FCol)}
                      : QList<QAccessibleInterface *>{};
    }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return FCol; }
    int rowIndex() const override { return FRow - 1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return Grid(); }

private:
    QAccessibleInterface *Grid() const {
        return FGrid ? QAccessible::queryAccessibleInterface(FGrid) : nullptr;
    }
    bool IsDay() const { return FGrid && FRow > 0 && !FGrid->DayCellText(FCol, FRow).isEmpty(); }

    QPointer<TMonthCalendar> FGrid;
    int FCol, FRow;
};

// The whole date, not the bare number the cell shows: a move into another month renames the
// cells, and a reader hears the weekday and the month with the day.
QString TCalendarCellAccessible::text(QAccessible::Text t) const {
    if (!FGrid || t != QAccessible::Name) return {};
    if (FRow == 0) return WeekdayName(*FGrid, FCol);
    if (!IsDay()) return {};
    const int day = FGrid->DayCellText(FCol, FRow).toInt();
    return LongDateText(FGrid->CalendarDate() - FGrid->Day() + day);
}

QRect TCalendarCellAccessible::rect() const {
    if (!FGrid) return {};
    const QRect cell = FGrid->CellRect(FCol, FRow).ToQRect();
    return cell.translated(FGrid->mapToGlobal(QPoint(0, 0)));
}

QAccessible::State TCalendarCellAccessible::state() const {
    QAccessible::State state;
    if (!FGrid) {
        state.invalid = true;
        return state;
    }
    state.invisible = !FGrid->isVisible();
    state.readOnly = true;
    state.selectable = state.focusable = IsDay();
    state.selected = IsDay() && isSelected();
    state.focused = state.selected && CalendarInUse(*FGrid);
    return state;
}

} // namespace

TCalendarGridAccessible::TCalendarGridAccessible(TMonthCalendar *grid)
    : TAccessibleWidget(grid, QAccessible::Table) {}

// The cache deletes the grid's interface with the grid; the cells go with it.
TCalendarGridAccessible::~TCalendarGridAccessible() {
    for (QAccessible::Id id : FCells)
        if (id) QAccessible::deleteAccessibleInterface(id);
}

void *TCalendarGridAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface *>(this);
    return TAccessibleWidget::interface_cast(t);
}

QAccessibleInterface *TCalendarGridAccessible::child(int index) const {
    if (index < 0 || index >= CellCount) return nullptr;
    QAccessible::Id &id = FCells[size_t(index)];
    if (!id)
        id = QAccessible::registerAccessibleInterface(
            new TCalendarCellAccessible(&Grid(), index % Cols, index / Cols));
    return QAccessible::accessibleInterface(id);
}

int TCalendarGridAccessible::indexOfChild(const QAccessibleInterface *child) const {
    if (!child) return -1;
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
    const auto found = std::find(FCells.begin(), FCells.end(), id);
    return found == FCells.end() ? -1 : int(found - FCells.begin());
}

QAccessibleInterface *TCalendarGridAccessible::childAt(int x, int y) const {
    int col, row;
    if (!Grid().CellAt(Grid().mapFromGlobal(QPoint(x, y)), col, row)) return nullptr;
    return child(row * Cols + col);
}

QAccessibleInterface *TCalendarGridAccessible::focusChild() const {
    return CalendarInUse(Grid()) ? child(SelectedIndex()) : nullptr;
}

// The month, as its title shows it, unless the grid was given a name.
QString TCalendarGridAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return FormatDate(QStringLiteral("MMMM YYYY"), Grid().CalendarDate());
    return TAccessibleWidget::text(t);
}

QAccessibleInterface *TCalendarGridAccessible::caption() const {
    QWidget *title = AccessibleLabel(Grid());
    return title ? QAccessible::queryAccessibleInterface(title) : nullptr;
}

QAccessibleInterface *TCalendarGridAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    return child((row + 1) * Cols + column);
}

QList<QAccessibleInterface *> TCalendarGridAccessible::selectedCells() const {
    return {child(SelectedIndex())};
}

QString TCalendarGridAccessible::columnDescription(int column) const {
    return column >= 0 && column < Cols ? WeekdayName(Grid(), column) : QString();
}

int TCalendarGridAccessible::SelectedIndex() const {
    return Grid().SelectedRow() * Cols + Grid().SelectedCol();
}

void TCalendarGridAccessible::SelectionMoved() {
    const auto send = [](QAccessibleInterface *target, QAccessible::Event type) {
        QAccessibleEvent event(target, type);
        QAccessible::updateAccessibility(&event);
    };
    const int month = Grid().Year() * 12 + Grid().Month();
    if (month != FAnnouncedMonth) {
        FAnnouncedMonth = month;
        send(this, QAccessible::NameChanged);
        for (int index = Cols; index < CellCount; ++index)
            send(child(index), QAccessible::NameChanged);
    }
    const int selected = SelectedIndex();
    if (FAnnouncedCell >= 0 && FAnnouncedCell != selected)
        send(child(FAnnouncedCell), QAccessible::SelectionRemove);
    FAnnouncedCell = selected;
    QAccessibleInterface *cell = child(selected);
    send(cell, QAccessible::Selection);
    QAccessibleEvent descendant(&Grid(), QAccessible::ActiveDescendantChanged);
    descendant.setChild(selected);
    QAccessible::updateAccessibility(&descendant);
    if (cell->state().focused) send(cell, QAccessible::Focus);
}

QAccessibleInterface *NewCalendarAccessible(TMonthCalendar *grid) {
    return new TCalendarGridAccessible(grid);
}

bool CalendarInUse(const TMonthCalendar &grid) {
    return grid.hasFocus() || (grid.focusPolicy() == Qt::NoFocus && grid.isVisible());
}

QString LongDateText(TDateTime date) {
    const int weekday = WeekdayNumber(date) - 1; // Sunday first, as the names are
    return FormatSettings().LongDayNames[size_t(weekday)] + QStringLiteral(", ") +
           FormatDate(QStringLiteral("D. MMMM YYYY"), date);
}
