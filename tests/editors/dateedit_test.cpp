// The date field under real key and mouse input, German settings, the clock at 2 May 2005
// noon: typing into the mask, the fallbacks, the date keys, the calendar opened, stepped and
// closed from the field, and text no key or paste may turn into a crash.

#include "editors/dateedit.h"

#include "editors/popupcalendar.h"
#include "platform/gui/fonts.h"
#include "tests/support/fixtures.h"
#include "tests/support/reallocale.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TDateTime May2 = 38474; // 02.05.2005

class DateEdit : public ::testing::Test {
public:
    DateEdit() : edit(nullptr, &window), other(&window) {
        window.setGeometry(100, 100, 300, 120);
        edit.setGeometry(10, 10, 81, 21);
        edit.SetYearDigits(TYearDigits::dyFour);
        other.setGeometry(10, 80, 81, 21);
        edit.OnChange = [this](TObject *) { ++changes; };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }

    TLocCalendar *Grid() { return edit.Calendar()->CalendarGrid(); }
    void ClickCell(int col, int row) {
        const TRect cell = Grid()->CellRect(col, row);
        QTest::mouseClick(Grid(), Qt::LeftButton, {}, cell.ToQRect().center());
    }
    void Type(const QString &text) {
        edit.SetText(QString());
        edit.SelectAll();
        QTest::keyClicks(&edit, text);
    }

    GermanLocale de;
    PinnedClock clock;
    RecordingDesktop desktop;
    QWidget window;
    TDateEdit edit;
    QLineEdit other;
    int changes = 0;
};

TEST_F(DateEdit, FormatAndMaskFollowTheYearDigits) {
    EXPECT_EQ(edit.FieldFormat(), "DD/MM/YYYY");
    EXPECT_EQ(edit.EditMask(), "!99/99/9999;1; ");
    EXPECT_EQ(edit.Text(), "  .  .    ");
    edit.SetDateValue(May2);
    edit.SetYearDigits(TYearDigits::dyTwo);
    EXPECT_EQ(edit.FieldFormat(), "DD/MM/YY");
    EXPECT_EQ(edit.Text(), "02.05.05");
    EXPECT_EQ(edit.DateValue(), May2);
}

TEST_F(DateEdit, ButtonAsTheMainWindowLaysItOut) {
    EXPECT_EQ(edit.ButtonWidth(), 21); // the glyph's 28 / 2 + 6 = 20 is less
    EXPECT_EQ(edit.NumGlyphs(), 2);
    EXPECT_EQ(edit.Glyph().Size(), QSize(28, 12));
    edit.SetCtl3D(false);
    edit.SetButtonWidth(17);
    edit.setFont(LayoutFont(QStringLiteral("Small Fonts"), -9, fsBold));
    edit.resize(81, 16);
    EXPECT_EQ(edit.ButtonHolder()->geometry(), QRect(63, 3, 17, 12));
    edit.setEnabled(false);
    EXPECT_FALSE(edit.EditButton()->isEnabled());
}

TEST_F(DateEdit, TypedTextAndFallbacks) {
    struct Row {
        const char *typed;
        bool defaultToday;
        const char *text;
        TDateTime date;
    } rows[] = {
        {"02052005", false, "02.05.2005", May2},
        {"", false, "  .  .    ", EmptyDate},
        {"", true, "  .  .    ", May2},
        {"31042005", false, "31.04.2005", EmptyDate}, // no such day
        {"29022005", true, "29.02.2005", May2},       // no leap year: today
        {"01010000", false, "01.01.0000", 36526},     // year 0 is read as 00: 2000
        {"31129999", false, "31.12.9999", 2958465},   // the last day there is
        {"0205", false, "02.05.    ", EmptyDate},     // no year is no date
        {"ab/.-_", false, "  .  .    ", EmptyDate},   // nothing but junk
        {"020520051234", false, "02.05.2005", May2},  // typing past the end
    };
    for (const Row &row : rows) {
        edit.SetDefaultToday(row.defaultToday);
        Type(QString::fromLatin1(row.typed));
        EXPECT_EQ(edit.Text(), row.text) << row.typed;
        EXPECT_EQ(edit.DateValue(), row.date) << row.typed;
    }
}

