#pragma once
// Where a window may stand: the screens' available areas (without panels and docks), the rule
// that keeps a window wholly on one of them, and bringing a window to the front.

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

QList<QRect> AvailableScreenAreas();

// The frame's own top left when it lies wholly inside one of the areas; otherwise the nearest
// place that does, the frame moved the least distance. A frame larger than an area is put at
// that area's top left edge along the side that does not fit. The frame as it is without areas.
QPoint PlaceInside(const QRect &frame, const QList<QRect> &areas);

// Restores a minimised window, else raises and activates it.
void BringWindowForward(QWidget &window);
