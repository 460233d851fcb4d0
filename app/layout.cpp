#include "app/layout_p.h"

#include "platform/gui/accessibility.h"
#include "platform/gui/fonts.h"

#include <QShortcut>
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

void SetStaysOnTop(QWidget &window, bool value) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, value);
    if (flags == window.windowFlags()) return;
    // Changing the widget's flags would hide and re-create a shown window; the native window
    // takes the hint as it is (_NET_WM_STATE_ABOVE under X11), without moving or flickering.
    window.overrideWindowFlags(flags);
    if (QWindow *native = window.windowHandle()) native->setFlags(flags);
}

void AddShortcut(QWidget &window, const QList<QKeySequence> &keys, const QString &spoken,
                 const std::function<void()> &action, QWidget *control) {
    for (const QKeySequence &key : keys) {
        auto *shortcut = new QShortcut(key, &window);
        QObject::connect(shortcut, &QShortcut::activated, &window, action);
    }
    if (control) AddAccessibleKeys(*control, keys);
    QWidget &described = control ? *control : window;
    const QString known = described.accessibleDescription();
    described.setAccessibleDescription(known.isEmpty() ? spoken
                                                       : known + QStringLiteral(", ") + spoken);
}
