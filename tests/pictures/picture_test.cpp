// Decoding: good pictures of each kind load with their size; every kind of bad input gives
// an empty picture and an EInvalidGraphic instead of a crash, a hang or a half picture.

#include "app/artwork/artwork.h"
#include "pictures/picture.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <gif_lib.h>
#include <gtest/gtest.h>

namespace {

QByteArray Resource(const QString &name) {
    QFile file(QStringLiteral(":/artwork/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

QByteArray Patched(QByteArray data, qsizetype at, const QByteArray &bytes) {
    data.replace(at, bytes.size(), bytes);
    return data;
}

QByteArray Le32(qint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

qsizetype JpegFrameHeader(const QByteArray &jpeg) {
    return jpeg.indexOf("\xFF\xC0");
}

struct BadInput {
    const char *Name;
    std::function<QByteArray()> Make;
    const char *MessagePart;
};

void PrintTo(const BadInput &input, std::ostream *out) {
    *out << input.Name;
}

class BadPicture : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadPicture, GivesEmptyPictureAndError) {
    const QByteArray data = GetParam().Make();
    TPicture picture = LoadArtwork(QStringLiteral("btn_ende.bmp")); // not empty before
    try {
        picture.LoadFromData(data);
        FAIL() << "no error for " << GetParam().Name;
    } catch (const EInvalidGraphic &error) {
        EXPECT_TRUE(error.Message().contains(QString::fromUtf8(GetParam().MessagePart)))
            << error.Message().toStdString();
    }
    EXPECT_TRUE(picture.IsEmpty());
    EXPECT_EQ(picture.Size(), QSize(0, 0));
}

const BadInput BadInputs[] = {
    {"ZeroBytes", [] { return QByteArray(); }, "Keine Bilddaten"},
    {"UnknownKind", [] { return QByteArray("PNG?garbage"); }, "Unbekanntes Bildformat"},
    // Bitmaps
    {"BmpSignatureOnly", [] { return QByteArray("BM"); }, "unvollständig"},
    {"BmpHeaderOnly", [] { return Resource("btn_ende.bmp").left(54); }, "unvollständig"},
    {"BmpTruncatedPixels", [] { return Resource("btn_ende.bmp").chopped(100); }, "unvollständig"},
    {"BmpHuge",
     [] {
         QByteArray b = Patched(Resource("btn_ende.bmp"), 18, Le32(100000));
         return Patched(b, 22, Le32(100000));
     },
     "zu groß: 100000 × 100000"},
    {"BmpHugeTopDown", [] { return Patched(Resource("btn_ende.bmp"), 22, Le32(-100000)); },
     "zu groß"},
    {"BmpZeroWidth", [] { return Patched(Resource("btn_ende.bmp"), 18, Le32(0)); }, "Bildgröße"},
    {"BmpMinimumHeight", [] { return Patched(Resource("btn_ende.bmp"), 22, Le32(INT32_MIN)); },
     "zu groß"},
    {"BmpOddDepth", [] { return Patched(Resource("btn_ende.bmp"), 28, QByteArray("\x07", 1)); },
     "Farbtiefe"},
    {"BmpRunLength", [] { return Patched(Resource("btn_ende.bmp"), 30, Le32(1)); }, "Kompression"},
    {"BmpBadHeaderSize", [] { return Patched(Resource("btn_ende.bmp"), 14, Le32(20)); }, "Kopf"},
    {"BmpOffsetPastEnd", [] { return Patched(Resource("btn_ende.bmp"), 10, Le32(0x7FFFFFF0)); },
     "unvollständig"},
    // GIF
    {"GifSignatureOnly", [] { return QByteArray("GIF89a"); }, "GIF"},
    {"GifTruncated",
     [] { return Resource("btn_info.gif").left(Resource("btn_info.gif").size() / 2); }, "GIF"},
    {"GifNoImage",
     [] {
         const QByteArray gif = Resource("btn_info.gif");
         const int palette = 3 << ((gif[10] & 7) + 1);
         return gif.left(13 + palette) + ';';
     },
     "kein Bild"},
    {"GifHuge", [] { return Patched(Resource("btn_info.gif"), 6, QByteArray("\xFF\xFF\xFF\xFF")); },
     "zu groß: 65535 × 65535"},
    {"GifBadCodeSize",
     [] {
         QByteArray gif = Resource("btn_info.gif");
         qsizetype desc = 13 + (3 << ((gif[10] & 7) + 1));
         if (gif[desc] == '!') // the transparency extension: 8 bytes
             desc += 8;
         EXPECT_EQ(gif[desc], ',');
         gif[desc + 10] = char(0x20); // LZW minimum code size far out of range
         return gif;
     },
     "GIF"},
    // JPEG
    {"JpegSignatureOnly", [] { return QByteArray("\xFF\xD8\xFF"); }, "JPEG"},
    {"JpegTruncated",
     [] { return Resource("bar_background.jpg").left(Resource("bar_background.jpg").size() / 2); },
     "JPEG"},
    {"JpegGarbageMarkers",
     [] { return Resource("bar_background.jpg").left(3) + QByteArray(200, '\x5A'); }, "JPEG"},
    {"JpegHuge",
     [] {
         const QByteArray jpeg = Resource("bar_background.jpg");
         return Patched(jpeg, JpegFrameHeader(jpeg) + 5, QByteArray("\xEA\x60\xEA\x60"));
     },
     "zu groß: 60000 × 60000"},
    {"JpegZeroHeight",
     [] {
         const QByteArray jpeg = Resource("bar_background.jpg");
         return Patched(jpeg, JpegFrameHeader(jpeg) + 5, QByteArray("\x00\x00", 2));
     },
     "JPEG"},
};

INSTANTIATE_TEST_SUITE_P(Decoders, BadPicture, ::testing::ValuesIn(BadInputs),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(Picture, LoadsEachKindWithItsSize) {
    struct Case {
        const char *Name;
        TPictureKind Kind;
        QSize Size;
    } cases[] = {{"btn_ende.bmp", TPictureKind::pkBitmap, {45, 15}},
                 {"btn_info.gif", TPictureKind::pkGif, {45, 15}},
                 {"bar_background.jpg", TPictureKind::pkJpeg, {635, 40}}};
    for (const Case &c : cases) {
        TPicture picture;
        picture.LoadFromData(Resource(QString::fromLatin1(c.Name)));
        EXPECT_EQ(picture.Kind(), c.Kind) << c.Name;
        EXPECT_EQ(picture.Size(), c.Size) << c.Name;
        EXPECT_FALSE(picture.IsEmpty());
    }
}

TEST(Picture, MissingFileNamesTheFile) {
    try {
        TPicture::FromFile(QStringLiteral("/nonexistent/x.bmp"));
        FAIL();
    } catch (const EInvalidGraphic &error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("/nonexistent/x.bmp")));
    }
}

// Draws the picture over blue and reads back what shows.
QImage DrawnOverBlue(const TPicture &picture, bool transparent) {
    QImage target(picture.Size(), QImage::Format_RGB32);
    target.fill(Qt::blue);
    QPainter painter(&target);
    picture.Draw(painter, QPoint(0, 0), transparent);
    return target;
}

TEST(Picture, TransparentBitmapLeavesOutItsBottomLeftColour) {
    const TPicture picture = LoadArtwork(QStringLiteral("btn_ende.bmp"));
    ASSERT_EQ(picture.TransparentColor(), qRgb(255, 255, 255));
    const QImage opaque = DrawnOverBlue(picture, false);
    const QImage transparent = DrawnOverBlue(picture, true);
    EXPECT_EQ(opaque.pixel(0, 14), qRgb(255, 255, 255));
    EXPECT_EQ(transparent.pixel(0, 14), qRgb(0, 0, 255));
    EXPECT_EQ(transparent.pixel(20, 7), opaque.pixel(20, 7)); // the face stays
}

int AppendTo(GifFileType *gif, const GifByteType *bytes, int length) {
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(bytes), length);
    return length;
}

// A 4 x 2 screen whose only image covers its left half; palette entry 1 is transparent.
QByteArray GifWithTransparentEntry() {
    QByteArray out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, AppendTo, &error);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {255, 255, 255}, {0, 0, 0}};
    ColorMapObject *map = GifMakeMapObject(4, colors);
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, 1};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    GifPixelType rows[2][2] = {{0, 1}, {2, 0}};
    EGifSetGifVersion(gif, true);
    EXPECT_NE(EGifPutScreenDesc(gif, 4, 2, 2, 0, map), GIF_ERROR);
    EXPECT_NE(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension), GIF_ERROR);
    EXPECT_NE(EGifPutImageDesc(gif, 0, 0, 2, 2, false, nullptr), GIF_ERROR);
    for (auto &row : rows)
        EXPECT_NE(EGifPutLine(gif, row, 2), GIF_ERROR);
    EXPECT_NE(EGifCloseFile(gif, &error), GIF_ERROR);
    GifFreeMapObject(map);
    return out;
}

