#pragma once
// The month grid as a screen reader gets it: a table of seven columns whose children are the
// seven weekday headers, then the six week rows of day cells, left to right; a day cell is
// named by its whole date ("Dienstag, 15. März 2005"), blanks outside the month have no name.

#include "editors/monthcalendar.h"
#include "platform/gui/accessibility.h"

#include <array>

class TCalendarGridAccessible : public TAccessibleWidget, public QAccessibleTableInterface {
public:
    static constexpr int CellCount = TMonthCalendar::ColCount * TMonthCalendar::RowCount;

    explicit TCalendarGridAccessible(TMonthCalendar *grid);
    ~TCalendarGridAccessible() override;

    void *interface_cast(QAccessible::InterfaceType t) override;
    int childCount() const override { return CellCount; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;
    QString text(QAccessible::Text t) const override;

    QAccessibleInterface *caption() const override;
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 1; }
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return TMonthCalendar::ColCount; }
    int rowCount() const override { return TMonthCalendar::RowCount - 1; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

    // Sends what a move of the selection changed: a new month renames the grid and its day
    // cells, the cell left is no longer selected, the new one is selected, the grid's active
    // descendant and, while the grid is in use, focused.
    void SelectionMoved();

private:
    TMonthCalendar &Grid() const { return *static_cast<TMonthCalendar *>(widget()); }
    int SelectedIndex() const;

    mutable std::array<QAccessible::Id, CellCount> FCells{};
    int FAnnouncedCell = -1;
    int FAnnouncedMonth = -1;
};

QAccessibleInterface *NewCalendarAccessible(TMonthCalendar *grid);

// In use: it has the focus, or, taking none, it is shown (its field forwards the keys).
bool CalendarInUse(const TMonthCalendar &grid);

// "Dienstag, 15. März 2005".
QString LongDateText(TDateTime date);
