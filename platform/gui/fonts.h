#pragma once
// Fonts as the layouts name them. The layouts' families are mapped onto installed ones of the
// same widths: "MS Sans Serif" and "Arial" onto Liberation Sans, "Small Fonts" onto DejaVu
// Sans, whose bold 9-pixel text is as wide as the labels were laid out for. A negative height
// is a size in pixels, a positive one in points.

#include "platform/gui/colors.h"

#include <QFont>
#include <QString>

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

QString SubstituteFontFamily(const QString &family);
QFont LayoutFont(const QString &family, int height, unsigned style = 0);

// A control's font as the layouts give it, colour included, so that a font can be copied and
// restored whole.
struct TFont {
    QString Name = QStringLiteral("MS Sans Serif");
    int Height = -11; // 8 points at the layouts' 96 dots per inch
    unsigned Style = 0;
    TColor Color = clWindowText;

    QFont ToQFont() const { return LayoutFont(Name, Height, Style); }
    bool operator==(const TFont &) const = default;
};
