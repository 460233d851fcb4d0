// The info dialog on the program's real windows: its layout, one dialog however often Info is
// clicked, Schließen and the close box alike, its links through the desktop (recorded), and
// the bar usable all the time.

#include "tests/app/windows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Click(QWidget *widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
}

class InfoDialog : public ProgramWindows {
protected:
    InfoDialog() { EXPECT_TRUE(QTest::qWaitForWindowExposed(&Create())); }
    void Open() {
        Click(form1->ImgBtn1);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form2.get()));
    }
};

// Frames, picture and title where the layout puts them; the labels, sized to their text,
// each within its frame or its room.
TEST_F(InfoDialog, IsLaidOutAsDesigned) {
    EXPECT_FALSE(form2->isVisible());
    EXPECT_EQ(form2->size(), QSize(300, 200));
    const std::pair<QWidget *, QRect> placed[] = {
        {form2->Image1, {0, 0, 300, 200}},       {form2->ImgBtn1, {104, 176, 94, 15}},
        {form2->Bevel1, {128, 128, 166, 42}},    {form2->Bevel2, {8, 128, 105, 42}},
        {form2->MRV3DRLabel1, {24, 8, 254, 32}},
    };
    for (const auto &[control, bounds] : placed)
        EXPECT_EQ(control->geometry(), bounds);
    const std::pair<TLabel *, QRect> within[] = {
        {form2->Label1, {136, 136, 36, 16}},    {form2->Label2, {136, 152, 36, 16}},
        {form2->URLLink1, {176, 136, 116, 16}}, {form2->URLLink2, {176, 152, 116, 16}},
        {form2->Label8, {14, 136, 97, 16}},     {form2->URLLink3, {16, 152, 95, 16}},
        {form2->Label3, {8, 64, 273, 55}},      {form2->Label9, {102, 36, 184, 11}},
    };
    for (const auto &[label, room] : within) {
        EXPECT_EQ(label->pos(), room.topLeft()) << label->Caption().toStdString();
        EXPECT_TRUE(room.contains(label->geometry())) << label->Caption().toStdString();
    }
}

TEST_F(InfoDialog, InfoClickedTwiceBringsTheOneDialogForwardCentredOnTheScreen) {
    Open();
    form1->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), form1.get());
    Open();
    QTRY_COMPARE(QApplication::activeWindow(), form2.get());
    int shown = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        shown += window->isVisible() && qobject_cast<TForm2 *>(window) != nullptr;
    EXPECT_EQ(shown, 1);
    // Within the frame's width: the first showing does not know the frame yet.
    const QPoint offset =
        form2->frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE(std::abs(offset.x()), form2->geometry().x() - form2->frameGeometry().x());
    EXPECT_LE(std::abs(offset.y()), form2->geometry().y() - form2->frameGeometry().y());
}

// Either way the dialog is hidden, not gone, and opens again; the bar answers meanwhile.
TEST_F(InfoDialog, SchliessenAndTheCloseBoxHideItAlikeAndTheBarStaysUsable) {
    const std::function<void()> ways[] = {[&] { Click(form2->ImgBtn1); },
                                          [&] { EXPECT_TRUE(form2->close()); }};
    for (const auto &close : ways) {
        Open();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        Click(form1->btn_ein);
        EXPECT_TRUE(form3->isVisible());
        form3->hide();
        close();
        EXPECT_FALSE(form2->isVisible());
        EXPECT_EQ(Form2, form2.get());
        EXPECT_TRUE(form1->isVisible() && form1->isEnabled());
    }
    Open();
    EXPECT_TRUE(form2->isVisible());
}

// The dialog opens with the focus on its first link: Enter opens it, Tab moves on to the next.
// A click opens any of them.
TEST_F(InfoDialog, LinksOpenByClickAndByKeyboardFromTheFirstOn) {
    Open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    for (TURLLink *link : {form2->URLLink1, form2->URLLink2, form2->URLLink3})
        Click(link);
    EXPECT_EQ(desktop.links, QStringList({"http://www.mrv.example", "mailto:info@mrv.example",
                                          "http://www.mrv.example", "mailto:info@mrv.example",
                                          "http://www.mrv.example/fristo"}));
}

} // namespace
