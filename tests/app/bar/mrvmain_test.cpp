#include "platform/gui/application.h"
#include "settings/storedsettings.h"
#include "tests/app/windows.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <limits>
#include <malloc.h>
#include <memory>

namespace {

constexpr QRgb FieldBackground = qRgb(233, 231, 218);
constexpr QRgb FocusedBackground = qRgb(255, 255, 255);

class MainWindowTest : public ProgramWindows {
protected:
    // Starts the bar as the program does (its dialogs after it) and gives it the focus.
    TForm1 &Start() {
        TForm1 &bar = Create();
        bar.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&bar));
        return bar;
    }

    // A key on the focused control, then what the message loop does after it (posted moves).
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *focused = QApplication::focusWidget();
        ASSERT_TRUE(focused);
        QTest::keyClick(focused, key, modifiers);
        QCoreApplication::processEvents();
    }
    static void Type(const QString &text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        QCoreApplication::processEvents();
    }
    // The four values, each typed into its field, moving on with Enter.
    void Enter(const QString &amount, const QString &start, const QString &end,
               const QString &rate) {
        ASSERT_EQ(QApplication::focusWidget(), form1->sedit1);
        for (const QString &text : {amount, start, end, rate}) {
            Type(text);
            Key(Qt::Key_Return);
        }
    }
    static QRgb Pixel(QWidget *widget, QPoint at) { return widget->grab().toImage().pixel(at); }
    // Whether some pixel of the widget is exactly the colour, as the core of a text stroke.
    static bool Shows(QWidget *widget, QRgb colour) {
        const QImage image = widget->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
        return false;
    }
};

} // namespace

