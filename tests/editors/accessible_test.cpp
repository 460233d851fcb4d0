// What a screen reader gets of the editors under real keys, German settings, the clock at
// 2 May 2005: the fields' shown text, the calendar button, and the calendar as a table of days
// whose selection it follows move by move.

#include "editors/dateedit.h"
#include "editors/numedit.h"
#include "editors/popupcalendar.h"
#include "tests/support/accessibility.h"
#include "tests/support/fixtures.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

class EditorAccessibility : public ::testing::Test {
public:
    EditorAccessibility() : date(nullptr, &window), amount(nullptr, &window) {
        window.setGeometry(100, 100, 300, 120);
        date.setGeometry(10, 10, 81, 21);
        date.SetYearDigits(TYearDigits::dyFour);
        amount.setGeometry(10, 50, 89, 21);
        amount.SetDisplayFormat(QStringLiteral(",0.00;-,0.00"));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    TLocCalendar *Grid() const { return date.Calendar()->CalendarGrid(); }

    GermanLocale de;
    PinnedClock clock;
    RecordingDesktop desktop;
    QWidget window;
    TDateEdit date;
    TCurrencyEdit amount;
};

TEST_F(EditorAccessibility, FieldsReadWhatTheyShow) {
    const struct {
        std::function<void()> given;
        TCustomComboEdit *field;
        QString shown;
    } cases[] = {
        {[&] { amount.SetValue(2000); }, &amount, "2.000,00"},
        {[&] { amount.setFocus(); }, &amount, "2000"},
        {[&] { date.setFocus(); }, &amount, "2.000,00"},
        {[&] { amount.SetValue(0); }, &amount, "0,00"},
        {[&] { date.SetText(QString()); }, &date, ""},
        {[&] { date.SetText(QStringLiteral("15.03.")); }, &date, "15.03."},
        {[&] { date.SetText(QStringLiteral("15.03.2005")); }, &date, "15.03.2005"},
    };
    for (const auto &c : cases) {
        c.given();
        QAccessibleInterface *field = Accessible(c.field);
        EXPECT_EQ(field->role(), QAccessible::EditableText);
        EXPECT_EQ(field->text(QAccessible::Value), c.shown);
        QAccessibleTextInterface *text = field->textInterface();
        ASSERT_TRUE(text);
        EXPECT_EQ(text->characterCount(), c.shown.size()) << c.shown.toStdString();
        EXPECT_EQ(text->text(0, text->characterCount()), c.shown);
        EXPECT_LE(text->cursorPosition(), c.shown.size());
    }
    amount.setFocus();
    amount.SetValue(2000);
    amount.selectAll();
    int start = -1, end = -1;
    Accessible(&amount)->textInterface()->selection(0, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(0, 4)) << "in the edit text";
    date.setFocus();
    EXPECT_EQ(Accessible(&amount)->textInterface()->selectionCount(), 0) << "none in the shown";
}

TEST_F(EditorAccessibility, TheCalendarButtonIsANamedButtonThatOpensTheCalendar) {
    QAccessibleInterface *button = Accessible(date.EditButton());
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), "Kalender öffnen");
    EXPECT_EQ(button->parent(), Accessible(&date));
    EXPECT_EQ(ChildNames(Accessible(&date)), QStringList{"Kalender öffnen"});
    EXPECT_EQ(Accessible(&amount)->childCount(), 0) << "its button has no width";
    const QString press = QAccessibleActionInterface::pressAction();
    EXPECT_EQ(button->actionInterface()->keyBindingsForAction(press), QStringList{"F4"});
    button->actionInterface()->doAction(press);
    EXPECT_TRUE(date.PopupShown());
    EXPECT_TRUE(date.hasFocus());
    button->actionInterface()->doAction(press);
    EXPECT_FALSE(date.PopupShown());
}

