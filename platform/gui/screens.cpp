#include "platform/gui/screens.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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
        const qint64 distance = qint64(shift.x()) * shift.x() + qint64(shift.y()) * shift.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = inside;
        }
    }
    return best;
}

QRect FitInside(const QRect &frame, const QList<QRect> &areas) {
    QRect best = frame;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QRect &area : areas) {
        const QRect bounded(frame.topLeft(), frame.size().boundedTo(area.size()));
        const QRect placed(PlaceInside(bounded, {area}), bounded.size());
        const QPoint shift = placed.topLeft() - frame.topLeft();
        const qint64 distance = qint64(shift.x()) * shift.x() + qint64(shift.y()) * shift.y();
        if (distance < bestDistance) {
            bestDistance = distance;
            best = placed;
        }
    }
    return best;
}

QRect PlaceClearOf(const QRect &frame, const QRect &obstacle, const QRect &area, QSize least) {
    if (!frame.intersects(obstacle)) return frame;
    const QRect rooms[] = {
        QRect(QPoint(area.left(), obstacle.bottom() + 1), area.bottomRight()),
        QRect(area.topLeft(), QPoint(area.right(), obstacle.top() - 1)),
        QRect(QPoint(obstacle.right() + 1, area.top()), area.bottomRight()),
        QRect(area.topLeft(), QPoint(obstacle.left() - 1, area.bottom())),
    };
    QRect best = frame;
    qint64 bestLost = -1, bestDistance = 0;
    for (const QRect &room : rooms) {
        if (room.width() < least.width() || room.height() < least.height()) continue;
        const QRect placed = FitInside(frame, {room});
        const qint64 lost =
            qint64(frame.width()) * frame.height() - qint64(placed.width()) * placed.height();
        const QPoint shift = placed.topLeft() - frame.topLeft();
        const qint64 distance = qint64(shift.x()) * shift.x() + qint64(shift.y()) * shift.y();
        if (bestLost < 0 || lost < bestLost || (lost == bestLost && distance < bestDistance)) {
            best = placed;
            bestLost = lost;
            bestDistance = distance;
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

void CentreWindow(QWidget &window, const QRect &area) {
    window.winId(); // the frame's size is known once the native window exists
    QRect frame = window.geometry().marginsAdded(window.windowHandle()->frameMargins());
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}
