#include <cstdio>
#include <fstream>

#include "Fixture.h"

namespace hostpcb::test {
namespace {

struct ErrorCase {
    const char* description;
    const char* json;
    const char* message;  // the whole message after "board.json"
};

const ErrorCase ErrorCases[] = {
    {"malformed JSON", "{\n  \"nets\": [\"GND\",]\n}", ":2:18: malformed JSON: "},
    {"top level not an object", "[1, 2]", ": (top): expected an object, found an array"},
    {"unknown top-level key", R"json({"netz": []})json", ": netz: unknown key \"netz\""},
    {"wrong type", R"json({"nets": "GND"})json", ": nets: expected an array, found a string"},
    {"unknown object kind", R"json({"objects": [{"kind": "track"}, {"kind": "trak"}]})json",
     ": objects[1].kind: unknown object kind \"trak\""},
    {"missing kind", R"json({"objects": [{"x1": 0}]})json", ": objects[0]: missing key \"kind\""},
    {"unknown key of an object", R"json({"objects": [{"kind": "track", "widht": 10}]})json",
     ": objects[0].widht: unknown key \"widht\""},
    {"unknown layer", R"json({"objects": [{"kind": "track"}, {"kind": "arc"}, {"kind": "fill"}, {"kind": "track", "layer": "TopLayr"}]})json",
     ": objects[3].layer: unknown layer \"TopLayr\""},
    {"system layer", R"json({"objects": [{"kind": "track", "layer": "ConnectLayer"}]})json",
     ": objects[0].layer: layer ConnectLayer holds no board objects"},
    {"pad naming a missing net", R"json({"nets": ["GND"], "objects": [{"kind": "pad", "net": "VCC"}]})json",
     ": objects[0].net: unknown net \"VCC\""},
    {"component pad naming a missing net",
     R"json({"components": [{"designator": "U1", "primitives": [{"kind": "pad", "net": "X"}]}]})json",
     ": components[0].primitives[0].net: unknown net \"X\""},
    {"class member naming a missing component",
     R"json({"classes": [{"name": "C", "memberKind": "component", "members": ["U9"]}]})json",
     ": classes[0].members[0]: unknown component \"U9\""},
    {"pad stack mode out of range", R"json({"objects": [{"kind": "pad", "stackMode": 3}]})json",
     ": objects[0].stackMode: 3 is out of range (0 to 2)"},
    {"pad shape out of range", R"json({"objects": [{"kind": "pad", "shape": 12}]})json",
     ": objects[0].shape: 12 is out of range (0 to 9)"},
    {"unknown pad shape", R"json({"objects": [{"kind": "pad", "shape": "oval"}]})json",
     ": objects[0].shape: unknown pad shape \"oval\""},
    {"length with an unknown unit", R"json({"objects": [{"kind": "track", "width": "10in"}]})json",
     ": objects[0].width: unknown length unit \"in\" (use mil, mm or u)"},
    {"length out of range", R"json({"objects": [{"kind": "track", "x1": 1e9}]})json", ": objects[0].x1: length out of range"},
    {"rule scope that does not parse", R"json({"rules": [{"kind": "clearance", "scope1": "InNet('GND' Or All"}]})json",
     ": rules[0].scope1: scope does not parse: missing \")\" at character 13"},
    {"rule scope naming a missing net", R"json({"rules": [{"kind": "width", "scope1": "InNet('GND')"}]})json",
     ": rules[0].scope1: the scope names an unknown net \"GND\""},
    {"unknown rule kind", R"json({"rules": [{"kind": "clearence"}]})json", ": rules[0].kind: unknown rule kind \"clearence\""},
    {"rule value of another kind", R"json({"rules": [{"kind": "clearance", "expansion": 4}]})json",
     ": rules[0].expansion: unknown key \"expansion\""},
    {"duplicate net", R"json({"nets": ["A", {"name": "A"}]})json", ": nets[1]: net \"A\" is listed twice"},
    {"via with one layer", R"json({"objects": [{"kind": "via", "from": "BottomLayer"}]})json",
     ": objects[0]: a via needs two different end layers"},
    {"plane net missing", R"json({"layers": [{"layer": "InternalPlane1", "net": "GND"}]})json",
     ": layers[0].net: unknown net \"GND\""},
    {"dimension reference out of range",
     R"json({"objects": [{"kind": "dimension", "references": [{"x": 0, "y": 0, "object": 4}]}]})json",
     ": objects[0].references[0].object: no object 4 in \"objects\""},
    {"key given twice", R"json({"objects": [{"kind": "track"}, {"kind": "track", "width": 10, "width": 20}]})json",
     ": objects[1].width: the key \"width\" is given twice"},
    {"top-level key given twice", R"json({"nets": [], "nets": ["A"]})json", ": nets: the key \"nets\" is given twice"},
    {"footprints on a board", R"json({"footprints": []})json", ": footprints: only a library document has footprints"},
    {"nets in a library", R"json({"document": "library", "nets": []})json",
     ": nets: a library document has no nets; put objects into footprints"},
    {"polygon in a footprint", R"json({"document": "library", "footprints": [{"name": "A", "primitives": [{"kind": "polygon"}]}]})json",
     ": footprints[0].primitives[0].kind: a polygon cannot be part of a footprint"},
};

class LoaderErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(LoaderErrors, NameFilePlaceAndFault) {
    const ErrorCase& c = GetParam();
    std::string error = LoadError(c.json);
    std::string expected = std::string("board.json") + c.message;
    EXPECT_EQ(error.substr(0, expected.size()), expected) << c.description;
}

INSTANTIATE_TEST_SUITE_P(Table, LoaderErrors, testing::ValuesIn(ErrorCases));

TEST(Loader, UnreadableFileIsNamed) {
    std::string error;
    EXPECT_EQ(LoadDocument(State().db, "/nonexistent/board.json", error), nullptr);
    EXPECT_EQ(error, "/nonexistent/board.json: cannot open the file");
}

TEST(Loader, RejectedDescriptionLeavesNoObjects) {
    THandle before = State().db.NewHandle();
    LoadError(R"json({"nets": ["A"], "objects": [{"kind": "track", "net": "A"}, {"kind": "bogus"}]})json");
    THandle after = State().db.NewHandle();
    for (THandle h = before + 1; h < after; ++h) EXPECT_EQ(State().db.Find(h), nullptr) << h;
}

TEST(Loader, LengthForms) {
    THandle board = Open(R"json({"objects": [
        {"kind": "track", "width": 10},
        {"kind": "track", "width": "0.254mm"},
        {"kind": "track", "width": "12.5mil"},
        {"kind": "track", "width": "1234u"}]})json");
    std::vector<int32_t> widths;
    for (THandle h : Walk(board, KindTrack, 0)) {
        pcbapi::TTrackRecord t;
        ASSERT_EQ(PcbApi_QueryTrack(1, h, &t), 0);
        widths.push_back(t.Width);
    }
    EXPECT_EQ(widths, (std::vector<int32_t>{100000, 100000, 125000, 1234}));
}

TEST(Loader, SmallBoardGetsDefaults) {
    THandle board = Open(R"json({})json");
    pcbapi::TBoardRecord b;
    ASSERT_EQ(PcbApi_QueryBoard(1, board, &b), 0);
    EXPECT_EQ(b.FileName.Str(), "board.json");
    EXPECT_EQ(b.IsLibrary, 0);
    EXPECT_EQ(b.DisplayUnitImperial, 1);
    pcbapi::TLayerRecord top, bottom;
    PcbApi_QueryLayer(1, board, 1, &top);
    PcbApi_QueryLayer(1, board, 32, &bottom);
    EXPECT_EQ(top.PreviousLayer, 0);
    EXPECT_EQ(top.NextLayer, 32);
    EXPECT_EQ(bottom.PreviousLayer, 1);
    EXPECT_EQ(bottom.NextLayer, 0);
    EXPECT_EQ(top.Name.Str(), "TopLayer");
    pcbapi::TInternalPlaneRecord plane;
    ASSERT_EQ(PcbApi_QueryInternalPlane(1, board, 39, &plane), 0);
    EXPECT_EQ(plane.NetName.Str(), "(No Net)");
    EXPECT_EQ(plane.Layer.PreviousLayer, 0);
    EXPECT_EQ(plane.Layer.NextLayer, 0);
}

TEST(Loader, LayerStackFollowsTheList) {
    THandle board = Open(R"json({"nets": ["GND"], "layers": [
        {"layer": "TopLayer"}, {"layer": "InternalPlane1", "net": "GND"}, {"layer": "MidLayer1"}, {"layer": "BottomLayer"}]})json");
    pcbapi::TLayerRecord mid;
    PcbApi_QueryLayer(1, board, 2, &mid);
    EXPECT_EQ(mid.PreviousLayer, 39);
    EXPECT_EQ(mid.NextLayer, 32);
    pcbapi::TInternalPlaneRecord plane;
    PcbApi_QueryInternalPlane(1, board, 39, &plane);
    EXPECT_EQ(plane.NetName.Str(), "GND");
    EXPECT_EQ(plane.Layer.Enabled, 1);
}

