// The style analysis and the pad styles of the library section.
#include <algorithm>
#include <cmath>

#include "board/PCBProcs.h"
#include "board/PcbApiBinding.h"
#include "common/Strings.h"
#include "report/LogReport.h"
#include "translator/LayerList.h"
#include "translator/Save.h"
#include "translator/StyleNames.h"

namespace translator {
namespace {

using namespace pcb;

constexpr uint8_t OctagonShape = 3;
constexpr const char* EmptyShape = "(padShapeType Ellipse) (shapeWidth 0.0) (shapeHeight 0.0) ";

bool IsSimpleStack(uint8_t stackMode) { return stackMode == 0 || stackMode == 1; }

TCoord HalfToEven(double value) { return static_cast<TCoord>(std::nearbyint(value)); }

// The shape, width and height of the pad on one of its copper sides: the
// side's own values in the simple stack modes, the layer's entries in every
// other mode (the full stack describes each layer by itself).
struct TPadShape {
    uint8_t Shape;
    TCoord X, Y;
};

TPadShape ShapeOnLayer(const TPcbPad& pad, TLayerId layer) {
    return {pad.ShapeOnLayer(layer), pad.XSizeOnLayer(layer), pad.YSizeOnLayer(layer)};
}

TPadShape SideShape(const TPcbPad& pad, TLayerId side) {
    if (!IsSimpleStack(pad.StackMode())) return ShapeOnLayer(pad, side);
    if (side == TopLayer) return {pad.TopShape(), pad.TopXSize(), pad.TopYSize()};
    return {pad.BotShape(), pad.BotXSize(), pad.BotYSize()};
}

bool SameShapeOnLayer(const TPcbPad& a, const TPcbPad& b, TLayerId layer) {
    return a.ShapeOnLayer(layer) == b.ShapeOnLayer(layer) && a.XSizeOnLayer(layer) == b.XSizeOnLayer(layer) &&
           a.YSizeOnLayer(layer) == b.YSizeOnLayer(layer);
}

}  // namespace

void TOrvexExporter::AnalyzeStyles() {
    BuildLayerList(*Board, LayerList);
    AnalyzePads();
    AnalyzeVias();
    AnalyzeTexts();
}

void TOrvexExporter::AnalyzePads() {
    const bool showProgress = !Board->IsLibrary();
    if (showProgress) PercentInit("Analyzing Pads", CountObjects(ePadObject));
    const auto analyze = [&](THandle handle) {
        TPcbPad pad(handle);
        pad.ReadFromHost();
        RegisterPadStyle(pad);
        if (showProgress) PcbApi_Percent_Update();
    };
    ForEachObject(Board->Handle(), ePadObject, FreeObjectsMethod, NoLayer, analyze);
    ForEachObject(Board->Handle(), eComponentObject, AllObjectsMethod, NoLayer, [&](THandle component) {
        ForEachObject(component, ePadObject, AllObjectsMethod, NoLayer, analyze);
    });
    if (showProgress) PcbApi_Percent_Finish();
}

// A search over the pad styles of the pad's stem: S1, S2, ...
static TStyleSearch SearchPadStyle(const TOrvexExporter& exporter, const TPcbPad& pad) {
    const std::string stem = PadStyleBaseName(pad);
    return SearchStyles(
        exporter.PadStyles, exporter.PadStyleIndex, [&](int n) { return stem + std::to_string(n + 1); },
        [&](THandle representative) {
            TPcbPad other(representative);
            other.ReadFromHost();
            return TOrvexExporter::PadsMatch(pad, other);
        });
}

void TOrvexExporter::RegisterPadStyle(const TPcbPad& pad) {
    const TStyleSearch search = SearchPadStyle(*this, pad);
    if (!search.Matched) AppendStyle(PadStyles, PadStyleIndex, search.Name, pad.Handle());
}

std::string TOrvexExporter::FindPadStyle(THandle handle) const {
    TPcbPad pad(handle);
    pad.ReadFromHost();
    const TStyleSearch search = SearchPadStyle(*this, pad);
    return search.Matched ? search.Name : "(Default)";
}

bool TOrvexExporter::PadsMatch(const TPcbPad& a, const TPcbPad& b) {
    if (a.Layer() != b.Layer() || a.HoleSize() != b.HoleSize()) return false;
    if (!IsSimpleStack(a.StackMode()) || !IsSimpleStack(b.StackMode())) {
        for (int layer = TopLayer; layer <= BottomLayer; ++layer)
            if (!SameShapeOnLayer(a, b, static_cast<TLayerId>(layer))) return false;
        return true;
    }
    return a.TopShape() == b.TopShape() && a.TopXSize() == b.TopXSize() && a.TopYSize() == b.TopYSize() &&
           a.MidShape() == b.MidShape() && a.MidXSize() == b.MidXSize() && a.MidYSize() == b.MidYSize() &&
           a.BotShape() == b.BotShape() && a.BotXSize() == b.BotXSize() && a.BotYSize() == b.BotYSize();
}

void TOrvexExporter::LoadPadCache(THandle padOrVia) {
    pcbapi::TPadCacheRecord record;
    PcbApi_QueryPadCache(1, padOrVia, &record);
    PadCache = {};
    PadCache.ConnectionStyle = static_cast<uint8_t>(record.PlaneConnectionStyle);
    PadCache.SpokeWidth = record.ReliefConductorWidth;
    PadCache.SpokeCount = static_cast<uint16_t>(record.ReliefEntries);
    PadCache.AirGap = record.ReliefAirGap;
    PadCache.ReliefExpansion = record.ReliefExpansion;
    for (int plane = InternalPlane1; plane <= InternalPlane16; ++plane) {
        uint8_t connected = 0;
        PcbApi_QueryPadConnectToLayer(1, padOrVia, HostLayerFromId(static_cast<TLayerId>(plane)), &connected);
        if (connected) PadCache.ConnectedPlanes |= static_cast<uint16_t>(1u << (plane - InternalPlane1));
    }
}

bool TOrvexExporter::WritePadStyles() {
    const THandle scratch = PcbApi_CreateObject(ePadObject);
    PcbApi_QueryObjectSetState_Default(scratch);
    {
        TPcbPad pad(scratch);
        pad.ReadFromHost();
        LoadPadCache(scratch);
        WritePadStyleDef("(Default)", pad);
    }
    if (scratch != 0) PcbApi_DestroyObject(scratch);

    for (const TStyleEntry& style : PadStyles) {
        PcbApi_Percent_Update();
        TPcbPad pad(style.Handle);
        pad.ReadFromHost();
        LoadPadCache(style.Handle);
        WritePadStyleDef(style.Name, pad);
    }
    return NoOutputErrorPending();
}

// The shape clause of a padShape line; an octagon is written as its outline.
static void AppendShapeClause(TOrvexExporter& exporter, std::string& line, const TPadShape& shape) {
    if ((shape.Shape & 0x7F) == OctagonShape) {
        exporter.WriteOctagonShape(line, shape.X, shape.Y);
        return;
    }
    const bool imperial = exporter.Board->DisplayUnitImperial();
    line += "(padShapeType " + std::string(PadShapeTypeName(shape.Shape)) + ") (shapeWidth " +
            FormatLength(shape.X, imperial) + ") (shapeHeight " + FormatLength(shape.Y, imperial) + ") ";
}

bool TOrvexExporter::WritePadStyleDef(const std::string& name, const TPcbPad& pad) {
    report::LogLine("AddingPadStyle " + name);
    const bool imperial = Board->DisplayUnitImperial();
    const auto v = [&](TCoord length) { return FormatLength(length, imperial); };
    const auto n = [&](TLayerId layer) { return LayerNumber(LayerList, layer); };
    const TLayerId layer = pad.Layer();
    const uint8_t stackMode = pad.StackMode();
    std::string line;
    const auto begin = [&] { line = "    (padShape "; };
    const auto end = [&] {
        OutFile.WriteLine(line + ")");
        line.clear();
    };

    OutFile.WriteLine("  (padStyleDef \"" + common::EscapeText(name) + "\"");
    OutFile.WriteLine("    (holeDiam " + v(pad.HoleSize()) + ")");
    OutFile.WriteLine("    (startRange " + n(TopLayer) + ")");
    OutFile.WriteLine("    (endRange " + n(BottomLayer) + ")");

    for (const TLayerId side : {TopLayer, BottomLayer}) {
        begin();
        line += "(layerNumRef " + n(side) + ") ";
        if (layer == MultiLayer || layer == side)
            AppendShapeClause(*this, line, SideShape(pad, side));
        else
            line += EmptyShape;
        end();
    }

    if (IsSimpleStack(stackMode) || stackMode == 2) {
        begin();
        line += "(layerType Signal) ";
        if (stackMode == 2)
            line += EmptyShape;
        else if (layer == MultiLayer)
            AppendShapeClause(*this, line, {pad.MidShape(), pad.MidXSize(), pad.MidYSize()});
        else
            line += "(padShapeType " +
                    std::string((pad.MidShape() & 0x7F) == OctagonShape ? "Ellipse" : PadShapeTypeName(pad.MidShape())) +
                    ") (shapeWidth 0.0) (shapeHeight 0.0) ";
        end();
    }

    begin();
    line += "(layerType Plane) (padShapeType " + std::string(ThermalTypeName(PadCache)) + ") ";
    if (layer == MultiLayer && PadCache.ConnectionStyle == 1) {
        const TCoord inside = pad.HoleSize() + 2 * PadCache.ReliefExpansion;
        line += "(outsideDiam " + v(inside + 2 * PadCache.AirGap) + ") (insideDiam " + v(inside) + ") (spokeWidth " +
                v(PadCache.SpokeWidth) + ") ";
    } else {
        line += "(shapeWidth 0.0) (shapeHeight 0.0) ";
    }
    end();

    begin();
    line += "(layerType NonSignal) (padShapeType " + std::string(PadShapeTypeName(pad.ShapeOnLayer(TopOverlay))) +
            ") (shapeWidth " + v(pad.XSizeOnLayer(TopOverlay)) + ") (shapeHeight " + v(pad.YSizeOnLayer(TopOverlay)) +
            ") ";
    end();

    if (stackMode == 2) {
        for (int mid = MidLayer1; mid <= MidLayer30; ++mid) {
            const auto midLayer = static_cast<TLayerId>(mid);
            if (pad.ShapeOnLayer(midLayer) == 0) continue;
            begin();
            line += "(layerNumRef " + n(midLayer) + ") ";
            AppendShapeClause(*this, line, ShapeOnLayer(pad, midLayer));
            end();
        }
    }

    if (layer != MultiLayer && layer != TopLayer && layer != BottomLayer) {
        begin();
        line += "(layerNumRef " + n(layer) + ") ";
        AppendShapeClause(*this, line, ShapeOnLayer(pad, layer));
        end();
    }

    OutFile.WriteLine("  )");
    return NoOutputErrorPending();
}

void TOrvexExporter::WriteOctagonShape(std::string& line, TCoord width, TCoord height) {
    const bool imperial = Board->DisplayUnitImperial();
    const TCoord hw = HalfToEven(width / 2.0);
    const TCoord hh = HalfToEven(height / 2.0);
    const TCoord c = HalfToEven(std::min(width, height) / 4.0);
    line += "(padShapeType Polygon) ";
    if (width == height && width != 0) line += "(sides 8) (rotation 0.0) (outsideDiam " + FormatLength(width, imperial) + ") ";
    OutFile.WriteLine(line + "(shapeOutline");
    const TCoord points[8][2] = {{hw - c, hh}, {hw, hh - c}, {hw, c - hh}, {hw - c, -hh},
                                 {c - hw, -hh}, {-hw, c - hh}, {-hw, hh - c}, {c - hw, hh}};
    for (const auto& point : points)
        OutFile.WriteLine("        (pt " + FormatLength(point[0], imperial) + " " + FormatLength(point[1], imperial) + ")");
    OutFile.WriteLine("      )");
    line = "    ";
}

}  // namespace translator
