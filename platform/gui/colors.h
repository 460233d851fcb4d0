#pragma once
// Colours as the layouts give them: 0x00BBGGRR (low byte red) for plain colours; values with
// the top bit set name the platform's system colours, resolved through the application's
// palette.

#include <QColor>
#include <QtGlobal>

using TColor = quint32;

enum : TColor {
    clBlack = 0x000000,
    clMaroon = 0x000080,
    clGreen = 0x008000,
    clOlive = 0x008080,
    clNavy = 0x800000,
    clPurple = 0x800080,
    clTeal = 0x808000,
    clGray = 0x808080,
    clSilver = 0xC0C0C0,
    clRed = 0x0000FF,
    clLime = 0x00FF00,
    clYellow = 0x00FFFF,
    clBlue = 0xFF0000,
    clFuchsia = 0xFF00FF,
    clAqua = 0xFFFF00,
    clWhite = 0xFFFFFF,

    clSystemColor = 0x80000000,
    clWindow = clSystemColor | 5,
    clWindowFrame = clSystemColor | 6,
    clWindowText = clSystemColor | 8,
    clHighlight = clSystemColor | 13,
    clHighlightText = clSystemColor | 14,
    clBtnFace = clSystemColor | 15,
    clBtnShadow = clSystemColor | 16,
    clGrayText = clSystemColor | 17,
    clBtnText = clSystemColor | 18,
    clBtnHighlight = clSystemColor | 20,
};

constexpr TColor RGB(int red, int green, int blue) {
    return TColor(red & 0xFF) | TColor(green & 0xFF) << 8 | TColor(blue & 0xFF) << 16;
}

// A plain colour as it is; a system colour from the application's palette.
QColor ColorToQColor(TColor color);
// The plain colour of an opaque QColor.
TColor QColorToColor(const QColor &color);