TEST_F(DateEdit, DateKeys) {
    struct Row {
        const char *start; // the field's text before the key
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *text;
    } rows[] = {
        {"", Qt::Key_Plus, Qt::KeypadModifier, "03.05.2005"}, // from the current moment
        {"", Qt::Key_Minus, Qt::KeypadModifier, "01.05.2005"},
        {"28.02.2004", Qt::Key_Plus, Qt::KeypadModifier, "29.02.2004"},
        {"01.03.2005", Qt::Key_Minus, Qt::KeypadModifier, "28.02.2005"},
        {"31.12.9999", Qt::Key_Plus, Qt::KeypadModifier, "31.12.9999"}, // stays in range
        {"17.08.1999", Qt::Key_T, Qt::NoModifier, "02.05.2005"},
        {"17.08.1999", Qt::Key_Plus, Qt::NoModifier, "17.08.1999"}, // main keyboard: nothing
        {"17.08.1999", Qt::Key_Minus, Qt::NoModifier, "17.08.1999"},
    };
    for (const Row &row : rows) {
        edit.SetText(QString::fromLatin1(row.start));
        QTest::keyClick(&edit, row.key, row.modifiers);
        EXPECT_EQ(edit.Text(), row.text) << row.start << " " << row.key;
    }
    QTest::keyClick(&edit, Qt::Key_T, Qt::ShiftModifier);
    EXPECT_EQ(edit.Text(), "02.05.2005");
    EXPECT_EQ(edit.selectedText(), "02.05.2005");
}

TEST_F(DateEdit, TheCalendarIsMadeWhenFirstOpenedWithWhatWasSetBefore) {
    EXPECT_FALSE(edit.Popup()) << "not made with the field";
    edit.SetPopupColor(clYellow);
    edit.SetStartOfWeek(TDayOfWeekName::Sun);
    edit.SetWeekendColor(clBlue);
    edit.SetCalendarHints({QStringLiteral("Ein Jahr zurück")});
    edit.SetYearDigits(TYearDigits::dyTwo);
    EXPECT_EQ(edit.PopupColor(), clYellow);
    EXPECT_FALSE(edit.Popup());
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(edit.PopupShown());
    TPopupCalendar *calendar = edit.Calendar();
    EXPECT_EQ(calendar->Color(), clYellow);
    EXPECT_EQ(Grid()->StartOfWeek(), TDayOfWeekName::Sun);
    EXPECT_EQ(Grid()->WeekendColor(), clBlue);
    EXPECT_FALSE(calendar->FourDigitYear());
    EXPECT_EQ(calendar->StepButton(TPopupCalendar::sbYearBack)->toolTip(), "Ein Jahr zurück");
    QTest::keyClick(&edit, Qt::Key_Escape);
    edit.SetCalendarStyle(TCalendarStyle::csDialog);
    EXPECT_EQ(edit.Calendar(), nullptr);
    edit.SetCalendarStyle(TCalendarStyle::csPopup);
    EXPECT_EQ(edit.CalendarStyle(), TCalendarStyle::csPopup);
    EXPECT_FALSE(edit.Popup()) << "made again only when opened";
}

TEST_F(DateEdit, AltDownOpensOnTheFieldsDateOrToday) {
    edit.SetText(QStringLiteral("17.08.1999"));
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(edit.PopupShown());
    EXPECT_EQ(Grid()->CalendarDate(), 36389); // 17.08.1999
    EXPECT_EQ(edit.Calendar()->MonthTitle()->text(), "August, 1999");
    QTest::keyClick(&edit, Qt::Key_Escape);
    edit.SetText(QStringLiteral("31.04.2005"));
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Grid()->CalendarDate(), May2);
}

TEST_F(DateEdit, OpenCalendarTakesTheNavigationKeys) {
    edit.SetDateValue(May2);
    changes = 0;
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier); // one week on, still open
    EXPECT_TRUE(edit.PopupShown());
    EXPECT_EQ(Grid()->CalendarDate(), May2 + 7);
    QTest::keyClick(&edit, Qt::Key_Right);
    QTest::keyClick(&edit, Qt::Key_PageDown);
    QTest::keyClick(&edit, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(Grid()->CalendarDate(), May2 + 7 + 1 + 31 + 1); // 11.06.2005
    QTest::keyClick(&edit, Qt::Key_T);
    EXPECT_TRUE(edit.PopupShown());
    EXPECT_EQ(Grid()->CalendarDate(), May2);
    EXPECT_EQ(edit.Text(), "02.05.2005"); // the text waits for the pick
    EXPECT_EQ(changes, 0);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_FALSE(edit.PopupShown());
    EXPECT_EQ(edit.Text(), "01.05.2005");
    EXPECT_EQ(edit.selectedText(), "01.05.2005");
    EXPECT_EQ(changes, 1);
}

