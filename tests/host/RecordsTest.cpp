#include "Fixture.h"

namespace hostpcb::test {
namespace {

TEST(Records, ReadWriteRoundTripChangesNothing) {
    THandle board = Open(R"json({"nets": ["N"], "objects": [
        {"kind": "pad", "name": "A1", "x": 10.00005, "y": 20, "size": [50, 30], "hole": 20, "rotation": 45, "net": "N"}]})json");
    THandle pad = Walk(board, KindPad, 1).at(0);
    pcbapi::TPadRecord r1, r2;
    PcbApi_QueryPad(1, pad, &r1);
    EXPECT_EQ(PcbApi_QueryPad(0, pad, &r1), 0);
    PcbApi_QueryPad(1, pad, &r2);
    EXPECT_EQ(std::memcmp(&r1, &r2, sizeof r1), 0);
    EXPECT_EQ(r2.Name.Str(), "A1");
    EXPECT_EQ(r2.Common.Net, NetByName(board, "N"));
}

TEST(Records, PadStacksPerLayer) {
    THandle board = Open(R"json({"objects": [
        {"kind": "pad", "hole": 30, "size": 60, "stackMode": 2,
         "stack": {"TopLayer": {"shape": "roundedRectangle", "size": [70, 50], "cornerRadius": 40}, "MidLayer3": {"size": 44}}}]})json");
    THandle pad = Walk(board, KindPad, 1).at(0);
    uint8_t mode = 0, shape = 0, pct = 0;
    PcbApi_QueryPadStackMode(1, pad, &mode);
    EXPECT_EQ(mode, 2);
    pcbapi::TCoord x = 0, y = 0, radius = 0;
    PcbApi_QueryPadOrViaShapeOnLayer(pad, 1, &shape);
    PcbApi_QueryPadOrViaSizeOnLayer(pad, 1, &x, &y);
    PcbApi_QueryPadCRPercentageOnLayer(pad, 1, &pct);
    PcbApi_QueryPadCornerRadiusOnLayer(pad, 1, &radius);
    EXPECT_EQ(shape, 9);
    EXPECT_EQ(x, 700000);
    EXPECT_EQ(y, 500000);
    EXPECT_EQ(pct, 40);
    EXPECT_EQ(radius, 100000);
    PcbApi_QueryPadOrViaSizeOnLayer(pad, 4, &x, &y);
    EXPECT_EQ(x, 440000);
    pcbapi::TPadRecord r;
    PcbApi_QueryPad(1, pad, &r);
    EXPECT_EQ(r.TopXSize, 600000);  // the pad's own values stay as the pad query has them
    EXPECT_EQ(PcbApi_SetPadSizeOnLayer(pad, 32, 10000, 20000), 0);
    PcbApi_QueryPadOrViaSizeOnLayer(pad, 32, &x, &y);
    EXPECT_EQ(y, 20000);
}

TEST(Records, ViaSpansAndStackSizes) {
    THandle board = Open(R"json({"layers": [{"layer": "TopLayer"}, {"layer": "MidLayer1"}, {"layer": "InternalPlane1"},
        {"layer": "MidLayer2"}, {"layer": "BottomLayer"}],
      "objects": [{"kind": "via", "size": 30, "hole": 12, "from": "MidLayer2", "to": "TopLayer", "stackMode": 2,
        "sizes": {"MidLayer1": 26}}]})json");
    THandle via = Walk(board, KindVia, 1).at(0);
    pcbapi::TCoord x = 0, y = 0, size = 0;
    EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(via, 2, &x, &y), 0);
    EXPECT_EQ(x, 260000);
    EXPECT_EQ(PcbApi_QueryPadOrViaSizeOnLayer(via, 39, &x, &y), 0);  // the plane lies inside the span
    EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(via, 32, &x, &y), 0);
    EXPECT_EQ(x, 0);
    EXPECT_NE(PcbApi_QueryPadOrViaSizeOnLayer(via, 33, &x, &y), 0);
    EXPECT_EQ(PcbApi_QueryViaStackSizeOnLayer(1, via, 1, &size), 0);
    EXPECT_EQ(size, 300000);
    size = 280000;
    EXPECT_EQ(PcbApi_QueryViaStackSizeOnLayer(0, via, 1, &size), 0);
    PcbApi_QueryViaStackSizeOnLayer(1, via, 1, &size);
    EXPECT_EQ(size, 280000);
}

TEST(Records, PlaneConnectionsFollowTheNet) {
    THandle board = Open(R"json({"nets": ["GND", "VCC"],
      "layers": [{"layer": "TopLayer"}, {"layer": "InternalPlane1", "net": "GND"}, {"layer": "InternalPlane2", "net": "VCC"},
                 {"layer": "BottomLayer"}],
      "objects": [{"kind": "pad", "hole": 30, "net": "GND"}, {"kind": "pad", "hole": 30, "net": "GND", "connectsTo": ["InternalPlane2"]}]})json");
    std::vector<THandle> pads = Walk(board, KindPad, 1);
    uint8_t c1 = 9, c2 = 9;
    PcbApi_QueryPadConnectToLayer(1, pads[0], 39, &c1);
    PcbApi_QueryPadConnectToLayer(1, pads[0], 40, &c2);
    EXPECT_EQ(c1, 1);
    EXPECT_EQ(c2, 0);
    PcbApi_QueryPadConnectToLayer(1, pads[1], 39, &c1);
    PcbApi_QueryPadConnectToLayer(1, pads[1], 40, &c2);
    EXPECT_EQ(c1, 0);
    EXPECT_EQ(c2, 1);
}

