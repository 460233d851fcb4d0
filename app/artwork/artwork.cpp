#include "app/artwork/artwork.h"

#include "pictures/storedpicture.h"

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QtEndian>

// Pictures are values that share their pixels, so each is decoded once and handed out as
// copies: the dialogs share the background, the buttons their pictures.
TPicture LoadArtwork(const QString &name) {
    static QHash<QString, TPicture> decoded;
    if (const auto found = decoded.constFind(name); found != decoded.cend()) return *found;
    const TPicture picture = LoadPictureResource(QStringLiteral(":/artwork/") + name);
    decoded.insert(name, picture);
    return picture;
}

// The window's icon as raw pixels (32-bit words 0xAARRGGBB, premultiplied, little-endian):
// no image decoder, and none of its libraries, is loaded for it at start. The PNGs beside them
// are what the desktop's icon theme gets.
QIcon LoadProgramIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        const QResource pixels(QStringLiteral(":/artwork/tarvo_%1.argb").arg(size));
        if (pixels.size() != qint64(size) * size * 4 ||
            pixels.compressionAlgorithm() != QResource::NoCompression)
            continue;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        const uchar *from = pixels.data();
        for (int y = 0; y < size; ++y) {
            auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
            for (int x = 0; x < size; ++x, from += 4)
                line[x] = qFromLittleEndian<quint32>(from);
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
