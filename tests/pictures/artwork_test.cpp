// The compiled-in pictures: kind, size and colour depth as the windows expect them, the
// see-through colours the controls rely on, and visibly distinct button states.

#include "app/artwork/artwork.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

int BmpBitCount(const QString &name) {
    QFile file(QStringLiteral(":/artwork/") + name);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray header = file.read(30);
    return qFromLittleEndian<quint16>(header.constData() + 28);
}

struct Expected {
    const char *Name;
    TPictureKind Kind;
    QSize Size;
    int BitCount; // bitmaps only
};

const Expected Pictures[] = {
    {"bar_background.jpg", TPictureKind::pkJpeg, {635, 40}, 0},
    {"dialog_background.jpg", TPictureKind::pkJpeg, {300, 200}, 0},
    {"btn_berechnen.bmp", TPictureKind::pkBitmap, {102, 15}, 24},
    {"btn_berechnen_hover.bmp", TPictureKind::pkBitmap, {102, 15}, 24},
    {"btn_berechnen_down.bmp", TPictureKind::pkBitmap, {102, 15}, 24},
    {"btn_ende.bmp", TPictureKind::pkBitmap, {45, 15}, 24},
    {"btn_ende_hover.bmp", TPictureKind::pkBitmap, {45, 15}, 24},
    {"btn_ende_down.bmp", TPictureKind::pkBitmap, {45, 15}, 24},
    {"btn_einstellungen.bmp", TPictureKind::pkBitmap, {118, 15}, 24},
    {"btn_einstellungen_hover.bmp", TPictureKind::pkBitmap, {118, 15}, 24},
    {"btn_einstellungen_down.bmp", TPictureKind::pkBitmap, {118, 15}, 24},
    {"btn_info.gif", TPictureKind::pkGif, {45, 15}, 0},
    {"btn_info_hover.bmp", TPictureKind::pkBitmap, {45, 15}, 24},
    {"btn_info_down.bmp", TPictureKind::pkBitmap, {45, 15}, 24},
    {"btn_speichern.bmp", TPictureKind::pkBitmap, {94, 15}, 24},
    {"btn_speichern_hover.bmp", TPictureKind::pkBitmap, {94, 15}, 24},
    {"btn_speichern_down.bmp", TPictureKind::pkBitmap, {94, 15}, 24},
    {"btn_schliessen.bmp", TPictureKind::pkBitmap, {94, 15}, 24},
    {"btn_schliessen_hover.bmp", TPictureKind::pkBitmap, {94, 15}, 24},
    {"btn_schliessen_down.bmp", TPictureKind::pkBitmap, {94, 15}, 24},
    {"DATEGLYPH", TPictureKind::pkBitmap, {28, 12}, 4},
    {"PREV2", TPictureKind::pkBitmap, {8, 6}, 1},
    {"PREV1", TPictureKind::pkBitmap, {8, 6}, 1},
    {"NEXT1", TPictureKind::pkBitmap, {8, 6}, 1},
    {"NEXT2", TPictureKind::pkBitmap, {8, 6}, 1},
};

TEST(Artwork, EveryPictureHasItsKindSizeAndDepth) {
    for (const Expected &e : Pictures) {
        const QString name = QString::fromLatin1(e.Name);
        const TPicture picture = LoadArtwork(name);
        EXPECT_EQ(picture.Kind(), e.Kind) << e.Name;
        EXPECT_EQ(picture.Size(), e.Size) << e.Name;
        if (e.Kind == TPictureKind::pkBitmap) {
            EXPECT_EQ(BmpBitCount(name), e.BitCount) << e.Name;
        }
    }
}

TEST(Artwork, SeeThroughColours) {
    for (const char *button :
         {"btn_berechnen", "btn_ende", "btn_einstellungen", "btn_speichern", "btn_schliessen"})
        for (const char *state : {"", "_hover", "_down"}) {
            const QString name = QString::fromLatin1(button) + state + ".bmp";
            EXPECT_EQ(LoadArtwork(name).TransparentColor(), qRgb(255, 255, 255))
                << name.toStdString();
        }
    EXPECT_EQ(LoadArtwork(QStringLiteral("btn_info.gif")).TransparentColor(), qRgb(255, 255, 255));
    const TPicture glyph = LoadArtwork(QStringLiteral("DATEGLYPH"));
    EXPECT_EQ(glyph.TransparentColor(), qRgb(255, 0, 255));
    for (const char *step : {"PREV2", "PREV1", "NEXT1", "NEXT2"}) {
        const TPicture picture = LoadArtwork(QString::fromLatin1(step));
        EXPECT_EQ(picture.TransparentColor(), qRgb(255, 255, 255)) << step;
        EXPECT_TRUE(picture.Image().allGray()) << step;
    }
}

// Pure white is the see-through colour of the slanted buttons: outside the corner triangle
// it would let the background show through the face or the letters.
TEST(Artwork, ButtonFacesHoldNoPureWhite) {
    const TPicture picture = LoadArtwork(QStringLiteral("btn_einstellungen.bmp"));
    int white = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 8; x < picture.Width(); ++x)
            white += picture.Image().pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_EQ(white, 0);
    EXPECT_EQ(picture.Image().pixel(0, 14), qRgb(255, 255, 255));
    EXPECT_NE(picture.Image().pixel(0, 0), qRgb(255, 255, 255));
}

int DifferentPixels(const QImage &a, const QImage &b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST(Artwork, HoverAndPressedDifferVisiblyFromNormal) {
    struct Set {
        const char *Normal, *Hover, *Down;
    } sets[] = {
        {"btn_berechnen.bmp", "btn_berechnen_hover.bmp", "btn_berechnen_down.bmp"},
        {"btn_ende.bmp", "btn_ende_hover.bmp", "btn_ende_down.bmp"},
        {"btn_einstellungen.bmp", "btn_einstellungen_hover.bmp", "btn_einstellungen_down.bmp"},
        {"btn_info.gif", "btn_info_hover.bmp", "btn_info_down.bmp"},
        {"btn_speichern.bmp", "btn_speichern_hover.bmp", "btn_speichern_down.bmp"},
        {"btn_schliessen.bmp", "btn_schliessen_hover.bmp", "btn_schliessen_down.bmp"}};
    for (const Set &s : sets) {
        const QImage normal = LoadArtwork(QString::fromLatin1(s.Normal)).Image();
        const QImage hover = LoadArtwork(QString::fromLatin1(s.Hover)).Image();
        const QImage down = LoadArtwork(QString::fromLatin1(s.Down)).Image();
        const int area = normal.width() * normal.height();
        EXPECT_GT(DifferentPixels(normal, hover), area / 2) << s.Hover;
        EXPECT_GT(DifferentPixels(normal, down), area / 2) << s.Down;
        EXPECT_GT(DifferentPixels(hover, down), area / 2) << s.Down;
    }
}

} // namespace