TEST(Picture, GifDrawsItsTransparentEntryAndUncoveredScreenSeeThrough) {
    TPicture picture;
    picture.LoadFromData(GifWithTransparentEntry());
    ASSERT_EQ(picture.Size(), QSize(4, 2));
    EXPECT_EQ(picture.TransparentColor(), qRgb(0, 255, 0));
    const QImage transparent = DrawnOverBlue(picture, true);
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    EXPECT_EQ(transparent.pixel(0, 0), red);
    EXPECT_EQ(transparent.pixel(1, 0), blue); // entry 1 is left out
    EXPECT_EQ(transparent.pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(transparent.pixel(1, 1), red);
    EXPECT_EQ(transparent.pixel(3, 1), blue); // outside the image
    const QImage opaque = DrawnOverBlue(picture, false);
    EXPECT_EQ(opaque.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(opaque.pixel(3, 1), qRgb(0, 255, 0));
}

TEST(Picture, JpegHasNoTransparentColour) {
    const TPicture picture = LoadArtwork(QStringLiteral("bar_background.jpg"));
    EXPECT_FALSE(picture.TransparentColor());
    EXPECT_EQ(DrawnOverBlue(picture, true), DrawnOverBlue(picture, false));
}

TEST(Picture, StretchDrawScalesWithoutSmoothing) {
    const TPicture picture = LoadArtwork(QStringLiteral("PREV1"));
    QImage target(16, 12, QImage::Format_RGB32);
    target.fill(Qt::red);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture.StretchDraw(painter, target.rect(), false);
    painter.end();
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb c = target.pixel(x, y);
            EXPECT_TRUE(c == qRgb(0, 0, 0) || c == qRgb(255, 255, 255)) << x << "," << y;
        }
}

} // namespace