TEST_F(MainWindowTest, FirstStart) {
    TForm1 &bar = Start();
    EXPECT_EQ(bar.pos(), QPoint(20, 20));
    EXPECT_EQ(bar.FormulaCode, 1);
    EXPECT_FALSE(bar.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(bar.Label7->Caption(), "( 0 Tage )");
    EXPECT_EQ(bar.Label6->Caption(), "0,00");
    EXPECT_FALSE(bar.DateEdit1->HasDateText());
    EXPECT_EQ(bar.DateEdit1->DateValue(), EmptyDate);
    EXPECT_EQ(bar.DateEdit2->Text(), "02.05.2005");
    EXPECT_EQ(bar.sedit1->Value(), 0);
    EXPECT_EQ(bar.sedit2->Value(), 10);
    EXPECT_EQ(bar.sedit2->DisplayText(), "10,00");
    // The first field has the focus and shows it; the others keep their colour.
    EXPECT_EQ(QApplication::focusWidget(), bar.sedit1);
    EXPECT_EQ(Pixel(bar.sedit1, {40, 8}), FocusedBackground);
    EXPECT_EQ(Pixel(bar.DateEdit1, {40, 8}), FieldBackground);
    EXPECT_EQ(Pixel(bar.sedit2, {5, 8}), FieldBackground);
    EXPECT_TRUE(Shows(bar.Label6, qRgb(128, 0, 0)));
    EXPECT_TRUE(Shows(bar.Label7, qRgb(0, 0, 128)));
    desktop.errors.clear();
}

TEST_F(MainWindowTest, LayoutOfTheBar) {
    TForm1 &bar = Start();
    EXPECT_EQ(bar.windowTitle(), "Tarvo 2.3 Freeware");
    EXPECT_EQ(bar.size(), QSize(635, 40));
    EXPECT_EQ(bar.minimumSize(), bar.maximumSize());
    EXPECT_FALSE(bar.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(bar.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(bar.windowIcon().availableSizes(),
              QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    const struct {
        QWidget *control;
        QRect bounds;
    } controls[] = {
        {bar.Image1, {0, 0, 635, 40}},      {bar.btn_ber, {483, 19, 102, 15}},
        {bar.btn_end, {587, 19, 45, 15}},   {bar.btn_ein, {467, 2, 118, 15}},
        {bar.ImgBtn1, {587, 2, 45, 15}},    {bar.DateEdit1, {110, 22, 81, 16}},
        {bar.DateEdit2, {200, 22, 81, 16}}, {bar.sedit1, {8, 22, 89, 16}},
        {bar.sedit2, {350, 22, 41, 16}},
    };
    for (const auto &c : controls)
        EXPECT_EQ(c.control->geometry(), c.bounds) << c.control->accessibleName().toStdString();
    const struct {
        TLabel *label;
        QPoint at;
        QString caption;
    } labels[] = {
        {bar.Label1, {10, 3}, "Betrag"},      {bar.Label2, {110, 3}, "Zinszeitraum / Zinstage"},
        {bar.Label3, {350, 3}, "Zinssatz"},   {bar.Label4, {392, 25}, "%"},
        {bar.Label5, {408, 3}, "Zinsbetrag"}, {bar.Label7, {234, 3}, "( 0 Tage )"},
        {bar.Label8, {193, 24}, "-"},
    };
    for (const auto &l : labels) {
        EXPECT_EQ(l.label->pos(), l.at) << l.caption.toStdString();
        EXPECT_EQ(l.label->Caption(), l.caption);
        EXPECT_EQ(l.label->height(), 11) << l.caption.toStdString();
        EXPECT_EQ(l.label->font().pixelSize(), 9);
        EXPECT_TRUE(l.label->font().bold());
    }
    EXPECT_EQ(bar.Label6->geometry().right() + 1, 463);
    EXPECT_EQ(bar.Label6->y(), 25);
    // The picture buttons never take the focus; the tab order holds the four fields.
    for (QWidget *button : {bar.btn_ber, bar.btn_end, bar.btn_ein, bar.ImgBtn1})
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    bar.DateEdit1->SetText("15.01.2005"); // leaving the rate field calculates
    QWidget *chain[] = {bar.sedit1, bar.DateEdit1, bar.DateEdit2, bar.sedit2, bar.sedit1};
    for (int i = 0; i < 4; ++i) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), chain[i + 1]) << "tab " << i;
    }
    desktop.clipboard.clear();
}

TEST_F(MainWindowTest, TheDeutscheExampleAndItsClipboardText) {
    Store([](TRegistry &reg) { reg.WriteInteger(Setting::Formel, 1); });
    TForm1 &bar = Start();
    EXPECT_EQ(bar.FormulaCode, 2);
    Enter("1000", "15012005", "15032005", "");
    EXPECT_EQ(bar.Label7->Caption(), "( 59 / 60 Tage )");
    EXPECT_EQ(bar.Label6->Caption(), "16,67");
    EXPECT_EQ(desktop.clipboard, "16,67");
    EXPECT_EQ(QApplication::focusWidget(), bar.sedit1) << "Enter in the rate field wraps around";
    // The result keeps its right edge and the day label its left edge as they grow.
    EXPECT_EQ(bar.Label6->geometry().right() + 1, 463);
    EXPECT_GT(bar.Label6->width(), 22);
    EXPECT_EQ(bar.Label7->x(), 234);
    EXPECT_EQ(Pixel(bar.sedit2, {5, 8}), FieldBackground);
    EXPECT_EQ(Pixel(bar.sedit1, {40, 8}), FocusedBackground);
}

// A date that cannot be read never enters a calculation: the field takes the focus with its
// text selected, one message names the text, and the last result stays where it was. Only the
// end field's blank mask stands for today.
TEST_F(MainWindowTest, AnUnreadableDateStopsTheCalculation) {
    const struct {
        QString start, end;
        TDateEdit *TForm1::*faulty;
    } cases[] = {
        {"", "02.05.2005", &TForm1::DateEdit1},
        {"1503", "02.05.2005", &TForm1::DateEdit1},
        {"15012005", "30022026", &TForm1::DateEdit2},
        {"15012005", "31042005", &TForm1::DateEdit2},
    };
    for (const auto &c : cases) {
        for (const bool byButton : {true, false}) {
            TForm1 &bar = Start();
            Enter("1000", c.start, c.end, "");
            desktop.errors.clear();
            desktop.clipboard = "unberührt";
            bar.Label6->SetCaption("vorher");
            // Berechnen with the focus in the rate field, or Enter there.
            bar.sedit2->setFocus(Qt::TabFocusReason);
            if (byButton)
                QTest::mouseClick(bar.btn_ber, Qt::LeftButton);
            else
                Key(Qt::Key_Return);
            TDateEdit *faulty = bar.*c.faulty;
            const QString what = c.start + " " + c.end + (byButton ? " button" : " enter");
            EXPECT_EQ(desktop.errors,
                      QStringList{"Tarvo Test|''" + faulty->Text() + "'' ist kein gültiges Datum"})
                << what.toStdString();
            EXPECT_EQ(QApplication::focusWidget(), faulty) << what.toStdString();
            EXPECT_EQ(faulty->selectedText(), faulty->Text()) << what.toStdString();
            EXPECT_EQ(bar.Label6->Caption(), "vorher");
            EXPECT_EQ(bar.Label7->Caption(), "( 0 Tage )");
            EXPECT_EQ(desktop.clipboard, "unberührt");
            form1.reset();
        }
    }
}

// The end field opens on today, and its blank mask still means today.
TEST_F(MainWindowTest, TheEndFieldIsTodayAtStartAndWhenBlank) {
    PinnedClock lateMay(QDateTime(QDate(2026, 5, 25), QTime(9, 30)));
    TForm1 &bar = Start();
    EXPECT_EQ(bar.DateEdit2->Text(), "25.05.2026");
    bar.DateEdit2->SetText("");
    Enter("1000", "15052026", "", "");
    EXPECT_EQ(bar.Label7->Caption(), "( 10 / 10 Tage )");
    EXPECT_EQ(desktop.errors, QStringList());
}

TEST_F(MainWindowTest, EnterAndDownMoveThroughTheFieldsAndWrapAround) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Down}) {
        TForm1 &bar = Start();
        bar.DateEdit1->SetText("15.01.2005");
        QWidget *order[] = {bar.DateEdit1, bar.DateEdit2, bar.sedit2, bar.sedit1};
        for (QWidget *next : order) {
            Key(key);
            EXPECT_EQ(QApplication::focusWidget(), next) << "key " << key;
        }
        EXPECT_EQ(bar.Label7->Caption(), "( 107 / 107 Tage )") << "leaving the rate field";
        EXPECT_FALSE(bar.DateEdit1->PopupShown());
        EXPECT_FALSE(bar.DateEdit2->PopupShown());
        form1.reset();
    }
}

