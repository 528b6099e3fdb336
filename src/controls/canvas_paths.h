// Paths in one of the slider's pens: a polyline p0 -> p1 -> ... -> pn drawn as MoveTo and LineTo, so every
// vertex but the last is painted.
#pragma once
#include <initializer_list>

#include "controls/gdi_objects.h"

inline void Polyline(Canvas& dc, std::initializer_list<POINT> points) {
    const POINT* p = points.begin();
    if (p == points.end()) return;
    dc.MoveTo(p->x, p->y);
    for (++p; p != points.end(); ++p)
        dc.LineTo(p->x, p->y);
}

inline void Stroke(Canvas& dc, CSelectedObject& penSlot, const CPen& pen,
                   std::initializer_list<POINT> points) {
    penSlot.Select(pen);
    Polyline(dc, points);
}
