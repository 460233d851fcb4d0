// The drop-down edit under real key and mouse input: the button's place, the mask, opening,
// placing and closing the window, and a descendant that vetoes leaving the field.

#include "editors/comboedit.h"

#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window holding one text value.
class TTextPopup : public TPopupWindow {
public:
    explicit TTextPopup(TCustomComboEdit *owner) : TPopupWindow(owner) { resize(120, 80); }
    TVariant ReadValue() const override { return TVariant(Value); }
    void WriteValue(const TVariant &value) override { Value = value.AsString(); }
    QString Value;
};

class TTestEdit : public TCustomComboEdit {
public:
    explicit TTestEdit(QWidget *parent) : TCustomComboEdit(nullptr, parent) {
        SetPopup(new TTextPopup(this));
    }
    TTextPopup *TextPopup() const { return static_cast<TTextPopup *>(Popup()); }
    // Leaving is refused while the text is "bad".
    void DoExit() override {
        if (text() == QLatin1String("bad")) {
            TakeFocusBack();
            throw EConvertError(QStringLiteral("schlecht"));
        }
        TCustomComboEdit::DoExit();
    }
};

class ComboEdit : public ::testing::Test {
public:
    ComboEdit() : edit(&window), other(&window) {
        window.setGeometry(100, 100, 300, 100);
        edit.setGeometry(10, 10, 81, 21);
        other.setGeometry(10, 50, 81, 21);
        edit.OnChange = [this](TObject *) { ++changes; };
        edit.OnExit = [this](TObject *) { ++exits; };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }

    GermanLocale de;
    RecordingDesktop desktop;
    QWidget window;
    TTestEdit edit;
    QLineEdit other;
    int changes = 0, exits = 0;
};

TEST_F(ComboEdit, ButtonSitsInsideTheRightEdgeByBorderKind) {
    struct Row {
        bool ctl3D;
        TBorderStyle border;
        QRect holder;    // in the field's own coordinates
        int rightMargin; // the line edit's own two pixels make the gap to the holder
    } rows[] = {
        {false, TBorderStyle::bsSingle, QRect(63, 3, 17, 17), 1 + 17},
        {true, TBorderStyle::bsSingle, QRect(58, 2, 21, 17), 2 + 21},
        {true, TBorderStyle::bsNone, QRect(60, 0, 21, 21), 0 + 21},
    };
    for (const Row &row : rows) {
        edit.SetCtl3D(row.ctl3D);
        edit.SetBorderStyle(row.border);
        edit.SetButtonWidth(row.holder.width());
        EXPECT_EQ(edit.ButtonHolder()->geometry(), row.holder) << row.ctl3D;
        EXPECT_EQ(edit.EditButton()->size(), row.holder.size());
        EXPECT_EQ(edit.textMargins().right(), row.rightMargin);
    }
    edit.SetButtonWidth(0);
    EXPECT_FALSE(edit.ButtonHolder()->isVisible());
    EXPECT_EQ(edit.textMargins().right(), 0);
}

TEST_F(ComboEdit, EllipsisDotsAreCentred) {
    struct Row {
        int buttonWidth;
        const char *rowOne; // '#' for the dots' black pixels
    } rows[] = {{21, ".##...##...##.."}, {12, "#.##.#"}, {7, "#"}};
    for (const Row &row : rows) {
        edit.SetButtonWidth(row.buttonWidth);
        edit.SetGlyphKind(TGlyphKind::gkEllipsis);
        const QImage glyph = edit.Glyph().Image();
        ASSERT_EQ(glyph.size(), QSize(std::max(1, row.buttonWidth - 6), 4));
        QString rowOne;
        for (int x = 0; x < glyph.width(); ++x)
            rowOne += glyph.pixel(x, 1) == qRgb(0, 0, 0) ? u'#' : u'.';
        EXPECT_EQ(rowOne, row.rowOne) << row.buttonWidth;
        EXPECT_EQ(glyph.pixel(0, 3), qRgb(255, 255, 255)); // the see-through colour
        edit.SetGlyphKind(TGlyphKind::gkCustom);
    }
}

TEST_F(ComboEdit, MaskedTextKeepsSeparatorsAndBlanks) {
    edit.SetEditMask(QStringLiteral("!99/99/9999;1; "));
    EXPECT_EQ(edit.Text(), "  .  .    ");
    edit.SelectAll();
    QTest::keyClicks(&edit, "02052005");
    EXPECT_EQ(edit.Text(), "02.05.2005");
    edit.SetEditMask(QStringLiteral("!99/99/9999;1;_"));
    edit.SetText(QString());
    EXPECT_EQ(edit.displayText(), "__.__.____");
    EXPECT_EQ(edit.Text(), "  .  .    ");
    edit.SelectAll();
    QTest::keyClicks(&edit, "1x2");
    EXPECT_EQ(edit.Text(), "12.  .    ");
}

TEST_F(ComboEdit, HeightNeverFallsBelowOneTextLine) {
    edit.resize(81, 5);
    EXPECT_EQ(edit.height(), edit.MinimumHeight());
    EXPECT_EQ(edit.MinimumHeight(), edit.fontMetrics().height() + 5);
}