TEST(Records, ClassMembersEndWithStatusOne) {
    THandle board = Open(R"json({"nets": ["A", "B"], "classes": [{"name": "P", "members": ["A", "B"]}, {"name": "E"}]})json");
    std::vector<THandle> classes = Walk(board, KindClass, 0);
    pcbapi::TName255 name;
    EXPECT_EQ(PcbApi_GetMemberFromClassAt(classes[0], 1, &name), 0);
    EXPECT_EQ(name.Str(), "B");
    EXPECT_EQ(PcbApi_GetMemberFromClassAt(classes[0], 2, &name), 1);
    EXPECT_EQ(PcbApi_GetMemberFromClassAt(classes[1], 0, &name), 1);
    EXPECT_EQ(PcbApi_RemoveAllMembersFromClass(classes[0]), 0);
    pcbapi::TName255 c = Name("C");
    PcbApi_AddMemberToClass(classes[0], &c);
    EXPECT_EQ(PcbApi_GetMemberFromClassAt(classes[0], 0, &name), 0);
    EXPECT_EQ(name.Str(), "C");
}

TEST(Records, ScratchObjectsHaveHostDefaults) {
    THandle pad = PcbApi_CreateObject(KindPad);
    pcbapi::TPadRecord r;
    r.Name.Assign("x");
    PcbApi_QueryPad(0, pad, &r);
    EXPECT_EQ(PcbApi_QueryObjectSetState_Default(pad), 0);
    PcbApi_QueryPad(1, pad, &r);
    EXPECT_EQ(r.Common.Layer, 74);
    EXPECT_EQ(r.TopXSize, 600000);
    EXPECT_EQ(r.HoleSize, 300000);
    EXPECT_EQ(r.TopShape, 1);
    EXPECT_EQ(r.Name.Str(), "");
    PcbApi_DestroyObject(pad);
    EXPECT_EQ(PcbApi_CreateObject(0), 0u);
    EXPECT_EQ(PcbApi_CreateObject(25), 0u);
}

TEST(Records, BoardHandleByFileName) {
    THandle board = Open(R"json({"fileName": "C:\\work\\x.PcbDoc"})json", "x.json");
    pcbapi::TName255 name = Name("c:\\work\\X.PcbDoc");
    EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(&name), board);
    name = Name("/tmp/PCB1234.tmp");
    EXPECT_EQ(PcbApi_GetBoardHandleFromFileName(&name), 0u);
}

TEST(Records, LayerInUse) {
    THandle board = Open(R"json({"layers": [{"layer": "TopLayer"}, {"layer": "MidLayer1", "enabled": false}, {"layer": "BottomLayer"}],
      "objects": [{"kind": "track", "layer": "Mechanical3"}]})json");
    host::IPcbLayerStack* stack = HostPcb_GetServerObjects()->GetBoardByHandle(board)->GetLayerStack();
    EXPECT_EQ(stack->LayerObject(1)->IsUsed(), 1);
    EXPECT_EQ(stack->LayerObject(2)->IsUsed(), 0);   // in the stack but disabled
    EXPECT_EQ(stack->LayerObject(59)->IsUsed(), 1);  // holds a track
    EXPECT_EQ(stack->LayerObject(58)->IsUsed(), 0);
    EXPECT_EQ(HostPcb_GetServerObjects()->GetBoardByHandle(0), nullptr);
}

}  // namespace
}  // namespace hostpcb::test

