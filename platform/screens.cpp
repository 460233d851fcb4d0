#include "platform/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

QList<QRect> AvailableScreenAreas() {
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

QPoint PlaceInside(const QRect &frame, const QList<QRect> &areas) {
    QPoint best = frame.topLeft();
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect &area : areas) {
        // std::clamp needs low <= high, which a frame larger than the area breaks.
        const auto fit = [](int at, int length, int low, int areaLength) {
            return std::max(low, std::min(at, low + areaLength - length));
        };
        const QPoint inside(fit(frame.x(), frame.width(), area.x(), area.width()),
                            fit(frame.y(), frame.height(), area.y(), area.height()));
        const QPoint shift = inside - frame.topLeft();
        const qint64 distance =
            qint64(shift.x()) * shift.x() + qint64(shift.y()) * shift.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = inside;
        }
    }
    return best;
}

void BringWindowForward(QWidget &window) {
    if (window.isMinimized()) {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    } else {
        window.raise();
        window.activateWindow();
    }
}