// Ctrl+Z undoes only what was typed since the field was entered: leaving it, and every date
// the field writes itself (stepped, today, picked), end the history.
TEST_F(DateEdit, TheUndoHistoryEndsWhenTheFieldIsLeftOrWritesADate) {
    const struct {
        const char *name;
        std::function<void(DateEdit &)> act;
    } rows[] = {
        {"left", [](DateEdit &t) { t.other.setFocus(); }},
        {"stepped",
         [](DateEdit &t) { QTest::keyClick(&t.edit, Qt::Key_Plus, Qt::KeypadModifier); }},
        {"today", [](DateEdit &t) { QTest::keyClick(&t.edit, Qt::Key_T); }},
        {"picked",
         [](DateEdit &t) {
             QTest::mouseClick(t.edit.EditButton(), Qt::LeftButton);
             t.ClickCell(2, 3);
         }},
    };
    for (const auto &row : rows) {
        edit.setFocus();
        Type("01022005");
        ASSERT_TRUE(edit.isUndoAvailable()) << row.name;
        row.act(*this);
        const QString text = edit.Text();
        EXPECT_FALSE(edit.isUndoAvailable()) << row.name;
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(edit.Text(), text) << row.name;
    }
}

TEST_F(DateEdit, ClosingFromTheCalendar) {
    struct Row {
        const char *name;
        std::function<void(DateEdit &)> act;
        const char *text;
        int changes;
        bool open;
    } rows[] = {
        // May 2005 starts on a Sunday: row 1 holds the 1st in its last column.
        {"day clicked", [](DateEdit &t) { t.ClickCell(2, 3); }, "11.05.2005", 1, false},
        {"same day clicked", [](DateEdit &t) { t.ClickCell(0, 2); }, "02.05.2005", 0, false},
        {"header clicked", [](DateEdit &t) { t.ClickCell(2, 0); }, "02.05.2005", 0, true},
        {"empty cell clicked", [](DateEdit &t) { t.ClickCell(0, 1); }, "02.05.2005", 0, true},
        {"Escape", [](DateEdit &t) { QTest::keyClick(&t.edit, Qt::Key_Escape); }, "02.05.2005", 0,
         false},
        {"other control clicked", [](DateEdit &t) { QTest::mouseClick(&t.other, Qt::LeftButton); },
         "02.05.2005", 0, false},
        {"button", [](DateEdit &t) { QTest::mouseClick(t.edit.EditButton(), Qt::LeftButton); },
         "02.05.2005", 0, false},
    };
    for (const Row &row : rows) {
        edit.SetDateValue(May2);
        edit.setFocus();
        changes = 0;
        QTest::mouseClick(edit.EditButton(), Qt::LeftButton);
        ASSERT_TRUE(edit.PopupShown()) << row.name;
        row.act(*this);
        EXPECT_EQ(edit.Text(), row.text) << row.name;
        EXPECT_EQ(changes, row.changes) << row.name;
        EXPECT_EQ(edit.PopupShown(), row.open) << row.name;
        edit.ClosePopup(false);
    }
}

TEST_F(DateEdit, AcceptDateHandlerMayChangeOrRefuse) {
    edit.SetDateValue(May2);
    edit.OnAcceptDate = [](TObject *, TDateTime &date, bool &action) {
        action = date != May2 + 1;
        date += 10;
    };
    for (auto [key, text] : {std::pair{Qt::Key_Right, "02.05.2005"},   // refused
                             std::pair{Qt::Key_Left, "11.05.2005"}}) { // moved on by 10
        QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(&edit, key);
        QTest::keyClick(&edit, Qt::Key_Return);
        EXPECT_EQ(edit.Text(), text);
    }
}

TEST_F(DateEdit, CheckOnExitRefusesToLeaveAnUnreadableDate) {
    edit.SetCheckOnExit(true);
    Type(QStringLiteral("31042005"));
    other.setFocus();
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(desktop.errors,
              QStringList{QStringLiteral("Tarvo Test|''31.04.2005'' ist kein gültiges Datum")});
    Type(QStringLiteral("0205"));
    QTest::keyClicks(&edit, "05");
    other.setFocus();
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(edit.Text(), "02.05.2005");
    EXPECT_EQ(desktop.errors.size(), 1);
}

