// The program's three windows as a screen reader gets them: frame and dialogs of named nodes
// only, the fields labelled by their captions, the picture buttons' keys (which work from any
// field), the result reported, the settings opening on their first control and Right reaching
// "deutsche".

#include "tests/app/windows.h"
#include "tests/support/accessibility.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ScreenReader : public ProgramWindows {
protected:
    ScreenReader() {
        Create().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    }
    // A node below without a name, with blanks round it, or without area.
    static QString NodeFault(QAccessibleInterface *node) {
        for (int i = 0; i < node->childCount() && node->role() != QAccessible::Table; ++i) {
            QAccessibleInterface *child = node->child(i);
            const QString name = child->text(QAccessible::Name);
            if (name.isEmpty() || name != name.trimmed() || child->rect().isEmpty())
                return QStringLiteral("'%1' in '%2'").arg(name, node->text(QAccessible::Name));
            if (const QString fault = NodeFault(child); !fault.isEmpty()) return fault;
        }
        return {};
    }
};

TEST_F(ScreenReader, EachWindowIsAFrameOrDialogOfNamedNodes) {
    form2->show();
    form3->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form3.get()));
    const std::pair<QWidget *, QAccessible::Role> windows[] = {
        {form1.get(), QAccessible::Window},
        {form2.get(), QAccessible::Dialog},
        {form3.get(), QAccessible::Dialog},
    };
    for (const auto &[window, role] : windows) {
        QAccessibleInterface *access = Accessible(window);
        EXPECT_EQ(access->role(), role) << window->windowTitle().toStdString();
        EXPECT_EQ(access->text(QAccessible::Name), window->windowTitle());
        EXPECT_EQ(TreeFault(access), QString());
        EXPECT_EQ(NodeFault(access), QString());
    }
    QAccessibleInterface *formulas = Accessible(form3->check4)->parent();
    EXPECT_EQ(formulas->role(), QAccessible::Grouping);
    EXPECT_EQ(formulas->text(QAccessible::Name), "Zinsformel");
    EXPECT_EQ(ChildNames(formulas), QStringList({"EURO", "(MRV Norm))", "deutsche", "englische"}));
    EXPECT_EQ(Accessible(form2->URLLink2)->hyperlinkInterface()->anchorTarget(),
              "mailto:info@mrv.example");
}

TEST_F(ScreenReader, FieldsResultAndLinksAreLabelledByTheirCaptions) {
    TForm1 &bar = *form1;
    const std::pair<QWidget *, TLabel *> labelled[] = {
        {bar.sedit1, bar.Label1},         {bar.DateEdit1, bar.Label2},
        {bar.DateEdit2, bar.Label2},      {bar.sedit2, bar.Label3},
        {bar.Label6, bar.Label5},         {form2->URLLink1, form2->Label1},
        {form2->URLLink2, form2->Label2}, {form2->URLLink3, form2->Label8},
    };
    for (const auto &[control, label] : labelled) {
        EXPECT_EQ(Related(Accessible(control), QAccessible::Label), QList{Accessible(label)})
            << Accessible(control)->text(QAccessible::Name).toStdString();
        EXPECT_TRUE(
            Related(Accessible(label), QAccessible::Labelled).contains(Accessible(control)));
    }
    bar.sedit1->SetValue(2000);
    bar.sedit2->setFocus();
    EXPECT_EQ(Accessible(bar.sedit1)->text(QAccessible::Value), "2.000,00") << "as drawn";
}

// Each picture button's keys are its key binding and press it from a focused field; the new
// result is reported.
TEST_F(ScreenReader, ThePictureButtonsKeysPressThemFromAnyField) {
    TForm1 &bar = *form1;
    const std::pair<TImgBtn *, QStringList> bindings[] = {
        {bar.btn_end, {"Ctrl+Q"}},    {bar.btn_ber, {"F9"}},
        {bar.btn_ein, {"Ctrl+,"}},    {bar.ImgBtn1, {"F1"}},
        {form3->ImgBtn1, {"Ctrl+S"}}, {form2->ImgBtn1, {"Esc", "Return", "Enter"}},
    };
    const QString press = QAccessibleActionInterface::pressAction();
    for (const auto &[button, keys] : bindings) {
        EXPECT_EQ(Accessible(button)->actionInterface()->keyBindingsForAction(press), keys);
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    bar.sedit1->SetValue(1000);
    bar.DateEdit1->SetText(QStringLiteral("15.01.2005"));
    bar.DateEdit2->SetText(QStringLiteral("15.03.2005"));
    RecordedAccessibleEvents events;
    for (QWidget *field : std::initializer_list<QWidget *>{bar.sedit1, bar.DateEdit2}) {
        field->setFocus();
        bar.Label6->SetCaption(QString());
        QTest::keyClick(field, Qt::Key_F9);
        EXPECT_EQ(bar.Label6->Caption(), "16,40");
        EXPECT_EQ(QApplication::focusWidget(), field);
    }
    EXPECT_EQ(events.Of(QAccessible::NameChanged).count(Accessible(bar.Label6)), 4);
    QTest::keyClick(bar.DateEdit2, Qt::Key_Comma, Qt::ControlModifier);
    QTest::keyClick(bar.DateEdit2, Qt::Key_F1);
    EXPECT_TRUE(form3->isVisible() && form2->isVisible());
}

// The settings dialog opens on its first check box, whatever had the focus before; Right from
// EURO reaches and checks "deutsche", which Tab never could; the ends do not wrap round.
TEST_F(ScreenReader, TheSettingsOpenOnTheirFirstControlAndRightReachesDeutsche) {
    for (int opening = 0; opening < 2; ++opening) {
        form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
        QTest::mouseClick(form1->btn_ein, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form3.get()));
        EXPECT_EQ(QApplication::focusWidget(), form3->check1) << opening;
        form3->check4->setFocus();
        const std::pair<Qt::Key, TMRVRadioButton *> steps[] = {{Qt::Key_Right, form3->check5},
                                                               {Qt::Key_Right, form3->check6},
                                                               {Qt::Key_Right, form3->check6},
                                                               {Qt::Key_Left, form3->check5}};
        for (const auto &[key, reached] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            EXPECT_EQ(QApplication::focusWidget(), reached);
            EXPECT_TRUE(Accessible(reached)->state().checked);
        }
        QTest::keyClick(form3->check5, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(form1->FormulaCode, 2);
        form1->FormulaCode = 1;
    }
}

} // namespace
