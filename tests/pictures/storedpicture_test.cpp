// Pictures kept decoded: the build's stored forms are the decoders' pixels, used where they
// lie; any form round-trips, and a damaged one is refused rather than read past its end.

#include "pictures/storedpicture.h"

#include <QDir>
#include <QResource>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

void ExpectSame(const TPicture &actual, const TPicture &expected, const QString &name) {
    EXPECT_EQ(actual.Kind(), expected.Kind()) << name.toStdString();
    EXPECT_EQ(actual.Image(), expected.Image()) << name.toStdString();
    EXPECT_EQ(actual.MaskedImage(), expected.MaskedImage()) << name.toStdString();
    EXPECT_EQ(actual.TransparentColor(), expected.TransparentColor()) << name.toStdString();
}

std::optional<TPicture> Read(const QByteArray &stored) {
    return StoredPicture(reinterpret_cast<const uchar *>(stored.constData()), stored.size());
}

} // namespace

TEST(StoredPicture, TheBuildsFormsAreTheDecodedPicturesUsedInPlace) {
    const QStringList stored = QDir(QStringLiteral(":/artwork")).entryList({"*.decoded"});
    EXPECT_EQ(stored.size(), 18) << "the bar's pictures and the glyphs";
    for (const QString &file : stored) {
        const QString original = QStringLiteral(":/artwork/") + file.chopped(8);
        const TPicture picture = LoadPictureResource(original);
        ExpectSame(picture, TPicture::FromFile(original), file);
        const QResource resource(QStringLiteral(":/artwork/") + file);
        EXPECT_EQ(picture.Image().constBits(), resource.data() + 24)
            << "no copy: " << file.toStdString();
    }
}

TEST(StoredPicture, AnyPictureComesBackWhereverItLies) {
    for (const char *name : {"btn_ende.bmp", "btn_info.gif", "bar_background.jpg", "PREV1"}) {
        const QString path = QStringLiteral(":/artwork/") + QString::fromLatin1(name);
        const TPicture picture = TPicture::FromFile(path);
        const QByteArray stored = StorePicture(picture);
        ExpectSame(*Read(stored), picture, path);
        // One byte off: the pixels are copied out instead of used in place.
        const QByteArray shifted = QByteArray(1, '\0') + stored;
        ExpectSame(
            *StoredPicture(reinterpret_cast<const uchar *>(shifted.constData()) + 1, stored.size()),
            picture, path);
    }
}

TEST(StoredPicture, DamagedFormsAreRefused) {
    const QByteArray good =
        StorePicture(TPicture::FromFile(QStringLiteral(":/artwork/btn_ende.bmp")));
    const auto word = [&](int index, quint32 value) {
        QByteArray bytes = good;
        qToLittleEndian(value, bytes.data() + 4 * index);
        return bytes;
    };
    const struct {
        const char *why;
        QByteArray bytes;
    } rows[] = {
        {"empty", QByteArray()},
        {"header only", good.left(24)},
        {"one byte short", good.chopped(1)},
        {"one byte over", good + 'x'},
        {"not the form", QByteArray("BM") + good.mid(2)},
        {"no kind", word(1, 0)},
        {"unknown kind", word(1, 4)},
        {"no width", word(2, 0)},
        {"too wide", word(2, 9000)},
        {"too many pixels", word(3, 4096).replace(8, 4, word(2, 8192).mid(8, 4))},
        {"pixels beyond what is flagged", word(4, 1)},
    };
    for (const auto &row : rows)
        EXPECT_FALSE(Read(row.bytes)) << row.why;
    EXPECT_TRUE(Read(good));
}

TEST(StoredPicture, APictureWithoutAStoredFormIsDecoded) {
    const QString dialog = QStringLiteral(":/artwork/dialog_background.jpg");
    ExpectSame(LoadPictureResource(dialog), TPicture::FromFile(dialog), dialog);
    EXPECT_THROW(LoadPictureResource(QStringLiteral(":/artwork/none.bmp")), EInvalidGraphic);
}
