// The program's three windows as a screen reader gets them: roles, a tree without anonymous,
// empty or blank-padded nodes, the fields labelled by their captions, the picture buttons'
// keys (which work from any field), the result announced, the dialogs opening on their first
// control and the formulas reachable with Left and Right.

#include "tests/app/windows.h"
#include "tests/support/accessibility.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ScreenReader : public ProgramWindows {
protected:
    TForm1 &Start() {
        TForm1 &bar = Create();
        bar.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&bar));
        return bar;
    }
    // Every node below: named without blanks round the name, and with an area while shown.
    static QString NodeFault(QAccessibleInterface *node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            const QString name = child->text(QAccessible::Name);
            if (name.isEmpty() || name != name.trimmed() || child->rect().isEmpty())
                return QStringLiteral("'%1' (role %2) under '%3'")
                    .arg(name)
                    .arg(int(child->role()))
                    .arg(node->text(QAccessible::Name));
            if (child->role() != QAccessible::Table)
                if (const QString fault = NodeFault(child); !fault.isEmpty()) return fault;
        }
        return {};
    }
};

TEST_F(ScreenReader, EachWindowIsAFrameOrDialogOfNamedNodes) {
    TForm1 &bar = Start();
    form2->show();
    form3->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form3.get()));
    const std::tuple<QWidget *, QAccessible::Role, QString> windows[] = {
        {&bar, QAccessible::Window, "Tarvo 2.3 Freeware"},
        {form2.get(), QAccessible::Dialog, "Info"},
        {form3.get(), QAccessible::Dialog, "Tarvo Einstellungen"},
    };
    for (const auto &[window, role, name] : windows) {
        QAccessibleInterface *access = Accessible(window);
        EXPECT_EQ(access->role(), role) << name.toStdString();
        EXPECT_EQ(access->text(QAccessible::Name), name);
        EXPECT_EQ(TreeFault(access), QString()) << name.toStdString();
        EXPECT_EQ(NodeFault(access), QString()) << name.toStdString();
    }
    QAccessibleInterface *formulas = Accessible(form3->check4)->parent();
    EXPECT_EQ(formulas->role(), QAccessible::Grouping);
    EXPECT_EQ(formulas->text(QAccessible::Name), "Zinsformel");
    EXPECT_EQ(ChildNames(formulas), QStringList({"EURO", "(MRV Norm))", "deutsche", "englische"}));
}

TEST_F(ScreenReader, FieldsAndTheResultAreLabelledByTheirCaptions) {
    TForm1 &bar = Start();
    const std::pair<QWidget *, TLabel *> labelled[] = {
        {bar.sedit1, bar.Label1},         {bar.DateEdit1, bar.Label2},
        {bar.DateEdit2, bar.Label2},      {bar.sedit2, bar.Label3},
        {bar.Label6, bar.Label5},         {form2->URLLink1, form2->Label1},
        {form2->URLLink2, form2->Label2}, {form2->URLLink3, form2->Label8},
        {form3->Bevel2, form3->Label8},
    };
    for (const auto &[control, label] : labelled) {
        const QString name = Accessible(control)->text(QAccessible::Name);
        EXPECT_EQ(Related(Accessible(control), QAccessible::Label),
                  QList<QAccessibleInterface *>{Accessible(label)})
            << name.toStdString();
        EXPECT_TRUE(Related(Accessible(label), QAccessible::Labelled).contains(Accessible(control)))
            << name.toStdString();
    }
    EXPECT_EQ(Accessible(form3->Label8)->text(QAccessible::Name), "Zinsformel");
    EXPECT_EQ(form3->Label8->Caption(), " Zinsformel ");

    // Unfocused fields read as they are drawn.
    bar.sedit1->SetValue(2000);
    bar.DateEdit1->SetText(QString());
    bar.sedit2->setFocus();
    EXPECT_EQ(Accessible(bar.sedit1)->text(QAccessible::Value), "2.000,00");
    EXPECT_EQ(Accessible(bar.DateEdit1)->text(QAccessible::Value), "");
}

// Each picture button's keys are its key binding, and press it from a field that has the
// focus; the new result is announced.
TEST_F(ScreenReader, ThePictureButtonsKeysPressThemFromAnyField) {
    TForm1 &bar = Start();
    const QString press = QAccessibleActionInterface::pressAction();
    const auto native = [](QKeyCombination key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    };
    const std::pair<TImgBtn *, QStringList> bindings[] = {
        {bar.btn_end, {native(Qt::CTRL | Qt::Key_Q)}},
        {bar.btn_ber, {native(Qt::Key_F9)}},
        {bar.btn_ein, {native(Qt::CTRL | Qt::Key_Comma)}},
        {bar.ImgBtn1, {native(Qt::Key_F1)}},
        {form3->ImgBtn1, {native(Qt::CTRL | Qt::Key_S)}},
        {form2->ImgBtn1, {native(Qt::Key_Escape), native(Qt::Key_Return), native(Qt::Key_Enter)}},
    };
    for (const auto &[button, keys] : bindings) {
        QAccessibleInterface *access = Accessible(button);
        EXPECT_EQ(access->actionInterface()->keyBindingsForAction(press), keys)
            << access->text(QAccessible::Name).toStdString();
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }

    bar.sedit1->SetValue(1000);
    bar.DateEdit1->SetText(QStringLiteral("15.01.2005"));
    bar.DateEdit2->SetText(QStringLiteral("15.03.2005"));
    RecordedAccessibleEvents events;
    for (QWidget *field :
         {static_cast<QWidget *>(bar.sedit1), static_cast<QWidget *>(bar.DateEdit2)}) {
        field->setFocus();
        bar.Label6->SetCaption(QString());
        events.Events.clear();
        QTest::keyClick(field, Qt::Key_F9);
        EXPECT_EQ(bar.Label6->Caption(), "16,40");
        EXPECT_TRUE(events.Of(QAccessible::NameChanged).contains(Accessible(bar.Label6)));
        EXPECT_EQ(QApplication::focusWidget(), field) << "the focus stays in the field";
    }
    QTest::keyClick(bar.DateEdit2, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_TRUE(form3->isVisible());
    form3->hide();
    bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    QTest::keyClick(bar.sedit1, Qt::Key_F1);
    EXPECT_TRUE(form2->isVisible());
}

// The settings dialog opens on its first check box, whatever had the focus before; Right from
// EURO reaches and checks "deutsche", which Tab never could.
TEST_F(ScreenReader, TheSettingsOpenOnTheirFirstControlAndRightReachesDeutsche) {
    TForm1 &bar = Start();
    for (int opening = 0; opening < 2; ++opening) {
        bar.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
        QTest::mouseClick(bar.btn_ein, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form3.get()));
        EXPECT_EQ(QApplication::focusWidget(), form3->check1) << opening;
        form3->check4->setFocus();
        ASSERT_TRUE(form3->check4->Checked());
        QTest::keyClick(form3->check4, Qt::Key_Right);
        EXPECT_TRUE(form3->check5->Checked());
        EXPECT_EQ(QApplication::focusWidget(), form3->check5);
        EXPECT_TRUE(Accessible(form3->check5)->state().checked);
        QTest::keyClick(form3->check5, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(bar.FormulaCode, 2);
        bar.FormulaCode = 1;
    }
}

} // namespace
