#pragma once
// The raised and sunken edges of the editors' buttons, frames and panels: a one-pixel ring
// just inside a rectangle, its top and left in one colour, its bottom and right (with the two
// corners they share with the others) in another.

#include "platform/gui/canvas.h"

inline void DrawEdge(TCanvas &canvas, const TRect &rect, const QColor &topLeft,
                     const QColor &bottomRight) {
    const int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
    canvas.Pen.Color = topLeft;
    canvas.MoveTo(l, b);
    canvas.LineTo(l, t);
    canvas.LineTo(r + 1, t);
    canvas.Pen.Color = bottomRight;
    canvas.MoveTo(l, b);
    canvas.LineTo(r, b);
    canvas.LineTo(r, t - 1);
}
