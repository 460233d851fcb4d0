#pragma once
// Pictures kept decoded: the parts of a TPicture (kind, pixels, the pixels drawn transparent,
// the transparent colour) stored as they are, so that showing a compiled-in picture runs no
// decoder. The build stores the bar's pictures this way, decoded by TPicture itself, so they
// are the same pixels the decoders give.
//
// The stored form: "TPXD", then little-endian 32-bit words: kind, width, height, flags (1: a
// transparent colour, 2: transparent pixels follow), the transparent colour; then the pixels
// as Format_RGB32 words, and when flagged the transparent ones as Format_ARGB32_Premultiplied.

#include "pictures/picture.h"

#include <QByteArray>
#include <QString>
#include <optional>

QByteArray StorePicture(const TPicture &picture);

// The picture in `data`, or nothing when it is not in the stored form. The pixels are used
// where they lie when they can be: `data` must then outlive the picture and its copies, as a
// compiled-in resource does.
std::optional<TPicture> StoredPicture(const uchar *data, qint64 size);

// A compiled-in picture (":/artwork/btn_ende.bmp"): its stored form, kept beside it as
// "<path>.decoded", when the build made one; else the picture decoded. Throws EInvalidGraphic
// as TPicture::FromFile does.
TPicture LoadPictureResource(const QString &path);
