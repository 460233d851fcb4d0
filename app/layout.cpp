#include "app/layout_p.h"

#include "platform/fonts.h"

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

void CentreWindow(QWidget &window, const QRect &area) {
    window.winId(); // the frame's size is known once the native window exists
    QRect frame = window.geometry().marginsAdded(window.windowHandle()->frameMargins());
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}
