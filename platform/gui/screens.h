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

// The frame made no larger than an area and moved wholly inside it, into the area it reaches
// by the least movement (as PlaceInside chooses). The frame as it is without areas.
QRect FitInside(const QRect &frame, const QList<QRect> &areas);

// The frame moved, and where it must be made smaller (never below `least`), to lie inside the
// area and clear of the obstacle: below, above, right or left of it, wherever it keeps most
// of its size and, of those, moves least. The frame as it is when it is clear already or when
// no side has room for `least`.
QRect PlaceClearOf(const QRect &frame, const QRect &obstacle, const QRect &area, QSize least);

// Moves a window that is about to be shown so that its frame stands in the middle of the area.
void CentreWindow(QWidget &window, const QRect &area);

// Restores a minimised window, else raises and activates it.
void BringWindowForward(QWidget &window);
