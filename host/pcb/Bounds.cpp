#include "Bounds.h"

#include <algorithm>

namespace hostpcb {
namespace {

void AddRotatedRect(Box& box, Point centre, double halfX, double halfY, double rotation) {
    for (int sx : {-1, 1})
        for (int sy : {-1, 1}) {
            Point corner = Rotate({centre.x + sx * halfX, centre.y + sy * halfY}, centre, rotation);
            box.Add(corner.x, corner.y);
        }
}

Box PadBox(const Object& o) {
    const PadData& d = *o.pad;
    double x = d.top.x, y = d.top.y;
    if (o.layer == MultiLayer) {
        x = std::max({x, static_cast<double>(d.mid.x), static_cast<double>(d.bottom.x)});
        y = std::max({y, static_cast<double>(d.mid.y), static_cast<double>(d.bottom.y)});
        if (d.stackMode == 2 && d.stack)
            for (THostLayer l = 1; l <= BottomLayer; ++l) {
                x = std::max(x, static_cast<double>((*d.stack)[l].x));
                y = std::max(y, static_cast<double>((*d.stack)[l].y));
            }
    }
    x = std::max(x, static_cast<double>(d.hole));
    y = std::max(y, static_cast<double>(d.hole));
    Box box;
    AddRotatedRect(box, o.p, x / 2, y / 2, d.rotation);
    return box;
}

Box TextBox(const Object& o) {
    const TextData& d = *o.text;
    double length = static_cast<double>(d.text.size()) * d.size * 2 / 3;
    Point base = Rotate({o.p.x + length, o.p.y}, o.p, d.rotation);
    // A mirrored text reads along its rotation with its characters hanging below the baseline.
    Point up = Rotate({o.p.x, o.p.y + (d.mirrored ? -d.size : d.size)}, o.p, d.rotation);
    Box box;
    box.Add(o.p.x, o.p.y);
    box.Add(base.x, base.y);
    box.Add(up.x, up.y);
    box.Add(base.x + up.x - o.p.x, base.y + up.y - o.p.y);
    box.Grow(d.width / 2.0);
    return box;
}

Box OutlineBox(const std::vector<Segment>& outline) {
    Box box;
    for (const Segment& s : outline) {
        box.Add(s.v.x, s.v.y);
        if (s.kind == 1) box.Add(ArcBox(s.c, s.radius, s.angle1, s.angle2, 0));
    }
    return box;
}

Box ChildrenBox(const Database& db, const Object& o) {
    Box box;
    for (const auto& [h, child] : o.children) box.Add(BoundsOf(db, *child));
    return box;
}

}  // namespace

Box BoundsOf(const Database& db, const Object& o) {
    Box box;
    switch (o.kind) {
    case KindTrack:
        box.Add(o.p.x, o.p.y);
        box.Add(o.track->p2.x, o.track->p2.y);
        box.Grow(o.track->width / 2.0);
        return box;
    case KindEmbeddedBoard:
        box.Add(o.p.x, o.p.y);
        box.Add(o.track->p2.x, o.track->p2.y);
        return box;
    case KindArc:
        return ArcBox(o.p, o.arc->radius, o.arc->start, o.arc->end, o.arc->width);
    case KindPad:
        return PadBox(o);
    case KindVia:
        box.Add(o.p.x, o.p.y);
        box.Grow(o.via->size / 2.0);
        return box;
    case KindText:
        return TextBox(o);
    case KindFill: {
        Point centre{(o.p.x + o.fill->p2.x) / 2, (o.p.y + o.fill->p2.y) / 2};
        AddRotatedRect(box, centre, std::abs(o.fill->p2.x - o.p.x) / 2, std::abs(o.fill->p2.y - o.p.y) / 2,
                       o.fill->rotation);
        return box;
    }
    case KindPolygon:
    case KindBoardOutline:
    case KindSplitPlane:
    case KindRegion:
    case KindComponentBody:
        box = OutlineBox(o.shape->outline);
        if (box.Empty()) box.Add(o.p.x, o.p.y);
        return box;
    case KindComponent:
        box = ChildrenBox(db, o);
        if (box.Empty()) box.Add(o.p.x, o.p.y);
        return box;
    case KindDimension:
    case KindCoordinate:
        box = ChildrenBox(db, o);
        box.Add(o.p.x, o.p.y);
        for (const DimensionReference& r : o.dim->references) box.Add(r.point.x, r.point.y);
        return box;
    case KindNet:
        return ChildrenBox(db, o);
    case KindClass:
    case KindRule:
        return box;
    default:
        box.Add(o.p.x, o.p.y);
        return box;
    }
}

Box BoardBounds(const Database& db, const Document& doc) {
    Box box;
    for (const auto& [h, o] : doc.contents[doc.current]->all) {
        if (o->kind == KindNet || o->kind == KindComponent) continue;  // covered by what they hold
        box.Add(BoundsOf(db, *o));
    }
    return box;
}

}  // namespace hostpcb
