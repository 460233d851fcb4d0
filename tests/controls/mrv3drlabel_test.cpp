// The relief label: its setters, the colours of its passes, and turned text. A pass is checked
// where it alone shows: its shifted caption covers the pixel fully and no later pass touches
// it, so edge smoothing never blends into a check. The coverage comes from a plain label.

#include "controls/mrv3drlabel.h"
#include "controls/mrv3drlabel_p.h"
#include "platform/gui/fonts.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

const QString Title = QStringLiteral("Tarvo 2.3 free");
const QColor White(255, 255, 255), Yellow(255, 255, 0);

// The caption in bold 27-pixel Arial, drawn by a label of the given kind on white.
template <typename Label> QImage Draw(const std::function<void(Label &)> &setUp) {
    QWidget window;
    window.resize(300, 100);
    window.setStyleSheet(QStringLiteral("background: white"));
    Label label(nullptr, &window);
    label.SetAutoSize(false);
    label.setGeometry(20, 20, 260, 40);
    label.setFont(LayoutFont(QStringLiteral("Arial"), -27, fsBold));
    label.SetCaption(Title);
    setUp(label);
    return window.grab().toImage();
}

struct Pass {
    QPoint Shift;
    TColor Color;
};

struct Row {
    const char *Name;
    TTextStyle Style;
    bool Enabled;
    std::vector<Pass> Passes; // in drawing order, the face last
};

class ReliefPasses : public ::testing::TestWithParam<Row> {};

TEST_P(ReliefPasses, EachPassShowsInItsColourWhereItAloneCovers) {
    const Row &row = GetParam();
    const QImage plain = Draw<TLabel>([](TLabel &label) {
        label.SetFontColor(clBlack);
        label.SetTransparent(true);
    });
    const auto coverage = [&](QPoint at) { return plain.valid(at) ? qGray(plain.pixel(at)) : 255; };
    const QImage image = Draw<TMRV3DRLabel>([&](TMRV3DRLabel &label) {
        label.SetTextRotation(0);
        label.SetStyle(row.Style);
        label.SetBaseColor(clGreen);
        label.SetColor(clYellow);
        label.setEnabled(row.Enabled);
    });
    ASSERT_EQ(image.devicePixelRatio(), 1.0);
    std::vector<int> checked(row.Passes.size());
    for (int y = 20; y < 60; ++y)
        for (int x = 20; x < 280; ++x) {
            const QPoint at(x, y);
            bool untouched = true;
            for (size_t k = 0; k < row.Passes.size(); ++k) {
                untouched = untouched && coverage(at - row.Passes[k].Shift) == 255;
                bool alone = coverage(at - row.Passes[k].Shift) == 0;
                for (size_t later = k + 1; alone && later < row.Passes.size(); ++later)
                    alone = coverage(at - row.Passes[later].Shift) == 255;
                if (!alone) continue;
                ++checked[k];
                ASSERT_EQ(image.pixelColor(at), ColorToQColor(row.Passes[k].Color))
                    << k << " at " << x << "," << y;
            }
            if (untouched) {
                ASSERT_EQ(image.pixelColor(at), Yellow) << x << "," << y;
            }
        }
    for (int count : checked)
        EXPECT_GT(count, 0);
}

constexpr TColor Grey = RGB(128, 128, 128), Dark = RGB(0, 77, 0), Light = RGB(119, 247, 119),
                 Green = RGB(0, 128, 0);
const Row Rows[] = {
    {"ShadowBelowRight",
     mrvShadowRB,
     true,
     {{{3, 3}, Grey}, {{1, 1}, Dark}, {{-1, -1}, Light}, {{}, Green}}},
    {"DisabledFaceInGreyText",
     mrvShadowRB,
     false,
     {{{3, 3}, Grey}, {{1, 1}, Dark}, {{-1, -1}, Light}, {{}, clGrayText}}},
    {"No3DOnlyTheFace", mrvNo3D, true, {{{}, Green}}},
};

INSTANTIATE_TEST_SUITE_P(MRV3DRLabel, ReliefPasses, ::testing::ValuesIn(Rows),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(MRV3DRLabel, TextRotationIsKeptWithinAFullTurn) {
    const std::pair<int, int> rows[] = {{-90, 270}, {450, 90}, {360, 360}, {720, 360},
                                        {-360, 0},  {-720, 0}, {-1, 359},  {0, 0}};
    for (const auto &[written, kept] : rows) {
        TMRV3DRLabel label(nullptr);
        label.SetTextRotation(written);
        EXPECT_EQ(label.TextRotation(), kept) << written;
    }
}

TEST(MRV3DRLabel, BaseColorAlwaysSetsTheFontColourButNotTheOtherWayRound) {
    TMRV3DRLabel label(nullptr);
    label.SetBaseColor(clMaroon);
    label.SetFontColor(clNavy); // as a layout sets it after the base colour
    EXPECT_EQ(label.BaseColor(), TColor(clMaroon));
    label.SetBaseColor(clMaroon); // unchanged base colour, font colour set all the same
    EXPECT_EQ(label.FontColor(), TColor(clMaroon));
}

// Text of width 100 and height 20: where its cell's corner starts and the box it fills.
TEST(MRV3DRLabel, TurnedTextIsPlacedInItsBoundingBox) {
    const std::pair<int, TRotatedTextBox> rows[] = {
        {10, {0, 17, 101, 36}},    {45, {0, 70, 84, 84}},   {90, {0, 100, 20, 100}},
        {100, {17, 101, 36, 101}}, {135, {70, 84, 84, 84}}, {200, {100, 18, 99, 52}},
        {225, {84, 14, 84, 84}},   {290, {18, 0, 52, 99}},  {360, {0, 0, 100, 20}},
    };
    for (const auto &[angle, expected] : rows) {
        const TRotatedTextBox box = RotatedTextBox(angle, 100, 20);
        EXPECT_EQ(box, expected) << angle << ": " << box.DX << "," << box.DY << " " << box.Width
                                 << "x" << box.Height;
    }
}

// A quarter turn reads upwards from the bottom-left corner of a label that AutoSize makes as
// wide as the text is high and as high as it is wide.
TEST(MRV3DRLabel, QuarterTurnStartsAtTheBottomOfAnHByWLabel) {
    QSize size;
    const QImage image = Draw<TMRV3DRLabel>([&](TMRV3DRLabel &label) {
        label.SetCaption(QStringLiteral("Tarvo"));
        label.SetStyle(mrvNo3D);
        label.SetFontColor(clBlack);
        label.SetTransparent(true);
        label.SetAutoSize(true);
        label.SetTextRotation(90);
        label.grab(); // the size follows the turned text as it paints
        size = label.size();
    });
    const QFontMetrics metrics(LayoutFont(QStringLiteral("Arial"), -27, fsBold));
    const int w = metrics.horizontalAdvance(QStringLiteral("Tarvo"));
    EXPECT_EQ(size, QSize(metrics.height(), w));
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != White) ink |= QRect(x, y, 1, 1);
    EXPECT_TRUE(QRect(QPoint(20, 20), size).contains(ink));
    EXPECT_GT(ink.height(), w - 6);
}

} // namespace
