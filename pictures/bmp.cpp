// Bitmaps: the header is checked here (size, depth, compression, enough pixel data) so that
// Qt's reader only ever sees files it can read completely.

#include "pictures/decoders_p.h"
#include "pictures/picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

namespace {

constexpr int FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;
constexpr quint32 BI_RGB = 0, BI_BITFIELDS = 3;

[[noreturn]] void Fail(const char *what) {
    throw EInvalidGraphic(
        Exception::Format(QStringLiteral("Ungültige Bitmap: %s"), {QString::fromUtf8(what)}));
}

template <typename T> T Read(const QByteArray &data, qsizetype at) {
    return qFromLittleEndian<T>(data.constData() + at);
}

} // namespace

QImage DecodeBmp(const QByteArray &data) {
    if (data.size() < FileHeaderSize + 4) Fail("Daten unvollständig");
    const quint32 pixelOffset = Read<quint32>(data, 10);
    const quint32 infoSize = Read<quint32>(data, FileHeaderSize);
    if (infoSize != CoreHeaderSize && infoSize < 40) Fail("unbekannter Kopf");
    if (data.size() < FileHeaderSize + qsizetype(infoSize)) Fail("Daten unvollständig");

    qint64 width, height;
    int bitCount;
    quint32 compression = BI_RGB;
    const qsizetype info = FileHeaderSize;
    if (infoSize == CoreHeaderSize) {
        width = Read<quint16>(data, info + 4);
        height = Read<quint16>(data, info + 6);
        bitCount = Read<quint16>(data, info + 10);
    } else {
        width = Read<qint32>(data, info + 4);
        height = Read<qint32>(data, info + 8); // negative: rows stored top-down
        bitCount = Read<quint16>(data, info + 14);
        compression = Read<quint32>(data, info + 16);
    }
    height = height < 0 ? -height : height;
    CheckPictureSize(width, height, "BMP");
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        Fail("Farbtiefe nicht unterstützt");
    // Run-length packed bitmaps cannot be checked for completeness up front; the program's
    // pictures never use them.
    if (compression != BI_RGB &&
        !(compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32)))
        Fail("Kompression nicht unterstützt");
    const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
    if (pixelOffset < FileHeaderSize + infoSize ||
        qint64(pixelOffset) + rowBytes * height > data.size())
        Fail("Daten unvollständig");

    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    // The format is known: guessing it would load every image plug-in Qt has.
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!reader.read(&image)) Fail(reader.errorString().toUtf8().constData());
    if (image.width() != width || image.height() != height) Fail("Größe widersprüchlich");
    return image.convertToFormat(QImage::Format_RGB32);
}
