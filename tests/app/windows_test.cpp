// The program's windows wired together: the bar's menu and keys open the default-interest window
// and the claims statement, and the menu's other entries do what the bar's buttons do.

#include "app/claims/verzug.h"
#include "app/commandline.h"
#include "app/forderung/forderung.h"
#include "platform/gui/application.h"
#include "tests/app/windows.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using BarWindows = ProgramWindows;

// The platform's window is active before the widgets hear of it.
bool WaitForActive(QWidget *window) {
    const bool active = window && QTest::qWaitForWindowActive(window);
    QCoreApplication::processEvents();
    return active;
}

// Through the window, as the desktop delivers it: the press itself makes the context-menu event.
void RightClick(QWidget *place, QPoint at = QPoint(3, 3)) {
    QTest::mouseClick(place->window()->windowHandle(), Qt::RightButton, {},
                      place->mapTo(place->window(), at));
}

QMenu *OpenPopupMenu() {
    QCoreApplication::processEvents();
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

QStringList EntriesOf(const QMenu *menu) {
    QStringList entries;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator()) entries << action->text().remove(u'&').section(u'\t', 0, 0);
    return entries;
}

} // namespace

// A right click on anything of the bar but its fields, or the menu key in a field, gives the
// bar's menu; each entry does what its button or key does.
TEST_F(BarWindows, TheBarMenuOpensTheWindowAndDoesWhatTheButtonsDo) {
    TForm1 &bar = Create();
    ASSERT_TRUE(WaitForActive(&bar));
    const QStringList entries{"Verzugszinsen …", "Forderungsaufstellung …", "Einstellungen …",
                              "Info …", "Beenden"};
    for (QWidget *place : QList<QWidget *>{bar.Image1, bar.Label2, bar.btn_ber, bar.ImgBtn1}) {
        RightClick(place);
        QMenu *menu = OpenPopupMenu();
        ASSERT_TRUE(menu) << place->objectName().toStdString();
        EXPECT_EQ(EntriesOf(menu), entries);
        QTest::keyClick(menu, Qt::Key_Escape);
        QCoreApplication::processEvents();
    }
    RightClick(bar.DateEdit1, QPoint(10, 5));
    QMenu *fieldMenu = OpenPopupMenu();
    ASSERT_TRUE(fieldMenu);
    EXPECT_FALSE(EntriesOf(fieldMenu).contains("Verzugszinsen …")) << "a field keeps its own";
    fieldMenu->close();

    const struct {
        int entry;
        QWidget *shown;
    } picks[] = {{2, form3.get()}, {3, form2.get()}};
    for (const auto &pick : picks) {
        RightClick(bar.Label1);
        QMenu *menu = OpenPopupMenu();
        ASSERT_TRUE(menu);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(menu->actions()[pick.entry]).center());
        EXPECT_TRUE(pick.shown->isVisible()) << pick.entry;
    }
    // By key the menu opens on its first entry; the X11 platform makes the Menu key a
    // context-menu request to the focused field first.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    for (const auto &open : std::initializer_list<std::function<void()>>{
             [&] { QTest::keyClick(bar.sedit1, Qt::Key_Menu); },
             [&] { QTest::keyClick(bar.sedit1, Qt::Key_F10, Qt::ShiftModifier); },
             [&] { QApplication::sendEvent(bar.DateEdit2, &request); }}) {
        bar.activateWindow();
        ASSERT_TRUE(WaitForActive(&bar));
        bar.sedit1->setFocus();
        open();
        QMenu *menu = OpenPopupMenu();
        ASSERT_TRUE(menu);
        EXPECT_EQ(EntriesOf(menu), entries);
        EXPECT_EQ(menu->activeAction(), menu->actions().constFirst());
        QTest::keyClick(menu, Qt::Key_Escape);
    }
    EXPECT_EQ(bar.Window("verzug"), nullptr) << "made only when asked for";
    QTest::keyClick(bar.sedit1, Qt::Key_F10, Qt::ShiftModifier);
    QMenu *menu = OpenPopupMenu();
    ASSERT_TRUE(menu);
    QTest::keyClick(menu, Qt::Key_Return);
    auto *form = qobject_cast<TVerzugForm *>(bar.Window("verzug"));
    ASSERT_TRUE(form);
    EXPECT_TRUE(WaitForActive(form));
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Amount");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the bar stays usable";
}

// A start with a case file asks for the claims statement with the file, its name whole whatever
// it holds; Beenden with unsaved changes there asks first, and Abbrechen keeps the program.
TEST_F(BarWindows, ACaseFileOpensInTheClaimsWindowAndEndingAsksAboutItsChanges) {
    TForm1 &bar = Create();
    const QTemporaryDir out;
    const QString path = out.filePath("Müller ./. Schmidt #1 100%.tarvo").replace(" ./. ", " - ");
    ASSERT_TRUE(QFile::copy(TARVO_ENGINE_TEST_DATA "/mueller-schmidt.tarvo", path));
    QDir::setCurrent(out.path());
    const QString request = WindowAskedFor({"tarvo", QFileInfo(path).fileName()});
    EXPECT_TRUE(request.startsWith("forderung file://"));
    ASSERT_TRUE(bar.OpenWindow(request));
    auto *form = qobject_cast<TForderungForm *>(bar.Window("forderung"));
    ASSERT_TRUE(form && form->isVisible());
    EXPECT_EQ(form->FilePath(), path);
    EXPECT_FALSE(form->Report().Statement.Bookings.empty());

    form->findChild<QLineEdit *>("Reference")->setText("neu");
    desktop.choice = -1;
    bar.btn_endClick(bar.btn_end);
    EXPECT_EQ(desktop.questions.size(), 1);
    EXPECT_FALSE(TApplication::Instance()->Terminated());
    EXPECT_TRUE(form->isVisible());
    desktop.choice = 1;
    form->close();
}

// Last: it asks the program to end.
TEST_F(BarWindows, BeendenInTheBarMenuEndsAsEndeDoes) {
    TForm1 &bar = Create();
    RightClick(bar.Label1);
    QMenu *menu = OpenPopupMenu();
    ASSERT_TRUE(menu);
    QTest::keyClick(menu, Qt::Key_B);
    EXPECT_TRUE(TApplication::Instance()->Terminated());
}
