#include <iomanip>
#include <map>
#include <ostream>

#include "Fixture.h"

namespace hostpcb::test {
namespace {

const char* Board = R"json({
  "components": [
    {"designator": "U1", "x": 1000, "y": 2000, "rotation": 30,
     "designatorText": {"x": -100, "y": 120},
     "primitives": [
      {"kind": "pad", "name": "1", "x": -150, "y": 75, "shape": "rectangle", "size": [60, 25], "layer": "TopLayer"},
      {"kind": "pad", "name": "2", "x": 150, "y": 75, "size": 60, "hole": 30, "stackMode": 1,
       "top": {"shape": "rectangle", "size": 70}, "bottom": {"shape": "round", "size": 50}},
      {"kind": "track", "x1": -200, "y1": 100, "x2": 200, "y2": 100, "width": 8, "layer": "TopOverlay"},
      {"kind": "arc", "x": 0, "y": 0, "radius": 33.3, "startAngle": 10, "endAngle": 100, "layer": "TopSolder"},
      {"kind": "fill", "x1": 10, "y1": 10, "x2": 40, "y2": 30, "layer": "TopPaste"},
      {"kind": "text", "text": "x", "x": 5, "y": 7, "layer": "TopOverlay"},
      {"kind": "via", "x": 0, "y": -50, "from": "TopLayer", "to": "MidLayer1"}]}
  ]
})json";

// Everything a record query tells about a primitive that placement changes.
struct Snapshot {
    std::vector<std::vector<double>> values;
    bool operator==(const Snapshot&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
        for (const auto& v : s.values) {
            for (double d : v) out << std::setprecision(17) << d << " ";
            out << "| ";
        }
        return out;
    }
};

Snapshot Take(THandle component) {
    Snapshot s;
    for (THandle h : Walk(component, 0, 0)) {
        std::vector<double> v;
        switch (PcbApi_GetObjectIdFromObjectHandle(h)) {
        case KindPad: {
            pcbapi::TPadRecord r;
            PcbApi_QueryPad(1, h, &r);
            v = {double(r.Common.X), double(r.Common.Y), double(r.Common.Layer), r.Rotation, double(r.TopXSize),
                 double(r.BotXSize), double(r.TopShape), double(r.BotShape)};
            break;
        }
        case KindTrack: {
            pcbapi::TTrackRecord r;
            PcbApi_QueryTrack(1, h, &r);
            v = {double(r.Common.X), double(r.Common.Y), double(r.X2), double(r.Y2), double(r.Common.Layer)};
            break;
        }
        case KindArc: {
            pcbapi::TArcRecord r;
            PcbApi_QueryArc(1, h, &r);
            v = {double(r.Common.X), double(r.Common.Y), r.StartAngle, r.EndAngle, double(r.Common.Layer)};
            break;
        }
        case KindFill: {
            pcbapi::TFillRecord r;
            PcbApi_QueryFill(1, h, &r);
            v = {double(r.Common.X), double(r.Common.Y), double(r.X2), double(r.Y2), r.Rotation, double(r.Common.Layer)};
            break;
        }
        case KindText: {
            pcbapi::TTextRecord r;
            PcbApi_QueryText(1, h, &r);
            v = {double(r.Common.X), double(r.Common.Y), r.Rotation, double(r.Mirrored), double(r.Common.Layer)};
            break;
        }
        case KindVia: {
            pcbapi::TViaRecord r;
            PcbApi_QueryVia(1, h, &r);
            v = {double(r.Common.X), double(r.Common.Y), double(r.StartLayer), double(r.EndLayer)};
            break;
        }
        }
        s.values.push_back(v);
    }
    return s;
}

void Place(THandle component, int32_t x, int32_t y, double rotation, int32_t side, uint8_t mode) {
    pcbapi::TComponentRecord c;
    ASSERT_EQ(PcbApi_QueryComponent(1, component, &c), 0);
    c.Common.X = x;
    c.Common.Y = y;
    c.Rotation = rotation;
    c.Common.Layer = side;
    ASSERT_EQ(PcbApi_QueryComponent(mode, component, &c), 0);
}

TEST(Component, FlippedMovedAndBackLeavesPrimitivesWhereTheyStarted) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    Snapshot start = Take(u1);
    Place(u1, 0, 0, 0, 1, 2);
    Snapshot atOrigin = Take(u1);
    EXPECT_NE(atOrigin, start);
    Place(u1, 123456, -98765, 270, 32, 2);
    EXPECT_NE(Take(u1), start);
    Place(u1, 10000000, 20000000, 30, 1, 2);
    EXPECT_EQ(Take(u1), start);
}

