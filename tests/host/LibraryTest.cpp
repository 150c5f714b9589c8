#include "Fixture.h"

namespace hostpcb::test {
namespace {

const char* Library = R"json({"document": "library", "footprints": [
    {"name": "A", "primitives": [{"kind": "pad", "name": "1", "x": 12, "y": -5}]},
    {"name": "B", "primitives": [{"kind": "track"}, {"kind": "track"}]},
    {"name": "C"}]})json";

std::string Current(THandle board) {
    pcbapi::TName255 name;
    EXPECT_EQ(PcbApi_GetCurrentComponent(board, &name), 0);
    return name.Str();
}

std::string Go(THandle board, const char* command) {
    char parameters[16] = "";
    EXPECT_EQ(PcbApi_SendCommand(command, parameters, sizeof parameters, 0), 0);
    return Current(board);
}

TEST(Library, FootprintNavigationWrapsAround) {
    THandle board = Open(Library, "lib.json");
    EXPECT_EQ(Current(board), "A");
    EXPECT_EQ(Go(board, "PCB:LastComponent"), "C");
    EXPECT_EQ(Go(board, "PCB:PreviousComponent"), "B");
    EXPECT_EQ(Go(board, "PCB:PreviousComponent"), "A");
    EXPECT_EQ(Go(board, "PCB:PreviousComponent"), "C");  // from the first back to the last
    EXPECT_EQ(Go(board, "PCB:NextComponent"), "A");
    EXPECT_EQ(Go(board, "pcb:nextcomponent"), "B");
    EXPECT_EQ(Go(board, "PCB:FirstComponent"), "A");
    EXPECT_NE(PcbApi_SendCommand("PCB:NoSuchCommand", nullptr, 0, 0), 0);
}

TEST(Library, TheExportWalkVisitsEveryFootprint) {
    THandle board = Open(Library, "lib.json");
    std::vector<std::string> visited{Go(board, "PCB:FirstComponent")};
    std::string last = Go(board, "PCB:LastComponent");
    if (last != visited[0]) visited.push_back(last);
    for (std::string f = Go(board, "PCB:PreviousComponent"); f != visited[0]; f = Go(board, "PCB:PreviousComponent"))
        visited.push_back(f);
    EXPECT_EQ(visited, (std::vector<std::string>{"A", "C", "B"}));
}

TEST(Library, BoardIteratorsShowTheCurrentFootprint) {
    THandle board = Open(Library, "lib.json");
    std::vector<THandle> a = Walk(board, 0, 1);
    ASSERT_EQ(a.size(), 1u);
    pcbapi::TPadRecord pad;
    PcbApi_QueryPad(1, a[0], &pad);
    EXPECT_EQ(pad.Common.X, LibraryOrigin + 120000);  // the workspace origin plus the footprint's offset
    EXPECT_EQ(pad.Common.Y, LibraryOrigin - 50000);
    Go(board, "PCB:NextComponent");
    EXPECT_EQ(Walk(board, KindTrack, 1).size(), 2u);
    Go(board, "PCB:NextComponent");
    EXPECT_TRUE(Walk(board, 0, 1).empty());
    pcbapi::TBoardRecord b;
    PcbApi_QueryBoard(1, board, &b);
    EXPECT_EQ(b.IsLibrary, 1);
}

TEST(Library, OneFootprintStaysPut) {
    THandle board = Open(R"json({"document": "library", "footprints": [{"name": "ONLY"}]})json", "one.json");
    EXPECT_EQ(Go(board, "PCB:LastComponent"), "ONLY");
    EXPECT_EQ(Go(board, "PCB:PreviousComponent"), "ONLY");
}

TEST(Library, ABoardHasNoCurrentFootprint) {
    THandle board = Open("{}");
    EXPECT_EQ(Go(board, "PCB:NextComponent"), "");
}

}  // namespace
}  // namespace hostpcb::test
