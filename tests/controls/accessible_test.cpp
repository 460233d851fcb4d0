// What a screen reader gets of the drawn controls on a window of our own: decoration left out,
// a frame made a group standing as its members' parent, blanks round captions dropped, labels
// related both ways, the keys a window gives a picture button, a link's address.

#include "controls/bevel.h"
#include "controls/image.h"
#include "controls/imgbtn.h"
#include "controls/label.h"
#include "controls/mrvradiobutton.h"
#include "controls/urllink.h"
#include "platform/accessibility.h"
#include "tests/support/accessibility.h"

#include <gtest/gtest.h>

namespace {

class TTestWindow : public QWidget, public TComponent {
public:
    TTestWindow() : TComponent(nullptr) { resize(300, 200); }
};

template <class T> T *Place(TTestWindow &window, QRect bounds) {
    auto *control = new T(&window, &window);
    control->setGeometry(bounds);
    return control;
}

class ControlAccessibility : public ::testing::Test {
protected:
    ControlAccessibility() {
        Place<TImage>(window, {0, 0, 300, 200}); // the background
        frame = Place<TBevel>(window, {10, 10, 200, 50});
        Place<TBevel>(window, {10, 100, 200, 50}); // a plain frame
        title = Place<TLabel>(window, {10, 0, 80, 12});
        title->SetCaption(QStringLiteral(" Zinsformel "));
        empty = Place<TLabel>(window, {10, 70, 80, 12});
        empty->SetCaption(QString());
        radio = Place<TMRVRadioButton>(window, {20, 20, 60, 16});
        radio->SetCaption(QStringLiteral("&EURO"));
        note = Place<TLabel>(window, {20, 40, 60, 12});
        note->SetCaption(QStringLiteral("(Norm)"));
        button = Place<TImgBtn>(window, {220, 170, 60, 15});
        button->setAccessibleName(QStringLiteral("Ende"));
        Place<TImgBtn>(window, {0, 0, 0, 0}); // no area
        link = Place<TURLLink>(window, {220, 10, 60, 12});
        link->SetCaption(QStringLiteral("www.example.org"));
        link->SetLink(QStringLiteral("https://www.example.org"));
        SetAccessibleGroup(*frame, QStringLiteral("Zinsformel"), {radio, note});
        SetAccessibleLabel(*frame, *title);
    }

    TTestWindow window;
    TBevel *frame;
    TLabel *title, *empty, *note;
    TMRVRadioButton *radio;
    TImgBtn *button;
    TURLLink *link;
};

TEST_F(ControlAccessibility, TheTreeHoldsWhatAReaderNeedsUnderTheRightParents) {
    QAccessibleInterface *root = Accessible(&window);
    EXPECT_EQ(root->role(), QAccessible::Window) << "a frame, not a filler";
    const struct {
        QWidget *control;
        QWidget *parent;
        QAccessible::Role role;
        QString name;
    } nodes[] = {
        {frame, &window, QAccessible::Grouping, "Zinsformel"},
        {title, &window, QAccessible::StaticText, "Zinsformel"},
        {radio, frame, QAccessible::RadioButton, "EURO"},
        {note, frame, QAccessible::StaticText, "(Norm)"},
        {button, &window, QAccessible::Button, "Ende"},
        {link, &window, QAccessible::Link, "www.example.org"},
    };
    for (const auto &node : nodes) {
        QAccessibleInterface *access = Accessible(node.control);
        EXPECT_EQ(access->role(), node.role) << node.name.toStdString();
        EXPECT_EQ(access->text(QAccessible::Name), node.name);
        EXPECT_EQ(access->parent(), Accessible(node.parent)) << node.name.toStdString();
    }
    EXPECT_EQ(ChildNames(root),
              QStringList({"Zinsformel", "Zinsformel", "Ende", "www.example.org"}))
        << "no background, plain frame, empty label or control without area";
    EXPECT_EQ(ChildNames(Accessible(frame)), QStringList({"EURO", "(Norm)"}));
    EXPECT_EQ(TreeFault(root), QString());
    EXPECT_EQ(title->Caption(), " Zinsformel ") << "the drawn caption keeps its blanks";

    // A label comes and goes with its caption.
    empty->SetCaption(QStringLiteral("neu"));
    title->SetCaption(QString());
    EXPECT_EQ(ChildNames(root), QStringList({"Zinsformel", "neu", "Ende", "www.example.org"}));
}

TEST_F(ControlAccessibility, LabelsKeysAndLinksReadAsTheyAct) {
    EXPECT_EQ(Related(Accessible(frame), QAccessible::Label),
              QList<QAccessibleInterface *>{Accessible(title)});
    EXPECT_EQ(Related(Accessible(title), QAccessible::Labelled),
              QList<QAccessibleInterface *>{Accessible(frame)});

    QAccessibleActionInterface *press = Accessible(button)->actionInterface();
    const QString pressName = QAccessibleActionInterface::pressAction();
    EXPECT_EQ(press->keyBindingsForAction(pressName), QStringList());
    AddAccessibleKeys(*button, {QKeySequence(Qt::CTRL | Qt::Key_Q)});
    AddAccessibleKeys(*button, {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_F9)});
    EXPECT_EQ(press->keyBindingsForAction(pressName), QStringList({"Ctrl+Q", "Esc", "F9"}));
    int clicks = 0;
    button->OnClick = [&](TObject *) { ++clicks; };
    press->doAction(pressName);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->focusPolicy() & Qt::TabFocus) << "the keys stand in for the focus";

    QAccessibleInterface *address = Accessible(link);
    EXPECT_EQ(address->text(QAccessible::Description), "https://www.example.org");
    ASSERT_TRUE(address->hyperlinkInterface());
    EXPECT_EQ(address->hyperlinkInterface()->anchorTarget(), "https://www.example.org");
    EXPECT_EQ(address->hyperlinkInterface()->anchor(), "www.example.org");
}

} // namespace