void PCBAPI_CALL Collect(const char* text, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

class Examples : public testing::TestWithParam<const char*> {};

TEST_P(Examples, LoadAndDescribeCleanly) {
    const std::string path = std::string(HOSTPCB_EXAMPLES_DIR) + "/" + GetParam();
    char error[1024] = {};
    THandle board = HostPcb_OpenDocument(path.c_str(), error, sizeof error);
    ASSERT_NE(board, 0u) << error;
    EXPECT_EQ(PcbApi_GetCurrentBoardHandle(), board);
    std::vector<std::string> lines;
    HostPcb_Describe(board, Collect, &lines);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) EXPECT_EQ(line.find("does not parse"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Bundled, Examples, testing::Values("demo.json", "library.json"));

TEST(Loader, DemoHoldsWhatItSays) {
    const std::string path = std::string(HOSTPCB_EXAMPLES_DIR) + "/demo.json";
    char error[1024] = {};
    THandle board = HostPcb_OpenDocument(path.c_str(), error, sizeof error);
    ASSERT_NE(board, 0u) << error;
    THandle u1 = ComponentByDesignator(board, "U1");
    pcbapi::TComponentRecord c;
    PcbApi_QueryComponent(1, u1, &c);
    EXPECT_EQ(c.Common.Layer, 32);
    EXPECT_EQ(c.Rotation, 90);
    EXPECT_EQ(c.Pattern.Str(), "SO8");
    bool blind = false;
    for (THandle v : Walk(board, KindVia, 0)) {
        pcbapi::TViaRecord r;
        PcbApi_QueryVia(1, v, &r);
        blind = blind || (r.StartLayer == 1 && r.EndLayer == 2);
    }
    EXPECT_TRUE(blind);
    uint8_t isLibrary = 1;
    char name[256];
    EXPECT_EQ(HostPcb_GetDocumentInfo(board, name, sizeof name, &isLibrary), 1);
    EXPECT_STREQ(name, "demo.PcbDoc");
    EXPECT_EQ(isLibrary, 0);
}

TEST(Loader, OpenDocumentReportsErrorsIntoTheBuffer) {
    const std::string file = testing::TempDir() + "hostpcb_loader.json";
    const char* path = file.c_str();
    std::FILE* f = std::fopen(path, "w");
    ASSERT_NE(f, nullptr);
    std::fputs("{\"objects\": [{\"kind\": \"pad\", \"net\": \"GND\"}]}", f);
    std::fclose(f);
    char error[256];
    EXPECT_EQ(HostPcb_OpenDocument(path, error, sizeof error), 0u);
    EXPECT_EQ(std::string(error), std::string(path) + ": objects[0].net: unknown net \"GND\"");
    char small[8];
    HostPcb_OpenDocument(path, small, sizeof small);
    EXPECT_EQ(std::string(small), std::string(path).substr(0, 7));
    std::remove(path);
}

}  // namespace
}  // namespace hostpcb::test
