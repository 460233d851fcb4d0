#include "app/bar/layout_p.h"

#include "platform/gui/fonts.h"

#include <QWindow>

void SetUpDialog(QWidget &form, const QString &caption, QSize clientSize, TColor color) {
    form.setWindowTitle(caption);
    form.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    form.setFixedSize(clientSize);
    QPalette colours = form.palette();
    colours.setColor(QPalette::Window, ColorToQColor(color));
    form.setPalette(colours);
    form.setAutoFillBackground(true);
    form.setFont(LayoutFont(QStringLiteral("MS Sans Serif"), -11));
    form.setAttribute(Qt::WA_QuitOnClose, false);
}

void SetStaysOnTop(QWidget &window, bool value) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, value);
    if (flags == window.windowFlags()) return;
    // Changing the widget's flags would hide and re-create a shown window; the native window
    // takes the hint as it is (_NET_WM_STATE_ABOVE under X11), without moving or flickering.
    window.overrideWindowFlags(flags);
    if (QWindow *native = window.windowHandle()) native->setFlags(flags);
}
