// The relief label: its setters, the colours of its passes against a coverage map of the plain
// caption, and turned text. A pass is checked where it alone shows: its shifted caption covers
// the pixel fully and no later pass touches it, so edge smoothing never blends into a check.

#include "controls/mrv3drlabel.h"
#include "controls/mrv3drlabel_p.h"
#include "platform/fonts.h"

#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor White(255, 255, 255);

// A white window with a label at (Origin) in it, drawn as the window is.
class Board {
public:
    Board() {
        window.resize(320, 320);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, White);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
    }
    template <typename Label> Label &Add(const QString &caption) {
        auto *label = new Label(nullptr, &window);
        label->SetCaption(caption);
        label->setFont(LayoutFont(QStringLiteral("Arial"), -27, fsBold));
        label->SetAutoSize(false);
        label->setGeometry(Origin.x(), Origin.y(), 260, 40);
        label->SetColor(clWhite);
        label->SetTransparent(false);
        return *label;
    }
    QImage Grab() {
        QImage image = window.grab().toImage();
        EXPECT_EQ(image.devicePixelRatio(), 1.0);
        return image;
    }

    static constexpr QPoint Origin{20, 20};
    QWidget window;
};

// How much of each pixel the plain caption covers, from a plain label drawn black on white.
class Coverage {
public:
    explicit Coverage(const QString &caption) {
        Board board;
        TLabel &plain = board.Add<TLabel>(caption);
        plain.SetFontColor(clBlack);
        FImage = board.Grab();
    }
    bool Full(QPoint at) const { return Gray(at) == 0; }
    bool None(QPoint at) const { return Gray(at) == 255; }

private:
    int Gray(QPoint at) const { return FImage.valid(at) ? qGray(FImage.pixel(at)) : 255; }
    QImage FImage;
};

struct Pass {
    QPoint Shift;
    QColor Color;
};

// Checks each pass where it alone shows; gives how many pixels were checked per pass.
std::vector<int> CheckPasses(const QImage &image, const Coverage &coverage,
                             const std::vector<Pass> &passes) {
    std::vector<int> checked(passes.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            for (size_t k = 0; k < passes.size(); ++k) {
                const QPoint at(x, y);
                bool alone = coverage.Full(at - passes[k].Shift);
                for (size_t later = k + 1; alone && later < passes.size(); ++later)
                    alone = coverage.None(at - passes[later].Shift);
                if (!alone) continue;
                ++checked[k];
                EXPECT_EQ(image.pixelColor(at), passes[k].Color)
                    << "pass " << k << " at " << x << "," << y;
            }
    return checked;
}

const QString Title = QStringLiteral("Tarvo 2.3 free");
const QColor Green(0, 128, 0), Grey(128, 128, 128), Dark(0, 77, 0), Light(119, 247, 119);

TEST(MRV3DRLabel, ShadowBelowRightDrawsGreyDarkLightThenTheFace) {
    const Coverage coverage(Title);
    Board board;
    TMRV3DRLabel &label = board.Add<TMRV3DRLabel>(Title);
    label.SetTextRotation(0);
    label.SetStyle(mrvShadowRB);
    label.SetBaseColor(clGreen);
    const std::vector<int> checked =
        CheckPasses(board.Grab(), coverage,
                    {{{3, 3}, Grey}, {{1, 1}, Dark}, {{-1, -1}, Light}, {{0, 0}, Green}});
    for (int count : checked)
        EXPECT_GT(count, 0);
}

TEST(MRV3DRLabel, DisabledKeepsTheReliefAndDrawsTheFaceInGreyText) {
    const Coverage coverage(Title);
    Board board;
    TMRV3DRLabel &label = board.Add<TMRV3DRLabel>(Title);
    label.SetTextRotation(0);
    label.SetStyle(mrvShadowRB);
    label.setEnabled(false);
    const std::vector<int> checked = CheckPasses(
        board.Grab(), coverage,
        {{{3, 3}, Grey}, {{1, 1}, Dark}, {{-1, -1}, Light}, {{0, 0}, ColorToQColor(clGrayText)}});
    for (int count : checked)
        EXPECT_GT(count, 0);
}

// No relief: ink only where the plain caption has it, the face colour where it covers fully.
TEST(MRV3DRLabel, No3DDrawsTheCaptionOnceLikeAPlainLabel) {
    const Coverage coverage(Title);
    Board board;
    TMRV3DRLabel &label = board.Add<TMRV3DRLabel>(Title);
    label.SetTextRotation(0);
    label.SetStyle(mrvNo3D);
    const QImage image = board.Grab();
    int face = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QPoint at(x, y);
            if (coverage.None(at)) {
                ASSERT_EQ(image.pixelColor(at), White) << x << "," << y;
            } else if (coverage.Full(at)) {
                ASSERT_EQ(image.pixelColor(at), Green) << x << "," << y;
                ++face;
            }
        }
    EXPECT_GT(face, 0);
}

