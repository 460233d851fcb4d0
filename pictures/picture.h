#pragma once
// One picture of any kind the windows show (bitmap, GIF or JPEG): decoded once when loaded,
// copied by value (copies share the pixels), drawn at a point or into a rectangle, with or
// without its transparent colour.

#include "platform/base/exceptions.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

class QPainter;

enum class TPictureKind { pkNone, pkBitmap, pkGif, pkJpeg };

// Data that cannot be read as a picture; the picture that tried stays empty.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// Pictures larger than this are refused before any pixel memory is taken.
inline constexpr int MaxPictureSide = 8192;
inline constexpr qint64 MaxPicturePixels = 16 * 1024 * 1024;

class TPicture {
public:
    TPicture() = default;

    // Tells the kind from the data's signature. On any fault throws EInvalidGraphic and
    // leaves the picture empty.
    void LoadFromData(const QByteArray &data);
    // Also reads Qt resources (":/artwork/...").
    void LoadFromFile(const QString &fileName);
    static TPicture FromFile(const QString &fileName);
    // Drawn pixels as a bitmap picture (so its bottom-left pixel is the transparent colour).
    static TPicture FromBitmapImage(const QImage &image);
    // A picture decoded before (see storedpicture.h): its parts as this class made them.
    static TPicture FromDecoded(TPictureKind kind, const QImage &image, const QImage &masked,
                                std::optional<QRgb> transparentColor);
    void Clear();

    bool IsEmpty() const { return FKind == TPictureKind::pkNone; }
    TPictureKind Kind() const { return FKind; }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    QSize Size() const { return FImage.size(); }
    // The opaque pixels, Format_RGB32.
    const QImage &Image() const { return FImage; }
    // What drawing transparent leaves out: a bitmap's bottom-left pixel colour, a GIF's
    // transparent palette entry; JPEG pictures have none.
    std::optional<QRgb> TransparentColor() const { return FTransparentColor; }
    // What drawing transparent draws, Format_ARGB32_Premultiplied; null without a
    // transparent colour.
    const QImage &MaskedImage() const { return FMasked; }

    void Draw(QPainter &painter, QPoint at, bool transparent) const;
    // Scales without smoothing, as a plain stretch of the pixels.
    void StretchDraw(QPainter &painter, const QRect &target, bool transparent) const;

private:
    const QImage &ImageFor(bool transparent) const;

    TPictureKind FKind = TPictureKind::pkNone;
    QImage FImage;
    // FImage with the transparent pixels cleared; null when there is no transparent colour.
    QImage FMasked;
    std::optional<QRgb> FTransparentColor;
};
