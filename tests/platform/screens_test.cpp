#include "platform/gui/screens.h"

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
        {{300, 500}, {one}, {300, 500}},            // inside: unchanged
        {{300, 500}, {half}, {5, 452}},             // the same at scale 2
        {{-10, -10}, {one}, {0, 0}},                // over the top left corner
        {{300, 10}, {panelled}, {300, 30}},         // under a panel at the top
        {{99999, 99999}, {one}, {645, 964}},        // far off: the nearest corner
        {{900, 500}, {left, right}, {645, 500}},    // across two screens, more on the left
        {{1100, 500}, {left, right}, {1280, 500}},  // more of it on the right one
        {{1500, 100}, {left, right}, {1500, 200}},  // the right screen starts lower
        {{50, 50}, {QRect(0, 0, 600, 40)}, {0, 0}}, // larger than the screen: its top left
        {{50, 50}, {}, {50, 50}},                   // no screen known: as it stands
    };
    for (const auto &c : cases)
        EXPECT_EQ(PlaceInside(QRect(c.stored, bar), c.areas), c.expected)
            << c.stored.x() << "/" << c.stored.y();
}

// A window as large as the stored one, or the screen at a scale of 2 allows.
TEST(FitInside, BoundsTheSizeToTheAreaItMovesInto) {
    const QRect one(0, 0, 1280, 1024), half(0, 0, 640, 512), right(1280, 200, 1024, 768);
    const struct {
        QRect frame;
        QList<QRect> areas;
        QRect expected;
    } cases[] = {
        {{100, 100, 720, 600}, {one}, {100, 100, 720, 600}},
        {{100, 100, 720, 600}, {half}, {0, 0, 640, 512}},
        {{2000, 900, 1400, 900}, {one, right}, {1280, 200, 1024, 768}},
        {{100, 100, 720, 600}, {}, {100, 100, 720, 600}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FitInside(c.frame, c.areas), c.expected) << c.frame.x() << "/" << c.frame.y();
}

// The default-interest window beside the bar (635 × 60 at 20/20 on a 1280 × 1024 screen).
TEST(PlaceClearOf, MovesBesideTheObstacleKeepingMostOfTheSize) {
    const QRect area(0, 0, 1280, 1024), bar(20, 20, 635, 60);
    const QSize least(300, 200);
    const struct {
        QRect frame, area;
        QRect expected;
    } cases[] = {
        {{280, 212, 720, 600}, area, {280, 212, 720, 600}}, // clear already
        {{40, 30, 720, 600}, area, {40, 80, 720, 600}},     // under the bar: just below it
        {{40, 30, 720, 990}, area, {40, 80, 720, 944}},     // below, as tall as the room is
        {{40, 30, 1280, 1024}, area, {0, 80, 1280, 944}},   // the whole screen: below the bar
        {{40, 30, 720, 600}, {0, 0, 700, 250}, {40, 30, 720, 600}},   // no room anywhere
        {{600, 30, 720, 600}, {0, 0, 1280, 400}, {655, 0, 625, 400}}, // right of it, taller
    };
    for (const auto &c : cases)
        EXPECT_EQ(PlaceClearOf(c.frame, bar, c.area, least), c.expected)
            << c.frame.x() << "/" << c.frame.y();
}
