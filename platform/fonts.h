#pragma once
// Fonts as the layouts name them. The layouts' families are mapped onto installed ones of the
// same widths: "MS Sans Serif" and "Arial" onto Liberation Sans, "Small Fonts" onto DejaVu
// Sans, whose bold 9-pixel text is as wide as the labels were laid out for. A negative height
// is a size in pixels, a positive one in points.

#include <QFont>
#include <QString>

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

QString SubstituteFontFamily(const QString &family);
QFont LayoutFont(const QString &family, int height, unsigned style = 0);