TEST_F(MainWindowTest, AltDownInADateFieldMovesOnWithoutTheCalendar) {
    TForm1 &bar = Start();
    Key(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), bar.DateEdit1);
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), bar.DateEdit2);
    EXPECT_FALSE(bar.DateEdit1->PopupShown());
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), bar.sedit2);
    EXPECT_FALSE(bar.DateEdit2->PopupShown());
    // The button still opens it.
    bar.DateEdit2->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(bar.DateEdit2->EditButton(), Qt::LeftButton);
    EXPECT_TRUE(bar.DateEdit2->PopupShown());
}

TEST_F(MainWindowTest, TabOutOfTheRateFieldRecalculatesAndReplacesTheClipboard) {
    TForm1 &bar = Start();
    Type("1000");
    bar.DateEdit1->SetText("15.01.2005");
    bar.sedit2->setFocus(Qt::MouseFocusReason);
    desktop.clipboard = "vorher";
    Type("5");
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), bar.sedit1);
    EXPECT_EQ(bar.sedit2->Value(), 5);
    EXPECT_EQ(bar.Label7->Caption(), "( 107 / 107 Tage )");
    EXPECT_EQ(bar.Label6->Caption(), "14,87") << "1000 at 5 % for 107 days, EURO";
}

TEST_F(MainWindowTest, APictureButtonClickLeavesTheFocusInTheRateField) {
    TForm1 &bar = Start();
    bar.DateEdit1->SetText("15.01.2005");
    bar.sedit2->setFocus(Qt::TabFocusReason);
    Type("7");
    for (TImgBtn *button : {bar.btn_ber, bar.btn_ein, bar.ImgBtn1})
        QTest::mouseClick(button, Qt::LeftButton);
    bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    EXPECT_EQ(QApplication::focusWidget(), bar.sedit2);
    EXPECT_EQ(bar.sedit2->Text(), "7") << "the field was not left";
    EXPECT_EQ(Pixel(bar.sedit2, {30, 8}), FocusedBackground);
    EXPECT_EQ(bar.Label7->Caption(), "( 107 / 107 Tage )") << "Berechnen calculated";
}

