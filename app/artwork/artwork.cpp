#include "app/artwork/artwork.h"

TPicture LoadArtwork(const QString &name) {
    return TPicture::FromFile(QStringLiteral(":/artwork/") + name);
}
