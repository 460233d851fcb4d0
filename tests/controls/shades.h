#pragma once
// The worked shade ramps the drawn controls' pixel tests compare with.

#include <QColor>
#include <QImage>
#include <set>

// Entry i of the grey ramp (all three channels alike).
inline QColor G(int i) {
    const int grey[16] = {9, 26, 43, 60, 77, 94, 111, 128, 145, 162, 179, 196, 213, 230, 247, 255};
    return QColor(grey[i], grey[i], grey[i]);
}

// Entry i of the green ramp: its green channel is the grey one; red and blue stay 0 up to the
// base and rise by 17 a step above it.
inline QColor Gr(int i) {
    const int other = i < 8 ? 0 : (i - 7) * 17;
    return QColor(other, G(i).green(), other);
}

// The colours right of x other than the background: a caption drawn without antialiasing
// shows exactly its colour.
inline std::set<QRgb> InkRightOf(const QImage &image, int x, const QColor &background) {
    std::set<QRgb> ink;
    for (int y = 0; y < image.height(); ++y)
        for (int i = x; i < image.width(); ++i)
            if (image.pixelColor(i, y) != background) ink.insert(image.pixel(i, y));
    return ink;
}
