#include "Fixture.h"

namespace hostpcb::test {
namespace {

const char* Board = R"json({
  "nets": ["GND", "VCC"],
  "components": [
    {"designator": "U1", "x": 1000, "y": 1000, "primitives": [
      {"kind": "pad", "name": "1", "x": -50, "layer": "TopLayer", "net": "GND"},
      {"kind": "pad", "name": "2", "x": 50, "layer": "TopLayer", "net": "VCC"},
      {"kind": "track", "x1": -100, "y1": 50, "x2": 100, "y2": 50, "layer": "TopOverlay"}]}
  ],
  "objects": [
    {"kind": "track", "x1": 0, "y1": 0, "x2": 100, "y2": 0, "layer": "TopLayer", "net": "GND"},
    {"kind": "track", "x1": 0, "y1": 0, "x2": 0, "y2": 100, "layer": "BottomLayer"},
    {"kind": "pad", "name": "T", "hole": 30, "net": "GND"},
    {"kind": "dimension", "references": [{"x": 0, "y": 0}, {"x": 100, "y": 0}],
     "drawing": [{"kind": "text", "text": "100mil"}, {"kind": "track", "x2": 100}]}
  ]
})json";

uint8_t KindOf(THandle h) { return static_cast<uint8_t>(PcbApi_GetObjectIdFromObjectHandle(h) & 0x7F); }

TEST(Iteration, MethodOneLeavesOutOwnedObjects) {
    THandle board = Open(Board);
    EXPECT_EQ(Walk(board, KindTrack, 1).size(), 2u);  // the two free tracks
    EXPECT_EQ(Walk(board, KindTrack, 0).size(), 4u);  // also the component's and the dimension's
    EXPECT_EQ(Walk(board, KindPad, 1).size(), 1u);
    EXPECT_EQ(Walk(board, KindPad, 0).size(), 3u);
}

TEST(Iteration, KindZeroWalksEverythingInHostOrder) {
    THandle board = Open(Board);
    std::vector<THandle> all = Walk(board, 0, 0);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    // nets, the component with its two texts and three primitives, four objects, the dimension's drawing
    EXPECT_EQ(all.size(), 2u + 1 + 2 + 3 + 4 + 2);
    EXPECT_EQ(KindOf(all[0]), KindNet);
    EXPECT_EQ(KindOf(all[2]), KindComponent);
}

TEST(Iteration, LayerFilter) {
    THandle board = Open(Board);
    std::vector<THandle> bottom = Walk(board, 0, 1, 32);
    ASSERT_EQ(bottom.size(), 1u);
    EXPECT_EQ(KindOf(bottom[0]), KindTrack);
    EXPECT_EQ(Walk(board, KindPad, 0, 1).size(), 2u);             // the component's surface pads
    EXPECT_EQ(Walk(board, KindPad, 0, 74).size(), 1u);            // the free through-hole pad
    EXPECT_EQ(Walk(board, KindTrack, 0, pcbapi::HostSignalLayers).size(), 2u);
}

TEST(Iteration, Containers) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    EXPECT_EQ(Walk(u1, 0, 0).size(), 5u);  // designator, comment, two pads, a track
    EXPECT_EQ(Walk(u1, KindPad, 0).size(), 2u);
    EXPECT_EQ(Walk(u1, 0, 0, 33).size(), 3u);  // the overlay track and both texts
    THandle gnd = NetByName(board, "GND");
    EXPECT_EQ(Walk(gnd, 0, 0).size(), 2u);  // the net's pads, not its track
    THandle dim = Walk(board, KindDimension, 0).at(0);
    std::vector<THandle> drawing = Walk(dim, 0, 0);
    ASSERT_EQ(drawing.size(), 2u);
    EXPECT_EQ(KindOf(drawing[0]), KindText);
    pcbapi::TTrackRecord t;
    PcbApi_QueryTrack(1, drawing[1], &t);
    EXPECT_EQ(t.OwnerGroup, dim);
    EXPECT_EQ(t.Common.Layer, 57);  // the dimension's layer
}

