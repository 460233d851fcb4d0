// The picture button under real pointer input: moves without a button go through the
// offscreen platform (which reports enter and leave), presses, drags, releases and double
// clicks are Qt Test mouse events sent to the button as Qt's pointer grab delivers them.

#include "app/artwork/artwork.h"
#include "controls/imgbtn.h"

#include <QCursor>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TPicture Solid(QColor color) {
    QImage image(40, 15, QImage::Format_RGB32);
    image.fill(color);
    return TPicture::FromBitmapImage(image);
}

// Moves the pointer away from every window, so that where an earlier test left it does not
// enter a button when its window appears.
void ParkPointer() {
    QCursor::setPos(QPoint(700, 550));
    QCoreApplication::processEvents();
}

const QColor PicColor(200, 0, 0), UpColor(0, 200, 0), DownColor(0, 0, 200),
    DeactiveColor(128, 128, 128);

enum Step { Enter, Leave, Press, Release, DragOff, DragBack, DoubleClick, Disable, Enable };

struct Row {
    const char *Name;
    bool Supported;
    std::vector<Step> Steps;
    // The picture shown after each step.
    std::vector<const char *> Pictures;
    // The events raised, in order; a click notes the picture shown while it runs.
    const char *Events;
};

void PrintTo(const Row &row, std::ostream *out) {
    *out << row.Name;
}

class ImgBtnStates : public ::testing::TestWithParam<Row> {
protected:
    ImgBtnStates() : button(nullptr, &window) {
        window.resize(200, 60);
        button.setGeometry(20, 20, 40, 15);
        button.SetPic(Solid(PicColor));
        button.SetPicUp(Solid(UpColor));
        button.SetPicDown(Solid(DownColor));
        button.SetPicDeactive(Solid(DeactiveColor));
        button.SetSupported(GetParam().Supported);
        auto note = [this](const char *what) {
            return [this, what](const TMouseMessage &) { Note(what); };
        };
        button.OnMouseEnter = note("enter");
        button.OnMouseLeave = note("leave");
        button.OnMouseDown = note("down");
        button.OnMouseUp = note("up");
        button.OnClick = [this](TObject *sender) {
            EXPECT_EQ(sender, static_cast<TObject *>(&button));
            Note("click(" + Shown() + ")");
        };
        ParkPointer();
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(&window, Outside);
    }

    void Note(const std::string &what) { events += (events.empty() ? "" : " ") + what; }

    std::string Shown() const {
        const TPicture &shown = button.Picture();
        if (shown.IsEmpty()) return "none";
        const QColor c = shown.Image().pixelColor(0, 0);
        return c == PicColor        ? "Pic"
               : c == UpColor       ? "PicUp"
               : c == DownColor     ? "PicDown"
               : c == DeactiveColor ? "PicDeactive"
                                    : "other";
    }

    void Run(Step step) {
        switch (step) {
        case Enter: // no button held: a real pointer move, the platform reports the crossing
            QTest::mouseMove(&button, Inside);
            pointer = Inside;
            break;
        case Leave:
            QTest::mouseMove(&window, Outside);
            pointer = button.mapFrom(&window, Outside);
            break;
        case Press:
            QTest::mousePress(&button, Qt::LeftButton, {}, pointer);
            break;
        case Release:
            QTest::mouseRelease(&button, Qt::LeftButton, {}, pointer);
            break;
        case DragOff: // button held: the grab sends the moves to the button
            pointer = QPoint(-15, 30);
            QTest::mouseMove(&button, pointer);
            break;
        case DragBack:
            pointer = QPoint(10, 8);
            QTest::mouseMove(&button, pointer);
            break;
        case DoubleClick:
            QTest::mouseDClick(&button, Qt::LeftButton, {}, pointer);
            break;
        case Disable:
            button.setEnabled(false);
            break;
        case Enable:
            button.setEnabled(true);
            break;
        }
    }

    const QPoint Inside{5, 5};
    const QPoint Outside{150, 50}; // in window coordinates
    QPoint pointer;
    QWidget window;
    TImgBtn button;
    std::string events;
};

TEST_P(ImgBtnStates, FollowsTheTransitionTable) {
    const Row &row = GetParam();
    ASSERT_EQ(row.Steps.size(), row.Pictures.size());
    EXPECT_EQ(Shown(), "Pic");
    for (size_t i = 0; i < row.Steps.size(); ++i) {
        Run(row.Steps[i]);
        EXPECT_EQ(Shown(), row.Pictures[i]) << "after step " << i;
    }
    EXPECT_EQ(events, row.Events);
}

const Row Rows[] = {
    {"HoverAndLeave", true, {Enter, Leave}, {"PicUp", "Pic"}, "enter leave"},
    {"ClickRunsBeforeThePictureChangesBack",
     true,
     {Enter, Press, Release, Leave},
     {"PicUp", "PicDown", "PicUp", "Pic"},
     "enter down click(PicDown) up leave"},
    {"PressDragOffDragBackRelease",
     true,
     {Enter, Press, DragOff, DragBack, Release},
     {"PicUp", "PicDown", "Pic", "PicDown", "PicUp"},
     "enter down leave enter click(PicDown) up"},
    {"PressDragOffReleaseDoesNotClick",
     true,
     {Enter, Press, DragOff, Release},
     {"PicUp", "PicDown", "Pic", "Pic"},
     "enter down leave up"},
    {"DoubleClickClicksOnce",
     true,
     {Enter, Press, Release, DoubleClick, Release},
     {"PicUp", "PicDown", "PicUp", "PicUp", "PicUp"},
     "enter down click(PicDown) up up"},
    {"DisableWhileHoveredThenEnableShowsPic",
     true,
     {Enter, Disable, Leave, Enter, Enable, Leave, Enter},
     {"PicUp", "PicDeactive", "PicDeactive", "PicDeactive", "Pic", "Pic", "PicUp"},
     "enter leave enter"},
    {"EnabledWhileAwayThenEnterShowsPicUp",
     true,
     {Enter, Disable, Leave, Enable, Enter},
     {"PicUp", "PicDeactive", "PicDeactive", "Pic", "PicUp"},
     "enter enter"},
    {"PressWithoutEnterLeavesThePicture",
     true,
     {Press, Release},
     {"Pic", "Pic"},
     "down click(Pic) up"},
    {"UnsupportedOnlyClicks",
     false,
     {Enter, Press, Release, Disable, Enable, Leave},
     {"Pic", "Pic", "Pic", "PicDeactive", "Pic", "Pic"},
     "click(Pic)"},
};

