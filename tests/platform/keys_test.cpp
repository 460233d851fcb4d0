// The key model over real Qt key events: what each step sees and when the native handling
// runs.

#include "platform/gui/focus.h"
#include "platform/gui/keys.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A line edit whose key handling goes through the model, with replaceable steps.
class ModelEdit : public QLineEdit {
public:
    TKeyDownStep down = [](TKeyCode &, TShiftState) {};
    TKeyPressStep press = [](QChar &) {};
    QList<std::pair<TKeyCode, TShiftState>> downs;
    QString presses;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        DispatchKey(
            event,
            [&](TKeyCode &key, TShiftState shift) {
                if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return;
                downs.append({key, shift});
                down(key, shift);
            },
            [&](QChar &key) {
                presses += key;
                press(key);
            },
            [&](QKeyEvent *native) { QLineEdit::keyPressEvent(native); });
    }
};

struct MappingRow {
    Qt::Key Key;
    Qt::KeyboardModifiers Modifiers;
    TKeyCode Code;
    TShiftState Shift;
    QString Typed;
};

TEST(KeyModel, MapsQtKeysOntoCodesAndCharacters) {
    const MappingRow rows[] = {
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN, 0, QStringLiteral("\r")},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN, 0, QStringLiteral("\r")},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE, 0, QStringLiteral("\x1b")},
        {Qt::Key_Down, Qt::AltModifier, VK_DOWN, ssAlt, {}},
        {Qt::Key_PageUp, Qt::ControlModifier, VK_PRIOR, ssCtrl, {}},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD, 0, QStringLiteral("+")},
        {Qt::Key_Minus, Qt::KeypadModifier, VK_SUBTRACT, 0, QStringLiteral("-")},
        {Qt::Key_Plus, Qt::NoModifier, VK_OEM_PLUS, 0, QStringLiteral("+")},
        {Qt::Key_T, Qt::NoModifier, 'T', 0, QStringLiteral("t")},
        {Qt::Key_Left, Qt::ShiftModifier, VK_LEFT, ssShift, {}},
        {Qt::Key_V, Qt::ControlModifier, 'V', ssCtrl, QString(QChar(22))},
    };
    for (const MappingRow &row : rows) {
        ModelEdit edit;
        QTest::keyClick(&edit, row.Key, row.Modifiers);
        ASSERT_EQ(edit.downs.size(), 1);
        EXPECT_EQ(edit.downs[0].first, row.Code) << row.Key;
        EXPECT_EQ(edit.downs[0].second, row.Shift) << row.Key;
        EXPECT_EQ(edit.presses, row.Typed) << row.Key;
    }
}

TEST(KeyModel, AConsumedKeyStillTypesItsCharacterButNeverReachesTheEdit) {
    ModelEdit edit;
    edit.down = [](TKeyCode &key, TShiftState) {
        if (key == VK_ADD) key = 0;
    };
    QTest::keyClick(&edit, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(edit.presses, "+");
    EXPECT_EQ(edit.text(), "");
}

TEST(KeyModel, AReplacedCodeStopsTheNativeHandling) {
    ModelEdit edit;
    edit.setText("12");
    edit.down = [](TKeyCode &key, TShiftState) {
        if (key == VK_BACK) key = 135;
    };
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "12");
}

TEST(KeyModel, AReplacedCharacterIsTypedAndAZeroedOneIsNot) {
    ModelEdit edit;
    edit.press = [](QChar &key) {
        if (key == u'.') key = u',';
        if (key == u'x') key = QChar();
    };
    QTest::keyClicks(&edit, "1.x5");
    EXPECT_EQ(edit.text(), "1,5");
}

TEST(PostedFocusMove, MovesAfterTheEventAndWrapsAround) {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QLineEdit first, second;
    layout->addWidget(&first);
    layout->addWidget(&second);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    second.setFocus();
    PostFocusMove(&second);
    EXPECT_TRUE(second.hasFocus()) << "the move waits for the event loop";
    QCoreApplication::processEvents();
    EXPECT_TRUE(first.hasFocus());
    PostFocusMove(&first, false);
    QCoreApplication::processEvents();
    EXPECT_TRUE(second.hasFocus());
}

} // namespace
