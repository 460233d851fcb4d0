// The system's message boxes: each opens over the window it belongs to, centred on it, and
// above the program's windows that stay on top, where such a window would otherwise hide the
// box that holds the focus.

#include "platform/gui/systemdesktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct TSeenBox {
    QWidget *Owner = nullptr;
    bool OnTop = false;
    QPoint Centre;
};

// Shows the box and looks at it from within its own loop, then closes it.
TSeenBox Look(const std::function<void()> &show) {
    TSeenBox seen;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box) return;
        seen.Owner = box->parentWidget();
        seen.OnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.Centre = box->frameGeometry().center();
        box->close();
    });
    show();
    return seen;
}

} // namespace

TEST(SystemDesktop, ABoxOpensCentredOverItsWindowAndAboveThoseOnTop) {
    TSystemDesktop desktop;
    QWidget bar, window;
    bar.setWindowFlag(Qt::WindowStaysOnTopHint);
    bar.setGeometry(20, 20, 600, 40);
    window.setGeometry(150, 150, 500, 400);
    for (const bool barShown : {false, true}) {
        bar.setVisible(barShown);
        window.show();
        for (const auto &show : std::initializer_list<std::function<void()>>{
                 [&] { desktop.ShowMessage("Verzugszinsen", "Die Datei fehlt."); },
                 [&] { desktop.ShowError("Tarvo", "Fehler"); },
                 [&] { desktop.Ask("Verzugszinsen", "Ersetzen?", "Ersetzen"); }}) {
            window.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
            const TSeenBox seen = Look(show);
            EXPECT_EQ(seen.Owner, &window);
            EXPECT_EQ(seen.OnTop, barShown) << "above the bar that stays on top";
            EXPECT_LE((seen.Centre - window.frameGeometry().center()).manhattanLength(), 2);
        }
    }
    // Just after a dialog closed no window is active; the one the user worked in last holds
    // the box.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QApplication::setActiveWindow(nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_EQ(Look([&] { desktop.ShowMessage("Verzugszinsen", "Die Datei fehlt."); }).Owner,
              &window);
}
