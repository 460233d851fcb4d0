#include "pictures/storedpicture.h"

#include <QResource>
#include <QtEndian>

#include <cstring>

namespace {

constexpr char Magic[4] = {'T', 'P', 'X', 'D'};
constexpr qint64 HeaderSize = 24;
constexpr quint32 HasTransparentColor = 1, HasMasked = 2;

void AppendWord(QByteArray &out, quint32 word) {
    char bytes[4];
    qToLittleEndian(word, bytes);
    out.append(bytes, 4);
}

void AppendPixels(QByteArray &out, const QImage &image, QImage::Format format) {
    const QImage pixels = image.convertToFormat(format);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            AppendWord(out, line[x]);
    }
}

// Over the stored words themselves where they are little-endian words in place; else a copy.
QImage Pixels(const uchar *from, int width, int height, QImage::Format format) {
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN && reinterpret_cast<quintptr>(from) % 4 == 0)
        return QImage(from, width, height, qsizetype(width) * 4, format);
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x, from += 4)
            line[x] = qFromLittleEndian<quint32>(from);
    }
    return image;
}

} // namespace

QByteArray StorePicture(const TPicture &picture) {
    QByteArray out(Magic, 4);
    const std::optional<QRgb> transparent = picture.TransparentColor();
    const bool masked = !picture.MaskedImage().isNull();
    AppendWord(out, quint32(picture.Kind()));
    AppendWord(out, quint32(picture.Width()));
    AppendWord(out, quint32(picture.Height()));
    AppendWord(out, (transparent ? HasTransparentColor : 0) | (masked ? HasMasked : 0));
    AppendWord(out, transparent.value_or(0));
    AppendPixels(out, picture.Image(), QImage::Format_RGB32);
    if (masked) AppendPixels(out, picture.MaskedImage(), QImage::Format_ARGB32_Premultiplied);
    return out;
}

std::optional<TPicture> StoredPicture(const uchar *data, qint64 size) {
    if (!data || size < HeaderSize || std::memcmp(data, Magic, 4) != 0) return std::nullopt;
    const auto word = [data](int index) { return qFromLittleEndian<quint32>(data + 4 * index); };
    const quint32 kind = word(1), width = word(2), height = word(3), flags = word(4);
    if (kind < quint32(TPictureKind::pkBitmap) || kind > quint32(TPictureKind::pkJpeg) ||
        width == 0 || height == 0 || width > quint32(MaxPictureSide) ||
        height > quint32(MaxPictureSide) || qint64(width) * height > MaxPicturePixels)
        return std::nullopt;
    const qint64 pixelBytes = qint64(width) * height * 4;
    if (size != HeaderSize + pixelBytes * ((flags & HasMasked) ? 2 : 1)) return std::nullopt;
    const uchar *pixels = data + HeaderSize;
    const QImage image = Pixels(pixels, int(width), int(height), QImage::Format_RGB32);
    const QImage masked = (flags & HasMasked) ? Pixels(pixels + pixelBytes, int(width), int(height),
                                                       QImage::Format_ARGB32_Premultiplied)
                                              : QImage();
    const std::optional<QRgb> transparent =
        (flags & HasTransparentColor) ? std::optional<QRgb>(word(5)) : std::nullopt;
    return TPicture::FromDecoded(TPictureKind(kind), image, masked, transparent);
}

TPicture LoadPictureResource(const QString &path) {
    const QResource stored(path + QStringLiteral(".decoded"));
    if (stored.isValid() && stored.compressionAlgorithm() == QResource::NoCompression)
        if (std::optional<TPicture> picture = StoredPicture(stored.data(), stored.size()))
            return *picture;
    return TPicture::FromFile(path);
}
