#include "platform/gui/fonts.h"

QString SubstituteFontFamily(const QString &family) {
    if (family.compare(u"Small Fonts", Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Sans");
    if (family.compare(u"MS Sans Serif", Qt::CaseInsensitive) == 0 ||
        family.compare(u"Arial", Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    return family;
}

QFont LayoutFont(const QString &family, int height, unsigned style) {
    QFont font(SubstituteFontFamily(family));
    if (height < 0)
        font.setPixelSize(-height);
    else if (height > 0)
        font.setPointSize(height);
    font.setBold(style & fsBold);
    font.setItalic(style & fsItalic);
    font.setUnderline(style & fsUnderline);
    font.setStrikeOut(style & fsStrikeOut);
    return font;
}