TEST_F(MainWindowTest, EndBeforeStartGivesNoDaysAndNoInterest) {
    TForm1 &bar = Start();
    Enter("1000", "03052005", "02052005", "");
    EXPECT_EQ(bar.Label7->Caption(), "( -1 / 0 Tage )");
    EXPECT_EQ(bar.Label6->Caption(), "0,00");
}

TEST_F(MainWindowTest, AStoredFormulaOutsideTheThreeGivesNothing) {
    for (qint32 stored : {7, -1, std::numeric_limits<qint32>::max()}) {
        Store([&](TRegistry &reg) { reg.WriteInteger(Setting::Formel, stored); });
        TForm1 &bar = Start();
        Enter("1000", "15012005", "15032005", "");
        EXPECT_EQ(bar.Label7->Caption(), "( 59 / 0 Tage )") << stored;
        EXPECT_EQ(bar.Label6->Caption(), "0,00") << stored;
        form1.reset();
    }
}

// The offscreen screen is 800 × 800: the bar, 635 wide, fits from left 0 to 165.
TEST_F(MainWindowTest, TheStoredPositionIsMovedWhollyOntoTheScreen) {
    const struct {
        QString left;
        qint32 top;
        QPoint expected;
    } cases[] = {
        {"100", 200, {100, 200}}, {"abc", 200, {20, 20}},     {"", 200, {20, 20}},
        {"300", 200, {165, 200}}, {"99999", 200, {165, 200}}, {"300", -5000, {165, 0}},
        {"0", 0, {0, 0}},         {"-40", 100, {0, 100}},
    };
    for (const auto &c : cases) {
        Store([&](TRegistry &reg) {
            reg.WriteString(Setting::Left, c.left);
            reg.WriteInteger(Setting::Top, c.top);
        });
        TForm1 &bar = Start();
        EXPECT_EQ(bar.pos(), c.expected) << c.left.toStdString() << " / " << c.top;
        form1.reset();
    }
    // At the bottom the frame counts too: the whole bar stays above the screen's edge.
    Store([&](TRegistry &reg) {
        reg.WriteString(Setting::Left, "100");
        reg.WriteInteger(Setting::Top, 790);
    });
    TForm1 &bar = Start();
    EXPECT_EQ(bar.x(), 100);
    EXPECT_LT(bar.y(), 790);
    EXPECT_LT(bar.frameGeometry().bottom(), 800);
}

