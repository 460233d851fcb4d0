// The platform's pixel rules, checked pixel by pixel on a small white image.

#include "platform/gui/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : image(20, 20, QImage::Format_RGB32) { image.fill(Qt::white); }
    template <typename Draw> void Paint(Draw draw) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing); // the canvas must switch it off
        TCanvas canvas(painter);
        draw(canvas);
    }
    // The painted pixels as rows of '#' (black), 'o' (other colour) and '.' (white).
    std::string Rows(int x1, int y1, int x2, int y2) const {
        std::string out;
        for (int y = y1; y < y2; ++y) {
            for (int x = x1; x < x2; ++x) {
                const QRgb c = image.pixel(x, y);
                out += c == qRgb(255, 255, 255) ? '.' : c == qRgb(0, 0, 0) ? '#' : 'o';
            }
            out += '\n';
        }
        return out;
    }
    QImage image;
};

TEST_F(CanvasTest, LinesIncludeStartAndExcludeEnd) {
    Paint([](TCanvas &c) {
        c.MoveTo(1, 1);
        c.LineTo(5, 1); // horizontal
        c.MoveTo(1, 3);
        c.LineTo(1, 6); // vertical
        c.MoveTo(3, 3);
        c.LineTo(6, 6); // diagonal
        c.MoveTo(7, 7);
        c.LineTo(7, 7); // empty
    });
    EXPECT_EQ(Rows(0, 0, 8, 8), "........\n"
                                ".####...\n"
                                "........\n"
                                ".#.#....\n"
                                ".#..#...\n"
                                ".#...#..\n"
                                "........\n"
                                "........\n");
}

TEST_F(CanvasTest, RectangleCoversUpToButExcludingTheSecondCorner) {
    Paint([](TCanvas &c) {
        c.Brush.Color = Qt::red;
        c.Rectangle(1, 1, 6, 5);
        c.Pen.Style = TPenStyle::psClear;
        c.Rectangle(7, 1, 9, 3); // brush only, still the full area
        c.Brush.Style = TBrushStyle::bsClear;
        c.Pen.Style = TPenStyle::psSolid;
        c.Rectangle(1, 6, 4, 9); // outline only
    });
    EXPECT_EQ(Rows(0, 0, 10, 10), "..........\n"
                                  ".#####.oo.\n"
                                  ".#ooo#.oo.\n"
                                  ".#ooo#....\n"
                                  ".#####....\n"
                                  "..........\n"
                                  ".###......\n"
                                  ".#.#......\n"
                                  ".###......\n"
                                  "..........\n");
}

TEST_F(CanvasTest, EllipseAndRoundRectStayInsideTheirRectangle) {
    Paint([](TCanvas &c) {
        c.Ellipse(2, 2, 12, 10);
        c.RoundRect(2, 12, 12, 18, 4, 4);
    });
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inEllipse = x >= 2 && x < 12 && y >= 2 && y < 10;
            const bool inRound = x >= 2 && x < 12 && y >= 12 && y < 18;
            if (!inEllipse && !inRound) {
                EXPECT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
            }
        }
    // The outline reaches every side of its rectangle.
    EXPECT_EQ(image.pixel(2, 6), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(11, 6), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 9), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(2, 15), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(11, 15), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 17), qRgb(0, 0, 0));
    // Only hard pixels: antialiasing is off.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb c = image.pixel(x, y);
            EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) << x << "," << y;
        }
}

TEST_F(CanvasTest, RoundRectCornersComeOutAlike) {
    Paint([](TCanvas &c) {
        c.Brush.Color = Qt::black;
        c.RoundRect(1, 1, 7, 7, 2, 2); // a dot whose corner ellipses are single pixels
        c.Brush.Color = Qt::red;
        c.RoundRect(9, 1, 19, 9, 6, 6);
    });
    EXPECT_EQ(Rows(0, 0, 8, 8), "........\n"
                                ".######.\n"
                                ".######.\n"
                                ".######.\n"
                                ".######.\n"
                                ".######.\n"
                                ".######.\n"
                                "........\n");
    EXPECT_EQ(image.pixel(9, 1), qRgb(255, 255, 255)); // the corners are round
    for (int y = 1; y < 9; ++y)
        for (int x = 9; x < 19; ++x) {
            EXPECT_EQ(image.pixel(x, y), image.pixel(27 - x, y)) << x << "," << y;
            EXPECT_EQ(image.pixel(x, y), image.pixel(x, 9 - y)) << x << "," << y;
        }
}

TEST_F(CanvasTest, PixelAndFillRect) {
    Paint([](TCanvas &c) {
        c.SetPixel(0, 0, Qt::black);
        c.Brush.Color = Qt::black;
        c.FillRect(TRect{2, 1, 4, 3});
    });
    EXPECT_EQ(Rows(0, 0, 5, 4), "#....\n"
                                "..##.\n"
                                "..##.\n"
                                ".....\n");
}

TEST_F(CanvasTest, TextIsPlacedByFlagsAndClippedToItsRectangle) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    image = QImage(60, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    TRect left{0, 0, 60, 20}, right{0, 0, 60, 20}, clipped{0, 0, 4, 20}, measured{0, 0, 0, 0};
    int measuredHeight = 0;
    Paint([&](TCanvas &c) {
        c.Font = font;
        measuredHeight = c.DrawText(measured, QStringLiteral("&Ab"), DT_CALCRECT | DT_SINGLELINE);
        EXPECT_EQ(measured.Width(), c.TextWidth(QStringLiteral("Ab")));
        c.DrawText(clipped, QStringLiteral("WWW"), DT_SINGLELINE);
    });
    EXPECT_EQ(measuredHeight, measured.Height());
    for (int y = 0; y < 20; ++y)
        for (int x = 4; x < 60; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << "outside the clip " << x;

    auto inkColumns = [&](unsigned format, TRect rect) {
        image.fill(Qt::white);
        Paint([&](TCanvas &c) {
            c.Font = font;
            c.DrawText(rect, QStringLiteral("I"), format);
        });
        int first = 60, last = -1;
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 20; ++y)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return std::pair(first, last);
    };
    EXPECT_LT(inkColumns(DT_LEFT | DT_SINGLELINE, left).first, 10);
    EXPECT_GT(inkColumns(DT_RIGHT | DT_SINGLELINE, right).second, 50);
    const auto centred = inkColumns(DT_CENTER | DT_SINGLELINE, left);
    EXPECT_NEAR((centred.first + centred.second) / 2.0, 30, 2);
}

TEST_F(CanvasTest, ExpandTabsMovesToTheNextTabStopAndOtherwiseATabIsASpace) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int tabStop = 8 * metrics.horizontalAdvance(u'x');
    image = QImage(120, 20, QImage::Format_RGB32);
    auto firstInkOfB = [&](unsigned format) {
        image.fill(Qt::white);
        Paint([&](TCanvas &c) {
            c.Font = font;
            TRect rect{0, 0, 120, 20};
            c.DrawText(rect, QStringLiteral("\tB"), format);
        });
        for (int x = 0; x < 120; ++x)
            for (int y = 0; y < 20; ++y)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) return x;
        return -1;
    };
    EXPECT_NEAR(firstInkOfB(DT_EXPANDTABS), tabStop, 2);
    EXPECT_NEAR(firstInkOfB(DT_LEFT), metrics.horizontalAdvance(u' '), 2);
}

} // namespace