TEST_F(ComboEdit, ClosingTable) {
    struct Row {
        const char *name;
        std::function<void(ComboEdit &)> close;
        const char *text;
        int changes;
    } rows[] = {
        {"Enter accepts", [](ComboEdit &t) { QTest::keyClick(&t.edit, Qt::Key_Return); }, "picked",
         1},
        {"Escape cancels", [](ComboEdit &t) { QTest::keyClick(&t.edit, Qt::Key_Escape); }, "old",
         0},
        {"button accepts",
         [](ComboEdit &t) { QTest::mouseClick(t.edit.EditButton(), Qt::LeftButton); }, "picked", 1},
        {"ClickKey accepts",
         [](ComboEdit &t) { QTest::keyClick(&t.edit, Qt::Key_Down, Qt::AltModifier); }, "picked",
         1},
        {"press on the text cancels",
         [](ComboEdit &t) { QTest::mousePress(&t.edit, Qt::LeftButton, {}, QPoint(5, 5)); }, "old",
         0},
        {"press on another control cancels",
         [](ComboEdit &t) { QTest::mouseClick(&t.other, Qt::LeftButton); }, "old", 0},
        {"focus loss cancels", [](ComboEdit &t) { t.other.setFocus(); }, "old", 0},
        {"window's request", [](ComboEdit &t) { t.edit.TextPopup()->RequestClose(true); }, "picked",
         1},
    };
    for (const Row &row : rows) {
        edit.setFocus();
        edit.SetText(QStringLiteral("old"));
        changes = 0;
        QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(edit.PopupShown()) << row.name;
        EXPECT_TRUE(edit.Popup()->isVisible());
        EXPECT_TRUE(edit.isReadOnly());
        EXPECT_EQ(edit.TextPopup()->Value, "old");
        edit.TextPopup()->Value = QStringLiteral("picked");
        row.close(*this);
        EXPECT_FALSE(edit.PopupShown()) << row.name;
        EXPECT_FALSE(edit.Popup()->isVisible()) << row.name;
        EXPECT_FALSE(edit.isReadOnly()) << row.name;
        EXPECT_EQ(edit.Text(), row.text) << row.name;
        EXPECT_EQ(changes, row.changes) << row.name;
        QTest::mouseRelease(&edit, Qt::LeftButton, {}, QPoint(5, 5));
    }
}

TEST_F(ComboEdit, PlacementKeepsTheWindowOnTheScreen) {
    const QRect area = window.screen()->availableGeometry();
    struct Row {
        const char *name;
        QPoint field; // the field's screen position
        TPopupAlign align;
        QPoint expected;
    } rows[] = {
        {"below, right edges aligned", {300, 200}, TPopupAlign::epaRight, {300 + 81 - 120, 221}},
        {"above near the bottom",
         {300, area.bottom() - 30},
         TPopupAlign::epaRight,
         {300 + 81 - 120, area.bottom() - 30 - 80}},
        {"left edge with epaRight",
         {area.left() + 20, 200},
         TPopupAlign::epaRight,
         {area.left() + 20, 221}},
        {"left aligned", {300, 200}, TPopupAlign::epaLeft, {300, 221}},
        {"right edge with epaLeft",
         {area.right() - 90, 200},
         TPopupAlign::epaLeft,
         {area.right() - 90 + 81 - 120, 221}},
    };
    for (const Row &row : rows) {
        window.move(row.field - QPoint(10, 10) - (window.geometry().topLeft() - window.pos()));
        QCoreApplication::processEvents();
        ASSERT_EQ(edit.mapToGlobal(QPoint(0, 0)), row.field) << row.name;
        edit.SetPopupAlign(row.align);
        edit.OpenPopup();
        EXPECT_EQ(edit.Popup()->pos(), row.expected) << row.name;
        edit.ClosePopup(false);
    }
}

TEST_F(ComboEdit, ButtonClickWhileOpenClosesWithoutReopening) {
    int buttonClicks = 0;
    edit.OnButtonClick = [&](TObject *) { ++buttonClicks; };
    QTest::mouseClick(edit.EditButton(), Qt::LeftButton);
    EXPECT_TRUE(edit.PopupShown());
    EXPECT_EQ(buttonClicks, 1);
    QTest::mouseClick(edit.EditButton(), Qt::LeftButton);
    EXPECT_FALSE(edit.PopupShown());
    EXPECT_EQ(buttonClicks, 1);
    edit.SetReadOnly(true);
    QTest::mouseClick(edit.EditButton(), Qt::LeftButton);
    EXPECT_FALSE(edit.PopupShown());
}

TEST_F(ComboEdit, DescendantVetoesLeavingAndKeepsTheFocus) {
    edit.SetText(QStringLiteral("bad"));
    other.setFocus();
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(exits, 0);
    EXPECT_EQ(desktop.errors, QStringList{"Tarvo Test|schlecht"});
    edit.SetText(QStringLiteral("good"));
    other.setFocus();
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(exits, 1);
}

} // namespace

// Entering and leaving follow the field within its window: the activation's focus enters,
// another window taking the activation leaves nothing, and focus that a refused leave takes
// back through another field neither enters nor leaves that one.
TEST(ComboEditFocus, EnteringAndLeavingFollowTheFieldNotTheWindow) {
    RecordingDesktop desktop;
    QWidget window, elsewhere;
    TTestEdit first(&window), second(&window);
    second.move(0, 40);
    QStringList log;
    for (auto [edit, name] : {std::pair{&first, "first"}, std::pair{&second, "second"}}) {
        edit->OnEnter = [&log, name](TObject *) { log << QStringLiteral("enter %1").arg(name); };
        edit->OnExit = [&log, name](TObject *) { log << QStringLiteral("exit %1").arg(name); };
    }
    const auto activate = [](QWidget &w) {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    };
    first.setFocus();
    activate(window);
    activate(elsewhere);
    activate(window);
    EXPECT_EQ(log, QStringList{"enter first"});

    first.SetText(QStringLiteral("bad"));
    second.setFocus();
    EXPECT_TRUE(first.hasFocus());
    EXPECT_EQ(log, QStringList{"enter first"});
    first.SetText(QStringLiteral("good"));
    second.setFocus();
    EXPECT_EQ(log, QStringList({"enter first", "exit first", "enter second"}));
}
