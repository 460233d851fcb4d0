// The link label under real pointer and key input: the font follows the pointer, a click or
// Enter or Space hands the link to the desktop (recorded, never a real browser), and only web
// and mail links get there.

#include "controls/accessible.h"
#include "controls/urllink.h"
#include "tests/support/fixtures.h"

#include <QAccessible>
#include <QCursor>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const TFont Normal{QStringLiteral("MS Sans Serif"), -11, fsBold, clNavy};
const TFont Hover{QStringLiteral("MS Sans Serif"), -11, fsBold | fsUnderline, clBlue};
const QString Mail = QStringLiteral("mailto:info@morvane.example");

class URLLinkTest : public ::testing::Test {
protected:
    URLLinkTest() {
        InstallControlAccessibility();
        window.resize(300, 100);
        link = new TURLLink(nullptr, &window);
        link->move(20, 20);
        link->SetFont(Normal);
        link->SetFocusFont(Hover);
        link->SetCaption(QStringLiteral("info@morvane.example"));
        link->SetLink(Mail);
        link->OnMouseEnter = [this](TObject *) { events << "enter:" + link->Font().Name; };
        link->OnMouseLeave = [this](TObject *) { events << "leave"; };
        QCursor::setPos(QPoint(700, 550)); // away from where the window appears
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, Outside);
    }
    void Enter() { QTest::mouseMove(link, QPoint(5, 5)); }
    void Leave() { QTest::mouseMove(&window, Outside); }
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

TEST_F(URLLinkTest, PointerSwitchesToTheFocusFontAndBackToTheExactFont) {
    for (bool enabled : {true, false}) {
        link->setEnabled(enabled);
        events.clear();
        Enter();
        ExpectShows(Hover);
        Leave();
        ExpectShows(Normal);
        EXPECT_EQ(events, QStringList({"enter:MS Sans Serif", "leave"})) << enabled;
    }
    // A font set while the pointer is away is the one restored next time.
    const TFont other{QStringLiteral("Arial"), 12, fsItalic, clMaroon};
    link->SetFont(other);
    Enter();
    Leave();
    ExpectShows(other);
}

TEST_F(URLLinkTest, OnlyWebAndMailLinksReachTheDesktopWhole) {
    const QString longLink = QStringLiteral("https://www.morvane.example/") + QString(300, u'a');
    struct Row {
        QString Link;
        bool Opened;
    };
    const Row rows[] = {
        {Mail, true},
        {QStringLiteral("http://www.morvane.example"), true},
        {QStringLiteral("HTTPS://www.morvane.example/tarvo"), true},
        {longLink, true},
        {QString(), false},
        {QStringLiteral("file:///etc/passwd"), false},
        {QStringLiteral("/usr/bin/xterm"), false},
        {QStringLiteral("tarvo"), false},
        {QStringLiteral("C:\\Windows\\notepad.exe"), false},
        {QStringLiteral("javascript:alert(1)"), false},
        {QStringLiteral("www.morvane.example"), false},
    };
    for (const Row &row : rows) {
        desktop.links.clear();
        link->SetLink(row.Link);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(desktop.links, row.Opened ? QStringList{row.Link} : QStringList{})
            << row.Link.toStdString();
    }
}

TEST_F(URLLinkTest, DisabledOpensNothing) {
    link->setEnabled(false);
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_TRUE(desktop.links.isEmpty());
}

TEST_F(URLLinkTest, AClickHandlerAssignedLaterTakesThePlaceOfOpeningTheLink) {
    QStringList clicks;
    link->OnClick = [&](TObject *sender) { clicks << (sender == link ? "link" : "other"); };
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, QStringList{"link"});
    EXPECT_TRUE(desktop.links.isEmpty());
}

// Tab reaches it, Enter and Space open it, a dotted frame shows the focus, and a screen reader
// finds a link named by its caption that it can press.
TEST_F(URLLinkTest, KeyboardAndScreenReaderReachItAsALink) {
    auto *before = new QLineEdit(&window);
    before->setGeometry(20, 50, 60, 20);
    before->show();
    window.activateWindow();
    before->setFocus();
    const QPoint corner = link->mapTo(&window, QPoint(0, 0));
    EXPECT_EQ(window.grab().toImage().pixelColor(corner), window.palette().color(QPalette::Window));
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(link->hasFocus());
    EXPECT_EQ(window.grab().toImage().pixelColor(corner), ColorToQColor(clNavy));
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(link, Qt::Key_Space);
    QTest::keyClick(link, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(desktop.links, QStringList({Mail, Mail, Mail}));

    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(link);
    ASSERT_NE(access, nullptr);
    EXPECT_EQ(access->role(), QAccessible::Link);
    EXPECT_EQ(access->text(QAccessible::Name), QStringLiteral("info@morvane.example"));
    access->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(desktop.links.size(), 4);
}

} // namespace