TEST(MRV3DRLabel, BackgroundIsFilledUnlessTransparent) {
    Board board;
    TMRV3DRLabel &label = board.Add<TMRV3DRLabel>(QString());
    label.SetColor(clYellow);
    const QPoint inside = Board::Origin + QPoint(5, 5);
    EXPECT_EQ(board.Grab().pixelColor(inside), QColor(255, 255, 0));
    label.SetTransparent(true);
    EXPECT_EQ(board.Grab().pixelColor(inside), White);
}

TEST(MRV3DRLabel, TextRotationIsKeptWithinAFullTurn) {
    const std::pair<int, int> rows[] = {{-90, 270}, {450, 90},   {360, 360}, {720, 360}, {-360, 0},
                                        {-720, 0},  {-450, 270}, {0, 0},     {359, 359}, {-1, 359}};
    for (const auto &[written, kept] : rows) {
        TMRV3DRLabel label(nullptr);
        label.SetTextRotation(written);
        EXPECT_EQ(label.TextRotation(), kept) << written;
    }
}

TEST(MRV3DRLabel, BaseColorAlwaysSetsTheFontColourButNotTheOtherWayRound) {
    TMRV3DRLabel label(nullptr);
    EXPECT_EQ(label.FontColor(), TColor(clGreen));
    label.SetBaseColor(clMaroon);
    EXPECT_EQ(label.FontColor(), TColor(clMaroon));
    label.SetFontColor(clNavy); // as a layout sets it after the base colour
    EXPECT_EQ(label.BaseColor(), TColor(clMaroon));
    label.SetBaseColor(clMaroon); // unchanged base colour, font colour set all the same
    EXPECT_EQ(label.FontColor(), TColor(clMaroon));
}

// Text of width 100 and height 20: where its cell's corner starts and the box it fills.
TEST(MRV3DRLabel, TurnedTextIsPlacedInItsBoundingBox) {
    struct Row {
        int Angle;
        TRotatedTextBox Box;
    };
    const Row rows[] = {
        {10, {0, 17, 101, 36}},    {45, {0, 70, 84, 84}},   {90, {0, 100, 20, 100}},
        {100, {17, 101, 36, 101}}, {135, {70, 84, 84, 84}}, {200, {100, 18, 99, 52}},
        {225, {84, 14, 84, 84}},   {290, {18, 0, 52, 99}},  {315, {14, 0, 84, 84}},
        {360, {0, 0, 100, 20}},
    };
    for (const Row &row : rows) {
        const TRotatedTextBox box = RotatedTextBox(row.Angle, 100, 20);
        EXPECT_EQ(box, row.Box) << row.Angle << ": " << box.DX << "," << box.DY << " " << box.Width
                                << "x" << box.Height;
    }
}

// A quarter turn stands the caption on its end, reading upwards from the bottom-left, and
// AutoSize gives the label its text's height as width and its width as height.
TEST(MRV3DRLabel, QuarterTurnStartsAtTheBottomAndSizesTheLabelHeightByWidth) {
    Board board;
    TMRV3DRLabel &label = board.Add<TMRV3DRLabel>(QStringLiteral("Tarvo"));
    label.SetStyle(mrvNo3D);
    label.SetFontColor(clBlack);
    label.SetAutoSize(true);
    label.SetTextRotation(90);
    const QFontMetrics metrics(label.font());
    const int w = metrics.horizontalAdvance(QStringLiteral("Tarvo")), h = metrics.height();
    board.Grab(); // the size follows the turned text as it paints
    EXPECT_EQ(label.size(), QSize(h, w));
    const QImage image = board.Grab();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != White) ink |= QRect(x, y, 1, 1);
    EXPECT_TRUE(label.geometry().contains(ink));
    EXPECT_GT(ink.height(), w - 6);
    // The "T" lies across the bottom: its bar is the leftmost ink, low in the label.
    int leftmostY = -1;
    for (int y = 0; y < image.height() && leftmostY < 0; ++y)
        if (image.pixelColor(ink.left(), y) != White) leftmostY = y;
    EXPECT_GT(leftmostY, label.y() + w / 2);
}

} // namespace