TEST(Iteration, NoIteratorForAPrimitive) {
    THandle board = Open(Board);
    THandle track = Walk(board, KindTrack, 1).at(0);
    EXPECT_EQ(PcbApi_CreateIterator(track, 0, 0, 0), 0u);
    EXPECT_EQ(PcbApi_GetFirstObject(0), 0u);
}

TEST(Iteration, SurvivesRemovalWhileWalking) {
    THandle board = Open(Board);
    THandle it = PcbApi_CreateIterator(board, KindTrack, 0, 0);
    THandle first = PcbApi_GetFirstObject(it);
    THandle second = PcbApi_GetNextObject(it);
    EXPECT_EQ(PcbApi_DeleteObjectFromContainer(board, second), 0);
    THandle third = PcbApi_GetNextObject(it);
    EXPECT_NE(third, 0u);
    EXPECT_NE(third, second);
    EXPECT_GT(third, first);
    PcbApi_DestroyIterator(it);
}

TEST(Iteration, ScratchObjectsJoinAndLeave) {
    THandle board = Open(Board);
    size_t before = Walk(board, KindPad, 1).size();
    THandle pad = PcbApi_CreateObject(KindPad);
    ASSERT_NE(pad, 0u);
    EXPECT_EQ(Walk(board, KindPad, 1).size(), before);  // not placed yet
    EXPECT_EQ(PcbApi_AddObjectToContainer(board, pad), 0);
    std::vector<THandle> pads = Walk(board, KindPad, 1);
    EXPECT_EQ(pads.back(), pad);  // at the end of the host order
    EXPECT_EQ(PcbApi_DeleteObjectFromContainer(board, pad), 0);
    EXPECT_EQ(Walk(board, KindPad, 1).size(), before);
    EXPECT_EQ(PcbApi_DestroyObject(pad), 0);
    EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(pad), 0);
    THandle next = PcbApi_CreateObject(KindPad);
    EXPECT_GT(next, pad);  // handles are never reused
    PcbApi_DestroyObject(next);
}

TEST(Iteration, DestroyingAComponentTakesItsPrimitives) {
    THandle board = Open(Board);
    THandle u1 = ComponentByDesignator(board, "U1");
    std::vector<THandle> prims = Walk(u1, 0, 0);
    EXPECT_EQ(PcbApi_DestroyObject(u1), 0);
    for (THandle h : prims) EXPECT_EQ(PcbApi_GetObjectIdFromObjectHandle(h), 0);
    EXPECT_EQ(Walk(NetByName(board, "GND"), 0, 0).size(), 1u);
}

TEST(Iteration, SpatialIteratorByKindsLayersAndRectangle) {
    THandle board = Open(Board);
    pcbapi::THostLayerSet layers;
    layers.Count = 1;
    layers.Layers[0] = 1;
    pcbapi::TRect rect{-10000, -10000, 20000000, 20000000};
    THandle it = PcbApi_CreateSpatialIterator(board, &rect, (1u << KindTrack) | (1u << KindPad), &layers);
    std::vector<uint8_t> kinds;
    uint8_t kind = 0;
    for (THandle h = PcbApi_GetFirstSpatialObject(it, &kind); h; h = PcbApi_GetNextSpatialObject(it, &kind))
        kinds.push_back(kind);
    PcbApi_DestroyIterator(it);
    EXPECT_EQ(kinds, (std::vector<uint8_t>{KindPad, KindPad, KindTrack}));
    pcbapi::TRect away{50000000, 50000000, 60000000, 60000000};
    it = PcbApi_CreateSpatialIterator(board, &away, 0xFFFFFFFFu, nullptr);
    EXPECT_EQ(PcbApi_GetFirstSpatialObject(it, &kind), 0u);
    PcbApi_DestroyIterator(it);
}

}  // namespace
}  // namespace hostpcb::test
