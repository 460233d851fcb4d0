#include "app/artwork/artwork.h"

#include <QHash>
#include <QImageReader>
#include <QPixmap>

// Pictures are values that share their pixels, so each is decoded once and handed out as
// copies: the dialogs share the background, the buttons their pictures.
TPicture LoadArtwork(const QString &name) {
    static QHash<QString, TPicture> decoded;
    if (const auto found = decoded.constFind(name); found != decoded.cend()) return *found;
    const TPicture picture = TPicture::FromFile(QStringLiteral(":/artwork/") + name);
    decoded.insert(name, picture);
    return picture;
}

// Read as PNG outright: a reader left to tell the format by itself first loads every image
// plug-in Qt has, which would cost the start more than the three pictures do.
QIcon LoadProgramIcon() {
    QIcon icon;
    for (const char *size : {"16", "32", "48"}) {
        QImageReader reader(QStringLiteral(":/artwork/tarvo_%1.png").arg(QLatin1String(size)),
                            "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}