// 15 March 2005 is a Tuesday; the month starts in column 1 of week row 1, so child 7 + 15.
TEST_F(EditorAccessibility, TheCalendarIsATableOfDaysThatFollowsEachMove) {
    date.SetText(QStringLiteral("15.03.2005"));
    date.setFocus();
    RecordedAccessibleEvents events;
    QTest::keyClick(&date, Qt::Key_F4);
    ASSERT_TRUE(date.PopupShown());
    QAccessibleInterface *popup = Accessible(date.Calendar());
    EXPECT_EQ(popup->role(), QAccessible::Window);
    EXPECT_EQ(ChildNames(popup), QStringList({"Previous Year", "Previous Month", "Next Month",
                                              "Next Year", "März, 2005", "März 2005"}));
    EXPECT_EQ(TreeFault(popup), QString());
    QAccessibleInterface *grid = Accessible(Grid());
    ASSERT_EQ(grid->role(), QAccessible::Table);
    QAccessibleTableInterface *table = grid->tableInterface();
    EXPECT_EQ(std::make_pair(table->rowCount(), table->columnCount()), std::make_pair(6, 7));
    EXPECT_EQ(ChildNames(grid).mid(0, 8),
              QStringList({"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So", ""}));
    EXPECT_EQ(grid->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(Related(grid, QAccessible::Label),
              QList<QAccessibleInterface *>{Accessible(date.Calendar()->MonthTitle())});
    QAccessibleInterface *day = table->cellAt(2, 1);
    EXPECT_EQ(day, grid->child(22));
    EXPECT_EQ(day->text(QAccessible::Name), "15");
    EXPECT_EQ(day->text(QAccessible::Description), "Dienstag, 15. März 2005");
    EXPECT_TRUE(day->state().selected && day->state().focused);
    EXPECT_EQ(table->selectedCells(), QList<QAccessibleInterface *>{day});
    EXPECT_EQ(events.Of(QAccessible::Focus).value(0), day) << "the opened calendar's day";

    const struct {
        Qt::Key key;
        int child;
        QString name, month;
    } moves[] = {
        {Qt::Key_Right, 23, "16", "März 2005"},
        {Qt::Key_Down, 30, "23", "März 2005"},
        {Qt::Key_PageDown, 33, "23", "April 2005"}, // 1 April is a Friday
        {Qt::Key_Left, 32, "22", "April 2005"},
    };
    int before = 22;
    for (const auto &move : moves) {
        events.Events.clear();
        QTest::keyClick(&date, move.key);
        QAccessibleInterface *cell = grid->child(move.child);
        EXPECT_EQ(cell->text(QAccessible::Name), move.name);
        EXPECT_TRUE(cell->state().selected && cell->state().focused) << move.name.toStdString();
        EXPECT_FALSE(grid->child(before)->state().selected);
        EXPECT_EQ(events.Of(QAccessible::SelectionRemove),
                  QList<QAccessibleInterface *>{grid->child(before)});
        EXPECT_EQ(events.Of(QAccessible::Selection), QList<QAccessibleInterface *>{cell});
        EXPECT_EQ(events.Of(QAccessible::Focus), QList<QAccessibleInterface *>{cell});
        const auto descendant =
            std::find_if(events.Events.begin(), events.Events.end(),
                         [](auto &e) { return e.Type == QAccessible::ActiveDescendantChanged; });
        ASSERT_NE(descendant, events.Events.end());
        EXPECT_EQ(descendant->Child, move.child);
        EXPECT_EQ(grid->text(QAccessible::Name), move.month);
        EXPECT_EQ(events.Of(QAccessible::NameChanged).contains(grid), move.key == Qt::Key_PageDown);
        before = move.child;
    }
    events.Events.clear();
    QTest::keyClick(&date, Qt::Key_Escape);
    EXPECT_EQ(events.Of(QAccessible::Focus), QList<QAccessibleInterface *>{Accessible(&date)})
        << "the reader's focus comes back to the field";
}

TEST_F(EditorAccessibility, StepButtonsReadTheirHintsAndStepThroughTheirAction) {
    date.SetText(QStringLiteral("15.03.2005"));
    date.setFocus();
    QTest::keyClick(&date, Qt::Key_F4);
    ASSERT_TRUE(date.PopupShown());
    const struct {
        TPopupCalendar::TStepButton which;
        QString name, key, month;
    } steps[] = {
        {TPopupCalendar::sbYearBack, "Previous Year", "Ctrl+PgUp", "März 2004"},
        {TPopupCalendar::sbMonthBack, "Previous Month", "PgUp", "Februar 2004"},
        {TPopupCalendar::sbMonthForward, "Next Month", "PgDown", "März 2004"},
        {TPopupCalendar::sbYearForward, "Next Year", "Ctrl+PgDown", "März 2005"},
    };
    const QString press = QAccessibleActionInterface::pressAction();
    for (const auto &step : steps) {
        QAccessibleInterface *button = Accessible(date.Calendar()->StepButton(step.which));
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(button->text(QAccessible::Name), step.name);
        EXPECT_EQ(button->actionInterface()->keyBindingsForAction(press), QStringList{step.key});
        button->actionInterface()->doAction(press);
        EXPECT_EQ(Accessible(Grid())->text(QAccessible::Name), step.month);
    }
}

} // namespace
