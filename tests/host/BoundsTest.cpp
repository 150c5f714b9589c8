#include "Fixture.h"

namespace hostpcb::test {
namespace {

struct BoundsCase {
    const char* object;
    pcbapi::TRect rect;  // in host units
};

const BoundsCase BoundsCases[] = {
    {R"json({"kind": "track", "x1": 0, "y1": 0, "x2": 100, "y2": 0, "width": 10})json", {-50000, -50000, 1050000, 50000}},
    {R"json({"kind": "arc", "x": 0, "y": 0, "radius": 100, "startAngle": 0, "endAngle": 90, "width": 10})json",
     {-50000, -50000, 1050000, 1050000}},
    {R"json({"kind": "arc", "x": 0, "y": 0, "radius": 100, "width": 0})json", {-1000000, -1000000, 1000000, 1000000}},
    {R"json({"kind": "pad", "x": 100, "y": 100, "size": [60, 20], "layer": "TopLayer"})json", {700000, 900000, 1300000, 1100000}},
    {R"json({"kind": "pad", "x": 0, "y": 0, "size": [60, 20], "rotation": 90, "layer": "TopLayer"})json",
     {-100000, -300000, 100000, 300000}},
    {R"json({"kind": "via", "x": 10, "y": 10, "size": 20, "hole": 10})json", {0, 0, 200000, 200000}},
    {R"json({"kind": "text", "text": "ABC", "x": 0, "y": 0, "height": 30, "width": 0})json", {0, 0, 600000, 300000}},
    {R"json({"kind": "text", "text": "ABC", "x": 0, "y": 0, "height": 30, "width": 0, "rotation": 90})json",
     {-300000, 0, 0, 600000}},
    {R"json({"kind": "fill", "x1": 0, "y1": 0, "x2": 200, "y2": 100, "rotation": 90})json", {500000, -500000, 1500000, 1500000}},
    {R"json({"kind": "polygon", "outline": [[0, 0], [100, 0], [100, 50]]})json", {0, 0, 1000000, 500000}},
};

class Bounds : public testing::TestWithParam<BoundsCase> {};

TEST_P(Bounds, FromGeometry) {
    const BoundsCase& c = GetParam();
    THandle board = Open(std::string("{\"objects\": [") + c.object + "]}");
    THandle o = Walk(board, 0, 1).at(0);
    pcbapi::TRect r;
    ASSERT_EQ(PcbApi_QueryObjectBoundingRectangle(o, &r), 0);
    EXPECT_EQ(r.Left, c.rect.Left) << c.object;
    EXPECT_EQ(r.Bottom, c.rect.Bottom) << c.object;
    EXPECT_EQ(r.Right, c.rect.Right) << c.object;
    EXPECT_EQ(r.Top, c.rect.Top) << c.object;
}

INSTANTIATE_TEST_SUITE_P(Table, Bounds, testing::ValuesIn(BoundsCases));

TEST(BoundsOfGroups, ComponentAndBoardAreUnions) {
    THandle board = Open(R"json({"components": [{"designator": "", "x": 1000, "y": 1000, "primitives": [
        {"kind": "pad", "x": -100, "size": 20, "layer": "TopLayer"},
        {"kind": "pad", "x": 100, "size": 20, "layer": "TopLayer"}]}],
      "objects": [{"kind": "track", "x1": 0, "y1": 0, "x2": 0, "y2": 0, "width": 20}]})json");
    THandle c = Walk(board, KindComponent, 0).at(0);
    pcbapi::TRect r;
    PcbApi_QueryObjectBoundingRectangle(c, &r);
    EXPECT_EQ(r.Left, 8900000);
    EXPECT_EQ(r.Right, 11100000);
    PcbApi_QueryObjectBoundingRectangle(board, &r);
    EXPECT_EQ(r.Left, -100000);
    EXPECT_EQ(r.Bottom, -100000);
    EXPECT_EQ(r.Right, 11100000);
    EXPECT_EQ(r.Top, 10650000);  // the designator and comment texts at the reference point
}

}  // namespace
}  // namespace hostpcb::test
