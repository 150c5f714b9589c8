#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hostpcb {
namespace {

constexpr double Pi = 3.14159265358979323846;

// cos and sin of an angle, exact for multiples of 90 degrees.
void CosSin(double degrees, double& c, double& s) {
    double a = NormalizeAngle(degrees);
    if (a == 0) { c = 1; s = 0; }
    else if (a == 90) { c = 0; s = 1; }
    else if (a == 180) { c = -1; s = 0; }
    else if (a == 270) { c = 0; s = -1; }
    else { c = std::cos(a * Pi / 180); s = std::sin(a * Pi / 180); }
}

}  // namespace

int32_t RoundCoord(double v) {
    double r = std::nearbyint(v);  // the default rounding mode: halves to even
    r = std::clamp(r, static_cast<double>(std::numeric_limits<int32_t>::min()),
                   static_cast<double>(std::numeric_limits<int32_t>::max()));
    return static_cast<int32_t>(r);
}

void StoreCoord(double& stored, int32_t written) {
    int32_t current = RoundCoord(stored);
    if (written != current) stored += static_cast<double>(written) - current;
}

double NormalizeAngle(double degrees) {
    if (!std::isfinite(degrees)) return 0;
    double a = std::fmod(degrees, 360.0);
    if (a < 0) a += 360;
    if (a >= 360) a -= 360;
    return a;
}

Point Rotate(Point p, Point centre, double degrees) {
    double c, s;
    CosSin(degrees, c, s);
    double dx = p.x - centre.x, dy = p.y - centre.y;
    return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

void Box::Add(double x, double y) {
    if (empty_) {
        left_ = right_ = x;
        bottom_ = top_ = y;
        empty_ = false;
        return;
    }
    left_ = std::min(left_, x);
    right_ = std::max(right_, x);
    bottom_ = std::min(bottom_, y);
    top_ = std::max(top_, y);
}

void Box::Add(const Box& other) {
    if (other.empty_) return;
    Add(other.left_, other.bottom_);
    Add(other.right_, other.top_);
}

void Box::Grow(double margin) {
    if (empty_) return;
    left_ -= margin;
    bottom_ -= margin;
    right_ += margin;
    top_ += margin;
}

pcbapi::TRect Box::Rect() const {
    if (empty_) return {};
    return {RoundCoord(std::floor(left_ + 1e-6)), RoundCoord(std::floor(bottom_ + 1e-6)),
            RoundCoord(std::ceil(right_ - 1e-6)), RoundCoord(std::ceil(top_ - 1e-6))};
}

bool Box::Intersects(const pcbapi::TRect& r) const {
    if (empty_) return false;
    pcbapi::TRect me = Rect();
    return me.Left <= r.Right && me.Right >= r.Left && me.Bottom <= r.Top && me.Top >= r.Bottom;
}

Box ArcBox(Point centre, double radius, double start, double end, double width) {
    Box box;
    double a = NormalizeAngle(start);
    double sweep = NormalizeAngle(end - start);
    if (sweep == 0) sweep = 360;  // equal angles draw the whole circle
    auto add = [&](double deg) {
        double c, s;
        CosSin(deg, c, s);
        box.Add(centre.x + radius * c, centre.y + radius * s);
    };
    add(a);
    add(a + sweep);
    for (int q = 0; q < 4; ++q) {
        double axis = q * 90.0;
        double offset = NormalizeAngle(axis - a);
        if (offset <= sweep) add(axis);
    }
    box.Grow(width / 2);
    return box;
}

PlacementChange::PlacementChange(const Placement& from, const Placement& to) : from_(from), to_(to) {}

Point PlacementChange::Apply(Point p) const {
    Point local = Rotate({p.x - from_.position.x, p.y - from_.position.y}, {0, 0}, -from_.rotation);
    if (from_.bottom) local.x = -local.x;
    if (to_.bottom) local.x = -local.x;
    Point placed = Rotate(local, {0, 0}, to_.rotation);
    return {placed.x + to_.position.x, placed.y + to_.position.y};
}

double PlacementChange::ApplyDirection(double degrees) const {
    double local = degrees - from_.rotation;
    if (from_.bottom) local = 180 - local;
    if (to_.bottom) local = 180 - local;
    return NormalizeAngle(local + to_.rotation);
}

void PlacementChange::ApplyArc(double& start, double& end) const {
    double s = ApplyDirection(start), e = ApplyDirection(end);
    if (Mirrors()) std::swap(s, e);
    // A full circle keeps its sweep.
    if (NormalizeAngle(end - start) == 0 && end != start) e = s + 360;
    start = s;
    end = e;
}

}  // namespace hostpcb
