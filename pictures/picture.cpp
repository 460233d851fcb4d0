#include "pictures/picture.h"

#include "pictures/decoders_p.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

namespace {

// Far beyond any picture within the size limits, so a huge file is refused unread.
constexpr qint64 MaxPictureFileSize = 64 * 1024 * 1024;

TPictureKind KindOf(const QByteArray &data) {
    if (data.startsWith("BM")) return TPictureKind::pkBitmap;
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) return TPictureKind::pkGif;
    if (data.startsWith("\xFF\xD8\xFF")) return TPictureKind::pkJpeg;
    return TPictureKind::pkNone;
}

QImage ClearColor(const QImage &image, QRgb color) {
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (color & 0xFFFFFF)) line[x] = 0;
    }
    return masked.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

void CheckPictureSize(qint64 width, qint64 height, const char *kind) {
    if (width <= 0 || height <= 0)
        throw EInvalidGraphic(Exception::Format(QStringLiteral("Ungültige Bildgröße (%s)"),
                                                {QString::fromLatin1(kind)}));
    if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
        throw EInvalidGraphic(Exception::Format(
            QStringLiteral("Bild ist zu groß: %s × %s Pixel (%s)"),
            {QString::number(width), QString::number(height), QString::fromLatin1(kind)}));
}

void TPicture::LoadFromData(const QByteArray &data) {
    Clear();
    if (data.isEmpty()) throw EInvalidGraphic(QStringLiteral("Keine Bilddaten"));
    TPicture result;
    result.FKind = KindOf(data);
    switch (result.FKind) {
    case TPictureKind::pkNone:
        throw EInvalidGraphic(QStringLiteral("Unbekanntes Bildformat"));
    case TPictureKind::pkBitmap:
        result.FImage = DecodeBmp(data);
        result.FTransparentColor = result.FImage.pixel(0, result.FImage.height() - 1);
        result.FMasked = ClearColor(result.FImage, *result.FTransparentColor);
        break;
    case TPictureKind::pkGif: {
        TDecodedPicture gif = DecodeGif(data);
        result.FImage = gif.Image;
        result.FMasked = gif.Masked;
        result.FTransparentColor = gif.TransparentColor;
        break;
    }
    case TPictureKind::pkJpeg:
        result.FImage = DecodeJpeg(data);
        break;
    }
    *this = result;
}

void TPicture::LoadFromFile(const QString &fileName) {
    Clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(
            Exception::Format(QStringLiteral("Bilddatei %s: %s"), {fileName, file.errorString()}));
    if (file.size() > MaxPictureFileSize)
        throw EInvalidGraphic(
            Exception::Format(QStringLiteral("Bilddatei %s ist zu groß"), {fileName}));
    const QByteArray data = file.readAll();
    try {
        LoadFromData(data);
    } catch (const EInvalidGraphic &error) {
        throw EInvalidGraphic(fileName + QStringLiteral(": ") + error.Message());
    }
}

TPicture TPicture::FromFile(const QString &fileName) {
    TPicture picture;
    picture.LoadFromFile(fileName);
    return picture;
}

TPicture TPicture::FromBitmapImage(const QImage &image) {
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    TPicture picture;
    picture.LoadFromData(bmp);
    return picture;
}

TPicture TPicture::FromDecoded(TPictureKind kind, const QImage &image, const QImage &masked,
                               std::optional<QRgb> transparentColor) {
    TPicture picture;
    if (kind == TPictureKind::pkNone || image.isNull()) return picture;
    picture.FKind = kind;
    picture.FImage = image;
    picture.FMasked = masked;
    picture.FTransparentColor = transparentColor;
    return picture;
}

void TPicture::Clear() {
    *this = TPicture();
}

const QImage &TPicture::ImageFor(bool transparent) const {
    return transparent && !FMasked.isNull() ? FMasked : FImage;
}

void TPicture::Draw(QPainter &painter, QPoint at, bool transparent) const {
    if (!IsEmpty()) painter.drawImage(at, ImageFor(transparent));
}

void TPicture::StretchDraw(QPainter &painter, const QRect &target, bool transparent) const {
    if (IsEmpty() || target.isEmpty()) return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, ImageFor(transparent));
    painter.restore();
}