// A paste is read as one whole date, in the field's format or ISO 8601; anything else leaves
// the field as it was, with a beep.
TEST_F(DateEdit, APasteIsReadAsAWholeDate) {
    const struct {
        const char *paste;
        const char *shown; // nullptr: refused
    } cases[] = {
        {"2005-01-15", "15.01.2005"},
        {" 15.1.05 ", "15.01.2005"},
        {"15.01.2005", "15.01.2005"},
        {"1.5", "01.05.2005"},
        {"2005-02-30", nullptr},
        {"2005-1-15", nullptr},
        {"letters only", nullptr},
        {"\x01\x02\t\n", nullptr},
        {"....../////", nullptr},
        {"2005-05-02 and a long tail of text that goes on and on", nullptr},
        {"", nullptr},
    };
    for (const auto &c : cases) {
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.paste));
        edit.SetText("03.04.2006");
        edit.SelectAll();
        const int beeps = desktop.beeps;
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit.Text(), c.shown ? c.shown : "03.04.2006") << c.paste;
        EXPECT_EQ(desktop.beeps, beeps + (c.shown ? 0 : 1)) << c.paste;
    }
    EXPECT_FALSE(edit.acceptDrops()) << "a drop would pass by the paste";
}

TEST_F(DateEdit, BlanksCharAndRegionalSettings) {
    edit.SetBlanksChar(QChar(7));
    EXPECT_EQ(edit.BlanksChar(), u' ');
    edit.SetBlanksChar(u'_');
    EXPECT_EQ(edit.displayText(), "__.__.____");
    EXPECT_EQ(edit.Text(), "  .  .    ");
    edit.SetDateValue(May2);

    TFormatSettings us = TFormatSettings::German();
    us.ShortDateFormat = QStringLiteral("M/d/yyyy");
    us.DateSeparator = u'/';
    PinnedSettings pinned(us);
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(&edit, &change);
    EXPECT_EQ(edit.FieldFormat(), "MM/DD/YYYY");
    EXPECT_EQ(edit.Text(), "05/02/2005");
    EXPECT_EQ(edit.DateValue(), May2);
}

// Under the machine's real locales: four-digit years, and the mask in the locale's order.
TEST(DateEditUnderRealLocales, FormatMaskAndText) {
    PinnedClock clock;
    const struct {
        const char *Locale, *Format, *Mask, *Text;
    } rows[] = {
        {"de_DE.UTF-8", "DD/MM/YYYY", "99.99.9999", "02.05.2005"},
        {"en_US.UTF-8", "MM/DD/YYYY", "99/99/9999", "05/02/2005"},
        {"C", "DD/MM/YYYY", "99.99.9999", "02.05.2005"}, // the program's German
    };
    for (const auto &row : rows) {
        const QString name = QString::fromLatin1(row.Locale);
        ASSERT_TRUE(ProvideLocale(name)) << row.Locale;
        PinnedSettings settings(TFormatSettings::FromSystemLocale(name));
        EXPECT_TRUE(FormatSettings().ShortDateFormat.toUpper().contains(QLatin1String("YYYY")));
        TDateEdit edit(nullptr);
        EXPECT_EQ(edit.FieldFormat(), row.Format) << row.Locale;
        EXPECT_EQ(edit.inputMask(), row.Mask) << row.Locale;
        edit.SetDateValue(May2);
        EXPECT_EQ(edit.Text(), row.Text) << row.Locale;
        edit.SetText(QString());
        edit.SelectAll();
        QTest::keyClicks(&edit, QString(QString::fromLatin1(row.Text)).remove(u'/').remove(u'.'));
        EXPECT_EQ(edit.DateValue(), May2) << row.Locale;
    }
}

} // namespace
// Typed the short way, with points between the parts: the field writes it out once left, and
// leaves a text that is no date as it is.
TEST_F(DateEdit, AShortDateIsWrittenOutOnLeaving) {
    const struct {
        const char *typed, *left;
    } rows[] = {
        {"16.1.24", "16.01.2024"}, {"1.2.2024", "01.02.2024"},
        {"5.5.5", "05.05.2005"},   {"31.4.24", "31.4 .24  "}, // no such day
        {"16.1.", "16.1 .    "},                              // no year
    };
    for (const auto &row : rows) {
        Type(QString::fromLatin1(row.typed));
        changes = 0;
        other.setFocus();
        EXPECT_EQ(edit.Text(), row.left) << row.typed;
        EXPECT_EQ(changes, 0) << "the date itself did not change";
        edit.setFocus();
    }
}
