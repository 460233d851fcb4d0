#include "platform/screens.h"

#include <gtest/gtest.h>

// The bar's frame, 635 × 40 with a 20-pixel title bar, on one or two screens. At twice the
// scale a 1280 × 1024 screen is 640 × 512 to the program.
TEST(PlaceInside, MovesTheLeastDistanceOntoOneScreen) {
    const QSize bar(635, 60);
    const QRect one(0, 0, 1280, 1024), half(0, 0, 640, 512), panelled(0, 30, 1280, 994);
    const QRect left(0, 0, 1280, 1024), right(1280, 200, 1024, 768);
    const struct {
        QPoint stored;
        QList<QRect> areas;
        QPoint expected;
    } cases[] = {
        {{300, 500}, {one}, {300, 500}},             // inside: unchanged
        {{300, 500}, {half}, {5, 452}},              // the same at scale 2
        {{-10, -10}, {one}, {0, 0}},                 // over the top left corner
        {{300, 10}, {panelled}, {300, 30}},          // under a panel at the top
        {{99999, 99999}, {one}, {645, 964}},         // far off: the nearest corner
        {{900, 500}, {left, right}, {645, 500}},     // across two screens, more on the left
        {{1100, 500}, {left, right}, {1280, 500}},   // more of it on the right one
        {{1500, 100}, {left, right}, {1500, 200}},   // the right screen starts lower
        {{50, 50}, {QRect(0, 0, 600, 40)}, {0, 0}},  // larger than the screen: its top left
        {{50, 50}, {}, {50, 50}},                    // no screen known: as it stands
    };
    for (const auto &c : cases)
        EXPECT_EQ(PlaceInside(QRect(c.stored, bar), c.areas), c.expected)
            << c.stored.x() << "/" << c.stored.y();
}