namespace hostpcb::test {
namespace {

TEST(Records, DimensionValuesReferencesAndTextLocations) {
    THandle board = Open(R"json({"objects": [
        {"kind": "arc", "x": 100, "y": 100, "radius": 50},
        {"kind": "dimension", "type": "baseline", "angle": 90, "arrowSize": 40, "precision": 3, "textFormat": "x (mil)",
         "references": [{"x": 0, "y": 0, "object": 0}, {"x": 0, "y": 200}], "textLocations": [[5, 6], [7, 8]],
         "values": [1, 2]}]})json");
    THandle arc = Walk(board, KindArc, 1).at(0);
    THandle dim = Walk(board, KindDimension, 1).at(0);
    pcbapi::TDimensionRecord d;
    ASSERT_EQ(PcbApi_QueryDimension(1, dim, &d), 0);
    EXPECT_EQ(d.DimensionType, 6);
    EXPECT_EQ(d.Precision, 3);
    EXPECT_EQ(d.TextFormat.Str(), "x (mil)");
    EXPECT_EQ(d.Common.Layer, 57);
    int32_t count = 0;
    PcbApi_References_Count(dim, &count);
    ASSERT_EQ(count, 2);
    pcbapi::TDimensionReference r;
    PcbApi_References_At(1, dim, 0, &r);
    EXPECT_EQ(r.Object, arc);
    PcbApi_References_At(1, dim, 1, &r);
    EXPECT_EQ(r.Object, 0u);
    EXPECT_EQ(r.PointY, 2000000);
    EXPECT_NE(PcbApi_References_At(1, dim, 2, &r), 0);
    pcbapi::TExtDimensionRecord ext;
    PcbApi_QueryExtDimension(1, dim, &ext);
    EXPECT_EQ(ext.DimensionType, 6);
    EXPECT_EQ(ext.ArrowSize, 400000);
    pcbapi::TDimensionTypeRecord typed;
    EXPECT_EQ(PcbApi_QueryBaselineDimension(1, dim, &typed), 0);
    EXPECT_EQ(typed.DimensionAngle, 90);
    EXPECT_EQ(typed.Values[1], 20000);
    EXPECT_NE(PcbApi_QueryLinearDimension(1, dim, &typed), 0);  // not of that type
    PcbApi_TextLocations_Count(dim, &count);
    EXPECT_EQ(count, 2);
    pcbapi::TTextLocation at;
    PcbApi_TextLocations_At(1, dim, 1, &at);
    EXPECT_EQ(at.X, 70000);
    EXPECT_EQ(at.Y, 80000);
}

TEST(Records, OutlinesWithArcs) {
    THandle board = Open(R"json({"nets": ["GND"], "layers": [{"layer": "TopLayer"}, {"layer": "InternalPlane1"}, {"layer": "BottomLayer"}],
      "objects": [
        {"kind": "polygon", "net": "GND", "hatch": "45", "grid": 12, "removeDead": true,
         "outline": [[0, 0], {"x": 100, "y": 0, "cx": 100, "cy": 50, "radius": 50, "startAngle": 270, "endAngle": 90}, [100, 100]]},
        {"kind": "splitPlane", "layer": "InternalPlane1", "net": "GND", "outline": [[0, 0], [10, 0], [10, 10]]},
        {"kind": "region", "regionKind": 1, "outline": [[0, 0], [10, 0], [10, 10]]}]})json");
    THandle polygon = Walk(board, KindPolygon, 1).at(0);
    auto rec = std::make_unique<pcbapi::TPolygonRecord>();
    ASSERT_EQ(PcbApi_QueryPolygon(1, polygon, rec.get()), 0);
    EXPECT_EQ(rec->SegmentCount, 3);
    EXPECT_EQ(rec->HatchStyle, 1);
    EXPECT_EQ(rec->Grid, 120000);
    EXPECT_EQ(rec->RemoveDead, 1);
    // The segment record is packed: its fields are read by value.
    EXPECT_EQ(+rec->Segments[1].Kind, 1);
    EXPECT_EQ(+rec->Segments[1].CY, 500000);
    EXPECT_EQ(+rec->Segments[1].Radius, 500000);
    EXPECT_EQ(+rec->Segments[1].Angle1, 270);
    pcbapi::TRect r;
    PcbApi_QueryObjectBoundingRectangle(polygon, &r);
    EXPECT_EQ(r.Right, 1500000);  // the arc bulges out to x = 150 mil
    auto split = std::make_unique<pcbapi::TSplitPlaneRecord>();
    ASSERT_EQ(PcbApi_QuerySplitPlane(1, Walk(board, KindSplitPlane, 1).at(0), split.get()), 0);
    EXPECT_EQ(split->Common.Layer, 39);
    EXPECT_EQ(split->Common.Net, NetByName(board, "GND"));
    pcbapi::TRegionRecord region;
    ASSERT_EQ(PcbApi_QueryRegion(1, Walk(board, KindRegion, 1).at(0), &region), 0);
    EXPECT_EQ(region.Kind, 1);
    EXPECT_NE(PcbApi_QueryRegion(1, polygon, &region), 0);  // a polygon is no region
}

TEST(Records, TextsAndTheirFonts) {
    THandle board = Open(R"json({"objects": [
        {"kind": "text", "text": "A", "font": "serif", "mirrored": true, "rotation": 450, "layer": "BottomOverlay"},
        {"kind": "text", "text": "B", "font": "trueType", "fontName": "Courier", "bold": true}]})json");
    std::vector<THandle> texts = Walk(board, KindText, 1);
    pcbapi::TTextRecord t;
    PcbApi_QueryText(1, texts[0], &t);
    EXPECT_EQ(t.FontId, 3);
    EXPECT_EQ(t.Mirrored, 1);
    EXPECT_EQ(t.Rotation, 90);
    EXPECT_EQ(t.Common.Layer, 34);
    pcbapi::TTrueTypeRecord tt;
    PcbApi_QueryTrueTypeTextInfo(1, texts[1], &tt);
    EXPECT_EQ(tt.FontName.Str(), "Courier");
    EXPECT_EQ(tt.Flags[0], 1);
    EXPECT_EQ(tt.Flags[1], 1);
    EXPECT_EQ(tt.Flags[2], 0);
}

}  // namespace
}  // namespace hostpcb::test
