// Plane geometry of the board database: points kept in floating point so that
// a footprint moved and turned away and back lands on the units it started on.
#pragma once

#include <cstdint>

#include "board/PcbApi.h"

namespace hostpcb {

struct Point {
    double x = 0, y = 0;
};

// A length in host units, rounded to the nearest unit (halves to even).
int32_t RoundCoord(double v);

// Writes a coordinate that crossed the interface back into the database: an
// unchanged value keeps the fraction it had, a changed one moves by the
// difference.
void StoreCoord(double& stored, int32_t written);

double NormalizeAngle(double degrees);

// Rotation of a point about a centre; multiples of 90 degrees are exact.
Point Rotate(Point p, Point centre, double degrees);

// A box that grows to hold points and boxes; empty until the first one.
class Box {
public:
    void Add(double x, double y);
    void Add(const Box& other);
    void Grow(double margin);
    bool Empty() const { return empty_; }
    pcbapi::TRect Rect() const;  // all zero when empty
    bool Intersects(const pcbapi::TRect& r) const;

private:
    bool empty_ = true;
    double left_ = 0, bottom_ = 0, right_ = 0, top_ = 0;
};

// The box around an arc of a circle from `start` to `end` degrees (counter-
// clockwise), widened by half the line width.
Box ArcBox(Point centre, double radius, double start, double end, double width);

// Where a component places its primitives: primitive = position + R(rotation) ·
// M(side) · footprint point, with M mirroring x on the bottom side.
struct Placement {
    Point position;
    double rotation = 0;
    bool bottom = false;
};

// The change from one placement to another, applied to points, directions
// and arcs of the primitives.
class PlacementChange {
public:
    PlacementChange(const Placement& from, const Placement& to);
    Point Apply(Point p) const;
    double ApplyDirection(double degrees) const;
    // An arc from start to end stays counter-clockwise: a mirror exchanges them.
    void ApplyArc(double& start, double& end) const;
    bool Mirrors() const { return from_.bottom != to_.bottom; }

private:
    Placement from_, to_;
};

}  // namespace hostpcb