TEST(Component, AtTheOriginThePrimitivesAreTheFootprint) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    Place(u1, 0, 0, 0, 1, 2);
    THandle pad = Walk(u1, KindPad, 0).at(0);
    pcbapi::TPadRecord r;
    PcbApi_QueryPad(1, pad, &r);
    EXPECT_EQ(r.Common.X, -1500000);
    EXPECT_EQ(r.Common.Y, 750000);
    EXPECT_EQ(r.Rotation, 0);
}

TEST(Component, FlipMirrorsAndChangesSides) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    Place(u1, 0, 0, 0, 1, 2);
    Place(u1, 0, 0, 0, 32, 2);
    std::vector<THandle> pads = Walk(u1, KindPad, 0);
    pcbapi::TPadRecord smd, thru;
    PcbApi_QueryPad(1, pads[0], &smd);
    PcbApi_QueryPad(1, pads[1], &thru);
    EXPECT_EQ(smd.Common.X, 1500000);  // mirrored in x
    EXPECT_EQ(smd.Common.Y, 750000);
    EXPECT_EQ(smd.Common.Layer, 32);
    EXPECT_EQ(thru.Common.Layer, 74);
    EXPECT_EQ(thru.TopXSize, 500000);  // the stack's top and bottom exchange
    EXPECT_EQ(thru.BotXSize, 700000);
    EXPECT_EQ(thru.TopShape, 1);
    THandle track = Walk(u1, KindTrack, 0).at(0);
    pcbapi::TTrackRecord t;
    PcbApi_QueryTrack(1, track, &t);
    EXPECT_EQ(t.Common.Layer, 34);  // bottom overlay
    std::map<int32_t, int> layers;
    for (THandle h : Walk(u1, 0, 0)) {
        pcbapi::TPrimitiveRecord p;
        PcbApi_QueryPrimitive(1, h, &p);
        ++layers[p.Layer];
    }
    EXPECT_EQ(layers[33], 0);
    EXPECT_EQ(layers[36], 1);  // bottom paste
    EXPECT_EQ(layers[38], 1);  // bottom solder
    THandle via = Walk(u1, KindVia, 0).at(0);
    pcbapi::TViaRecord v;
    PcbApi_QueryVia(1, via, &v);
    EXPECT_EQ(v.StartLayer, 32);
    EXPECT_EQ(v.EndLayer, 2);
    THandle text = Walk(u1, KindText, 0, 34).at(0);
    pcbapi::TTextRecord tx;
    PcbApi_QueryText(1, text, &tx);
    EXPECT_EQ(tx.Mirrored, 1);
}

TEST(Component, ModeZeroWritesOnlyTheComponent) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    Snapshot start = Take(u1);
    Place(u1, 0, 0, 0, 32, 0);
    EXPECT_EQ(Take(u1), start);
    pcbapi::TComponentRecord c;
    PcbApi_QueryComponent(1, u1, &c);
    EXPECT_EQ(c.Common.Layer, 32);
    EXPECT_EQ(c.Common.X, 0);
}

TEST(Component, SideMustBeTopOrBottom) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    pcbapi::TComponentRecord c;
    PcbApi_QueryComponent(1, u1, &c);
    c.Common.Layer = 2;
    EXPECT_NE(PcbApi_QueryComponent(2, u1, &c), 0);
    PcbApi_QueryComponent(1, u1, &c);
    EXPECT_EQ(c.Common.Layer, 1);
}

TEST(Component, DesignatorTextAndSpecialStrings) {
    THandle board = Open(R"json({"components": [{"designator": "R7", "comment": "10k",
        "primitives": [{"kind": "text", "text": ".Designator"}, {"kind": "text", "text": ".comment"}]}]})json");
    THandle r7 = ComponentByDesignator(board, "R7");
    std::vector<std::string> shown;
    for (THandle t : Walk(r7, KindText, 0)) {
        pcbapi::TName255 s;
        PcbApi_GetDesignatorDisplayString(t, &s);
        shown.push_back(s.Str());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"R7", "10k", "R7", "10k"}));
}

}  // namespace
}  // namespace hostpcb::test
