// The editors as a screen reader gets them, under real keys, German settings, the clock at
// 2 May 2005: the fields' shown text, and the calendar opened by its button's action as a
// table of days whose selection it follows move by move.

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
        date.setGeometry(10, 10, 81, 21);
        date.SetYearDigits(TYearDigits::dyFour);
        amount.setGeometry(10, 50, 89, 21);
        amount.SetDisplayFormat(QStringLiteral(",0.00;-,0.00"));
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    GermanLocale de;
    PinnedClock clock;
    RecordingDesktop desktop;
    QWidget window;
    TDateEdit date;
    TCurrencyEdit amount;
};

TEST_F(EditorAccessibility, FieldsReadWhatTheyShow) {
    const std::tuple<std::function<void()>, TCustomComboEdit *, QString> cases[] = {
        {[&] { amount.SetValue(2000); }, &amount, "2.000,00"},
        {[&] { amount.setFocus(); }, &amount, "2000"}, // entered: the edit text
        {[&] { date.setFocus(); }, &amount, "2.000,00"},
        {[&] { date.SetText(QString()); }, &date, ""},
        {[&] { date.SetText(QStringLiteral("15.03.")); }, &date, "15.03."},
    };
    for (const auto &[given, field, shown] : cases) {
        given();
        QAccessibleTextInterface *text = Accessible(field)->textInterface();
        EXPECT_EQ(Accessible(field)->text(QAccessible::Value), shown);
        EXPECT_EQ(text->text(0, text->characterCount()), shown);
        EXPECT_LE(text->cursorPosition(), shown.size()) << shown.toStdString();
    }
    EXPECT_EQ(Accessible(&amount)->childCount(), 0) << "its button has no width";
}

// 15 March 2005 is a Tuesday, in column 1 of the third week row: child 7 × 3 + 1.
TEST_F(EditorAccessibility, TheCalendarIsATableOfDaysThatFollowsEachMove) {
    date.SetText(QStringLiteral("15.03.2005"));
    QAccessibleInterface *button = Accessible(date.EditButton());
    EXPECT_EQ(button->text(QAccessible::Name), "Kalender öffnen");
    EXPECT_EQ(button->parent(), Accessible(&date));
    QAccessibleActionInterface *press = button->actionInterface();
    const QString pressName = QAccessibleActionInterface::pressAction();
    EXPECT_EQ(press->keyBindingsForAction(pressName), QStringList{"F4"});
    RecordedAccessibleEvents events;
    press->doAction(pressName);
    ASSERT_TRUE(date.PopupShown() && date.hasFocus());
    EXPECT_EQ(TreeFault(Accessible(date.Calendar())), QString());
    QAccessibleInterface *grid = Accessible(date.Calendar()->CalendarGrid());
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(ChildNames(grid).mid(5, 4),
              QStringList({"Samstag", "Sonntag", "", "Dienstag, 1. März 2005"}));
    EXPECT_EQ(Related(grid, QAccessible::Label),
              QList<QAccessibleInterface *>{Accessible(date.Calendar()->MonthTitle())});
    QAccessibleInterface *day = grid->tableInterface()->cellAt(2, 1);
    EXPECT_EQ(day, grid->child(22));
    EXPECT_EQ(day->text(QAccessible::Name), "Dienstag, 15. März 2005");
    EXPECT_EQ(events.Of(QAccessible::Focus).value(0), day) << "the opened calendar's day";

    TTimerSpeedButton *nextMonth = date.Calendar()->StepButton(TPopupCalendar::sbMonthForward);
    const std::tuple<std::function<void()>, int, QString, QString> moves[] = {
        {[&] { QTest::keyClick(&date, Qt::Key_Right); }, 23, "Mittwoch, 16. März 2005",
         "März 2005"},
        {[&] { QTest::keyClick(&date, Qt::Key_Down); }, 30, "Mittwoch, 23. März 2005", "März 2005"},
        {[&] { QTest::keyClick(&date, Qt::Key_PageDown); }, 33, "Samstag, 23. April 2005",
         "April 2005"},
        {[&] { Accessible(nextMonth)->actionInterface()->doAction(pressName); }, 35,
         "Montag, 23. Mai 2005", "Mai 2005"},
    };
    EXPECT_EQ(Accessible(nextMonth)->text(QAccessible::Name), "Next Month");
    int before = 22;
    QString shown = QStringLiteral("März 2005");
    for (const auto &[move, child, name, month] : moves) {
        events.Events.clear();
        move();
        QAccessibleInterface *cell = grid->child(child);
        EXPECT_EQ(cell->text(QAccessible::Name), name);
        EXPECT_TRUE(cell->state().selected && cell->state().focused) << child;
        EXPECT_EQ(events.Of(QAccessible::SelectionRemove), QList{grid->child(before)});
        EXPECT_EQ(events.Of(QAccessible::Selection), QList{cell});
        EXPECT_EQ(events.Of(QAccessible::Focus), QList{cell});
        EXPECT_TRUE(events.Events.contains({QAccessible::ActiveDescendantChanged, cell, child}));
        EXPECT_EQ(grid->text(QAccessible::Name), month);
        EXPECT_EQ(events.Of(QAccessible::NameChanged).contains(grid), month != shown) << child;
        before = child;
        shown = month;
    }
    events.Events.clear();
    QTest::keyClick(&date, Qt::Key_Escape);
    EXPECT_EQ(events.Of(QAccessible::Focus), QList{Accessible(&date)}) << "back in the field";
}

} // namespace