TEST_F(MainWindowTest, EndeStoresThePositionOnlyWithPos) {
    for (bool keep : {true, false}) {
        Store([&](TRegistry &reg) { reg.WriteInteger(Setting::Pos, keep); });
        TForm1 &bar = Start();
        bar.move(300, 200);
        QTest::mouseClick(bar.btn_end, Qt::LeftButton);
        EXPECT_TRUE(TApplication::Instance()->Terminated());
        EXPECT_EQ(bar.regval->Values(Setting::Top).AsInteger(), keep ? 200 : 20);
        EXPECT_EQ(bar.regval->Values(Setting::Left).AsString(), keep ? "300" : "20");
        form1.reset();
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
        EXPECT_EQ(reg.ReadInteger(Setting::Top), keep ? 200 : 20);
        EXPECT_EQ(reg.ReadString(Setting::Left), keep ? "300" : "20");
    }
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheProgramWithoutStoringThePosition) {
    Store([](TRegistry &reg) { reg.WriteInteger(Setting::Pos, 1); });
    {
        TForm1 &bar = Start();
        form3->show(); // an open dialog does not keep the program running
        bar.move(300, 200);
        bar.regval->SetValues(Setting::Formel, qint32(2));
        QTimer::singleShot(0, &bar, [&] { bar.close(); });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(5000);
        EXPECT_EQ(QCoreApplication::exec(), 0) << "the loop did not end with the window";
        form1.reset();
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    EXPECT_EQ(reg.ReadInteger(Setting::Formel), 2);
    EXPECT_EQ(reg.ReadString(Setting::Version), "2.3");
    EXPECT_EQ(reg.ReadInteger(Setting::Top), 20);
    EXPECT_EQ(reg.ReadString(Setting::Left), "20");
}

TEST_F(MainWindowTest, AStoredValueOfTheWrongTypeIsReportedOnceAndRepairedAtTheEnd) {
    Store([](TRegistry &reg) {
        reg.WriteInteger(Setting::Left, 300);
        reg.WriteString(Setting::Top, "200");
        reg.WriteInteger(Setting::Formel, 2);
    });
    {
        TForm1 bar;
        EXPECT_EQ(bar.regval->Values(Setting::Top).AsInteger(), 20);
        EXPECT_EQ(bar.regval->Values(Setting::Left).AsString(), "20");
        EXPECT_EQ(bar.FormulaCode, 3) << "the good values still load";
        EXPECT_EQ(bar.pos(), QPoint(20, 20));
        EXPECT_EQ(desktop.errors, QStringList({"Tarvo Test|Ungültiger Datentyp für 'top'"}));
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    EXPECT_EQ(reg.ReadInteger(Setting::Top), 20);
    EXPECT_EQ(reg.ReadString(Setting::Left), "20");
    EXPECT_EQ(reg.ReadInteger(Setting::Formel), 2);
    EXPECT_EQ(desktop.errors.size(), 1);
}

TEST_F(MainWindowTest, StayOnTopSwitchesWhereTheBarStands) {
    Store([](TRegistry &reg) { reg.WriteInteger(Setting::OnTop, 1); });
    TForm1 &bar = Start();
    EXPECT_TRUE(bar.windowFlags() & Qt::WindowStaysOnTopHint) << "from the stored ontop";
    QWindow *native = bar.windowHandle();
    ASSERT_TRUE(native);
    EXPECT_TRUE(native->flags() & Qt::WindowStaysOnTopHint);
    bar.move(300, 200);
    for (bool onTop : {false, true, true, false}) {
        bar.SetStayOnTop(onTop);
        EXPECT_EQ(bool(native->flags() & Qt::WindowStaysOnTopHint), onTop);
        EXPECT_EQ(bool(bar.windowFlags() & Qt::WindowStaysOnTopHint), onTop);
        EXPECT_EQ(bar.windowHandle(), native) << "the native window stays";
        EXPECT_TRUE(bar.isVisible());
        EXPECT_EQ(bar.pos(), QPoint(300, 200));
    }
}

TEST_F(MainWindowTest, InfoAndSettingsOpenWithoutAModalLoopOnceEach) {
    TForm1 &bar = Start();
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(bar.ImgBtn1, Qt::LeftButton);
        QTest::mouseClick(bar.btn_ein, Qt::LeftButton);
        EXPECT_TRUE(form2->isVisible());
        EXPECT_TRUE(form3->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_EQ(Form2, form2.get());
    EXPECT_EQ(Form3, form3.get());
}

TEST_F(MainWindowTest, ScreenReadersFindTheControlsByName) {
    TForm1 &bar = Start();
    const struct {
        QWidget *control;
        QString name;
        QAccessible::Role role;
    } controls[] = {
        {bar.sedit1, "Betrag", QAccessible::EditableText},
        {bar.DateEdit1, "Anfangsdatum", QAccessible::EditableText},
        {bar.DateEdit2, "Enddatum", QAccessible::EditableText},
        {bar.sedit2, "Zinssatz", QAccessible::EditableText},
        {bar.btn_ber, "Berechnen", QAccessible::Button},
        {bar.btn_ein, "Einstellungen", QAccessible::Button},
        {bar.btn_end, "Ende", QAccessible::Button},
        {bar.ImgBtn1, "Info", QAccessible::Button},
        {bar.Label6, "0,00", QAccessible::StaticText},
        {bar.Label7, "( 0 Tage )", QAccessible::StaticText},
    };
    for (const auto &c : controls) {
        QAccessibleInterface *access = QAccessible::queryAccessibleInterface(c.control);
        ASSERT_TRUE(access) << c.name.toStdString();
        EXPECT_EQ(access->text(QAccessible::Name), c.name);
        EXPECT_EQ(access->role(), c.role) << c.name.toStdString();
    }
    // Pressing Berechnen through the screen reader calculates; the labels read the result.
    bar.DateEdit1->SetText("15.01.2005");
    QAccessibleInterface *berechnen = QAccessible::queryAccessibleInterface(bar.btn_ber);
    berechnen->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(bar.Label7)->text(QAccessible::Name),
              "( 107 / 107 Tage )");
}

// While the bar is active only the caret of the focused field blinks, until it rests; in a
// window without a field only the rest's own wait is left, which ends by itself.
TEST_F(MainWindowTest, NoTimerRunsWhileTheBarIsIdle) {
    TForm1 &bar = Start();
    Enter("1000", "15012005", "15032005", "");
    const auto timedObjects = [&] {
        QList<QObject *> objects = bar.findChildren<QObject *>();
        objects << &bar << qApp << qApp->children();
        QStringList timed;
        for (QObject *object : objects)
            if (!QAbstractEventDispatcher::instance()->registeredTimers(object).isEmpty())
                timed << QString::fromLatin1(object->metaObject()->className());
        return timed;
    };
    QTest::qWait(50);
    EXPECT_EQ(timedObjects(), QStringList({"QWidgetLineControl", "TCaretRest"}));
    form2->show();
    form2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    QTest::qWait(50);
    EXPECT_EQ(timedObjects(), QStringList({"TCaretRest"}));
}

// Keys for what the pointer does: F4 opens and closes the calendar, Escape and Ctrl+S close or
// save the settings, Escape closes the info dialog, which opens with the focus on its first
// link (Enter there opens the link; Enter closes once a click beside the links took the
// focus), Ctrl+Q ends as Ende does.
TEST_F(MainWindowTest, KeysDoWhatTheButtonsDo) {
    TForm1 &bar = Start();
    // Without looking at the message loop in between: the offscreen platform activates the
    // calendar's window, which the field would take for leaving.
    bar.DateEdit1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bar.DateEdit1, Qt::Key_F4);
    EXPECT_TRUE(bar.DateEdit1->PopupShown());
    QTest::keyClick(bar.DateEdit1, Qt::Key_F4);
    EXPECT_FALSE(bar.DateEdit1->PopupShown());
    bar.activateWindow();

    // From the bar, as the user comes back to it: the offscreen platform activates no window
    // after the active one hid.
    const auto open = [&](TImgBtn *button, QWidget *dialog) {
        bar.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    };
    for (const bool save : {false, true}) {
        open(bar.btn_ein, form3.get());
        QTest::mouseClick(form3->check6, Qt::LeftButton);
        QTest::keyClick(form3.get(), save ? Qt::Key_S : Qt::Key_Escape,
                        save ? Qt::ControlModifier : Qt::NoModifier);
        EXPECT_FALSE(form3->isVisible()) << save;
        EXPECT_EQ(bar.FormulaCode, save ? 3 : 1) << save;
    }
    open(bar.ImgBtn1, form2.get());
    EXPECT_EQ(QApplication::focusWidget(), form2->URLLink1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(desktop.links, QStringList{"http://www.mrv.example"});
    EXPECT_TRUE(form2->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(form2->isVisible());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        open(bar.ImgBtn1, form2.get());
        QTest::mouseClick(form2.get(), Qt::LeftButton, {}, QPoint(5, 190));
        ASSERT_EQ(QApplication::focusWidget(), form2.get());
        QTest::keyClick(form2.get(), key);
        EXPECT_FALSE(form2->isVisible()) << key;
    }
    EXPECT_EQ(desktop.links.size(), 1);

    bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    bar.regval->SetValues(Setting::Pos, true);
    bar.move(150, 100);
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(TApplication::Instance()->Terminated());
    EXPECT_EQ(bar.regval->Values(Setting::Left).AsString(), "150");
    for (QWidget *button :
         {static_cast<QWidget *>(bar.btn_end), static_cast<QWidget *>(form3->ImgBtn1)})
        EXPECT_FALSE(button->accessibleDescription().isEmpty()) << "the shortcut is told";
}

// A bar that stays on top would cover its dialogs: they open above it.
TEST_F(MainWindowTest, TheDialogsOpenAboveABarThatStaysOnTop) {
    for (const bool onTop : {true, false}) {
        Store([&](TRegistry &reg) { reg.WriteInteger(Setting::OnTop, onTop); });
        TForm1 &bar = Start();
        QTest::mouseClick(bar.btn_ein, Qt::LeftButton);
        QTest::mouseClick(bar.ImgBtn1, Qt::LeftButton);
        for (QWidget *dialog :
             {static_cast<QWidget *>(form2.get()), static_cast<QWidget *>(form3.get())}) {
            EXPECT_EQ(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
            EXPECT_EQ(dialog->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        }
        Create(); // fresh dialogs too
    }
}

// A result wider than its place is cut short on the bar, never drawn over the fields beside
// it; the whole of it goes to the clipboard and the tool tip.
TEST_F(MainWindowTest, AResultTooWideForItsPlaceIsCutShortButCopiedWhole) {
    TForm1 &bar = Start();
    Enter("1000000000000", "01011900", "02052005", "99");
    const QString whole = desktop.clipboard;
    EXPECT_GT(whole.size(), 15) << whole.toStdString();
    EXPECT_TRUE(bar.Label6->Caption().endsWith(u'…')) << bar.Label6->Caption().toStdString();
    EXPECT_EQ(bar.Label6->toolTip(), whole);
    EXPECT_EQ(bar.Label6->geometry().right(), 462);
    EXPECT_GT(bar.Label6->x(), bar.Label4->geometry().right());
    EXPECT_LT(bar.Label7->geometry().right(), bar.Label3->x());
    // A short result again shows whole, without the tip.
    Enter("1000", "15012005", "15032005", "10");
    EXPECT_EQ(bar.Label6->Caption(), desktop.clipboard);
    EXPECT_EQ(bar.Label6->toolTip(), QString());
}

// A date field forgets its typing when it is left: Ctrl+Z in the start field brings back no date
// of an earlier calculation, and two thousand calculations leave the heap as it was.
TEST_F(MainWindowTest, TypedDatesLeaveNoHistoryBehind) {
    TForm1 &bar = Start();
    const auto calculate = [&](int i) {
        const QDate start = QDate(2005, 1, 1).addDays(i % 300);
        Enter(QString::number(1000 + i), start.toString("ddMMyyyy"), "31122005", "5");
    };
    for (int i = 0; i < 3; ++i)
        calculate(i);
    bar.DateEdit1->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(bar.DateEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bar.DateEdit1->Text(), "03.01.2005");
    bar.sedit1->setFocus(Qt::TabFocusReason);

    if (const char *why = ResidentMemoryUnchecked()) GTEST_SKIP() << why;
    for (int i = 0; i < 100; ++i) // the heap's own first growth
        calculate(i);
    // Blocks in use, those the allocator maps on their own (large ones) included.
    const auto heap = [] {
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
    };
    const std::size_t before = heap();
    for (int i = 100; i < 2100; ++i)
        calculate(i);
    const std::size_t after = heap();
    EXPECT_LT(after, before + 128 * 1024) << "grew by " << (after - before) / 1024 << " KiB";
    EXPECT_TRUE(desktop.errors.isEmpty());
}
