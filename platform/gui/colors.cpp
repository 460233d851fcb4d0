#include "platform/gui/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor SystemColor(int index) {
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5:
        return palette.color(QPalette::Active, QPalette::Base);
    case 6:
        return palette.color(QPalette::Active, QPalette::Shadow);
    case 8:
        return palette.color(QPalette::Active, QPalette::Text);
    case 13:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case 14:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 15:
        return palette.color(QPalette::Active, QPalette::Button);
    case 16:
        return palette.color(QPalette::Active, QPalette::Dark);
    case 17:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case 20:
        return palette.color(QPalette::Active, QPalette::Light);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

} // namespace

QColor ColorToQColor(TColor color) {
    if (color & clSystemColor) return SystemColor(int(color & 0xFF));
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

TColor QColorToColor(const QColor &color) {
    return RGB(color.red(), color.green(), color.blue());
}