INSTANTIATE_TEST_SUITE_P(ImgBtn, ImgBtnStates, ::testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.Name); });

// Press and release go through the window, so Qt's own grab and its enter and leave
// bookkeeping are at work; the modal dialog makes Qt report the pointer as gone.
TEST(ImgBtn, ModalClickHandlerKeepsPicDownShowing) {
    QWidget window;
    window.resize(200, 60);
    TImgBtn button(nullptr, &window);
    button.setGeometry(20, 20, 40, 15);
    button.SetPic(Solid(PicColor));
    button.SetPicUp(Solid(UpColor));
    button.SetPicDown(Solid(DownColor));
    ParkPointer();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto shown = [&] { return button.Picture().Image().pixelColor(0, 0).name().toStdString(); };
    std::vector<std::string> whileOpen;
    button.OnClick = [&](TObject *) {
        QDialog dialog(&window);
        // Posted events run before the test's modal-dialog watchdog gets its turn.
        QMetaObject::invokeMethod(
            &dialog,
            [&] {
                whileOpen.push_back(shown());
                dialog.accept();
            },
            Qt::QueuedConnection);
        dialog.exec();
        whileOpen.push_back(shown());
    };
    QTest::mouseMove(&button, QPoint(10, 5));
    QWindow *handle = window.windowHandle();
    const QPoint onButton = button.mapTo(&window, QPoint(10, 5));
    QTest::mousePress(handle, Qt::LeftButton, {}, onButton);
    const std::string down = DownColor.name().toStdString();
    EXPECT_EQ(shown(), down);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, onButton);
    EXPECT_EQ(whileOpen, (std::vector<std::string>{down, down}));
    QCoreApplication::processEvents(); // the pointer is reported back once the dialog is gone
    EXPECT_EQ(shown(), UpColor.name().toStdString());
}

TEST(ImgBtn, SettingPicShowsItAtOnceTheOthersDoNot) {
    TImgBtn button(nullptr);
    button.SetPicUp(Solid(UpColor));
    button.SetPicDown(Solid(DownColor));
    button.SetPicDeactive(Solid(DeactiveColor));
    EXPECT_TRUE(button.Picture().IsEmpty());
    button.SetPic(Solid(PicColor));
    EXPECT_EQ(button.Picture().Image().pixelColor(0, 0), PicColor);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(button.testAttribute(Qt::WA_NativeWindow));
}

TEST(ImgBtn, AutoSizeFollowsEachShownPicture) {
    TImgBtn button(nullptr);
    button.resize(10, 10);
    button.SetAutoSize(true);
    button.SetPic(LoadArtwork(QStringLiteral("btn_einstellungen.bmp")));
    EXPECT_EQ(button.size(), QSize(118, 15));
    button.SetPicDeactive(LoadArtwork(QStringLiteral("btn_ende.bmp")));
    button.setEnabled(false);
    EXPECT_EQ(button.size(), QSize(45, 15));
}

// With Transparent the white corner of a slanted bar button lets the window show through,
// for the normal picture and for every picture swapped in.
TEST(ImgBtn, TransparentLeavesOutTheWhiteCorner) {
    const QColor background(40, 90, 160);
    QWidget window;
    window.resize(200, 40);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, background);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    TImgBtn button(nullptr, &window);
    button.move(10, 10);
    button.SetAutoSize(true);
    button.SetTransparent(true);
    const TPicture normal = LoadArtwork(QStringLiteral("btn_berechnen.bmp"));
    const TPicture hover = LoadArtwork(QStringLiteral("btn_berechnen_hover.bmp"));
    button.SetPic(normal);
    button.SetPicUp(hover);
    ParkPointer();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(button.Picture().Image(), normal.Image());

    auto pixel = [&](int x, int y) {
        const QPixmap grab = window.grab();
        EXPECT_EQ(grab.devicePixelRatio(), 1.0);
        return grab.toImage().pixelColor(10 + x, 10 + y);
    };
    const QPoint corner(0, 14), face(50, 7);
    ASSERT_EQ(normal.Image().pixelColor(corner), QColor(Qt::white));
    EXPECT_EQ(pixel(corner.x(), corner.y()), background);
    EXPECT_EQ(pixel(face.x(), face.y()), normal.Image().pixelColor(face));

    QTest::mouseMove(&button, QPoint(60, 7));
    ASSERT_EQ(button.Picture().Image(), hover.Image());
    EXPECT_EQ(pixel(corner.x(), corner.y()), background);
    EXPECT_EQ(pixel(face.x(), face.y()), hover.Image().pixelColor(face));

    button.SetTransparent(false);
    EXPECT_EQ(pixel(corner.x(), corner.y()), QColor(Qt::white));
}

} // namespace
