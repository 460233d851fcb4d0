#pragma once
// The three decoders behind TPicture. Each either returns a complete picture or throws
// EInvalidGraphic; none trusts a size it reads before checking it against the limits.

#include <QByteArray>
#include <QImage>
#include <optional>

struct TDecodedPicture {
    QImage Image; // Format_RGB32
    // GIF only: the image with its transparent pixels cleared, and their palette colour.
    QImage Masked;
    std::optional<QRgb> TransparentColor;
};

// Throws EInvalidGraphic when the size is zero or beyond the limits.
void CheckPictureSize(qint64 width, qint64 height, const char *kind);

QImage DecodeBmp(const QByteArray &data);
TDecodedPicture DecodeGif(const QByteArray &data);
QImage DecodeJpeg(const QByteArray &data);
