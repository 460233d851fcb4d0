// The link label under real pointer and key input: the font follows the pointer, a click or
// Enter or Space hands the link to the desktop (recorded, never a real browser), and only web
// and mail links get there.

#include "controls/urllink.h"
#include "tests/support/fixtures.h"

#include <QAccessible>
#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const TFont Normal{QStringLiteral("MS Sans Serif"), -11, fsBold, clNavy};
const TFont Hover{QStringLiteral("MS Sans Serif"), -11, fsBold | fsUnderline, clBlue};
const QString Mail = QStringLiteral("mailto:info@mrv.example");

class URLLinkTest : public ::testing::Test {
protected:
    URLLinkTest() {
        window.resize(300, 100);
        link = new TURLLink(nullptr, &window);
        link->move(20, 20);
        link->SetFont(Normal);
        link->SetFocusFont(Hover);
        link->SetCaption(QStringLiteral("info@mrv.example"));
        link->SetLink(Mail);
        link->OnMouseEnter = [this](TObject *) { events << "enter:" + link->Font().Name; };
        link->OnMouseLeave = [this](TObject *) { events << "leave"; };
        QCursor::setPos(QPoint(700, 550)); // away from where the window appears
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, Outside);
    }
    void Hovering(bool inside) {
        if (inside)
            QTest::mouseMove(link, QPoint(5, 5));
        else
            QTest::mouseMove(&window, Outside);
    }
    void Click() { QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5)); }
    void ExpectShows(const TFont &font) {
        EXPECT_EQ(link->Font(), font);
        EXPECT_EQ(link->font(), font.ToQFont());
        EXPECT_EQ(link->FontColor(), font.Color);
    }

    const QPoint Outside{250, 80};
    RecordingDesktop desktop;
    QWidget window;
    TURLLink *link = nullptr;
    QStringList events;
};

// Enabled or not, the pointer switches the font; only an enabled label opens its link.
TEST_F(URLLinkTest, PointerSwitchesToTheFocusFontAndBackToTheExactFont) {
    for (bool enabled : {true, false}) {
        link->setEnabled(enabled);
        events.clear();
        Hovering(true);
        ExpectShows(Hover);
        Click();
        Hovering(false);
        ExpectShows(Normal);
        EXPECT_EQ(events, QStringList({"enter:MS Sans Serif", "leave"})) << enabled;
    }
    EXPECT_EQ(desktop.links, QStringList{Mail});
    // A font set while the pointer is away is the one restored next time.
    const TFont other{QStringLiteral("Arial"), 12, fsItalic, clMaroon};
    link->SetFont(other);
    Hovering(true);
    Hovering(false);
    ExpectShows(other);
}

TEST_F(URLLinkTest, OnlyWebAndMailLinksReachTheDesktopWhole) {
    const QString longLink = QStringLiteral("https://www.mrv.example/") + QString(300, u'a');
    const std::pair<QString, bool> rows[] = {
        {Mail, true},
        {QStringLiteral("HTTP://www.mrv.example"), true},
        {longLink, true},
        {QString(), false},
        {QStringLiteral("file:///etc/passwd"), false},
        {QStringLiteral("/usr/bin/xterm"), false},
        {QStringLiteral("tarvo"), false},
        {QStringLiteral("C:\\Windows\\notepad.exe"), false},
        {QStringLiteral("javascript:alert(1)"), false},
    };
    for (const auto &[target, opened] : rows) {
        desktop.links.clear();
        link->SetLink(target);
        Click();
        EXPECT_EQ(desktop.links, opened ? QStringList{target} : QStringList{})
            << target.toStdString();
    }
}

TEST_F(URLLinkTest, AClickHandlerAssignedLaterTakesThePlaceOfOpeningTheLink) {
    int clicks = 0;
    link->OnClick = [&](TObject *sender) { clicks += sender == link; };
    Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(desktop.links.isEmpty());
}

// Tab reaches it, a dotted frame in the font colour shows the focus, Enter and Space open it;
// a screen reader finds a link named by its caption.
TEST_F(URLLinkTest, KeyboardAndScreenReaderReachItAsALink) {
    window.setFocusPolicy(Qt::ClickFocus);
    window.setFocus();
    const QColor background = window.grab().toImage().pixelColor(20, 20);
    QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_TRUE(link->hasFocus());
    EXPECT_NE(background, ColorToQColor(clNavy));
    EXPECT_EQ(window.grab().toImage().pixelColor(20, 20), ColorToQColor(clNavy));
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(link, Qt::Key_Space);
    QTest::keyClick(link, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(desktop.links, QStringList({Mail, Mail, Mail}));
    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(link);
    EXPECT_EQ(access->role(), QAccessible::Link);
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("info@mrv.example"));
    link->SetCaption(QStringLiteral("&Web && Mail"));
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("Web & Mail"));
}

// Without a browser or a mail program the link says so instead of doing nothing.
TEST_F(URLLinkTest, ALinkNoProgramCanOpenIsReported) {
    desktop.opensLinks = false;
    for (const QString &target : {Mail, QStringLiteral("https://www.mrv.example")}) {
        link->SetLink(target);
        Click();
    }
    EXPECT_EQ(desktop.errors,
              QStringList({"Tarvo Test|Der Link „mailto:info@mrv.example“ kann nicht geöffnet werden: Es ist "
                           "kein E-Mail-Programm eingerichtet.",
                           "Tarvo Test|Der Link „https://www.mrv.example“ kann nicht geöffnet werden: Es ist "
                           "kein Webbrowser eingerichtet."}));
}

} // namespace
